// The traffic record: what a session keeps of each exchange, the ring, the
// diagnostic report, the Traffic Log window, and veltra-cli --trace and
// report end to end against veltra-sim with its faults.
#include "cliprocess.h"
#include "files/diagnosticreport.h"
#include "protocol/commandframe.h"
#include "replies.h"
#include "scriptedlink.h"
#include "session/sensorsession.h"
#include "session/trafficlog.h"
#include "trafficlogwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QJsonArray>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

using namespace veltra;
using Outcome = TrafficEntry::Outcome;

namespace {

QByteArray measureReply(int distance)
{
    return "R" + QByteArray::number(distance).rightJustified(5, '0') + "cm025\r\n";
}

QStringList outcomes(const TrafficLog &log)
{
    QStringList names;
    for (int i = 0; i < log.size(); ++i)
        names << log.at(i).command + u'/' + TrafficEntry::outcomeName(log.at(i).outcome);
    return names;
}

TrafficEntry entry(const QString &command, Outcome outcome)
{
    TrafficEntry e;
    e.command = command;
    e.request = QByteArray::fromHex("FEFAFC3F");
    e.outcome = outcome;
    return e;
}

} // namespace

class TestTraffic : public QObject
{
    Q_OBJECT
private slots:
    void sessionRecordsEveryExchange();
    void ringKeepsTheNewest();
    void reportHasEveryPart();
    void logWindowFiltersCopiesAndSaves();
    void traceShowsEveryRateTried();
    void reportOfFaultySensors();
};

void TestTraffic::sessionRecordsEveryExchange()
{
    ScriptedLink link;
    SensorSession session(link);
    TrafficLog &log = session.traffic();
    // The sensor answers at 19200 only.
    link.setResponder([](const QByteArray &request, const QString &rate) -> QByteArray {
        if (!rate.startsWith(QLatin1String("19200")))
            return {};
        switch (Command(std::uint8_t(request.at(3)))) {
        case Command::Connect:
            return "DVT-SIM DVT-14C01 V7\r\n";
        case Command::ReadSettings:
            return levelReply(40, 21);
        case Command::Measure:
            return "R00x50cm025\r\n"; // damaged
        default:
            return {};
        }
    });
    QVERIFY(session.connectTo(QStringLiteral("1")));
    QVERIFY(session.readSettings());
    QVERIFY(session.measure());
    QVERIFY(session.write(CommandFrame::writeSettingsRequest(QByteArray(17, '\1'))));
    QVERIFY(session.run());
    link.unplug();
    QVERIFY(!session.readReply());
    QCOMPARE(outcomes(log),
             (QStringList{"connect/no reply", "connect/answered", "read settings/answered", "measure/damaged",
                          "write settings/sent", "run/sent", "read settings/lost device"}));
    // The bytes both ways, the rate and the wait of each.
    QCOMPARE(TrafficEntry::hex(log.at(0).request), QStringLiteral("FE FA FC 0C"));
    QCOMPARE(log.at(0).lineSettings, QStringLiteral("9600,n,8,1"));
    QCOMPARE(log.at(0).waitMs, 500);
    QCOMPARE(log.at(1).lineSettings, QStringLiteral("19200,n,8,1"));
    QCOMPARE(log.at(1).waitMs, 200);
    QCOMPARE(log.at(1).reply, QByteArray("DVT-SIM DVT-14C01 V7\r\n"));
    QCOMPARE(log.at(2).reply, levelReply(40, 21));
    QCOMPARE(log.at(3).reply, QByteArray("R00x50cm025\r\n"));
    QCOMPARE(log.at(4).request.size(), 4 + 17);
    QVERIFY(!log.at(6).detail.isEmpty());
    QCOMPARE(session.lastBlockReply(), QString::fromLatin1(levelReply(40, 21)));
    for (int i = 1; i < log.size(); ++i) {
        QCOMPARE(log.at(i).sequence, log.at(i - 1).sequence + 1);
        QVERIFY(log.at(i).timeMs >= log.at(i - 1).timeMs);
    }

    // A port that cannot be opened: the request is refused, never sent.
    ScriptedLink busy;
    SensorSession other(busy);
    busy.failNextOpen(LinkError::Kind::Busy);
    QVERIFY(!other.connectTo(QStringLiteral("2")));
    QCOMPARE(outcomes(other.traffic()), QStringList{"connect/refused"});
    QVERIFY(busy.sent().isEmpty());

    // The measuring loop's halves record one exchange each.
    ScriptedLink timed;
    SensorSession third(timed);
    QVERIFY(third.connectTo(QStringLiteral("3"), QStringLiteral("9600")));
    timed.queueReply(measureReply(120));
    QVERIFY(third.sendMeasureRequest());
    QVERIFY(third.takeReply());
    QCOMPARE(outcomes(third.traffic()), QStringList{"measure/answered"});
}

