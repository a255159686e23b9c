#include "settingsblock.h"

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

} // namespace veltra
