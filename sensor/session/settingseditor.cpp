#include "session/settingseditor.h"

#include "messagetext.h"
#include "session/sensorsession.h"

namespace veltra {

QStringList heldOtherwise(const SensorSettings &sent, const SensorSettings &held, int fields,
                          const std::function<QString(const SensorSettings &, const BlockSetting &)> &describe)
{
    QStringList differences;
    for (const BlockSetting &setting : blockSettings(sent.family())) {
        if (setting.lastField() <= fields && held.value(setting) != sent.value(setting)) {
            differences << messageText(QT_TRANSLATE_NOOP("Messages", "%1: sent %2, the sensor holds %3"),
                                       {QLatin1String(setting.name), describe(sent, setting), describe(held, setting)});
        }
    }
    return differences;
}

SettingsEditor::SettingsEditor(SensorSession &session)
    : m_session(session)
{}

std::optional<SensorSettings> SettingsEditor::read()
{
    std::optional<SensorSettings> settings = m_session.readSettings();
    if (settings)
        m_lastRead = settings;
    return settings;
}

SettingsEditor::WriteResult SettingsEditor::write(const SensorSettings &settings, bool readBack)
{
    return send(planWrite(settings), settings, readBack);
}

SettingsEditor::WriteResult SettingsEditor::send(const WritePlan &plan, const SensorSettings &settings, bool readBack)
{
    using Outcome = WriteResult::Outcome;
    WriteResult result;
    if (!m_session.write(plan.request))
        return result;
    if (!readBack) {
        // Nothing is read after this write, so ask whether the device is
        // still there: an adapter pulled during the wait is reported.
        result.outcome
            = m_session.switchRate(plan.lineSettings) && m_session.checkConnection() ? Outcome::Written : Outcome::Lost;
        return result;
    }
    if (m_session.followWrite(plan.lineSettings))
        result.after = m_session.readSettings();
    if (!result.after) {
        result.outcome = Outcome::ReadBackFailed;
        return result;
    }
    m_lastRead = result.after;
    if (result.after->family() != settings.family()) {
        result.differences
            << QStringLiteral("the sensor now reports a %1 model").arg(familyName(result.after->family()));
    } else {
        result.differences = heldOtherwise(settings, *result.after, plan.fieldsCarried(),
                                           [](const SensorSettings &values, const BlockSetting &setting) {
                                               return describeValue(setting, values.value(setting));
                                           });
    }
    result.outcome = result.differences.isEmpty() ? Outcome::Verified : Outcome::Differs;
    return result;
}

} // namespace veltra
