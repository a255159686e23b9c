#pragma once

#include "simsensor.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace veltra {

class PtyPort;

// Runs a SimSensor on a PtyPort: hands it the bytes with their line rate,
// writes its answers (late, when told to), finishes write frames after a
// quiet gap, sends the run-state stream and pulls the plug when due.
class SimServer : public QObject
{
    Q_OBJECT
public:
    SimServer(SimSensor &sensor, PtyPort &port, QObject *parent = nullptr);

    using Logger = std::function<void(const QString &line)>;
    void setLogger(Logger logger) { m_log = std::move(logger); }

signals:
    // The device has been closed after the unplug-after count of requests.
    void unplugged();

private:
    void onReceived(const QByteArray &bytes, int lineRate);
    void onQuietGap();
    void onRunTick();
    void afterInput(const QByteArray &answer);
    void deliver(const QByteArray &answer, bool thenUnplug);
    void unplugWhenRead();
    void log(const QString &line) const;

    SimSensor &m_sensor;
    PtyPort &m_port;
    Logger m_log;
    QTimer m_quietTimer;
    QTimer m_runTimer;
    QTimer m_drainTimer;
    int m_drainPolls = 0;
    bool m_unplugging = false;
};

} // namespace veltra
