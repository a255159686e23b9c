#include "protocol/distancewrite.h"

#include "messagetext.h"
#include "numbers.h"
#include "protocol/levelwrite.h"
#include "protocol/modelcatalogue.h"

namespace veltra {

DistanceCheck checkDistanceEntries(const QString &baudBox, const QString &slave, const QString &switchPoint)
{
    if (!ModelCatalogue::baudCodeForText(baudBox))
        return DistanceCheck::Baud;
    if (!typedWithin(slave, Setting::Slave))
        return DistanceCheck::Slave;
    if (!typedWithin(switchPoint, Setting::Switch))
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
        return checkPrompt(QT_TRANSLATE_NOOP("Messages", "Switch not in range or empty"));
    }
    return {};
}

DistanceWritePlan planDistanceWrite(const DistanceWriteInput &input)
{
    const bool distanceModel = input.modelBox == QLatin1String(ModelCatalogue::kDistanceModelName);
    BlockWriteInput in;
    in.baudBox = input.baudBox;
    in.ogrBox = input.ogrBox;
    in.modelCode = distanceModel ? std::optional<int>(ModelCatalogue::kDistanceModelCode) : std::nullopt;
    in.keptBaudCode = input.baudCode;
    in.keptModelCode = input.modelCode;
    in.keptOgrCode = input.ogrCode;
    in.slave = input.slave;
    in.month = input.month;
    in.day = input.day;
    in.year = input.year;
    in.empty = input.empty;
    in.full = input.full;
    in.lowDoOrSwitch = input.switchPoint;
    in.hiDo = input.hiDo;
    const BlockWritePlan block = planBlockWrite(in, BlockForm::Distance);

    DistanceWritePlan plan;
    plan.error = block.error;
    plan.settings = block.settings;
    plan.baudCode = block.baudCode;
    plan.modelCode = block.modelCode;
    plan.ogrCode = block.ogrCode;
    plan.empty = block.empty;
    plan.full = block.full;
    plan.switchPoint = block.lowDoOrSwitch;
    plan.hiDo = block.hiDo;
    plan.request = block.request;
    plan.lineSettings = block.lineSettings;
    return plan;
}

} // namespace veltra
