#pragma once

#include "protocol/settingsplan.h"

#include <QList>
#include <QString>

namespace veltra {

// One setting of a sensor next to the same setting in a settings file.
struct SettingComparison {
    const BlockSetting *setting;
    QString sensorValue; // readable: "19200", "High", "300", "code 7"
    QString fileValue;   // the same, with its converted value where the units differ: "30 cm (300 mm)"
    // A restore would change it. A setting the sensor's model does not let
    // a restore change never differs; note then says why it stays.
    bool differs;
    QString note;
};

// Every setting of the sensor's family, in block order, the sensor's value
// next to the file's, judged as restoring the file would judge them.
QList<SettingComparison> compareSettings(const RestorePlan &plan);

// True when any row differs.
bool anyDiffers(const QList<SettingComparison> &rows);

} // namespace veltra
