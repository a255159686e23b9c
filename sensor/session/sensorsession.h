#pragma once

#include "protocol/identification.h"
#include "protocol/sensorsettings.h"
#include "seriallink.h"
#include "session/handshake.h"
#include "session/trafficlog.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

namespace veltra {

// Why a session's last step failed.
struct SessionFailure {
    enum class Kind {
        None,
        Link,      // the port failed: see linkError
        NoSensor,  // nothing recognisable answered the handshake
        Damaged,   // a settings reply that is not a whole block of a known model
        BadRequest // a port or baud text that names nothing
    };
    Kind kind = Kind::None;
    LinkError linkError;
    QString message; // one line for the operator
};

// One sensor on one serial link: every exchange the program makes with it,
// each with its fixed request, wait and order. The windows and veltra-cli
// both talk to a sensor only through a session; nothing here knows about
// windows. Replies are handed on as they arrive (replyReceived), and the
// rate found by the handshake and the model the connected notice identified
// are announced for whoever shows them.
class SensorSession : public QObject
{
    Q_OBJECT
public:
    static constexpr int kReplyWaitMs = 500; // read, measure and write
    static constexpr int kRunWaitMs = 200;

    explicit SensorSession(SerialLink &link, QObject *parent = nullptr);
    // Closes the port.
    ~SensorSession() override;
    SensorSession(const SensorSession &) = delete;
    SensorSession &operator=(const SensorSession &) = delete;

    // The connection handshake on a port box text (see Handshake); every
    // reply is announced, and connected() on success.
    HandshakeResult handshake(const QString &portText);
    // The handshake, or given a baud text, the port opened at that rate
    // after the same settling time, with nothing searched.
    bool connectTo(const QString &portText, const QString &baudText = {});
    // The rate the link runs at now ("19200").
    QString baudText() const;

    // The read request's reply as received; empty when the port failed.
    std::optional<QString> readReply();
    // The read request's reply as a whole settings block of a known model;
    // anything else fails with Damaged.
    std::optional<SensorSettings> readSettings();
    // The connected notice's read: the reply's baud and model codes. A reply
    // that is a whole block announces identified(); a damaged one does not.
    std::optional<Identification> identify();
    // The measure request's reply as received.
    std::optional<QString> measure();
    // measure() in two halves, for a caller that waits for the reply on a
    // timer instead of blocking: the request is sent (false when the port
    // failed), and after the wait everything received is taken as the reply
    // and announced (empty when the port failed). In between, what arrives
    // raises no linkEvent: it is the reply, not characters nobody asked for.
    bool sendMeasureRequest();
    std::optional<QString> takeReply();
    // The awaited reply will not be taken (the caller stopped waiting).
    void abandonReply() { m_awaitingReply = false; }

    // Sends a write request (none when it is empty) and waits as the window
    // does. Only a failed send returns false: after that, the sensor may
    // hold anything.
    bool write(const QByteArray &request);
    // Switches the port to a rate just written; empty keeps the rate.
    bool switchRate(const QString &lineSettings);
    // Follows the rate just written and drops whatever the sensor answered
    // to the write, so the next read starts clean.
    bool followWrite(const QString &lineSettings);
    // Whether the device is still there, without reading anything.
    bool checkConnection();
    // The run request; nothing is read. False when it could not be sent or
    // the device went away before it could have arrived.
    bool run();

    // Characters that arrived unasked (a sensor in its run state), taken.
    QString takeUnasked();
    // A port that was lost is opened again, looked up anew, at the rate of a
    // baud text or else the rate it last ran at. True when the port is open
    // or was never opened (the next exchange reports that).
    bool reopenIfLost(const QString &baudText);
    bool isOpen() const;
    void close();
    // The link the session talks through: its port and device.
    const SerialLink &link() const { return m_link; }

    // The last reply read, the handshake's included.
    const QString &lastReply() const { return m_lastReply; }
    // What was announced so far, for a window made after the announcement:
    // the rate the last successful handshake found (empty before one), and
    // the model the last whole identification read named.
    const QString &connectedBaud() const { return m_connectedBaud; }
    const std::optional<Identification> &lastIdentification() const { return m_lastIdentification; }
    const LinkError &linkError() const;
    const SessionFailure &failure() const { return m_failure; }
    // Every exchange this session made, from its start: request and reply
    // bytes, rate, wait and outcome; the handshake's attempt at each rate too.
    TrafficLog &traffic() { return m_traffic; }
    // The last read reply that was a whole settings block; empty before one.
    const QString &lastBlockReply() const { return m_lastBlockReply; }

signals:
    // Each reply as it is read, the handshake's (and its first, empty one) too.
    void replyReceived(const QString &reply);
    // The handshake found the sensor at this rate ("19200").
    void connected(const QString &baudText);
    // The connected notice's read named this model.
    void identified(const veltra::Identification &id);
    // The link's receive events (SerialLink::kEventReceive: unasked characters).
    void linkEvent(int eventCode);

private:
    std::optional<QString> exchange(const QByteArray &request, int waitMs);
    // When a request goes out; the record of its exchange starts here.
    struct Sending {
        QByteArray request;
        qint64 timeMs;
        QDateTime time;
    };
    Sending sending(const QByteArray &request) const;
    // Records an exchange: its reply (none for a request that reads none),
    // judged by the request's command, or the link's failure.
    void record(const Sending &sent, const std::optional<QString> &reply, int waitMs);
    void recordRefused(const QByteArray &request, const QString &why);
    // An entry for a request on the link as it stands: port, device, rate, command.
    TrafficEntry entryFor(const QByteArray &request) const;
    void received(const QString &reply);
    bool fail(SessionFailure::Kind kind, const QString &message);
    bool failFromLink();

    SerialLink &m_link;
    SessionFailure m_failure;
    QString m_lastReply;
    QString m_connectedBaud;
    std::optional<Identification> m_lastIdentification;
    bool m_awaitingReply = false;
    Sending m_awaited; // the measure request a timer waits on
    TrafficLog m_traffic;
    QString m_lastBlockReply;
};

} // namespace veltra
