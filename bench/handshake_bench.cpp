// Times the connection handshake against veltra-sim through the real serial
// link, and compares it with the sum of the waits the handshake must make.
#include "linesettings.h"
#include "qserialportlink.h"
#include "session/handshake.h"
#include "simprocess.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

using namespace veltra;

namespace {

// The waits the handshake makes before it finds a sensor at this rate.
int fixedWaitsMs(int rate)
{
    int waits = Handshake::kSettleMs;
    for (const BaudRow &row : kBaudTable) {
        waits += row.rate == kBaudTable.front().rate ? Handshake::kFirstWaitMs : Handshake::kLaterWaitMs;
        if (row.rate == rate)
            break;
    }
    return waits;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Handshake timing against the simulated sensor."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("sim"), QStringLiteral("Path of veltra-sim."), QStringLiteral("path")});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Runs per rate (default 10)."), QStringLiteral("n"),
                      QStringLiteral("10")});
    parser.process(app);
    if (parser.isSet(QStringLiteral("sim")))
        qputenv("VELTRA_SIM", parser.value(QStringLiteral("sim")).toLocal8Bit());
    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());

    std::printf("%-8s %5s %10s %10s %10s %10s %9s\n", "rate", "runs", "min ms", "mean ms", "max ms", "waits ms",
                "overhead");
    bool withinBudget = true;
    for (int rate : {9600, 115200}) {
        QTemporaryDir ports;
        Sim sim(ports);
        if (sim.start({QStringLiteral("--baud"), QString::number(rate), QStringLiteral("--port"), QStringLiteral("1")})
                .isEmpty()) {
            std::fprintf(stderr, "veltra-sim did not start (set --sim)\n");
            return 1;
        }
        double total = 0, lo = 1e9, hi = 0;
        for (int i = 0; i < runs; ++i) {
            QSerialPortLink link;
            QElapsedTimer clock;
            clock.start();
            const HandshakeResult result = Handshake::run(link, QStringLiteral("1"), [](const QString &) {});
            const double ms = clock.nsecsElapsed() / 1e6;
            link.close();
            if (!result.found() || result.baudText.toInt() != rate) {
                std::fprintf(stderr, "run %d at %d: no sensor found (%s)\n", i, rate, qPrintable(result.reason()));
                return 1;
            }
            total += ms;
            lo = std::min(lo, ms);
            hi = std::max(hi, ms);
            QCoreApplication::processEvents();
        }
        const double mean = total / runs;
        const int waits = fixedWaitsMs(rate);
        const double overhead = 100.0 * (mean - waits) / waits;
        withinBudget = withinBudget && overhead < 3.0;
        std::printf("%-8d %5d %10.1f %10.1f %10.1f %10d %8.2f%%\n", rate, runs, lo, mean, hi, waits, overhead);
    }
    std::printf(withinBudget ? "overhead under 3%% at both rates\n" : "OVERHEAD OF 3%% OR MORE\n");
    return withinBudget ? 0 : 2;
}
