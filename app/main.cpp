// veltra-sensor: configuration and test tool for Veltra ultrasonic sensors.
#include "fonts.h"
#include "program.h"
#include "qserialportlink.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltra-sensor"));
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationVersion(QStringLiteral(VELTRA_VERSION));
    // Windows are hidden, not closed; the program ends when a window says so.
    QApplication::setQuitOnLastWindowClosed(false);
    veltra::ui::installFontSubstitutions();

    veltra::QSerialPortLink link;
    veltra::Program program(link, [] { QApplication::exit(0); });
    program.start();
    return QApplication::exec();
}
