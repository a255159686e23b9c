#pragma once

#include <QString>

#include <span>

namespace veltra {

// The two kinds of sensor; each keeps its own settings block.
enum class SensorFamily { Level, Distance };

// "level" or "distance": the word backups and JSON output use.
QString familyName(SensorFamily family);

// Every setting a settings block can hold.
enum class Setting { Baud, Slave, Ogr, Month, Day, Year, Model, Empty, Full, LowDo, Switch, HiDo, Omb, Resolution };

// One setting of the settings block. Fields travel as one byte each and are
// numbered from 1 in the order they travel; a 16-bit setting is two fields,
// high byte first.
struct BlockSetting {
    Setting id;
    const char *name;  // as veltra-cli prints it and backups store it: "low-do"
    const char *title; // as messages name it: "Low DO", "OGR code"
    int field;         // the first (high-byte) field
    bool word;         // two fields instead of one
    bool level;        // part of the level block
    bool distance;     // part of the distance block

    constexpr int lastField() const { return word ? field + 1 : field; }
    constexpr int maximum() const { return word ? 65535 : 255; }
};

// The one description of the settings block. The distance block is the
// level block's first fifteen fields, its Low DO place holding the switch
// point; the level block adds OMB and resolution.
inline constexpr BlockSetting kBlockSettings[] = {
    {Setting::Baud, "baud", "Baud code", 1, false, true, true},
    {Setting::Slave, "slave", "Slave address", 2, false, true, true},
    {Setting::Ogr, "ogr", "OGR code", 3, false, true, true},
    {Setting::Month, "month", "Date (month)", 4, false, true, true},
    {Setting::Day, "day", "Date (day)", 5, false, true, true},
    {Setting::Year, "year", "Date (year)", 6, false, true, true},
    {Setting::Model, "model", "Model code", 7, false, true, true},
    {Setting::Empty, "empty", "Empty", 8, true, true, true},
    {Setting::Full, "full", "Full", 10, true, true, true},
    {Setting::LowDo, "low-do", "Low DO", 12, true, true, false},
    {Setting::Switch, "switch", "Switch", 12, true, false, true},
    {Setting::HiDo, "hi-do", "Hi DO", 14, true, true, true},
    {Setting::Omb, "omb", "OMB code", 16, false, true, false},
    {Setting::Resolution, "resolution", "Resolution code", 17, false, true, false},
};

constexpr const BlockSetting &blockSetting(Setting id)
{
    for (const BlockSetting &setting : kBlockSettings) {
        if (setting.id == id)
            return setting;
    }
    return kBlockSettings[0]; // not reached: every Setting has a row
}

// The (first) field a setting travels in.
constexpr int fieldOf(Setting id)
{
    return blockSetting(id).field;
}

constexpr bool inFamily(const BlockSetting &setting, SensorFamily family)
{
    return family == SensorFamily::Level ? setting.level : setting.distance;
}

// Fields in a family's block: 17 for level sensors, 15 for distance sensors.
constexpr int blockFieldCount(SensorFamily family)
{
    int count = 0;
    for (const BlockSetting &setting : kBlockSettings) {
        if (inFamily(setting, family) && setting.lastField() > count)
            count = setting.lastField();
    }
    return count;
}

// A family's settings in block order: 13 for level sensors, 11 for distance.
std::span<const BlockSetting> blockSettings(SensorFamily family);
// The setting of that name in a family's block; nullptr for any other name.
const BlockSetting *findBlockSetting(SensorFamily family, const QString &name);

} // namespace veltra
