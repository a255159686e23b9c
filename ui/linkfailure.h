#pragma once

class QString;
class QWidget;

namespace veltra {

class SensorSession;

// What the operator was doing when the link failed; it decides the words.
enum class LinkAction {
    Exchange,
    Write,        // a write request was handed to the port: it may or may not have arrived
    WriteNotSent, // the port was already gone: nothing was written
};

// After an exchange: when the port itself failed (the adapter was unplugged,
// the port was closed under the window), tells the operator in a message
// window and returns true so the handler stops. A missing or short reply is
// not a port failure and returns false. Only one such window is open at a
// time: a later failure brings it to the front instead of stacking another.
// A lost USB adapter with a known identity is waited for: the window says
// so and offers Cancel; when the adapter is back (under any device name) the
// port is opened again, the sensor's model checked (another model is
// reported, nothing more), and the window goes on.
bool reportLinkFailure(QWidget *parent, SensorSession &session, LinkAction action = LinkAction::Exchange);

// Before an exchange: a port that was lost is opened again, looked up anew
// at the window's baud rate (or the rate it last ran at), so the operator
// can go on once the adapter is back. A failure is reported as above and
// returns false. A port that never was opened is left to the exchange.
bool reopenLostLink(QWidget *parent, SensorSession &session, const QString &baudBoxText);

// A settings reply that is not a whole block was taken apart into nothing:
// one message window says so and that the fields are as they were. `again`
// names the button to press for another try ("Read", "OK").
void reportDamagedReply(QWidget *parent, const QString &reply, const QString &again);

} // namespace veltra
