// The trend's data and drawing at scale: 24 hours of 0.5 s points (172,800
// exchanges, four series each) fed to TrendData, and the chart redrawn at
// several fill levels, both as the live view (the last 10 minutes) and with
// the whole day shown. Prints the time to add a point and to redraw, and the
// memory the full ring takes. Timings are printed, never judged.
//
//   veltra-bench-trend [-platform offscreen]
#include "session/trenddata.h"
#include "trendchart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace veltra;

namespace {

long rssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// A tank that fills and empties over the day, with noise, spikes and a
// failed exchange now and then.
std::array<double, kTrendSeriesCount> pointAt(std::size_t i)
{
    if (i % 997 == 0)
        return {NAN, NAN, NAN, NAN};
    const double t = double(i) / 172800.0;
    double distance = 150 + 100 * std::sin(2 * M_PI * t * 3) + double((i * 7919) % 13) - 6;
    if (i % 1301 == 0)
        distance += 80;
    const double level = 300 - distance;
    return {distance, level, 20 + 5 * std::sin(2 * M_PI * t), 4 + 16 * level / 280};
}

struct Timing {
    double mean = 0, worst = 0;
};

template <typename F>
Timing timeEach(int times, F &&f)
{
    Timing t;
    QElapsedTimer clock;
    for (int i = 0; i < times; ++i) {
        clock.start();
        f();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        t.mean += ms / times;
        t.worst = std::max(t.worst, ms);
    }
    return t;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const long before = rssKb();
    TrendData data;
    const long ring = rssKb();
    TrendChart chart(true, true, QStringLiteral("cm"));
    chart.resize(900, 520);
    chart.show();
    QApplication::processEvents();
    const qint64 step = 500;
    const qint64 liveSpan = 10 * 60 * 1000;

    std::printf("Trend data and chart, %zu points a series at most (24 h at 0.5 s), chart %dx%d px\n\n",
                data.capacity(), chart.width(), chart.height());
    std::printf("%10s %10s %8s %10s %8s %10s %8s\n", "", "add (us)", "", "live view", "(ms)", "24 h view", "(ms)");
    std::printf("%10s %10s %8s %10s %8s %10s %8s\n", "points", "mean", "worst", "update", "paint", "update", "paint");
    double worstRedraw = 0;
    const std::size_t marks[] = {1000, 43200, 86400, 172800, 172800 + 43200};
    std::size_t added = 0;
    Timing addAll;
    for (std::size_t mark : marks) {
        Timing add;
        QElapsedTimer clock;
        const std::size_t n = mark - added;
        for (; added < mark; ++added) {
            clock.start();
            data.add(qint64(added) * step, pointAt(added));
            const double us = double(clock.nsecsElapsed()) / 1e3;
            add.mean += us / double(n);
            add.worst = std::max(add.worst, us);
        }
        addAll.worst = std::max(addAll.worst, add.worst);
        // One redraw: decimate every series and update the chart, then paint it.
        const qint64 newest = data.lastTime();
        const auto redraw = [&](qint64 from) {
            const Timing update = timeEach(10, [&] { chart.draw(data, 0, from, newest); });
            const Timing paint = timeEach(10, [&] { chart.grab(); });
            return std::pair{update, paint};
        };
        const auto [liveUpdate, livePaint] = redraw(std::max<qint64>(newest - liveSpan, 0));
        const auto [dayUpdate, dayPaint] = redraw(data.firstTime());
        std::printf("%10zu %10.2f %8.1f %10.2f %8.2f %10.2f %8.2f%s\n", data.size(), add.mean, add.worst,
                    liveUpdate.mean, livePaint.mean, dayUpdate.mean, dayPaint.mean,
                    mark > data.capacity() ? "  (ring full, oldest dropped)" : "");
        worstRedraw = std::max({worstRedraw, liveUpdate.worst + livePaint.worst, dayUpdate.worst + dayPaint.worst});
    }
    // The decimation alone, over the full ring.
    const Timing decimate = timeEach(20, [&] {
        for (TrendSeries s :
             {TrendSeries::Distance, TrendSeries::Level, TrendSeries::Temperature, TrendSeries::Current})
            data.runs(s, data.firstTime(), data.lastTime(), 880);
    });
    std::printf("\nWorst add: %.1f us; worst redraw (update and paint): %.1f ms\n", addAll.worst / 1, worstRedraw);
    std::printf("Decimating all four series of the full ring to 880 columns: %.2f ms (max %.2f)\n", decimate.mean,
                decimate.worst);
    std::printf("Points drawn for the distance over 24 h: %d in %d lines\n", chart.pointsDrawn(TrendSeries::Distance),
                chart.runsDrawn(TrendSeries::Distance));
    std::printf("Memory: the empty ring takes %.1f MB (resident once filled: %.1f MB); the process %.1f MB in all\n",
                double(ring - before) / 1024, double(rssKb() - before) / 1024, double(rssKb()) / 1024);
    return 0;
}
