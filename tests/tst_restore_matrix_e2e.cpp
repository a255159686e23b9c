// Backups of every family and unit, and hand-edited ones, restored onto
// every kind of sensor against veltra-sim: nothing is written in another
// unit than the file meant or for a setting the model lacks, exit 0 means
// the sensor then holds the file's value of every setting its model has,
// and compare agrees with restore.
#include "cliprocess.h"
#include "simprocess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The sensors, on ports 1 to 8 in this order, and the settings a restore
// may change on each (what its window lets an operator set, and the date).
struct Sensor {
    QStringList arguments;
    QStringList restorable;
};

const QStringList kCommon{"baud", "slave", "ogr", "month", "day", "year"};
const QStringList kLevel = kCommon + QStringList{"empty", "full", "omb"};
const QStringList kOutputs = kLevel + QStringList{"low-do", "hi-do"};

const std::vector<Sensor> kSensors{
    {{"--model", "20", "--set", "slave=11", "--set", "empty=290", "--set", "full=270", "--set", "lowdo=5", "--set",
      "hido=7"},
     kLevel},
    {{"--model", "23", "--set", "slave=12", "--set", "empty=280", "--set", "full=260", "--set", "lowdo=60", "--set",
      "hido=200", "--set", "ogr=2"},
     kOutputs},
    {{"--model", "24", "--set", "slave=13", "--set", "empty=2900", "--set", "full=2700", "--set", "lowdo=500", "--set",
      "hido=900"},
     kLevel},
    {{"--model", "80", "--set", "slave=14", "--set", "empty=250", "--set", "full=240", "--set", "omb=4"}, kLevel},
    {{"--model", "90", "--set", "slave=15", "--set", "lowdo=120", "--set", "ogr=2"}, kCommon + QStringList{"switch"}},
    {{"--model", "105", "--resolution", "10", "--set", "slave=16", "--set", "empty=270", "--set", "full=250", "--set",
      "lowdo=40", "--set", "hido=90"},
     kOutputs + QStringList{"resolution"}},
    {{"--model", "105", "--resolution", "1", "--set", "slave=17", "--set", "empty=2950", "--set", "full=2600", "--set",
      "lowdo=400", "--set", "hido=800"},
     kOutputs + QStringList{"resolution"}},
    // Values outside the tables, as a sensor whose date was never set holds.
    {{"--model", "21", "--set", "slave=18", "--set", "month=0", "--set", "ogr=3", "--set", "baud=45"}, kOutputs},
};

const QStringList kDistances{"empty", "full", "low-do", "hi-do", "switch"};

QJsonArray portsOf(const CliResult &result)
{
    return jsonOf(result).value("ports").toArray();
}

// Every port's settings as `read --json` gives them. A port whose read
// failed (a reply late on a loaded machine) is read again on its own.
QJsonArray readAllPorts(const QString &ports)
{
    QJsonArray read = portsOf(runCli({"read", "--port", ports, "--baud", "9600", "--json"}));
    for (qsizetype p = 0; p < read.size(); ++p) {
        for (int attempt = 0; attempt < 3 && read[p].toObject().value("exitCode").toInt() != 0; ++attempt) {
            const QString port = read[p].toObject().value("port").toString();
            const CliResult again = runCli({"read", "--port", port, "--baud", "9600", "--json"});
            read[p] = QJsonObject{{"port", port}, {"exitCode", again.exitCode}, {"result", jsonOf(again)}};
        }
    }
    return read;
}

} // namespace

class TestRestoreMatrix : public QObject
{
    Q_OBJECT
private slots:
    void restoreAndCompareAgree_data();
    void restoreAndCompareAgree();
};

// clang-format off
void TestRestoreMatrix::restoreAndCompareAgree_data()
{
    QTest::addColumn<int>("source");              // the port whose backup is restored
    QTest::addColumn<QList<QByteArray>>("edit");  // pairs: text in the file, and what it becomes
    QTest::addColumn<bool>("convert");            // --convert-units
    QTest::addColumn<QList<int>>("exits");        // restore's exit code on ports 1 to 8

    const QList<QByteArray> none;
    //                                      20 23 24 80 90 105cm 105mm 21odd
    QTest::newRow("DVT-14C00, cm") << 1 << none << false << QList<int>{0, 0, 4, 0, 2, 0, 0, 0};
    QTest::newRow("DVT-14C11, cm") << 2 << none << false << QList<int>{0, 0, 4, 0, 2, 0, 0, 0};
    QTest::newRow("DVT-14M00, mm") << 3 << none << false << QList<int>{4, 4, 0, 4, 2, 0, 0, 4};
    QTest::newRow("DVK-14, cm") << 4 << none << false << QList<int>{0, 0, 4, 0, 2, 0, 0, 0};
    QTest::newRow("DVZ-900") << 5 << none << false << QList<int>{2, 2, 2, 2, 0, 2, 2, 2};
    QTest::newRow("DVT-14, cm") << 6 << none << false << QList<int>{0, 0, 4, 0, 2, 0, 0, 0};
    QTest::newRow("DVT-14, mm") << 7 << none << false << QList<int>{4, 4, 0, 4, 2, 0, 0, 4};
    // Month 0 is kept where it is held, refused where it would be new.
    QTest::newRow("odd values") << 8 << none << false << QList<int>{4, 4, 4, 4, 2, 4, 4, 0};
    QTest::newRow("DVT-14C00, converted") << 1 << none << true << QList<int>{0, 0, 0, 0, 2, 0, 0, 0};
    QTest::newRow("DVT-14M00, converted") << 3 << none << true << QList<int>{0, 0, 0, 0, 2, 0, 0, 0};
    // A resolution a DVT-14C11 cannot take: its values stay centimetres.
    QTest::newRow("resolution edited to mm")
        << 2 << QList<QByteArray>{"\"resolution\": \"Cm\"", "\"resolution\": \"mm\"", "\"resolution\": 10", "\"resolution\": 1"}
        << false << QList<int>{0, 0, 4, 0, 2, 4, 4, 0};
    // Thresholds in the wrong order: fine where the model has none.
    QTest::newRow("thresholds edited")
        << 1 << QList<QByteArray>{"\"low-do\": 5,", "\"low-do\": 500,", "\"low-do\": 5,", "\"low-do\": 500,"}
        << false << QList<int>{0, 4, 4, 0, 2, 4, 4, 4};
}
// clang-format on

