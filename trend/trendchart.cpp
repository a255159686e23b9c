#include "trendchart.h"

#include <QCoreApplication>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace veltra {

namespace {

// More lines than this for one series (a sensor that answers every other
// time over a long span) are joined into the last one: the plot stays quick.
constexpr std::size_t kMostRunsPerSeries = 200;

void setRange(QValueAxis *axis, double low, double high)
{
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    const double margin = (high - low) * 0.05;
    axis->setRange(low - margin, high + margin);
    axis->applyNiceNumbers();
    // Enough decimals that neighbouring ticks differ.
    const double step = (axis->max() - axis->min()) / std::max(axis->tickCount() - 1, 1);
    const int decimals = step >= 1 ? 0 : step >= 0.1 ? 1 : 2;
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(decimals) + QStringLiteral("f"));
}

} // namespace

TrendChart::SeriesLook TrendChart::look(TrendSeries series, const QString &lengthUnit)
{
    switch (series) {
    case TrendSeries::Distance:
        return {QCoreApplication::translate("Trend", "Distance"), QStringLiteral("Distance"), lengthUnit, QColor(0x1f, 0x5f, 0xbf)};
    case TrendSeries::Level:
        return {QCoreApplication::translate("Trend", "Level"), QStringLiteral("Level"), lengthUnit, QColor(0x1a, 0x9a, 0x50)};
    case TrendSeries::Temperature:
        return {QCoreApplication::translate("Trend", "Temperature"), QStringLiteral("Temperature"), QStringLiteral("°C"), QColor(0xd0, 0x60, 0x10)};
    case TrendSeries::Current:
        return {QCoreApplication::translate("Trend", "Current"), QStringLiteral("Current"), QStringLiteral("mA"), QColor(0x8a, 0x2b, 0xb0)};
    }
    return {};
}

TrendChart::TrendChart(bool levelFamily, bool current, const QString &lengthUnit, QWidget *parent)
    : QChartView(parent)
    , m_chart(new QChart)
    , m_timeAxis(new QDateTimeAxis)
    , m_lengthAxis(new QValueAxis)
    , m_temperatureAxis(new QValueAxis)
    , m_lengthUnit(lengthUnit)
{
    setChart(m_chart);
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::HorizontalRubberBand);
    // The legend names each series once, for the exported image too.
    m_chart->legend()->setAlignment(Qt::AlignTop);
    m_chart->setMargins(QMargins(4, 4, 4, 4));

    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTitleText(QCoreApplication::translate("Trend", "Time"));
    m_timeAxis->setTickCount(6);
    // A time axis whose range is empty when the chart is first laid out
    // gets no room for its labels later: start it at a real span.
    const QDateTime now = QDateTime::currentDateTime();
    m_timeAxis->setRange(now, now.addSecs(600));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);

    const QString unitText = lengthUnit.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(lengthUnit);
    m_lengthAxis->setTitleText((levelFamily ? QCoreApplication::translate("Trend", "Distance, level") : QCoreApplication::translate("Trend", "Distance"))
                               + unitText);
    m_chart->addAxis(m_lengthAxis, Qt::AlignLeft);
    m_temperatureAxis->setTitleText(QCoreApplication::translate("Trend", "Temperature (°C)"));
    m_temperatureAxis->setGridLineVisible(false); // the left axis draws the grid
    m_chart->addAxis(m_temperatureAxis, Qt::AlignRight);

    m_series = {TrendSeries::Distance};
    if (levelFamily)
        m_series.push_back(TrendSeries::Level);
    m_series.push_back(TrendSeries::Temperature);
    if (current) {
        m_series.push_back(TrendSeries::Current);
        m_currentAxis = new QValueAxis;
        m_currentAxis->setTitleText(QCoreApplication::translate("Trend", "Current (mA)"));
        m_currentAxis->setGridLineVisible(false);
        m_chart->addAxis(m_currentAxis, Qt::AlignRight);
    }
    for (QValueAxis *axis : {m_lengthAxis, m_temperatureAxis, m_currentAxis}) {
        if (axis)
            axis->setRange(0, 1);
    }
    connect(m_timeAxis, &QDateTimeAxis::rangeChanged, this, [this] {
        if (!m_drawing)
            takeAxisRange();
    });
}

QValueAxis *TrendChart::axisFor(TrendSeries series) const
{
    switch (series) {
    case TrendSeries::Distance:
    case TrendSeries::Level:
        return m_lengthAxis;
    case TrendSeries::Temperature:
        return m_temperatureAxis;
    case TrendSeries::Current:
        return m_currentAxis;
    }
    return nullptr;
}

QLineSeries *TrendChart::segment(TrendSeries series, std::size_t index)
{
    std::vector<QLineSeries *> &pool = m_segments[std::size_t(series)];
    while (pool.size() <= index) {
        auto *line = new QLineSeries;
        QPen pen(look(series, m_lengthUnit).colour);
        pen.setWidthF(1);
        line->setPen(pen);
        line->setColor(pen.color());
        line->setMarkerSize(5);
        line->setName(look(series, m_lengthUnit).name);
        m_chart->addSeries(line);
        for (QLegendMarker *marker : m_chart->legend()->markers(line))
            marker->setVisible(pool.empty());
        line->attachAxis(m_timeAxis);
        line->attachAxis(axisFor(series));
        pool.push_back(line);
    }
    return pool[index];
}

