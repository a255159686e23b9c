#include "distancewindow.h"

#include "controls.h"

#include <QComboBox>
#include <QLineEdit>

namespace veltra {

using ui::Twips;

DistanceWindow::DistanceWindow(SerialLink &link, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
{
    ui::setUpWindow(this, QStringLiteral("Form6"), QStringLiteral("Program DVZ"), 12600, 6255);

    m_combo1 = ui::makeComboBox(this, QStringLiteral("Combo1"), Twips{9480, 360, 1215, 315}, true);
    m_combo3 = ui::makeComboBox(this, QStringLiteral("Combo3"), Twips{9480, 1680, 1575, 315}, true);
    m_combo2 = ui::makeComboBox(this, QStringLiteral("Combo2"), Twips{5760, 2280, 1575, 315}, false);

    m_text1 = ui::makeHiddenField(this, QStringLiteral("Text1"));

    Form_Load();
}

void DistanceWindow::Form_Load()
{
    m_combo2->setEnabled(false);
}

} // namespace veltra
