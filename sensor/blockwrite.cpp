#include "blockwrite.h"

#include "commandframe.h"
#include "linesettings.h"
#include "modelcatalogue.h"
#include "numbers.h"

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

// The text a one-field setting travels as, once the codes are worked out.
QString byteText(Setting setting, const BlockWriteInput &input, const BlockWritePlan &plan)
{
    switch (setting) {
    case Setting::Baud:
        return plan.baudCode;
    case Setting::Slave:
        return input.slave;
    case Setting::Ogr:
        return plan.ogrCode;
    case Setting::Month:
        return input.month;
    case Setting::Day:
        return input.day;
    case Setting::Year:
        return input.year;
    case Setting::Model:
        return plan.modelCode;
    case Setting::Omb:
        return plan.ombCode;
    case Setting::Resolution:
        return plan.resolutionCode;
    case Setting::Empty:
    case Setting::Full:
    case Setting::LowDo:
    case Setting::Switch:
    case Setting::HiDo:
        break;
    }
    return {};
}

} // namespace

QString checkPrompt(const char16_t *text)
{
    return QString::fromUtf16(text) + QString::fromUtf16(u"\x10\x01\x10\x0f\x01");
}

BlockWritePlan planBlockWrite(const BlockWriteInput &input, BlockForm form)
{
    const SensorFamily family = form == BlockForm::Distance ? SensorFamily::Distance : SensorFamily::Level;

    BlockWritePlan plan;
    plan.baudCode = codeOr(ModelCatalogue::baudCodeForText(input.baudBox), input.keptBaudCode);
    plan.modelCode = codeOr(input.modelCode, input.keptModelCode);
    plan.ogrCode = codeOr(ModelCatalogue::ogrCodeForText(input.ogrBox), input.keptOgrCode);
    plan.ombCode = codeOr(ModelCatalogue::ombCodeForText(input.ombBox), input.keptOmbCode);
    plan.resolutionCode = codeOr(ModelCatalogue::resolutionCodeForText(input.resolutionBox), input.keptResolutionCode);

    // A failed plan carries only its error, so nothing half-made can be used.
    const auto failed = [](const QString &error) {
        BlockWritePlan none;
        none.error = error;
        return none;
    };

    // The four 16-bit values, in block order. Negative or larger values have
    // no two-byte form the sensor reads back.
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
            return failed(outsideMessage(QLatin1String(blockSetting(word.setting).title), word.text, kWordMax));
        const CommandFrame::BytePair pair = CommandFrame::splitWord(*v);
        word.bytes = {NumberToText(pair.high), NumberToText(pair.low)};
    }

    // The code as it stands picks the rate: "30" does, " 30" and "30.0" do not.
    for (const BaudRow &row : kBaudTable) {
        if (plan.baudCode == QString::fromLatin1(row.code).trimmed())
            plan.lineSettings = QString::fromLatin1(row.lineSettings);
    }

    // Bytes that are not sent are not checked.
    const int fields = requestFields(form);
    if (fields == 0)
        return plan;

    QByteArray payload;
    payload.reserve(fields);
    const auto append = [&payload](const QString &text) {
        const std::optional<std::uint8_t> byte = CommandFrame::payloadByte(text);
        if (!byte)
            return false;
        payload.append(static_cast<char>(*byte));
        return true;
    };
    for (const BlockSetting &setting : blockSettings(family)) {
        if (setting.field > fields)
            break;
        const QString title = QLatin1String(setting.title);
        if (!setting.word) {
            const QString text = byteText(setting.id, input, plan);
            if (!append(text))
                return failed(outsideMessage(title, text, 255));
            continue;
        }
        const WordBytes &bytes = setting.id == Setting::Empty  ? plan.empty
                                 : setting.id == Setting::Full ? plan.full
                                 : setting.id == Setting::HiDo ? plan.hiDo
                                                               : plan.lowDoOrSwitch;
        if (!append(bytes.high))
            return failed(outsideMessage(title + QStringLiteral(" (high byte)"), bytes.high, 255));
        if (!append(bytes.low))
            return failed(outsideMessage(title + QStringLiteral(" (low byte)"), bytes.low, 255));
    }
    plan.request = CommandFrame::writeSettingsRequest(payload);
    return plan;
}

} // namespace veltra
