#pragma once

// veltra-cli run as a process against a Sim, for the end-to-end tests.
#include "simprocess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

// The result is taken once: QVERIFY2 evaluates its message every time.
#define QVERIFY_EXIT(result, code)                                                                                     \
    do {                                                                                                               \
        const CliResult &checked_ = (result);                                                                          \
        QVERIFY2(checked_.exitCode == (code), qPrintable(checked_.err + checked_.out));                                \
    } while (false)

namespace {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

QString cliProgram()
{
    const QString fromEnv = qEnvironmentVariable("VELTRA_CLI");
    return fromEnv.isEmpty() ? QStringLiteral(VELTRA_CLI_PATH) : fromEnv;
}

// Runs veltra-cli to its end. It inherits VELTRA_PORTS_DIR from the Sim.
// A file limit (bytes) makes every write past it fail as on a full disk; a
// standard output file takes what it prints ("/dev/full": every write fails).
CliResult runCli(const QStringList &arguments, qint64 fileLimit = 0, const QString &standardOutput = {})
{
    QProcess process;
    if (fileLimit > 0) {
        process.setChildProcessModifier([fileLimit] {
            const rlimit limit{rlim_t(fileLimit), rlim_t(fileLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the program
        });
    }
    if (!standardOutput.isEmpty())
        process.setStandardOutputFile(standardOutput);
    process.start(cliProgram(), arguments);
    CliResult result;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QJsonObject jsonOf(const CliResult &result)
{
    return QJsonDocument::fromJson(result.out.toUtf8()).object();
}

// The raw settings block as `read --json` reports it, at a known rate.
[[maybe_unused]] QJsonObject readSettings(const QString &port, const QString &baud)
{
    const CliResult read = runCli({"read", "--port", port, "--baud", baud, "--json"});
    if (read.exitCode != 0)
        qWarning("read failed: %s", qPrintable(read.err));
    return jsonOf(read).value("block").toObject();
}

// The simulator's log once what it has written has arrived.
[[maybe_unused]] QString settledLog(Sim &sim)
{
    QTest::qWait(150);
    return sim.log();
}

} // namespace
