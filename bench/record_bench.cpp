// The commissioning record under load: 10,000 entries from 8 writers into
// SQLite and (given one) PostgreSQL, the time keeping one entry adds to a
// restore, and history's filtered query over 100,000 entries. Figures are
// printed, never judged.
//
//   veltra-bench-record [--plant postgresql://...] [--cli PATH --sim PATH]
//   (the plant defaults to VELTRA_TEST_POSTGRES; scripts/with-postgres
//   starts one)
#include "record/commissioningrecord.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QUuid>

#include <algorithm>

using namespace veltra;

namespace {

QTextStream out(stdout);

RecordEntry sample(int i)
{
    SensorSettings settings(SensorFamily::Level);
    settings.setValue(Setting::Baud, 30);
    settings.setValue(Setting::Slave, 1 + i % 200);
    settings.setValue(Setting::Model, i % 3 == 0 ? 23 : 21);
    settings.setValue(Setting::Empty, 300);
    settings.setValue(Setting::Resolution, 10);
    RecordEntry entry = RecordEntry::forSensor(settings, QStringLiteral("bench"), QStringLiteral(VELTRA_VERSION));
    entry.time = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).addSecs(qint64(i) * 60);
    entry.station = QStringLiteral("station-%1").arg(i % 8);
    entry.port = QString::number(1 + i % 8);
    entry.sent = settings;
    entry.readBack = settings;
    entry.verdict = QStringLiteral("verified");
    return entry;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

void writers(const QString &name, const RecordTarget &target)
{
    constexpr int kWriters = 8;
    constexpr int kEntries = 10000;
    QElapsedTimer clock;
    clock.start();
    QAtomicInt failed;
    QList<QThread *> threads;
    for (int w = 0; w < kWriters; ++w) {
        threads << QThread::create([&, w] {
            for (int i = w; i < kEntries; i += kWriters) {
                if (!keepEntry(target, sample(i)).kept)
                    failed.ref();
            }
        });
        threads.last()->start();
    }
    for (QThread *thread : threads) {
        thread->wait();
        delete thread;
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    out << name << ": " << kEntries << " entries from " << kWriters << " writers in " << seconds << " s, "
        << int(kEntries / seconds) << " entries/s" << (failed.loadRelaxed() ? " (some failed!)" : "") << Qt::endl;
}

// One entry kept, alone: what a restore waits for after its read-back.
double keepMilliseconds(const RecordTarget &target)
{
    QList<double> times;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer clock;
        clock.start();
        keepEntry(target, sample(i));
        times << double(clock.nsecsElapsed()) / 1e6;
    }
    return median(times);
}

void history(const QString &name, const RecordTarget &target)
{
    constexpr int kEntries = 100000;
    RecordDatabase record(target);
    QString why;
    if (!record.open(&why)) {
        out << name << ": " << why << Qt::endl;
        return;
    }
    for (int start = 0; start < kEntries; start += 1000) {
        QList<RecordEntry> batch;
        for (int i = start; i < start + 1000; ++i)
            batch << sample(i);
        if (!record.append(batch, false, &why)) {
            out << name << ": " << why << Qt::endl;
            return;
        }
    }
    HistoryFilter filter;
    filter.model = QStringLiteral("DVT-14C11");
    filter.station = QStringLiteral("station-3");
    filter.since = QDateTime(QDate(2026, 2, 1), QTime(0, 0), Qt::UTC);
    filter.until = QDateTime(QDate(2026, 2, 15), QTime(0, 0), Qt::UTC);
    QList<double> times;
    qsizetype found = 0;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        found = record.history(filter, &why).value_or(QList<RecordEntry>{}).size();
        times << double(clock.nsecsElapsed()) / 1e6;
    }
    out << name << ": history over " << kEntries << " entries, model, station and two weeks: " << found
        << " entries in " << median(times) << " ms (median of 5)" << Qt::endl;
}

// A restore of one simulated sensor, recorded, end to end.
double restoreMilliseconds(const QString &cli, const QString &sim, const QString &record)
{
    QTemporaryDir ports;
    qputenv("VELTRA_PORTS_DIR", ports.path().toLocal8Bit());
    QProcess simulator;
    simulator.start(sim, {"--model", "21", "--port", "1"});
    if (!simulator.waitForReadyRead(5000))
        return 0;
    const QString file = ports.filePath(QStringLiteral("b.json"));
    const auto run = [&cli](const QStringList &arguments) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(cli, arguments);
        process.waitForFinished(60000);
    };
    run({"backup", "--port", "1", "-o", file});
    QList<double> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        run({"restore", "--port", "1", "--baud", "9600", file, "--record", record});
        times << double(clock.nsecsElapsed()) / 1e6;
    }
    simulator.kill();
    simulator.waitForFinished();
    return median(times);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"plant", "A PostgreSQL record to measure too.", "URL", qEnvironmentVariable("VELTRA_TEST_POSTGRES")});
    parser.addOption({"cli", "veltra-cli, for the restore's own time.", "PATH"});
    parser.addOption({"sim", "veltra-sim, for the restore's own time.", "PATH"});
    parser.process(app);

    QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.path().toLocal8Bit());
    QList<std::pair<QString, RecordTarget>> targets;
    QString why;
    targets.append({QStringLiteral("SQLite"), *RecordTarget::fromText(folder.filePath("bench.sqlite"), &why)});
    if (!parser.value("plant").isEmpty()) {
        if (const auto plant = RecordTarget::fromText(parser.value("plant"), &why))
            targets.append({QStringLiteral("PostgreSQL"), *plant});
    } else {
        out << "PostgreSQL: not measured (give --plant, or run under scripts/with-postgres)" << Qt::endl;
    }
    for (const auto &[name, target] : targets) {
        writers(name, target);
        const double keep = keepMilliseconds(target);
        out << name << ": one entry kept in " << keep << " ms (median of 20)";
        if (parser.isSet("cli") && parser.isSet("sim")) {
            const QString record = target.kind == RecordTarget::Kind::Plant ? target.url.toString() : target.path;
            const double restore = restoreMilliseconds(parser.value("cli"), parser.value("sim"), record);
            if (restore > keep)
                out << "; a restore takes " << restore << " ms, the entry " << 100.0 * keep / (restore - keep)
                    << " % of its own time";
        }
        out << Qt::endl;
    }
    for (const auto &[name, target] : targets) {
        // A fresh record of its own for the 100,000 entries.
        const RecordTarget fresh = target.kind == RecordTarget::Kind::Plant
                                       ? target
                                       : *RecordTarget::fromText(folder.filePath("history.sqlite"), &why);
        history(name, fresh);
    }
    return 0;
}
