#pragma once

#include "protocol/modelcatalogue.h"
#include "protocol/settingsblock.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <span>

namespace veltra {

// The unit of a sensor's distances (Empty, Full, the thresholds).
enum class DistanceUnit { Unknown, Centimetre, Millimetre };

// "cm", "mm", or empty for an unknown unit.
QString unitName(DistanceUnit unit);
// "centimetres", "millimetres", or "an unknown unit".
QString unitWords(DistanceUnit unit);

// A sensor's settings: one whole number per setting of its family, as a
// sensor sent them or a settings file holds them. The reply parser and the
// file reader make one; the checks, the write request, a file and a
// comparison are made from one.
class SensorSettings
{
public:
    // Every setting 0.
    explicit SensorSettings(SensorFamily family);

    // Settings in a reply to the read request. Refuses a reply that is not a
    // whole block (settingsReplyProblem) or whose model code opens no window;
    // `why` then says which.
    static std::optional<SensorSettings> fromReply(const QString &reply, QString *why);

    // The settings of a whole block of a family's fields (SettingsReply::
    // isWellFormed), whatever its model code says.
    static SensorSettings fromBlock(const QString &block, SensorFamily family);

    // Settings from values, one per setting of the family in blockSettings
    // order, each within what its field(s) can carry.
    static SensorSettings fromValues(SensorFamily family, std::span<const int> values);

    SensorFamily family() const { return m_family; }
    int fieldCount() const { return blockFieldCount(m_family); }

    int value(Setting setting) const { return m_values[static_cast<std::size_t>(setting)]; }
    int value(const BlockSetting &setting) const { return value(setting.id); }
    void setValue(Setting setting, int value) { m_values[static_cast<std::size_t>(setting)] = value; }
    // A setting as plain decimal text.
    QString text(Setting setting) const { return QString::number(value(setting)); }

    // The byte field k (1-based) carries.
    int field(int number) const;
    // The first `fields` fields as the bytes of a write request.
    QByteArray payload(int fields) const;
    // The block as the sensor sends it: three characters a field.
    QString replyText() const;

    // "19200" when the stored baud code is one of the five rates; empty otherwise.
    QString baudText() const;
    // The model code as plain decimal text ("21", "90").
    QString modelCode() const { return text(Setting::Model); }
    // The catalogue row of a level model; nullptr for the distance sensor
    // and for level codes without a row (109 to 112).
    const ModelEntry *row() const;
    // Catalogue name, "DVZ-900", or "unknown".
    QString modelName() const;
    // The unit of Empty, Full and the thresholds: the model row's, else the
    // resolution code's; distance sensors work in centimetres.
    DistanceUnit distanceUnit() const;
    // The same as "cm" or "mm"; empty when the block does not say.
    QString unit() const { return unitName(distanceUnit()); }

    // Whether this sensor's model lets a write change the setting: settings
    // the operator types, and the stored date a settings file carries. The
    // model code and settings the model lacks or hides are not changed.
    bool mayChange(const BlockSetting &setting) const;
    // The same, without the stored date: the settings an operator types.
    bool operatorMayChange(const BlockSetting &setting) const;

    friend bool operator==(const SensorSettings &, const SensorSettings &) = default;

private:
    SensorFamily m_family;
    std::array<int, 14> m_values{}; // indexed by Setting
};

// Why a reply to the read request cannot be used: no answer, or a damaged
// block (a stray character in front, cut short, junk inside), with the
// bytes received shown escaped. Empty for a whole block, whatever its model.
QString settingsReplyProblem(const QString &reply);

// The model name for a normalised model code and resolution code, as detect
// prints it: the catalogue's name, "DVZ-900", or "unknown".
QString modelNameFor(const QString &modelCode, const QString &resolutionCode);

// A setting's value in words: its choice name, "code 7" for a choice code
// without one, or the number.
QString describeValue(const BlockSetting &setting, int value);

} // namespace veltra
