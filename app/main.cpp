// veltra-sensor: configuration and test tool for Veltra ultrasonic sensors.
#include "caretrest.h"
#include "fonts.h"
#include "language.h"
#include "program.h"
#include "qserialportlink.h"
#include "startwindow.h"
#include "startwindow_port.h"

#include <QApplication>

#include <cstdio>

namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("veltra-sensor"));
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationVersion(QStringLiteral(VELTRA_VERSION));

    // Help, version and most usage errors are answered before a display is
    // opened, so they work without one.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    const veltra::StartOptions early = veltra::parseStartOptions(rawArguments, false);
    if (early.action == veltra::StartOptions::Action::Help || early.action == veltra::StartOptions::Action::Version) {
        print(stdout, early.text);
        return 0;
    }
    if (early.action == veltra::StartOptions::Action::UsageError) {
        print(stderr, early.text);
        return 2;
    }

    QApplication app(argc, argv);
    // Qt has taken its own options out of the list by now.
    const veltra::StartOptions options = veltra::parseStartOptions(QApplication::arguments());
    if (options.action == veltra::StartOptions::Action::UsageError) {
        print(stderr, options.text);
        return 2;
    }
    // Windows are hidden, not closed; the program ends when a window says so.
    QApplication::setQuitOnLastWindowClosed(false);
    veltra::ui::installLanguage(veltra::ui::chosenLanguage(options.language));
    veltra::ui::installFontSubstitutions();
    veltra::ui::restCaretWhenIdle(&app);

    veltra::QSerialPortLink link;
    veltra::Program program(link, [] { QApplication::exit(0); });
    veltra::preparePortBox(program.startWindow(), options.port);
    program.start();
    return QApplication::exec();
}
