#include "protocol/sensorsettings.h"

#include "bytetext.h"
#include "messagetext.h"
#include "protocol/commandframe.h"
#include "protocol/identification.h"
#include "protocol/settingsreply.h"

namespace veltra {

static_assert(std::size(kBlockSettings) == std::tuple_size_v<std::array<int, 14>>);

QString unitName(DistanceUnit unit)
{
    switch (unit) {
    case DistanceUnit::Centimetre:
        return QStringLiteral("cm");
    case DistanceUnit::Millimetre:
        return QStringLiteral("mm");
    case DistanceUnit::Unknown:
        break;
    }
    return {};
}

QString unitWords(DistanceUnit unit)
{
    switch (unit) {
    case DistanceUnit::Centimetre:
        return QStringLiteral("centimetres");
    case DistanceUnit::Millimetre:
        return QStringLiteral("millimetres");
    case DistanceUnit::Unknown:
        break;
    }
    return QStringLiteral("an unknown unit");
}

SensorSettings::SensorSettings(SensorFamily family)
    : m_family(family)
{}

QString settingsReplyProblem(const QString &reply)
{
    if (reply.isEmpty())
        return messageText(QT_TRANSLATE_NOOP("Messages", "The sensor did not answer the read request."));
    const Identification id = Identification::fromReply(reply);
    if (!id.damaged)
        return {};
    const int fields
        = id.window == ModelWindow::Distance ? SettingsReply::kDistanceFields : SettingsReply::kLevelFields;
    const int field = SettingsReply::firstDamagedField(reply, fields);
    const QString where = reply.size() < 3 * field
                              ? messageText(QT_TRANSLATE_NOOP("Messages", "cut short after %1 characters"),
                                            {QString::number(reply.size())})
                              : messageText(QT_TRANSLATE_NOOP("Messages", "field %1 reads \"%2\""),
                                            {QString::number(field), escapedText(reply.mid(3 * (field - 1), 3))});
    // A flood is shown by its start; the count says how much there was.
    constexpr int kShown = 120;
    const QString shown
        = escapedText(QStringView(reply).left(kShown)) + (reply.size() > kShown ? QStringLiteral("...") : QString());
    return messageText(QT_TRANSLATE_NOOP("Messages",
                                         "The sensor's reply to the read request was damaged (%1); nothing was "
                                         "taken from it. It read \"%2\" (%3 characters)."),
                       {where, shown, QString::number(reply.size())});
}

std::optional<SensorSettings> SensorSettings::fromReply(const QString &reply, QString *why)
{
    *why = settingsReplyProblem(reply);
    if (!why->isEmpty())
        return std::nullopt;
    const Identification id = Identification::fromReply(reply);
    if (id.window == ModelWindow::None) {
        *why = messageText(
            QT_TRANSLATE_NOOP("Messages", "The reply to the read request names no known model (model code \"%1\")."),
            {id.modelCode});
        return std::nullopt;
    }
    const SensorFamily family = id.window == ModelWindow::Distance ? SensorFamily::Distance : SensorFamily::Level;
    return fromBlock(reply, family);
}

SensorSettings SensorSettings::fromBlock(const QString &block, SensorFamily family)
{
    // Every field three digits; characters after the block are not part of it.
    const SettingsReply fields(block, blockFieldCount(family));
    SensorSettings settings(family);
    for (const BlockSetting &setting : blockSettings(family))
        settings.setValue(setting.id, fields.value(setting.id).toInt());
    return settings;
}

SensorSettings SensorSettings::fromValues(SensorFamily family, std::span<const int> values)
{
    SensorSettings settings(family);
    const auto list = blockSettings(family);
    for (std::size_t i = 0; i < list.size() && i < values.size(); ++i)
        settings.setValue(list[i].id, values[i]);
    return settings;
}

int SensorSettings::field(int number) const
{
    for (const BlockSetting &setting : blockSettings(m_family)) {
        if (setting.field == number)
            return setting.word ? CommandFrame::splitWord(value(setting)).high : value(setting);
        if (setting.word && setting.field + 1 == number)
            return CommandFrame::splitWord(value(setting)).low;
    }
    return 0;
}

QByteArray SensorSettings::payload(int fields) const
{
    QByteArray bytes;
    bytes.reserve(fields);
    for (int k = 1; k <= fields; ++k)
        bytes.append(static_cast<char>(field(k)));
    return bytes;
}

QString SensorSettings::replyText() const
{
    QString text;
    for (int k = 1; k <= fieldCount(); ++k)
        text += QStringLiteral("%1").arg(field(k), 3, 10, QLatin1Char(' '));
    return text;
}

QString SensorSettings::baudText() const
{
    return choiceName(blockSetting(Setting::Baud), value(Setting::Baud));
}

const ModelEntry *SensorSettings::row() const
{
    if (m_family != SensorFamily::Level)
        return nullptr;
    return ModelCatalogue::findByCode(modelCode(), text(Setting::Resolution));
}

QString SensorSettings::modelName() const
{
    return modelNameFor(modelCode(), m_family == SensorFamily::Level ? text(Setting::Resolution) : QString());
}

DistanceUnit SensorSettings::distanceUnit() const
{
    if (m_family == SensorFamily::Distance)
        return DistanceUnit::Centimetre;
    // The row's own unit ("<300 cm", "<3000 mm"); a level code without a row
    // has only its resolution code to go by.
    QString unit;
    if (const ModelEntry *entry = row())
        unit = QString::fromLatin1(entry->emptyCaption).section(QLatin1Char(' '), -1).toLower();
    else
        unit = choiceName(blockSetting(Setting::Resolution), value(Setting::Resolution)).toLower();
    if (unit == u"cm")
        return DistanceUnit::Centimetre;
    if (unit == u"mm")
        return DistanceUnit::Millimetre;
    return DistanceUnit::Unknown;
}

bool SensorSettings::mayChange(const BlockSetting &setting) const
{
    if (!inFamily(setting, m_family))
        return false;
    const ModelEntry *entry = row();
    switch (changeRule(setting, m_family)) {
    case ChangeRule::Never:
        return false;
    case ChangeRule::FromFile:
    case ChangeRule::Always:
        return true;
    case ChangeRule::DigitalOutputs:
        return entry && entry->hasDigitalOutputs && entry->kind != ModelKind::RunControl;
    case ChangeRule::ResolutionChoice:
        return entry && entry->kind == ModelKind::ResolutionChoice;
    }
    return false;
}

bool SensorSettings::operatorMayChange(const BlockSetting &setting) const
{
    return mayChange(setting) && changeRule(setting, m_family) != ChangeRule::FromFile;
}

QString modelNameFor(const QString &modelCode, const QString &resolutionCode)
{
    switch (ModelCatalogue::windowForModelCode(modelCode)) {
    case ModelWindow::Distance:
        return QLatin1String(ModelCatalogue::kDistanceModelName);
    case ModelWindow::Level:
        if (const ModelEntry *entry = ModelCatalogue::findByCode(modelCode, resolutionCode))
            return QLatin1String(entry->name);
        break;
    case ModelWindow::None:
        break;
    }
    return QStringLiteral("unknown");
}

QString describeValue(const BlockSetting &setting, int value)
{
    const QString name = choiceName(setting, value);
    if (!name.isEmpty())
        return name;
    return setting.kind == SettingKind::Choice ? QStringLiteral("code %1").arg(value) : QString::number(value);
}

} // namespace veltra
