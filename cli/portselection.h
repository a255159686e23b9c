#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace veltra {

// What --port names: one port, a list of them ("1,3,5-8", device paths), or
// every port where scan finds a sensor ("all").
struct PortSelection {
    bool all = false;
    QStringList ports; // each a whole number from 1 to 32767 or an absolute device path, in the order given, once

    bool isSingle() const { return !all && ports.size() == 1; }
};

// The most ports one command serves at once.
inline constexpr int kMostPorts = 256;

// A script names a port exactly: a whole number from 1 to 32767 (the
// window's port box also takes "1.5" and rounds it) or an absolute device
// path.
bool isPortArgument(const QString &text);

// Reads a --port value; nothing, with the reason, when it names no port,
// has an empty item, a range that runs backwards or more than kMostPorts
// ports. A port named twice is served once.
std::optional<PortSelection> parsePortSelection(const QString &text, QString *error);

} // namespace veltra
