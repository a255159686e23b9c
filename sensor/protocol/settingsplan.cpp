#include "protocol/settingsplan.h"

#include "linesettings.h"
#include "messagetext.h"
#include "numbers.h"
#include "protocol/commandframe.h"

#include <cmath>

namespace veltra {

namespace {

// What a model lacks, for a restore that leaves the sensor's own value.
QString whyNotChangeable(const BlockSetting &setting, const SensorSettings &sensor)
{
    const QString model = sensor.modelName();
    switch (changeRule(setting, sensor.family())) {
    case ChangeRule::Never:
        if (setting.kind == SettingKind::Model)
            return messageText(QT_TRANSLATE_NOOP("Messages", "the sensor keeps its own model"));
        return messageText(QT_TRANSLATE_NOOP("Messages", "a %1 does not set it"), {model});
    case ChangeRule::DigitalOutputs:
        return messageText(QT_TRANSLATE_NOOP("Messages", "a %1 has no switching outputs"), {model});
    case ChangeRule::ResolutionChoice:
        return messageText(QT_TRANSLATE_NOOP("Messages", "a %1 cannot change its resolution"), {model});
    case ChangeRule::FromFile:
    case ChangeRule::Always:
        break;
    }
    return {};
}

// A distance in one unit as the other; nothing when it has no exact form.
std::optional<int> converted(int value, DistanceUnit from, DistanceUnit to)
{
    if (from == to)
        return value;
    if (from == DistanceUnit::Centimetre && to == DistanceUnit::Millimetre)
        return value * 10;
    if (from == DistanceUnit::Millimetre && to == DistanceUnit::Centimetre && value % 10 == 0)
        return value / 10;
    return std::nullopt;
}

bool passes(const BlockSetting &setting, const SensorSettings &settings)
{
    const int value = settings.value(setting);
    if (!isDefinedValue(setting, value))
        return false;
    return !setting.aboveLowDo || value > settings.value(Setting::LowDo);
}

} // namespace

WriteForm writeFormOf(const SensorSettings &settings)
{
    if (settings.family() == SensorFamily::Distance)
        return WriteForm::Distance;
    const ModelEntry *row = settings.row();
    return row && row->writeLayoutMarker && QLatin1String(row->writeLayoutMarker) == u"100" ? WriteForm::LevelLong
                                                                                            : WriteForm::LevelShort;
}

WritePlan planWrite(const SensorSettings &settings)
{
    const int fields = writeFormOf(settings) == WriteForm::LevelShort ? blockFieldCount(SensorFamily::Level) - 1
                                                                      : settings.fieldCount();
    WritePlan plan;
    plan.request = CommandFrame::writeSettingsRequest(settings.payload(fields));
    if (const BaudRow *row = baudRowForCode(settings.value(Setting::Baud)))
        plan.lineSettings = QString::fromLatin1(row->lineSettings);
    return plan;
}

const BlockSetting *firstFailedCheck(const SensorSettings &settings, const SensorSettings &held, CheckScope scope)
{
    for (const BlockSetting &setting : blockSettings(settings.family())) {
        if (!held.mayChange(setting))
            continue;
        // Hi DO above Low DO is one check of the two: it runs when either changed.
        const bool pair = setting.id == Setting::LowDo || setting.aboveLowDo;
        // A write checks the typed numbers and the rate the link is to follow.
        const bool typed = scope == CheckScope::Write && held.operatorMayChange(setting)
                           && (setting.kind == SettingKind::Number || setting.id == Setting::Baud);
        const bool changed = settings.value(setting) != held.value(setting)
                             || (pair && settings.value(Setting::LowDo) != held.value(Setting::LowDo))
                             || (pair && settings.value(Setting::HiDo) != held.value(Setting::HiDo));
        if ((typed || changed) && !passes(setting, settings))
            return &setting;
    }
    return nullptr;
}

QString checkMessage(const BlockSetting &setting, const std::function<QString(Setting)> &given)
{
    if (setting.id == Setting::LowDo || setting.aboveLowDo) {
        const BlockSetting &low = blockSetting(Setting::LowDo);
        return messageText(QT_TRANSLATE_NOOP("Messages", "low-do and hi-do must be %1 with hi-do greater than low-do "
                                                         "once rounded, not low-do \"%2\" and hi-do \"%3\"."),
                           {allowedText(low), given(Setting::LowDo), given(Setting::HiDo)});
    }
    const QStringList args{QLatin1String(setting.name), allowedText(setting), given(setting.id)};
    return setting.kind == SettingKind::Number
               ? messageText(QT_TRANSLATE_NOOP("Messages", "%1 must be %2 once rounded, not \"%3\"."), args)
               : messageText(QT_TRANSLATE_NOOP("Messages", "%1 must be %2, not \"%3\"."), args);
}

int typedValue(const QString &text)
{
    const double value = roundHalfEven(TextToNumber(text));
    if (!(value >= -1))
        return -1;
    if (!(value <= 65536))
        return 65536;
    return static_cast<int>(value);
}

bool RestorePlan::anyDiffers() const
{
    for (const RestoreRow &row : rows) {
        if (row.differs())
            return true;
    }
    return false;
}

QList<RestoreRow> RestorePlan::notApplied() const
{
    QList<RestoreRow> list;
    for (const RestoreRow &row : rows) {
        if (!row.applied && row.file != row.sensor)
            list << row;
    }
    return list;
}

RestorePlan planRestore(const SensorSettings &sensor, const SensorSettings &file, const QString &fileName,
                        bool convertUnits)
{
    RestorePlan plan;
    plan.target = sensor;
    plan.file = file;
    if (sensor.family() != file.family()) {
        plan.status = RestorePlan::Status::Refused;
        plan.message
            = messageText(QT_TRANSLATE_NOOP("Messages", "%1 holds the settings of a %2 sensor; this is a %3 sensor."),
                          {fileName, familyName(file.family()), familyName(sensor.family())});
        return plan;
    }
    bool distances = false;
    for (const BlockSetting &setting : blockSettings(sensor.family())) {
        RestoreRow row{
            &setting, sensor.value(setting), file.value(setting), sensor.value(setting), sensor.mayChange(setting), {}};
        if (row.applied) {
            row.wanted = row.file;
            plan.target.setValue(setting.id, row.file);
            distances = distances || setting.distanceUnit;
        } else {
            row.skipped = whyNotChangeable(setting, sensor);
        }
        plan.rows << row;
    }

    // Distances mean what the file's unit says; the sensor works in its own
    // unit once the restore is done (a model that chooses its resolution
    // takes the file's).
    plan.fileUnit = file.distanceUnit();
    plan.sensorUnit = plan.target.distanceUnit();
    if (distances && plan.fileUnit != plan.sensorUnit) {
        const QString differs
            = messageText(QT_TRANSLATE_NOOP("Messages", "%1 holds %2; this %3 works in %4."),
                          {fileName, unitWords(plan.fileUnit), sensor.modelName(), unitWords(plan.sensorUnit)});
        if (!convertUnits) {
            plan.status = RestorePlan::Status::UnitDiffers;
            plan.message = differs;
            return plan;
        }
        for (RestoreRow &row : plan.rows) {
            if (!row.applied || !row.setting->distanceUnit)
                continue;
            const std::optional<int> value = converted(row.file, plan.fileUnit, plan.sensorUnit);
            if (!value) {
                plan.status = RestorePlan::Status::Refused;
                plan.message
                    = messageText(QT_TRANSLATE_NOOP("Messages", "%1 Its %2 of %3 %4 has no exact value in %5."),
                                  {differs, QLatin1String(row.setting->name), QString::number(row.file),
                                   unitName(plan.fileUnit), unitWords(plan.sensorUnit)});
                return plan;
            }
            row.wanted = *value;
            plan.target.setValue(row.setting->id, *value);
        }
        plan.converted = true;
    }

    // The checks of a write, on what would change.
    if (const BlockSetting *failed = firstFailedCheck(plan.target, sensor, CheckScope::Restore)) {
        plan.status = RestorePlan::Status::Refused;
        const SensorSettings &target = plan.target;
        plan.message
            = messageText(QT_TRANSLATE_NOOP("Messages", "The file's %1"), {checkMessage(*failed, [&target](Setting id) {
                              return describeValue(blockSetting(id), target.value(id));
                          })});
    }
    return plan;
}

} // namespace veltra
