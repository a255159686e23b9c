#pragma once

#include "protocol/settingsblock.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace veltra {

// The reply to the read-settings request: fields of three characters each,
// right-aligned decimal numbers (" 30", "  5", "250"), no separators. Level
// sensors send 17 fields, distance sensors the first 15. A short reply gives
// short or empty pieces; nothing is read past the reply's end.
class SettingsReply
{
public:
    static constexpr int kLevelFields = blockFieldCount(SensorFamily::Level);
    static constexpr int kDistanceFields = blockFieldCount(SensorFamily::Distance);

    SettingsReply(const QString &reply, int fieldCount);

    // The first field (1-based) that is not a byte as a sensor writes it,
    // exactly three characters of digits right-aligned with blanks only in
    // front (" 30", "  5", "250", at most 255); 0 when all fieldCount fields
    // are. A field past the end of a cut reply counts as damaged; characters
    // after the block are not part of it. One stray character in front of a
    // block shifts every field and so damages it.
    static int firstDamagedField(QStringView reply, int fieldCount);
    static bool isWellFormed(QStringView reply, int fieldCount) { return firstDamagedField(reply, fieldCount) == 0; }

    // The three characters of field k (1-based) as received, possibly shorter.
    QString piece(int field) const;
    // The field as plain decimal text: " 30" gives "30", "1 5" gives "15",
    // three blanks give "0".
    QString number(int field) const;
    // A 16-bit setting from its high and low byte fields: high x 256 + low.
    QString word(int highField) const;
    // A setting as plain decimal text: its field, or for a 16-bit setting
    // the word of its two fields.
    QString value(Setting setting) const;
    // The baud text for an exact baud code (" 30" ... " 70"); empty otherwise.
    QString baudText() const;

private:
    QString m_reply;
    int m_fieldCount;
};

} // namespace veltra
