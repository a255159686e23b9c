#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace veltra {

// The two kinds of sensor; each keeps its own settings block.
enum class SensorFamily { Level, Distance };

// "level" or "distance": the word backups and JSON output use.
QString familyName(SensorFamily family);

// Every setting a settings block can hold.
enum class Setting { Baud, Slave, Ogr, Month, Day, Year, Model, Empty, Full, LowDo, Switch, HiDo, Omb, Resolution };

// What a setting's number means.
enum class SettingKind {
    Choice, // a code with a readable name from its table ("High", 19200)
    Number, // a plain whole number
    Date,   // a part of the stored date
    Model,  // the model code: what the sensor is
};

// Which models may change a setting. What a model may not change is never
// written from a file: the sensor keeps its own value.
enum class ChangeRule {
    Never,            // the model code, and settings a family's window hides
    FromFile,         // the stored date: carried by a settings file, never typed
    Always,           // every model of the family
    DigitalOutputs,   // level models with switching outputs, run-control models excepted
    ResolutionChoice, // the level models that choose their resolution (105 to 107)
};

// A code of a choice and its readable name.
struct CodeName {
    int code;
    const char *name;
};

// clang-format off
inline constexpr CodeName kBaudNames[] = {{30, "9600"}, {40, "19200"}, {50, "38400"}, {60, "57600"}, {70, "115200"}};
inline constexpr CodeName kOgrNames[] = {{0, "High"}, {1, "Medium"}, {2, "Low"}};
inline constexpr CodeName kOmbNames[] = {{8, "Wide"}, {6, "Widish"}, {4, "Narrow"}};
inline constexpr CodeName kResolutionNames[] = {{10, "Cm"}, {1, "mm"}};
// clang-format on

// One setting of the settings block, with everything that gives it meaning.
// Fields travel as one byte each and are numbered from 1 in the order they
// travel; a 16-bit setting is two fields, high byte first.
struct BlockSetting {
    Setting id;
    const char *name;  // as veltra-cli prints it and backups store it: "low-do"
    const char *title; // as messages name it: "Low DO", "OGR code"
    int field;         // the first (high-byte) field
    bool word;         // two fields instead of one
    bool level;        // part of the level block
    bool distance;     // part of the distance block
    SettingKind kind;
    bool distanceUnit; // a distance in the sensor's unit (centimetres or millimetres)
    // What a write may send once rounded, and what a stored date may hold;
    // choices hold one of their codes instead.
    int least;
    int most;
    bool aboveLowDo; // must also be greater than Low DO (Hi DO of a level sensor)
    std::span<const CodeName> choices;
    ChangeRule levelRule;
    ChangeRule distanceRule;

    constexpr int lastField() const { return word ? field + 1 : field; }
    // The largest number the field(s) can carry.
    constexpr int maximum() const { return word ? 65535 : 255; }
};

