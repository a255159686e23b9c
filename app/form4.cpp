#include "form4.h"

#include "commandframe.h"
#include "controls.h"
#include "distancewindow.h"
#include "identification.h"
#include "levelwindow.h"
#include "linkfailure.h"
#include "seriallink.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>

namespace veltra {

using ui::Twips;

Form4::Form4(SerialLink &link, LevelWindow &form2, DistanceWindow &form6, std::function<void()> endProgram,
             QWidget *parent)
    : QWidget(parent)
    , m_link(link)
    , m_form2(form2)
    , m_form6(form6)
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
    connect(m_command5, &QPushButton::clicked, this, &Form4::Command5_Click);
}

void Form4::Command5_Click()
{
    m_form2.text1()->setText(m_link.Exchange(CommandFrame::readSettingsRequest(), 500));
    if (reportLinkFailure(this, m_link))
        return;

    const Identification id = Identification::fromReply(m_form2.text1()->text());
    // A damaged block names no model: the notice stays for another try.
    if (id.damaged) {
        reportDamagedReply(this, m_form2.text1()->text(), QStringLiteral("OK"));
        return;
    }
    if (!id.baudText.isEmpty())
        m_combo1->setCurrentText(id.baudText);
    m_form2.text26()->setText(id.modelCode);

    switch (ModelCatalogue::windowForModelCode(m_form2.text26()->text())) {
    case ModelWindow::Distance:
        hide();
        m_form6.show();
        break;
    case ModelWindow::Level:
        hide();
        m_form2.show();
        break;
    case ModelWindow::None:
        // Not a model this program knows: the notice stays for another try.
        m_form2.combo2()->setCurrentText(QStringLiteral("NON"));
        break;
    }
}

void Form4::closeEvent(QCloseEvent *event)
{
    m_link.Close();
    event->accept();
    if (m_endProgram)
        m_endProgram();
}

} // namespace veltra
