// The trend window end to end: the program against veltra-sim, measuring on
// its own timer while the windows stay usable, recording what the simulated
// sensor sent, and stopping cleanly when the adapter goes away.
#include "distancewindow.h"
#include "findcontrol.h"
#include "messageboxes.h"
#include "programrun.h"
#include "session/trenddata.h"
#include "settingsfiles.h"
#include "shots.h"
#include "trendchart.h"
#include "trendwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>

using namespace veltra;

namespace {

// The simulator's measure answers in the order it sent them ("R00150cm025").
QStringList measureAnswers(const QString &log)
{
    QStringList answers;
    static const QRegularExpression sent(QStringLiteral("^veltra-sim: -> (R+[^\\\\]*)\\\\r\\\\n$"),
                                         QRegularExpression::MultilineOption);
    for (auto it = sent.globalMatch(log); it.hasNext();)
        answers << it.next().captured(1);
    return answers;
}

QStringList fileLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QList<QPushButton *> levelPortButtons(LevelWindow &w)
{
    return {named<QPushButton>(w, "Command5"), named<QPushButton>(w, "Command4"), named<QPushButton>(w, "Command1"),
            w.findChild<QPushButton *>(QStringLiteral("Command2"))};
}

TrendWindow *openTrend(QWidget &window)
{
    auto *menu = window.findChild<ui::SettingsMenu *>();
    if (!menu || !menu->trendAction()->isEnabled())
        return nullptr;
    menu->trendAction()->trigger();
    return window.findChild<TrendWindow *>();
}

} // namespace

class TestTrendEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void recordsWhatTheSensorSent();
    void lostAdapterComesBackAndTheTrendGoesOn();
    void distanceSensorTrend();
    void stoppedTrendLeavesNoReplyBehind();
};

void TestTrendEndToEnd::recordsWhatTheSensorSent()
{
    ProgramRun run;
    // A level that ramps; the third answer comes damaged ("RR00…").
    QVERIFY(run.openLevelWindow(
        {"--model", "21", "--baud", "19200", "--distance", "150", "--wave", "ramp:40:4", "--prefix", "measure:3:R"}));
    LevelWindow &form2 = run.program.levelWindow();
    named<QPushButton>(form2, "Command5")->click();
    const QString empty = form2.findChild<ui::SettingsMenu *>()->lastRead()->text(Setting::Empty);
    QCOMPARE(empty, QStringLiteral("300"));

    TrendWindow *trend = openTrend(form2);
    QVERIFY(trend);
    trend->setIntervalSeconds(0.5);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("level.csv"));
    QVERIFY(trend->startRecording(csv));
    for (QPushButton *b : levelPortButtons(form2))
        QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    // The window stays usable while the trend waits for replies.
    QElapsedTimer clock;
    clock.start();
    int turns = 0;
    while (trend->goodCount() + trend->failedCount() < 7 && clock.elapsed() < 10000) {
        QTest::qWait(20);
        ++turns;
    }
    QCOMPARE(trend->goodCount() + trend->failedCount(), 7);
    QVERIFY(turns > 20);
    // A chart saved meanwhile does not hide that rows are being recorded.
    QVERIFY(trend->exportImage(dir.filePath(QStringLiteral("chart.png"))));
    // The picture is titled with the model, the port and the span it shows.
    QVERIFY2(QRegularExpression(QStringLiteral("^DVT-14C01 on port 1 \\(/dev/pts/\\d+\\), \\d{4}-\\d\\d-\\d\\d "
                                               "\\d\\d:\\d\\d:\\d\\d to \\d\\d:\\d\\d:\\d\\d$"))
                 .match(trend->imageCaption())
                 .hasMatch(),
             qPrintable(trend->imageCaption()));
    auto *recording = trend->findChild<QLabel *>(QStringLiteral("TrendRecording"));
    saveShot(trend, QStringLiteral("trend"));
    QVERIFY(recording->isVisible() && recording->text().contains(csv));
    trend->stop();
    trend->stopRecording();
    QVERIFY(!recording->isVisible());
    QTRY_VERIFY(!trend->isRunning()); // a reply still on its way is taken first
    QCOMPARE(trend->failedCount(), 1);
    for (QPushButton *b : levelPortButtons(form2))
        QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));

    // Every recorded row is what the sensor sent, worked out as the window does.
    const QStringList rows = fileLines(csv);
    // The simulator may have answered one more request, sent just before
    // the stop: its reply was taken off the port and dropped.
    const QStringList answers = measureAnswers(run.sim.log());
    const int completed = trend->goodCount() + trend->failedCount();
    QVERIFY(answers.size() == completed || answers.size() == completed + 1);
    QCOMPARE(rows.first(), QStringLiteral("time,distance,temperature,level,current"));
    QVERIFY(rows.size() >= 5);
    const QStringList recorded = answers.mid(completed - (rows.size() - 1), rows.size() - 1);
    for (int i = 1; i < rows.size(); ++i) {
        const QStringList f = rows[i].split(u',');
        QCOMPARE(f.size(), 5);
        QVERIFY(QDateTime::fromString(f[0], Qt::ISODateWithMs).isValid());
        const QString answer = recorded[i - 1];
        if (answer.startsWith(QStringLiteral("RR"))) {
            QCOMPARE(f.mid(1), (QStringList{"", "", "", ""})); // damaged: a gap, no values
            continue;
        }
        const int distance = answer.mid(1, 5).toInt();
        QCOMPARE(f[1], QString::number(distance));
        QCOMPARE(f[2], QString::number(answer.mid(8, 3).toInt()));
        QCOMPARE(f[3], QString::number(300 - distance));
        QVERIFY(!f[4].isEmpty());
    }
    // The plot holds the same exchanges: one gap.
    int gaps = 0;
    for (std::size_t i = 0; i < trend->data().size(); ++i)
        gaps += std::isnan(trend->data().valueAt(TrendSeries::Distance, i)) ? 1 : 0;
    QCOMPARE(gaps, 1);
}

