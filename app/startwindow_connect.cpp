// The start window's connect button: find the sensor's baud rate and hand
// over to the connected notice, or explain on the failure notice.
#include "session/handshake.h"
#include "session/sensorsession.h"
#include "startwindow.h"

namespace veltra {

void StartWindow::Command1_Click()
{
    // The session announces each reply and the rate found to the windows
    // that show them.
    const HandshakeResult result = m_session.handshake(portText());
    hide();
    if (result.found())
        emit sensorFound();
    else
        emit sensorNotFound(result.reason());
}

} // namespace veltra
