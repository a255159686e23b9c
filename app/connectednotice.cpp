#include "connectednotice.h"

#include "controls.h"
#include "linkfailure.h"
#include "protocol/identification.h"
#include "session/sensorsession.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace veltra {

using ui::Twips;

ConnectedNotice::ConnectedNotice(SensorSession &session, std::function<void()> endProgram, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_endProgram(std::move(endProgram))
{
    ui::setUpWindow(this, QStringLiteral("Form4"), QCoreApplication::translate("Window", "Attention!!"), 5400, 2490);

    m_title = ui::makeLabel(this, QStringLiteral("Label1"),
                            QCoreApplication::translate("Window", "Connect Successfully !!"),
                            Twips{1080, 120, 3255, 375}, ui::font(QString::fromLatin1(ui::kArialRounded), 12));
    m_baudCaption
        = ui::makeLabel(this, QStringLiteral("Label10"), QCoreApplication::translate("Window", "Baud Rate"),
                        Twips{1320, 960, 1215, 255}, ui::font(QString::fromLatin1(ui::kSansSerif), 9.75, true));
    // Editable so the handshake's rate can be shown without a list.
    m_baudBox = ui::makeComboBox(this, QStringLiteral("Combo1"), Twips{2760, 960, 1215, 315}, true);
    m_baudBox->setEnabled(false);
    ui::nameForScreenReaders({{m_baudBox, QT_TRANSLATE_NOOP("ScreenReader", "Baud rate found")}});
    m_okButton = ui::makeButton(this, QStringLiteral("Command5"), QCoreApplication::translate("Window", "OK"),
                                Twips{2160, 1680, 975, 495});
    connect(m_okButton, &QPushButton::clicked, this, &ConnectedNotice::okClicked);
    connect(m_okButton, &QPushButton::clicked, this, &ConnectedNotice::Command5_Click);

    connect(&m_session, &SensorSession::connected, m_baudBox, &QComboBox::setCurrentText);
    // Made after the handshake, it shows the rate that handshake found.
    if (!m_session.connectedBaud().isEmpty())
        m_baudBox->setCurrentText(m_session.connectedBaud());
}

void ConnectedNotice::Command5_Click()
{
    const std::optional<Identification> read = m_session.identify();
    if (reportLinkFailure(this, m_session))
        return;
    const Identification id = read.value_or(Identification::fromReply(QString()));
    // A damaged block names no model: the notice stays for another try.
    if (id.damaged) {
        reportDamagedReply(this, m_session.lastReply(), QCoreApplication::translate("Window", "OK"));
        return;
    }
    if (!id.baudText.isEmpty())
        m_baudBox->setCurrentText(id.baudText);

    // Not a model this program knows: the notice stays for another try.
    if (id.window == ModelWindow::None)
        return;
    hide();
    emit modelWindowChosen(id.window);
}

void ConnectedNotice::closeEvent(QCloseEvent *event)
{
    m_session.close();
    event->accept();
    if (m_endProgram)
        m_endProgram();
}

} // namespace veltra
