#pragma once

#include "modelcatalogue.h"
#include "settingsblock.h"

#include <QString>

#include <optional>
#include <span>

namespace veltra {

// A complete settings block, as a sensor sent it or as a backup holds it.
// It keeps the reply text itself, so every field is read by the same
// SettingsReply code as the windows read it.
class SensorBlock
{
public:
    // Settings in a reply to the read request. Refuses a reply that is not a
    // whole block (settingsReplyProblem) or whose model code opens no window;
    // `why` then says which.
    static std::optional<SensorBlock> fromReply(const QString &reply, QString *why);

    // A block made from setting values (in range, one per setting of the
    // family, in blockSettings order).
    static SensorBlock fromValues(SensorFamily family, std::span<const int> values);

    SensorFamily family() const { return m_family; }
    int fieldCount() const;

    // The byte of field k (1-based), and a setting's value.
    int field(int number) const;
    int value(const BlockSetting &setting) const;
    int value(const char *settingName) const;
    int value(Setting setting) const { return value(blockSetting(setting)); }
    // A setting as plain decimal text.
    QString text(Setting setting) const { return QString::number(value(setting)); }

    // The field as the windows keep it: plain decimal text.
    QString fieldText(int number) const;
    QString valueText(const char *settingName) const;

    // "19200" when the stored baud code is one of the five rates; empty otherwise.
    QString baudText() const;
    // The model code as plain decimal text ("21", "90").
    QString modelCode() const;
    // The catalogue row of a level model; nullptr for the distance sensor
    // and for level codes without a row (109 to 112).
    const ModelEntry *row() const;
    // Catalogue name, "DVZ-900", or "unknown".
    QString modelName() const;
    // Unit of Empty, Full and the thresholds: "cm" or "mm"; empty when the
    // block does not say.
    QString unit() const;

private:
    SensorBlock(SensorFamily family, const QString &reply);

    SensorFamily m_family;
    QString m_reply; // exactly fieldCount() fields of three characters
};

// Why a reply to the read request cannot be used: no answer, or a damaged
// block (a stray character in front, cut short, junk inside), with the
// bytes received shown escaped. Empty for a whole block, whatever its model.
QString settingsReplyProblem(const QString &reply);

// The model name for a normalised model code and resolution code, as detect
// prints it: the catalogue's name, "DVZ-900", or "unknown".
QString modelNameFor(const QString &modelCode, const QString &resolutionCode);

} // namespace veltra
