#include "session/handshake.h"

#include "linesettings.h"
#include "messagetext.h"
#include "protocol/commandframe.h"

namespace veltra {

QString HandshakeResult::reason() const
{
    switch (outcome) {
    case Outcome::Found:
        return {};
    case Outcome::NoAnswer:
        // The device says whether the port number stood for the adapter meant.
        return device.isEmpty()
                   ? messageText(QT_TRANSLATE_NOOP("Messages", "No sensor answered at any baud rate (9600 to 115200)."))
                   : messageText(
                       QT_TRANSLATE_NOOP("Messages", "No sensor answered on %1 at any baud rate (9600 to 115200)."),
                       {device});
    case Outcome::Error:
        return error.reason();
    }
    return {};
}

namespace {

HandshakeResult failed(const LinkError &error)
{
    HandshakeResult result;
    result.outcome = HandshakeResult::Outcome::Error;
    result.error = error;
    return result;
}

} // namespace

HandshakeResult Handshake::run(SerialLink &link, const QString &portBoxText, const ReplyField &storeReply)
{
    const auto port = PortId::fromText(portBoxText);
    if (!port)
        return failed(LinkError{LinkError::Kind::BadPortText, {}, portBoxText});

    if (!link.open(*port, QLatin1String(kBaudTable.front().lineSettings)))
        return failed(link.lastError());
    link.sleep(kSettleMs);
    storeReply(QString());

    for (const BaudRow &row : kBaudTable) {
        const bool first = &row == &kBaudTable.front();
        if (!first && !link.setSettings(QLatin1String(row.lineSettings)))
            return failed(link.lastError());
        if (!link.send(CommandFrame::connectRequest()))
            return failed(link.lastError());
        link.sleep(first ? kFirstWaitMs : kLaterWaitMs);
        const QString reply = link.receiveAll();
        if (link.lastError().isError())
            return failed(link.lastError());
        storeReply(reply);
        if (CommandFrame::isConnectReply(reply)) {
            HandshakeResult result;
            result.outcome = HandshakeResult::Outcome::Found;
            result.baudText = QLatin1String(row.baudText);
            return result;
        }
    }

    link.close();
    HandshakeResult none;
    none.device = link.device();
    return none;
}

} // namespace veltra
