#include "protocol/commandframe.h"

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

} // namespace veltra
