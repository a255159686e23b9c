#include "settingswrite.h"

#include "commandframe.h"
#include "linesettings.h"
#include "modelcatalogue.h"
#include "numbers.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>

namespace veltra {

namespace {

// The five characters the prompts end with; they are part of the text.
constexpr char16_t kPromptTail[] = u"\x10\x01\x10\x0f\x01";

QString withTail(const char16_t *text)
{
    return QString::fromUtf16(text) + QString::fromUtf16(kPromptTail);
}

// A box text that matches no entry keeps the code the last read left.
QString codeOr(std::optional<int> code, const QString &kept)
{
    return code ? QString::number(*code) : kept;
}

QString outsideMessage(const QString &field, const QString &text, int hi)
{
    return QStringLiteral("%1 cannot be sent: %2 is outside 0 to %3.")
        .arg(field, NumberToText(TextToNumber(text)))
        .arg(hi);
}

} // namespace

LevelCheck checkLevelEntries(const LevelEntries &entries)
{
    // Only the five rates: any other text would send baud code 0 and leave
    // the sensor at a rate nobody can reach. "" and "NON" are not rates either.
    if (!ModelCatalogue::baudCodeForText(entries.baudBox))
        return LevelCheck::Baud;

    // Every entry is judged as the sensor will receive it, rounded halves to
    // even: 247.6 travels as 248, Empty 0.4 as 0, Hi DO 100.5 as 100.
    if (!wholeNumberIn(entries.slave, 1, 247))
        return LevelCheck::Slave;
    if (!wholeNumberIn(entries.empty, 1, 10000))
        return LevelCheck::Empty;
    if (!wholeNumberIn(entries.full, 1, 9500))
        return LevelCheck::Full;

    // Hidden thresholds cannot be corrected, so checking them would block
    // every write of a model without digital outputs.
    if (entries.thresholdsEditable) {
        const double lowDo = roundHalfEven(TextToNumber(entries.lowDo));
        const double hiDo = roundHalfEven(TextToNumber(entries.hiDo));
        if (!(lowDo > 0 && hiDo > 0 && hiDo > lowDo))
            return LevelCheck::Thresholds;
    }

    return LevelCheck::Passed;
}

QString levelCheckMessage(LevelCheck check)
{
    switch (check) {
    case LevelCheck::Passed:
        return {};
    case LevelCheck::Baud:
        return withTail(u" baud rate is empty ");
    case LevelCheck::Slave:
        return withTail(u"slave address not in range or empty");
    case LevelCheck::Empty:
        return withTail(u"empty not in range or empty");
    case LevelCheck::Full:
        return withTail(u"full not in range or empty");
    case LevelCheck::Thresholds:
        return QStringLiteral("Low DO is not less than Hi Do");
    }
    return {};
}

namespace {

// The block both families share: the distance sensors' is the first fifteen
// fields of the level sensors' (their Low DO place holds the switch point).
enum class BlockForm { NoRequest, Distance, LevelShort, LevelLong };

LevelWritePlan planBlockWrite(const LevelWriteInput &input, std::optional<int> modelCode, BlockForm form)
{
    LevelWritePlan plan;
    plan.baudCode = codeOr(ModelCatalogue::baudCodeForText(input.baudBox), input.baudCode);
    plan.modelCode = codeOr(modelCode, input.modelCode);
    plan.ogrCode = codeOr(ModelCatalogue::ogrCodeForText(input.ogrBox), input.ogrCode);
    plan.ombCode = codeOr(ModelCatalogue::ombCodeForText(input.ombBox), input.ombCode);
    plan.resolutionCode = codeOr(ModelCatalogue::resolutionCodeForText(input.resolutionBox), input.resolutionCode);

    // A failed plan carries only its error, so nothing half-made can be used.
    const auto failed = [](const QString &error) {
        LevelWritePlan none;
        none.error = error;
        return none;
    };

    constexpr int kWordMax = 32767;
    const struct {
        const char *name;
        const QString &text;
    } words[] = {
        {"Empty", input.empty},
        {"Full", input.full},
        {form == BlockForm::Distance ? "Switch" : "Low DO", input.lowDo},
        {"Hi DO", input.hiDo},
    };
    std::size_t slot = 0;
    for (const auto &word : words) {
        // Negative or larger values have no two-byte form the sensor reads back.
        const std::optional<int> v = wholeNumberIn(word.text, 0, kWordMax);
        if (!v)
            return failed(outsideMessage(QString::fromLatin1(word.name), word.text, kWordMax));
        const CommandFrame::BytePair pair = CommandFrame::splitWord(*v);
        plan.byteFields[slot++] = NumberToText(pair.high);
        plan.byteFields[slot++] = NumberToText(pair.low);
    }

    for (const BaudRow &row : kBaudTable) {
        if (plan.baudCode == QString::fromLatin1(row.code).trimmed())
            plan.lineSettings = QString::fromLatin1(row.lineSettings);
    }

    // Bytes that are not sent are not checked.
    if (form == BlockForm::NoRequest)
        return plan;

    const struct {
        const char *name;
        const QString &text;
    } fields[] = {
        {"Baud code", plan.baudCode},
        {"Slave address", input.slave},
        {"OGR code", plan.ogrCode},
        {"Date (month)", input.month},
        {"Date (day)", input.day},
        {"Date (year)", input.year},
        {"Model code", plan.modelCode},
        {"Empty (high byte)", plan.byteFields[0]},
        {"Empty (low byte)", plan.byteFields[1]},
        {"Full (high byte)", plan.byteFields[2]},
        {"Full (low byte)", plan.byteFields[3]},
        {form == BlockForm::Distance ? "Switch (high byte)" : "Low DO (high byte)", plan.byteFields[4]},
        {form == BlockForm::Distance ? "Switch (low byte)" : "Low DO (low byte)", plan.byteFields[5]},
        {"Hi DO (high byte)", plan.byteFields[6]},
        {"Hi DO (low byte)", plan.byteFields[7]},
        {"OMB code", plan.ombCode},
        {"Resolution code", plan.resolutionCode},
    };
    const std::size_t count = form == BlockForm::LevelLong    ? std::size(fields)
                              : form == BlockForm::LevelShort ? std::size(fields) - 1
                                                              : std::size(fields) - 2;

    QByteArray payload;
    payload.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<std::uint8_t> byte = CommandFrame::payloadByte(fields[i].text);
        if (!byte)
            return failed(outsideMessage(QString::fromLatin1(fields[i].name), fields[i].text, 255));
        payload.append(static_cast<char>(*byte));
    }
    plan.request = CommandFrame::writeSettingsRequest(payload);
    return plan;
}

} // namespace

