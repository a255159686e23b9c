// veltra-cli's commands on a scripted link: exit codes, the requests that go
// out (and those that must not), the order of a write, and what measure and
// help print.
#include "cli.h"
#include "linesettings.h"
#include "protocol/commandframe.h"
#include "scriptedlink.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTextStream>

using namespace veltra;

Q_DECLARE_METATYPE(veltra::LinkError::Kind)

namespace {

QList<int> levelFields(int model, int full = 280)
{
    return {40, 5, 0, 1, 15, 98, model, 1, 44, full / 256, full % 256, 0, 50, 0, 90, 8, 10};
}

// The time the tests pin the program's clock to, as measure prints it.
const QString kTime = QStringLiteral("2024-05-06T07:08:09.000Z");

const QList<int> kDistanceFields{30, 17, 1, 5, 12, 24, 90, 0, 200, 1, 44, 0, 150, 0, 250};

// A sensor behind the scripted link: it hears only its own rate, answers
// connect, read and measure, and stores what it is sent unless told not to.
struct FakeSensor {
    QList<int> fields;
    QString lineSettings = QStringLiteral("9600,n,8,1");
    QByteArray measurement = "R00120cm021\r\n";
    bool silent = false;
    bool storesWrites = true;

    QByteArray reply() const
    {
        QByteArray text;
        for (int v : fields)
            text += QByteArray::number(v).rightJustified(3, ' ');
        return text;
    }

    ScriptedLink::Responder responder()
    {
        return [this](const QByteArray &request, const QString &current) -> QByteArray {
            if (silent || current != lineSettings || request.size() < 4)
                return {};
            switch (Command(static_cast<unsigned char>(request.at(3)))) {
            case Command::Connect:
                return "DVT-FAKE\r\n";
            case Command::ReadSettings:
                return reply();
            case Command::Measure:
                return measurement;
            case Command::WriteSettings:
                if (storesWrites) {
                    for (qsizetype i = 4; i < request.size(); ++i)
                        fields[i - 4] = static_cast<unsigned char>(request.at(i));
                    if (const BaudRow *row = baudRowForCode(fields[0]))
                        lineSettings = QLatin1String(row->lineSettings);
                }
                return {};
            case Command::Run:
                return {};
            }
            return {};
        };
    }
};

struct Outcome {
    int exitCode;
    QString out;
    QString err;
    QByteArray commands; // command byte of every request sent
};

Outcome runCli(ScriptedLink &link, const QStringList &arguments)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    Cli cli(link, outStream, errStream);
    cli.setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC); });
    const int code = cli.run(QStringList{QStringLiteral("veltra-cli")} + arguments);
    outStream.flush();
    errStream.flush();
    QByteArray commands;
    for (const QByteArray &request : link.sent())
        commands.append(request.at(3));
    return {code, out, err, commands};
}

QByteArray commandBytes(std::initializer_list<Command> commands)
{
    QByteArray out;
    for (Command c : commands)
        out.append(static_cast<char>(c));
    return out;
}

} // namespace

class TestCliScripted : public QObject
{
    Q_OBJECT
private slots:
    void exitCodes_data();
    void exitCodes();
    void writeFollowsTheNewRateBeforeReadingBack();
    void measure_data();
    void measure();
    void help_data();
    void help();
};

