#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <utility>

namespace veltra {

// The reply to the read-settings request: fields of three characters each,
// right-aligned decimal numbers (" 30", "  5", "250"), no separators. Level
// sensors send 17 fields, distance sensors the first 15. A short reply gives
// short or empty pieces; nothing is read past the reply's end.
class SettingsReply
{
public:
    static constexpr int kLevelFields = 17;
    static constexpr int kDistanceFields = 15;

    SettingsReply(const QString &reply, int fieldCount);

    // The first field (1-based) that is not a byte as a sensor writes it,
    // exactly three characters of digits right-aligned with blanks only in
    // front (" 30", "  5", "250", at most 255); 0 when all fieldCount fields
    // are. A field past the end of a cut reply counts as damaged; characters
    // after the block are not part of it. One stray character in front of a
    // block shifts every field and so damages it.
    static int firstDamagedField(QStringView reply, int fieldCount);
    static bool isWellFormed(QStringView reply, int fieldCount)
    {
        return firstDamagedField(reply, fieldCount) == 0;
    }

    // The three characters of field k (1-based) as received, possibly shorter.
    QString piece(int field) const;
    // The field as plain decimal text: " 30" gives "30", "1 5" gives "15",
    // three blanks give "0".
    QString number(int field) const;
    // A 16-bit setting from its high and low byte fields: high x 256 + low.
    QString word(int highField) const;
    // The baud text for an exact baud code (" 30" ... " 70"); empty otherwise.
    QString baudText() const;

private:
    QString m_reply;
    int m_fieldCount;
};

// The fields of the block, numbered as they travel.
namespace SettingsField {
enum : int {
    Baud = 1,
    Slave,
    Ogr,
    Month,
    Day,
    Year,
    Model,
    EmptyHigh,
    EmptyLow,
    FullHigh,
    FullLow,
    LowDoHigh,
    LowDoLow,
    HiDoHigh,
    HiDoLow,
    Omb,
    Resolution,
};
}

// The window field (TextN) each reply field from the slave address on is
// kept in; the same in both settings windows, the distance window using the
// first fourteen.
inline constexpr std::array<std::pair<int, int>, 16> kSettingsFieldBoxes{{
    {SettingsField::Slave, 13}, {SettingsField::Ogr, 25}, {SettingsField::Month, 24}, {SettingsField::Day, 23},
    {SettingsField::Year, 21}, {SettingsField::Model, 26}, {SettingsField::EmptyHigh, 10},
    {SettingsField::EmptyLow, 11}, {SettingsField::FullHigh, 12}, {SettingsField::FullLow, 14},
    {SettingsField::LowDoHigh, 15}, {SettingsField::LowDoLow, 17}, {SettingsField::HiDoHigh, 19},
    {SettingsField::HiDoLow, 20}, {SettingsField::Omb, 31}, {SettingsField::Resolution, 34},
}};

// The four 16-bit settings: the high-byte field each is made from, and its field.
inline constexpr std::array<std::pair<int, int>, 4> kSettingsWordBoxes{{
    {SettingsField::EmptyHigh, 2}, {SettingsField::FullHigh, 3}, {SettingsField::LowDoHigh, 4},
    {SettingsField::HiDoHigh, 5},
}};

} // namespace veltra
