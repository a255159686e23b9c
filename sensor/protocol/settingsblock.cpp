#include "protocol/settingsblock.h"

#include "linesettings.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace veltra {

namespace {

constexpr std::size_t countIn(SensorFamily family)
{
    return static_cast<std::size_t>(
        std::count_if(std::begin(kBlockSettings), std::end(kBlockSettings),
                      [family](const BlockSetting &setting) { return inFamily(setting, family); }));
}

template <SensorFamily family>
constexpr auto settingsOf()
{
    std::array<BlockSetting, countIn(family)> settings{};
    std::size_t i = 0;
    for (const BlockSetting &setting : kBlockSettings) {
        if (inFamily(setting, family))
            settings[i++] = setting;
    }
    return settings;
}

constexpr auto kLevelSettings = settingsOf<SensorFamily::Level>();
constexpr auto kDistanceSettings = settingsOf<SensorFamily::Distance>();

static_assert(blockFieldCount(SensorFamily::Level) == 17);
static_assert(blockFieldCount(SensorFamily::Distance) == 15);

// The baud names are the link's baud table, code for code.
constexpr bool baudNamesMatchTheLink()
{
    if (std::size(kBaudNames) != kBaudTable.size())
        return false;
    for (std::size_t i = 0; i < kBaudTable.size(); ++i) {
        const char *code = kBaudTable[i].code; // " 30"
        if (kBaudNames[i].code != (code[1] - '0') * 10 + (code[2] - '0'))
            return false;
        for (const char *a = kBaudNames[i].name, *b = kBaudTable[i].baudText;; ++a, ++b) {
            if (*a != *b)
                return false;
            if (!*a)
                break;
        }
    }
    return true;
}
static_assert(baudNamesMatchTheLink());

QString orList(QStringList items)
{
    if (items.size() < 2)
        return items.join(QString());
    const QString last = items.takeLast();
    return items.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

} // namespace

QString familyName(SensorFamily family)
{
    return family == SensorFamily::Level ? QStringLiteral("level") : QStringLiteral("distance");
}

std::span<const BlockSetting> blockSettings(SensorFamily family)
{
    if (family == SensorFamily::Level)
        return kLevelSettings;
    return kDistanceSettings;
}

const BlockSetting *findBlockSetting(SensorFamily family, const QString &name)
{
    for (const BlockSetting &setting : blockSettings(family)) {
        if (name == QLatin1String(setting.name))
            return &setting;
    }
    return nullptr;
}

QString choiceName(const BlockSetting &setting, int code)
{
    for (const CodeName &choice : setting.choices) {
        if (choice.code == code)
            return QString::fromLatin1(choice.name);
    }
    return {};
}

std::optional<int> choiceCode(const BlockSetting &setting, const QString &name, Qt::CaseSensitivity cs)
{
    for (const CodeName &choice : setting.choices) {
        if (name.compare(QLatin1String(choice.name), cs) == 0)
            return choice.code;
    }
    return std::nullopt;
}

QStringList choiceNames(const BlockSetting &setting)
{
    QStringList names;
    for (const CodeName &choice : setting.choices)
        names << QString::fromLatin1(choice.name);
    return names;
}

bool isDefinedValue(const BlockSetting &setting, int value)
{
    if (setting.kind == SettingKind::Choice)
        return !choiceName(setting, value).isEmpty();
    return value >= setting.least && value <= setting.most;
}

QString allowedText(const BlockSetting &setting)
{
    if (setting.id == Setting::Baud)
        return QStringLiteral("one of ") + choiceNames(setting).join(QStringLiteral(", "));
    if (setting.kind == SettingKind::Choice)
        return orList(choiceNames(setting));
    return QStringLiteral("%1 to %2").arg(setting.least).arg(setting.most);
}

} // namespace veltra
