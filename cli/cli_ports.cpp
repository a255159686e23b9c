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
#include <QMutex>
#include <QTextStream>

#include <algorithm>

namespace veltra {

namespace {

// The arguments without their --port, so each worker can be given its own,
// and without the forms: the workers hand over their results as data.
QStringList withoutPort(const QStringList &arguments)
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
        if (a == u"--csv" || a == u"--json")
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
    CommandResult data; // what the command found or did

    // A short word for the summary: "ok", or the last thing it said.
    QString result() const
    {
        if (exitCode == 0)
            return QStringLiteral("ok");
        const QStringList said = lines(err);
        return said.isEmpty() ? QStringLiteral("exit code %1").arg(exitCode) : said.constLast();
    }
};

QJsonObject runJson(const PortRun &run)
{
    QJsonArray messages;
    for (const QString &line : lines(run.err))
        messages.append(line);
    return {{QStringLiteral("port"), run.port},
            {QStringLiteral("device"), textOrNull(run.device)},
            {QStringLiteral("exitCode"), run.exitCode},
            {QStringLiteral("result"), run.data.json.isEmpty() ? QJsonValue() : QJsonValue(run.data.json)},
            {QStringLiteral("messages"), messages}};
}

// One JSON document: each port's result, its messages and exit code.
void printRunsJson(QTextStream &out, const QList<PortRun> &runs, int worst)
{
    QJsonArray results;
    for (const PortRun &run : runs)
        results.append(runJson(run));
    printJson(out, {{QStringLiteral("ports"), results}, {QStringLiteral("exitCode"), worst}});
}

// CSV: port, device, exit code and result, then the command's own columns,
// one row per setting, change or file (one row where it has none).
void printRunsCsv(QTextStream &out, const QList<PortRun> &runs)
{
    QStringList columns;
    for (const PortRun &run : runs) {
        if (columns.isEmpty())
            columns = run.data.columns;
    }
    out << "port,device,exit_code,result";
    for (const QString &column : std::as_const(columns))
        out << ',' << csvField(column);
    out << '\n';
    for (const PortRun &run : runs) {
        const QString start = QStringLiteral("%1,%2,%3,%4")
                                  .arg(csvField(run.port), csvField(run.device))
                                  .arg(run.exitCode)
                                  .arg(csvField(run.result()));
        QList<QStringList> rows = run.data.rows;
        if (rows.isEmpty())
            rows.append(QStringList(columns.size()));
        for (const QStringList &row : std::as_const(rows)) {
            out << start;
            for (qsizetype c = 0; c < columns.size(); ++c)
                out << ',' << csvField(row.value(c));
            out << '\n';
        }
    }
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

int Cli::runOnPorts(const QStringList &arguments, const QCommandLineParser &parser, const PortSelection &selection)
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

    const QStringList base = withoutPort(arguments);
    const bool baudGiven = parser.isSet(QStringLiteral("baud"));

    // measure streams: each measurement is printed as it is taken, and each
    // port's messages and trace as soon as it ends, so a run stopped part-way
    // keeps everything it printed. The workers print one at a time.
    const bool streaming = command == u"measure";
    QMutex printing;
    if (streaming && !json) {
        m_out << "port," << measurementCsvHeader(SensorFamily::Level) << Qt::endl;
    }
    const auto printTrace = [this](const PortRun &run) {
        for (const QString &line : run.trace)
            m_err << run.port << "  trace: " << line << '\n';
        m_err.flush();
    };

    // The workers only read the lists (at(), never a detaching operator[])
    // and each writes its own slot of runs, made here beforehand.
    QList<PortRun> runs(ports.size());
    PortRun *perPort = runs.data();
    runAtOnce(int(ports.size()), [&](int i) {
        PortRun &run = perPort[i];
        run.port = ports.at(i);
        const auto finish = [&] {
            if (!streaming)
                return;
            const QMutexLocker lock(&printing);
            printTrace(run);
            if (json) {
                m_out << QJsonDocument(runJson(run)).toJson(QJsonDocument::Compact) << Qt::endl;
            } else {
                for (const QString &line : lines(run.err))
                    m_err << run.port << ": " << line << '\n';
                m_err.flush();
            }
        };
        if (sameAs.at(i) >= 0) {
            run.exitCode = int(ExitCode::Usage);
            run.device = devices.at(i);
            run.err = QStringLiteral("Port %1 is the same device (%2) as port %3, which is served once: nothing was "
                                     "done here.\n")
                          .arg(ports.at(i), devices.at(i), ports.at(sameAs.at(i)));
            finish();
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
        worker.keepResultIn(&run.data);
        if (streaming) {
            SerialLink *used = link.get();
            worker.streamMeasurementsTo(
                [&, used](const QJsonObject &measurement, const QString &csvRow, SensorFamily family) {
                    const QMutexLocker lock(&printing);
                    if (json) {
                        QJsonObject line{{QStringLiteral("port"), run.port},
                                         {QStringLiteral("device"), textOrNull(used->device())}};
                        for (auto it = measurement.begin(); it != measurement.end(); ++it)
                            line.insert(it.key(), it.value());
                        m_out << QJsonDocument(line).toJson(QJsonDocument::Compact) << Qt::endl;
                    } else {
                        // A distance sensor leaves the level and current empty.
                        m_out << csvField(run.port) << ',' << csvRow
                              << (family == SensorFamily::Distance ? ",," : "") << Qt::endl;
                    }
                });
        }
        run.exitCode = worker.run(own);
        out.flush();
        err.flush();
        run.device = link->device();
        finish();
    });

    QList<int> codes;
    for (const PortRun &run : runs)
        codes << run.exitCode;
    const int worst = worstExitCode(codes);
    if (streaming)
        return worst;

    // The trace goes to standard error in every form, each line by its port;
    // standard output holds only the results.
    for (const PortRun &run : std::as_const(runs))
        printTrace(run);

    if (json)
        printRunsJson(m_out, runs, worst);
    else if (csv)
        printRunsCsv(m_out, runs);
    else
        printRunsText(m_out, m_err, runs);
    return worst;
}

} // namespace veltra
