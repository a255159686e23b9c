#include "settingscompare.h"

#include "linesettings.h"
#include "modelcatalogue.h"

namespace veltra {

QString choiceText(const BlockSetting &setting, int value)
{
    switch (setting.id) {
    case Setting::Baud: {
        const BaudRow *row = baudRowForCode(value);
        return row ? QString::fromLatin1(row->baudText) : QString();
    }
    case Setting::Ogr:
        return ModelCatalogue::ogrTextForCode(value);
    case Setting::Omb:
        return ModelCatalogue::ombTextForCode(value);
    case Setting::Resolution:
        return ModelCatalogue::resolutionTextForCode(value);
    default:
        return {};
    }
}

QString describeValue(const BlockSetting &setting, int value)
{
    const QString text = choiceText(setting, value);
    if (!text.isEmpty())
        return text;
    const bool coded = setting.id == Setting::Baud || setting.id == Setting::Ogr || setting.id == Setting::Omb
                       || setting.id == Setting::Resolution;
    return coded ? QStringLiteral("code %1").arg(value) : QString::number(value);
}

QList<SettingComparison> compareSettings(const SensorBlock &sensor, const SensorBlock &file)
{
    QList<SettingComparison> rows;
    if (sensor.family() != file.family())
        return rows;
    for (const BlockSetting &setting : blockSettings(sensor.family())) {
        const int held = sensor.value(setting);
        const int saved = file.value(setting);
        if (setting.id == Setting::Model) {
            // What the sensor is, not something a restore changes.
            rows.append({&setting, QStringLiteral("%1 (code %2)").arg(sensor.modelName()).arg(held),
                         QStringLiteral("%1 (code %2)").arg(file.modelName()).arg(saved), false});
            continue;
        }
        rows.append({&setting, describeValue(setting, held), describeValue(setting, saved), held != saved});
    }
    return rows;
}

bool anyDiffers(const QList<SettingComparison> &rows)
{
    for (const SettingComparison &row : rows) {
        if (row.differs)
            return true;
    }
    return false;
}

} // namespace veltra
