// veltra-cli end to end: the built program against veltra-sim on a
// pseudo-terminal, for a level model, a run-control model and the distance
// model.
#include "cliprocess.h"
#include "qserialportlink.h"
#include "simprocess.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace veltra;

class TestCliEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void levelSensor();
    void writeRejectedSendsNothing_data();
    void writeRejectedSendsNothing();
    void runControlSensor();
    void distanceSensor();
    void backupThenRestore();
    void failures();
};

void TestCliEndToEnd::levelSensor()
{
    QTemporaryDir ports;
    Sim sim(ports);
    QVERIFY(!sim.start({"--model", "23", "--baud", "38400"}).isEmpty());

    const CliResult detect = runCli({"detect", "--port", "1", "--json"});
    QVERIFY_EXIT(detect, 0);
    QCOMPARE(jsonOf(detect).value("baud").toInt(), 38400);
    QCOMPARE(jsonOf(detect).value("model").toObject().value("code").toInt(), 23);
    QCOMPARE(jsonOf(detect).value("model").toObject().value("name").toString(), QStringLiteral("DVT-14C11"));

    const CliResult read = runCli({"read", "--port", "1"});
    QVERIFY_EXIT(read, 0);
    QVERIFY2(read.out.contains(QRegularExpression(R"(\nempty +300 cm +Empty \(<300 cm\)\n)")), qPrintable(read.out));
    QVERIFY(read.out.contains(QRegularExpression(R"(\nbaud +38400 )")));

    const CliResult write = runCli({"write", "--port", "1", "--baud", "38400", "--set", "empty=290", "--set",
                                    "low-do=40", "--set", "hi-do=180", "--set", "ogr=Medium"});
    QVERIFY_EXIT(write, 0);
    QVERIFY(settledLog(sim).contains(QStringLiteral("<- write settings (16 bytes)")));
    QJsonObject block = readSettings("1", "38400");
    QCOMPARE(block.value("empty").toInt(), 290);
    QCOMPARE(block.value("low-do").toInt(), 40);
    QCOMPARE(block.value("hi-do").toInt(), 180);
    QCOMPARE(block.value("ogr").toInt(), 1);

    const CliResult newRate = runCli({"write", "--port", "1", "--set", "baud=115200", "--set", "slave=12"});
    QVERIFY_EXIT(newRate, 0);
    QVERIFY(newRate.out.contains(QStringLiteral("now talks at 115200")));
    QVERIFY(settledLog(sim).contains(QStringLiteral("now at 115200 baud")));
    block = readSettings("1", "115200");
    QCOMPARE(block.value("baud").toInt(), 70);
    QCOMPARE(block.value("slave").toInt(), 12);
    QCOMPARE(block.value("empty").toInt(), 290);

    // Distance 100: level 190 of Full 280.
    const CliResult measure = runCli({"measure", "--port", "1", "--baud", "115200", "--count", "3", "--interval", "0"});
    QVERIFY_EXIT(measure, 0);
    const QStringList lines = measure.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.first(), QStringLiteral("time,distance,temperature,level,current"));
    for (const QString &line : lines.mid(1))
        QVERIFY2(line.contains(QRegularExpression(R"(^\d{4}-\d\d-\d\dT[\d:.]+Z,100,25,190,14\.86$)")),
                 qPrintable(line));
}

// clang-format off
void TestCliEndToEnd::writeRejectedSendsNothing_data()
{
    QTest::addColumn<QStringList>("sim");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("message");

    const QStringList level{"--model", "21"};
    QTest::newRow("baud") << level << "baud=4800"
                          << "baud must be one of 9600, 19200, 38400, 57600, 115200, not \"4800\". Nothing was sent.";
    QTest::newRow("slave") << level << "slave=248" << "slave must be 1 to 247 once rounded, not \"248\". Nothing was sent.";
    QTest::newRow("empty") << level << "empty=10001"
                           << "empty must be 1 to 10000 once rounded, not \"10001\". Nothing was sent.";
    QTest::newRow("empty sent as 0") << level << "empty=0.4"
                                     << "empty must be 1 to 10000 once rounded, not \"0.4\". Nothing was sent.";
    QTest::newRow("full") << level << "full=0" << "full must be 1 to 9500 once rounded, not \"0\". Nothing was sent.";
    QTest::newRow("thresholds equal once sent") << level << "hi-do=50.5"
        << "low-do and hi-do must be 1 to 32767 with hi-do greater than low-do once rounded, not low-do \"50\" and "
           "hi-do \"50.5\". Nothing was sent.";
    QTest::newRow("switch") << QStringList{"--model", "90"} << "switch=600"
                            << "switch must be 61 to 599 once rounded, not \"600\". Nothing was sent.";
    QTest::newRow("beyond 16 bits") << level << "hi-do=40000"
        << "low-do and hi-do must be 1 to 32767 with hi-do greater than low-do once rounded, not low-do \"50\" and "
           "hi-do \"40000\". Nothing was sent.";
}
// clang-format on

