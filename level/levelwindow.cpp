#include "levelwindow.h"

#include "controls.h"
#include "seriallink.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QTimer>

namespace veltra {

using ui::Twips;

namespace {

constexpr QColor kBannerRed(192, 0, 0);
constexpr QColor kBannerBlue(0, 0, 192);
constexpr QColor kRunOrange(192, 64, 0);

// Fields that are never shown, with their design texts.
struct WorkingField {
    int number;
    const char *designText;
};
constexpr WorkingField kWorkingFields[] = {
    {1, ""},        // last raw reply
    {22, ""},       // baud-rate code
    {25, ""},       // OGR code
    {31, ""},       // OMB code
    {34, "Text34"}, // resolution code
    {24, ""},       // stored date: month
    {23, ""},       //   day
    {21, ""},       //   year
    {26, ""},       // model code
    {10, ""},       // Empty, high and low byte
    {11, ""},
    {12, ""},       // Full
    {14, ""},
    {15, ""},       // Low DO
    {17, ""},
    {19, ""},       // Hi DO
    {20, ""},
    {6, ""},        // limit of Empty
    {27, ""},       // limit of Full
    {32, "Text32"}, // unasked characters
    {33, "Text33"},
    {35, "Text35"}, // write working field
    {36, "Text36"}, // resolution-change marker
    {38, "10"},     // length of the write request
};

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

QFont labelFont()
{
    return ui::font(latin1(ui::kSansSerif), 9.75, true);
}

QFont smallLabelFont()
{
    return ui::font(latin1(ui::kSansSerif), 8.25, true);
}

QFont buttonFont()
{
    return ui::font(latin1(ui::kSansSerif), 8.25, true);
}

QFont titrFont()
{
    return ui::font(latin1(ui::kTitr), 12, true);
}

// A control-array member: unique objectName, index kept as a property.
QLabel *makeArrayLabel(QWidget *parent, const char *array, int index, const QString &text, const Twips &at,
                       const QFont &font)
{
    QLabel *label = ui::makeLabel(parent, QStringLiteral("%1_%2").arg(latin1(array)).arg(index), text, at, font);
    label->setProperty("index", index);
    return label;
}

template <std::size_t N, typename T>
T *at(const std::array<T *, N> &controls, int n)
{
    return n >= 0 && std::size_t(n) < N ? controls[std::size_t(n)] : nullptr;
}

} // namespace

LevelWindow::LevelWindow(SerialLink &link, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
{
    ui::setUpWindow(this, QStringLiteral("form2"), QStringLiteral("Ultraonic Sensor Program V7"), 12270, 7245);

    // Made back to front; among the controls that take focus, in tab order.
    makePictures();
    makeLeftPanel();
    makeRunBanner();
    makeFirstColumn();
    makeSecondColumn();
    makeButtons();
    makeMeasurement();
    makeWorkingFields();
    makeTimers();

    connect(m_command[5], &QPushButton::clicked, this, &LevelWindow::Command5_Click);
    connect(m_command[1], &QPushButton::clicked, this, &LevelWindow::Command1_Click);
    connect(m_command[2], &QPushButton::clicked, this, &LevelWindow::Command2_Click);
    connect(m_command[4], &QPushButton::clicked, this, &LevelWindow::Command4_Click);
    connect(&m_link, &SerialLink::ReceiveEvent, this, &LevelWindow::MSComm1_OnComm);
    connect(this, &LevelWindow::labelCaptionChanged29, this, &LevelWindow::Label29_Change);

    Form_Load();
}

void LevelWindow::makePictures()
{
    m_background = QPixmap(QStringLiteral(":/level/background.png"));
    m_image5 = new QLabel(this);
    m_image5->setObjectName(QStringLiteral("Image5"));
    m_image5->setPixmap(m_background);
    m_image5->setGeometry(QRect(QPoint(0, 0), m_background.size()));

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(QPixmap(QStringLiteral(":/level/product.png")));
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui::place(m_image1, Twips{240, 240, 4656, 4260});
}

void LevelWindow::makeLeftPanel()
{
    m_line2 = ui::makeLine(this, QStringLiteral("Line2"), QPoint(5040, 240), QPoint(5040, 5640), 2);
    m_line3 = ui::makeLine(this, QStringLiteral("Line3"), QPoint(120, 5640), QPoint(11760, 5640), 2);

    // Bold 12 pt "Veltra" is 44 px wide, 4 more than its label: a little
    // tighter spacing keeps the whole name in view.
    QFont maker = ui::font(latin1(ui::kArial), 12, true);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, -0.8);
    m_label[3] = ui::makeLabel(this, QStringLiteral("Label3"), QStringLiteral("Veltra"), Twips{2040, 5880, 612, 252},
                               maker);
    // Web and mail share the domain; both in full would not fit the label.
    m_label[8] = ui::makeLabel(this, QStringLiteral("Label8"), QStringLiteral("info@veltra.example"),
                               Twips{1200, 6240, 2412, 252}, ui::defaultFont());
    m_label[9] = ui::makeLabel(this, QStringLiteral("Label9"), QStringLiteral("VELTRA"), Twips{1080, 6480, 2772, 252},
                               ui::font(latin1(ui::kArial), 9, true));
    // The maker's lines sit under one another, centred under the picture.
    for (int n : {3, 8, 9})
        m_label[n]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void LevelWindow::makeRunBanner()
{
    // Read right to left: "Attention!! The sensor has been put into RUN state."
    m_label[33] = ui::makePersianLabel(this, QStringLiteral("Label33"), QStringLiteral("توجه"),
                                       Twips{2400, 4680, 492, 372}, titrFont());
    ui::setTextColor(m_label[33], kBannerRed);
    m_label[34] = ui::makePersianLabel(this, QStringLiteral("Label34"), QStringLiteral("!!"),
                                       Twips{2160, 4680, 252, 372}, titrFont());
    ui::setTextColor(m_label[34], kBannerRed);
    m_label[36] = ui::makePersianLabel(this, QStringLiteral("Label36"), QStringLiteral("سنسور در وضعيت"),
                                       Twips{2640, 5160, 1572, 372}, titrFont());
    m_label[32] = ui::makeLabel(this, QStringLiteral("Label32"), QStringLiteral("RUN"), Twips{2040, 5280, 492, 252},
                                ui::font(latin1(ui::kArialBlack), 9.75, true));
    ui::setTextColor(m_label[32], kRunOrange);
    m_label[35] = ui::makePersianLabel(this, QStringLiteral("Label35"), QStringLiteral("قرار گرفت"),
                                       Twips{960, 5160, 972, 372}, titrFont());
    ui::setTextColor(m_label[35], kBannerBlue);

    for (QLabel *label : runBanner())
        label->setVisible(false);
}

void LevelWindow::makeFirstColumn()
{
    m_label[27] = ui::makeLabel(this, QStringLiteral("Label27"), QStringLiteral("OMB"), Twips{5280, 510, 495, 255},
                                labelFont());
    m_combo[4] = ui::makeComboBox(this, QStringLiteral("Combo4"), Twips{5880, 480, 1575, 315}, true);
    m_label[31] = ui::makeLabel(this, QStringLiteral("Label31"), QStringLiteral("OGR"), Twips{5280, 1110, 495, 255},
                                labelFont());
    m_combo[3] = ui::makeComboBox(this, QStringLiteral("Combo3"), Twips{5880, 1080, 1575, 315}, true);
    m_label[23] = ui::makeLabel(this, QStringLiteral("Label23"), QStringLiteral("RES"), Twips{5280, 1710, 495, 255},
                                labelFont());
    m_combo[5] = ui::makeComboBox(this, QStringLiteral("Combo5"), Twips{5880, 1680, 1575, 315}, true);
    m_combo[5]->setEnabled(false);

    m_label38[6] = makeArrayLabel(this, "Label38", 6, QStringLiteral("Model"), Twips{6360, 2280, 735, 255},
                                  smallLabelFont());
    m_combo[2] = ui::makeComboBox(this, QStringLiteral("Combo2"), Twips{5880, 2640, 1575, 315}, true);
    m_combo[2]->setEnabled(false);
    // The model is shown as plain text, in front of its box.
    m_text[37] = ui::makeTextBox(this, QStringLiteral("Text37"), Twips{5880, 2640, 1575, 315});
    m_text[37]->setEnabled(false);

    m_label14[0] = makeArrayLabel(this, "Label14", 0, QStringLiteral("(BD)"), Twips{6450, 3240, 375, 255},
                                  smallLabelFont());
    m_label14[1] = makeArrayLabel(this, "Label14", 1, QStringLiteral("Block Distance"), Twips{6000, 3480, 1335, 255},
                                  smallLabelFont());
    m_text[7] = ui::makeTextBox(this, QStringLiteral("Text7"), Twips{5880, 3840, 1572, 315});
}

void LevelWindow::makeSecondColumn()
{
    m_label[10] = ui::makeLabel(this, QStringLiteral("Label10"), QStringLiteral("Baud Rate"),
                                Twips{8640, 480, 1215, 255}, labelFont());
    m_combo[1] = ui::makeComboBox(this, QStringLiteral("Combo1"), Twips{10080, 480, 1215, 315}, true);

    m_label[18] = ui::makeLabel(this, QStringLiteral("Label18"), QStringLiteral("Slave Address"),
                                Twips{8280, 1080, 1575, 255}, labelFont());
    m_label[19] = ui::makeLabel(this, QStringLiteral("Label19"), QStringLiteral("1 to 247"),
                                Twips{8640, 1320, 1095, 255}, labelFont());
    m_text[13] = ui::makeTextBox(this, QStringLiteral("Text13"), Twips{10080, 1080, 1215, 375});

    m_label[6] = ui::makeLabel(this, QStringLiteral("Label6"), QStringLiteral("Empty"), Twips{9000, 2030, 975, 255},
                               labelFont());
    m_text[2] = ui::makeTextBox(this, QStringLiteral("Text2"), Twips{10080, 1970, 1215, 375});
    m_label[29] = ui::makeLabel(this, QStringLiteral("Label29"), QString(), Twips{11280, 2000, 975, 375}, labelFont());

    m_label[7] = ui::makeLabel(this, QStringLiteral("Label7"), QStringLiteral("Full"), Twips{9000, 2630, 1095, 255},
                               labelFont());
    m_text[3] = ui::makeTextBox(this, QStringLiteral("Text3"), Twips{10080, 2570, 1215, 375});
    m_label[28] = ui::makeLabel(this, QStringLiteral("Label28"), QString(), Twips{11280, 2640, 975, 375}, labelFont());

    // Low DO and Hi DO are typed into Text4 and Text5 when the window first
    // shows, so they stand in front of their placeholders.
    m_label[11] = ui::makeLabel(this, QStringLiteral("Label11"), QStringLiteral("Low DO"),
                                Twips{9000, 3250, 975, 255}, labelFont());
    m_text[4] = ui::makeTextBox(this, QStringLiteral("Text4"), Twips{10080, 3200, 1215, 375});
    m_text[29] = ui::makeTextBox(this, QStringLiteral("Text29"), Twips{10080, 3200, 1215, 375});
    m_text[29]->setEnabled(false);
    m_text[4]->raise();

    m_label[12] = ui::makeLabel(this, QStringLiteral("Label12"), QStringLiteral("Hi DO"), Twips{9000, 3920, 855, 255},
                                labelFont());
    m_text[5] = ui::makeTextBox(this, QStringLiteral("Text5"), Twips{10080, 3870, 1215, 375});
    m_text[30] = ui::makeTextBox(this, QStringLiteral("Text30"), Twips{10080, 3870, 1215, 375});
    m_text[30]->setEnabled(false);
    m_text[5]->raise();
}

void LevelWindow::makeButtons()
{
    m_command[2] = ui::makeButton(this, QStringLiteral("Command2"), QStringLiteral("RUN"),
                                  Twips{6120, 4680, 975, 495}, buttonFont());
    m_command[5] = ui::makeButton(this, QStringLiteral("Command5"), QStringLiteral("Read"),
                                  Twips{9720, 4680, 975, 495}, buttonFont());
    // Usable from the first tick of the unlock timer.
    m_command[5]->setEnabled(false);
    m_command[4] = ui::makeButton(this, QStringLiteral("Command4"), QStringLiteral("Write"),
                                  Twips{10800, 4680, 975, 495}, buttonFont());
}

void LevelWindow::makeMeasurement()
{
    m_label38[0] = makeArrayLabel(this, "Label38", 0, QStringLiteral("Tank Level"), Twips{5280, 6120, 972, 252},
                                  smallLabelFont());
    m_text[8] = ui::makeTextBox(this, QStringLiteral("Text8"), Twips{6360, 6000, 1095, 375});
    m_label38[5] = makeArrayLabel(this, "Label38", 5, QStringLiteral("="), Twips{7800, 6120, 132, 252}, labelFont());
    m_text[9] = ui::makeTextBox(this, QStringLiteral("Text9"), Twips{8160, 6000, 1095, 375});
    ui::setBackground(m_text[9], ui::menuColour());
    m_text[28] = ui::makeTextBox(this, QStringLiteral("Text28"), Twips{8160, 6000, 1095, 375});
    ui::setBackground(m_text[28], ui::menuColour());
    m_label38[3] = makeArrayLabel(this, "Label38", 3, QStringLiteral("mA"), Twips{9360, 6120, 372, 252},
                                  smallLabelFont());

    m_label38[1] = makeArrayLabel(this, "Label38", 1, QStringLiteral("Distance"), Twips{5400, 6600, 852, 252},
                                  smallLabelFont());
    m_text[16] = ui::makeTextBox(this, QStringLiteral("Text16"), Twips{6360, 6480, 1095, 375});
    m_label38[2] = makeArrayLabel(this, "Label38", 2, QStringLiteral("T:"), Twips{7800, 6600, 252, 252},
                                  smallLabelFont());
    m_text[18] = ui::makeTextBox(this, QStringLiteral("Text18"), Twips{8160, 6480, 1095, 375});
    m_label38[4] = makeArrayLabel(this, "Label38", 4, QStringLiteral("C"), Twips{9360, 6600, 372, 252},
                                  smallLabelFont());

    m_command[1] = ui::makeButton(this, QStringLiteral("Command1"), QStringLiteral("Get Level"),
                                  Twips{10080, 6120, 1455, 495}, buttonFont());
}

void LevelWindow::makeWorkingFields()
{
    for (const WorkingField &field : kWorkingFields)
        m_text[std::size_t(field.number)] = ui::makeHiddenField(this, QStringLiteral("Text%1").arg(field.number),
                                                                latin1(field.designText));
}

void LevelWindow::makeTimers()
{
    // Write stops Timer1; it has no action of its own.
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTimer1IntervalMs);
    m_timer1->start();

    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(kTimer2IntervalMs);
    connect(m_timer2, &QTimer::timeout, this, &LevelWindow::Timer2_Timer);
    m_timer2->start();
}

void LevelWindow::Form_Load()
{
    m_command[2]->setVisible(false);
    m_command[1]->setEnabled(false);
    m_command[4]->setEnabled(false);
    m_text[28]->setVisible(false);
    m_text[36]->setText(QStringLiteral("10"));
    m_text[37]->setText(m_combo[2]->currentText());
}

void LevelWindow::Timer2_Timer()
{
    // Write stays as it is: only a read enables it.
    for (int n : {1, 2, 5})
        m_command[std::size_t(n)]->setEnabled(true);
    for (int n : {1, 3, 4})
        m_combo[std::size_t(n)]->setEnabled(true);
    for (int n : kLockedFields)
        m_text[std::size_t(n)]->setEnabled(true);
    for (QLabel *label : runBanner())
        label->setVisible(false);
}

void LevelWindow::setEndProgram(std::function<void()> endProgram)
{
    m_endProgram = std::move(endProgram);
}

QLineEdit *LevelWindow::text(int n) const
{
    return at(m_text, n);
}

QLabel *LevelWindow::label(int n) const
{
    return at(m_label, n);
}

QComboBox *LevelWindow::combo(int n) const
{
    return at(m_combo, n);
}

QPushButton *LevelWindow::command(int n) const
{
    return at(m_command, n);
}

QLabel *LevelWindow::label38(int index) const
{
    return at(m_label38, index);
}

QLabel *LevelWindow::label14(int index) const
{
    return at(m_label14, index);
}

bool LevelWindow::isWorkingField(int n)
{
    for (const WorkingField &field : kWorkingFields) {
        if (field.number == n)
            return true;
    }
    return false;
}

std::array<QLabel *, 5> LevelWindow::runBanner() const
{
    return {m_label[32], m_label[33], m_label[34], m_label[35], m_label[36]};
}

void LevelWindow::setLabel29Caption(const QString &caption)
{
    if (m_label[29]->text() == caption)
        return;
    m_label[29]->setText(caption);
    emit labelCaptionChanged29();
}

void LevelWindow::paintEvent(QPaintEvent *)
{
    // The background picture at its natural size, behind every control.
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
}

void LevelWindow::closeEvent(QCloseEvent *event)
{
    m_link.Close();
    event->accept();
    if (m_endProgram)
        m_endProgram();
}

} // namespace veltra