void TestTrendEndToEnd::lostAdapterComesBackAndTheTrendGoesOn()
{
    QTemporaryDir byId;
    qputenv("VELTRA_BYID_DIR", byId.path().toLocal8Bit());
    const QString adapter = QStringLiteral("usb-FTDI_FT232R_USB_UART_A10K5XYZ-if00-port0");
    ProgramRun run;
    // Connect, the connected notice's read, Read, then a few measurements
    // before the adapter goes.
    QVERIFY(run.openLevelWindow({"--model", "21", "--baud", "19200", "--unplug-after", "6", "--adapter", adapter}));
    LevelWindow &form2 = run.program.levelWindow();
    named<QPushButton>(form2, "Command5")->click();
    TrendWindow *trend = openTrend(form2);
    QVERIFY(trend);
    trend->setIntervalSeconds(0.5);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("overnight.csv"));
    QVERIFY(trend->startRecording(csv));

    // Lost: the trend says so and waits, keeping the port; no message window.
    QTRY_VERIFY_WITH_TIMEOUT(trend->isWaitingForAdapter(), 10000);
    const QDateTime lost = QDateTime::currentDateTime();
    QVERIFY2(trend->statusLabel()->text().startsWith(QStringLiteral("Adapter lost at ")),
             qPrintable(trend->statusLabel()->text()));
    QVERIFY(trend->isRunning());
    QVERIFY(!trend->findChild<QMessageBox *>(QStringLiteral("LinkFailure")));
    for (QPushButton *b : levelPortButtons(form2))
        QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    QCOMPARE(trend->failedCount(), 1); // the exchange the adapter went in
    // A DVT-14C01 has no 4-20 mA output: its window shows no current, nor
    // does its trend.
    QVERIFY(!trend->chart()->isSeriesShown(TrendSeries::Current));
    QCOMPARE(trend->chart()->runsDrawn(TrendSeries::Current), 0);

    // Back two seconds later under another device (and port number).
    const int good = trend->goodCount();
    QTest::qWait(2000);
    Sim back(run.ports);
    QVERIFY(!back.start({"--model", "21", "--baud", "19200", "--port", "2", "--adapter", adapter}).isEmpty());
    const QDateTime returned = QDateTime::currentDateTime();
    QTRY_VERIFY_WITH_TIMEOUT(trend->goodCount() >= good + 3, 5000);
    QVERIFY(!trend->isWaitingForAdapter());
    QVERIFY(trend->countsLabel()->text().contains(QStringLiteral("Adapter away: ")));
    trend->stop();
    QTRY_VERIFY(!trend->isRunning());
    trend->stopRecording();
    trend->redrawNow();
    QCOMPARE(trend->chart()->runsDrawn(TrendSeries::Distance), 2);

    // The recording resumed within a second of the return, with no row for
    // the time away and none twice.
    QList<QDateTime> times;
    for (const QString &row : fileLines(csv).mid(1))
        times << QDateTime::fromString(row.section(u',', 0, 0), Qt::ISODateWithMs);
    QList<QDateTime> after;
    for (const QDateTime &t : times) {
        QVERIFY2(t < lost || t >= returned, qPrintable(t.toString(Qt::ISODateWithMs)));
        if (t >= returned)
            after << t;
    }
    QVERIFY(after.size() >= 3);
    QVERIFY2(returned.msecsTo(after.first()) <= 1000, qPrintable(QString::number(returned.msecsTo(after.first()))));
    for (qsizetype i = 1; i < times.size(); ++i)
        QVERIFY(times[i] > times[i - 1]);
    qunsetenv("VELTRA_BYID_DIR");
}

