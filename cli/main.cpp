// veltra-cli: scripted configuration, backup and restore of one sensor.
#include "cli.h"
#include "qserialportlink.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veltra-cli"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    veltra::QSerialPortLink link;
    veltra::Cli cli(link, out, err);
    cli.setLinkFactory([] { return std::make_unique<veltra::QSerialPortLink>(); });
    return cli.run(QCoreApplication::arguments());
}
