#pragma once

#include <QList>
#include <QString>

namespace veltra {

// A port number, the device it maps to and what the system says of the
// adapter behind it.
struct PortEntry {
    int number;
    QString device; // as PortMap maps the number: "/dev/ttyUSB0", "/dev/pts/3", "COM4"
    // Empty where the system does not say (a pseudo-terminal, a comN link to
    // a device it does not list).
    QString description, manufacturer, vendorProductId /* "0403:6001" */, serialNumber;
    // A comN link whose device is no longer there (an adapter unplugged, a
    // simulator ended): listed so the operator sees it, but no port to use.
    bool gone = false;
};

// Port numbers 1..count that map to a device, in number order, as PortMap
// maps them: on Linux and macOS the comN links of the ports folder first,
// then the system's serial devices in PortMap's order; numbers that map to
// no device are left out. On Windows port N is COMN, listed only when the
// system has it. The system's serial ports are enumerated once per call.
QList<PortEntry> listPorts(int count);

} // namespace veltra
