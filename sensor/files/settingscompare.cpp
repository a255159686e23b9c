#include "files/settingscompare.h"

namespace veltra {

QList<SettingComparison> compareSettings(const RestorePlan &plan)
{
    QList<SettingComparison> rows;
    const SensorSettings &target = plan.target;
    for (const RestoreRow &row : plan.rows) {
        const BlockSetting &setting = *row.setting;
        QString sensorValue = describeValue(setting, row.sensor);
        QString fileValue = describeValue(setting, row.file);
        if (setting.kind == SettingKind::Model) {
            sensorValue = QStringLiteral("%1 (code %2)").arg(target.modelName()).arg(row.sensor);
            fileValue = QStringLiteral("%1 (code %2)").arg(plan.file.modelName()).arg(row.file);
        } else if (plan.converted && row.applied && setting.distanceUnit) {
            fileValue = QStringLiteral("%1 %2 (%3 %4)")
                            .arg(row.file)
                            .arg(unitName(plan.fileUnit))
                            .arg(row.wanted)
                            .arg(unitName(plan.sensorUnit));
        }
        const QString note = !row.applied && row.file != row.sensor ? row.skipped : QString();
        rows.append({&setting, sensorValue, fileValue, row.differs(), note});
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
