// The commissioning record: keeping, filtering and finding entries in SQLite
// and PostgreSQL alike, writers at once, the schema's version, and entries
// held for an unreachable plant sent exactly once.
#include "plantdatabase.h"
#include "record/commissioningrecord.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <functional>

using namespace veltra;

namespace {

SensorSettings level(int model, int empty)
{
    SensorSettings settings(SensorFamily::Level);
    settings.setValue(Setting::Baud, 30);
    settings.setValue(Setting::Slave, 1);
    settings.setValue(Setting::Month, 3);
    settings.setValue(Setting::Day, 4);
    settings.setValue(Setting::Year, 25);
    settings.setValue(Setting::Model, model);
    settings.setValue(Setting::Empty, empty);
    settings.setValue(Setting::Omb, 8);
    settings.setValue(Setting::Resolution, 10);
    return settings;
}

RecordEntry entry(const QString &station, const QString &port, int model, const QString &verdict, int day)
{
    RecordEntry e = RecordEntry::forSensor(level(model, 300), QStringLiteral("veltra-cli write"), QStringLiteral("7"));
    e.time = QDateTime(QDate(2026, 12, day), QTime(10, 0), Qt::UTC);
    e.station = station;
    e.port = port;
    e.verdict = verdict;
    e.sent = level(model, 290);
    if (verdict == u"verified")
        e.readBack = e.sent;
    return e;
}

HistoryFilter stationFilter(const QString &station)
{
    HistoryFilter filter;
    filter.station = station;
    return filter;
}

} // namespace

class TestRecord : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_data;
    PlantDatabase m_plant;

    std::optional<RecordTarget> target(const QString &backend)
    {
        if (backend == u"local")
            return RecordTarget::fromText(m_data.filePath(QStringLiteral("r-%1.sqlite").arg(QUuid::createUuid().toString(QUuid::Id128))), nullptr);
        if (m_plant.url().isEmpty())
            return std::nullopt;
        QString why;
        return RecordTarget::fromText(m_plant.url(), &why);
    }

    void backends()
    {
        QTest::addColumn<QString>("backend");
        QTest::newRow("SQLite") << QStringLiteral("local");
        QTest::newRow("PostgreSQL") << QStringLiteral("plant");
    }

