// veltra-cli on many ports at once: scan, and a command run on a list of
// ports, each on a worker and a connection of its own.
#include "cli.h"
#include "output.h"
#include "parallel.h"
#include "protocol/measurementrow.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <algorithm>

namespace veltra {

namespace {

// The arguments without their --port, so each worker can be given its own,
// and without what only the gathering of the results understands.
QStringList withoutPort(const QStringList &arguments, bool keepJson)
{
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"--port" || a == u"-p") {
            ++i; // and its value
            continue;
        }
        if (a.startsWith(QLatin1String("--port=")) || (a.startsWith(QLatin1String("-p")) && !a.startsWith(u"--")))
            continue;
        if (a == u"--csv" || (a == u"--json" && !keepJson))
            continue;
        rest << a;
    }
    return rest;
}

QString adapterText(const PortEntry &port)
{
    QStringList parts;
    for (const QString &part : {port.description, port.manufacturer, port.vendorProductId})
        if (!part.isEmpty() && !parts.contains(part))
            parts << part;
    return parts.join(QStringLiteral(", "));
}

QStringList lines(const QString &text)
{
    return text.split(u'\n', Qt::SkipEmptyParts);
}

// One port's run: what it printed and how it ended.
struct PortRun {
    QString port;
    QString device;
    int exitCode = 0;
    QString out;
    QString err;
    QStringList trace; // --trace: the exchanges, for standard error

    // A short word for the summary: "ok", or the last thing it said.
    QString result() const
    {
        if (exitCode == 0)
            return QStringLiteral("ok");
        const QStringList said = lines(err);
        return said.isEmpty() ? QStringLiteral("exit code %1").arg(exitCode) : said.constLast();
    }
};

// One JSON document: each port's own JSON result, its messages and exit code.
void printRunsJson(QTextStream &out, const QList<PortRun> &runs, int worst)
{
    QJsonArray results;
    for (const PortRun &run : runs) {
        const QJsonDocument printed = QJsonDocument::fromJson(run.out.toUtf8());
        QJsonArray messages;
        for (const QString &line : lines(run.err))
            messages.append(line);
        results.append(
            QJsonObject{{QStringLiteral("port"), run.port},
                        {QStringLiteral("device"), textOrNull(run.device)},
                        {QStringLiteral("exitCode"), run.exitCode},
                        {QStringLiteral("result"), printed.isObject() ? QJsonValue(printed.object()) : QJsonValue()},
                        {QStringLiteral("messages"), messages}});
    }
    printJson(out, {{QStringLiteral("ports"), results}, {QStringLiteral("exitCode"), worst}});
}

// One CSV row per port.
void printRunsCsv(QTextStream &out, const QList<PortRun> &runs)
{
    out << "port,device,exit_code,result\n";
    for (const PortRun &run : runs)
        out << csvField(run.port) << ',' << csvField(run.device) << ',' << run.exitCode << ',' << csvField(run.result())
            << '\n';
    out.flush();
}

// Each port's own lines, the port in front of every one, then a summary.
void printRunsText(QTextStream &out, QTextStream &err, const QList<PortRun> &runs)
{
    qsizetype width = 0;
    for (const PortRun &run : runs)
        width = std::max(width, run.port.size());
    for (const PortRun &run : runs) {
        for (const QString &line : lines(run.out))
            out << run.port.leftJustified(width + 2) << line << '\n';
        for (const QString &line : lines(run.err))
            err << run.port.leftJustified(width + 2) << line << '\n';
    }
    out << Qt::endl;
    err.flush();
    QList<QStringList> rows{
        {QStringLiteral("port"), QStringLiteral("device"), QStringLiteral("exit"), QStringLiteral("result")}};
    for (const PortRun &run : runs)
        rows << QStringList{run.port, run.device.isEmpty() ? QStringLiteral("-") : run.device,
                            QString::number(run.exitCode), run.result()};
    printTable(out, rows);
}

