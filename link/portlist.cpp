#include "portlist.h"

#include "portmap.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace veltra {

namespace {

// A device path as the file system resolves it, so a comN link to a
// by-id link and the system's own name for the device compare equal.
QString resolved(const QString &device)
{
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

PortEntry entryFor(int number, const QString &device, const QList<QSerialPortInfo> &infos)
{
    PortEntry entry{number, device, {}, {}, {}, {}, false};
#ifndef Q_OS_WIN
    entry.gone = !QFileInfo::exists(device);
#endif
    const QString wanted = resolved(device);
    for (const QSerialPortInfo &info : infos) {
#ifdef Q_OS_WIN
        const bool same = info.portName().compare(device, Qt::CaseInsensitive) == 0;
#else
        const bool same = info.systemLocation() == device || resolved(info.systemLocation()) == wanted;
#endif
        if (!same)
            continue;
        entry.description = info.description();
        entry.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            entry.vendorProductId = QStringLiteral("%1:%2")
                                        .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                                        .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        }
        entry.serialNumber = info.serialNumber();
        break;
    }
    return entry;
}

} // namespace

QList<PortEntry> listPorts(int count)
{
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    QList<PortEntry> entries;
#ifdef Q_OS_WIN
    for (int n = 1; n <= count; ++n) {
        const QString device = QStringLiteral("COM%1").arg(n);
        const bool listed = std::any_of(infos.begin(), infos.end(), [&device](const QSerialPortInfo &info) {
            return info.portName().compare(device, Qt::CaseInsensitive) == 0;
        });
        if (listed)
            entries.append(entryFor(n, device, infos));
    }
#else
    const QStringList system = PortMap::systemDevices(infos);
    for (int n = 1; n <= count; ++n) {
        QString device = PortMap::linkedDevice(n);
        if (device.isEmpty() && n <= system.size())
            device = system.at(n - 1);
        if (!device.isEmpty())
            entries.append(entryFor(n, device, infos));
    }
#endif
    return entries;
}

} // namespace veltra
