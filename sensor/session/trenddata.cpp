#include "session/trenddata.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltra {

TrendData::TrendData(std::size_t capacity)
    : m_times(std::max<std::size_t>(capacity, 1))
{
    for (auto &values : m_values)
        values.resize(m_times.size());
}

void TrendData::add(qint64 timeMs, const std::array<double, kTrendSeriesCount> &values)
{
    if (m_size > 0)
        timeMs = std::max(timeMs, lastTime());
    std::size_t slot;
    if (m_size < m_times.size()) {
        slot = physical(m_size);
        ++m_size;
    } else {
        slot = m_first;
        m_first = (m_first + 1) % m_times.size();
    }
    m_times[slot] = timeMs;
    for (std::size_t s = 0; s < kTrendSeriesCount; ++s)
        m_values[s][slot] = values[s];
}

void TrendData::clear()
{
    m_first = 0;
    m_size = 0;
}

double TrendData::valueAt(TrendSeries series, std::size_t i) const
{
    return m_values[std::size_t(series)][physical(i)];
}

std::size_t TrendData::lowerBound(qint64 timeMs) const
{
    std::size_t low = 0;
    std::size_t high = m_size;
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (timeAt(mid) < timeMs)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

std::vector<TrendRun> TrendData::runs(TrendSeries series, qint64 fromMs, qint64 toMs, int columns) const
{
    std::vector<TrendRun> result;
    if (m_size == 0 || toMs < fromMs || columns < 1)
        return result;
    const std::size_t begin = lowerBound(fromMs);
    const std::size_t end = lowerBound(toMs + 1);
    if (begin >= end)
        return result;
    const std::vector<double> &values = m_values[std::size_t(series)];
    TrendRun run;
    const auto endRun = [&] {
        if (!run.isEmpty())
            result.push_back(std::move(run));
        run = TrendRun();
    };

    if (end - begin <= std::size_t(columns)) {
        for (std::size_t i = begin; i < end; ++i) {
            const double v = values[physical(i)];
            if (std::isnan(v))
                endRun();
            else
                run.append(QPointF(double(timeAt(i)), v));
        }
        endRun();
        return result;
    }

    // Min/max per pixel column: each column adds its smallest and largest
    // value, so the line spans every column's whole range.
    const double span = double(toMs - fromMs) + 1;
    std::size_t i = begin;
    for (int column = 0; column < columns && i < end; ++column) {
        const std::size_t columnEnd
            = column == columns - 1
                  ? end
                  : std::min(end, lowerBound(fromMs + qint64(std::floor(span * (column + 1) / columns))));
        std::size_t minSlot = 0, maxSlot = 0;
        double minimum = std::numeric_limits<double>::infinity();
        double maximum = -minimum;
        forEachSlot(i, columnEnd, [&](std::size_t slot) {
            const double v = values[slot];
            // NaN compares false both ways: a gap is never picked.
            if (v < minimum) {
                minimum = v;
                minSlot = slot;
            }
            if (v > maximum) {
                maximum = v;
                maxSlot = slot;
            }
        });
        i = columnEnd;
        if (std::isinf(minimum) && minimum > 0) {
            endRun(); // only failed exchanges in this column
            continue;
        }
        // The smallest and the largest, in the order they came.
        const bool minFirst = logical(minSlot) <= logical(maxSlot);
        const std::size_t first = minFirst ? minSlot : maxSlot;
        const std::size_t second = minFirst ? maxSlot : minSlot;
        run.append(QPointF(double(m_times[first]), values[first]));
        if (second != first)
            run.append(QPointF(double(m_times[second]), values[second]));
    }
    endRun();
    return result;
}

TrendSpanStats TrendData::stats(TrendSeries series, qint64 fromMs, qint64 toMs) const
{
    TrendSpanStats stats;
    if (m_size == 0 || toMs < fromMs)
        return stats;
    const std::vector<double> &values = m_values[std::size_t(series)];
    double sum = 0;
    for (std::size_t i = lowerBound(fromMs), end = lowerBound(toMs + 1); i < end; ++i) {
        const double v = values[physical(i)];
        if (std::isnan(v))
            continue;
        if (stats.count == 0)
            stats.minimum = stats.maximum = v;
        stats.minimum = std::min(stats.minimum, v);
        stats.maximum = std::max(stats.maximum, v);
        sum += v;
        ++stats.count;
    }
    if (stats.count > 0)
        stats.mean = sum / stats.count;
    return stats;
}

} // namespace veltra
