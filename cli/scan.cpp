#include "scan.h"

#include "parallel.h"
#include "portmap.h"
#include "protocol/identification.h"
#include "protocol/sensorsettings.h"
#include "protocol/settingsblock.h"
#include "protocol/settingsreply.h"
#include "session/sensorsession.h"

#include <QFileInfo>
#include <QSet>

namespace veltra {

namespace {

// An adapter plugged in by the operator, as opposed to a port built into
// the machine.
bool isAdapter(const QString &device)
{
#ifdef Q_OS_WIN
    Q_UNUSED(device);
    return true;
#else
    const QString name = QFileInfo(device).fileName();
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"))
           || name.startsWith(QLatin1String("cu.usb")) || name.startsWith(QLatin1String("tty.usb"));
#endif
}

} // namespace

std::optional<SensorIdentity> identifyReply(const QString &reply, QString *problem)
{
    // A damaged block names no model: its characters 19-21 may be anything.
    *problem = settingsReplyProblem(reply);
    if (!problem->isEmpty())
        return std::nullopt;
    const Identification id = Identification::fromReply(reply);
    const QString resolution = SettingsReply(reply, SettingsReply::kLevelFields).number(fieldOf(Setting::Resolution));
    const QString family = id.window == ModelWindow::Distance ? familyName(SensorFamily::Distance)
                           : id.window == ModelWindow::Level  ? familyName(SensorFamily::Level)
                                                              : QString();
    return SensorIdentity{id.modelCode, modelNameFor(id.modelCode, resolution), family};
}

QString ScanResult::stateName() const
{
    switch (state) {
    case State::Found:
        return QStringLiteral("found");
    case State::NoSensor:
        return QStringLiteral("no sensor");
    case State::Busy:
        return QStringLiteral("busy");
    case State::Failed:
        return QStringLiteral("failed");
    }
    return {};
}

QList<PortEntry> scanCandidates(int count, bool allDevices)
{
    QList<PortEntry> chosen;
    QSet<QString> devices;
    for (const PortEntry &entry : listPorts(count)) {
        const bool linked = !PortMap::linkedDevice(entry.number).isEmpty();
        if (!linked && !allDevices && !isAdapter(entry.device))
            continue;
        const QString canonical = QFileInfo(entry.device).canonicalFilePath();
        const QString key = canonical.isEmpty() ? entry.device : canonical;
        if (devices.contains(key))
            continue;
        devices.insert(key);
        chosen << entry;
    }
    return chosen;
}

QList<ScanResult> scanPorts(const QList<PortEntry> &ports, const LinkFactory &makeLink)
{
    QList<ScanResult> results(ports.size());
    ScanResult *perPort = results.data(); // each worker writes its own
    runAtOnce(int(ports.size()), [&](int i) {
        ScanResult &result = perPort[i];
        result.port = ports.at(i);
        const std::unique_ptr<SerialLink> link = makeLink();
        SensorSession session(*link);
        QObject::connect(&session.traffic(), &TrafficLog::added,
                         [&result](const TrafficEntry &entry) { result.trace << entry.line(); });
        const QString portText = QString::number(ports.at(i).number);
        if (!session.connectTo(portText)) {
            const SessionFailure &failure = session.failure();
            result.message = failure.message;
            if (failure.kind == SessionFailure::Kind::NoSensor)
                result.state = ScanResult::State::NoSensor;
            else if (failure.linkError.kind == LinkError::Kind::Busy)
                result.state = ScanResult::State::Busy;
            else
                result.state = ScanResult::State::Failed;
            return;
        }
        result.baud = session.baudText();
        const std::optional<QString> reply = session.readReply();
        QString problem;
        const std::optional<SensorIdentity> identity = reply ? identifyReply(*reply, &problem) : std::nullopt;
        if (!identity) {
            result.state = ScanResult::State::Failed;
            result.message = reply ? problem : session.failure().message;
        } else {
            result.state = ScanResult::State::Found;
            result.identity = *identity;
        }
        session.close();
    });
    return results;
}

} // namespace veltra
