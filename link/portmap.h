#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QSerialPortInfo;

namespace veltra {

// What the operator typed in the port box: a port number or a device path.
struct PortId {
    int number = 0; // 1, 2, ... when typed as a number
    QString path;   // an absolute device path, when typed as one

    // A number (rounded halves-to-even, 16-bit) or an absolute path;
    // empty for anything else (letters, an empty box, a number out of range).
    static std::optional<PortId> fromText(const QString &text);
    QString display() const;
};

// Maps port numbers to serial devices.
// Windows: port N is COMN. Linux and macOS: the link comN in the ports
// folder ($VELTRA_PORTS_DIR, else ~/.config/veltra/ports); without it, the
// N-th serial device of the system (USB and ACM adapters first, in name order).
class PortMap
{
public:
    static QString portsDir();
    // The devices the system lists, in the order numbers are given out.
    static QStringList systemDevices();
    // The same order for an enumeration already made.
    static QStringList systemDevices(const QList<QSerialPortInfo> &infos);
    // The device a port refers to; empty when there is none.
    static QString deviceFor(const PortId &port);
    // The device the link comN in the ports folder names; empty without one.
    static QString linkedDevice(int number);
    // The largest N of a link comN in the ports folder; 0 without one.
    static int highestLinkNumber();
    // One line per port number that maps to a device, for the port box's
    // tooltip; the system's devices are enumerated at most once per call.
    static QString describe(int maxPort);
};

} // namespace veltra
