// The commissioning record end to end: veltra-cli against four simulated
// sensors writing into SQLite and PostgreSQL, two stations at once, one
// killed part-way, a plant out of reach and synced later, certificates.
#include "cliprocess.h"
#include "plantdatabase.h"

#include <QDir>
#include <QJsonArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <csignal>

namespace {

// Every entry of a record, as history --json prints them.
QJsonArray entriesOf(const QString &record)
{
    const CliResult history = runCli({"history", "--json", "--record", record});
    if (history.exitCode != 0)
        qWarning("history failed: %s", qPrintable(history.err));
    return QJsonDocument::fromJson(history.out.toUtf8()).array();
}

QStringList idsOf(const QJsonArray &entries)
{
    QStringList ids;
    for (const QJsonValue &entry : entries)
        ids << entry.toObject().value("id").toString();
    return ids;
}

// The record entries a port list's --json names, port by port.
QStringList reportedEntries(const QByteArray &json)
{
    QStringList ids;
    for (const QJsonValue &port : QJsonDocument::fromJson(json).object().value("ports").toArray()) {
        const QString id = port.toObject().value("result").toObject().value("recordEntry").toString();
        if (!id.isEmpty())
            ids << id;
    }
    return ids;
}

} // namespace

class TestCliRecordE2e : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_ports;
    QTemporaryDir m_files;
    std::array<std::unique_ptr<Sim>, 4> m_sims;
    PlantDatabase m_plant;
    QString m_backup;

    void backends()
    {
        QTest::addColumn<QString>("record");
        QTest::newRow("SQLite") << m_files.filePath(QStringLiteral("station.sqlite"));
        QTest::newRow("PostgreSQL") << m_plant.url();
    }

