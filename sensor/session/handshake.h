#pragma once

#include "seriallink.h"

#include <QString>

#include <functional>

namespace veltra {

// Result of looking for a sensor on a port.
struct HandshakeResult {
    enum class Outcome {
        Found,    // a reply held "DVT" at baudText
        NoAnswer, // five rates tried, nothing recognisable came back; port closed
        Error,    // the port could not be used; port left as the failing step left it
    };
    Outcome outcome = Outcome::NoAnswer;
    QString baudText;
    QString device; // the device tried, when no sensor answered
    LinkError error;

    bool found() const { return outcome == Outcome::Found; }
    // One plain line saying why no sensor was found; empty on success.
    QString reason() const;
};

// The connection handshake: open the port at 9600 baud, send the connect
// request and, failing a reply holding "DVT", try 19200, 38400, 57600 and
// 115200 on the open port. Every reply is handed to storeReply (the reply
// field) as soon as it is read.
class Handshake
{
public:
    static constexpr int kSettleMs = 500;    // after opening, before the first request
    static constexpr int kFirstWaitMs = 500; // reply wait at 9600
    static constexpr int kLaterWaitMs = 200; // reply wait at each later rate

    using ReplyField = std::function<void(const QString &)>;

    static HandshakeResult run(SerialLink &link, const QString &portBoxText, const ReplyField &storeReply);
};

} // namespace veltra
