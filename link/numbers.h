#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Number reading and writing shared by every window and by the simulator.
// Texts of fields are the program's working store, so these helpers decide
// what a field "holds".
namespace veltra {

// The number a text begins with. Blanks are skipped wherever they stand;
// an optional sign, digits, one decimal point and an exponent (E or D) form
// the number; "&H" and "&O" read a hexadecimal or octal whole number.
// Reading stops at the first character that cannot continue the number.
// A text without a number gives 0.
double TextToNumber(QStringView text);

// Shortest decimal text of a number, no leading blank: 300, 17, 187.5, -12.
QString NumberToText(double value);

// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

// The whole number a text would travel as: TextToNumber, then rounded.
// Empty when the rounded value does not fit between lo and hi.
std::optional<int> wholeNumberIn(QStringView text, int lo, int hi);

// A text that is a number and nothing else (blanks allowed anywhere).
bool isNumberText(QStringView text);

} // namespace veltra
