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
// text is a JSON object without repeated keys naming a family, with every
// setting of that family present as a whole number in its range (0..255,
// 16-bit settings 0..65535), no unknown setting, codes the tables define
// (baud, OGR, OMB, resolution), a model code of that family and a stored
// date with month 1..12 and day 1..31.
std::optional<SensorBlock> parse(const QByteArray &json, QString *why);

// A backup is a small file: larger than this, it is not one.
inline constexpr qint64 kMaxFileSize = 1024 * 1024;

// Reads and parses a backup file. Anything but a regular file of at most
// kMaxFileSize bytes is refused before it is read.
std::optional<SensorBlock> load(const QString &path, QString *why);

// The first key that appears twice in one object of a JSON text (which
// QJsonDocument would silently resolve to its last value), the empty key
// included; none if every key is single. The text must already be valid JSON.
std::optional<QString> firstRepeatedKey(const QByteArray &json);

} // namespace BackupFile

} // namespace veltra
