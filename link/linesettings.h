#pragma once

#include <QString>

#include <array>
#include <optional>

namespace veltra {

// One row of the baud table: the rates the program uses, in the order the
// handshake tries them, with the code the sensors store for each.
struct BaudRow {
    int rate;
    const char *baudText;     // "9600"
    const char *lineSettings; // "9600,n,8,1"
    const char *code;         // settings-block code as three characters, " 30"
};

inline constexpr std::array<BaudRow, 5> kBaudTable{{
    {9600, "9600", "9600,n,8,1", " 30"},
    {19200, "19200", "19200,n,8,1", " 40"},
    {38400, "38400", "38400,n,8,1", " 50"},
    {57600, "57600", "57600,n,8,1", " 60"},
    {115200, "115200", "115200,n,8,1", " 70"},
}};

struct LineSettings {
    int baud = 9600;
    char parity = 'n';
    int dataBits = 8;
    int stopBits = 1;
    friend bool operator==(const LineSettings &, const LineSettings &) = default;
};

// "9600,n,8,1" and the four other strings of the baud table; anything else
// is refused.
std::optional<LineSettings> parseLineSettings(const QString &text);

// Baud-table row for a rate, a baud text ("19200") or a code (" 40", or its
// number 40 as stored in the code fields).
const BaudRow *baudRowForRate(int rate);
const BaudRow *baudRowForText(const QString &baudText);
const BaudRow *baudRowForCode(int code);

} // namespace veltra
