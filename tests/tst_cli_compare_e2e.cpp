// veltra-cli compare, restore --dry-run, ports and the settings file
// formats, end to end against veltra-sim.
#include "cliprocess.h"
#include "simprocess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestCliCompare : public QObject
{
    Q_OBJECT
private slots:
    void compareAndDryRun();
    void restoreReadsEveryFormat();
    void refusedFilesChangeNothing();
    void portsShowTheSimulator();
};

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return file.fileName();
}

// The text with only the first `from` replaced: "settings" comes before
// "codes", so this edits the readable value alone.
QByteArray replaceFirst(QByteArray text, const QByteArray &from, const QByteArray &to)
{
    const qsizetype at = text.indexOf(from);
    return at < 0 ? text : text.replace(at, from.size(), to);
}

// The table row of one setting: name, sensor value, file value, mark.
QRegularExpression row(const QString &name, const QString &sensor, const QString &file, const QString &mark)
{
    return QRegularExpression(QStringLiteral("\n%1 +%2 +%3%4\n")
                                  .arg(name, QRegularExpression::escape(sensor), QRegularExpression::escape(file),
                                       mark.isEmpty() ? QString() : QStringLiteral(" +") + mark));
}

} // namespace

void TestCliCompare::compareAndDryRun()
{
    QTemporaryDir ports;
    QTemporaryDir files;
    Sim sim(ports);
    QVERIFY(!sim.start({"--model", "23", "--set", "empty=300", "--set", "ogr=0"}).isEmpty());

    const QString file = files.filePath("sensor.json");
    QVERIFY_EXIT(runCli({"backup", "--port", "1", "--baud", "9600", "-o", file}), 0);
    const QJsonObject saved = QJsonDocument::fromJson(readAll(file)).object();
    QCOMPARE(saved.value("format").toInt(), 2);
    QCOMPARE(saved.value("settings").toObject().value("ogr").toString(), QStringLiteral("High"));
    QCOMPARE(saved.value("settings").toObject().value("baud").toInt(), 9600);
    QCOMPARE(saved.value("codes").toObject().value("baud").toInt(), 30);

    const CliResult same = runCli({"compare", "--port", "1", "--baud", "9600", file});
    QVERIFY_EXIT(same, 0);
    QVERIFY2(same.out.contains(row("empty", "300", "300", QString())), qPrintable(same.out));
    QVERIFY(!same.out.contains(QStringLiteral("differs")));
    QVERIFY(same.out.endsWith(QStringLiteral("The sensor holds the file's settings.\n")));

    QVERIFY_EXIT(runCli({"write", "--port", "1", "--baud", "9600", "--set", "empty=290", "--set", "ogr=Low"}), 0);
    const CliResult differs = runCli({"compare", "--port", "1", "--baud", "9600", file});
    QVERIFY_EXIT(differs, 7);
    QVERIFY2(differs.out.contains(row("empty", "290", "300", "differs")), qPrintable(differs.out));
    QVERIFY(differs.out.contains(row("ogr", "Low", "High", "differs")));
    QCOMPARE(differs.out.count(QStringLiteral("differs\n")), 2);
    QVERIFY(differs.out.contains(QStringLiteral("2 settings differ.")));

    const CliResult json = runCli({"compare", "--port", "1", "--baud", "9600", "--json", file});
    QVERIFY_EXIT(json, 7);
    QCOMPARE(jsonOf(json).value("differing").toInt(), 2);

    // The dry run lists the changes and sends nothing.
    const QJsonObject before = readSettings("1", "9600");
    const CliResult dryRun = runCli({"restore", "--dry-run", "--port", "1", "--baud", "9600", file});
    QVERIFY_EXIT(dryRun, 0);
    QVERIFY2(dryRun.out.contains(QStringLiteral("would change 2 settings. Nothing was sent.")), qPrintable(dryRun.out));
    QVERIFY(dryRun.out.contains(QRegularExpression(QStringLiteral("\n  setting +now +after\n"))));
    QVERIFY(dryRun.out.contains(QRegularExpression(QStringLiteral("\n  ogr +Low +High\n"))));
    QVERIFY(dryRun.out.contains(QRegularExpression(QStringLiteral("\n  empty +290 +300\n"))));
    QCOMPARE(readSettings("1", "9600"), before);
    QCOMPARE(settledLog(sim).count(QStringLiteral("<- write settings")), 1); // only the write above

    // Restored, the sensor holds the file again.
    QVERIFY_EXIT(runCli({"restore", "--port", "1", "--baud", "9600", file}), 0);
    QVERIFY_EXIT(runCli({"compare", "--port", "1", "--baud", "9600", file}), 0);
}