// The one description of the settings block. The distance block is the
// level block's first fifteen fields, its Low DO place holding the switch
// point; the level block adds OMB and resolution. The distance window shows
// no Empty, Full or Hi DO, so a distance sensor's are never written from a
// file.
// clang-format off
inline constexpr BlockSetting kBlockSettings[] = {
    // id                 name          title              field word  level  dist   kind                   unit   least most  >lowdo choices           level rule                    distance rule
    {Setting::Baud,       "baud",       QT_TRANSLATE_NOOP("Setting", "Baud code"),       1,    false, true,  true,  SettingKind::Choice, false, 30,   70,   false, kBaudNames,       ChangeRule::Always,           ChangeRule::Always},
    {Setting::Slave,      "slave",      QT_TRANSLATE_NOOP("Setting", "Slave address"),   2,    false, true,  true,  SettingKind::Number, false, 1,    247,  false, {},               ChangeRule::Always,           ChangeRule::Always},
    {Setting::Ogr,        "ogr",        QT_TRANSLATE_NOOP("Setting", "OGR code"),        3,    false, true,  true,  SettingKind::Choice, false, 0,    2,    false, kOgrNames,        ChangeRule::Always,           ChangeRule::Always},
    {Setting::Month,      "month",      QT_TRANSLATE_NOOP("Setting", "Date (month)"),    4,    false, true,  true,  SettingKind::Date,   false, 1,    12,   false, {},               ChangeRule::FromFile,         ChangeRule::FromFile},
    {Setting::Day,        "day",        QT_TRANSLATE_NOOP("Setting", "Date (day)"),      5,    false, true,  true,  SettingKind::Date,   false, 1,    31,   false, {},               ChangeRule::FromFile,         ChangeRule::FromFile},
    {Setting::Year,       "year",       QT_TRANSLATE_NOOP("Setting", "Date (year)"),     6,    false, true,  true,  SettingKind::Date,   false, 0,    255,  false, {},               ChangeRule::FromFile,         ChangeRule::FromFile},
    {Setting::Model,      "model",      QT_TRANSLATE_NOOP("Setting", "Model code"),      7,    false, true,  true,  SettingKind::Model,  false, 0,    255,  false, {},               ChangeRule::Never,            ChangeRule::Never},
    {Setting::Empty,      "empty",      QT_TRANSLATE_NOOP("Setting", "Empty"),           8,    true,  true,  true,  SettingKind::Number, true,  1,    10000, false, {},              ChangeRule::Always,           ChangeRule::Never},
    {Setting::Full,       "full",       QT_TRANSLATE_NOOP("Setting", "Full"),            10,   true,  true,  true,  SettingKind::Number, true,  1,    9500, false, {},               ChangeRule::Always,           ChangeRule::Never},
    {Setting::LowDo,      "low-do",     QT_TRANSLATE_NOOP("Setting", "Low DO"),          12,   true,  true,  false, SettingKind::Number, true,  1,    32767, false, {},              ChangeRule::DigitalOutputs,   ChangeRule::Never},
    {Setting::Switch,     "switch",     QT_TRANSLATE_NOOP("Setting", "Switch"),          12,   true,  false, true,  SettingKind::Number, true,  61,   599,  false, {},               ChangeRule::Never,            ChangeRule::Always},
    {Setting::HiDo,       "hi-do",      QT_TRANSLATE_NOOP("Setting", "Hi DO"),           14,   true,  true,  true,  SettingKind::Number, true,  1,    32767, true, {},               ChangeRule::DigitalOutputs,   ChangeRule::Never},
    {Setting::Omb,        "omb",        QT_TRANSLATE_NOOP("Setting", "OMB code"),        16,   false, true,  false, SettingKind::Choice, false, 4,    8,    false, kOmbNames,        ChangeRule::Always,           ChangeRule::Never},
    {Setting::Resolution, "resolution", QT_TRANSLATE_NOOP("Setting", "Resolution code"), 17,   false, true,  false, SettingKind::Choice, false, 1,    10,   false, kResolutionNames, ChangeRule::ResolutionChoice, ChangeRule::Never},
};
// clang-format on

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

constexpr ChangeRule changeRule(const BlockSetting &setting, SensorFamily family)
{
    return family == SensorFamily::Level ? setting.levelRule : setting.distanceRule;
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

// The readable name of a choice's code ("High", "19200"); empty for a code
// without one and for settings that are not choices.
QString choiceName(const BlockSetting &setting, int code);
// The code of a readable name, compared exactly or in any letter case.
std::optional<int> choiceCode(const BlockSetting &setting, const QString &name,
                              Qt::CaseSensitivity cs = Qt::CaseSensitive);
// A choice's names in table order ("High, Medium or Low").
QStringList choiceNames(const BlockSetting &setting);

// A value the setting may hold on its own: a choice one of its codes, a
// stored date a real month and day, a number within its least and most.
bool isDefinedValue(const BlockSetting &setting, int value);
// What a setting may hold, as a message ends it: "1 to 247",
// "High, Medium or Low", "one of 9600, 19200, 38400, 57600, 115200".
QString allowedText(const BlockSetting &setting);

} // namespace veltra
