#pragma once

#include "protocol/blockwrite.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace veltra {

// The operator's entries that Write checks, as the window holds them.
struct LevelEntries {
    QString baudBox;
    QString slave;
    QString empty;
    QString full;
    QString lowDo;
    QString hiDo;
    // False for models whose Low DO and Hi DO are hidden (no digital outputs,
    // or a run-control model): their thresholds are sent as they stand.
    bool thresholdsEditable = true;
};

// The first entry that fails, in the order the checks run. The baud box must
// hold one of the five rates. Numbers are judged once rounded as they will be
// sent (halves to even): slave address 1 to 247, Empty 1 to 10000, Full 1 to
// 9500, Low DO at least 1 and Hi DO above it; Low DO and Hi DO are skipped
// when not editable.
enum class LevelCheck { Passed, Baud, Slave, Empty, Full, Thresholds };

LevelCheck checkLevelEntries(const LevelEntries &entries);

// The message box prompt of a failed check, exactly as the operator sees it
// (four of them end in five control characters that belong to the text).
QString levelCheckMessage(LevelCheck check);

// Everything Write puts into the window and on the wire, worked out before
// anything changes, so a value that cannot be encoded stops the write whole.
struct LevelWriteInput {
    // The boxes as the operator left them.
    QString baudBox, modelBox, ogrBox, ombBox, resolutionBox;
    // The codes as the last read left them, kept when a box matches nothing.
    QString baudCode, modelCode, ogrCode, ombCode, resolutionCode;
    // Fields sent as they stand.
    QString slave, month, day, year;
    // The 16-bit settings.
    QString empty, full, lowDo, hiDo;
    // The model's write layout: "100" the long request, "10" the short one,
    // anything else no request at all.
    QString layoutMarker;
};

struct LevelWritePlan {
    SensorSettings settings{SensorFamily::Level}; // what is sent, read once from the texts
    QString baudCode, modelCode, ogrCode, ombCode, resolutionCode;
    // High and low byte of each 16-bit setting.
    WordBytes empty, full, lowDo, hiDo;
    QByteArray request;   // empty when the marker asks for no request
    QString lineSettings; // the rate to switch to after the wait; empty: keep the rate
    // Set when a field cannot be encoded: a 16-bit setting outside 0 to 32767
    // after rounding, or (only when a request is built) a request byte outside
    // 0 to 255. It names the field, for the operator. The other members are
    // then left empty and must not be used: nothing may be written or sent.
    QString error;

    // The eight byte fields of Empty, Full, Low DO and Hi DO in block order.
    std::array<QString, 8> byteFields() const;
};

// The entries Write checks, taken from a write's input.
LevelEntries levelEntriesOf(const LevelWriteInput &input, bool thresholdsEditable);

// Does not run the checks: call checkLevelEntries first.
LevelWritePlan planLevelWrite(const LevelWriteInput &input);

} // namespace veltra
