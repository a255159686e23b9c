#pragma once

#include "failure.h"
#include "portmap.h"
#include "portselection.h"
#include "scan.h"
#include "session/sensorsession.h"
#include "settingsedit.h"
#include "record/commissioningrecord.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <optional>
#include <span>

#include <QJsonObject>

class QCommandLineParser;
class QTextStream;

namespace veltra {

class SerialLink;

// What a command found or did, as data: a port list prints it as each port's
// JSON result, or as CSV rows after the port's own columns.
struct CommandResult {
    QJsonObject json;
    QStringList columns;     // the CSV columns of one row
    QList<QStringList> rows; // one per setting, change or file
};

// measure on a port list: each measurement as it is taken, as JSON and as
// the single port's CSV row.
using MeasurementSink = std::function<void(const QJsonObject &measurement, const QString &csvRow, SensorFamily)>;

// veltra-cli: the commands for scripted configuration, backup and restore.
// Everything goes through the given link and streams, so tests can drive it
// with a scripted link and read what it prints.
class Cli
{
public:
    Cli(SerialLink &link, QTextStream &out, QTextStream &err);

    // arguments[0] is the program; the return value is the exit code.
    int run(const QStringList &arguments);

    // The time stamped on measurements and backups; tests pin it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // With --trace, the exchanges go into `lines` instead of standard error
    // (a worker of a port list, whose trace the list prints by port).
    void collectTrace(QStringList *lines) { m_traceLines = lines; }
    // The command's result goes here too, whatever it prints.
    void keepResultIn(CommandResult *result) { m_result = result; }
    // measure hands each measurement here instead of printing it.
    void streamMeasurementsTo(MeasurementSink sink) { m_measurements = std::move(sink); }
    // Several ports are served at once, each on a link of its own made
    // here; without a factory only one port at a time can be served.
    void setLinkFactory(LinkFactory factory) { m_makeLink = std::move(factory); }

private:
    // run() without the final check of standard output.
    int runCommand(const QStringList &arguments);
    struct Command;
    static std::span<const Command> commands();
    static const Command *findCommand(const QString &name);

    int usageError(const QString &message);
    int fail(const Failure &failure);
    void printGeneralHelp(QTextStream &stream);

    // The commands; the parser has been filled and checked.
    int detect(const QCommandLineParser &parser);
    int read(const QCommandLineParser &parser);
    int write(const QCommandLineParser &parser);
    int measure(const QCommandLineParser &parser);
    int backup(const QCommandLineParser &parser);
    int restore(const QCommandLineParser &parser);
    int compare(const QCommandLineParser &parser);
    int ports(const QCommandLineParser &parser);
    int scan(const QCommandLineParser &parser);
    int report(const QCommandLineParser &parser);
    // With --trace, every exchange of the session as a line on standard error.
    void watch(SensorSession &session);
    // With --trace, the exchanges of scan's probes, port by port.
    void traceScan(const QList<ScanResult> &results);
    // A command on several ports at once (cli_ports.cpp): one worker and one
    // connection per port; the results in the order of the list, the port
    // in every row; the exit code is the worst of them.
    int runOnPorts(const QStringList &arguments, const QCommandLineParser &parser, const PortSelection &selection);
    int runSensor(const QCommandLineParser &parser);

    // Connects and reads the block; a failure is reported here.
    std::optional<SensorSettings> connectAndRead(SensorSession &session, const QCommandLineParser &parser);
    // The settings file named on the command line, and the connected
    // sensor's block of the same family. A failure is reported here, ending
    // in `nothingDone`, and its exit code set. The file is read first: a
    // file that is no settings file opens no port.
    struct FileAndSensor {
        SensorSettings file;
        SensorSettings sensor;
    };
    std::optional<FileAndSensor> loadAndRead(SensorSession &session, const QCommandLineParser &parser,
                                             const QString &nothingDone, int *exitCode);
    // restore --dry-run: each setting the restore would change, and the rate
    // the link would follow to when it is not `rateNow`.
    int printDryRun(const RestorePlan &plan, const QString &path, const QString &rateNow);
    // A restore plan that cannot be carried out, reported with its exit
    // code; 0 for one that can.
    int refuseRestore(const RestorePlan &plan, const QString &nothingDone);
    // Sends the settings, reads the block back and compares; for a restore,
    // with the file's values too.
    int writeAndVerify(SensorSession &session, const SensorSettings &before, const SensorSettings &settings,
                       const QString &what, const RestorePlan *restore);
    // measure --wait-for-adapter: the lost adapter looked for until it is
    // back (true) or the time is up (false, the session's failure set).
    bool waitForAdapterBack(SensorSession &session, double seconds);
    // A write's or restore's result: the changes it makes or made, and what
    // came of it ("verified", "differs", "not verified", "failed", "refused",
    // "dry run").
    void keepWriteResult(const SensorSettings &before, const SensorSettings &settings, const QString &verdict,
                         const RestorePlan *restore, const QStringList &differences = {},
                         const std::optional<SensorSettings> &readBack = std::nullopt);
    // The commissioning record (cli_record.cpp): a write or restore notes
    // its entry as it ends; it is kept once the exit code is known, and a
    // restore's certificate written. Returns the exit code, 8 when the
    // entry or certificate could not be written.
    void noteWrite(const SensorSettings &before, const std::optional<SensorSettings> &sent,
                   const std::optional<SensorSettings> &readBack, const QString &verdict,
                   const QStringList &differences);
    int keepRecordEntry(int exitCode);
    int history(const QCommandLineParser &parser);
    int record(const QCommandLineParser &parser);
    int certificate(const QCommandLineParser &parser);
    // The record --record names (or VELTRA_RECORD, or the settings file).
    std::optional<RecordTarget> recordTarget();
    void keep(CommandResult result)
    {
        if (m_result)
            *m_result = std::move(result);
    }

    // The port numbers scan (and --port all) looks through.
    static constexpr int kScanPortCount = 64;
    // That, or more where the ports folder has a comN link of a larger N.
    static int scanPortCount() { return std::max(kScanPortCount, PortMap::highestLinkNumber()); }

    SerialLink &m_link;
    QTextStream &m_out;
    QTextStream &m_err;
    std::function<QDateTime()> m_clock;
    LinkFactory m_makeLink;
    bool m_trace = false;
    QStringList *m_traceLines = nullptr;
    CommandResult *m_result = nullptr;
    MeasurementSink m_measurements;
    QString m_portText; // --port as given
    QString m_lastFailure; // the last failure's message, for the record
    std::optional<RecordEntry> m_entry; // the write's entry, kept as the command ends
    QString m_command;                  // the command's name
    QString m_recordText;               // --record
    QString m_operator;                 // --operator
    QString m_certificateFolder;        // restore --certificate
};

} // namespace veltra
