#pragma once

#include <QString>

#include <optional>

namespace veltra {

// The reply to the measure request: "R", 5 distance characters, 2 skipped
// characters, 3 temperature characters. Read from the first "R" or "r";
// characters before it (left over from an earlier exchange) are ignored.
struct MeasurementReply {
    bool found = false;  // false when the text holds no "R": nothing changes
    QString distance;    // characters p+1 to p+5, as received (shorter when the text ends)
    QString temperature; // characters p+8 to p+10, as received
    // Five digits of distance and a three-character temperature (digits,
    // blanks or a minus in front): a reply a script can take as numbers.
    // The windows show whatever arrived; the command line refuses the rest.
    bool wellFormed = false;

    static MeasurementReply parse(const QString &reply);
};

// Tank level: Empty minus the measured distance, each read as a number.
double tankLevel(const QString &emptyText, const QString &distanceText);

// The current the 4-20 mA output carries for a level:
// (1023 / full) x level x (16 / 1023) + 4. Empty when full is 0, when the
// level or full is not a finite number (an Empty, Full or distance of 1e999),
// or when the result is not one.
std::optional<double> analogCurrent(double level, double full);

// A current as the window shows it, pattern "####.##": no leading zeros, at
// most two decimals, trailing zeros dropped, the point always written:
// 12 -> "12.", 12.5 -> "12.5", 12.3456 -> "12.35", 0.5 -> ".5", -2.857 -> "-2.86",
// 0 -> ".". Halves round away from zero on the value's 15 significant digits
// (2.675 -> "2.68"); a value that rounds to 0 loses its sign. The point is '.'
// whatever the locale. Empty for a value that is not finite or is 1e12 or
// more either way (an absurd distance or Empty), where two decimals mean nothing.
QString formatCurrent(double milliamps);

// Tank level and current as the level window shows them: the level as plain
// text, and the current worked out from that text, as the window reads its
// own field. The current is empty when Full is 0 or the level is not a
// finite number (an Empty or distance of 1e999): the text "INF" would read
// back as 0 and show an empty tank's 4 mA.
struct LevelReading {
    QString level;
    QString current;
};
LevelReading levelReading(const QString &emptyText, const QString &fullText, const QString &distanceText);

} // namespace veltra
