#include "form1.h"

#include "controls.h"
#include "distancewindow.h"
#include "levelwindow.h"
#include "modelcatalogue.h"
#include "portmap.h"
#include "seriallink.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <QStringList>

#include <array>

namespace veltra {

using ui::Twips;

namespace {

constexpr int kPortCount = 15;

constexpr std::array<const char *, 6> kBaudList = {"9600", "19200", "38400", "57600", "115200", "NON"};

constexpr std::array<const char *, 3> kOgrList = {"High", "Medium", "Low"};
constexpr std::array<const char *, 3> kOmbList = {"Wide", "Widish", "Narrow"};
constexpr std::array<const char *, 2> kResolutionList = {"Cm", "mm"};

// Adds items at the end of a box's list and leaves its text alone: filling
// an empty list must not pick its first item.
void append(QComboBox *box, const QStringList &items)
{
    const int index = box->currentIndex();
    const QString text = box->currentText();
    box->addItems(items);
    box->setCurrentIndex(index);
    if (box->isEditable())
        box->setEditText(text);
}

template <std::size_t N>
void append(QComboBox *box, const std::array<const char *, N> &items)
{
    QStringList texts;
    for (const char *item : items)
        texts << QString::fromLatin1(item);
    append(box, texts);
}

} // namespace

Form1::Form1(SerialLink &link, LevelWindow &form2, DistanceWindow &form6, Form4 &form4, Form5 &form5,
             std::function<void()> endProgram, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
    , m_form2(form2)
    , m_form6(form6)
    , m_form4(form4)
    , m_form5(form5)
    , m_endProgram(std::move(endProgram))
{
    ui::setUpWindow(this, QStringLiteral("Form1"), QStringLiteral("Ultrasonic Sensor Program V7"), 5130, 3585);

    m_label1 = ui::makeLabel(this, QStringLiteral("Label1"), QStringLiteral("Ultrasonic Sensor Modbus Program"),
                             Twips{480, 240, 4092, 372}, ui::font(QString::fromLatin1(ui::kArial), 12, true));
    m_line1 = ui::makeLine(this, QStringLiteral("Line1"), QPoint(719, 839), QPoint(3955, 839));
    m_label2 = ui::makeLabel(this, QStringLiteral("Label2"), QStringLiteral("Enter com port"),
                             Twips{960, 1080, 1572, 252}, ui::font(QString::fromLatin1(ui::kSansSerif), 9.75, true));

    // Made first of the controls that take focus, so it has the focus first.
    m_combo1 = ui::makeComboBox(this, QStringLiteral("Combo1"), Twips{2640, 1080, 975, 288}, true);
    for (int port = 1; port <= kPortCount; ++port)
        m_combo1->addItem(QString::number(port));
    m_combo1->setCurrentIndex(0);
    m_combo1->setEditText(QStringLiteral("1"));
    m_combo1->installEventFilter(this);
    m_combo1->lineEdit()->installEventFilter(this);
    m_combo1->setFocus();

    m_command1 = ui::makeButton(this, QStringLiteral("Command1"), QStringLiteral("Set com port"),
                                Twips{1560, 1680, 1575, 375});
    connect(m_command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    m_line2 = ui::makeLine(this, QStringLiteral("Line2"), QPoint(719, 2518), QPoint(3955, 2518));
    // Labels 3 to 5 share one centre line; centred text keeps it.
    m_label3 = ui::makeLabel(this, QStringLiteral("Label3"), QStringLiteral("Veltra co."), Twips{1320, 2640, 2052, 252});
    m_label4 = ui::makeLabel(this, QStringLiteral("Label4"), QStringLiteral("veltra.example"),
                             Twips{1800, 2880, 1092, 252});
    m_label5 = ui::makeLabel(this, QStringLiteral("Label5"), QStringLiteral("Version  V7"), Twips{1920, 3120, 852, 252});
    for (QLabel *label : {m_label3, m_label4, m_label5})
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    refreshPortTip();
    Form_Load();
}

QString Form1::portText() const
{
    return m_combo1->currentText();
}

void Form1::Form_Load()
{
    m_form2.command1()->setEnabled(false);
    m_form2.text28()->setVisible(false);

    append(m_form2.combo1(), kBaudList);
    append(m_form6.combo1(), kBaudList);
    append(m_form2.combo2(), ModelCatalogue::modelListNames());
    append(m_form6.combo2(), {QStringLiteral("DVZ-900")});
    append(m_form6.combo3(), kOgrList);
    append(m_form2.combo2(), {QStringLiteral("NON")});
    append(m_form2.combo3(), kOgrList);
    append(m_form2.combo4(), kOmbList);
    append(m_form2.combo5(), kResolutionList);

    m_form2.text7()->setEnabled(false);
}

void Form1::refreshPortTip()
{
    // Adapters come and go; the tip says what each number means right now.
    m_combo1->setToolTip(PortMap::describe(kPortCount));
}

void Form1::showEvent(QShowEvent *event)
{
    refreshPortTip();
    QWidget::showEvent(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_combo1 || watched == m_combo1->lineEdit()))
        refreshPortTip();
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent *event)
{
    m_link.Close();
    event->accept();
    if (m_endProgram)
        m_endProgram();
}

} // namespace veltra
