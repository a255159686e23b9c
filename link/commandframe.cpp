#include "commandframe.h"

#include "numbers.h"

namespace veltra {

QByteArray CommandFrame::build(Command command, const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(4 + payload.size());
    for (std::uint8_t b : FrameHeader::kBytes)
        frame.append(static_cast<char>(b));
    frame.append(static_cast<char>(command));
    frame.append(payload);
    return frame;
}

bool CommandFrame::isConnectReply(QStringView reply)
{
    return reply.contains(u"DVT", Qt::CaseInsensitive);
}

std::optional<std::uint8_t> CommandFrame::payloadByte(QStringView fieldText)
{
    const auto v = wholeNumberIn(fieldText, 0, 255);
    if (!v)
        return std::nullopt;
    return static_cast<std::uint8_t>(*v);
}

CommandFrame::BytePair CommandFrame::splitWord(int value)
{
    return {value / 256, value % 256};
}

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
