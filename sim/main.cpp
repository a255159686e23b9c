// veltra-sim: a simulated sensor on a pseudo-terminal, for trying the
// configuration tool without hardware.
#include "adapteridentity.h"
#include "portlink.h"
#include "portmap.h"
#include "ptyport.h"
#include "simoptions.h"
#include "simserver.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalFd = -1; // write end of the self-pipe, used by the signal handler

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalFd, &byte, 1);
}

void logLine(const QString &line)
{
    std::fprintf(stderr, "veltra-sim: %s\n", qPrintable(line));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veltra-sim"));

    const veltra::SimCommandLine commandLine = veltra::parseSimCommandLine(app.arguments());
    if (commandLine.outcome == veltra::SimCommandLine::Outcome::Help) {
        std::fputs(qPrintable(commandLine.text), stdout);
        return 0;
    }
    if (commandLine.outcome == veltra::SimCommandLine::Outcome::Error) {
        std::fprintf(stderr, "veltra-sim: %s\nTry veltra-sim --help.\n", qPrintable(commandLine.text));
        return 2;
    }
    const veltra::SimOptions &options = commandLine.options;
    veltra::SimSensor sensor = veltra::makeSimSensor(options);
    sensor.setLogger(logLine);

    // SIGINT and SIGTERM end the event loop through a socket pair, so the
    // link is removed on the normal way out.
    int signalPair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPair) != 0) {
        logLine(QStringLiteral("cannot make the signal socket pair"));
        return 1;
    }
    g_signalFd = signalPair[0];
    QSocketNotifier signalNotifier(signalPair[1], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [&] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(signalPair[1], &byte, 1);
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);

    veltra::PtyPort port;
    QString error;
    if (!port.open(options.baud, &error)) {
        logLine(error);
        return 1;
    }
    veltra::PortLink link;
    if (!link.create(veltra::PortMap::portsDir(), options.port, port.slavePath(), &error)) {
        logLine(error);
        return 1;
    }
    // The adapter it stands behind, as udev names one in /dev/serial/by-id.
    veltra::PortLink adapterLink;
    if (!options.adapter.isEmpty() && !adapterLink.create(veltra::byIdFolder(), options.adapter, port.slavePath(), &error)) {
        logLine(error);
        return 1;
    }

    // The first line on stdout is the device; scripts wait for it.
    std::printf("%s\n", qPrintable(port.slavePath()));
    std::fflush(stdout);
    logLine(QStringLiteral("model %1 at %2 baud on %3 (%4): %5")
                .arg(sensor.field(veltra::fieldOf(veltra::Setting::Model)))
                .arg(sensor.baudRate())
                .arg(link.path(), port.slavePath(), QString::fromLatin1(sensor.settingsReply())));

    veltra::SimServer server(sensor, port);
    server.setLogger(logLine);
    QObject::connect(&server, &veltra::SimServer::unplugged, &app, [] { QCoreApplication::exit(0); });

    const int code = app.exec();
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    adapterLink.remove();
    link.remove();
    port.close();
    logLine(QStringLiteral("stopped"));
    ::close(signalPair[0]);
    ::close(signalPair[1]);
    return code;
}