void TestTraffic::ringKeepsTheNewest()
{
    TrafficLog log;
    QCOMPARE(log.capacity(), 10000);
    QSignalSpy added(&log, &TrafficLog::added);
    for (int i = 0; i < 10050; ++i)
        log.record(entry(QStringLiteral("measure"), Outcome::Answered));
    QCOMPARE(log.size(), 10000);
    QCOMPARE(log.at(0).sequence, qint64(51));
    QCOMPARE(log.at(9999).sequence, qint64(10050));
    QCOMPARE(added.size(), 10050);
    QCOMPARE(added.at(9999).at(1).toBool(), false);
    QCOMPARE(added.at(10000).at(1).toBool(), true); // the first that pushed one out
    log.clear();
    QCOMPARE(log.size(), 0);
    log.record(entry(QStringLiteral("measure"), Outcome::NoReply));
    QCOMPARE(log.at(0).sequence, qint64(10051)); // numbering goes on
}

void TestTraffic::reportHasEveryPart()
{
    ScriptedLink link;
    SensorSession session(link);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("9600")));
    link.queueReply(levelReply(40, 21));
    QVERIFY(session.readSettings());
    const QJsonObject report = diagnosticReport(session, QStringLiteral("veltra-sensor"), QStringLiteral("7.0.0"),
                                                {QStringLiteral("1"), link.device(), QStringLiteral("ok")});
    QCOMPARE(report.value("program").toObject().value("version").toString(), QStringLiteral("7.0.0"));
    for (const char *key : {"os", "kernel", "cpu", "qt"})
        QVERIFY2(!report.value("system").toObject().value(QLatin1String(key)).toString().isEmpty(), key);
    QVERIFY(report.value("ports").isArray());
    const QJsonObject block = report.value("lastBlock").toObject();
    QCOMPARE(block.value("raw").toString(), QString::fromLatin1(levelReply(40, 21)));
    QCOMPARE(block.value("settings").toObject().value("empty").toInt(), 300);
    QCOMPARE(block.value("codes").toObject().value("model").toInt(), 21);
    QCOMPARE(block.value("family").toString(), QStringLiteral("level"));
    const QJsonArray traffic = report.value("traffic").toArray();
    QCOMPARE(traffic.size(), 1);
    QCOMPARE(traffic.at(0).toObject().value("request").toString(), QStringLiteral("FE FA FC 3A"));
    QCOMPARE(traffic.at(0).toObject().value("outcome").toString(), QStringLiteral("answered"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.json"));
    QString error;
    QVERIFY(saveDiagnosticReport(path, report, &error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QJsonParseError parse;
    QCOMPARE(QJsonDocument::fromJson(text, &parse).object(), report);
    QCOMPARE(parse.error, QJsonParseError::NoError);
    // What the report is about comes first, the port as it was asked for.
    QVERIFY2(text.startsWith("{\n    \"subject\": {\n        \"device\""), text.left(80).constData());
    QCOMPARE(report.value("subject")["port"].toString(), QStringLiteral("1"));
    QVERIFY(!saveDiagnosticReport(dir.filePath(QStringLiteral("no/such/folder/r.json")), report, &error));
    QVERIFY(error.contains(QStringLiteral("Cannot write ")));
    // Before any read there is no block to report.
    ScriptedLink fresh;
    SensorSession none(fresh);
    QVERIFY(diagnosticReport(none, QStringLiteral("p"), QStringLiteral("1"), {}).value("lastBlock").isNull());
}

void TestTraffic::logWindowFiltersCopiesAndSaves()
{
    TrafficLog log;
    log.record(entry(QStringLiteral("connect"), Outcome::NoReply));
    ui::TrafficLogWindow window(log);
    window.show();
    log.record(entry(QStringLiteral("measure"), Outcome::Answered));
    log.record(entry(QStringLiteral("measure"), Outcome::Damaged));
    QCOMPARE(window.table()->model()->rowCount(), 3);
    // Outcome coloured, bytes as hex and text.
    const QModelIndex damaged = window.table()->model()->index(2, ui::TrafficModel::Outcome);
    QCOMPARE(damaged.data(Qt::BackgroundRole).value<QColor>(), ui::TrafficModel::outcomeColour(Outcome::Damaged));
    QCOMPARE(window.table()->model()->index(0, ui::TrafficModel::RequestHex).data().toString(),
             QStringLiteral("FE FA FC 3F"));
    QCOMPARE(window.table()->model()->index(0, ui::TrafficModel::RequestText).data().toString(),
             QStringLiteral("...?"));

    window.commandFilter()->setCurrentIndex(window.commandFilter()->findData(QStringLiteral("measure")));
    QCOMPARE(window.table()->model()->rowCount(), 2);
    window.outcomeFilter()->setCurrentIndex(window.outcomeFilter()->findData(QStringLiteral("damaged")));
    QCOMPARE(window.table()->model()->rowCount(), 1);
    const QStringList csv = window.shownText(true).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(csv.size(), 2);
    QVERIFY(csv[0].startsWith(QStringLiteral("Time,Port,")));
    // The wall clock to the millisecond, in the window and its exports.
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3},"))
                 .match(csv[1])
                 .hasMatch(),
             qPrintable(csv[1]));
    QVERIFY(csv[1].endsWith(QStringLiteral(",damaged")));

    window.table()->selectAll();
    window.copySelection();
    QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral("\tdamaged")));

    QTemporaryDir dir;
    QVERIFY(window.saveTo(dir.filePath(QStringLiteral("t.txt"))));
    QFile saved(dir.filePath(QStringLiteral("t.txt")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(saved.readAll()),
             ui::TrafficModel::cellText(log.at(2), ui::TrafficModel::Time) + QStringLiteral("  ") + log.at(2).line()
                 + u'\n');

    // Clear asks first; it empties the window, not the record a report is made from.
    window.commandFilter()->setCurrentIndex(0);
    window.outcomeFilter()->setCurrentIndex(0);
    QTimer::singleShot(0, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->reject();
    });
    window.askClear();
    QCOMPARE(window.table()->model()->rowCount(), 3);
    window.clearShown();
    QCOMPARE(window.table()->model()->rowCount(), 0);
    QCOMPARE(log.size(), 3);
    log.record(entry(QStringLiteral("run"), Outcome::Sent));
    QCOMPARE(window.table()->model()->rowCount(), 1);

    // Escape and Ctrl+W close it, as every tool window.
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::CTRL | Qt::Key_W)}) {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, key.key(), key.keyboardModifiers());
        QVERIFY(!window.isVisible());
    }
}

