#pragma once

#include "protocol/blockwrite.h"

#include <QByteArray>
#include <QString>

namespace veltra {

// The distance window's checks, first failure returned: the baud box must
// hold one of the five rates, the slave address must round to 1..247 and the
// switch point to 61..599.
enum class DistanceCheck { Passed, Baud, Slave, Switch };
DistanceCheck checkDistanceEntries(const QString &baudBox, const QString &slave, const QString &switchPoint);
// The message box prompt of a failed check, exactly as the operator sees it.
QString distanceCheckMessage(DistanceCheck check);

// What the distance window's write sends: its three boxes, the codes the last
// read left, the fields sent as they stand and the four 16-bit values.
struct DistanceWriteInput {
    QString baudBox, modelBox, ogrBox;
    QString baudCode, modelCode, ogrCode;
    QString slave, month, day, year;
    QString empty, full, switchPoint, hiDo;
};

struct DistanceWritePlan {
    SensorSettings settings{SensorFamily::Distance}; // what is sent, read once from the texts
    QString baudCode, modelCode, ogrCode;
    WordBytes empty, full, switchPoint, hiDo;
    QByteArray request;   // the 19-byte request of the first fifteen fields
    QString lineSettings; // the rate to switch to after the wait; empty: keep the rate
    // Set when a value cannot be encoded; everything else is then empty and
    // nothing may be written or sent (see planLevelWrite).
    QString error;
};

// The 19-byte write request of the distance block. The model box writes code
// 90 only for "DVZ-900"; any other text keeps the model code. Does not run
// the checks: call checkDistanceEntries first.
DistanceWritePlan planDistanceWrite(const DistanceWriteInput &input);

} // namespace veltra
