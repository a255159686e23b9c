#include "qserialportlink.h"

#include "commandframe.h"
#include "linesettings.h"

#include <QFileInfo>

namespace veltra {

namespace {

// A terminal whose device went away reads as end-of-file or fails outright;
// either way it will not deliver again.
bool isDeviceLost(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
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
    Close();
}

bool QSerialPortLink::Open(const PortId &port, const QString &lineSettings)
{
    clearError();
    Close();
    m_lost = false;

    const QString device = PortMap::deviceFor(port);
    if (device.isEmpty())
        return fail(LinkError::Kind::NoSuchPort, port.display());
    if (!parseLineSettings(lineSettings))
        return fail(LinkError::Kind::BadSettings, device, lineSettings);

    m_port.setPortName(device);
    m_port.setReadBufferSize(0); // read length 0: a read takes everything
    if (!applySettings(lineSettings))
        return false;
    if (!m_port.open(QIODevice::ReadWrite))
        return failFromPort(device);
    if (!applySettings(lineSettings)) {
        m_port.close();
        return false;
    }
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
        return fail(LinkError::Kind::BadSettings, m_port.portName(), lineSettings);
    const bool ok = m_port.setBaudRate(settings->baud) && m_port.setParity(QSerialPort::NoParity)
                    && m_port.setDataBits(QSerialPort::Data8) && m_port.setStopBits(QSerialPort::OneStop)
                    && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok)
        return failFromPort(m_port.portName());
    m_lineSettings = lineSettings;
    return true;
}

bool QSerialPortLink::SetSettings(const QString &lineSettings)
{
    clearError();
    if (!m_port.isOpen())
        return failClosed();
    return applySettings(lineSettings);
}

bool QSerialPortLink::failClosed()
{
    return fail(m_lost ? LinkError::Kind::Io : LinkError::Kind::NotOpen, m_port.portName(),
                m_lost ? QStringLiteral("the device was disconnected") : QString());
}

bool QSerialPortLink::Send(const QByteArray &request)
{
    clearError();
    if (!m_port.isOpen())
        return failClosed();
    if (m_port.write(request) != request.size())
        return failFromPort(m_port.portName());
    // Hand the bytes to the driver now: the caller blocks the thread next.
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(1000))
            return failFromPort(m_port.portName());
    }
    return true;
}

QString QSerialPortLink::ReceiveAll()
{
    clearError();
    if (!m_port.isOpen()) {
        failClosed();
        return {};
    }
    // Nothing reads the device while the thread sleeps, so take what the
    // operating system holds now. waitForReadyRead(0) never blocks.
    m_draining = true;
    while (m_port.waitForReadyRead(0)) {
    }
    m_draining = false;
    const QString text = bytesToText(m_port.readAll());
    if (isDeviceLost(m_port.error())) {
        m_lost = true;
        fail(LinkError::Kind::Io, m_port.portName(), m_port.errorString());
        m_port.close();
    } else
        m_port.clearError(); // the zero wait reports a time-out
    return text;
}

void QSerialPortLink::Close()
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
        emit ReceiveEvent(kEventReceive);
}

void QSerialPortLink::onError(QSerialPort::SerialPortError error)
{
    // An unplugged adapter: stop listening so the notifier does not spin.
    if (isDeviceLost(error) && m_port.isOpen() && !m_draining) {
        m_lost = true;
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
