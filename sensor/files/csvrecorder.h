#pragma once

#include "protocol/sensorsettings.h"
#include "session/measurementloop.h"

#include <QFile>
#include <QString>

namespace veltra {

// Records measurements to a CSV file with the columns of veltra-cli measure.
// Every row is written and flushed to the system at once, so a crash loses
// at most the row being written. A write that fails, or a file that is no
// longer where it was opened (removed, renamed), ends the recording with a
// reason; what was written so far stays.
class CsvRecorder
{
public:
    // Creates or replaces the file and writes the header. False, with
    // error() set, when it cannot.
    bool open(const QString &path, SensorFamily family);
    // False, with error() set and the file closed, when the row could not be
    // written.
    bool append(const MeasurementSample &sample);
    void close();

    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    const QString &error() const { return m_error; }
    int rows() const { return m_rows; }

private:
    bool writeLine(const QString &line);

    QFile m_file;
    SensorFamily m_family = SensorFamily::Level;
    QString m_error;
    int m_rows = 0;
};

} // namespace veltra
