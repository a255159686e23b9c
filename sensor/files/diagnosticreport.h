#pragma once

#include <QJsonObject>
#include <QString>

namespace veltra {

class SensorSession;

// What support needs to see why a sensor does not answer, as one JSON
// object: the program and its version, the operating system and Qt, the
// serial ports with their adapters, the last settings block read (raw and
// decoded) and the session's traffic record. Nothing personal beyond what
// the machine reports about its ports.
QJsonObject diagnosticReport(SensorSession &session, const QString &program, const QString &version);

// Writes the report whole or not at all (a temporary file, then a rename).
// False, with the reason, when it cannot.
bool saveDiagnosticReport(const QString &path, const QJsonObject &report, QString *error);

} // namespace veltra