void TestTrendEndToEnd::distanceSensorTrend()
{
    ProgramRun run;
    QVERIFY(run.openDistanceWindow({"--model", "90", "--baud", "19200", "--distance", "321", "--temperature", "19"}));
    DistanceWindow &form6 = run.program.distanceWindow();
    named<QPushButton>(form6, "Command5")->click();
    TrendWindow *trend = openTrend(form6);
    QVERIFY(trend);
    QCOMPARE(trend->windowTitle(), QStringLiteral("Trend — DVZ-900"));
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("distance.csv"));
    QVERIFY(trend->startRecording(csv));
    QVERIFY(!named<QPushButton>(form6, "Command1")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(trend->goodCount(), 2, 5000);
    QCOMPARE(trend->latestText(TrendSeries::Distance), QStringLiteral("321 cm"));
    QCOMPARE(trend->latestText(TrendSeries::Temperature), QStringLiteral("19 °C"));
    // A chart with measurements asks before it goes; Cancel keeps it.
    QVERIFY(answeringBoxes(QStringLiteral("Cancel"), [trend] { trend->close(); })
                .value(0)
                .startsWith(QStringLiteral("Close the trend?")));
    QVERIFY(trend->isVisible());
    const QString asked = answeringBoxes(QStringLiteral("Close"), [trend] { trend->close(); }).join(u'\n');
    QVERIFY2(asked.contains(QStringLiteral("the recording in %1 keeps its rows").arg(csv)), qPrintable(asked));
    QTRY_VERIFY(!form6.findChild<TrendWindow *>());
    QVERIFY(named<QPushButton>(form6, "Command1")->isEnabled());
    const QStringList rows = fileLines(csv);
    QCOMPARE(rows.first(), QStringLiteral("time,distance,temperature"));
    QVERIFY(rows.size() >= 2);
    QVERIFY(rows[1].endsWith(QStringLiteral(",321,19")));
}

void TestTrendEndToEnd::stoppedTrendLeavesNoReplyBehind()
{
    ProgramRun run;
    // A level that keeps moving, so an old answer is told from a new one.
    QVERIFY(run.openLevelWindow({"--model", "21", "--baud", "19200", "--distance", "100", "--wave", "ramp:50:5"}));
    LevelWindow &form2 = run.program.levelWindow();
    named<QPushButton>(form2, "Command5")->click();
    const auto buttonsBack = [&form2] {
        for (QPushButton *b : levelPortButtons(form2)) {
            if (!b->isEnabled())
                return false;
        }
        return true;
    };

    // Stopped (then closed) with its first request out: the buttons come
    // back only once its reply has been taken, and Read gets a clean block.
    TrendWindow *trend = openTrend(form2);
    QVERIFY(trend && trend->isRunning());
    trend->stop();
    QVERIFY(!buttonsBack());
    QTRY_VERIFY(buttonsBack());
    QTest::qWait(300);
    // No late reply was taken for characters the sensor sent unasked (which
    // lock the window as a running sensor's do).
    QVERIFY(buttonsBack());
    const int reads = int(run.sim.log().count(QStringLiteral("<- read settings")));
    QCOMPARE(closingBoxes([&form2] { named<QPushButton>(form2, "Command5")->click(); }), QStringList());
    QTest::qWait(150);
    QCOMPARE(int(run.sim.log().count(QStringLiteral("<- read settings"))), reads + 1);

    // Closed in flight: Get Level shows the sensor's answer to it, not the
    // trend's last.
    trend = openTrend(form2);
    QVERIFY(trend && trend->isRunning());
    trend->close();
    QTRY_VERIFY(buttonsBack());
    QTRY_VERIFY(!form2.findChild<TrendWindow *>());
    QTest::qWait(1200); // the ramp moves on
    QCOMPARE(closingBoxes([&form2] { named<QPushButton>(form2, "Command1")->click(); }), QStringList());
    QTest::qWait(150);
    const QStringList answers = measureAnswers(run.sim.log());
    QVERIFY(!answers.isEmpty());
    QCOMPARE(named<QLineEdit>(form2, "Text1")->text().trimmed(), answers.constLast());
}

QTEST_MAIN(TestTrendEndToEnd)
#include "tst_trend_e2e.moc"
