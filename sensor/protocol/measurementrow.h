#pragma once

#include "protocol/sensorsettings.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace veltra {

// One measurement as the level window shows it, worked out with the settings
// of the block last read. A reply without its "R" is no answer; one whose
// distance or temperature is not the sensor's number form (cut short, blanks
// inside, "4e307") is damaged. Neither gives values.
struct MeasurementRow {
    bool answered = false;
    bool damaged = false;
    QString distance, temperature, level, current; // empty unless answered; level and current for level sensors

    // The numbers, for plotting: NaN where there is none.
    double distanceValue() const;
    double temperatureValue() const;
    double levelValue() const;
    double currentValue() const;
};

MeasurementRow measurementRow(const SensorSettings &block, const QString &reply);

// The columns of a measurement table (veltra-cli measure, a trend's CSV
// recording): time, distance, temperature, and for level sensors level and
// current.
QString measurementCsvHeader(SensorFamily family);
// One CSV field: quoted when it holds a comma, a quote or a line break.
QString csvField(const QString &text);

// One row: the time as ISO 8601 in UTC with milliseconds, then the values;
// an exchange that gave no values leaves its fields empty.
QString measurementCsvRow(const QDateTime &time, const MeasurementRow &row, SensorFamily family);

} // namespace veltra