// clang-format off
void TestCliScripted::exitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<int>>("fields");
    QTest::addColumn<LinkError::Kind>("openFailure");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("storesWrites");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err"); // a part of standard error
    QTest::addColumn<QByteArray>("commands");

    using C = Command;
    const auto none = LinkError::Kind::None;
    const QList<int> level = levelFields(23);
    const QStringList write{"write", "--port", "1", "--set", "empty=290"};

    QTest::newRow("detect") << QStringList{"detect", "-p", "1"} << level << none << false << true << 0 << ""
                            << commandBytes({C::Connect, C::ReadSettings});
    QTest::newRow("write") << write << level << none << false << true << 0 << ""
                           << commandBytes({C::Connect, C::ReadSettings, C::WriteSettings, C::ReadSettings});
    QTest::newRow("run") << QStringList{"run", "--port", "1"} << levelFields(81) << none << false << true << 0 << ""
                         << commandBytes({C::Connect, C::ReadSettings, C::Run});
    QTest::newRow("read at a given rate") << QStringList{"read", "--port", "1", "--baud", "9600"} << level << none
                                          << false << true << 0 << "" << commandBytes({C::ReadSettings});

    QTest::newRow("no command") << QStringList{} << level << none << false << true << 2 << "Commands:" << QByteArray();
    QTest::newRow("unknown command") << QStringList{"frob"} << level << none << false << true << 2
                                     << "unknown command \"frob\"" << QByteArray();
    QTest::newRow("unknown option") << QStringList{"read", "--port", "1", "--colour"} << level << none << false << true
                                    << 2 << "Unknown option 'colour'" << QByteArray();
    QTest::newRow("no port") << QStringList{"read"} << level << none << false << true << 2 << "--port is required"
                             << QByteArray();
    QTest::newRow("port is words") << QStringList{"read", "--port", "usb"} << level << none << false << true << 2
                                   << "port number from 1 to 32767 or a device path" << QByteArray();
    QTest::newRow("port with a fraction") << QStringList{"read", "--port", "1.5"} << level << none << false << true << 2
                                          << "not \"1.5\"" << QByteArray();
    QTest::newRow("port 0") << QStringList{"read", "--port", "0"} << level << none << false << true << 2
                            << "not \"0\"" << QByteArray();
    QTest::newRow("port -1") << QStringList{"read", "--port=-1"} << level << none << false << true << 2
                             << "not \"-1\"" << QByteArray();
    QTest::newRow("port twice") << QStringList{"read", "--port", "1", "--port", "2"} << level << none << false << true
                                << 2 << "--port is given 2 times" << QByteArray();
    QTest::newRow("rate not in the table") << QStringList{"read", "--port", "1", "--baud", "4800"} << level << none
                                           << false << true << 2 << "--baud must be" << QByteArray();
    QTest::newRow("write without --set") << QStringList{"write", "--port", "1"} << level << none << false << true << 2
                                         << "--set" << QByteArray();
    QTest::newRow("setting the model lacks") << QStringList{"write", "--port", "1", "--set", "switch=100"} << level
                                             << none << false << true << 2 << "no setting \"switch\""
                                             << commandBytes({C::Connect, C::ReadSettings});
    QTest::newRow("run on a level model") << QStringList{"run", "--port", "1"} << level << none << false << true << 2
                                          << "has no run state" << commandBytes({C::Connect, C::ReadSettings});

    QTest::newRow("silent") << QStringList{"read", "--port", "1"} << level << none << true << true << 3
                            << "No sensor answered" << QByteArray(5, char(C::Connect));
    QTest::newRow("silent at a given rate") << QStringList{"backup", "--port", "1", "--baud", "9600"} << level << none
                                            << true << true << 3 << "did not answer" << commandBytes({C::ReadSettings});

    QTest::newRow("refused") << QStringList{"write", "--port", "1", "--set", "slave=0"} << level << none << false
                             << true << 4 << "slave must be 1 to 247 once rounded, not \"0\". Nothing was sent.\n"
                             << commandBytes({C::Connect, C::ReadSettings});

    QTest::newRow("no such port") << QStringList{"read", "--port", "3"} << level << LinkError::Kind::NoSuchPort
                                  << false << true << 5 << "No such port (3)" << QByteArray();
    QTest::newRow("busy") << QStringList{"read", "--port", "3", "--baud", "19200"} << level << LinkError::Kind::Busy
                          << false << true << 5 << "busy" << QByteArray();
    QTest::newRow("permission") << QStringList{"detect", "--port", "/dev/ttyUSB0"} << level
                                << LinkError::Kind::PermissionDenied << false << true << 5 << "dialout" << QByteArray();

    // Stored at the rate it talks at, so the write's rate is the one it already has.
    QList<int> at9600 = level;
    at9600[0] = 30;
    QTest::newRow("read-back differs") << write << at9600 << none << false << false << 6
                                       << "empty: sent 290, the sensor holds 300"
                                       << commandBytes({C::Connect, C::ReadSettings, C::WriteSettings, C::ReadSettings});
}
// clang-format on

void TestCliScripted::exitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(QList<int>, fields);
    QFETCH(LinkError::Kind, openFailure);
    QFETCH(bool, silent);
    QFETCH(bool, storesWrites);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    QFETCH(QByteArray, commands);

    FakeSensor sensor{fields};
    sensor.silent = silent;
    sensor.storesWrites = storesWrites;
    ScriptedLink link;
    link.setResponder(sensor.responder());
    if (openFailure != LinkError::Kind::None)
        link.failNextOpen(openFailure);

    const Outcome outcome = runCli(link, arguments);
    QVERIFY2(outcome.err.contains(err), qPrintable(outcome.err));
    QCOMPARE(outcome.exitCode, exitCode);
    QCOMPARE(outcome.commands, commands);
    if (exitCode != 0)
        QVERIFY(!outcome.err.isEmpty());
    QVERIFY(!link.isOpen()); // every command lets go of the port
}

void TestCliScripted::writeFollowsTheNewRateBeforeReadingBack()
{
    FakeSensor sensor{levelFields(23), QStringLiteral("19200,n,8,1")};
    ScriptedLink link;
    link.setResponder(sensor.responder());
    const Outcome outcome
        = runCli(link, {"write", "--port", "2", "--baud", "19200", "--set", "baud=115200", "--set", "hi-do=95"});
    QCOMPARE(outcome.exitCode, 0);

    // Open at the given rate and settle, read, write, wait, follow the rate,
    // drop what the write brought, and only then read back.
    const QStringList expected{
        "open 2 19200,n,8,1",    "sleep 500", "send", "sleep 500", "receive", "send", "sleep 500",
        "settings 115200,n,8,1", "receive",   "send", "sleep 500", "receive", "close"};
    QCOMPARE(link.journal(), expected);
    QByteArray payload;
    for (int v : {70, 5, 0, 1, 15, 98, 23, 1, 44, 1, 24, 0, 50, 0, 95, 8})
        payload.append(static_cast<char>(v));
    QCOMPARE(link.sent().at(1), CommandFrame::writeSettingsRequest(payload));
    QVERIFY2(outcome.out.contains(QStringLiteral("baud   19200 -> 115200")), qPrintable(outcome.out));
    QVERIFY(outcome.out.contains(QStringLiteral("hi-do  90 -> 95")));
}

