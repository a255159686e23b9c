#pragma once

#include "protocol/sensorsettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace veltra {

// How much of the block a model's write request carries.
enum class WriteForm {
    Distance,   // the distance block: fifteen fields
    LevelShort, // the level block without the resolution code
    LevelLong,  // the whole level block (models that choose their resolution)
};
WriteForm writeFormOf(const SensorSettings &settings);

// The write request for a sensor's settings and the rate to follow once it
// is sent (empty when the baud code is not one of the five rates).
struct WritePlan {
    QByteArray request;
    QString lineSettings;
    // The block fields the request carries, after the frame header and
    // command byte: a short request leaves the rest of the block as it is.
    int fieldsCarried() const { return int(request.size()) - 4; }
};
WritePlan planWrite(const SensorSettings &settings);

// Which values a check looks at. A value the sensor already holds passes,
// however odd: a sensor must accept a file of its own settings. A write of
// typed values checks the numbers the operator may type and the baud rate all the same, as the
// windows always have.
enum class CheckScope { Write, Restore };

// The first setting that fails the checks of a write, in block order:
// numbers within their least and most, Hi DO above Low DO, choices and the
// stored date defined. Only settings the model lets a write change are
// checked. nullptr when every check passes.
const BlockSetting *firstFailedCheck(const SensorSettings &settings, const SensorSettings &held, CheckScope scope);

// A failed check in the words of the command line, each value as given:
// "slave must be 1 to 247 once rounded, not "300"."
QString checkMessage(const BlockSetting &setting, const std::function<QString(Setting)> &given);

// A number an operator typed, read as every field is read (the number the
// text begins with, 0 for none) and rounded halves to even. Values beyond
// what any setting holds come back as -1 or 65536, which every check refuses.
int typedValue(const QString &text);

// One setting of a settings file against the sensor it is to be restored to.
struct RestoreRow {
    const BlockSetting *setting;
    int sensor;      // what the sensor holds now
    int file;        // what the file holds, in the file's unit
    int wanted;      // what a restore leaves: the file's value (converted), or the sensor's own
    bool applied;    // the sensor's model lets a restore change it
    QString skipped; // why not, when it is not: "a DVT-14C00 has no switching outputs"
    bool differs() const { return applied && wanted != sensor; }
};

// What restoring a settings file to a sensor would do, worked out before
// anything is sent. Compare and restore both read it, so they agree.
struct RestorePlan {
    enum class Status {
        Ready,       // target is what the sensor is to hold
        UnitDiffers, // the file's distances are in another unit
        Refused,     // a value fails a write's checks
    };
    Status status = Status::Ready;
    QString message; // UnitDiffers and Refused: why, without what was not done
    DistanceUnit fileUnit = DistanceUnit::Unknown;
    DistanceUnit sensorUnit = DistanceUnit::Unknown; // once the restore is done
    bool converted = false;
    SensorSettings target{SensorFamily::Level};
    SensorSettings file{SensorFamily::Level};
    QList<RestoreRow> rows; // every setting of the family, in block order

    bool anyDiffers() const;
    // The rows a restore leaves as the sensor holds them although the file
    // says otherwise, each with why.
    QList<RestoreRow> notApplied() const;
};

// The sensor and file must be of one family. `fileName` names the file in
// messages. With convertUnits, distances in centimetres and millimetres are
// converted exactly (x10, or /10 when whole) instead of refused.
RestorePlan planRestore(const SensorSettings &sensor, const SensorSettings &file, const QString &fileName,
                        bool convertUnits);

} // namespace veltra
