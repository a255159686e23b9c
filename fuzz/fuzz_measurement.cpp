// Measurement replies and the level window's current: MeasurementReply::parse,
// tankLevel, analogCurrent, formatCurrent and levelReading. The input is the
// reply, the Empty text, the Full text and (optionally) a distance typed by
// hand, separated by '|'; every eight bytes of it are also taken as a raw
// double for formatCurrent.
#include "fuzzcheck.h"
#include "numbers.h"
#include "protocol/measurement.h"

#include <QRegularExpression>

#include <cmath>
#include <cstring>

using namespace veltra;

namespace {

// formatCurrent worked out on decimal digits: the value's fifteen
// significant digits, rounded to hundredths with halves away from zero.
QString expectedCurrent(double x)
{
    if (!std::isfinite(x) || std::fabs(x) >= 1e12)
        return {};
    // d.dddddddddddddde+XX: D is the fifteen digits, x = D * 10^(e-14).
    const QString sci = QString::number(std::fabs(x), 'e', 14);
    const qsizetype ePos = sci.indexOf(u'e');
    const QString mantissa = sci.left(ePos).remove(u'.');
    const int e = sci.mid(ePos + 1).toInt();
    const quint64 digits = mantissa.toULongLong();
    // Hundredths = D / 10^k with k = 12 - e (at least 1, as x < 1e12).
    const int k = 12 - e;
    quint64 hundredths = 0;
    if (k <= 16) {
        quint64 scale = 1;
        for (int i = 0; i < k; ++i)
            scale *= 10;
        hundredths = digits / scale;
        if ((digits % scale) * 2 >= scale)
            ++hundredths;
    }
    QString whole = hundredths >= 100 ? QString::number(hundredths / 100) : QString();
    QString cents = hundredths % 100 ? QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0')) : QString();
    if (cents.endsWith(u'0'))
        cents.chop(1);
    const bool negative = x < 0 && hundredths > 0;
    return (negative ? QStringLiteral("-") : QString()) + whole + u'.' + cents;
}

void checkCurrentText(double x)
{
    static const QRegularExpression shape(QStringLiteral("^-?[0-9]*\\.[0-9]{0,2}\\z"));
    const QString text = formatCurrent(x);
    const bool shown = std::isfinite(x) && std::fabs(x) < 1e12;
    FUZZ_CHECK(text.isEmpty() != shown);
    if (!shown)
        return;
    FUZZ_CHECK(shape.match(text).hasMatch());
    FUZZ_CHECK(!text.startsWith(u'0') && !text.startsWith(QStringLiteral("-0")));
    FUZZ_CHECK(!text.endsWith(u'0'));
    FUZZ_CHECK(text != QStringLiteral("-."));
    // Half a hundredth, plus half a unit of the fifteenth digit the value is
    // first rounded to.
    const bool close = std::fabs(TextToNumber(text) - x) <= 0.0050001 + std::fabs(x) * 5e-15;
    if (!close)
        fuzz::note(QStringLiteral("formatCurrent(%1) gave \"%2\"").arg(x, 0, 'g', 17).arg(text));
    FUZZ_CHECK(close);
    const QString expected = expectedCurrent(x);
    if (text != expected) {
        fuzz::note(QStringLiteral("formatCurrent(%1) gave \"%2\", 15 digits rounded give \"%3\"")
                       .arg(x, 0, 'g', 17)
                       .arg(text, expected));
    }
    FUZZ_CHECK(text == expected);
}

void checkReply(const QString &reply)
{
    static const QRegularExpression distanceShape(QStringLiteral("^[0-9]{5}\\z"));
    static const QRegularExpression temperatureShape(QStringLiteral("^ *-?[0-9]+\\z"));
    const MeasurementReply parsed = MeasurementReply::parse(reply);
    const qsizetype p = reply.indexOf(QRegularExpression(QStringLiteral("[Rr]")));
    FUZZ_CHECK(parsed.found == (p >= 0));
    if (!parsed.found) {
        FUZZ_CHECK(!parsed.wellFormed);
        FUZZ_CHECK(parsed.distance.isEmpty() && parsed.temperature.isEmpty());
        return;
    }
    FUZZ_CHECK(parsed.distance == reply.mid(p + 1, 5));
    FUZZ_CHECK(parsed.temperature == reply.mid(p + 8, 3));
    const bool expected = distanceShape.match(parsed.distance).hasMatch() && parsed.temperature.size() == 3
                          && temperatureShape.match(parsed.temperature).hasMatch();
    FUZZ_CHECK(parsed.wellFormed == expected);
    if (parsed.wellFormed) {
        FUZZ_CHECK(parsed.distance.size() == 5);
        for (QChar c : parsed.distance)
            FUZZ_CHECK(c >= u'0' && c <= u'9');
        FUZZ_CHECK(parsed.temperature.size() == 3);
        const double distance = TextToNumber(parsed.distance);
        FUZZ_CHECK(distance >= 0 && distance <= 99999 && distance == parsed.distance.toInt());
    }
}

// The level window's (and veltra-cli's) level and current for a
// measurement: levelReading, checked step by step.
void checkWindowCurrent(const QString &emptyText, const QString &distanceText, const QString &fullText)
{
    const double level = tankLevel(emptyText, distanceText);
    const double full = TextToNumber(fullText);
    const LevelReading reading = levelReading(emptyText, fullText, distanceText);
    FUZZ_CHECK(reading.level == NumberToText(level));

    // No current for a Full of 0 or a level that is no finite number.
    if (full == 0 || !std::isfinite(level))
        FUZZ_CHECK(reading.current.isEmpty());
    if (!reading.current.isEmpty()) {
        const std::optional<double> current = analogCurrent(TextToNumber(reading.level), full);
        FUZZ_CHECK(current.has_value());
        FUZZ_CHECK(reading.current == formatCurrent(*current));
        checkCurrentText(*current);
    }

    // The current itself: none for a Full of 0, and none that is not a
    // finite number (an infinite Empty, Full or distance).
    const std::optional<double> direct = analogCurrent(level, full);
    if (full == 0 || !std::isfinite(level) || !std::isfinite(full))
        FUZZ_CHECK(!direct.has_value());
    if (direct) {
        FUZZ_CHECK(std::isfinite(*direct));
        const double formula = 16.0 * level / full + 4;
        // Rounding is relative to the terms, not to their sum: near 0 mA
        // (a level of about -Full/4) the sum cancels.
        if (std::isfinite(formula))
            FUZZ_CHECK(std::fabs(*direct - formula) <= (std::fabs(16.0 * level / full) + 4) * 1e-12);
        checkCurrentText(*direct);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString input = fuzz::latin1(data, size);
    fuzz::note(input);
    const QStringList parts = input.split(u'|');
    const QString reply = parts.value(0);
    const QString emptyText = parts.value(1);
    const QString fullText = parts.value(2);

    checkReply(reply);
    const MeasurementReply parsed = MeasurementReply::parse(reply);
    if (parsed.found)
        checkWindowCurrent(emptyText, parsed.distance, fullText);
    // The texts alone, as typed into the fields.
    checkWindowCurrent(emptyText, parts.value(3), fullText);

    for (std::size_t at = 0; at + sizeof(double) <= size && at < 64; at += sizeof(double)) {
        double raw;
        std::memcpy(&raw, data + at, sizeof raw);
        checkCurrentText(raw);
        checkCurrentText(-raw);
    }
    checkCurrentText(TextToNumber(emptyText));
    checkCurrentText(TextToNumber(fullText));
    return 0;
}
