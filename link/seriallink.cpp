#include "seriallink.h"

#include "messagetext.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace veltra {

QString LinkError::reason() const
{
    const QString where = device.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(device);
    const auto say = [](const char *source, const QStringList &args = {}) { return messageText(source, args); };
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::BadPortText:
        return say(QT_TRANSLATE_NOOP("Messages", "The port box must hold a port number or a device path."));
    case Kind::NoSuchPort:
        return say(QT_TRANSLATE_NOOP("Messages", "No such port%1."), {where});
    case Kind::Busy:
        return say(QT_TRANSLATE_NOOP("Messages", "The port is busy%1: another program is using it."), {where});
    case Kind::PermissionDenied:
        return say(
            QT_TRANSLATE_NOOP(
                "Messages",
                "Permission denied%1: join the dialout group (sudo usermod -aG dialout $USER) and log in again."),
            {where});
    case Kind::BadSettings:
        return say(QT_TRANSLATE_NOOP("Messages", "Unsupported line settings \"%1\"."), {detail});
    case Kind::NotOpen:
        return say(QT_TRANSLATE_NOOP("Messages", "The port is not open."));
    case Kind::Io:
        // The system's own words ("Input/output error", "Inappropriate ioctl
        // for device") tell an operator nothing; detail keeps them for logs.
        return say(
            QT_TRANSLATE_NOOP(
                "Messages", "The connection to the sensor was lost%1: the adapter was unplugged or stopped answering."),
            {where});
    case Kind::NotSerial:
        return device.isEmpty() ? say(QT_TRANSLATE_NOOP("Messages", "The port is not a serial device."))
                                : say(QT_TRANSLATE_NOOP("Messages", "%1 is not a serial device."), {device});
    case Kind::AdapterGone:
        return say(QT_TRANSLATE_NOOP("Messages", "The adapter %1 is not plugged in."), {detail});
    case Kind::AdapterChoice:
        return detail;
    }
    return {};
}

void SerialLink::sleep(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

QString SerialLink::exchange(const QByteArray &request, int waitMilliseconds)
{
    if (!send(request))
        return {};
    sleep(waitMilliseconds);
    return receiveAll();
}

bool SerialLink::reopen(const QString &lineSettings)
{
    if (!m_port)
        return fail(LinkError::Kind::NotOpen, QString());
    // The same device, never another one the numbering now gives out: with
    // the adapter gone, port 1 would stand for a built-in port. A comN link
    // is looked up again, since a device plugged back in may get a new name.
    const PortId original = *m_port;
    PortId again = original;
    if (m_adapter) {
        // The same adapter, under whatever name it has now.
        const AdapterIdentity adapter = *m_adapter;
        const AdapterSearch search = findAdapter(adapter);
        if (!search.problem.isEmpty())
            return fail(LinkError::Kind::AdapterChoice, m_device, search.problem);
        if (!search.found())
            return fail(LinkError::Kind::AdapterGone, m_device, adapter.display());
        if (!open(PortId{0, search.device}, lineSettings))
            return false;
        m_port = original;
        return true;
    }
    if (again.path.isEmpty()) {
        const QString linked = PortMap::linkedDevice(again.number);
        again.path = linked.isEmpty() ? m_device : linked;
    }
    if (!open(again, lineSettings))
        return false;
    m_port = original;
    return true;
}

void SerialLink::opened(const PortId &port, const QString &device)
{
    m_port = port;
    m_device = device;
    m_adapter = identityOf(device);
    m_lost = false;
}

void SerialLink::lost(const QString &detail)
{
    m_lost = true;
    fail(LinkError::Kind::Io, m_device, detail);
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
