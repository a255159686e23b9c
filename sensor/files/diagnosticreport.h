#pragma once

#include <QJsonObject>
#include <QString>

namespace veltra {

class SensorSession;

// What the report is about, put at its top: the port as the operator gave
// it ("3", "/dev/ttyUSB0"), the device it stood for where one was opened,
// and how the attempt ended ("ok", or what failed; empty when nothing was
// attempted).
struct ReportSubject {
    QString port;
    QString device;
    QString result;
};

// What support needs to see why a sensor does not answer, as one JSON
// object: the program and its version, the operating system and Qt, the
// serial ports with their adapters, the last settings block read (raw and
// decoded) and the session's traffic record. Nothing personal beyond what
// the machine reports about its ports.
QJsonObject diagnosticReport(SensorSession &session, const QString &program, const QString &version,
                             const ReportSubject &subject);

// The report as indented JSON text with its subject first (a JSON object
// of Qt's sorts its keys; a reader should not have to scroll for it).
QByteArray diagnosticReportText(const QJsonObject &report);

// Writes the report whole or not at all (a temporary file, then a rename).
// False, with the reason, when it cannot.
bool saveDiagnosticReport(const QString &path, const QJsonObject &report, QString *error);

} // namespace veltra
