#pragma once

#include "protocol/sensorsettings.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace veltra {

// The two fields a 16-bit setting travels as, as plain decimal text, as the
// windows keep them in their hidden fields.
struct WordBytes {
    QString high;
    QString low;
    bool operator==(const WordBytes &) const = default;
};

// How much of the block a write request carries.
enum class BlockForm {
    NoRequest,  // nothing is sent; the fields and the rate still follow
    Distance,   // the distance block: fifteen fields
    LevelShort, // the level block without the resolution code
    LevelLong,  // the whole level block
};

// Everything a write sends, as texts: the codes the boxes stand for (or the
// codes the last read left when a box matches nothing), the fields sent as
// they stand, and the four 16-bit values. Settings a block lacks stay empty.
struct BlockWriteInput {
    QString baudBox, ogrBox, ombBox, resolutionBox;
    std::optional<int> modelCode; // from the model box; empty keeps keptModelCode
    QString keptBaudCode, keptModelCode, keptOgrCode, keptOmbCode, keptResolutionCode;
    QString slave, month, day, year;
    QString empty, full, lowDoOrSwitch, hiDo;
};

// The settings a write sends, read once from the window's texts, with the
// request and what goes back into the window's hidden fields. A value that
// cannot be encoded (a 16-bit setting outside 0 to 32767 once rounded, or a
// request byte outside 0 to 255) sets error, naming the setting, and leaves
// everything else empty: nothing may be written or sent.
struct BlockWritePlan {
    SensorSettings settings{SensorFamily::Level};
    // The settings as the hidden code and byte fields show them.
    QString baudCode, modelCode, ogrCode, ombCode, resolutionCode;
    WordBytes empty, full, lowDoOrSwitch, hiDo;
    QByteArray request;   // empty for BlockForm::NoRequest
    QString lineSettings; // the rate to switch to after the wait; empty: keep the rate
    QString error;
};

// Whether a window's typed text, read as a number and rounded, lies within
// the setting's range: the same range every path checks.
bool typedWithin(const QString &text, Setting setting);

// A failed check's prompt as the operator sees it: four of them end in five
// control characters that belong to the text.
QString checkPrompt(const char *text);

BlockWritePlan planBlockWrite(const BlockWriteInput &input, BlockForm form);

} // namespace veltra
