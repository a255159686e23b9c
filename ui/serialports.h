#pragma once

#include <QComboBox>

class QDialog;
class QWidget;

namespace veltra::ui {

// The start window's port box: its items stay the port numbers, and its
// drop-down list shows beside each number the device and the adapter the
// system reports, looked up anew each time the list drops down (an adapter
// plugged in after start appears).
class PortBox : public QComboBox
{
    Q_OBJECT
public:
    explicit PortBox(QWidget *parent = nullptr);

    void showPopup() override;
    // Looks the ports up once and puts their details beside the numbers.
    void refreshDetails();

    // What the list shows beside item i ("/dev/ttyUSB0  FT232R USB UART,
    // FTDI, 0403:6001, serial A10K"); empty for a number without a device.
    QString detailsAt(int index) const;
};

// Help > Serial Ports: the same details as a table, port by port.
QDialog *showSerialPorts(QWidget *parent, int count);

} // namespace veltra::ui
