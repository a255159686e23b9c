// The History window over a record of a few entries: what each filter
// shows, the selected entry's settings side by side, the CSV of the shown
// rows, and a record out of reach.
#include "historywindow.h"
#include "record/commissioningrecord.h"
#include "shots.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace veltra;

namespace {

RecordEntry entry(SensorFamily family, int model, const QString &time, const QString &station, const QString &port,
                  const QString &verdict, int sentEmpty, std::optional<int> heldEmpty)
{
    SensorSettings before(family);
    before.setValue(Setting::Model, model);
    before.setValue(Setting::Slave, 1);
    before.setValue(Setting::Empty, 300);
    RecordEntry e = RecordEntry::forSensor(before, QStringLiteral("veltra-cli write"), QStringLiteral("7.0.0"));
    e.time = QDateTime::fromString(time, Qt::ISODate);
    e.station = station;
    e.port = port;
    e.verdict = verdict;
    if (verdict != u"refused") {
        e.sent = before;
        e.sent->setValue(Setting::Empty, sentEmpty);
    }
    if (heldEmpty) {
        e.readBack = e.sent;
        e.readBack->setValue(Setting::Empty, *heldEmpty);
    }
    if (verdict == u"differs")
        e.message = QStringLiteral("empty: sent 290 cm, the sensor holds 280 cm");
    return e;
}

} // namespace

class TestHistoryWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void filters_data();
    void filters();
    void detailAndExport();
    void recordOutOfReach();

private:
    QTemporaryDir m_dir;
    QList<RecordEntry> m_kept; // oldest first, as the window lists them
};

void TestHistoryWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("VELTRA_RECORD", QFile::encodeName(m_dir.filePath(QStringLiteral("record.sqlite"))));
    QString why;
    RecordDatabase record(*RecordTarget::configured(QString(), &why));
    QVERIFY2(record.open(&why), qPrintable(why));
    m_kept = {
        entry(SensorFamily::Level, 21, "2026-01-10T08:00:00Z", "bench-1", "1", "verified", 290, 290),
        entry(SensorFamily::Level, 21, "2026-01-11T23:59:00Z", "bench-2", "/dev/ttyUSB0", "differs", 290, 280),
        entry(SensorFamily::Distance, 90, "2026-01-12T10:00:00Z", "BENCH-1", "1", "refused", 0, std::nullopt),
    };
    // Added out of order: the window lists them by time.
    for (int i : {2, 0, 1})
        QVERIFY2(record.append(m_kept.at(i), false, &why), qPrintable(why));
}

void TestHistoryWindow::filters_data()
{
    QTest::addColumn<QString>("since");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("station");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QList<int>>("shown");

    // clang-format off
    QTest::newRow("all") << "" << "" << "" << "" << "" << "any" << QList<int>{0, 1, 2};
    QTest::newRow("since a day") << "2026-01-11" << "" << "" << "" << "" << "any" << QList<int>{1, 2};
    // Until a day takes in that day's last minute.
    QTest::newRow("until a day") << "" << "2026-01-11" << "" << "" << "" << "any" << QList<int>{0, 1};
    QTest::newRow("one day") << "2026-01-11" << "2026-01-11" << "" << "" << "" << "any" << QList<int>{1};
    QTest::newRow("model code") << "" << "" << "90" << "" << "" << "any" << QList<int>{2};
    QTest::newRow("port") << "" << "" << "" << "1" << "" << "any" << QList<int>{0, 2};
    QTest::newRow("station, any case") << "" << "" << "" << "" << "bench-1" << "any" << QList<int>{0, 2};
    QTest::newRow("verdict") << "" << "" << "" << "" << "" << "differs" << QList<int>{1};
    QTest::newRow("none match") << "" << "" << "" << "" << "bench-2" << "verified" << QList<int>{};
    // clang-format on
}

