#pragma once

#include "sensorblock.h"
#include "seriallink.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace veltra {

// The program's exit codes; scripts rely on them.
enum class ExitCode : int {
    Success = 0,
    Usage = 2,           // bad command line, or a file or setting it cannot take
    NoSensor = 3,        // nothing (or nothing usable) answered
    Refused = 4,         // a setting failed the window's check: nothing was sent
    PortFailed = 5,      // the port could not be opened
    ReadBackDiffers = 6, // the sensor does not hold what was written
};

struct Failure {
    ExitCode code = ExitCode::Success;
    QString message;
};

// Why a link operation failed, as an exit code and a line for the operator.
Failure failureFromLink(const LinkError &error);

// One sensor on one port. Every exchange is the windows' own: the same
// requests, the same fixed waits, the same handshake.
class SensorSession
{
public:
    static constexpr int kReplyWaitMs = 500; // read, measure and write
    static constexpr int kRunWaitMs = 200;

    explicit SensorSession(SerialLink &link);
    ~SensorSession();
    SensorSession(const SensorSession &) = delete;
    SensorSession &operator=(const SensorSession &) = delete;

    // The handshake at the five rates; given a baud text, the port is
    // opened at that rate instead and nothing is searched.
    bool connect(const QString &portText, const QString &baudText = {});
    // The rate the link runs at now ("19200").
    QString baudText() const;

    // The read request's reply as received (the identification read).
    std::optional<QString> readReply();
    // The reply as a whole settings block; a reply that is not one fails
    // with NoSensor.
    std::optional<SensorBlock> readBlock();
    // The measure request's reply as received.
    std::optional<QString> measure();
    // Sends a write request and waits as the window does. Only a failed
    // send returns false: after that, the sensor may hold anything.
    bool write(const QByteArray &request);
    // Follows the rate just written (empty: keep the rate) and drops
    // whatever the sensor answered to the write, so the next read starts clean.
    bool followWrite(const QString &lineSettings);
    // The run request; nothing is read. False when it could not be sent or
    // the device went away before it could have arrived.
    bool run();

    const Failure &failure() const { return m_failure; }

private:
    std::optional<QString> exchange(const QByteArray &request, int waitMs);
    bool fail(ExitCode code, const QString &message);
    bool failFromLink();

    SerialLink &m_link;
    Failure m_failure;
};

} // namespace veltra