void TestCliCompare::restoreReadsEveryFormat()
{
    QTemporaryDir ports;
    QTemporaryDir files;
    Sim sim(ports);
    QVERIFY(!sim.start({"--model", "23"}).isEmpty());

    // What backup wrote before "format" existed: every setting as its code.
    const QString old = writeFile(files, "old.json", R"({
        "tool": "veltra-cli", "toolVersion": "6.0.0", "time": "2023-01-02T03:04:05Z", "family": "level",
        "model": {"code": 23, "name": "DVT-14C11"},
        "settings": {"baud": 30, "slave": 9, "ogr": 1, "month": 3, "day": 4, "year": 23, "model": 23,
                     "empty": 222, "full": 200, "low-do": 40, "hi-do": 150, "omb": 6, "resolution": 10}})");
    QVERIFY_EXIT(runCli({"restore", "--port", "1", "--baud", "9600", old}), 0);
    QJsonObject block = readSettings("1", "9600");
    QCOMPARE(block.value("slave").toInt(), 9);
    QCOMPARE(block.value("empty").toInt(), 222);
    QCOMPARE(block.value("omb").toInt(), 6);
    QCOMPARE(block.value("month").toInt(), 3);

    // A new backup edited by hand: readable values with their codes taken
    // out, or both changed alike. One changed alone is refused.
    const QString file = files.filePath("new.json");
    QVERIFY_EXIT(runCli({"backup", "--port", "1", "--baud", "9600", "-o", file}), 0);
    QByteArray edited = readAll(file);
    edited = replaceFirst(edited, "\"ogr\": \"Medium\"", "\"ogr\": \"Low\"");
    edited = replaceFirst(edited, "\"empty\": 222", "\"empty\": 290");
    edited = replaceFirst(edited, "\"omb\": \"Widish\"", "\"omb\": \"narrow\"");
    const QString alone = writeFile(files, "alone.json", edited);
    const CliResult refused = runCli({"restore", "--port", "1", "--baud", "9600", alone});
    QVERIFY_EXIT(refused, 2);
    QVERIFY2(refused.err.contains(QStringLiteral("ogr says Low but its code is 1")), qPrintable(refused.err));
    edited.replace("\n        \"ogr\": 1,", "")
        .replace("\"empty\": 222,", "\"empty\": 290,")
        .replace("\"omb\": 6", "\"omb\": 4");
    const QString hand = writeFile(files, "hand.json", edited);
    const CliResult restore = runCli({"restore", "--port", "1", "--baud", "9600", hand});
    QVERIFY_EXIT(restore, 0);
    block = readSettings("1", "9600");
    QCOMPARE(block.value("ogr").toInt(), 2);
    QCOMPARE(block.value("empty").toInt(), 290);
    QCOMPARE(block.value("omb").toInt(), 4);
    QCOMPARE(block.value("slave").toInt(), 9);
    QVERIFY_EXIT(runCli({"compare", "--port", "1", "--baud", "9600", hand}), 0);
}

