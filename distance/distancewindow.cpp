#include "distancewindow.h"

#include "controls.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

namespace veltra {

using ui::Twips;

namespace {

// Fields that are never shown: the reply, the temperature and the settings
// block as the last Read left it.
constexpr int kWorkingFields[] = {
    1,          // last raw reply
    18,         // temperature of the last distance reading
    22,         // baud-rate code
    25,         // OGR code
    24, 23, 21, // stored date: month, day, year
    26,         // model code
    2,          // Empty
    3,          // Full
    5,          // Hi DO
    10, 11,     // Empty, high and low byte
    12, 14,     // Full
    15, 17,     // switch point
    19, 20,     // Hi DO
};

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

QFont labelFont()
{
    return ui::font(latin1(ui::kSansSerif), 9.75, true);
}

QFont buttonFont()
{
    return ui::font(latin1(ui::kSansSerif), 8.25, true);
}

QLabel *makePicture(QWidget *parent, const QString &name, const QString &resource, const Twips &at)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setPixmap(QPixmap(resource));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui::place(picture, at);
    return picture;
}

template <std::size_t N, typename T>
T *at(const std::array<T *, N> &controls, int n)
{
    return n >= 0 && std::size_t(n) < N ? controls[std::size_t(n)] : nullptr;
}

} // namespace