// clang-format off
void TestCliScripted::measure_data()
{
    QTest::addColumn<QList<int>>("fields");
    QTest::addColumn<QByteArray>("measurement");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");

    // Empty 300, Full 280: level 180, current 4 + 16 x 180 / 280.
    QTest::newRow("level") << levelFields(23) << QByteArray("R00120cm021\r\n") << QStringList{"--count", "2"} << 0
                           << QStringLiteral("time,distance,temperature,level,current\n%1,120,21,180,14.29\n"
                                             "%1,120,21,180,14.29\n")
                                  .arg(kTime);
    QTest::newRow("whole current keeps its point")
        << levelFields(23) << QByteArray("R00020cm025") << QStringList{} << 0
        << QStringLiteral("time,distance,temperature,level,current\n%1,20,25,280,20.\n").arg(kTime);
    QTest::newRow("full 0 has no current") << levelFields(23, 0) << QByteArray("R00120cm021") << QStringList{} << 0
                                           << QStringLiteral("time,distance,temperature,level,current\n%1,120,21,180,\n")
                                                  .arg(kTime);
    QTest::newRow("distance") << kDistanceFields << QByteArray("~R00250cm019") << QStringList{} << 0
                              << QStringLiteral("time,distance,temperature\n%1,250,19\n").arg(kTime);
    QTest::newRow("no answer") << levelFields(23) << QByteArray() << QStringList{} << 3
                               << QStringLiteral("time,distance,temperature,level,current\n%1,,,,\n").arg(kTime);
}
// clang-format on

void TestCliScripted::measure()
{
    QFETCH(QList<int>, fields);
    QFETCH(QByteArray, measurement);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);

    FakeSensor sensor{fields};
    sensor.measurement = measurement;
    ScriptedLink link;
    link.setResponder(sensor.responder());
    const Outcome outcome = runCli(link, QStringList{"measure", "--port", "1"} + arguments);
    QCOMPARE(outcome.exitCode, exitCode);
    QCOMPARE(outcome.out, out);

    // The same as JSON.
    ScriptedLink again;
    again.setResponder(sensor.responder());
    const Outcome json = runCli(again, QStringList{"measure", "--port", "1", "--json"} + arguments);
    QCOMPARE(json.exitCode, exitCode);
    const QJsonObject first = QJsonDocument::fromJson(json.out.toUtf8()).object().value("measurements")[0].toObject();
    const QStringList csv = out.split(u'\n').at(1).split(u',');
    QCOMPARE(first.value("time").toString(), kTime);
    QCOMPARE(first.value("distance").isNull(), csv.at(1).isEmpty());
    QCOMPARE(first.value("distance").toDouble(), csv.at(1).toDouble());
    if (csv.size() > 3) {
        QCOMPARE(first.value("level").toDouble(), csv.at(3).toDouble());
        QCOMPARE(first.value("current").isNull(), csv.at(4).isEmpty());
        QCOMPARE(first.value("current").toDouble(), csv.at(4).toDouble());
    } else {
        QVERIFY(!first.contains("level"));
    }
}

// clang-format off
void TestCliScripted::help_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");

    QTest::newRow("version") << QStringList{"--version"} << "veltra-cli 7.0.0\n";
    QTest::newRow("program") << QStringList{"--help"} << "  restore      Write a backup to a sensor";
    // The longest name keeps a gap before its summary.
    QTest::newRow("longest command") << QStringList{"--help"} << "  certificate  Write a commissioning certificate";
    QTest::newRow("command") << QStringList{"measure", "--help"} << "--interval <SECONDS>";
    QTest::newRow("usage line") << QStringList{"restore", "-h"}
                                << "Usage: veltra-cli restore --port N|PATH [options] FILE\n";
    QTest::newRow("exit codes") << QStringList{"write", "--help"} << "  6  the read-back after a write differs or failed";
    QTest::newRow("compare's exit code") << QStringList{"--help"} << "  7  compare, restore: the sensor does not hold the file's settings";
    QTest::newRow("compare usage") << QStringList{"compare", "-h"}
                                   << "Usage: veltra-cli compare --port N|PATH [options] FILE\n";
    QTest::newRow("ports needs no port") << QStringList{"ports", "-h"} << "Usage: veltra-cli ports [options]\n";
    QTest::newRow("dry run") << QStringList{"restore", "--help"} << "--dry-run";
}
// clang-format on

void TestCliScripted::help()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    ScriptedLink link;
    const Outcome outcome = runCli(link, arguments);
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY2(outcome.out.contains(out), qPrintable(outcome.out));
    QVERIFY(outcome.err.isEmpty());
    QVERIFY(link.journal().isEmpty()); // help touches no port
}

QTEST_GUILESS_MAIN(TestCliScripted)
#include "tst_cli_scripted.moc"
