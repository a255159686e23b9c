#include "seriallink.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace veltra {

QString LinkError::reason() const
{
    const QString where = device.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(device);
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::BadPortText:
        return QStringLiteral("The port box must hold a port number or a device path.");
    case Kind::NoSuchPort:
        return QStringLiteral("No such port%1.").arg(where);
    case Kind::Busy:
        return QStringLiteral("The port is busy%1: another program is using it.").arg(where);
    case Kind::PermissionDenied:
        return QStringLiteral("Permission denied%1: join the dialout group (sudo usermod -aG dialout $USER) and log in again.")
            .arg(where);
    case Kind::BadSettings:
        return QStringLiteral("Unsupported line settings \"%1\".").arg(detail);
    case Kind::NotOpen:
        return QStringLiteral("The port is not open.");
    case Kind::Io:
        return QStringLiteral("The serial device stopped answering%1: %2").arg(where, detail);
    }
    return {};
}

void SerialLink::Sleep(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

QString SerialLink::Exchange(const QByteArray &request, int waitMilliseconds)
{
    if (!Send(request))
        return {};
    Sleep(waitMilliseconds);
    return ReceiveAll();
}

bool SerialLink::fail(LinkError::Kind kind, const QString &device, const QString &detail)
{
    m_error = LinkError{kind, device, detail};
    return false;
}

void Pause(int seconds)
{
    if (seconds <= 0)
        return;
    // A local loop keeps window events flowing; QTimer runs on the
    // monotonic clock, so wall-clock jumps and midnight do not shorten it.
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace veltra