// measure: one CSV table, the port in front of every row; a distance sensor
// leaves the level and current empty.
void printMeasurements(QTextStream &out, QTextStream &err, const QList<PortRun> &runs)
{
    out << "port," << measurementCsvHeader(SensorFamily::Level) << '\n';
    for (const PortRun &run : runs) {
        const QStringList rows = lines(run.out);
        for (qsizetype r = 1; r < rows.size(); ++r) {
            QString row = rows[r];
            if (rows.constFirst() == measurementCsvHeader(SensorFamily::Distance))
                row += QStringLiteral(",,");
            out << csvField(run.port) << ',' << row << '\n';
        }
        for (const QString &line : lines(run.err))
            err << run.port << ": " << line << '\n';
    }
    out.flush();
    err.flush();
}

} // namespace

void Cli::traceScan(const QList<ScanResult> &results)
{
    if (!m_trace)
        return;
    for (const ScanResult &r : results) {
        for (const QString &line : r.trace)
            m_err << r.port.number << "  trace: " << line << '\n';
    }
    m_err.flush();
}

int Cli::scan(const QCommandLineParser &parser)
{
    if (!m_makeLink)
        return fail({ExitCode::Usage, QStringLiteral("scan needs the serial ports of the system.")});
    const QList<PortEntry> candidates = scanCandidates(scanPortCount(), parser.isSet(QStringLiteral("all-devices")));
    const QList<ScanResult> results = scanPorts(candidates, m_makeLink);
    traceScan(results);
    const bool anyFound = std::any_of(results.cbegin(), results.cend(),
                                      [](const ScanResult &r) { return r.state == ScanResult::State::Found; });

    if (parser.isSet(QStringLiteral("json"))) {
        QJsonArray ports;
        for (const ScanResult &r : results) {
            QJsonObject o{{QStringLiteral("port"), r.port.number},
                          {QStringLiteral("device"), r.port.device},
                          {QStringLiteral("adapter"), textOrNull(adapterText(r.port))},
                          {QStringLiteral("serialNumber"), textOrNull(r.port.serialNumber)},
                          {QStringLiteral("state"), r.stateName()}};
            if (r.state == ScanResult::State::Found) {
                o.insert(QStringLiteral("baud"), numberOrNull(r.baud));
                o.insert(QStringLiteral("model"), modelJson(r.identity.modelCode, r.identity.modelName));
                o.insert(QStringLiteral("family"), textOrNull(r.identity.family));
            } else {
                o.insert(QStringLiteral("message"), r.message);
            }
            ports.append(o);
        }
        printJson(m_out, {{QStringLiteral("ports"), ports}});
    } else if (results.isEmpty()) {
        m_out << "No serial adapter to probe"
              << (parser.isSet(QStringLiteral("all-devices")) ? "." : " (--all-devices probes the built-in ports too).")
              << Qt::endl;
    } else {
        QList<QStringList> rows{{QStringLiteral("port"), QStringLiteral("device"), QStringLiteral("adapter"),
                                 QStringLiteral("baud"), QStringLiteral("model")}};
        for (const ScanResult &r : results) {
            QString what;
            switch (r.state) {
            case ScanResult::State::Found:
                what = QStringLiteral("%1 %2").arg(r.identity.modelCode, r.identity.modelName);
                if (!r.identity.family.isEmpty())
                    what += QStringLiteral(" (%1)").arg(r.identity.family);
                break;
            case ScanResult::State::NoSensor:
                what = QStringLiteral("no sensor answered");
                break;
            case ScanResult::State::Busy:
                what = QStringLiteral("busy: another program holds the port");
                break;
            case ScanResult::State::Failed:
                what = r.message;
                break;
            }
            rows << QStringList{QString::number(r.port.number), r.port.device,
                                adapterText(r.port).isEmpty() ? QStringLiteral("-") : adapterText(r.port),
                                r.baud.isEmpty() ? QStringLiteral("-") : r.baud, what};
        }
        printTable(m_out, rows);
    }
    if (!anyFound)
        m_err << "No sensor answered on any port." << Qt::endl;
    return int(anyFound ? ExitCode::Success : ExitCode::NoSensor);
}

