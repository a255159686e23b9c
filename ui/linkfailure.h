#pragma once

class QWidget;

namespace veltra {

class SerialLink;

// After an exchange: when the port itself failed (the adapter was unplugged,
// the port was closed under the window), tells the operator in a message
// window and returns true so the handler stops. A missing or short reply is
// not a port failure and returns false.
bool reportLinkFailure(QWidget *parent, const SerialLink &link);

} // namespace veltra
