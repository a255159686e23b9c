// Number reading and writing (link/numbers.h), checked against the C
// library's strtod and against the rules the helpers promise: blanks are
// skipped, E and D exponents in either case, "&H"/"&O" as signed words,
// round trips through NumberToText, rounding halves to even.
#include "fuzzcheck.h"
#include "numbers.h"

#include <QRegularExpression>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

using namespace veltra;

namespace {

QString withoutBlanks(const QString &text)
{
    QString out = text;
    out.remove(QRegularExpression(QStringLiteral("[ \\t\\r\\n]")));
    return out;
}

// The value of "&H..." / "&O..." worked out independently: the ASCII digits
// of the base, read as an unsigned number, then taken as the signed 16-bit
// or 32-bit word it fits; more than 32 bits is no word at all (infinite).
double expectedRadix(const QString &digits, int base)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]*"));
    static const QRegularExpression oct(QStringLiteral("^[0-7]*"));
    QString run = (base == 16 ? hex : oct).match(digits).captured(0);
    if (run.isEmpty())
        return 0;
    while (run.size() > 1 && run.startsWith(u'0'))
        run.remove(0, 1);
    const int maxDigits = base == 16 ? 8 : 11;
    if (run.size() > maxDigits)
        return std::numeric_limits<double>::infinity();
    bool ok = false;
    const qulonglong value = run.toULongLong(&ok, base);
    FUZZ_CHECK(ok);
    if (value > 0xFFFFFFFFull)
        return std::numeric_limits<double>::infinity();
    if (value <= 0xFFFF)
        return value >= 0x8000 ? double(value) - 65536.0 : double(value);
    return value >= 0x80000000ull ? double(value) - 4294967296.0 : double(value);
}

// The decimal number a text starts with (blanks already gone), as a regular
// expression sees it: sign, digits with at most one point, then an exponent
// with E or D only when digits follow it.
const QRegularExpression &decimalPattern()
{
    static const QRegularExpression re(
        QStringLiteral("^[+-]?(?:[0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)(?:[EeDd][+-]?[0-9]+)?"));
    return re;
}

double expectedNumber(const QString &text)
{
    const QString s = withoutBlanks(text);
    if (s.size() >= 2 && s[0] == u'&') {
        const QChar kind = s[1];
        if (kind == u'h' || kind == u'H')
            return expectedRadix(s.mid(2), 16);
        if (kind == u'o' || kind == u'O')
            return expectedRadix(s.mid(2), 8);
        return 0;
    }
    const QString number = decimalPattern().match(s).captured(0);
    if (number.isEmpty())
        return 0;
    QByteArray c = number.toLatin1();
    c.replace('d', 'e').replace('D', 'e');
    // strtod reads underflow as 0 (or a subnormal) and overflow as infinity.
    return std::strtod(c.constData(), nullptr);
}

bool expectedIsNumberText(const QString &text)
{
    const QString s = withoutBlanks(text);
    const auto m = decimalPattern().match(s);
    return m.hasMatch() && m.capturedLength(0) == s.size();
}

void checkRounding(double x)
{
    const double r = roundHalfEven(x);
    if (std::isnan(x)) {
        FUZZ_CHECK(std::isnan(r));
        return;
    }
    if (std::isinf(x)) {
        FUZZ_CHECK(r == x);
        return;
    }
    FUZZ_CHECK(std::trunc(r) == r);
    const double gap = std::fabs(r - x);
    FUZZ_CHECK(gap <= 0.5);
    if (gap == 0.5)
        FUZZ_CHECK(std::fmod(r, 2.0) == 0);
}

void checkNumberToText(double v)
{
    const QString text = NumberToText(v);
    FUZZ_CHECK(!text.isEmpty());
    if (std::isnan(v)) {
        FUZZ_CHECK(text == u"0");
        return;
    }
    if (std::isinf(v))
        return;
    static const QRegularExpression whole(QStringLiteral("^(0|-?[1-9][0-9]*)\\z"));
    FUZZ_CHECK(!text.contains(u' '));
    FUZZ_CHECK(isNumberText(text));
    const double back = TextToNumber(text);
    if (std::trunc(v) == v && std::fabs(v) < 1e15) {
        FUZZ_CHECK(whole.match(text).hasMatch());
        FUZZ_CHECK(back == v);
    } else if (std::fabs(v) > 1.79769313486231e308) {
        // Fifteen digits of the very largest doubles round past the largest
        // one, and read back as infinite.
        FUZZ_CHECK(std::isinf(back) || std::fabs(back - v) <= std::fabs(v) * 1e-14);
        FUZZ_CHECK(std::signbit(back) == std::signbit(v));
    } else {
        // Fifteen significant digits.
        FUZZ_CHECK(std::fabs(back - v) <= std::fabs(v) * 1e-14);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::utf8(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    fuzz::note(text);

    const double value = TextToNumber(text);
    FUZZ_CHECK(!std::isnan(value));
    const double expected = expectedNumber(text);
    if (value != expected) {
        fuzz::note(QStringLiteral("TextToNumber(\"%1\") gave %2, expected %3")
                       .arg(text)
                       .arg(value, 0, 'g', 17)
                       .arg(expected, 0, 'g', 17));
    }
    FUZZ_CHECK(value == expected);

    const bool numberText = isNumberText(text);
    FUZZ_CHECK(numberText == expectedIsNumberText(text));

    // A text that is a number and nothing else is read whole: strtod of all
    // of it (blanks left out, D as E) gives the same value.
    if (numberText) {
        QByteArray whole = withoutBlanks(text).toLatin1();
        whole.replace('d', 'e').replace('D', 'e');
        FUZZ_CHECK(value == std::strtod(whole.constData(), nullptr));
    }

    // A leading minus negates any decimal number.
    const QString bare = withoutBlanks(text);
    if (!bare.isEmpty() && bare[0] != u'+' && bare[0] != u'-' && bare[0] != u'&')
        FUZZ_CHECK(TextToNumber(QStringLiteral("-") + text) == -value);

    // The ranges the program judges entries by, and one from the input.
    struct Range {
        int lo, hi;
    };
    int extraLo = 0;
    int extraHi = 0;
    if (size >= 8) {
        std::memcpy(&extraLo, data, 4);
        std::memcpy(&extraHi, data + 4, 4);
    }
    const Range ranges[]
        = {{1, 247}, {1, 10000}, {1, 9500}, {61, 599}, {0, 255}, {0, 32767}, {-32768, 32767}, {extraLo, extraHi}};
    const double rounded = roundHalfEven(value);
    for (const Range &r : ranges) {
        const std::optional<int> n = wholeNumberIn(text, r.lo, r.hi);
        const bool inside = rounded >= r.lo && rounded <= r.hi;
        FUZZ_CHECK(n.has_value() == inside);
        if (n) {
            FUZZ_CHECK(*n >= r.lo && *n <= r.hi);
            FUZZ_CHECK(double(*n) == rounded);
        }
    }

    checkRounding(value);
    checkNumberToText(value);
    checkNumberToText(rounded);
    // Raw doubles from the input bytes: every bit pattern, NaN and
    // infinities included.
    for (std::size_t at = 0; at + sizeof(double) <= size && at < 64; at += sizeof(double)) {
        double raw;
        std::memcpy(&raw, data + at, sizeof raw);
        checkRounding(raw);
        checkNumberToText(raw);
    }
    return 0;
}