int Cli::runOnPorts(const QStringList &arguments, const QCommandLineParser &parser, const PortSelection &selection,
                    bool ownJson)
{
    if (!m_makeLink)
        return usageError(QStringLiteral("several ports at once need the system's serial ports."));
    const QString command = arguments.value(1);
    const bool json = parser.isSet(QStringLiteral("json")) && !parser.isSet(QStringLiteral("csv"));
    const bool csv = parser.isSet(QStringLiteral("csv"));

    // A backup of several sensors needs a folder: one file per port.
    if (command == u"backup") {
        const QString output = parser.value(QStringLiteral("output"));
        if (output.isEmpty() || output == u"-" || (!output.endsWith(u'/') && !QFileInfo(output).isDir()))
            return usageError(QStringLiteral("with several ports, give -o a folder (FOLDER/): one file per port."));
    }

    // The ports, and the rate scan found each at (none for a listed port).
    QStringList ports = selection.ports;
    QStringList rates(ports.size());
    if (selection.all) {
        ports.clear();
        rates.clear();
        const QList<ScanResult> found = scanPorts(scanCandidates(scanPortCount(), false), m_makeLink);
        traceScan(found);
        for (const ScanResult &r : found) {
            if (r.state == ScanResult::State::Found) {
                ports << QString::number(r.port.number);
                rates << r.baud;
            }
        }
        if (ports.isEmpty())
            return fail({ExitCode::NoSensor, QStringLiteral("No sensor answered on any port: nothing was done.")});
    }

    // One device named twice (a number and the link or path it maps to) is
    // served once: two workers on one device would change each other's rate.
    QList<int> sameAs(ports.size(), -1);
    QStringList devices;
    for (const QString &port : std::as_const(ports)) {
        const std::optional<PortId> id = PortId::fromText(port);
        const QString device = id ? PortMap::deviceFor(*id) : QString();
        const QString canonical = QFileInfo(device).canonicalFilePath();
        devices << (canonical.isEmpty() ? device : canonical);
    }
    for (qsizetype i = 0; i < ports.size(); ++i) {
        const qsizetype first = devices.at(i).isEmpty() ? i : devices.indexOf(devices.at(i));
        if (first < i)
            sameAs[i] = int(first);
    }

    const QStringList base = withoutPort(arguments, ownJson && json);
    const bool baudGiven = parser.isSet(QStringLiteral("baud"));
    // The workers only read the lists (at(), never a detaching operator[])
    // and each writes its own slot of runs, made here beforehand.
    QList<PortRun> runs(ports.size());
    PortRun *perPort = runs.data();
    runAtOnce(int(ports.size()), [&](int i) {
        PortRun &run = perPort[i];
        run.port = ports.at(i);
        if (sameAs.at(i) >= 0) {
            run.exitCode = int(ExitCode::Usage);
            run.device = devices.at(i);
            run.err = QStringLiteral("Port %1 is the same device (%2) as port %3, which is served once: nothing was "
                                     "done here.\n")
                          .arg(ports.at(i), devices.at(i), ports.at(sameAs.at(i)));
            return;
        }
        QStringList own = base;
        own << QStringLiteral("--port") << ports.at(i);
        // The rate scan just found spares a second search.
        if (!baudGiven && !rates.at(i).isEmpty())
            own << QStringLiteral("--baud") << rates.at(i);
        const std::unique_ptr<SerialLink> link = m_makeLink();
        QTextStream out(&run.out);
        QTextStream err(&run.err);
        Cli worker(*link, out, err);
        worker.setClock(m_clock);
        worker.collectTrace(&run.trace);
        run.exitCode = worker.run(own);
        out.flush();
        err.flush();
        run.device = link->device();
    });

    // The trace goes to standard error in every form, each line by its port;
    // standard output holds only the results.
    for (const PortRun &run : std::as_const(runs)) {
        for (const QString &line : run.trace)
            m_err << run.port << "  trace: " << line << '\n';
    }
    m_err.flush();

    QList<int> codes;
    for (const PortRun &run : runs)
        codes << run.exitCode;
    const int worst = worstExitCode(codes);

    if (json)
        printRunsJson(m_out, runs, worst);
    else if (csv)
        printRunsCsv(m_out, runs);
    else if (command == u"measure")
        printMeasurements(m_out, m_err, runs);
    else
        printRunsText(m_out, m_err, runs);
    return worst;
}

} // namespace veltra
