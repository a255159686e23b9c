#pragma once

// How veltra-cli prints: tables, JSON and the values inside them.
#include "protocol/measurementrow.h" // csvField

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;

namespace veltra {

// "1 (/dev/ttyUSB0)": the port as given and the device the link opened
// for it, which the port mapping may no longer name once it went away.
QString portDescription(const QString &text, const QString &device);
QJsonValue numberOrNull(const QString &text);
QJsonValue textOrNull(const QString &text);
QJsonObject modelJson(const QString &code, const QString &name);
void printJson(QTextStream &out, const QJsonObject &object);
// Left-aligned columns, two blanks apart; the last column is not padded.
void printTable(QTextStream &out, const QList<QStringList> &rows);

} // namespace veltra
