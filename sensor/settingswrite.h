#pragma once

#include <QByteArray>
#include <QString>

#include <array>

namespace veltra {

// The operator's entries that Write checks, as the window holds them.
struct LevelEntries {
    QString baudBox; // Combo1
    QString slave;   // Text13
    QString empty;   // Text2
    QString full;    // Text3
    QString lowDo;   // Text4
    QString hiDo;    // Text5
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
    // boxes
    QString baudBox, modelBox, ogrBox, ombBox, resolutionBox;
    // code fields as the last read left them (kept when a box matches nothing)
    QString baudCode, modelCode, ogrCode, ombCode, resolutionCode; // Text22, Text26, Text25, Text31, Text34
    // fields sent as they stand
    QString slave, month, day, year; // Text13, Text24, Text23, Text21
    // 16-bit settings
    QString empty, full, lowDo, hiDo; // Text2, Text3, Text4, Text5
    QString layoutMarker;             // Text38: "100" long request, "10" short, else none
};

struct LevelWritePlan {
    QString baudCode, modelCode, ogrCode, ombCode, resolutionCode;
    // High byte then low byte of Empty, Full, Low DO, Hi DO:
    // Text10, Text11, Text12, Text14, Text15, Text17, Text19, Text20
    std::array<QString, 8> byteFields;
    QByteArray request;   // empty when the marker asks for no request
    QString lineSettings; // the rate to switch to after the wait; empty: keep the rate
    // Set when a field cannot be encoded: a 16-bit setting outside 0 to 32767
    // after rounding, or (only when a request is built) a request byte outside
    // 0 to 255. It names the field, for the operator. The other members are
    // then left empty and must not be used: nothing may be written or sent.
    QString error;
};

// The entries Write checks, taken from a write's input.
LevelEntries levelEntriesOf(const LevelWriteInput &input, bool thresholdsEditable);

// Does not run the checks: call checkLevelEntries first.
LevelWritePlan planLevelWrite(const LevelWriteInput &input);

// The distance sensors' write: the 19-byte request of the first fifteen
// fields. The model box writes code 90 only for "DVZ-900"; lowDo holds the
// switch point; OMB, resolution and the layout marker are not used.
LevelWritePlan planDistanceWrite(const LevelWriteInput &input);

// The distance window's checks, first failure returned: the baud box must
// hold one of the five rates, the slave address must round to 1..247 and the
// switch point to 61..599.
enum class DistanceCheck { Passed, Baud, Slave, Switch };
DistanceCheck checkDistanceEntries(const QString &baudBox, const QString &slave, const QString &switchPoint);
QString distanceCheckMessage(DistanceCheck check);

} // namespace veltra
