#include "protocol/measurementrow.h"

#include "numbers.h"
#include "protocol/measurement.h"

#include <limits>

namespace veltra {

namespace {

double valueOf(bool answered, const QString &text)
{
    if (!answered || text.isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    return TextToNumber(text);
}

} // namespace

double MeasurementRow::distanceValue() const
{
    return valueOf(answered, distance);
}

double MeasurementRow::temperatureValue() const
{
    return valueOf(answered, temperature);
}

double MeasurementRow::levelValue() const
{
    return valueOf(answered, level);
}

double MeasurementRow::currentValue() const
{
    // "12." and ".5" read as numbers; "." is a current that rounds to 0.
    return valueOf(answered, current);
}

MeasurementRow measurementRow(const SensorSettings &block, const QString &reply)
{
    MeasurementRow row;
    const MeasurementReply parsed = MeasurementReply::parse(reply);
    if (!parsed.found)
        return row;
    if (!parsed.wellFormed) {
        row.damaged = true;
        return row;
    }
    row.answered = true;
    row.distance = NumberToText(TextToNumber(parsed.distance));
    row.temperature = NumberToText(TextToNumber(parsed.temperature));
    if (block.family() == SensorFamily::Level) {
        // The window keeps the level as text and reads the current from that text.
        const LevelReading reading
            = levelReading(block.text(Setting::Empty), block.text(Setting::Full), parsed.distance);
        row.level = reading.level;
        row.current = reading.current;
    }
    return row;
}

QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString measurementCsvHeader(SensorFamily family)
{
    return family == SensorFamily::Level ? QStringLiteral("time,distance,temperature,level,current")
                                         : QStringLiteral("time,distance,temperature");
}

QString measurementCsvRow(const QDateTime &time, const MeasurementRow &row, SensorFamily family)
{
    QStringList fields{time.toUTC().toString(Qt::ISODateWithMs), row.distance, row.temperature};
    if (family == SensorFamily::Level)
        fields << row.level << row.current;
    return fields.join(u',');
}

} // namespace veltra
