#include "protocol/levelwrite.h"

#include "messagetext.h"
#include "numbers.h"
#include "protocol/modelcatalogue.h"

namespace veltra {

LevelCheck checkLevelEntries(const LevelEntries &entries)
{
    // Only the five rates: any other text would send baud code 0 and leave
    // the sensor at a rate nobody can reach. "" and "NON" are not rates either.
    if (!ModelCatalogue::baudCodeForText(entries.baudBox))
        return LevelCheck::Baud;

    // Every entry is judged as the sensor will receive it, rounded halves to
    // even: 247.6 travels as 248, Empty 0.4 as 0, Hi DO 100.5 as 100.
    if (!typedWithin(entries.slave, Setting::Slave))
        return LevelCheck::Slave;
    if (!typedWithin(entries.empty, Setting::Empty))
        return LevelCheck::Empty;
    if (!typedWithin(entries.full, Setting::Full))
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
        return checkPrompt(QT_TRANSLATE_NOOP("Messages", " baud rate is empty "));
    case LevelCheck::Slave:
        return checkPrompt(QT_TRANSLATE_NOOP("Messages", "slave address not in range or empty"));
    case LevelCheck::Empty:
        return checkPrompt(QT_TRANSLATE_NOOP("Messages", "empty not in range or empty"));
    case LevelCheck::Full:
        return checkPrompt(QT_TRANSLATE_NOOP("Messages", "full not in range or empty"));
    case LevelCheck::Thresholds:
        return messageText(QT_TRANSLATE_NOOP("Messages", "Low DO is not less than Hi Do"));
    }
    return {};
}

LevelEntries levelEntriesOf(const LevelWriteInput &input, bool thresholdsEditable)
{
    return {input.baudBox, input.slave, input.empty, input.full, input.lowDo, input.hiDo, thresholdsEditable};
}

std::array<QString, 8> LevelWritePlan::byteFields() const
{
    return {empty.high, empty.low, full.high, full.low, lowDo.high, lowDo.low, hiDo.high, hiDo.low};
}

LevelWritePlan planLevelWrite(const LevelWriteInput &input)
{
    // Any other marker sends nothing; the fields and the rate still follow.
    const BlockForm form = input.layoutMarker == u"100"  ? BlockForm::LevelLong
                           : input.layoutMarker == u"10" ? BlockForm::LevelShort
                                                         : BlockForm::NoRequest;
    BlockWriteInput in;
    in.baudBox = input.baudBox;
    in.ogrBox = input.ogrBox;
    in.ombBox = input.ombBox;
    in.resolutionBox = input.resolutionBox;
    in.modelCode = ModelCatalogue::codeForModelName(input.modelBox);
    in.keptBaudCode = input.baudCode;
    in.keptModelCode = input.modelCode;
    in.keptOgrCode = input.ogrCode;
    in.keptOmbCode = input.ombCode;
    in.keptResolutionCode = input.resolutionCode;
    in.slave = input.slave;
    in.month = input.month;
    in.day = input.day;
    in.year = input.year;
    in.empty = input.empty;
    in.full = input.full;
    in.lowDoOrSwitch = input.lowDo;
    in.hiDo = input.hiDo;
    const BlockWritePlan block = planBlockWrite(in, form);

    LevelWritePlan plan;
    plan.error = block.error;
    plan.settings = block.settings;
    plan.baudCode = block.baudCode;
    plan.modelCode = block.modelCode;
    plan.ogrCode = block.ogrCode;
    plan.ombCode = block.ombCode;
    plan.resolutionCode = block.resolutionCode;
    plan.empty = block.empty;
    plan.full = block.full;
    plan.lowDo = block.lowDoOrSwitch;
    plan.hiDo = block.hiDo;
    plan.request = block.request;
    plan.lineSettings = block.lineSettings;
    return plan;
}

} // namespace veltra
