#include "files/csvrecorder.h"

#include <QDir>
#include <QFileInfo>

namespace veltra {

bool CsvRecorder::open(const QString &path, SensorFamily family)
{
    close();
    m_error.clear();
    m_rows = 0;
    m_family = family;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        m_error = QStringLiteral("%1 cannot be written: %2.").arg(QDir::toNativeSeparators(path), m_file.errorString());
        return false;
    }
    return writeLine(measurementCsvHeader(family));
}

bool CsvRecorder::append(const MeasurementSample &sample)
{
    if (!m_file.isOpen())
        return false;
    if (!writeLine(measurementCsvRow(sample.time, sample.row, m_family)))
        return false;
    ++m_rows;
    return true;
}

void CsvRecorder::close()
{
    if (m_file.isOpen())
        m_file.close();
}

bool CsvRecorder::writeLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    const QString name = QDir::toNativeSeparators(m_file.fileName());
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        m_error = QStringLiteral("Recording to %1 stopped: %2.").arg(name, m_file.errorString());
        m_file.close();
        return false;
    }
    // Rows written to a file that was removed or moved would be lost.
    if (!QFileInfo::exists(m_file.fileName())) {
        m_error = QStringLiteral("Recording to %1 stopped: the file is no longer there.").arg(name);
        m_file.close();
        return false;
    }
    return true;
}

} // namespace veltra
