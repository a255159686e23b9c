#pragma once

#include "protocol/measurementrow.h"
#include "protocol/sensorsettings.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace veltra {

class SensorSession;

// One exchange of a measurement loop: when it was sent, what came back and
// what that means with the settings last read.
struct MeasurementSample {
    QDateTime time;   // wall clock, when the request was sent
    qint64 elapsedMs; // monotonic, since the loop started
    QString reply;    // as received
    MeasurementRow row;
};

// Measures again and again without blocking: each exchange sends the
// measure request, lets the event loop run for the reply wait, then takes
// what arrived. A new exchange starts each interval after the previous one
// started (at once when an exchange took longer). The window stays usable
// throughout; nothing else may use the session's port while the loop runs.
class MeasurementLoop : public QObject
{
    Q_OBJECT
public:
    static constexpr int kShortestIntervalMs = 500; // each exchange waits 500 ms for its reply

    MeasurementLoop(SensorSession &session, const SensorSettings &block, QObject *parent = nullptr);

    // Kept at kShortestIntervalMs or more; takes effect from the next exchange.
    void setInterval(int milliseconds);
    int interval() const { return m_intervalMs; }
    // The settings the level and current are worked out with.
    void setBlock(const SensorSettings &block) { m_block = block; }
    const SensorSettings &block() const { return m_block; }

    // Starts measuring; while stopping, goes on instead.
    void start();
    // Stops after the exchange in flight: its reply is waited for and
    // dropped, so the next exchange on the port (a window's Read) never takes
    // it for its own. runningChanged(false) comes once no reply of the loop
    // can still arrive; at once when no request is out.
    void stop();
    // Stops at once, leaving a reply on its way unread: for an owner that is
    // going away.
    void stopNow();
    // Running, or stopping and waiting out the last reply.
    bool isRunning() const { return m_running; }
    bool isStopping() const { return m_stopping; }

    // The wall clock the samples carry; the system's by default (tests set it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

signals:
    void measured(const veltra::MeasurementSample &sample);
    // The port failed (the adapter went away): the loop has stopped, and the
    // session's failure() says why.
    void linkFailed();
    void runningChanged(bool running);

private:
    void sendRequest();
    void takeReply();
    void setRunning(bool running);

    SensorSession &m_session;
    SensorSettings m_block;
    int m_intervalMs = 1000;
    bool m_running = false;
    bool m_stopping = false;
    QTimer m_nextExchange;
    QTimer m_replyWait;
    QElapsedTimer m_started;
    qint64 m_sentAtMs = 0;
    QDateTime m_sentAt;
    std::function<QDateTime()> m_clock;
};

} // namespace veltra
