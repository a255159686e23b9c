// The port the start window offers first: the command line's, else the last
// one a sensor answered on.
#include "startwindow_port.h"

#include "language.h"
#include "portmap.h"
#include "session/sensorsession.h"
#include "startwindow.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include <algorithm>

namespace veltra {

namespace {

const QString kProgram = QStringLiteral("veltra-sensor");
const QString kPortKey = QStringLiteral("lastPort");

QSettings userSettings()
{
    return QSettings(QStringLiteral("Veltra"), kProgram);
}

// A whole number from 1 or an absolute device path; the box itself also
// takes "1.5", a command line names a port exactly.
bool isPortArgument(const QString &text)
{
    const auto port = PortId::fromText(text);
    if (port && !port->path.isEmpty())
        return true;
    // Digits only, no sign, space or leading zero.
    const bool digits = !text.isEmpty() && text.size() <= 5 && text.front() != QLatin1Char('0')
                        && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return digits && text.toInt() <= 32767;
}

// The options QApplication takes out of the arguments (with -platform's
// plugins and the X11 ones), as documented for Qt 6.
const QStringList kQtOptions = {
    QStringLiteral("platform"),      QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"), QStringLiteral("plugin"),
    QStringLiteral("qmljsdebugger"), QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowicon"),   QStringLiteral("qwindowtitle"),
    QStringLiteral("reverse"),       QStringLiteral("session"),
    QStringLiteral("display"),       QStringLiteral("geometry"),
    QStringLiteral("style"),         QStringLiteral("stylesheet"),
    QStringLiteral("widgetcount"),   QStringLiteral("nograb"),
    QStringLiteral("dograb"),
};

StartOptions usageError(const QString &message)
{
    return {StartOptions::Action::UsageError,
            {},
            QStringLiteral("%1: %2\nRun \"%1 --help\" for the options.\n").arg(kProgram, message)};
}

} // namespace

StartOptions parseStartOptions(const QStringList &arguments, bool qtOptionsTaken)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configuration and test tool for Veltra ultrasonic level and distance sensors."));
    // Not addHelpOption(): its --help-all would list Qt's options as if they were ours.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("This help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("The program's version."));
    const QCommandLineOption port({QStringLiteral("p"), QStringLiteral("port")},
                                  QStringLiteral("Start with this port in the port box instead of the last one a "
                                                 "sensor answered on: a number, or a device path such as "
                                                 "/dev/ttyUSB0."),
                                  QStringLiteral("N|PATH"));
    const QCommandLineOption language(QStringLiteral("lang"),
                                      QStringLiteral("Speak this language from now on: en (English) or fa (Persian). "
                                                     "Without it, the one chosen last (Help > Language), else the "
                                                     "desktop's."),
                                      QStringLiteral("en|fa"));
    parser.addOptions({help, version, port, language});
    // Qt's options are single-dash words: "-reverse" must not read as -r -e -v ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    QStringList list = arguments;
    if (list.isEmpty())
        list << kProgram;
    const bool parsed = parser.parse(list);
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(0, text.indexOf(u'\n'), QStringLiteral("Usage: %1 [options]\n").arg(kProgram));
        text += QStringLiteral("\nQt's own options, such as -platform and -style, are taken as well.\n");
        return {StartOptions::Action::Help, {}, text};
    }
    if (parser.isSet(version))
        return {StartOptions::Action::Version,
                {},
                QStringLiteral("%1 %2\n").arg(kProgram, QCoreApplication::applicationVersion())};
    if (!qtOptionsTaken) {
        const QStringList unknown = parser.unknownOptionNames();
        const auto foreign = std::find_if(unknown.begin(), unknown.end(), [](const QString &name) {
            return !kQtOptions.contains(name.section(u'=', 0, 0));
        });
        if (foreign != unknown.end())
            return usageError(QStringLiteral("Unknown option '%1'.").arg(*foreign));
        // Qt's options and their values are judged once Qt has taken them.
        if (!unknown.isEmpty())
            return {StartOptions::Action::Run, {}, {}};
    }
    if (!parsed)
        return usageError(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument \"%1\".").arg(parser.positionalArguments().constFirst()));

    const QStringList ports = parser.values(port);
    if (ports.size() > 1)
        return usageError(QStringLiteral("--port is given %1 times; give it once.").arg(ports.size()));
    if (!ports.isEmpty() && !isPortArgument(ports.constFirst()))
        return usageError(QStringLiteral("--port must be a port number from 1 to 32767 or a device path, not \"%1\".")
                              .arg(ports.constFirst()));
    const QString lang = parser.value(language);
    if (parser.isSet(language) && !ui::isLanguage(lang))
        return usageError(QStringLiteral("--lang must be en or fa, not \"%1\".").arg(lang));
    return {StartOptions::Action::Run, ports.value(0), {}, lang};
}

QString rememberedPort()
{
    const QString kept = userSettings().value(kPortKey).toString();
    return isPortArgument(kept) ? kept : QStringLiteral("1");
}

void rememberPort(const QString &portText, const std::optional<AdapterIdentity> &adapter)
{
    const auto port = PortId::fromText(portText);
    if (!port)
        return;
    // A device path of a USB adapter is remembered by the adapter's by-id
    // link, which follows the adapter when it comes back under another name;
    // a port number stays the number.
    const bool followAdapter = !port->path.isEmpty() && adapter;
    userSettings().setValue(kPortKey, followAdapter ? QDir(byIdFolder()).filePath(adapter->byId) : port->display());
}

void preparePortBox(StartWindow &window, const QString &commandLinePort)
{
    window.setPortText(commandLinePort.isEmpty() ? rememberedPort() : commandLinePort);
    QObject::connect(&window, &StartWindow::sensorFound, &window,
                     [&window] { rememberPort(window.portText(), window.session().link().adapter()); });
}

} // namespace veltra
