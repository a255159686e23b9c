// The trend's ring and its decimation, driven by fuzzed points and spans:
// the lines hold only stored values, in time order, inside the span, no
// more than two a column; the statistics agree with the values.
#include "fuzzcheck.h"
#include "session/trenddata.h"

#include <cmath>
#include <cstring>

using namespace veltra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 8)
        return 0;
    // A small ring, so it wraps often.
    TrendData trend(std::size_t(data[0] % 50) + 1);
    const int columns = data[1] % 40 + 1;
    std::size_t at = 2;
    qint64 time = 0;
    while (at + 3 <= size - 4) {
        time += data[at] % 4 == 0 ? 0 : data[at]; // sometimes two at one time
        const double v = data[at + 1] == 255 ? NAN : double(int(data[at + 1]) - 100) + data[at + 2] / 256.0;
        trend.add(data[at] == 7 ? time - 50 : time, {v, -v, v / 2, v * 3}); // and now and then a clock gone back
        at += 3;
    }
    const qint64 from = qint64(data[size - 4]) * 4;
    const qint64 to = from + qint64(data[size - 3]) * data[size - 2];
    for (TrendSeries series : {TrendSeries::Distance, TrendSeries::Level, TrendSeries::Temperature}) {
        const std::vector<TrendRun> runs = trend.runs(series, from, to, columns);
        std::size_t points = 0;
        double last = -1e300;
        for (const TrendRun &run : runs) {
            FUZZ_CHECK(!run.isEmpty());
            for (const QPointF &p : run) {
                FUZZ_CHECK(p.x() >= double(from) && p.x() <= double(to));
                FUZZ_CHECK(p.x() >= last);
                FUZZ_CHECK(!std::isnan(p.y()));
                last = p.x();
                ++points;
            }
        }
        const std::size_t inSpan = trend.lowerBound(to + 1) - trend.lowerBound(from);
        FUZZ_CHECK(points <= std::max(inSpan, std::size_t(0)));
        if (inSpan > std::size_t(columns))
            FUZZ_CHECK(points <= std::size_t(2 * columns));
        const TrendSpanStats stats = trend.stats(series, from, to);
        FUZZ_CHECK(stats.count == 0 || (stats.minimum <= stats.mean + 1e-9 && stats.mean <= stats.maximum + 1e-9));
        for (const TrendRun &run : runs) {
            for (const QPointF &p : run)
                FUZZ_CHECK(p.y() >= stats.minimum && p.y() <= stats.maximum);
        }
    }
    for (std::size_t i = 1; i < trend.size(); ++i)
        FUZZ_CHECK(trend.timeAt(i) >= trend.timeAt(i - 1));
    return 0;
}
