#pragma once

#include "sensorblock.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace veltra {

// A sensor's settings block as a JSON backup: every setting by name as the
// number the block holds (codes as codes, 16-bit settings whole), the stored
// date included, with the model, the tool's version and the time.
namespace BackupFile {

QJsonObject toJson(const SensorBlock &block, const QDateTime &taken, const QString &toolVersion);
QByteArray serialize(const SensorBlock &block, const QDateTime &taken, const QString &toolVersion);

// The block a backup holds. Refused, with the reason in `why`, unless the
// text is a JSON object naming a family, with every setting of that family
// present as a whole number in its range (0..255, 16-bit settings
// 0..65535), no unknown setting, and a model code of that family.
std::optional<SensorBlock> parse(const QByteArray &json, QString *why);

} // namespace BackupFile

} // namespace veltra
