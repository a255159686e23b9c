#pragma once

#include "session/trenddata.h"

#include <QChartView>
#include <QColor>
#include <QString>

#include <algorithm>
#include <array>
#include <vector>

class QChart;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace veltra {

// The trend's plot: a time axis, the distance and level on the left axis in
// the model's unit, the temperature and the current on axes of their own.
// It draws a time span of a TrendData, no more points than it has pixels
// across (TrendData::runs), a gap wherever exchanges gave no value.
class TrendChart : public QChartView
{
    Q_OBJECT
public:
    struct SeriesLook {
        QString name; // "Distance", in the program's language
        QString key;  // "Distance" whatever the language: object names
        QString unit; // "cm"
        QColor colour;
    };
    static SeriesLook look(TrendSeries series, const QString &lengthUnit);

    // The series a sensor of the family gives (the level for level sensors
    // only, the current for those with a 4-20 mA output). lengthUnit labels
    // the left axis ("cm", "mm").
    TrendChart(bool levelFamily, bool current, const QString &lengthUnit, QWidget *parent = nullptr);

    const std::vector<TrendSeries> &seriesShown() const { return m_series; }
    bool isSeriesShown(TrendSeries series) const
    {
        return std::find(m_series.begin(), m_series.end(), series) != m_series.end();
    }
    void setSeriesVisible(TrendSeries series, bool visible);
    bool isSeriesVisible(TrendSeries series) const { return m_visible[std::size_t(series)]; }

    // Draws [fromMs, toMs] of data; times are the data's plus originMs, the
    // wall-clock time (ms since the epoch) of the data's time 0.
    void draw(const TrendData &data, qint64 originMs, qint64 fromMs, qint64 toMs);
    qint64 shownFrom() const { return m_from; }
    qint64 shownTo() const { return m_to; }
    // Points drawn for a series at the last draw, over all its runs.
    int pointsDrawn(TrendSeries series) const;
    int runsDrawn(TrendSeries series) const;

signals:
    // The operator zoomed or scrolled the time axis to this span (data time).
    void spanChosen(qint64 fromMs, qint64 toMs);

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    QLineSeries *segment(TrendSeries series, std::size_t index);
    QValueAxis *axisFor(TrendSeries series) const;
    void takeAxisRange();

    QChart *m_chart;
    QDateTimeAxis *m_timeAxis;
    QValueAxis *m_lengthAxis;
    QValueAxis *m_temperatureAxis;
    QValueAxis *m_currentAxis = nullptr;
    std::vector<TrendSeries> m_series;
    std::array<bool, kTrendSeriesCount> m_visible{true, true, true, true};
    std::array<std::vector<QLineSeries *>, kTrendSeriesCount> m_segments;
    std::array<std::size_t, kTrendSeriesCount> m_segmentsUsed{};
    QString m_lengthUnit;
    qint64 m_origin = 0;
    qint64 m_from = 0;
    qint64 m_to = 0;
    bool m_drawing = false;
};

} // namespace veltra
