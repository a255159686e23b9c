// The trend: its data ring and decimation, the measuring loop on a scripted
// link, the CSV recording, and how the trend window locks its owner's port.
#include "distancewindow.h"
#include "files/csvrecorder.h"
#include "findcontrol.h"
#include "fulldisk.h"
#include "levelwindow.h"
#include "portlock.h"
#include "replies.h"
#include "scriptedlink.h"
#include "session/measurementloop.h"
#include "session/sensorsession.h"
#include "session/trenddata.h"
#include "settingsfiles.h"
#include "trendchart.h"
#include "trendwindow.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenuBar>
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

#include <cmath>
#include <limits>

using namespace veltra;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::array<double, kTrendSeriesCount> distanceOnly(double d)
{
    return {d, kNaN, kNaN, kNaN};
}

SensorSettings levelBlock()
{
    QString why;
    const auto block = SensorSettings::fromReply(QString::fromLatin1(levelReply(40, 21)), &why);
    Q_ASSERT(block);
    return *block;
}

QByteArray measureReply(int distance, int temperature = 25)
{
    return "R" + QByteArray::number(distance).rightJustified(5, '0') + "cm"
           + QByteArray::number(temperature).rightJustified(3, '0') + "\r\n";
}

// All points of all runs, in order.
QList<QPointF> joined(const std::vector<TrendRun> &runs)
{
    QList<QPointF> all;
    for (const TrendRun &run : runs)
        all += run;
    return all;
}

} // namespace

class TestTrend : public QObject
{
    Q_OBJECT
private slots:
    void ringKeepsTheNewest();
    void runsBreakAtGaps();
    void decimationKeepsEveryColumnsExtremes();
    void statsOfASpanIgnoreGaps();

    void recorderWritesRowsAndStopsOnFailure();

    void loopMeasuresEachInterval();
    void damagedOrMissingReplyGivesNoValues();
    void lostAdapterStopsTheLoop();
    void awaitedReplyIsNotUnasked();

    void portLockGivesBackWhatTheWindowWanted();
    void trendLocksTheSettingsWindowWhileItRuns();
    void trendShowsGapsAndCounts();
};

void TestTrend::ringKeepsTheNewest()
{
    TrendData data(5);
    for (int i = 0; i < 12; ++i)
        data.add(i * 100, distanceOnly(i));
    QCOMPARE(data.size(), std::size_t(5));
    QCOMPARE(data.firstTime(), qint64(700));
    QCOMPARE(data.lastTime(), qint64(1100));
    for (std::size_t i = 0; i < 5; ++i)
        QCOMPARE(data.valueAt(TrendSeries::Distance, i), double(7 + i));
    // A clock that steps back does not unsort the ring.
    data.add(50, distanceOnly(99));
    QCOMPARE(data.lastTime(), qint64(1100));
    QCOMPARE(data.lowerBound(1100), std::size_t(3));
    QCOMPARE(data.lowerBound(0), std::size_t(0));
    QCOMPARE(data.lowerBound(5000), data.size());
    // The default ring holds a day at the shortest interval.
    QCOMPARE(TrendData().capacity(), std::size_t(172800));
}

void TestTrend::runsBreakAtGaps()
{
    TrendData data;
    const double values[] = {10, 11, kNaN, 13, kNaN, kNaN, 16, 17, 18};
    for (int i = 0; i < 9; ++i)
        data.add(i * 1000, distanceOnly(values[i]));
    // Fewer points than columns: every point, a gap wherever a value is missing.
    const std::vector<TrendRun> runs = data.runs(TrendSeries::Distance, 0, 8000, 800);
    QCOMPARE(runs.size(), std::size_t(3));
    QCOMPARE(runs[0], (TrendRun{{0, 10}, {1000, 11}}));
    QCOMPARE(runs[1], (TrendRun{{3000, 13}}));
    QCOMPARE(runs[2], (TrendRun{{6000, 16}, {7000, 17}, {8000, 18}}));
    // Only the span asked for.
    QCOMPARE(joined(data.runs(TrendSeries::Distance, 6500, 7500, 800)), (QList<QPointF>{{7000, 17}}));
    // A series without any value draws nothing.
    QVERIFY(data.runs(TrendSeries::Current, 0, 8000, 800).empty());
}

