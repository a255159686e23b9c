#include "settingsedit.h"

#include "numbers.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace veltra {

namespace {

PreparedWrite usage(const QString &message)
{
    PreparedWrite result;
    result.status = PreparedWrite::Status::Usage;
    result.message = message;
    return result;
}

} // namespace

QStringList changeableSettings(const SensorSettings &settings)
{
    QList<const BlockSetting *> list;
    for (const BlockSetting &setting : blockSettings(settings.family())) {
        if (settings.operatorMayChange(setting))
            list << &setting;
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const BlockSetting *a, const BlockSetting *b) { return !a->distanceUnit && b->distanceUnit; });
    QStringList names;
    for (const BlockSetting *setting : list)
        names << QLatin1String(setting->name);
    return names;
}

QString settingsHelp()
{
    QList<const BlockSetting *> list;
    for (const BlockSetting &setting : kBlockSettings) {
        const auto typed = [&setting](SensorFamily family) {
            const ChangeRule rule = changeRule(setting, family);
            return inFamily(setting, family) && rule != ChangeRule::Never && rule != ChangeRule::FromFile;
        };
        if (typed(SensorFamily::Level) || typed(SensorFamily::Distance))
            list << &setting;
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const BlockSetting *a, const BlockSetting *b) { return !a->distanceUnit && b->distanceUnit; });
    QString text = QStringLiteral("Settings (--set NAME=VALUE; numbers are rounded halves to even):\n");
    for (const BlockSetting *setting : list) {
        QString who;
        if (changeRule(*setting, SensorFamily::Level) == ChangeRule::DigitalOutputs)
            who = QStringLiteral(" (level models with switching outputs)");
        else if (changeRule(*setting, SensorFamily::Level) == ChangeRule::ResolutionChoice)
            who = QStringLiteral(" (DVT-14, DVT-16 and DVT-18: codes 105 to 107)");
        else if (!inFamily(*setting, SensorFamily::Distance) || setting->distanceRule == ChangeRule::Never)
            who = QStringLiteral(" (level sensors)");
        else if (!inFamily(*setting, SensorFamily::Level))
            who = QStringLiteral(" (distance sensor)");
        QString unit = setting->distanceUnit ? QStringLiteral(", in the sensor's unit") : QString();
        if (setting->aboveLowDo)
            unit += QStringLiteral(", above low-do");
        text += QStringLiteral("  %1%2%3\n")
                    .arg(QLatin1String(setting->name), -12)
                    .arg(allowedText(*setting).remove(QStringLiteral("one of ")) + unit, who);
    }
    text.chop(1);
    return text;
}

PreparedWrite prepareWrite(const SensorSettings &current, const QStringList &assignments, const QString &linkBaudText)
{
    if (assignments.isEmpty())
        return usage(QStringLiteral("Nothing to write: give at least one --set NAME=VALUE."));

    const QStringList changeable = changeableSettings(current);
    PreparedWrite result;
    result.settings = current;
    // A stored baud code that is no rate is written as the rate the link
    // found, as the windows' baud box shows it.
    const BlockSetting &baud = blockSetting(Setting::Baud);
    if (!isDefinedValue(baud, current.value(baud)))
        result.settings.setValue(Setting::Baud, choiceCode(baud, linkBaudText).value_or(0));

    QSet<QString> seen;
    QHash<Setting, QString> given;
    for (const BlockSetting &setting : blockSettings(current.family()))
        given.insert(setting.id, describeValue(setting, current.value(setting)));
    for (const QString &assignment : assignments) {
        const qsizetype equals = assignment.indexOf(u'=');
        if (equals <= 0)
            return usage(QStringLiteral("\"%1\" is not NAME=VALUE.").arg(assignment));
        const QString name = assignment.left(equals).trimmed().toLower();
        const QString value = assignment.mid(equals + 1).trimmed();
        if (!changeable.contains(name)) {
            return usage(QStringLiteral("%1 has no setting \"%2\" to change; it has: %3.")
                             .arg(current.modelName(), name, changeable.join(QStringLiteral(", "))));
        }
        const BlockSetting &setting = *findBlockSetting(current.family(), name);
        if (seen.contains(name))
            return usage(QStringLiteral("\"%1\" is set twice.").arg(name));
        seen.insert(name);
        given.insert(setting.id, value);

        if (setting.kind == SettingKind::Choice) {
            // A rate is a number as typed; a name is taken in any letter
            // case. A rate that is none of the five fails the check below.
            const bool rate = setting.id == Setting::Baud;
            const std::optional<int> code = choiceCode(setting, value, rate ? Qt::CaseSensitive : Qt::CaseInsensitive);
            if (!code && !rate) {
                return usage(QStringLiteral("%1 must be one of %2, not \"%3\".")
                                 .arg(name, choiceNames(setting).join(QStringLiteral(", ")), value));
            }
            result.settings.setValue(setting.id, code.value_or(-1));
            continue;
        }
        // Numbers may be empty (read as 0, which the checks refuse), but not
        // text that merely starts with a number, which a window would read
        // as that number.
        if (!value.isEmpty() && !isNumberText(value))
            return usage(QStringLiteral("%1 must be a number, not \"%2\".").arg(name, value));
        result.settings.setValue(setting.id, typedValue(value));
    }

    if (const BlockSetting *failed = firstFailedCheck(result.settings, current, CheckScope::Write)) {
        result.status = PreparedWrite::Status::Refused;
        result.message = checkMessage(*failed, [&given](Setting id) { return given.value(id); })
                         + QStringLiteral(" Nothing was sent.");
        return result;
    }
    result.plan = planWrite(result.settings);
    return result;
}

} // namespace veltra
