#pragma once

#include <QList>
#include <QPointF>

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace veltra {

// The values a trend keeps of each measurement.
enum class TrendSeries { Distance, Level, Temperature, Current };
constexpr std::size_t kTrendSeriesCount = 4;

// A run of points drawn as one line; a gap (an exchange without values)
// ends a run.
using TrendRun = QList<QPointF>;

// What the points of a time span hold, for one series.
struct TrendSpanStats {
    int count = 0; // points with a value
    double minimum = 0;
    double maximum = 0;
    double mean = 0;
};

// The measurements of a trend: a ring of the newest `capacity` exchanges,
// each with its time (milliseconds since the trend started, never
// decreasing) and a value per series, NaN where the exchange gave none.
// Adding a point takes constant time; the oldest point goes when the ring is
// full.
class TrendData
{
public:
    // 24 hours at the shortest interval, 0.5 s.
    static constexpr std::size_t kDefaultCapacity = 24 * 60 * 60 * 2;

    explicit TrendData(std::size_t capacity = kDefaultCapacity);

    // A time earlier than the newest point's is taken as the newest's.
    void add(qint64 timeMs, const std::array<double, kTrendSeriesCount> &values);
    void clear();

    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_times.size(); }
    bool isEmpty() const { return m_size == 0; }
    // Point i, oldest first.
    qint64 timeAt(std::size_t i) const { return m_times[physical(i)]; }
    double valueAt(TrendSeries series, std::size_t i) const;
    qint64 firstTime() const { return timeAt(0); }
    qint64 lastTime() const { return timeAt(m_size - 1); }

    // Index of the first point at or after timeMs (size() when none).
    std::size_t lowerBound(qint64 timeMs) const;

    // The points of [fromMs, toMs] as lines for a plot `columns` pixels wide.
    // With more points than columns each column gives its smallest and
    // largest value, in time order, so every spike stays visible; otherwise
    // every point is given. A
    // column holding no value at all (only failed exchanges) breaks the line,
    // and so does a failed exchange between two points drawn one by one.
    std::vector<TrendRun> runs(TrendSeries series, qint64 fromMs, qint64 toMs, int columns) const;

    // Smallest, largest and mean value of the points in [fromMs, toMs].
    TrendSpanStats stats(TrendSeries series, qint64 fromMs, qint64 toMs) const;

private:
    std::size_t physical(std::size_t i) const { return (m_first + i) % m_times.size(); }
    std::size_t logical(std::size_t slot) const { return (slot + m_times.size() - m_first) % m_times.size(); }
    // Calls f with the storage slot of each point in [begin, end), oldest
    // first, without a division per point.
    template <typename F>
    void forEachSlot(std::size_t begin, std::size_t end, F &&f) const
    {
        std::size_t slot = physical(begin);
        for (std::size_t left = end - begin; left > 0;) {
            const std::size_t chunk = std::min(left, m_times.size() - slot);
            for (std::size_t k = 0; k < chunk; ++k)
                f(slot + k);
            left -= chunk;
            slot = 0;
        }
    }

    std::vector<qint64> m_times;
    std::array<std::vector<double>, kTrendSeriesCount> m_values;
    std::size_t m_first = 0;
    std::size_t m_size = 0;
};

} // namespace veltra