void TestTrend::decimationKeepsEveryColumnsExtremes()
{
    TrendData data;
    QRandomGenerator random(7);
    const int points = 20000;
    for (int i = 0; i < points; ++i) {
        // Noise, a few spikes and a stretch of failed exchanges.
        double v = 100 + random.bounded(10.0);
        if (i % 997 == 0)
            v = 500 + i % 13;
        if (i % 1499 == 0)
            v = -50;
        if (i >= 12000 && i < 12600)
            v = kNaN;
        data.add(i * 500, distanceOnly(v));
    }
    const int columns = 300;
    const qint64 from = 0;
    const qint64 to = qint64(points - 1) * 500;
    const std::vector<TrendRun> runs = data.runs(TrendSeries::Distance, from, to, columns);
    const QList<QPointF> drawn = joined(runs);
    QVERIFY(drawn.size() <= 2 * columns);
    // The stretch without values is a gap: the line is broken there.
    QVERIFY(runs.size() >= 2);
    for (const QPointF &p : drawn)
        QVERIFY(p.x() < 12000 * 500 || p.x() >= 12600 * 500);
    // Points stay in time order.
    for (qsizetype i = 1; i < drawn.size(); ++i)
        QVERIFY(drawn[i].x() >= drawn[i - 1].x());
    // Every column's smallest and largest value is among the points drawn.
    const double span = double(to - from) + 1;
    for (int c = 0; c < columns; ++c) {
        const qint64 start = from + qint64(std::floor(span * c / columns));
        const qint64 end = from + qint64(std::floor(span * (c + 1) / columns));
        double low = std::numeric_limits<double>::infinity();
        double high = -low;
        for (std::size_t i = data.lowerBound(start); i < data.lowerBound(end); ++i) {
            const double v = data.valueAt(TrendSeries::Distance, i);
            if (!std::isnan(v)) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
        if (std::isinf(low))
            continue;
        bool sawLow = false, sawHigh = false;
        for (const QPointF &p : drawn) {
            if (p.x() >= start && p.x() < end) {
                sawLow = sawLow || p.y() == low;
                sawHigh = sawHigh || p.y() == high;
            }
        }
        QVERIFY2(sawLow && sawHigh, qPrintable(QStringLiteral("column %1").arg(c)));
    }
}

void TestTrend::statsOfASpanIgnoreGaps()
{
    TrendData data;
    const double values[] = {4, kNaN, 8, 6, kNaN, 100};
    for (int i = 0; i < 6; ++i)
        data.add(i * 1000, {values[i], values[i] / 2, kNaN, 12});
    const TrendSpanStats s = data.stats(TrendSeries::Distance, 0, 3000);
    QCOMPARE(s.count, 3);
    QCOMPARE(s.minimum, 4.0);
    QCOMPARE(s.maximum, 8.0);
    QCOMPARE(s.mean, 6.0);
    QCOMPARE(data.stats(TrendSeries::Level, 0, 5000).maximum, 50.0);
    QCOMPARE(data.stats(TrendSeries::Temperature, 0, 5000).count, 0);
    QCOMPARE(data.stats(TrendSeries::Current, 1000, 1000).count, 1);
}

void TestTrend::recorderWritesRowsAndStopsOnFailure()
{
    QTemporaryDir dir;
    const SensorSettings block = levelBlock();
    const QDateTime time(QDate(2026, 12, 9), QTime(8, 30, 0, 250), Qt::UTC);
    const MeasurementSample good{time, 0, QString(), measurementRow(block, QString::fromLatin1(measureReply(120)))};
    const MeasurementSample none{time.addSecs(1), 1000, QString(), measurementRow(block, QString())};

    CsvRecorder recorder;
    const QString path = dir.filePath(QStringLiteral("trend.csv"));
    QVERIFY(recorder.open(path, SensorFamily::Level));
    QVERIFY(recorder.append(good));
    QVERIFY(recorder.append(none));
    // Each row is in the file at once, before the recording ends.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("time,distance,temperature,level,current\n"
                                                               "2026-12-09T08:30:00.250Z,120,25,180,15.52\n"
                                                               "2026-12-09T08:30:01.250Z,,,,\n"));
    QCOMPARE(recorder.rows(), 2);

    // The file removed under the recording: it stops and says so.
    QVERIFY(QFile::remove(path));
    QVERIFY(!recorder.append(good));
    QVERIFY(!recorder.isOpen());
    QVERIFY(recorder.error().contains(QStringLiteral("no longer there")));

    // A full disk.
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        CsvRecorder full;
        QVERIFY(!full.open(QStringLiteral("/dev/full"), SensorFamily::Distance));
        QVERIFY(full.error().startsWith(QStringLiteral("Recording to /dev/full stopped")));
        QVERIFY2(full.error().contains(QStringLiteral("No space left on device")), qPrintable(full.error()));
        QVERIFY(!full.isOpen());
    }
    // A folder that does not exist.
    CsvRecorder nowhere;
    QVERIFY(!nowhere.open(dir.filePath(QStringLiteral("no/such/trend.csv")), SensorFamily::Level));
    QVERIFY(nowhere.error().contains(QStringLiteral("cannot be written")));
}

