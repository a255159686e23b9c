#include "qserialportlink.h"

#include "bytetext.h"
#include "linesettings.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace veltra {

namespace {

// A terminal whose device went away reads as end-of-file or fails outright;
// either way it will not deliver again.
bool isDeviceLost(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError || error == QSerialPort::WriteError;
}

// A regular file, a folder or a pipe can never be a serial port; telling so
// before opening keeps the message plain and opens nothing that may block.
bool isPlainlyNotSerial(const QString &device)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(device).constData(), &info) != 0)
        return false; // missing: the open reports it
    return !S_ISCHR(info.st_mode);
#else
    Q_UNUSED(device);
    return false;
#endif
}

// A character device that is not a terminal (/dev/null, /dev/zero). Asked
// only after the serial open failed, so a real port is never opened twice.
bool isNonTerminalDevice(const QString &device)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return !terminal;
#else
    Q_UNUSED(device);
    return false;
#endif
}

} // namespace

QSerialPortLink::QSerialPortLink(QObject *parent)
    : SerialLink(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &QSerialPortLink::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QSerialPortLink::onError);
}

QSerialPortLink::~QSerialPortLink()
{
    close();
}

bool QSerialPortLink::open(const PortId &port, const QString &lineSettings)
{
    clearError();
    close();

    QString device = PortMap::deviceFor(port);
    if (device.isEmpty())
        return fail(LinkError::Kind::NoSuchPort, port.display());
    // One device, one name: a link (a comN link, /dev/serial/by-id/...) is
    // followed to the device itself, so messages name it one way and the
    // lock that keeps a second program off the port is the same however the
    // port was named.
    if (const QString real = QFileInfo(device).canonicalFilePath(); !real.isEmpty())
        device = real;
    if (!parseLineSettings(lineSettings))
        return fail(LinkError::Kind::BadSettings, device, lineSettings);
    if (isPlainlyNotSerial(device))
        return fail(LinkError::Kind::NotSerial, device);

    m_port.setPortName(device);
    m_target = device;
    m_port.setReadBufferSize(0); // read length 0: a read takes everything
    if (!applySettings(lineSettings))
        return false;
    if (!m_port.open(QIODevice::ReadWrite)) {
        if (isNonTerminalDevice(device))
            return fail(LinkError::Kind::NotSerial, device);
        return failFromPort(device);
    }
    if (!applySettings(lineSettings)) {
        m_port.close();
        return false;
    }
    opened(port, device);
    // Some devices (pseudo-terminals among them) have no RTS line; that is
    // not a reason to refuse the port.
    if (!m_port.setRequestToSend(true))
        m_port.clearError();
    return true;
}

bool QSerialPortLink::applySettings(const QString &lineSettings)
{
    const auto settings = parseLineSettings(lineSettings);
    if (!settings)
        return fail(LinkError::Kind::BadSettings, m_target, lineSettings);
    const bool ok = m_port.setBaudRate(settings->baud) && m_port.setParity(QSerialPort::NoParity)
                    && m_port.setDataBits(QSerialPort::Data8) && m_port.setStopBits(QSerialPort::OneStop)
                    && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok)
        return failFromPort(m_target);
    m_lineSettings = lineSettings;
    return true;
}

bool QSerialPortLink::setSettings(const QString &lineSettings)
{
    clearError();
    if (!m_port.isOpen())
        return failClosed();
    return applySettings(lineSettings);
}

bool QSerialPortLink::failClosed()
{
    return fail(wasLost() ? LinkError::Kind::Io : LinkError::Kind::NotOpen, device(),
                wasLost() ? QStringLiteral("the device was disconnected") : QString());
}

bool QSerialPortLink::failLost()
{
    lost(m_port.errorString());
    m_port.close();
    return false;
}

bool QSerialPortLink::send(const QByteArray &request)
{
    clearError();
    if (!m_port.isOpen())
        return failClosed();
    if (m_port.write(request) != request.size())
        return isDeviceLost(m_port.error()) ? failLost() : failFromPort(device());
    // Hand the bytes to the driver now: the caller blocks the thread next.
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(1000))
            return isDeviceLost(m_port.error()) ? failLost() : failFromPort(device());
    }
    return true;
}

bool QSerialPortLink::drain()
{
    // Nothing reads the device while the thread sleeps, so take what the
    // operating system holds now. waitForReadyRead(0) never blocks.
    m_draining = true;
    while (m_port.waitForReadyRead(0)) {
    }
    m_draining = false;
    if (isDeviceLost(m_port.error()))
        return false;
    m_port.clearError(); // the zero wait reports a time-out
    return true;
}

QString QSerialPortLink::receiveAll()
{
    clearError();
    if (!m_port.isOpen()) {
        failClosed();
        return {};
    }
    const bool alive = drain();
    const QString text = bytesToText(m_port.readAll());
    if (!alive)
        failLost();
    return text;
}

bool QSerialPortLink::checkConnection()
{
    clearError();
    if (!m_port.isOpen())
        return failClosed();
    if (!drain())
        return failLost();
    // The drain kept the notification from firing; characters enough to
    // raise it still do, once the caller is done.
    if (m_port.bytesAvailable() >= kReceiveThreshold) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_port.isOpen() && m_port.bytesAvailable() >= kReceiveThreshold)
                    emit receiveEvent(kEventReceive);
            },
            Qt::QueuedConnection);
    }
    return true;
}

void QSerialPortLink::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool QSerialPortLink::isOpen() const
{
    return m_port.isOpen();
}

void QSerialPortLink::onReadyRead()
{
    if (!m_draining && m_port.bytesAvailable() >= kReceiveThreshold)
        emit receiveEvent(kEventReceive);
}

void QSerialPortLink::onError(QSerialPort::SerialPortError error)
{
    // An unplugged adapter: stop listening so the notifier does not spin.
    if (isDeviceLost(error) && m_port.isOpen() && !m_draining) {
        lost(m_port.errorString());
        m_port.close();
    }
}

bool QSerialPortLink::failFromPort(const QString &device)
{
    const QString detail = m_port.errorString();
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return fail(LinkError::Kind::NoSuchPort, device, detail);
    case QSerialPort::PermissionError: {
        // Qt reports both "in use" and "not allowed" this way; a device we may
        // open for writing is one that someone else holds.
        const QFileInfo info(device);
        const bool allowed = info.isReadable() && info.isWritable();
        return fail(allowed ? LinkError::Kind::Busy : LinkError::Kind::PermissionDenied, device, detail);
    }
    case QSerialPort::OpenError:
        return fail(LinkError::Kind::Busy, device, detail);
    default:
        return fail(LinkError::Kind::Io, device, detail);
    }
}

} // namespace veltra
