// veltra-cli: scripted configuration, backup and restore of one sensor.
#include "cli.h"
#include "qserialportlink.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstring>
#include <memory>

namespace {

// Certificates are drawn with Qt's fonts, which need a QGuiApplication; the
// other commands make do with the core one.
bool drawsCertificates(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "certificate") == 0)
        return true;
    for (int i = 2; i < argc; ++i) {
        if (std::strncmp(argv[i], "--certificate", 13) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    if (drawsCertificates(argc, argv)) {
        // The program shows no window: it needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("veltra-cli"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    veltra::QSerialPortLink link;
    veltra::Cli cli(link, out, err);
    cli.setLinkFactory([] { return std::make_unique<veltra::QSerialPortLink>(); });
    return cli.run(QCoreApplication::arguments());
}