void TestCliCompare::refusedFilesChangeNothing()
{
    QTemporaryDir ports;
    QTemporaryDir files;
    Sim level(ports);
    Sim distance(ports);
    QVERIFY(!level.start({"--model", "23", "--port", "1"}).isEmpty());
    QVERIFY(!distance.start({"--model", "90", "--port", "2"}).isEmpty());
    const QString distanceFile = files.filePath("distance.json");
    QVERIFY_EXIT(runCli({"backup", "--port", "2", "--baud", "9600", "-o", distanceFile}), 0);
    const QString levelFile = files.filePath("level.json");
    QVERIFY_EXIT(runCli({"backup", "--port", "1", "--baud", "9600", "-o", levelFile}), 0);
    const QByteArray good = readAll(levelFile);
    const QJsonObject before = readSettings("1", "9600");

    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {writeFile(files, "cut.json", good.chopped(25)), QStringLiteral("not valid JSON")},
        {writeFile(files, "range.json", replaceFirst(good, "\"empty\": 300", "\"empty\": 70000")),
         QStringLiteral("\"empty\" must be a whole number from 0 to 65535, not 70000")},
        {writeFile(files, "choice.json", replaceFirst(good, "\"ogr\": \"High\"", "\"ogr\": \"Highest\"")),
         QStringLiteral("\"ogr\" must be High, Medium or Low")},
        {distanceFile, QStringLiteral("is a backup of a distance sensor (DVZ-900)")},
    };
    for (const auto &c : cases) {
        const CliResult restore = runCli({"restore", "--port", "1", "--baud", "9600", c.path});
        QVERIFY_EXIT(restore, 2);
        QVERIFY2(restore.err.contains(c.reason), qPrintable(restore.err));
        QVERIFY(restore.err.contains(QStringLiteral("Nothing was written.")));
        const CliResult compare = runCli({"compare", "--port", "1", "--baud", "9600", c.path});
        QVERIFY_EXIT(compare, 2);
        QVERIFY2(compare.err.contains(c.reason), qPrintable(compare.err));
        QVERIFY(compare.err.contains(QStringLiteral("Nothing was compared.")));
    }
    QCOMPARE(readSettings("1", "9600"), before);
    const QString log = settledLog(level);
    QVERIFY2(!log.contains(QStringLiteral("write")), qPrintable(log));
    // The files that are no settings files never opened the port: the reads
    // are the backup's, the foreign family's two, and the two checks here.
    QCOMPARE(log.count(QStringLiteral("<- read settings")), 5);
}

void TestCliCompare::portsShowTheSimulator()
{
    QTemporaryDir ports;
    Sim sim(ports);
    const QString device = sim.start({"--model", "23", "--port", "3"});
    QVERIFY(device.startsWith(QStringLiteral("/dev/")));

    const CliResult table = runCli({"ports"});
    QVERIFY_EXIT(table, 0);
    QVERIFY2(table.out.startsWith(QStringLiteral("port  device")), qPrintable(table.out));
    QVERIFY2(
        table.out.contains(QRegularExpression(QStringLiteral("\n3 +%1\n").arg(QRegularExpression::escape(device)))),
        qPrintable(table.out));

    const CliResult json = runCli({"ports", "--json"});
    QVERIFY_EXIT(json, 0);
    QCOMPARE(jsonOf(json).value("portsDir").toString(), ports.path());
    QJsonObject three;
    for (const QJsonValue &entry : jsonOf(json).value("ports").toArray()) {
        if (entry.toObject().value("number").toInt() == 3)
            three = entry.toObject();
    }
    QCOMPARE(three.value("device").toString(), device);
    QVERIFY(three.value("vendorProductId").isNull()); // a pseudo-terminal has no USB ids
    QCOMPARE(three.value("gone").toBool(), false);

    // A link whose device is gone is shown as gone, not as a port to use.
    QVERIFY(QFile::link(QStringLiteral("/dev/no-such-adapter"), ports.filePath(QStringLiteral("com9"))));
    const CliResult gone = runCli({"ports"});
    QVERIFY2(gone.out.contains(QRegularExpression(QStringLiteral("\n9 +/dev/no-such-adapter +\\(gone: "))),
             qPrintable(gone.out));

    const CliResult fewer = runCli({"ports", "--count", "2", "--json"});
    QVERIFY_EXIT(fewer, 0);
    for (const QJsonValue &entry : jsonOf(fewer).value("ports").toArray())
        QVERIFY(entry.toObject().value("number").toInt() <= 2);

    QVERIFY_EXIT(runCli({"ports", "--count", "0"}), 2);
    QVERIFY_EXIT(runCli({"ports", "extra"}), 2);
}

QTEST_GUILESS_MAIN(TestCliCompare)
#include "tst_cli_compare_e2e.moc"