void TestCliEndToEnd::writeRejectedSendsNothing()
{
    QFETCH(QStringList, sim);
    QFETCH(QString, setting);
    QFETCH(QString, message);

    QTemporaryDir ports;
    Sim sensor(ports);
    QVERIFY(!sensor.start(sim).isEmpty());
    const QJsonObject before = readSettings("1", "9600");
    QVERIFY(!before.isEmpty());

    const CliResult write = runCli({"write", "--port", "1", "--baud", "9600", "--set", setting});
    QVERIFY_EXIT(write, 4);
    QCOMPARE(write.err, message + u'\n');

    const QString log = settledLog(sensor);
    QVERIFY2(!log.contains(QStringLiteral("write")), qPrintable(log));
    QVERIFY(!log.contains(QStringLiteral("not heard")));
    QCOMPARE(readSettings("1", "9600"), before);
}

void TestCliEndToEnd::runControlSensor()
{
    QTemporaryDir ports;
    Sim sim(ports);
    // Thresholds of 0 would fail the window's check if it looked at them.
    QVERIFY(!sim.start({"--model", "81", "--baud", "19200", "--set", "lowdo=0", "--set", "hido=0"}).isEmpty());

    const CliResult read = runCli({"read", "--port", "1", "--baud", "19200"});
    QVERIFY_EXIT(read, 0);
    QVERIFY(read.out.contains(QRegularExpression(R"(\nlow-do +0 cm +Low DO \(not used by this model\)\n)")));

    QVERIFY_EXIT(runCli({"write", "--port", "1", "--baud", "19200", "--set", "empty=550"}), 0);
    QCOMPARE(readSettings("1", "19200").value("empty").toInt(), 550);

    const CliResult hidden = runCli({"write", "--port", "1", "--baud", "19200", "--set", "low-do=10"});
    QVERIFY_EXIT(hidden, 2);
    QVERIFY(hidden.err.contains(QStringLiteral("DVK-16 has no setting \"low-do\"")));

    const CliResult run = runCli({"run", "--port", "1", "--baud", "19200"});
    QVERIFY_EXIT(run, 0);
    QVERIFY(run.out.contains(QStringLiteral("run state")));
    QVERIFY(settledLog(sim).contains(QStringLiteral("<- run")));
}

void TestCliEndToEnd::distanceSensor()
{
    QTemporaryDir ports;
    Sim sim(ports);
    QVERIFY(!sim.start({"--model", "90", "--baud", "57600"}).isEmpty());

    const CliResult detect = runCli({"detect", "--port", "1"});
    QVERIFY_EXIT(detect, 0);
    QVERIFY2(detect.out.contains(QRegularExpression(R"(baud +57600\nmodel +90 DVZ-900\nfamily +distance)")),
             qPrintable(detect.out));

    const CliResult write = runCli(
        {"write", "--port", "1", "--baud", "57600", "--set", "switch=275", "--set", "ogr=Low", "--set", "baud=9600"});
    QVERIFY_EXIT(write, 0);
    const QString log = settledLog(sim);
    QVERIFY(log.contains(QStringLiteral("<- write settings (15 bytes)")));
    QVERIFY(log.contains(QStringLiteral("now at 9600 baud")));

    const CliResult read = runCli({"read", "--port", "1", "--baud", "9600", "--json"});
    QVERIFY_EXIT(read, 0);
    const QJsonObject settings = jsonOf(read).value("settings").toObject();
    QCOMPARE(settings.value("switch").toInt(), 275);
    QCOMPARE(settings.value("ogr").toString(), QStringLiteral("Low"));
    QCOMPARE(settings.value("baud").toInt(), 9600);
    QVERIFY(!settings.contains("low-do"));

    const CliResult measure = runCli({"measure", "--port", "1", "--baud", "9600", "--count", "2", "--interval", "0.1"});
    QVERIFY_EXIT(measure, 0);
    const QStringList lines = measure.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.first(), QStringLiteral("time,distance,temperature"));
    QVERIFY2(lines.at(2).endsWith(QStringLiteral("Z,250,25")), qPrintable(lines.at(2)));
}

