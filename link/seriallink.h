#pragma once

#include "portmap.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace veltra {

// Why a port operation failed, in words an operator can act on.
struct LinkError {
    enum class Kind {
        None,
        BadPortText,      // the port box holds neither a number nor a path
        NoSuchPort,
        Busy,
        PermissionDenied,
        BadSettings,      // a line-settings string outside the baud table
        NotOpen,
        Io,               // the device went away or refused a read or write
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
    virtual bool Open(const PortId &port, const QString &lineSettings) = 0;
    // New line settings on the open port; no close/open cycle.
    virtual bool SetSettings(const QString &lineSettings) = 0;
    virtual bool Send(const QByteArray &request) = 0;
    // Everything received since the last read, possibly empty.
    virtual QString ReceiveAll() = 0;
    virtual void Close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString lineSettings() const = 0;

    // Blocks the thread; no window events are processed meanwhile.
    virtual void Sleep(int milliseconds);

    // One exchange: Send, Sleep the caller's wait, ReceiveAll. A request that
    // could not be sent gives an empty reply with lastError() set.
    QString Exchange(const QByteArray &request, int waitMilliseconds);

    const LinkError &lastError() const { return m_error; }

signals:
    // Raised when kReceiveThreshold or more characters wait unread.
    void ReceiveEvent(int eventCode);

protected:
    bool fail(LinkError::Kind kind, const QString &device, const QString &detail = {});
    void clearError() { m_error = {}; }

private:
    LinkError m_error;
};

// Waits the given number of seconds while window events are processed.
// Measured on a monotonic clock; n <= 0 returns at once.
void Pause(int seconds);

} // namespace veltra
