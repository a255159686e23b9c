#include "numbers.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace veltra {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// The characters of the text with the blanks left out, which is how the
// reader sees them.
QString withoutBlanks(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (!isBlank(c))
            out.append(c);
    }
    return out;
}

// "&H1F" / "&O17": a whole number in base 16 or 8. Values that fit a 16-bit
// (or 32-bit) word are read as that signed word, as the sensors' tooling did.
double radixNumber(QStringView digits, int base)
{
    quint64 value = 0;
    bool any = false;
    for (QChar c : digits) {
        // ASCII digits only, as in decimal numbers: "１" (full width) ends it.
        const int d = (c >= u'0' && c <= u'9')                                     ? c.digitValue()
                      : (base == 16 && c.toLower() >= u'a' && c.toLower() <= u'f') ? c.toLower().unicode() - u'a' + 10
                                                                                   : -1;
        if (d < 0 || d >= base)
            break;
        value = value * base + static_cast<quint64>(d);
        any = true;
        if (value > 0xFFFFFFFFull)
            return std::numeric_limits<double>::infinity();
    }
    if (!any)
        return 0;
    if (value <= 0xFFFF)
        return value > 0x7FFF ? static_cast<double>(value) - 65536.0 : static_cast<double>(value);
    return value > 0x7FFFFFFF ? static_cast<double>(value) - 4294967296.0 : static_cast<double>(value);
}

// Length of the decimal number at the start of s (sign, digits, point,
// exponent), 0 when there is none.
qsizetype decimalPrefix(QStringView s, bool *hasDigits)
{
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    bool digits = false;
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        ++i;
        digits = true;
    }
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            ++i;
            digits = true;
        }
    }
    *hasDigits = digits;
    if (!digits)
        return 0;
    if (i < s.size() && (s[i].toLower() == u'e' || s[i].toLower() == u'd')) {
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        const qsizetype expStart = j;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128)
            ++j;
        if (j > expStart)
            i = j;
    }
    return i;
}

// The power of ten of a decimal number's first significant digit: 2 for
// "123", -3 for "0.00123", 5 for "1.5e5", -4 for "0.001E-1". Only asked
// for a number out of a double's range, whose sign says which way it went.
long long leadingDigitExponent(const std::string &number)
{
    const std::size_t e = number.find_first_of("eE");
    const std::string mantissa = number.substr(0, e);
    long long exponent = 0;
    if (e != std::string::npos) {
        const char *first = number.data() + e + 1;
        const char *last = number.data() + number.size();
        const bool negative = first < last && *first == '-';
        if (first < last && (*first == '+' || *first == '-'))
            ++first;
        // Exponents too long for any whole type are far out either way.
        constexpr long long kFar = 1'000'000'000;
        if (std::from_chars(first, last, exponent).ec != std::errc())
            exponent = kFar;
        exponent = std::min(exponent, kFar);
        if (negative)
            exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t lead = mantissa.find_first_not_of("0.");
    if (lead == std::string::npos)
        return std::numeric_limits<long long>::min(); // all zeros: nothing to overflow
    const long long digitPower
        = lead < point ? static_cast<long long>(point - lead) - 1 : -static_cast<long long>(lead - point);
    return digitPower + exponent;
}

} // namespace

double TextToNumber(QStringView text)
{
    const QString s = withoutBlanks(text);
    if (s.size() >= 2 && s[0] == u'&') {
        const QChar kind = s[1].toLower();
        if (kind == u'h')
            return radixNumber(QStringView(s).mid(2), 16);
        if (kind == u'o')
            return radixNumber(QStringView(s).mid(2), 8);
        return 0;
    }

    bool hasDigits = false;
    const qsizetype len = decimalPrefix(s, &hasDigits);
    if (len == 0)
        return 0;

    std::string number = QStringView(s).left(len).toLatin1().toStdString();
    for (char &c : number) {
        if (c == 'd' || c == 'D')
            c = 'e';
    }
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-')
        number.erase(0, 1);

    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    Q_UNUSED(end);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as 0, overflow as an infinite value that no check accepts.
        value = leadingDigitExponent(number) < 0 ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

QString NumberToText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("0");
    if (value == 0)
        return QStringLiteral("0");
    if (std::trunc(value) == value && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    QString text = QString::number(value, 'g', 15);
    return text.toUpper();
}

double roundHalfEven(double value)
{
    // The default floating-point rounding mode rounds halves to even.
    return std::nearbyint(value);
}

std::optional<int> wholeNumberIn(QStringView text, int lo, int hi)
{
    const double v = roundHalfEven(TextToNumber(text));
    if (!(v >= lo && v <= hi))
        return std::nullopt;
    return static_cast<int>(v);
}

bool isNumberText(QStringView text)
{
    const QString s = withoutBlanks(text);
    if (s.isEmpty())
        return false;
    bool hasDigits = false;
    return decimalPrefix(s, &hasDigits) == s.size() && hasDigits;
}

} // namespace veltra