LevelEntries levelEntriesOf(const LevelWriteInput &input, bool thresholdsEditable)
{
    return {input.baudBox, input.slave, input.empty, input.full, input.lowDo, input.hiDo, thresholdsEditable};
}

LevelWritePlan planLevelWrite(const LevelWriteInput &input)
{
    const std::optional<int> model = ModelCatalogue::codeForModelName(input.modelBox);
    if (input.layoutMarker == u"100")
        return planBlockWrite(input, model, BlockForm::LevelLong);
    if (input.layoutMarker == u"10")
        return planBlockWrite(input, model, BlockForm::LevelShort);
    // Any other marker sends nothing; the fields and the rate still follow.
    return planBlockWrite(input, model, BlockForm::NoRequest);
}

LevelWritePlan planDistanceWrite(const LevelWriteInput &input)
{
    const bool distanceModel = input.modelBox == QLatin1String(ModelCatalogue::kDistanceModelName);
    return planBlockWrite(input, distanceModel ? std::optional<int>(ModelCatalogue::kDistanceModelCode) : std::nullopt,
                          BlockForm::Distance);
}

DistanceCheck checkDistanceEntries(const QString &baudBox, const QString &slave, const QString &switchPoint)
{
    if (!ModelCatalogue::baudCodeForText(baudBox))
        return DistanceCheck::Baud;
    if (!wholeNumberIn(slave, 1, 247))
        return DistanceCheck::Slave;
    if (!wholeNumberIn(switchPoint, 61, 599))
        return DistanceCheck::Switch;
    return DistanceCheck::Passed;
}

QString distanceCheckMessage(DistanceCheck check)
{
    switch (check) {
    case DistanceCheck::Passed:
        return {};
    case DistanceCheck::Baud:
        return levelCheckMessage(LevelCheck::Baud);
    case DistanceCheck::Slave:
        return levelCheckMessage(LevelCheck::Slave);
    case DistanceCheck::Switch:
        return withTail(u"Switch not in range or empty");
    }
    return {};
}

} // namespace veltra
