#include "failurenotice.h"

#include "controls.h"
#include "language.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace veltra {

using ui::Twips;

FailureNotice::FailureNotice(QWidget *parent)
    : QWidget(parent)
{
    ui::setUpWindow(this, QStringLiteral("Form5"), QCoreApplication::translate("Window", "Attention!!"), 5085, 2175);

    m_failedText = ui::makeLabel(this, QStringLiteral("Label1"),
                                 QCoreApplication::translate("Window", "Connect Not Successfully !!"),
                                 Twips{600, 240, 3855, 375}, ui::font(QString::fromLatin1(ui::kArialRounded), 12));
    // Room for two short lines between the notice and the button.
    m_labelReason = ui::makeLabel(this, QStringLiteral("LabelReason"), QString(), Twips{240, 660, 4605, 400});
    m_labelReason->setWordWrap(true);
    m_labelReason->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_labelReason->setVisible(false);
    m_okButton = ui::makeButton(this, QStringLiteral("Command5"), QCoreApplication::translate("Window", "Close"),
                                Twips{2040, 1080, 975, 495});
    connect(m_okButton, &QPushButton::clicked, this, &FailureNotice::Command5_Click);
}

void FailureNotice::setReason(const QString &reason)
{
    m_labelReason->setText(ui::shown(reason));
    m_labelReason->setVisible(!reason.isEmpty());
}

QString FailureNotice::reason() const
{
    return m_labelReason->text();
}

void FailureNotice::Command5_Click()
{
    hide();
    emit backToStart();
}

void FailureNotice::closeEvent(QCloseEvent *event)
{
    // Kept for the next failure; closing only hides it.
    event->ignore();
    hide();
    emit backToStart();
}

} // namespace veltra
