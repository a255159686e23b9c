#pragma once

#include "sensorblock.h"

#include <QList>
#include <QString>

namespace veltra {

// One setting of a sensor next to the same setting in a settings file.
struct SettingComparison {
    const BlockSetting *setting;
    QString sensorValue; // readable: "19200", "High", "300", "code 7"
    QString fileValue;
    // The values differ. The model code never counts: a restore keeps the
    // sensor's own model, so a file from another model of the family can
    // still match; its row shows both values with differs false.
    bool differs;
};

// Every setting of the sensor's family, in block order, the sensor's value
// next to the file's. The blocks must be of one family; for blocks of two
// families the result is empty.
QList<SettingComparison> compareSettings(const SensorBlock &sensor, const SensorBlock &file);

// True when any row differs.
bool anyDiffers(const QList<SettingComparison> &rows);

// The name a coded setting's value stands for: the rate of a baud code,
// "High" for OGR code 0, "Wide" for OMB code 8, "Cm" for resolution code
// 10; empty for a code without one and for settings that are plain numbers.
QString choiceText(const BlockSetting &setting, int value);
// A setting's value in words: its choice text, "code 7" for a code without
// one, or the number.
QString describeValue(const BlockSetting &setting, int value);

} // namespace veltra
