// veltra-cli on several sensors at once, end to end against veltra-sim
// processes: scan, and a command on a list of ports where some sensors
// answer, one is silent, one is held by another program and one is
// unplugged part-way.
#include "cliprocess.h"

#include <QDir>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>

namespace {

QJsonObject portResult(const QJsonObject &all, const QString &key, const QString &port)
{
    for (const QJsonValue &v : all.value(QStringLiteral("ports")).toArray()) {
        const QJsonObject o = v.toObject();
        if (o.value(key).toVariant().toString() == port)
            return o;
    }
    return {};
}

int count(const QString &text, const QString &what)
{
    return int(text.count(what));
}

} // namespace

class TestCliParallel : public QObject
{
    Q_OBJECT
private slots:
    void scanFindsEverySensorAtOnce();
    void restoreOnManyPorts();
    void backupAndMeasureOnAList();
    void measureStreamsUntilStopped();
};

void TestCliParallel::scanFindsEverySensorAtOnce()
{
    QTemporaryDir ports;
    Sim level(ports), distance(ports), silent(ports), held(ports);
    QVERIFY(!level.start({"--model", "21", "--baud", "19200", "--port", "1"}).isEmpty());
    // Beyond com64: scan takes every comN link of the ports folder.
    QVERIFY(!distance.start({"--model", "90", "--baud", "57600", "--port", "70"}).isEmpty());
    QVERIFY(!silent.start({"--model", "21", "--silent", "--port", "3"}).isEmpty());
    const QString heldDevice = held.start({"--model", "21", "--port", "4"});
    QVERIFY(!heldDevice.isEmpty());
    // Another program holds port 4.
    QSerialPort other(heldDevice);
    QVERIFY(other.open(QIODevice::ReadWrite));

    const CliResult scan = runCli({"scan", "--json"});
    QVERIFY_EXIT(scan, 0);
    const QJsonObject all = jsonOf(scan);
    QCOMPARE(all.value("ports").toArray().size(), 4);
    const QJsonObject one = portResult(all, "port", "1");
    QCOMPARE(one.value("state").toString(), QStringLiteral("found"));
    QCOMPARE(one.value("baud").toInt(), 19200);
    QCOMPARE(one.value("model").toObject().value("name").toString(), QStringLiteral("DVT-14C01"));
    QCOMPARE(one.value("family").toString(), QStringLiteral("level"));
    const QJsonObject two = portResult(all, "port", "70");
    QCOMPARE(two.value("state").toString(), QStringLiteral("found"));
    QCOMPARE(two.value("baud").toInt(), 57600);
    QCOMPARE(two.value("family").toString(), QStringLiteral("distance"));
    QCOMPARE(portResult(all, "port", "3").value("state").toString(), QStringLiteral("no sensor"));
    QCOMPARE(portResult(all, "port", "4").value("state").toString(), QStringLiteral("busy"));
    // Each sensor was asked once, not once per port probed.
    QCOMPARE(count(settledLog(level), "<- connect"), 1);

    // The table says the same in words.
    const CliResult table = runCli({"scan"});
    QVERIFY_EXIT(table, 0);
    QVERIFY2(table.out.contains(QRegularExpression("\\n1 +\\S+ +- +19200 +21 DVT-14C01 \\(level\\)\\n")),
             qPrintable(table.out));
    QVERIFY(table.out.contains(QRegularExpression("\\n3 .*no sensor answered\\n")));
    QVERIFY(table.out.contains(QRegularExpression("\\n4 .*busy: another program holds the port\\n")));
    other.close();

    // Nothing to find: exit 3.
    for (Sim *sim : {&level, &distance, &held}) {
        sim->process().kill();
        sim->process().waitForFinished();
    }
    QVERIFY_EXIT(runCli({"scan"}), 3);
}