void TestRestoreMatrix::restoreAndCompareAgree()
{
    QFETCH(int, source);
    QFETCH(QList<QByteArray>, edit);
    QFETCH(bool, convert);
    QFETCH(QList<int>, exits);

    QTemporaryDir ports;
    QTemporaryDir files;
    std::vector<std::unique_ptr<Sim>> sims;
    for (std::size_t i = 0; i < kSensors.size(); ++i) {
        sims.push_back(std::make_unique<Sim>(ports));
        QVERIFY(!sims.back()->start(kSensors[i].arguments + QStringList{"--port", QString::number(i + 1)}).isEmpty());
    }
    const QString all = QStringLiteral("1-%1").arg(kSensors.size());

    // The file: the source's backup, edited by hand where the row says.
    const QString path = files.filePath("backup.json");
    QVERIFY_EXIT(runCli({"backup", "--port", QString::number(source), "--baud", "9600", "-o", path}), 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray text = file.readAll();
    for (qsizetype i = 0; i + 1 < edit.size(); i += 2) {
        const qsizetype at = i < 2 ? text.indexOf(edit[i]) : text.lastIndexOf(edit[i]); // "settings", then "codes"
        QVERIFY2(at >= 0, edit[i].constData());
        text.replace(at, edit[i].size(), edit[i + 1]);
    }
    file.resize(0);
    file.write(text);
    file.close();
    const QJsonObject saved = QJsonDocument::fromJson(text).object();
    const QJsonObject fileCodes = saved.value("codes").toObject();
    const QString fileUnit = saved.value("unit").toString();

    const QJsonArray before = readAllPorts(all);
    QStringList arguments{"--port", all, "--baud", "9600", "--json", path};
    if (convert)
        arguments.prepend("--convert-units");
    const QJsonArray restored = portsOf(runCli(QStringList{"restore"} + arguments));
    const QJsonArray compared = portsOf(runCli(QStringList{"compare"} + arguments));
    const QJsonArray after = readAllPorts(all);
    QCOMPARE(restored.size(), qsizetype(kSensors.size()));
    QCOMPARE(compared.size(), restored.size());
    QCOMPARE(after.size(), restored.size());

    for (qsizetype p = 0; p < restored.size(); ++p) {
        const QString where = QStringLiteral("port %1").arg(p + 1);
        const QJsonObject run = restored[p].toObject();
        const int exit = run.value("exitCode").toInt();
        QVERIFY2(exit == exits[p], qPrintable(QStringLiteral("%1: exit %2, %3")
                                                  .arg(where)
                                                  .arg(exit)
                                                  .arg(QJsonDocument(run.value("messages").toArray()).toJson())));
        const QJsonObject held = before[p].toObject().value("result").toObject().value("block").toObject();
        const QJsonObject now = after[p].toObject().value("result").toObject().value("block").toObject();
        // Compare says the sensor holds the file exactly when restore succeeded.
        const int compareExit = compared[p].toObject().value("exitCode").toInt();
        QVERIFY2((compareExit == 0) == (exit == 0), qPrintable(where));
        if (exit != 0) {
            QVERIFY2(now == held, qPrintable(where + QStringLiteral(": a refused restore changed the sensor")));
            continue;
        }
        const QString unitNow = after[p].toObject().value("result").toObject().value("unit").toString();
        // Distances keep their meaning: the same unit, or converted when asked.
        const bool same = fileUnit == unitNow;
        QVERIFY2(same || convert, qPrintable(where + QStringLiteral(": written in another unit")));
        const auto inUnitNow = [&](int value) { return same ? value : fileUnit == u"cm" ? value * 10 : value / 10; };
        for (auto it = now.begin(); it != now.end(); ++it) {
            const bool restorable = kSensors[p].restorable.contains(it.key());
            int wanted = restorable ? fileCodes.value(it.key()).toInt() : held.value(it.key()).toInt();
            if (restorable && kDistances.contains(it.key()))
                wanted = inUnitNow(wanted);
            QVERIFY2(
                it.value().toInt() == wanted,
                qPrintable(
                    QStringLiteral("%1: %2 is %3, not %4").arg(where, it.key()).arg(it.value().toInt()).arg(wanted)));
        }
    }
}

QTEST_GUILESS_MAIN(TestRestoreMatrix)
#include "tst_restore_matrix_e2e.moc"