void TestTraffic::traceShowsEveryRateTried()
{
    QTemporaryDir ports;
    Sim sim(ports);
    QVERIFY(!sim.start({"--model", "21", "--silent", "--port", "1"}).isEmpty());
    const CliResult detect = runCli({"detect", "--port", "1", "--trace"});
    QVERIFY_EXIT(detect, 3);
    QVERIFY(detect.out.isEmpty()); // standard output stays clean
    QStringList rates;
    for (const QString &line : detect.err.split(u'\n')) {
        if (line.startsWith(QStringLiteral("trace: ")) && line.contains(QStringLiteral("connect  -> FE FA FC 0C"))) {
            QVERIFY2(line.endsWith(QStringLiteral("no reply")), qPrintable(line));
            static const QRegularExpression rate(QStringLiteral(" (\\d+),n,8,1 "));
            rates << rate.match(line).captured(1);
        }
    }
    QCOMPARE(rates, (QStringList{"9600", "19200", "38400", "57600", "115200"}));
    // Without --trace, none of it.
    QVERIFY(!runCli({"detect", "--port", "1"}).err.contains(QStringLiteral("trace:")));
}

void TestTraffic::reportOfFaultySensors()
{
    struct Case {
        QStringList faults;
        int exitCode;
        QStringList outcomes; // command/outcome of each exchange
    };
    const QList<Case> cases = {
        {{"--silent"},
         3,
         {"connect/no reply", "connect/no reply", "connect/no reply", "connect/no reply", "connect/no reply"}},
        {{"--noise", "2"}, 3, {"connect/answered", "read settings/damaged"}},
        {{"--short", "12"}, 3, {"connect/answered", "read settings/damaged"}},
        {{"--unplug-after", "1"}, 3, {"connect/answered", "read settings/lost device"}},
        {{}, 0, {"connect/answered", "read settings/answered"}},
    };
    for (const Case &c : cases) {
        QTemporaryDir ports;
        QTemporaryDir files;
        Sim sim(ports);
        QVERIFY(!sim.start(QStringList{"--model", "21", "--port", "1"} + c.faults).isEmpty());
        const QString path = files.filePath(QStringLiteral("report.json"));
        const CliResult result = runCli({"report", "--port", "1", "-o", path});
        QVERIFY2(result.exitCode == c.exitCode, qPrintable(c.faults.join(u' ') + u' ' + result.err));
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(c.faults.join(u' ')));
        QJsonParseError parse;
        const QJsonObject report = QJsonDocument::fromJson(file.readAll(), &parse).object();
        QCOMPARE(parse.error, QJsonParseError::NoError);
        QStringList seen;
        for (const QJsonValue &v : report.value("traffic").toArray())
            seen << v.toObject().value("command").toString() + u'/' + v.toObject().value("outcome").toString();
        QCOMPARE(seen, c.outcomes);
        QCOMPARE(report.value("lastBlock").isObject(), c.exitCode == 0);
        QCOMPARE(report.value("program").toObject().value("name").toString(), QStringLiteral("veltra-cli"));
        // The port asked for, and the result the command ended with.
        const QJsonObject subject = report.value("subject").toObject();
        QCOMPARE(subject.value("port").toString(), QStringLiteral("1"));
        QCOMPARE(subject.value("result").toString() == QStringLiteral("ok"), c.exitCode == 0);
        QVERIFY(c.exitCode == 0 || result.err.contains(subject.value("result").toString()));
    }
}

QTEST_MAIN(TestTraffic)
#include "tst_traffic.moc"