void TestTrend::loopMeasuresEachInterval()
{
    ScriptedLink link;
    SensorSession session(link);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("19200")));
    int distance = 100;
    link.setResponder([&distance](const QByteArray &, const QString &) { return measureReply(distance++); });
    link.clearJournal();

    MeasurementLoop loop(session, levelBlock());
    loop.setInterval(200); // below the reply wait: held at 500 ms
    QCOMPARE(loop.interval(), 500);
    loop.setInterval(700);
    QList<MeasurementSample> samples;
    connect(&loop, &MeasurementLoop::measured, this, [&](const MeasurementSample &s) { samples << s; });
    QSignalSpy running(&loop, &MeasurementLoop::runningChanged);
    loop.start();
    QCOMPARE(running.size(), 1);
    // Nothing is read before the reply wait is over: the event loop runs meanwhile.
    QCOMPARE(link.journal(), (QStringList{"receive", "send"}));
    QTRY_COMPARE_WITH_TIMEOUT(samples.size(), 3, 5000);
    loop.stop();
    QCOMPARE(running.size(), 2);
    QCOMPARE(samples[0].row.distance, QStringLiteral("100"));
    QCOMPARE(samples[2].row.distance, QStringLiteral("102"));
    QCOMPARE(samples[1].row.level, QStringLiteral("199")); // Empty 300 - 101
    // Each exchange starts an interval after the one before, and waits for its reply.
    for (int i = 1; i < samples.size(); ++i)
        QVERIFY2(samples[i].elapsedMs - samples[i - 1].elapsedMs >= 700 - 1, qPrintable(QString::number(i)));
    // Stopped means stopped: no more requests.
    const int sent = link.sent().size();
    QTest::qWait(900);
    QCOMPARE(link.sent().size(), sent);
}

void TestTrend::damagedOrMissingReplyGivesNoValues()
{
    ScriptedLink link;
    SensorSession session(link);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("19200")));
    link.queueReply(measureReply(150));
    link.queueReply("R00x50cm025\r\n"); // damaged
    link.queueReply("");                // silent
    link.queueReply(measureReply(151));
    MeasurementLoop loop(session, levelBlock());
    loop.setInterval(500);
    QList<MeasurementSample> samples;
    connect(&loop, &MeasurementLoop::measured, this, [&](const MeasurementSample &s) { samples << s; });
    loop.start();
    QTRY_COMPARE_WITH_TIMEOUT(samples.size(), 4, 6000);
    loop.stop();
    QVERIFY(samples[0].row.answered);
    QVERIFY(samples[1].row.damaged && !samples[1].row.answered);
    QVERIFY(std::isnan(samples[1].row.distanceValue()));
    QVERIFY(!samples[2].row.answered && !samples[2].row.damaged);
    QVERIFY(std::isnan(samples[2].row.levelValue()));
    QCOMPARE(samples[3].row.distanceValue(), 151.0);
}

void TestTrend::lostAdapterStopsTheLoop()
{
    ScriptedLink link;
    SensorSession session(link);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("19200")));
    link.setResponder([](const QByteArray &, const QString &) { return measureReply(100); });
    MeasurementLoop loop(session, levelBlock());
    loop.setInterval(500);
    QSignalSpy failed(&loop, &MeasurementLoop::linkFailed);
    int measured = 0;
    connect(&loop, &MeasurementLoop::measured, this, [&] {
        if (++measured == 2)
            link.unplugAfterNextSend();
    });
    loop.start();
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 5000);
    QVERIFY(!loop.isRunning());
    QCOMPARE(measured, 2);
    QCOMPARE(session.failure().kind, SessionFailure::Kind::Link);
}

