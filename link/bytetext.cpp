#include "bytetext.h"

namespace veltra {

QString bytesToText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

QByteArray textToBytes(const QString &text)
{
    return text.toLatin1();
}

QString escapedText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\r')
            out += QLatin1String("\\r");
        else if (u == u'\n')
            out += QLatin1String("\\n");
        else if (u == u'\\')
            out += QLatin1String("\\\\");
        else if (u >= 0x20 && u < 0x7f)
            out += c;
        else if (u <= 0xff)
            out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
    }
    return out;
}

} // namespace veltra