void TestCliParallel::restoreOnManyPorts()
{
    QTemporaryDir ports;
    QTemporaryDir files;
    Sim source(ports), changed(ports), silent(ports), unplugged(ports);
    QVERIFY(!source.start({"--model", "21", "--port", "1", "--set", "empty=290"}).isEmpty());
    QVERIFY(!changed.start({"--model", "21", "--baud", "19200", "--port", "2"}).isEmpty());
    QVERIFY(!silent.start({"--model", "21", "--silent", "--port", "3"}).isEmpty());
    // Connect, read, write: the adapter goes before the read-back.
    QVERIFY(!unplugged.start({"--model", "21", "--port", "4", "--unplug-after", "3"}).isEmpty());
    const QString file = files.filePath(QStringLiteral("tank.json"));
    QVERIFY_EXIT(runCli({"backup", "--port", "1", "--baud", "9600", "-o", file}), 0);

    // CSV: a row per change each port would get; a port without one still
    // has its row.
    const CliResult csv = runCli({"restore", "--port", "2,3", "--dry-run", "--csv", file});
    QVERIFY_EXIT(csv, 3);
    const QStringList rows = csv.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(rows[0], QStringLiteral("port,device,exit_code,result,setting,before,after"));
    QVERIFY2(rows.contains(QRegularExpression(QStringLiteral("^2,[^,]+,0,ok,baud,19200,9600$"))), qPrintable(csv.out));
    QVERIFY2(rows.contains(QRegularExpression(QStringLiteral("^2,[^,]+,0,ok,empty,300,290$"))), qPrintable(csv.out));
    QVERIFY(rows.constLast().startsWith(QStringLiteral("3,")) && rows.constLast().endsWith(QStringLiteral(",,,")));

    const CliResult restore = runCli({"restore", "--port", "1-4", file, "--json"});
    const QJsonObject all = jsonOf(restore);
    // The worst of the four: the unplugged sensor's failed read-back.
    QCOMPARE(restore.exitCode, all.value("exitCode").toInt());
    QVERIFY2(restore.exitCode == 6 || restore.exitCode == 3, qPrintable(restore.out + restore.err));
    QCOMPARE(portResult(all, "port", "1").value("exitCode").toInt(), 0);
    QCOMPARE(portResult(all, "port", "2").value("exitCode").toInt(), 0);
    QCOMPARE(portResult(all, "port", "3").value("exitCode").toInt(), 3);
    QVERIFY(portResult(all, "port", "4").value("exitCode").toInt() != 0);
    QVERIFY(!portResult(all, "port", "4").value("messages").toArray().isEmpty());
    QCOMPARE(portResult(all, "port", "2").value("device").toString(), QFileInfo(changed.linkPath(2)).symLinkTarget());
    // Each port's result: the changes and the read-back verdict.
    const QJsonObject restored = portResult(all, "port", "2").value("result").toObject();
    QCOMPARE(restored.value("verdict").toString(), QStringLiteral("verified"));
    QCOMPARE(restored.value("changes").toArray().size(), 2);

    // The others were neither stopped nor disturbed, and nothing was written twice.
    QTest::qWait(150);
    QVERIFY(count(source.log(), "<- write settings") <= 1);
    QCOMPARE(count(changed.log(), "<- write settings"), 1);
    QCOMPARE(count(silent.log(), "<- write settings"), 0);
    QVERIFY(count(unplugged.log(), "<- write settings") <= 1);
    // The file's rate (9600) came along with its other settings.
    QCOMPARE(readSettings("2", "9600").value("empty").toInt(), 290);

    // Text: each port's lines, the port in front of every one, then a summary.
    const CliResult text = runCli({"restore", "--port", "1,2", "--dry-run", file});
    QVERIFY_EXIT(text, 0);
    for (const QString &line : text.out.split(u'\n', Qt::SkipEmptyParts))
        QVERIFY2(line.startsWith(u'1') || line.startsWith(u'2') || line.startsWith(QStringLiteral("port")),
                 qPrintable(line));
    QVERIFY(text.out.contains(QRegularExpression("\\n2 +\\S+ +0 +ok\\n")));
}

