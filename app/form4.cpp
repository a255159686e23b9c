#include "form4.h"

#include "controls.h"
#include "seriallink.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace veltra {

using ui::Twips;

Form4::Form4(SerialLink &link, std::function<void()> endProgram, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
    , m_endProgram(std::move(endProgram))
{
    ui::setUpWindow(this, QStringLiteral("Form4"), QStringLiteral("Attention!!"), 5400, 2490);

    m_label1 = ui::makeLabel(this, QStringLiteral("Label1"), QStringLiteral("Connect Successfully !!"),
                             Twips{1080, 120, 3255, 375}, ui::font(QString::fromLatin1(ui::kArialRounded), 12));
    m_label10 = ui::makeLabel(this, QStringLiteral("Label10"), QStringLiteral("Baud Rate"), Twips{1320, 960, 1215, 255},
                              ui::font(QString::fromLatin1(ui::kSansSerif), 9.75, true));
    // Editable so the handshake can write a rate into it without a list.
    m_combo1 = ui::makeComboBox(this, QStringLiteral("Combo1"), Twips{2760, 960, 1215, 315}, true);
    m_combo1->setEnabled(false);
    m_command5 = ui::makeButton(this, QStringLiteral("Command5"), QStringLiteral("OK"), Twips{2160, 1680, 975, 495});
    connect(m_command5, &QPushButton::clicked, this, &Form4::okClicked);
}

void Form4::closeEvent(QCloseEvent *event)
{
    m_link.Close();
    event->accept();
    if (m_endProgram)
        m_endProgram();
}

} // namespace veltra