void TestCliEndToEnd::backupThenRestore()
{
    QTemporaryDir ports;
    QTemporaryDir files;
    Sim first(ports);
    Sim second(ports);
    Sim distance(ports);
    QVERIFY(!first
                 .start({"--model", "23", "--port", "1", "--set", "empty=222", "--set", "slave=9", "--set", "month=3",
                         "--set", "ogr=2", "--set", "omb=4"})
                 .isEmpty());
    QVERIFY(!second.start({"--model", "23", "--port", "2", "--baud", "19200"}).isEmpty());
    QVERIFY(!distance.start({"--model", "90", "--port", "3"}).isEmpty());

    const QString file = files.filePath("first.json");
    QVERIFY_EXIT(runCli({"backup", "--port", "1", "-o", file}), 0);
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QJsonObject backup = QJsonDocument::fromJson(saved.readAll()).object();
    QCOMPARE(backup.value("programVersion").toString(), QStringLiteral("7.0.0"));
    QCOMPARE(backup.value("model").toObject().value("name").toString(), QStringLiteral("DVT-14C11"));
    QCOMPARE(backup.value("settings").toObject().value("month").toInt(), 3);

    // The backup's rate is 9600: the second sensor moves there from 19200.
    const CliResult restore = runCli({"restore", "--port", "2", file});
    QVERIFY_EXIT(restore, 0);
    QCOMPARE(readSettings("2", "9600"), backup.value("codes").toObject());
    QCOMPARE(readSettings("2", "9600"), readSettings("1", "9600"));

    const CliResult wrongFamily = runCli({"restore", "--port", "3", file});
    QVERIFY_EXIT(wrongFamily, 2);
    QVERIFY(wrongFamily.err.contains(QStringLiteral("backup of a level sensor (DVT-14C11)")));

    const QString damaged = files.filePath("damaged.json");
    QFile cut(damaged);
    QVERIFY(cut.open(QIODevice::WriteOnly));
    saved.seek(0);
    cut.write(saved.readAll().chopped(20));
    cut.close();
    const CliResult broken = runCli({"restore", "--port", "3", damaged});
    QVERIFY_EXIT(broken, 2);
    QVERIFY(broken.err.contains(QStringLiteral("not valid JSON")));

    const QString log = settledLog(distance);
    QVERIFY2(!log.contains(QStringLiteral("write")), qPrintable(log));
    QCOMPARE(log.count(QStringLiteral("<- read settings")), 1); // the damaged file never reached the port
}

void TestCliEndToEnd::failures()
{
    QTemporaryDir ports;
    Sim silent(ports);
    Sim unplugged(ports);
    QVERIFY(!silent.start({"--model", "21", "--port", "1", "--silent"}).isEmpty());
    QVERIFY(!unplugged.start({"--model", "21", "--port", "2", "--unplug-after", "2"}).isEmpty());

    const CliResult nobody = runCli({"read", "--port", "1"});
    QVERIFY_EXIT(nobody, 3);
    QCOMPARE(nobody.err, QStringLiteral("No sensor answered on %1 at any baud rate (9600 to 115200).\n")
                             .arg(QFileInfo(ports.filePath("com1")).symLinkTarget()));

    const CliResult missing = runCli({"detect", "--port", ports.filePath("com9")});
    QVERIFY_EXIT(missing, 5);
    QVERIFY(missing.err.startsWith(QStringLiteral("No such port")));

    QSerialPortLink holder;
    QVERIFY(holder.open(*PortId::fromText("1"), QStringLiteral("9600,n,8,1")));
    const CliResult busy = runCli({"read", "--port", "1", "--baud", "9600"});
    QVERIFY_EXIT(busy, 5);
    QVERIFY(busy.err.contains(QStringLiteral("busy")));
    holder.close();

    // Unplugged right after the write: it went out, but nothing confirms it.
    const CliResult gone = runCli({"write", "--port", "2", "--baud", "9600", "--set", "slave=7"});
    QVERIFY_EXIT(gone, 6);
    QVERIFY2(gone.err.contains(QStringLiteral("reading it back failed")), qPrintable(gone.err));
    QVERIFY(settledLog(unplugged).contains(QStringLiteral("<- write settings")));
}

QTEST_GUILESS_MAIN(TestCliEndToEnd)
#include "tst_cli_e2e.moc"