private slots:
    void initTestCase()
    {
        // The local record of this test, never the user's.
        qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
    }

    void keepsFiltersAndFinds_data() { backends(); }
    void keepsFiltersAndFinds()
    {
        QFETCH(QString, backend);
        const auto where = target(backend);
        if (!where)
            NEED_PLANT(m_plant);
        // A plant database is shared between the rows of other tests: clear out
        // by filtering on this test's own station names.
        const QString tag = QUuid::createUuid().toString(QUuid::Id128).left(6);
        const QList<RecordEntry> entries{
            entry("bench-" + tag, "1", 21, "verified", 1),      entry("bench-" + tag, "2", 23, "differs", 2),
            entry("line-" + tag, "1", 21, "refused", 3),        entry("line-" + tag, "/dev/ttyUSB0", 21, "verified", 9),
            entry("line-" + tag, "3", 90, "not verified", 10),
        };
        for (const RecordEntry &e : entries)
            QVERIFY(keepEntry(*where, e).kept);
        QVERIFY(keepEntry(*where, entries.at(0)).kept); // the same entry again is kept once

        RecordDatabase record(*where);
        QString why;
        QVERIFY2(record.open(&why), qPrintable(why));
        const auto ids = [&](HistoryFilter filter, const QString &station) {
            filter.station = station;
            QStringList found;
            const auto entries = record.history(filter, &why);
            for (const RecordEntry &e : entries.value())
                found << e.port;
            return found;
        };
        const QDateTime third(QDate(2026, 12, 3), QTime(0, 0), Qt::UTC);
        struct Case {
            const char *name;
            std::function<void(HistoryFilter &)> set;
            QString station;
            QStringList ports; // oldest first
        };
        const Case cases[] = {
            {"a station", [](HistoryFilter &) {}, "bench-" + tag, {"1", "2"}},
            {"station in any case", [](HistoryFilter &) {}, "LINE-" + tag.toUpper(), {"1", "/dev/ttyUSB0", "3"}},
            {"since a day", [&](HistoryFilter &f) { f.since = third; }, "line-" + tag, {"1", "/dev/ttyUSB0", "3"}},
            {"until a day", [&](HistoryFilter &f) { f.until = third; }, "bench-" + tag, {"1", "2"}},
            {"model by name", [](HistoryFilter &f) { f.model = "dvt-14c01"; }, "line-" + tag, {"1", "/dev/ttyUSB0"}},
            {"model by code", [](HistoryFilter &f) { f.model = "90"; }, "line-" + tag, {"3"}},
            {"port", [](HistoryFilter &f) { f.port = "/dev/ttyUSB0"; }, "line-" + tag, {"/dev/ttyUSB0"}},
            {"verdict", [](HistoryFilter &f) { f.verdict = "verified"; }, "line-" + tag, {"/dev/ttyUSB0"}},
            {"nothing matches", [](HistoryFilter &f) { f.verdict = "failed"; }, "bench-" + tag, {}},
        };
        for (const Case &c : cases) {
            HistoryFilter filter;
            c.set(filter);
            QVERIFY2(ids(filter, c.station) == c.ports, qPrintable(QStringLiteral("%1: %2 %3").arg(c.name, ids(filter, c.station).join(u' '), why)));
        }

        // An entry comes back whole, found by its id or a unique start of it.
        const auto found = record.find(entries.at(3).id.left(8), &why);
        QVERIFY2(found, qPrintable(why));
        QCOMPARE(found->toJson(), entries.at(3).toJson());
        QVERIFY(!record.find(QStringLiteral("zz'; DROP TABLE commissioning; --"), &why));
        QVERIFY(!record.find(QStringLiteral("0000"), &why) || entries.at(0).id.startsWith(QStringLiteral("0000")));
    }

    void writersAtOnce_data() { backends(); }
    void writersAtOnce()
    {
        QFETCH(QString, backend);
        const auto where = target(backend);
        if (!where)
            NEED_PLANT(m_plant);
        const QString station = QUuid::createUuid().toString(QUuid::Id128);
        constexpr int kThreads = 4;
        constexpr int kEach = 25;
        QList<QThread *> threads;
        QAtomicInt failures;
        for (int t = 0; t < kThreads; ++t) {
            threads << QThread::create([&, t] {
                for (int i = 0; i < kEach; ++i) {
                    if (!keepEntry(*where, entry(station, QString::number(t), 21, "verified", 1 + i % 28)).kept)
                        failures.ref();
                }
            });
            threads.last()->start();
        }
        for (QThread *thread : threads) {
            thread->wait();
            delete thread;
        }
        QCOMPARE(failures.loadRelaxed(), 0);
        RecordDatabase record(*where);
        QString why;
        QVERIFY(record.open(&why));
        QCOMPARE(record.history(stationFilter(station), &why)->size(), kThreads * kEach);
    }

    void schemaVersion()
    {
        const RecordTarget where = *target(QStringLiteral("local"));
        QString why;
        {
            RecordDatabase record(where);
            QVERIFY2(record.open(&why), qPrintable(why));
        }
        {
            // Opened again, nothing is made twice; the log is written ahead.
            RecordDatabase record(where);
            QVERIFY2(record.open(&why), qPrintable(why));
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("look"));
        db.setDatabaseName(where.path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("SELECT count(*), max(version) FROM schema_version")) && query.next());
        QCOMPARE(query.value(0).toInt(), 1);
        QCOMPARE(query.value(1).toInt(), RecordDatabase::kSchemaVersion);
        QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("wal"));
        // A record a newer program made is refused, not written into.
        QVERIFY(query.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (99)")));
        query.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("look"));
        const RecordOutcome outcome = keepEntry(where, entry("s", "1", 21, "verified", 1));
        QVERIFY(!outcome.kept);
        QVERIFY2(outcome.error.contains(QStringLiteral("schema version 99")), qPrintable(outcome.error));
    }

    void unsentEntriesReachThePlantOnce()
    {
        NEED_PLANT(m_plant);
        QString why;
        const RecordTarget plant = *RecordTarget::fromText(m_plant.url(), &why);
        // The same server at a port nothing listens on, with a password that
        // must never be shown.
        QUrl away(m_plant.url());
        away.setPort(1);
        away.setPassword(QStringLiteral("s3cret"));
        const RecordTarget unreachable = *RecordTarget::fromText(away.toString(), &why);

        const QString station = QUuid::createUuid().toString(QUuid::Id128);
        QList<RecordEntry> held;
        for (int i = 0; i < 3; ++i) {
            held << entry(station, QString::number(i), 21, "verified", 5 + i);
            const RecordOutcome outcome = keepEntry(unreachable, held.last());
            QVERIFY(outcome.kept && outcome.unsent);
            QVERIFY(!outcome.notice.contains(QStringLiteral("s3cret")));
            QVERIFY(outcome.notice.contains(QStringLiteral("record sync")));
        }
        // One was already delivered once, as by a sync cut short before its
        // mark came off.
        {
            RecordDatabase record(plant);
            QVERIFY(record.open(&why) && record.append(held.at(0), false, &why));
        }

        const SyncOutcome first = sendUnsent(plant);
        QVERIFY2(first.error.isEmpty(), qPrintable(first.error));
        QCOMPARE(first.sent, 3);
        QCOMPARE(sendUnsent(plant).sent, 0);

        // Held while away, sent with the next entry that reaches the plant.
        held << entry(station, "3", 21, "verified", 8);
        QVERIFY(keepEntry(unreachable, held.last()).unsent);
        held << entry(station, "4", 21, "verified", 9);
        QCOMPARE(keepEntry(plant, held.last()).synced, 1);

        RecordDatabase record(plant);
        QVERIFY(record.open(&why));
        QStringList ids;
        const auto entries = record.history(stationFilter(station), &why);
        for (const RecordEntry &e : entries.value())
            ids << e.id;
        QStringList expected;
        for (const RecordEntry &e : held)
            expected << e.id;
        QCOMPARE(ids, expected);
    }
};

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
