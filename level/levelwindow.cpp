#include "levelwindow.h"

#include "controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace veltra {

using ui::Twips;

LevelWindow::LevelWindow(SerialLink &link, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
{
    ui::setUpWindow(this, QStringLiteral("form2"), QStringLiteral("Ultraonic Sensor Program V7"), 12270, 7245);

    // Created in tab order: first column, second column, measurement.
    m_combo4 = ui::makeComboBox(this, QStringLiteral("Combo4"), Twips{5880, 480, 1575, 315}, true);
    m_combo3 = ui::makeComboBox(this, QStringLiteral("Combo3"), Twips{5880, 1080, 1575, 315}, true);
    m_combo5 = ui::makeComboBox(this, QStringLiteral("Combo5"), Twips{5880, 1680, 1575, 315}, true);
    m_combo5->setEnabled(false);
    m_combo2 = ui::makeComboBox(this, QStringLiteral("Combo2"), Twips{5880, 2640, 1575, 315}, true);
    m_combo2->setEnabled(false);
    m_text7 = ui::makeTextBox(this, QStringLiteral("Text7"), Twips{5880, 3840, 1572, 315});
    m_combo1 = ui::makeComboBox(this, QStringLiteral("Combo1"), Twips{10080, 480, 1215, 315}, true);

    m_text28 = ui::makeTextBox(this, QStringLiteral("Text28"), Twips{8160, 6000, 1095, 375});
    // Qt has no menu colour role; the window colour is the nearest.
    QPalette menu = m_text28->palette();
    menu.setColor(QPalette::Base, menu.color(QPalette::Window));
    m_text28->setPalette(menu);
    m_command1 = ui::makeButton(this, QStringLiteral("Command1"), QStringLiteral("Get Level"),
                                Twips{10080, 6120, 1455, 495}, ui::font(QString::fromLatin1(ui::kSansSerif), 8.25, true));

    m_text1 = ui::makeHiddenField(this, QStringLiteral("Text1"));
    m_text26 = ui::makeHiddenField(this, QStringLiteral("Text26"));

    Form_Load();
}

void LevelWindow::Form_Load()
{
    m_command1->setEnabled(false);
    m_text28->setVisible(false);
}

} // namespace veltra
