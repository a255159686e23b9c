#include "blockwrite.h"

#include "commandframe.h"
#include "linesettings.h"
#include "modelcatalogue.h"
#include "numbers.h"

#include <QList>

#include <cstdint>

namespace veltra {

namespace {

QString outsideMessage(const QString &field, const QString &text, int hi)
{
    return QStringLiteral("%1 cannot be sent: %2 is outside 0 to %3.")
        .arg(field, NumberToText(TextToNumber(text)))
        .arg(hi);
}

// A box text that matches no entry keeps the code the last read left.
QString codeOr(std::optional<int> code, const QString &kept)
{
    return code ? QString::number(*code) : kept;
}

int requestFields(BlockForm form)
{
    switch (form) {
    case BlockForm::NoRequest:
        return 0;
    case BlockForm::Distance:
        return blockFieldCount(SensorFamily::Distance);
    case BlockForm::LevelShort:
        return blockFieldCount(SensorFamily::Level) - 1;
    case BlockForm::LevelLong:
        return blockFieldCount(SensorFamily::Level);
    }
    return 0;
}

// One field as it will travel: its text and the name a message gives it.
struct FieldText {
    QString title;
    QString text;
};

// The fields a setting travels as, once the codes and words are worked out.
QList<FieldText> fieldTexts(const BlockSetting &setting, const BlockWriteInput &input, const BlockWritePlan &plan)
{
    const QString title = QLatin1String(setting.title);
    const auto word = [&title](const WordBytes &bytes) {
        return QList<FieldText>{{title + QStringLiteral(" (high byte)"), bytes.high},
                                {title + QStringLiteral(" (low byte)"), bytes.low}};
    };
    switch (setting.id) {
    case Setting::Baud:
        return {{title, plan.baudCode}};
    case Setting::Slave:
        return {{title, input.slave}};
    case Setting::Ogr:
        return {{title, plan.ogrCode}};
    case Setting::Month:
        return {{title, input.month}};
    case Setting::Day:
        return {{title, input.day}};
    case Setting::Year:
        return {{title, input.year}};
    case Setting::Model:
        return {{title, plan.modelCode}};
    case Setting::Empty:
        return word(plan.empty);
    case Setting::Full:
        return word(plan.full);
    case Setting::LowDo:
    case Setting::Switch:
        return word(plan.lowDoOrSwitch);
    case Setting::HiDo:
        return word(plan.hiDo);
    case Setting::Omb:
        return {{title, plan.ombCode}};
    case Setting::Resolution:
        return {{title, plan.resolutionCode}};
    }
    return {};
}

// Splits the four 16-bit values into their byte fields, in block order.
// Negative or larger values have no two-byte form the sensor reads back:
// the first such value's message, or empty.
QString splitWords(const BlockWriteInput &input, SensorFamily family, BlockWritePlan &plan)
{
    constexpr int kWordMax = 32767;
    const struct {
        Setting setting;
        const QString &text;
        WordBytes &bytes;
    } words[] = {
        {Setting::Empty, input.empty, plan.empty},
        {Setting::Full, input.full, plan.full},
        {family == SensorFamily::Distance ? Setting::Switch : Setting::LowDo, input.lowDoOrSwitch, plan.lowDoOrSwitch},
        {Setting::HiDo, input.hiDo, plan.hiDo},
    };
    for (const auto &word : words) {
        const std::optional<int> v = wholeNumberIn(word.text, 0, kWordMax);
        if (!v)
            return outsideMessage(QLatin1String(blockSetting(word.setting).title), word.text, kWordMax);
        const CommandFrame::BytePair pair = CommandFrame::splitWord(*v);
        word.bytes = {NumberToText(pair.high), NumberToText(pair.low)};
    }
    return {};
}

// The request of the form's first fields, each a byte of 0 to 255 once
// rounded; the first field that is not, named in the message.
QString buildRequest(const BlockWriteInput &input, BlockForm form, BlockWritePlan &plan)
{
    const SensorFamily family = form == BlockForm::Distance ? SensorFamily::Distance : SensorFamily::Level;
    const int fields = requestFields(form);
    QByteArray payload;
    payload.reserve(fields);
    for (const BlockSetting &setting : blockSettings(family)) {
        if (setting.field > fields)
            break;
        for (const FieldText &field : fieldTexts(setting, input, plan)) {
            const std::optional<std::uint8_t> byte = CommandFrame::payloadByte(field.text);
            if (!byte)
                return outsideMessage(field.title, field.text, 255);
            payload.append(static_cast<char>(*byte));
        }
    }
    plan.request = CommandFrame::writeSettingsRequest(payload);
    return {};
}

} // namespace

QString checkPrompt(const char16_t *text)
{
    return QString::fromUtf16(text) + QString::fromUtf16(u"\x10\x01\x10\x0f\x01");
}

BlockWritePlan planBlockWrite(const BlockWriteInput &input, BlockForm form)
{
    BlockWritePlan plan;
    plan.baudCode = codeOr(ModelCatalogue::baudCodeForText(input.baudBox), input.keptBaudCode);
    plan.modelCode = codeOr(input.modelCode, input.keptModelCode);
    plan.ogrCode = codeOr(ModelCatalogue::ogrCodeForText(input.ogrBox), input.keptOgrCode);
    plan.ombCode = codeOr(ModelCatalogue::ombCodeForText(input.ombBox), input.keptOmbCode);
    plan.resolutionCode = codeOr(ModelCatalogue::resolutionCodeForText(input.resolutionBox), input.keptResolutionCode);

    // The code as it stands picks the rate: "30" does, " 30" and "30.0" do not.
    for (const BaudRow &row : kBaudTable) {
        if (plan.baudCode == QString::fromLatin1(row.code).trimmed())
            plan.lineSettings = QString::fromLatin1(row.lineSettings);
    }

    const SensorFamily family = form == BlockForm::Distance ? SensorFamily::Distance : SensorFamily::Level;
    QString error = splitWords(input, family, plan);
    // Bytes that are not sent are not checked.
    if (error.isEmpty() && form != BlockForm::NoRequest)
        error = buildRequest(input, form, plan);
    // A failed plan carries only its error, so nothing half-made can be used.
    if (!error.isEmpty()) {
        BlockWritePlan none;
        none.error = error;
        return none;
    }
    return plan;
}

} // namespace veltra