private slots:
    void initTestCase()
    {
        for (int i = 0; i < 4; ++i) {
            m_sims[i] = std::make_unique<Sim>(m_ports);
            QVERIFY(!m_sims[i]->start({"--model", "21", "--port", QString::number(i + 1)}).isEmpty());
        }
        m_backup = m_files.filePath(QStringLiteral("wanted.json"));
        QVERIFY_EXIT(runCli({"backup", "--port", "1", "-o", m_backup}), 0);
        QFile file(m_backup);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray text = file.readAll().replace("\"empty\": 300", "\"empty\": 280");
        QVERIFY(file.resize(0) && file.write(text) == text.size());
    }

    void twoStationsAtOnceRecordEachWriteOnce_data() { backends(); }
    void twoStationsAtOnceRecordEachWriteOnce()
    {
        QFETCH(QString, record);
        if (record.isEmpty())
            NEED_PLANT(m_plant);
        QProcess stations[2];
        for (int s = 0; s < 2; ++s) {
            stations[s].start(cliProgram(), {"restore", "--port", "all", m_backup, "--json", "--record", record,
                                             "--operator", QStringLiteral("station-%1").arg(s)});
        }
        QStringList reported;
        for (QProcess &station : stations) {
            QVERIFY(station.waitForFinished(60000));
            reported << reportedEntries(station.readAllStandardOutput());
        }
        // Every port was restored by one station or the other (a port the
        // other held is busy), and every restore is in the record once.
        QVERIFY2(reported.size() >= 4, qPrintable(reported.join(u' ')));
        const QJsonArray entries = entriesOf(record);
        QStringList ids = idsOf(entries);
        QCOMPARE(ids.size(), reported.size());
        ids.sort();
        reported.sort();
        QCOMPARE(ids, reported);
        QSet<QString> ports;
        for (const QJsonValue &value : entries) {
            const QJsonObject entry = value.toObject();
            QCOMPARE(entry.value("verdict").toString(), QStringLiteral("verified"));
            QVERIFY(entry.value("operator").toString().startsWith(QStringLiteral("station-")));
            QCOMPARE(entry.value("readBack").toObject().value("codes").toObject().value("empty").toInt(), 280);
            ports << entry.value("port").toString();
        }
        QCOMPARE(ports.size(), 4);
    }

    void killedPartWayLeavesTheRecordWhole_data() { backends(); }
    void killedPartWayLeavesTheRecordWhole()
    {
        QFETCH(QString, record);
        if (record.isEmpty())
            NEED_PLANT(m_plant);
        const int before = int(entriesOf(record).size());
        QProcess station;
        station.start(cliProgram(), {"restore", "--port", "1-4", m_backup, "--record", record});
        QVERIFY(station.waitForStarted());
        // Killed while the writes and their entries are under way.
        QTest::qWait(1500);
        ::kill(pid_t(station.processId()), SIGKILL);
        station.waitForFinished();
        const QJsonArray after = entriesOf(record);
        QVERIFY(after.size() - before <= 4);
        const QStringList ids = idsOf(after);
        QCOMPARE(QSet<QString>(ids.cbegin(), ids.cend()).size(), ids.size());
        if (!record.startsWith(QStringLiteral("postgresql"))) {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
            db.setDatabaseName(record);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("PRAGMA integrity_check") && query.next());
            QCOMPARE(query.value(0).toString(), QStringLiteral("ok"));
        }
        QSqlDatabase::removeDatabase("check");
        // And the record takes the next write as ever.
        QVERIFY_EXIT(runCli({"restore", "--port", "1", m_backup, "--record", record}), 0);
        QCOMPARE(entriesOf(record).size(), after.size() + 1);
    }

    void entriesWaitForAnUnreachablePlant()
    {
        NEED_PLANT(m_plant);
        QUrl away(m_plant.url());
        away.setPort(1);
        away.setPassword("s3cret");
        const CliResult held = runCli({"restore", "--port", "1,2", m_backup, "--record", away.toString()});
        QVERIFY_EXIT(held, 0);
        // Said once for the run, without the password.
        QCOMPARE(held.err.count(QStringLiteral("cannot be reached")), 1);
        QVERIFY(!held.err.contains(QStringLiteral("s3cret")));
        const int inPlant = int(entriesOf(m_plant.url()).size());

        const CliResult sync = runCli({"record", "sync", "--record", m_plant.url()});
        QVERIFY_EXIT(sync, 0);
        QVERIFY2(sync.out.contains(QStringLiteral("Sent 2 entries")), qPrintable(sync.out));
        const CliResult again = runCli({"record", "sync", "--record", m_plant.url()});
        QVERIFY2(again.out.contains(QStringLiteral("Sent 0 entries")), qPrintable(again.out));
        QCOMPARE(entriesOf(m_plant.url()).size(), inPlant + 2);
    }

    void certificatesAndHistory()
    {
        const QString record = m_files.filePath(QStringLiteral("certificates.sqlite"));
        const QString folder = m_files.filePath(QStringLiteral("certificates/"));
        const CliResult restore
            = runCli({"restore", "--port", "2", m_backup, "--record", record, "--certificate", folder});
        QVERIFY_EXIT(restore, 0);
        const QStringList pdfs = QDir(folder).entryList({"*.pdf"});
        QCOMPARE(pdfs.size(), 1);
        QVERIFY(pdfs.constFirst().startsWith(QStringLiteral("DVT-14C01_")));
        // A refused write is recorded with the reason the operator was given.
        QVERIFY_EXIT(runCli({"write", "--port", "2", "--set", "slave=999", "--record", record}), 4);
        const CliResult refused = runCli({"history", "--verdict", "refused", "--csv", "--record", record});
        QVERIFY_EXIT(refused, 0);
        const QStringList rows = refused.out.trimmed().split(u'\n');
        QCOMPARE(rows.size(), 2);
        QVERIFY2(rows.at(1).contains(QStringLiteral("slave must be 1 to 247")), qPrintable(rows.at(1)));

        // The certificate of an entry by its id: every setting with its unit.
        const QString id = idsOf(entriesOf(record)).constFirst();
        const QString pdf = m_files.filePath(QStringLiteral("one.pdf"));
        QVERIFY_EXIT(runCli({"certificate", id.left(8), "-o", pdf, "--record", record}), 0);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
        if (!text.waitForFinished() || text.exitCode() != 0)
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        for (const char *wanted : {"Commissioning certificate", "DVT-14C01", "Baud code", "Slave address", "OGR code",
                                   "Empty", "280 cm", "Full", "Low DO", "Hi DO", "OMB code", "Resolution code",
                                   "verified", "Signature"})
            QVERIFY2(page.contains(QLatin1String(wanted)), wanted);
    }
};

QTEST_GUILESS_MAIN(TestCliRecordE2e)
#include "tst_cli_record_e2e.moc"
