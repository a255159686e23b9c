#pragma once

#include "adapteridentity.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace veltra {

class StartWindow;

// What veltra-sensor's command line asks for.
struct StartOptions {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    QString port; // --port as given, empty without one
    // The help text, the version line or the usage error, ready to print.
    QString text;
    QString language = {}; // --lang: "en", "fa", or empty
};

// Reads the program's arguments (the program's name first). Help and version
// win over anything else given. Before Qt has taken its own options
// (-platform, -style ...) out of the list (qtOptionsTaken false), those are
// let through and anything that depends on them is left for the second
// reading; an option neither Qt's nor ours is an error either way, so a typo
// is reported without opening a display.
StartOptions parseStartOptions(const QStringList &arguments, bool qtOptionsTaken = true);

// The port of the last handshake that found a sensor, from the user's
// settings (organisation Veltra, application veltra-sensor); "1" when none
// is kept or the kept one is not a port.
QString rememberedPort();
// Keeps a port the way the port box reads it: a number ("1.5" is 2) or a
// path. A device path of a USB adapter is kept as the adapter's by-id link, so the
// box follows the adapter when it comes back under another name.
void rememberPort(const QString &portText, const std::optional<AdapterIdentity> &adapter = std::nullopt);

// The start window's box starts at commandLinePort, else at the remembered
// port; each handshake that finds a sensor remembers its port.
void preparePortBox(StartWindow &window, const QString &commandLinePort);

} // namespace veltra