void TestCliParallel::backupAndMeasureOnAList()
{
    QTemporaryDir ports;
    QTemporaryDir files;
    Sim one(ports), two(ports), three(ports);
    QVERIFY(!one.start({"--model", "21", "--port", "1", "--distance", "120"}).isEmpty());
    QVERIFY(!two.start({"--model", "90", "--port", "2", "--distance", "321"}).isEmpty());
    QVERIFY(!three.start({"--model", "21", "--silent", "--port", "3"}).isEmpty());

    // all: the ports where scan finds a sensor, one file each.
    const QString folder = files.filePath(QStringLiteral("line")) + u'/';
    const CliResult backup = runCli({"backup", "--port", "all", "-o", folder});
    QVERIFY_EXIT(backup, 0);
    const QString day = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    QStringList names = QDir(folder).entryList(QDir::Files);
    QCOMPARE(names.size(), 2);
    const QRegularExpression named(
        QStringLiteral("^port-(1_DVT-14C01|2_DVZ-900)_%1T[0-9]{6}(-[0-9]+)?\\.json$").arg(day));
    for (const QString &name : names)
        QVERIFY2(named.match(name).hasMatch(), qPrintable(name));
    // A second backup, within the same second or not, replaces nothing.
    QVERIFY_EXIT(runCli({"backup", "--port", "all", "-o", folder}), 0);
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 4);
    QCOMPARE(count(three.log(), "<- read settings"), 0);
    // JSON names the file each port's backup went to.
    const CliResult listed = runCli({"backup", "--port", "1,2", "-o", folder, "--json"});
    QVERIFY_EXIT(listed, 0);
    QVERIFY(QFileInfo::exists(portResult(jsonOf(listed), "port", "2").value("result")["file"].toString()));
    // Several ports need a folder, not one file.
    QVERIFY_EXIT(runCli({"backup", "--port", "1,2", "-o", files.filePath("one.json")}), 2);
    QVERIFY_EXIT(runCli({"read", "--port", "1,all"}), 2);

    // measure: one CSV, the port in every row, each row as it is taken.
    const CliResult measure = runCli({"measure", "--port", "2,1", "--count", "2", "--interval", "0.5"});
    QVERIFY_EXIT(measure, 0);
    const QStringList rows = measure.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows[0], QStringLiteral("port,time,distance,temperature,level,current"));
    QCOMPARE(rows.filter(QRegularExpression(QStringLiteral("^2,.*,321,25,,$"))).size(), 2);
    QCOMPARE(rows.filter(QRegularExpression(QStringLiteral("^1,.*,120,25,180,"))).size(), 2);

    // --trace goes to standard error, by port, whatever the form.
    for (const char *form : {"--json", "--csv"}) {
        const CliResult traced = runCli({"read", "--port", "1,2", "--baud", "9600", "--trace", form});
        QVERIFY_EXIT(traced, 0);
        QVERIFY2(!traced.out.contains(QStringLiteral("trace")), qPrintable(traced.out));
        QVERIFY2(traced.err.contains(QRegularExpression(QStringLiteral("(^|\\n)1  trace: .*read settings"))),
                 qPrintable(traced.err));
        QVERIFY(traced.err.contains(QRegularExpression(QStringLiteral("(^|\\n)2  trace: "))));
    }

    // One device named twice, by number and by its link, is written once.
    const CliResult twice = runCli({"write", "--port", "1," + one.linkPath(1), "--set", "slave=9"});
    QVERIFY_EXIT(twice, 2);
    QVERIFY2(twice.err.contains(QStringLiteral("is the same device")), qPrintable(twice.err));
    QCOMPARE(count(settledLog(one), "<- write settings"), 1);
}

void TestCliParallel::measureStreamsUntilStopped()
{
    QTemporaryDir ports;
    Sim one(ports), two(ports), three(ports), four(ports);
    const QString device = one.start({"--model", "21", "--port", "1"});
    QVERIFY(!device.isEmpty());
    QVERIFY(!two.start({"--model", "90", "--port", "2"}).isEmpty());
    QVERIFY(!three.start({"--model", "22", "--port", "3"}).isEmpty());
    QVERIFY(!four.start({"--model", "21", "--port", "4"}).isEmpty());

    QProcess measure;
    measure.start(cliProgram(), {"measure", "--port", "1-4", "--count", "10", "--interval", "1", "--json"});
    QVERIFY(measure.waitForStarted());
    QTest::qWait(1500);
    // Held by that run, the device is busy for another, named by its path
    // rather than its link: it is never opened a second time.
    const CliResult second = runCli({"read", "--port", device, "--baud", "9600"});
    QVERIFY_EXIT(second, 5);
    QVERIFY2(second.err.contains(QStringLiteral("busy (%1)").arg(device)), qPrintable(second.err));
    QTest::qWait(2500);
    ::kill(pid_t(measure.processId()), SIGINT);
    QVERIFY(measure.waitForFinished(5000));

    // Stopped part-way, it has printed each port's measurements so far, one
    // JSON object a line.
    QMap<QString, int> rows;
    for (const QByteArray &line : measure.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, line.constData());
        QVERIFY(object.contains("time") && object.contains("distance"));
        ++rows[object.value("port").toString()];
    }
    QCOMPARE(rows.keys(), QStringList({"1", "2", "3", "4"}));
    for (const int taken : rows)
        QVERIFY2(taken >= 1 && taken < 10, qPrintable(QString::number(taken)));
}

QTEST_GUILESS_MAIN(TestCliParallel)
#include "tst_cli_parallel_e2e.moc"
