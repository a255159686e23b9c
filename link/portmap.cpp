#include "portmap.h"

#include "messagetext.h"
#include "numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStandardPaths>

#include <algorithm>

namespace veltra {

std::optional<PortId> PortId::fromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    // Qt counts ":/..." (its own resources) as absolute: no device is there.
    if (QDir::isAbsolutePath(trimmed) && trimmed.size() > 1 && !trimmed.startsWith(u':'))
        return PortId{0, trimmed};
    if (!isNumberText(trimmed))
        return std::nullopt;
    const auto number = wholeNumberIn(trimmed, -32768, 32767);
    if (!number)
        return std::nullopt;
    return PortId{*number, {}};
}

QString PortId::display() const
{
    return path.isEmpty() ? QString::number(number) : path;
}

QString PortMap::portsDir()
{
    const QString fromEnv = qEnvironmentVariable("VELTRA_PORTS_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QDir::homePath() + QStringLiteral("/.config/veltra/ports");
}

QStringList PortMap::systemDevices()
{
    return systemDevices(QSerialPortInfo::availablePorts());
}

QStringList PortMap::systemDevices(const QList<QSerialPortInfo> &infos)
{
    QStringList adapters; // USB and ACM adapters: what an operator plugs in
    QStringList others;
    for (const QSerialPortInfo &info : infos) {
        const QString name = info.portName();
        const bool adapter = name.contains(QLatin1String("USB")) || name.contains(QLatin1String("ACM"))
                             || name.startsWith(QLatin1String("cu.usb")) || name.startsWith(QLatin1String("tty.usb"));
        (adapter ? adapters : others).append(info.systemLocation());
    }
    std::sort(adapters.begin(), adapters.end());
    std::sort(others.begin(), others.end());
    return adapters + others;
}

QString PortMap::deviceFor(const PortId &port)
{
    if (!port.path.isEmpty())
        return port.path;
    if (port.number < 1)
        return {};
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port.number);
#else
    if (const QString linked = linkedDevice(port.number); !linked.isEmpty())
        return linked;
    const QStringList devices = systemDevices();
    if (port.number <= devices.size())
        return devices.at(port.number - 1);
    return {};
#endif
}

QString PortMap::linkedDevice(int number)
{
#ifdef Q_OS_WIN
    Q_UNUSED(number);
    return {};
#else
    const QFileInfo link(portsDir() + QStringLiteral("/com%1").arg(number));
    if (link.isSymLink())
        return link.symLinkTarget();
    return link.exists() ? link.absoluteFilePath() : QString();
#endif
}

int PortMap::highestLinkNumber()
{
    int highest = 0;
#ifndef Q_OS_WIN
    const QStringList names = QDir(portsDir()).entryList({QStringLiteral("com*")}, QDir::Files | QDir::System);
    for (const QString &name : names) {
        bool ok = false;
        const int number = name.mid(3).toInt(&ok);
        if (ok && number > highest && name == QStringLiteral("com%1").arg(number))
            highest = number;
    }
#endif
    return highest;
}

QString PortMap::describe(int maxPort)
{
    QStringList lines;
#ifndef Q_OS_WIN
    // deviceFor() enumerates the system's devices on every call; one
    // enumeration, made only when a number has no link, serves them all here.
    std::optional<QStringList> devices;
#endif
    for (int n = 1; n <= maxPort; ++n) {
#ifdef Q_OS_WIN
        const QString device = deviceFor(PortId{n, {}});
#else
        QString device = linkedDevice(n);
        if (device.isEmpty()) {
            if (!devices)
                devices = systemDevices();
            device = devices->value(n - 1);
        }
#endif
        if (!device.isEmpty())
            lines << QStringLiteral("%1 \u2192 %2").arg(n).arg(device);
    }
    if (lines.isEmpty())
        return messageText(
            QT_TRANSLATE_NOOP("Messages", "No serial device found. Type a device path, or link it as com1 in %1"),
            {portsDir()});
    return lines.join(u'\n');
}

} // namespace veltra
