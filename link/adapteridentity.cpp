#include "adapteridentity.h"

#include "messagetext.h"

#include <QDir>
#include <QFileInfo>

namespace veltra {

QString AdapterIdentity::display() const
{
    QString name = model;
    if (name.startsWith(QLatin1String("usb-")))
        name.remove(0, 4);
    name.replace(u'_', u' ');
    return serial.isEmpty() ? name : QStringLiteral("%1 (serial %2)").arg(name, serial);
}

AdapterIdentity AdapterIdentity::fromById(const QString &name)
{
    // usb-<make>_<model>_<serial>-if<NN>[-port<N>]: the interface follows the
    // last "-if"; the serial is the last "_" part before it.
    AdapterIdentity identity{name, name, {}, {}};
    const qsizetype interfaceAt = name.lastIndexOf(QLatin1String("-if"));
    const QString device = interfaceAt > 0 ? name.left(interfaceAt) : name;
    if (interfaceAt > 0)
        identity.interface = name.mid(interfaceAt + 1);
    const qsizetype serialAt = device.lastIndexOf(u'_');
    if (serialAt > 0) {
        identity.model = device.left(serialAt);
        identity.serial = device.mid(serialAt + 1);
    } else {
        identity.model = device;
    }
    return identity;
}

QString byIdFolder()
{
    const QString fromEnv = qEnvironmentVariable("VELTRA_BYID_DIR");
    return fromEnv.isEmpty() ? QStringLiteral("/dev/serial/by-id") : fromEnv;
}

namespace {

// Every by-id link whose device is there, with the device it stands for.
QList<std::pair<AdapterIdentity, QString>> presentAdapters()
{
    QList<std::pair<AdapterIdentity, QString>> adapters;
    const QDir folder(byIdFolder());
    for (const QFileInfo &link : folder.entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
        const QString device = link.canonicalFilePath();
        if (!device.isEmpty())
            adapters.append({AdapterIdentity::fromById(link.fileName()), device});
    }
    return adapters;
}

} // namespace

std::optional<AdapterIdentity> identityOf(const QString &device)
{
    const QString wanted = QFileInfo(device).canonicalFilePath();
    if (wanted.isEmpty())
        return std::nullopt;
    for (const auto &[identity, target] : presentAdapters()) {
        if (target == wanted)
            return identity;
    }
    return std::nullopt;
}

AdapterSearch findAdapter(const AdapterIdentity &identity)
{
    QStringList same;   // this adapter (there should be one)
    QStringList others; // the same make and model, another serial number
    QString device;
    for (const auto &[candidate, target] : presentAdapters()) {
        if (candidate.model != identity.model || candidate.interface != identity.interface)
            continue;
        const QString line = QStringLiteral("%1 at %2").arg(candidate.display(), target);
        if (candidate.serial == identity.serial) {
            same << line;
            device = target;
        } else {
            others << line;
        }
    }
    if (same.size() == 1)
        return {device, {}};
    if (same.isEmpty() && others.isEmpty())
        return {}; // not back yet
    // Two alike, or only another unit of the same make: the operator
    // picks; nothing is opened on a guess.
    const QStringList found = same + others;
    return {
        {},
        messageText(QT_TRANSLATE_NOOP("Messages", "Found %1 instead of one %2: %3. Choose the port in the port box."),
                    {found.size() == 1
                         ? messageText(QT_TRANSLATE_NOOP("Messages", "another adapter"))
                         : messageText(QT_TRANSLATE_NOOP("Messages", "%1 adapters"), {QString::number(found.size())}),
                     identity.display(), found.join(QStringLiteral("; "))})};
}

} // namespace veltra
