#pragma once

#include "portlist.h"
#include "seriallink.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace veltra {

class SensorSession;

// Makes a link of its own for each port served at once.
using LinkFactory = std::function<std::unique_ptr<SerialLink>()>;

// The model a whole settings reply names.
struct SensorIdentity {
    QString modelCode;
    QString modelName;
    QString family; // "level", "distance", or empty for a code that opens no window
};
// Empty, with the reason in `problem`, when the reply is no whole block.
std::optional<SensorIdentity> identifyReply(const QString &reply, QString *problem);

// What scan found on one port.
struct ScanResult {
    enum class State { Found, NoSensor, Busy, Failed };
    PortEntry port;
    State state = State::NoSensor;
    QString baud; // the rate the sensor answered at
    SensorIdentity identity;
    QString message;   // why there is no sensor, for the other states
    QStringList trace; // the probe's exchanges, one line each (TrafficEntry::line)

    QString stateName() const; // "found", "no sensor", "busy", "failed"
};

// The ports scan probes among port numbers 1 to count: every comN link of
// the ports folder and every USB or ACM adapter; the built-in serial ports
// (ttyS*), where other equipment may listen, only with allDevices. A device
// that two numbers reach is probed once, under the lower number.
QList<PortEntry> scanCandidates(int count, bool allDevices);

// Probes every port at once, each with a link of its own: the connection
// handshake, then a read of the settings block for the model. Takes about
// one handshake however many ports there are. Results in the ports' order.
QList<ScanResult> scanPorts(const QList<PortEntry> &ports, const LinkFactory &makeLink);

} // namespace veltra