DistanceWindow::DistanceWindow(SerialLink &link, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
{
    ui::setUpWindow(this, QStringLiteral("Form6"), QStringLiteral("Program DVZ"), 12600, 6255);

    // Made back to front, so the model fields lie on their picture; among
    // the controls that take focus, in tab order.
    makePictures();
    makeLeftPanel();
    makeSettings();
    makeModelPlate();
    makeButtons();
    makeMeasurement();
    makeWorkingFields();

    connect(m_command[5], &QPushButton::clicked, this, &DistanceWindow::Command5_Click);
    connect(m_command[4], &QPushButton::clicked, this, &DistanceWindow::Command4_Click);
    connect(m_command[1], &QPushButton::clicked, this, &DistanceWindow::Command1_Click);

    Form_Load();
}

void DistanceWindow::makePictures()
{
    m_image1 = makePicture(this, QStringLiteral("Image1"), QStringLiteral(":/distance/product.png"),
                           Twips{0, 0, 4755, 5025});
    m_image3 = makePicture(this, QStringLiteral("Image3"), QStringLiteral(":/distance/sensor.png"),
                           Twips{5520, 1680, 1995, 2400});
}

void DistanceWindow::makeLeftPanel()
{
    m_line2 = ui::makeLine(this, QStringLiteral("Line2"), QPoint(4800, 0), QPoint(4800, 5040), 2);
    m_line3 = ui::makeLine(this, QStringLiteral("Line3"), QPoint(0, 5040), QPoint(11640, 5040), 2);

    // The stand-in serif is wider than the designer's face: its condensed cut,
    // a little tighter, keeps the whole name inside its 41 px.
    QFont maker = ui::font(latin1(ui::kBodoniBlack), 12);
    maker.setStretch(QFont::SemiCondensed);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, -1.2);
    m_label[3] = ui::makeLabel(this, QStringLiteral("Label3"), QStringLiteral("Veltra"), Twips{2040, 5280, 615, 255},
                               maker);
    // Web and mail share the domain; both in full would not fit the label.
    m_label[8] = ui::makeLabel(this, QStringLiteral("Label8"), QStringLiteral("info@veltra.example"),
                               Twips{1200, 5640, 2415, 255}, ui::defaultFont());
    m_label[9] = ui::makeLabel(this, QStringLiteral("Label9"), QStringLiteral("VELTRA"), Twips{960, 5880, 2775, 255},
                               ui::font(latin1(ui::kBodoniBlack), 8.25));
    // The maker's lines sit under one another, centred under the picture.
    for (int n : {3, 8, 9})
        m_label[std::size_t(n)]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void DistanceWindow::makeSettings()
{
    m_label[10] = ui::makeLabel(this, QStringLiteral("Label10"), QStringLiteral("Baud Rate"),
                                Twips{7920, 360, 1215, 255}, labelFont());
    m_combo[1] = ui::makeComboBox(this, QStringLiteral("Combo1"), Twips{9480, 360, 1215, 315}, true);

    m_label[18] = ui::makeLabel(this, QStringLiteral("Label18"), QStringLiteral("Slave Address"),
                                Twips{7680, 940, 1575, 255}, labelFont());
    m_label[19] = ui::makeLabel(this, QStringLiteral("Label19"), QStringLiteral("1 to 247"),
                                Twips{8040, 1180, 1095, 255}, labelFont());
    m_text[13] = ui::makeTextBox(this, QStringLiteral("Text13"), Twips{9480, 960, 1215, 375});

    m_label[31] = ui::makeLabel(this, QStringLiteral("Label31"), QStringLiteral("OGR"), Twips{8160, 1710, 495, 255},
                                labelFont());
    m_combo[3] = ui::makeComboBox(this, QStringLiteral("Combo3"), Twips{9480, 1680, 1575, 315}, true);

    m_label[11] = ui::makeLabel(this, QStringLiteral("Label11"), QStringLiteral("Switch"),
                                Twips{8100, 2250, 855, 255}, labelFont());
    m_label[32] = ui::makeLabel(this, QStringLiteral("Label32"), QStringLiteral("60 to 600"),
                                Twips{7980, 2500, 1095, 255}, labelFont());
    m_text[4] = ui::makeTextBox(this, QStringLiteral("Text4"), Twips{9480, 2280, 1215, 375});
}

void DistanceWindow::makeModelPlate()
{
    // Model and blocking distance are shown, never edited. The model box
    // takes text so it can show "NON", which is not in its list.
    m_combo[2] = ui::makeComboBox(this, QStringLiteral("Combo2"), Twips{5760, 2280, 1575, 315}, true);
    m_combo[2]->setEnabled(false);
    m_label[14] = ui::makeLabel(this, QStringLiteral("Label14"), QStringLiteral("BD"), Twips{6360, 2880, 375, 255},
                                labelFont());
    m_text[7] = ui::makeTextBox(this, QStringLiteral("Text7"), Twips{5760, 3480, 1455, 375});
    m_text[7]->setEnabled(false);
}

void DistanceWindow::makeButtons()
{
    m_command[5] = ui::makeButton(this, QStringLiteral("Command5"), QStringLiteral("Read"),
                                  Twips{9000, 3560, 975, 495}, buttonFont());
    m_command[4] = ui::makeButton(this, QStringLiteral("Command4"), QStringLiteral("write"),
                                  Twips{10080, 3560, 975, 495}, buttonFont());
}

void DistanceWindow::makeMeasurement()
{
    m_label[27] = ui::makeLabel(this, QStringLiteral("Label27"), QStringLiteral("Distance"),
                                Twips{5640, 5520, 1095, 255}, ui::font(latin1(ui::kArialNarrow), 12, true));
    m_text[16] = ui::makeTextBox(this, QStringLiteral("Text16"), Twips{6720, 5520, 1095, 375});
    m_command[1] = ui::makeButton(this, QStringLiteral("Command1"), QStringLiteral("Get Distance"),
                                  Twips{9360, 5400, 1455, 495}, buttonFont());
}

void DistanceWindow::makeWorkingFields()
{
    for (int n : kWorkingFields)
        m_text[std::size_t(n)] = ui::makeHiddenField(this, QStringLiteral("Text%1").arg(n));
}

void DistanceWindow::Form_Load()
{
    m_combo[2]->setEnabled(false);
    // Only a Read makes write and Get Distance usable.
    m_command[1]->setEnabled(false);
    m_command[4]->setEnabled(false);
}

void DistanceWindow::setEndProgram(std::function<void()> endProgram)
{
    m_endProgram = std::move(endProgram);
}

QLineEdit *DistanceWindow::text(int n) const
{
    return at(m_text, n);
}

QLabel *DistanceWindow::label(int n) const
{
    return at(m_label, n);
}

QComboBox *DistanceWindow::combo(int n) const
{
    return at(m_combo, n);
}

QPushButton *DistanceWindow::command(int n) const
{
    return at(m_command, n);
}

bool DistanceWindow::isWorkingField(int n)
{
    for (int field : kWorkingFields) {
        if (field == n)
            return true;
    }
    return false;
}

void DistanceWindow::paintEvent(QPaintEvent *)
{
    // A quiet wash behind the controls, lighter at the top.
    QPainter painter(this);
    QLinearGradient wash(0, 0, 0, height());
    wash.setColorAt(0.0, QColor(246, 249, 252));
    wash.setColorAt(1.0, QColor(224, 232, 240));
    painter.fillRect(rect(), wash);
}

void DistanceWindow::closeEvent(QCloseEvent *event)
{
    // Ending the process releases the port; it is not closed first.
    event->accept();
    if (m_endProgram)
        m_endProgram();
}

} // namespace veltra
