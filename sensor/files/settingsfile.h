#pragma once

#include "protocol/sensorsettings.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace veltra {

// A sensor's settings block saved as a JSON file: what veltra-cli's backup,
// restore and compare and the settings windows' save and open read and write.
//
// Format 2, written from now on:
//
//   {
//       "format": 2,
//       "family": "level",
//       "model": {"code": 23, "name": "DVT-14C11"},
//       "unit": "cm",
//       "time": "2024-05-06T07:08:09Z",
//       "programVersion": "7.0.0",
//       "settings": {"baud": 19200, "slave": 5, "ogr": "High", "month": 1, ...,
//                    "empty": 300, ..., "omb": "Wide", "resolution": "Cm"},
//       "codes": {"baud": 40, "slave": 5, "ogr": 0, "month": 1, ..., "model": 23,
//                 "empty": 300, ..., "omb": 8, "resolution": 10}
//   }
//
// "settings" holds every setting of the family but the model in readable
// form: the baud rate, the name of an OGR, OMB or resolution code, plain
// numbers as they are. "codes" holds every setting as the number the block
// holds. The model is "model"'s code (and "codes"' "model", which must
// agree); its name, "unit", "time" and "programVersion" are for the reader.
//
// Reading, a person may have edited either object:
// - Every value present must be valid on its own: a readable value one of
//   its names or rates, numbers whole and within what their field(s) carry.
//   A code outside the tables (month 0, baud code 45), as a sensor may
//   hold, is read as it is: whether it may be written is the restore's
//   question. An invalid value is refused wherever it is.
// - Where a setting is in both and they disagree, the file is refused,
//   naming both: an edit made in one place only is not guessed at.
// - A setting may be left out of one object (or one object left out) as
//   long as the other has it. A readable null (written for a code without
//   a name) leaves the code to stand.
// - "unit", where given, must be the unit the model and resolution say.
//
// Format 1, what veltra-cli wrote before (no "format" key), is still read:
// "settings" then holds every setting, the model included, as its code.
namespace SettingsFile {

inline constexpr int kFormat = 2;

// The file's text, indented, members in the order shown above. `taken` is
// written as UTC.
QByteArray serialize(const SensorSettings &block, const QDateTime &taken, const QString &programVersion);

// The block a settings file holds. Refused, with the reason in `why`,
// unless the text is a JSON object without repeated keys, of format 1 or 2,
// naming a family, with every setting of that family given and valid as
// above, no unknown setting, and a model code of that family.
std::optional<SensorSettings> parse(const QByteArray &json, QString *why);

// A settings file is a small file: larger than this, it is not one.
inline constexpr qint64 kMaxFileSize = 1024 * 1024;

// Reads and parses a settings file. Anything but a regular file of at most
// kMaxFileSize bytes is refused before it is read.
std::optional<SensorSettings> load(const QString &path, QString *why);

// Writes the block to `path` through a temporary file renamed into place
// (QSaveFile): an existing file is replaced only once the new one is
// complete. False, with the reason in `why`, when it cannot be written.
bool save(const QString &path, const SensorSettings &block, const QDateTime &taken, const QString &programVersion,
          QString *why);

// The first key that appears twice in one object of a JSON text (which
// QJsonDocument would silently resolve to its last value), the empty key
// included; none if every key is single. The text must already be valid JSON.
std::optional<QString> firstRepeatedKey(const QByteArray &json);

} // namespace SettingsFile

} // namespace veltra
