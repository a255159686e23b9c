#pragma once

#include "seriallink.h"

#include <QSerialPort>

namespace veltra {

// The real link on QSerialPort.
class QSerialPortLink : public SerialLink
{
    Q_OBJECT
public:
    explicit QSerialPortLink(QObject *parent = nullptr);
    ~QSerialPortLink() override;

    bool open(const PortId &port, const QString &lineSettings) override;
    bool setSettings(const QString &lineSettings) override;
    bool send(const QByteArray &request) override;
    QString receiveAll() override;
    void close() override;
    bool isOpen() const override;
    QString lineSettings() const override { return m_lineSettings; }
    bool checkConnection() override;

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    bool applySettings(const QString &lineSettings);
    bool failFromPort(const QString &device);
    bool failClosed();
    bool failLost();
    // Moves what the system holds into the port's buffer; false when the
    // device went away meanwhile.
    bool drain();

    QSerialPort m_port;
    QString m_target; // the device being opened or open, links followed
    QString m_lineSettings;
    bool m_draining = false;
};

} // namespace veltra
