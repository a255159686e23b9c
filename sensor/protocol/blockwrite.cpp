#include "protocol/blockwrite.h"

#include "linesettings.h"
#include "messagetext.h"
#include "numbers.h"
#include "protocol/commandframe.h"
#include "protocol/modelcatalogue.h"
#include "protocol/settingsplan.h"

#include <QHash>
#include <QList>

#include <cstdint>

namespace veltra {

namespace {

QString outsideMessage(const QString &field, const QString &text, int hi)
{
    return messageText(QT_TRANSLATE_NOOP("Messages", "%1 cannot be sent: %2 is outside 0 to %3."),
                       {field, NumberToText(TextToNumber(text)), QString::number(hi)});
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

// The number a text stands for, as the field is read (the number it begins
// with), rounded halves to even.
int valueOf(const QString &text)
{
    return typedValue(text);
}

// The window's text of each setting: a box's code (or the code the last read
// left), or the field as typed.
QString textOf(const BlockSetting &setting, const BlockWriteInput &input, const QString &code)
{
    switch (setting.id) {
    case Setting::Slave:
        return input.slave;
    case Setting::Month:
        return input.month;
    case Setting::Day:
        return input.day;
    case Setting::Year:
        return input.year;
    case Setting::Empty:
        return input.empty;
    case Setting::Full:
        return input.full;
    case Setting::LowDo:
    case Setting::Switch:
        return input.lowDoOrSwitch;
    case Setting::HiDo:
        return input.hiDo;
    default:
        return code;
    }
}

WordBytes wordBytes(int value)
{
    const CommandFrame::BytePair pair = CommandFrame::splitWord(value);
    return {NumberToText(pair.high), NumberToText(pair.low)};
}

} // namespace

bool typedWithin(const QString &text, Setting id)
{
    const BlockSetting &setting = blockSetting(id);
    return wholeNumberIn(text, setting.least, setting.most).has_value();
}

QString checkPrompt(const char *text)
{
    return messageText(text) + QString::fromUtf16(u"\x10\x01\x10\x0f\x01");
}

BlockWritePlan planBlockWrite(const BlockWriteInput &input, BlockForm form)
{
    const SensorFamily family = form == BlockForm::Distance ? SensorFamily::Distance : SensorFamily::Level;
    const QHash<Setting, QString> codes{
        {Setting::Baud, codeOr(ModelCatalogue::baudCodeForText(input.baudBox), input.keptBaudCode)},
        {Setting::Model, codeOr(input.modelCode, input.keptModelCode)},
        {Setting::Ogr, codeOr(ModelCatalogue::ogrCodeForText(input.ogrBox), input.keptOgrCode)},
        {Setting::Omb, codeOr(ModelCatalogue::ombCodeForText(input.ombBox), input.keptOmbCode)},
        {Setting::Resolution,
         codeOr(ModelCatalogue::resolutionCodeForText(input.resolutionBox), input.keptResolutionCode)},
    };

    // Each text is read once, into the settings the request is made of. A
    // 16-bit setting must have a two-byte form the sensor reads back; a byte
    // that travels must be one (bytes that are not sent are not checked).
    constexpr int kWordMax = 32767;
    BlockWritePlan plan;
    plan.settings = SensorSettings(family);
    const int sent = requestFields(form);
    for (const BlockSetting &setting : blockSettings(family)) {
        const QString text = textOf(setting, input, codes.value(setting.id));
        const int most = setting.word ? kWordMax : 255;
        const bool checked = setting.word || setting.field <= sent;
        const int value = valueOf(text);
        if (checked && (value < 0 || value > most)) {
            BlockWritePlan none;
            none.error = outsideMessage(QLatin1String(setting.title), text, most);
            return none;
        }
        plan.settings.setValue(setting.id, value);
    }

    const SensorSettings &s = plan.settings;
    plan.baudCode = s.text(Setting::Baud);
    plan.modelCode = s.text(Setting::Model);
    plan.ogrCode = s.text(Setting::Ogr);
    plan.empty = wordBytes(s.value(Setting::Empty));
    plan.full = wordBytes(s.value(Setting::Full));
    plan.lowDoOrSwitch = wordBytes(s.value(family == SensorFamily::Distance ? Setting::Switch : Setting::LowDo));
    plan.hiDo = wordBytes(s.value(Setting::HiDo));
    if (family == SensorFamily::Level) {
        plan.ombCode = s.text(Setting::Omb);
        plan.resolutionCode = s.text(Setting::Resolution);
    }
    if (form != BlockForm::NoRequest)
        plan.request = CommandFrame::writeSettingsRequest(s.payload(sent));
    if (const BaudRow *row = baudRowForCode(s.value(Setting::Baud)))
        plan.lineSettings = QString::fromLatin1(row->lineSettings);
    return plan;
}

} // namespace veltra
