// The start window's connect button: find the sensor's baud rate and hand
// over to the connected notice, or explain on the failure notice.
#include "distancewindow.h"
#include "form1.h"
#include "form4.h"
#include "form5.h"
#include "handshake.h"
#include "levelwindow.h"

#include <QComboBox>
#include <QLineEdit>

namespace veltra {

void Form1::Command1_Click()
{
    QLineEdit *replyField = m_form2.text1();
    const HandshakeResult result =
        Handshake::run(m_link, portText(), [replyField](const QString &reply) { replyField->setText(reply); });

    if (!result.found()) {
        m_form5.setReason(result.reason());
        hide();
        m_form5.show();
        return;
    }

    m_form2.combo1()->setCurrentText(result.baudText);
    m_form4.combo1()->setCurrentText(result.baudText);
    m_form6.combo1()->setCurrentText(result.baudText);
    hide();
    m_form4.show();
}

} // namespace veltra
