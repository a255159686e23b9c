#pragma once

#include "adapteridentity.h"
#include "portmap.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

namespace veltra {

// Why a port operation failed, in words an operator can act on.
struct LinkError {
    enum class Kind {
        None,
        BadPortText, // the port box holds neither a number nor a path
        NoSuchPort,
        Busy,
        PermissionDenied,
        BadSettings, // a line-settings string outside the baud table
        NotOpen,
        Io,        // the device went away or refused a read or write
        NotSerial, // the path is a file, a folder, a pipe or another non-terminal device
        AdapterGone,   // reopening: the adapter is not plugged in (yet)
        AdapterChoice, // reopening: two alike, or only another of its make: the operator picks
    };
    Kind kind = Kind::None;
    QString device;
    QString detail;

    bool isError() const { return kind != Kind::None; }
    // One plain line for the failure notice.
    QString reason() const;
};

// The one serial port of the process. Every exchange is: Send one request,
// Sleep a fixed time, ReceiveAll. Characters are bytes: a byte b is the
// character with code b, both ways.
class SerialLink : public QObject
{
    Q_OBJECT
public:
    static constexpr int kReceiveThreshold = 12;
    static constexpr int kEventReceive = 2;

    using QObject::QObject;

    // Opens the port at the given line settings and asserts RTS. A port that
    // is already open is closed first, so a retry always starts clean.
    virtual bool open(const PortId &port, const QString &lineSettings) = 0;
    // New line settings on the open port; no close/open cycle.
    virtual bool setSettings(const QString &lineSettings) = 0;
    virtual bool send(const QByteArray &request) = 0;
    // Everything received since the last read, possibly empty.
    virtual QString receiveAll() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString lineSettings() const = 0;
    // Whether the device is still there. Takes what the system holds into
    // the link's own buffer, so nothing received is lost or consumed, and
    // notices a device that went away: false, with lastError() set, then.
    virtual bool checkConnection() = 0;

    // The port of the last successful Open and the device it stood for
    // ("/dev/ttyUSB0"): messages name the device actually used, even after
    // the port mapping changed under it.
    std::optional<PortId> port() const { return m_port; }
    QString device() const { return m_device; }
    // The device went away under the open port (an unplugged adapter).
    bool wasLost() const { return m_lost; }
    // The USB adapter behind the port of the last successful Open; none for
    // a built-in port or a pseudo-terminal without a by-id link.
    const std::optional<AdapterIdentity> &adapter() const { return m_adapter; }
    // Opens the device of the last successful Open again at these line
    // settings, after a lost adapter is plugged back in. An adapter with an
    // identity is looked for under whatever device name it now has;
    // otherwise a port number's comN link is looked up anew, or the same
    // device path is used.
    bool reopen(const QString &lineSettings);

    // Blocks the thread; no window events are processed meanwhile.
    virtual void sleep(int milliseconds);

    // One exchange: Send, Sleep the caller's wait, ReceiveAll. A request that
    // could not be sent gives an empty reply with lastError() set.
    QString exchange(const QByteArray &request, int waitMilliseconds);

    const LinkError &lastError() const { return m_error; }

signals:
    // Raised when kReceiveThreshold or more characters wait unread.
    void receiveEvent(int eventCode);

protected:
    bool fail(LinkError::Kind kind, const QString &device, const QString &detail = {});
    void clearError() { m_error = {}; }
    // Implementations report their state through these.
    void opened(const PortId &port, const QString &device);
    void lost(const QString &detail);

private:
    LinkError m_error;
    std::optional<PortId> m_port;
    QString m_device;
    std::optional<AdapterIdentity> m_adapter;
    bool m_lost = false;
};

// Waits the given number of seconds while window events are processed.
// Measured on a monotonic clock; n <= 0 returns at once.
void Pause(int seconds);

} // namespace veltra
