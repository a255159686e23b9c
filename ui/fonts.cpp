#include "fonts.h"

#include <QLatin1StringView>

namespace veltra::ui {

QFont font(const QString &family, qreal pointSize, bool bold)
{
    QFont f(family);
    f.setPointSizeF(pointSize);
    if (family == QLatin1StringView(kArialBlack) || family == QLatin1StringView(kBodoniBlack))
        f.setWeight(QFont::Black);
    else if (bold || family == QLatin1StringView(kArialRounded))
        f.setWeight(QFont::Bold);
    return f;
}

QFont defaultFont()
{
    return font(QString::fromLatin1(kSansSerif), 8);
}

void installFontSubstitutions()
{
    struct Substitution {
        const char *family;
        const char *substitute;
    };
    static constexpr Substitution kTable[] = {
        {kSansSerif, "Liberation Sans"},
        {kArial, "Liberation Sans"},
        {kArialNarrow, "Liberation Sans Narrow"},
        // No free rounded or black Arial; a bold sans keeps the weight.
        {kArialBlack, "DejaVu Sans"},
        {kArialRounded, "DejaVu Sans"},
        {kBodoniBlack, "DejaVu Serif"},
        {kTitr, "Titr"},
        {kNazanin, "Nazli"},
        {kLotus, "Homa"},
    };
    for (const Substitution &s : kTable)
        QFont::insertSubstitution(QString::fromLatin1(s.family), QString::fromLatin1(s.substitute));
}

} // namespace veltra::ui