void TestTrend::awaitedReplyIsNotUnasked()
{
    ScriptedLink link;
    SensorSession session(link);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("19200")));
    QSignalSpy events(&session, &SensorSession::linkEvent);
    QVERIFY(session.sendMeasureRequest());
    link.arrive(measureReply(100) + "more than twelve");
    QCOMPARE(events.size(), 0);
    QCOMPARE(session.takeReply().value_or(QString()), QString::fromLatin1(measureReply(100) + "more than twelve"));
    // Afterwards characters nobody asked for are announced again.
    link.arrive("unasked characters");
    QCOMPARE(events.size(), 1);
    // A reply given up on does not silence the port either.
    QVERIFY(session.sendMeasureRequest());
    session.abandonReply();
    link.arrive("unasked characters");
    QCOMPARE(events.size(), 2);
}

void TestTrend::portLockGivesBackWhatTheWindowWanted()
{
    QWidget window;
    auto *read = new QPushButton(&window);
    auto *write = new QPushButton(&window);
    auto *run = new QPushButton(&window);
    write->setEnabled(false);
    run->setEnabled(false);
    ui::PortLock lock({read, write, run});
    lock.setLocked(true);
    QVERIFY(!read->isEnabled() && !write->isEnabled() && !run->isEnabled());
    // The window's own timer enables Write meanwhile: it stays locked...
    write->setEnabled(true);
    QVERIFY(!write->isEnabled());
    lock.setLocked(false);
    // ...and comes back as the window last set it; the others as they were.
    QVERIFY(read->isEnabled());
    QVERIFY(write->isEnabled());
    QVERIFY(!run->isEnabled());
    // Unlocked, the controls are the window's again.
    read->setEnabled(false);
    QVERIFY(!read->isEnabled());
}

void TestTrend::trendLocksTheSettingsWindowWhileItRuns()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow window(session);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("19200")));
    QVERIFY(QTest::qWaitFor([&] { return named<QPushButton>(window, "Command5")->isEnabled(); }, 1000));
    auto *menu = window.findChild<ui::SettingsMenu *>();
    QVERIFY(menu && menu->trendAction());
    QVERIFY(!menu->trendAction()->isEnabled()); // nothing read yet
    link.queueReply(levelReply(40, 21));
    named<QPushButton>(window, "Command5")->click();
    QVERIFY(menu->trendAction()->isEnabled());
    QVERIFY(named<QPushButton>(window, "Command4")->isEnabled());

    auto *runButton = window.findChild<QPushButton *>(QStringLiteral("Command2"));
    const bool runWasEnabled = runButton->isEnabled();
    link.setResponder([](const QByteArray &, const QString &) { return measureReply(120); });
    menu->trendAction()->trigger();
    auto *trend = window.findChild<TrendWindow *>();
    QVERIFY(trend);
    QCOMPARE(trend->windowTitle(), QStringLiteral("Trend — DVT-14C01"));
    QVERIFY(trend->isRunning());
    const QList<QPushButton *> portButtons
        = {named<QPushButton>(window, "Command5"), named<QPushButton>(window, "Command4"),
           named<QPushButton>(window, "Command1"), runButton};
    for (QPushButton *b : portButtons)
        QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    QTRY_COMPARE_WITH_TIMEOUT(trend->goodCount(), 2, 3000);
    QCOMPARE(trend->latestText(TrendSeries::Level), QStringLiteral("180 cm"));

    // Stopping gives the buttons back as they were (RUN as Read left it),
    // once a reply still on its way has been taken.
    trend->stop();
    QTRY_VERIFY(!trend->isRunning());
    QVERIFY(named<QPushButton>(window, "Command5")->isEnabled());
    QVERIFY(named<QPushButton>(window, "Command4")->isEnabled());
    QVERIFY(named<QPushButton>(window, "Command1")->isEnabled());
    QCOMPARE(runButton->isEnabled(), runWasEnabled);
    // Started again from the menu, then closed: the same.
    menu->trendAction()->trigger();
    QCOMPARE(window.findChildren<TrendWindow *>().size(), 1);
    QVERIFY(!named<QPushButton>(window, "Command5")->isEnabled());
    // Its chart holds measurements: closing asks first.
    QString asked;
    QTimer::singleShot(0, [&asked] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        asked = box->text();
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == QStringLiteral("Close"))
                b->click();
        }
    });
    trend->close();
    QCOMPARE(asked, QStringLiteral("Close the trend?"));
    QTRY_VERIFY(window.findChild<TrendWindow *>() == nullptr);
    QVERIFY(named<QPushButton>(window, "Command5")->isEnabled());
    QVERIFY(named<QPushButton>(window, "Command4")->isEnabled());
}

