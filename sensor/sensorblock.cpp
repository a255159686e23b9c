#include "sensorblock.h"

#include "bytetext.h"
#include "commandframe.h"
#include "identification.h"
#include "numbers.h"
#include "settingsreply.h"

namespace veltra {

namespace {

int fieldCountOf(SensorFamily family)
{
    return blockFieldCount(family);
}

QString asField(int value)
{
    return QStringLiteral("%1").arg(value, 3, 10, QLatin1Char(' '));
}

} // namespace

SensorBlock::SensorBlock(SensorFamily family, const QString &reply)
    : m_family(family)
    , m_reply(reply)
{}

QString settingsReplyProblem(const QString &reply)
{
    if (reply.isEmpty())
        return QStringLiteral("The sensor did not answer the read request.");
    const Identification id = Identification::fromReply(reply);
    if (!id.damaged)
        return {};
    const int fields
        = id.window == ModelWindow::Distance ? SettingsReply::kDistanceFields : SettingsReply::kLevelFields;
    const int field = SettingsReply::firstDamagedField(reply, fields);
    const QString where
        = reply.size() < 3 * field
              ? QStringLiteral("cut short after %1 characters").arg(reply.size())
              : QStringLiteral("field %1 reads \"%2\"").arg(field).arg(escapedText(reply.mid(3 * (field - 1), 3)));
    // A flood is shown by its start; the count says how much there was.
    constexpr int kShown = 120;
    const QString shown
        = escapedText(QStringView(reply).left(kShown)) + (reply.size() > kShown ? QStringLiteral("...") : QString());
    return QStringLiteral("The sensor's reply to the read request was damaged (%1); nothing was taken from it. "
                          "It read \"%2\" (%3 characters).")
        .arg(where, shown)
        .arg(reply.size());
}

std::optional<SensorBlock> SensorBlock::fromReply(const QString &reply, QString *why)
{
    *why = settingsReplyProblem(reply);
    if (!why->isEmpty())
        return std::nullopt;
    const Identification id = Identification::fromReply(reply);
    if (id.window == ModelWindow::None) {
        *why = QStringLiteral("The reply to the read request names no known model (model code \"%1\").")
                   .arg(id.modelCode);
        return std::nullopt;
    }
    const SensorFamily family = id.window == ModelWindow::Distance ? SensorFamily::Distance : SensorFamily::Level;
    // Characters after the block are not part of it, as for the windows.
    return SensorBlock(family, reply.left(3 * fieldCountOf(family)));
}

SensorBlock SensorBlock::fromValues(SensorFamily family, std::span<const int> values)
{
    QString reply;
    const auto settings = blockSettings(family);
    for (std::size_t i = 0; i < settings.size() && i < values.size(); ++i) {
        if (settings[i].word) {
            const auto [high, low] = CommandFrame::splitWord(values[i]);
            reply += asField(high) + asField(low);
        } else {
            reply += asField(values[i]);
        }
    }
    return SensorBlock(family, reply);
}

int SensorBlock::fieldCount() const
{
    return fieldCountOf(m_family);
}

int SensorBlock::field(int number) const
{
    return fieldText(number).toInt();
}

QString SensorBlock::fieldText(int number) const
{
    return SettingsReply(m_reply, fieldCount()).number(number);
}

int SensorBlock::value(const BlockSetting &setting) const
{
    const SettingsReply block(m_reply, fieldCount());
    return (setting.word ? block.word(setting.field) : block.number(setting.field)).toInt();
}

int SensorBlock::value(const char *settingName) const
{
    const BlockSetting *setting = findBlockSetting(m_family, QLatin1String(settingName));
    return setting ? value(*setting) : 0;
}

QString SensorBlock::valueText(const char *settingName) const
{
    return QString::number(value(settingName));
}

QString SensorBlock::baudText() const
{
    return SettingsReply(m_reply, fieldCount()).baudText();
}

QString SensorBlock::modelCode() const
{
    return fieldText(fieldOf(Setting::Model));
}

const ModelEntry *SensorBlock::row() const
{
    if (m_family != SensorFamily::Level)
        return nullptr;
    return ModelCatalogue::findByCode(modelCode(), fieldText(fieldOf(Setting::Resolution)));
}

QString SensorBlock::modelName() const
{
    return modelNameFor(modelCode(),
                        m_family == SensorFamily::Level ? fieldText(fieldOf(Setting::Resolution)) : QString());
}

QString SensorBlock::unit() const
{
    if (m_family == SensorFamily::Distance)
        return QStringLiteral("cm");
    // The row's own unit ("<300 cm", "<3000 mm"); a level code without a row
    // has only its resolution code to go by.
    if (const ModelEntry *entry = row())
        return QString::fromLatin1(entry->emptyCaption).section(QLatin1Char(' '), -1).toLower();
    return ModelCatalogue::resolutionTextForCode(field(fieldOf(Setting::Resolution))).toLower();
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

} // namespace veltra
