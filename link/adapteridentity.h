#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace veltra {

// What identifies the USB adapter behind a serial device, so the same
// adapter can be found again when it comes back under another name
// (/dev/ttyUSB0 becoming /dev/ttyUSB1). Taken from the system's by-id link
// ("usb-FTDI_FT232R_USB_UART_A10K5XYZ-if00-port0"): the adapter's make and
// model, its serial number and the interface. A built-in port or a
// pseudo-terminal has none.
struct AdapterIdentity {
    QString byId;      // the link's name, whole
    QString model;     // "usb-FTDI_FT232R_USB_UART"
    QString serial;    // "A10K5XYZ"; empty when the adapter has none
    QString interface; // "if00-port0"

    bool isEmpty() const { return byId.isEmpty(); }
    // "FT232R USB UART (serial A10K5XYZ)"
    QString display() const;

    // The parts of a by-id link's name.
    static AdapterIdentity fromById(const QString &name);
};

// The folder of by-id links: $VELTRA_BYID_DIR, else /dev/serial/by-id.
QString byIdFolder();

// The identity of the adapter behind a device (links followed); none when
// no by-id link stands for it.
std::optional<AdapterIdentity> identityOf(const QString &device);

// The adapter with this identity, wherever it is now. Two that carry it, or
// only another of the same make and model (another serial number), are a
// problem for the operator to settle: no device then.
struct AdapterSearch {
    QString device;  // found: the device to open
    QString problem; // more than one candidate, or only another serial: what was found
    bool found() const { return !device.isEmpty(); }
};
AdapterSearch findAdapter(const AdapterIdentity &identity);

} // namespace veltra