void TestTrend::trendShowsGapsAndCounts()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow window(session);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("19200")));
    QVERIFY(QTest::qWaitFor([&] { return named<QPushButton>(window, "Command5")->isEnabled(); }, 1000));
    link.queueReply(blockReply({40, 5, 0, 1, 15, 98, 90, 1, 44, 0, 250, 0, 50, 0, 90}));
    named<QPushButton>(window, "Command5")->click();
    auto *menu = window.findChild<ui::SettingsMenu *>();
    QVERIFY(menu->trendAction()->isEnabled());
    int n = 0;
    link.setResponder([&n](const QByteArray &, const QString &) {
        ++n;
        return n == 2 ? QByteArray("R00") : measureReply(200 + n); // the second is cut short
    });
    menu->trendAction()->trigger();
    auto *trend = window.findChild<TrendWindow *>();
    QVERIFY(trend);
    QVERIFY(!named<QPushButton>(window, "Command1")->isEnabled());
    // A distance sensor plots distance and temperature only.
    QCOMPARE(trend->chart()->seriesShown(),
             (std::vector<TrendSeries>{TrendSeries::Distance, TrendSeries::Temperature}));
    QCOMPARE(trend->statsTable()->rowCount(), 2);
    // The time axis has room for its labels and title below the plot.
    QTRY_VERIFY(trend->chart()->isVisible());
    QVERIFY(trend->chart()->chart()->plotArea().bottom() + 2 * trend->fontMetrics().height()
            < trend->chart()->chart()->size().height());
    QTRY_COMPARE_WITH_TIMEOUT(trend->goodCount(), 3, 4000);
    trend->stop();
    QTRY_VERIFY(!trend->isRunning());
    QCOMPARE(trend->failedCount(), 1);
    trend->redrawNow();
    // The damaged exchange is a gap: two lines, no invented point.
    QCOMPARE(trend->data().size(), std::size_t(4));
    QVERIFY(std::isnan(trend->data().valueAt(TrendSeries::Distance, 1)));
    QCOMPARE(trend->chart()->runsDrawn(TrendSeries::Distance), 2);
    QCOMPARE(trend->chart()->pointsDrawn(TrendSeries::Distance), 3);
    QCOMPARE(trend->statsTable()->item(0, 0)->text(), QStringLiteral("201"));
    QCOMPARE(trend->statsTable()->item(0, 1)->text(), QStringLiteral("204"));
    QCOMPARE(trend->statsTable()->item(0, 2)->text(), QStringLiteral("202.67"));
    QVERIFY(named<QPushButton>(window, "Command1")->isEnabled());

    // Export Image writes a whole PNG, or says why and leaves nothing.
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    QVERIFY(trend->exportImage(png));
    QVERIFY(!QImage(png).isNull());
    QTimer::singleShot(0, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->close();
    });
    QVERIFY(!trend->exportImage(dir.filePath(QStringLiteral("no/such/chart.png"))));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("chart.png")});
    // On a full disk the image already there stays as it was.
    QFile before(png);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray kept = before.readAll();
    before.close();
    QTimer::singleShot(0, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->close();
    });
    {
        const FullDisk full(512);
        trend->resize(trend->size() + QSize(40, 0)); // a different image
        QVERIFY(!trend->exportImage(png));
    }
    QVERIFY(before.open(QIODevice::ReadOnly));
    QCOMPARE(before.readAll(), kept);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("chart.png")});
}

QTEST_MAIN(TestTrend)
#include "tst_trend.moc"