void TestHistoryWindow::filters()
{
    QFETCH(QString, since);
    QFETCH(QString, until);
    QFETCH(QString, model);
    QFETCH(QString, port);
    QFETCH(QString, station);
    QFETCH(QString, verdict);
    QFETCH(QList<int>, shown);

    ui::HistoryWindow window;
    const auto dateFilter = [&window](const QString &name, const QString &date) {
        window.findChild<QCheckBox *>(name + QStringLiteral("On"))->setChecked(!date.isEmpty());
        if (!date.isEmpty())
            window.findChild<QDateEdit *>(name)->setDate(QDate::fromString(date, Qt::ISODate));
    };
    dateFilter(QStringLiteral("Since"), since);
    dateFilter(QStringLiteral("Until"), until);
    window.findChild<QLineEdit *>(QStringLiteral("ModelFilter"))->setText(model);
    window.findChild<QLineEdit *>(QStringLiteral("PortFilter"))->setText(port);
    window.findChild<QLineEdit *>(QStringLiteral("StationFilter"))->setText(station);
    window.findChild<QComboBox *>(QStringLiteral("VerdictFilter"))->setCurrentText(verdict);
    window.refresh();

    QStringList expected;
    for (int i : shown)
        expected << m_kept.at(i).id;
    QStringList ids;
    for (const RecordEntry &e : window.entries())
        ids << e.id;
    QCOMPARE(ids, expected);
    QCOMPARE(window.table()->model()->rowCount(), int(shown.size()));
}

void TestHistoryWindow::detailAndExport()
{
    ui::HistoryWindow window;
    window.refresh();
    QVERIFY2(window.statusText().startsWith(QStringLiteral("3 entries in ")), qPrintable(window.statusText()));
    // The table: time in UTC, the short id; the newest entry selected.
    const QAbstractItemModel *rows = window.table()->model();
    QCOMPARE(rows->index(1, 0).data().toString(), QStringLiteral("2026-01-11 23:59:00"));
    QCOMPARE(rows->index(1, 7).data().toString(), m_kept.at(1).shortId());
    QCOMPARE(window.selectedEntry()->id, m_kept.at(2).id);

    // The entry that differs: its Empty row marked, before, sent and read back
    // side by side with the unit; no other row marked.
    window.table()->selectRow(1);
    const QTableWidget *detail = window.detail();
    QStringList marked;
    for (int r = 0; r < detail->rowCount(); ++r) {
        if (detail->item(r, 0)->background().style() != Qt::NoBrush) {
            marked << QStringList{detail->item(r, 0)->text(), detail->item(r, 1)->text(), detail->item(r, 2)->text(),
                                  detail->item(r, 3)->text()}
                          .join(u'|');
        }
    }
    QCOMPARE(marked, QStringList{QStringLiteral("Empty|300 cm|290 cm|280 cm")});
    saveShot(&window, QStringLiteral("history"));

    // The refused entry sent nothing and read nothing back.
    window.table()->selectRow(2);
    QCOMPARE(detail->item(0, 2)->text(), QStringLiteral("—"));
    QCOMPARE(detail->item(0, 3)->text(), QStringLiteral("—"));

    // CSV of the shown rows: a header and one line each, fields with commas quoted.
    window.findChild<QComboBox *>(QStringLiteral("VerdictFilter"))->setCurrentText(QStringLiteral("differs"));
    const QString path = m_dir.filePath(QStringLiteral("history.csv"));
    QVERIFY(window.exportCsv(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith(QStringLiteral("Time (UTC),Station,Operator,Port,Model,Verdict,Message,Id,")));
    QVERIFY2(lines.at(1).startsWith(QStringLiteral("2026-01-11 23:59:00,bench-2,%1,/dev/ttyUSB0,%2,differs,"
                                                   "\"empty: sent 290 cm, the sensor holds 280 cm\",%3,")
                                        .arg(m_kept.at(1).operatorName, m_kept.at(1).modelName, m_kept.at(1).id)),
             qPrintable(lines.at(1)));
    QVERIFY2(lines.at(1).endsWith(QStringLiteral(",empty 300 cm -> 290 cm")), qPrintable(lines.at(1)));
}

void TestHistoryWindow::recordOutOfReach()
{
    const QByteArray kept = qgetenv("VELTRA_RECORD");
    ui::HistoryWindow window;
    for (const char *record : {"ftp://example/record", "/proc/no-such-folder/record.sqlite"}) {
        qputenv("VELTRA_RECORD", record);
        window.refresh();
        QVERIFY(window.entries().isEmpty());
        QVERIFY2(window.statusText().startsWith(QStringLiteral("The record ")), qPrintable(window.statusText()));
        QVERIFY(!window.selectedEntry());
    }
    qputenv("VELTRA_RECORD", kept);
}

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