void TrendChart::setSeriesVisible(TrendSeries series, bool visible)
{
    m_visible[std::size_t(series)] = visible;
    const auto &pool = m_segments[std::size_t(series)];
    for (std::size_t i = 0; i < pool.size(); ++i)
        pool[i]->setVisible(visible && i < m_segmentsUsed[std::size_t(series)]);
}

void TrendChart::draw(const TrendData &data, qint64 originMs, qint64 fromMs, qint64 toMs)
{
    m_drawing = true;
    m_origin = originMs;
    m_from = fromMs;
    m_to = std::max(toMs, fromMs + 1);
    // No more points than the plot has pixels across: a smallest and a
    // largest value for every two pixels.
    const int columns = std::max(1, int(m_chart->plotArea().width()) / 2);

    // Every series' lines are worked out first, so each axis is set once
    // before the lines move in: a new range makes the chart place every
    // point of its lines again.
    struct Span {
        bool any = false;
        double low = 0, high = 0;
    };
    std::array<Span, 3> spans; // length, temperature, current axis
    std::array<std::vector<TrendRun>, kTrendSeriesCount> lines;
    for (TrendSeries series : m_series) {
        const std::size_t s = std::size_t(series);
        std::vector<TrendRun> &runs = lines[s];
        runs = data.runs(series, m_from, m_to, columns);
        if (runs.size() > kMostRunsPerSeries) {
            TrendRun &last = runs[kMostRunsPerSeries - 1];
            for (std::size_t i = kMostRunsPerSeries; i < runs.size(); ++i)
                last += runs[i];
            runs.resize(kMostRunsPerSeries);
        }
        Span &span = spans[axisFor(series) == m_lengthAxis ? 0 : axisFor(series) == m_temperatureAxis ? 1 : 2];
        for (TrendRun &run : runs) {
            for (QPointF &p : run) {
                if (m_visible[s]) {
                    span.low = span.any ? std::min(span.low, p.y()) : p.y();
                    span.high = span.any ? std::max(span.high, p.y()) : p.y();
                    span.any = true;
                }
                p.setX(p.x() + double(originMs));
            }
        }
    }
    // Emptied first, the lines cost nothing to place again for each axis.
    for (TrendSeries series : m_series) {
        const auto &pool = m_segments[std::size_t(series)];
        for (std::size_t i = 0; i < m_segmentsUsed[std::size_t(series)]; ++i)
            pool[i]->clear();
    }
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(m_from + originMs),
                         QDateTime::fromMSecsSinceEpoch(m_to + originMs));
    if (spans[0].any)
        setRange(m_lengthAxis, spans[0].low, spans[0].high);
    if (spans[1].any)
        setRange(m_temperatureAxis, spans[1].low, spans[1].high);
    if (m_currentAxis && spans[2].any)
        setRange(m_currentAxis, spans[2].low, spans[2].high);

    for (TrendSeries series : m_series) {
        const std::size_t s = std::size_t(series);
        const std::vector<TrendRun> &runs = lines[s];
        for (std::size_t i = 0; i < runs.size(); ++i) {
            QLineSeries *line = segment(series, i);
            // A lone point between gaps has no line to draw: mark it.
            if (line->pointsVisible() != (runs[i].size() == 1))
                line->setPointsVisible(runs[i].size() == 1);
            line->replace(runs[i]);
            if (line->isVisible() != m_visible[s])
                line->setVisible(m_visible[s]);
        }
        auto &pool = m_segments[s];
        for (std::size_t i = runs.size(); i < m_segmentsUsed[s] && i < pool.size(); ++i) {
            pool[i]->clear();
            pool[i]->setVisible(false);
        }
        m_segmentsUsed[s] = runs.size();
    }
    m_drawing = false;
}

int TrendChart::pointsDrawn(TrendSeries series) const
{
    int points = 0;
    const auto &pool = m_segments[std::size_t(series)];
    for (std::size_t i = 0; i < m_segmentsUsed[std::size_t(series)]; ++i)
        points += pool[i]->count();
    return points;
}

int TrendChart::runsDrawn(TrendSeries series) const
{
    return int(m_segmentsUsed[std::size_t(series)]);
}

void TrendChart::takeAxisRange()
{
    // The rubber band or a right click (zoom out) moved the time axis.
    const qint64 from = m_timeAxis->min().toMSecsSinceEpoch() - m_origin;
    const qint64 to = m_timeAxis->max().toMSecsSinceEpoch() - m_origin;
    if (to > from)
        emit spanChosen(from, to);
}

void TrendChart::wheelEvent(QWheelEvent *event)
{
    // The wheel zooms the time axis about the pointer.
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0 || m_to <= m_from) {
        event->ignore();
        return;
    }
    const QPointF at = m_chart->mapToValue(m_chart->mapFromScene(mapToScene(event->position().toPoint())));
    const double pivot = std::clamp(at.x() - double(m_origin), double(m_from), double(m_to));
    const double factor = std::pow(0.8, steps);
    const qint64 from = qint64(pivot - (pivot - double(m_from)) * factor);
    const qint64 to = qint64(pivot + (double(m_to) - pivot) * factor);
    if (to - from >= 1000)
        emit spanChosen(from, to);
    event->accept();
}

} // namespace veltra
