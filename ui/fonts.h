#pragma once

#include <QFont>
#include <QString>

namespace veltra::ui {

// The families the windows ask for. They are the designer's names; the free
// fonts that stand in for them come from installFontSubstitutions().
inline constexpr char kSansSerif[] = "MS Sans Serif";
inline constexpr char kArial[] = "Arial";
inline constexpr char kArialNarrow[] = "Arial Narrow";
inline constexpr char kArialBlack[] = "Arial Black";
inline constexpr char kArialRounded[] = "Arial Rounded MT Bold";
inline constexpr char kBodoniBlack[] = "Bodoni MT Black";
inline constexpr char kTitr[] = "B Titr";
inline constexpr char kNazanin[] = "B Nazanin";
inline constexpr char kLotus[] = "B Lotus";

// A font of the given family and size. "Arial Black", "Bodoni MT Black" and
// "Arial Rounded MT Bold" are heavy faces by design, so their stand-ins are
// asked for the matching weight even when bold is false.
QFont font(const QString &family, qreal pointSize, bool bold = false);

// Controls without a named family: "MS Sans Serif" 8 pt.
QFont defaultFont();

// Maps the designer's families to fonts found on a Debian desktop
// (Liberation, DejaVu, farsiweb). Safe to call more than once.
void installFontSubstitutions();

} // namespace veltra::ui
