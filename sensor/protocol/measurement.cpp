#include "protocol/measurement.h"

#include "numbers.h"

#include <algorithm>
#include <cmath>

namespace veltra {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isDistance(QStringView piece)
{
    return piece.size() == 5 && std::all_of(piece.begin(), piece.end(), isAsciiDigit);
}

// "025", " 25", "-05", " -5"
bool isTemperature(QStringView piece)
{
    if (piece.size() != 3)
        return false;
    qsizetype i = 0;
    while (i < piece.size() && piece[i] == u' ')
        ++i;
    if (i < piece.size() && piece[i] == u'-')
        ++i;
    if (i == piece.size())
        return false;
    return std::all_of(piece.begin() + i, piece.end(), isAsciiDigit);
}

} // namespace

MeasurementReply MeasurementReply::parse(const QString &reply)
{
    MeasurementReply parsed;
    const qsizetype p = reply.indexOf(u'R', 0, Qt::CaseInsensitive);
    if (p < 0)
        return parsed;
    parsed.found = true;
    // mid() stops at the end of the text, so a cut reply gives short pieces.
    parsed.distance = reply.mid(p + 1, 5);
    parsed.temperature = reply.mid(p + 8, 3);
    parsed.wellFormed = isDistance(parsed.distance) && isTemperature(parsed.temperature);
    return parsed;
}

double tankLevel(const QString &emptyText, const QString &distanceText)
{
    return TextToNumber(emptyText) - TextToNumber(distanceText);
}

std::optional<double> analogCurrent(double level, double full)
{
    // An infinite Full would give a neat 4 mA for any level.
    if (full == 0 || !std::isfinite(full) || !std::isfinite(level))
        return std::nullopt;
    // Evaluated in this order on purpose: 4 + 16 * level / full can differ in
    // the last bit and so, rarely, in the digit shown.
    const double current = (1023.0 / full) * level * (16.0 / 1023) + 4;
    if (!std::isfinite(current))
        return std::nullopt;
    return current;
}

QString formatCurrent(double milliamps)
{
    // Beyond this the hundredths are no longer exact whole numbers in a
    // double; no output carries such a current anyway.
    constexpr double kLargestShown = 1e12;
    if (!std::isfinite(milliamps) || std::fabs(milliamps) >= kLargestShown)
        return {};
    // Two decimals, halves away from zero, on the value's fifteen significant
    // digits as its decimal text shows them: 2.675, held just below it in
    // binary, still rounds up. The digits are D x 10^(exponent - 14).
    const QString digitsText = QString::number(std::fabs(milliamps), 'e', 14);
    const qsizetype e = digitsText.indexOf(u'e');
    const qint64 digits = QString(digitsText.left(e)).remove(u'.').toLongLong();
    const int drop = 12 - digitsText.mid(e + 1).toInt(); // digits below the hundredths; at least 1 here
    qint64 hundredths = 0;
    if (drop <= 15) {
        qint64 scale = 1;
        for (int i = 0; i < drop; ++i)
            scale *= 10;
        hundredths = digits / scale + ((digits % scale) * 2 >= scale ? 1 : 0);
    }
    const qint64 wholePart = hundredths / 100;
    const int cents = int(hundredths % 100);

    QString whole = wholePart > 0 ? QString::number(wholePart) : QString(); // "####": no leading zero
    QString fraction = cents > 0 ? QStringLiteral("%1").arg(cents, 2, 10, QLatin1Char('0')) : QString();
    if (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    // A value that rounds to nothing is shown without a sign.
    const bool negative = milliamps < 0 && hundredths > 0;
    return (negative ? QStringLiteral("-") : QString()) + whole + QLatin1Char('.') + fraction;
}

LevelReading levelReading(const QString &emptyText, const QString &fullText, const QString &distanceText)
{
    const double level = tankLevel(emptyText, distanceText);
    LevelReading reading;
    reading.level = NumberToText(level);
    if (!std::isfinite(level))
        return reading;
    const auto current = analogCurrent(TextToNumber(reading.level), TextToNumber(fullText));
    reading.current = current ? formatCurrent(*current) : QString();
    return reading;
}

} // namespace veltra
