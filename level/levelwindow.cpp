#include "levelwindow.h"

#include "controls.h"
#include "menubar.h"
#include "protocol/modelcatalogue.h"
#include "session/sensorsession.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

namespace veltra {

using ui::Twips;

namespace {

constexpr QColor kBannerRed(192, 0, 0);
constexpr QColor kBannerBlue(0, 0, 192);
constexpr QColor kRunOrange(192, 64, 0);

// The lists the boxes offer; none of them picks an item at load.
const QStringList kBaudList = {QStringLiteral("9600"),  QStringLiteral("19200"),  QStringLiteral("38400"),
                               QStringLiteral("57600"), QStringLiteral("115200"), QStringLiteral("NON")};
const QStringList kOgrList = {QStringLiteral("High"), QStringLiteral("Medium"), QStringLiteral("Low")};
const QStringList kOmbList = {QStringLiteral("Wide"), QStringLiteral("Widish"), QStringLiteral("Narrow")};
const QStringList kResolutionList = {QStringLiteral("Cm"), QStringLiteral("mm")};

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

// Starts the unlock timer when a control its tick makes usable is disabled
// or a label its tick hides is shown, whatever did it: the tick then comes
// as it did when the timer ticked all the time, and nothing wakes the
// program while there is nothing to unlock.
class UnlockWatch : public QObject
{
public:
    explicit UnlockWatch(QTimer *timer)
        : QObject(timer)
        , m_timer(timer)
    {}

    void watchDisabling(QWidget *control) { control->installEventFilter(this); }
    void watchShowing(QWidget *label)
    {
        m_labels.append(label);
        label->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool locked = (event->type() == QEvent::EnabledChange && !static_cast<QWidget *>(watched)->isEnabled())
                            || (event->type() == QEvent::ShowToParent && m_labels.contains(watched));
        if (locked && !m_timer->isActive())
            m_timer->start();
        return false;
    }

private:
    QTimer *m_timer;
    QList<QObject *> m_labels;
};

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

template <typename T>
T *directChild(const QWidget *window, const QString &name)
{
    return window->findChild<T *>(name, Qt::FindDirectChildrenOnly);
}

} // namespace

struct LevelWindow::WorkingField {
    QLineEdit *LevelWindow::*member;
    const char *name;
    const char *designText;
};

std::span<const LevelWindow::WorkingField> LevelWindow::workingFields()
{
    // In the order they are made.
    static constexpr WorkingField kFields[] = {
        {&LevelWindow::m_lastReply, "Text1", ""},
        {&LevelWindow::m_baudCode, "Text22", ""},
        {&LevelWindow::m_ogrCode, "Text25", ""},
        {&LevelWindow::m_ombCode, "Text31", ""},
        {&LevelWindow::m_resolutionCode, "Text34", "Text34"},
        {&LevelWindow::m_month, "Text24", ""},
        {&LevelWindow::m_day, "Text23", ""},
        {&LevelWindow::m_year, "Text21", ""},
        {&LevelWindow::m_modelCode, "Text26", ""},
        {&LevelWindow::m_emptyHigh, "Text10", ""},
        {&LevelWindow::m_emptyLow, "Text11", ""},
        {&LevelWindow::m_fullHigh, "Text12", ""},
        {&LevelWindow::m_fullLow, "Text14", ""},
        {&LevelWindow::m_lowDoHigh, "Text15", ""},
        {&LevelWindow::m_lowDoLow, "Text17", ""},
        {&LevelWindow::m_hiDoHigh, "Text19", ""},
        {&LevelWindow::m_hiDoLow, "Text20", ""},
        {&LevelWindow::m_emptyLimit, "Text6", ""},
        {&LevelWindow::m_fullLimit, "Text27", ""},
        {&LevelWindow::m_unasked, "Text32", "Text32"},
        {&LevelWindow::m_unaskedStart, "Text33", "Text33"},
        {&LevelWindow::m_blockingNumber, "Text35", "Text35"},
        {&LevelWindow::m_captionMarker, "Text36", "Text36"},
        {&LevelWindow::m_writeLayout, "Text38", "10"},
    };
    return kFields;
}

LevelWindow::LevelWindow(SensorSession &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_editor(session)
{
    ui::setUpWindow(this, QStringLiteral("form2"), QCoreApplication::translate("Window", "Ultraonic Sensor Program V7"),
                    12270, 7245);

    // Made back to front; among the controls that take focus, in tab order.
    makePictures();
    makeLeftPanel();
    makeRunBanner();
    makeFirstColumn();
    makeSecondColumn();
    makeButtons();
    makeMeasurement();
    makeWorkingFields();
    ui::keepCaptionsOffFields(this);
    makeTimers();

    connect(m_readButton, &QPushButton::clicked, this, &LevelWindow::Command5_Click);
    connect(m_getLevelButton, &QPushButton::clicked, this, &LevelWindow::Command1_Click);
    connect(m_runButton, &QPushButton::clicked, this, &LevelWindow::Command2_Click);
    connect(m_writeButton, &QPushButton::clicked, this, &LevelWindow::Command4_Click);
    connect(this, &LevelWindow::emptyRangeCaptionChanged, this, &LevelWindow::Label29_Change);
    connectSession();

    Form_Load();
    fillLists();
    makeMenus();
    adoptSessionState();
    nameControls();
}

void LevelWindow::nameControls()
{
    ui::nameForScreenReaders({
        {m_baudBox, QT_TRANSLATE_NOOP("ScreenReader", "Baud rate")},
        {m_slave, QT_TRANSLATE_NOOP("ScreenReader", "Slave address, 1 to 247")},
        {m_ogrBox, QT_TRANSLATE_NOOP("ScreenReader", "OGR")},
        {m_ombBox, QT_TRANSLATE_NOOP("ScreenReader", "OMB")},
        {m_resolutionBox, QT_TRANSLATE_NOOP("ScreenReader", "Resolution")},
        {m_modelBox, QT_TRANSLATE_NOOP("ScreenReader", "Model")},
        {m_modelText, QT_TRANSLATE_NOOP("ScreenReader", "Model")},
        {m_blocking, QT_TRANSLATE_NOOP("ScreenReader", "Block distance (BD)")},
        {m_empty, QT_TRANSLATE_NOOP("ScreenReader", "Empty distance")},
        {m_full, QT_TRANSLATE_NOOP("ScreenReader", "Full distance")},
        {m_lowDo, QT_TRANSLATE_NOOP("ScreenReader", "Low DO")},
        {m_lowDoPlaceholder, QT_TRANSLATE_NOOP("ScreenReader", "Low DO, not used by this model")},
        {m_hiDo, QT_TRANSLATE_NOOP("ScreenReader", "Hi DO")},
        {m_hiDoPlaceholder, QT_TRANSLATE_NOOP("ScreenReader", "Hi DO, not used by this model")},
        {m_runButton, QT_TRANSLATE_NOOP("ScreenReader", "RUN: put the sensor into its run state")},
        {m_readButton, QT_TRANSLATE_NOOP("ScreenReader", "Read settings")},
        {m_writeButton, QT_TRANSLATE_NOOP("ScreenReader", "Write settings")},
        {m_getLevelButton, QT_TRANSLATE_NOOP("ScreenReader", "Get level")},
        {m_level, QT_TRANSLATE_NOOP("ScreenReader", "Tank level")},
        {m_current, QT_TRANSLATE_NOOP("ScreenReader", "Current, mA")},
        {m_currentPlaceholder, QT_TRANSLATE_NOOP("ScreenReader", "Current, not given by this model")},
        {m_distance, QT_TRANSLATE_NOOP("ScreenReader", "Distance")},
        {m_temperature, QT_TRANSLATE_NOOP("ScreenReader", "Temperature, degrees Celsius")},
    });
}

void LevelWindow::connectSession()
{
    connect(&m_session, &SensorSession::linkEvent, this, &LevelWindow::MSComm1_OnComm);
    // The handshake's rate, every reply and the model the connected notice
    // identified, whichever window asked for them.
    connect(&m_session, &SensorSession::connected, m_baudBox,
            [this](const QString &baudText) { m_baudBox->setCurrentText(baudText); });
    connect(&m_session, &SensorSession::replyReceived, m_lastReply,
            [this](const QString &reply) { m_lastReply->setText(reply); });
    connect(&m_session, &SensorSession::identified, this, &LevelWindow::showIdentification);
}

void LevelWindow::adoptSessionState()
{
    // A window made after the handshake shows what it would have been told.
    if (!m_session.connectedBaud().isEmpty())
        m_baudBox->setCurrentText(m_session.connectedBaud());
    m_lastReply->setText(m_session.lastReply());
    if (m_session.lastIdentification())
        showIdentification(*m_session.lastIdentification());
}

void LevelWindow::showIdentification(const Identification &id)
{
    m_modelCode->setText(id.modelCode);
    if (id.window == ModelWindow::None)
        m_modelBox->setCurrentText(QStringLiteral("NON"));
}

void LevelWindow::makePictures()
{
    m_backgroundPicture = new QLabel(this);
    m_backgroundPicture->setObjectName(QStringLiteral("Image5"));
    ui::place(m_backgroundPicture, Twips{0, 0, 12270, 7245});

    m_productPicture = new QLabel(this);
    m_productPicture->setObjectName(QStringLiteral("Image1"));
    m_productPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui::place(m_productPicture, Twips{240, 240, 4656, 4260});
}

// The pictures take two megabytes; a window made hidden at start-up loads
// them when it is first polished (shown or drawn), not before.
void LevelWindow::loadPictures()
{
    m_background = ui::picture(this, QStringLiteral(":/level/background.png"));
    m_backgroundPicture->setPixmap(m_background);
    m_productPicture->setPixmap(ui::picture(this, QStringLiteral(":/level/product.png")));
}

bool LevelWindow::event(QEvent *event)
{
    if (ui::holdsPolishWhileHidden(this, event))
        return true;
    if (event->type() == QEvent::Polish && m_background.isNull())
        loadPictures();
    return QWidget::event(event);
}

void LevelWindow::makeLeftPanel()
{
    m_verticalRule = ui::makeLine(this, QStringLiteral("Line2"), QPoint(5040, 240), QPoint(5040, 5640), 2);
    m_horizontalRule = ui::makeLine(this, QStringLiteral("Line3"), QPoint(120, 5640), QPoint(11760, 5640), 2);

    // Bold 12 pt "Veltra" is 44 px wide, 4 more than its label: a little
    // tighter spacing keeps the whole name in view.
    QFont maker = ui::font(latin1(ui::kArial), 12, true);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, -0.8);
    m_makerName
        = ui::makeLabel(this, QStringLiteral("Label3"), QStringLiteral("Veltra"), Twips{2040, 5880, 612, 252}, maker);
    // Web and mail share the domain; both in full would not fit the label.
    m_makerMail = ui::makeLabel(this, QStringLiteral("Label8"), QStringLiteral("info@veltra.example"),
                                Twips{1200, 6240, 2412, 252}, ui::defaultFont());
    m_makerMark = ui::makeLabel(this, QStringLiteral("Label9"), QStringLiteral("VELTRA"), Twips{1080, 6480, 2772, 252},
                                ui::font(latin1(ui::kArial), 9, true));
    // The maker's lines sit under one another, centred under the picture.
    for (QLabel *label : {m_makerName, m_makerMail, m_makerMark})
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void LevelWindow::makeRunBanner()
{
    // Read right to left: "Attention!! The sensor has been put into RUN state."
    m_bannerAttention = ui::makePersianLabel(this, QStringLiteral("Label33"), QStringLiteral("توجه"),
                                             Twips{2400, 4680, 492, 372}, titrFont());
    ui::setTextColor(m_bannerAttention, kBannerRed);
    m_bannerMarks = ui::makePersianLabel(this, QStringLiteral("Label34"), QStringLiteral("!!"),
                                         Twips{2160, 4680, 252, 372}, titrFont());
    ui::setTextColor(m_bannerMarks, kBannerRed);
    m_bannerInState = ui::makePersianLabel(this, QStringLiteral("Label36"), QStringLiteral("سنسور در وضعيت"),
                                           Twips{2640, 5160, 1572, 372}, titrFont());
    m_bannerRun = ui::makeLabel(this, QStringLiteral("Label32"), QStringLiteral("RUN"), Twips{2040, 5280, 492, 252},
                                ui::font(latin1(ui::kArialBlack), 9.75, true));
    ui::setTextColor(m_bannerRun, kRunOrange);
    m_bannerWasPut = ui::makePersianLabel(this, QStringLiteral("Label35"), QStringLiteral("قرار گرفت"),
                                          Twips{960, 5160, 972, 372}, titrFont());
    ui::setTextColor(m_bannerWasPut, kBannerBlue);
    ui::explainInEnglish({m_bannerAttention, m_bannerMarks, m_bannerInState, m_bannerRun, m_bannerWasPut},
                         QStringLiteral("Attention!! The sensor has been put into the RUN state."));

    for (QLabel *label : runBanner())
        label->setVisible(false);
}

void LevelWindow::makeFirstColumn()
{
    m_ombCaption = ui::makeLabel(this, QStringLiteral("Label27"), QStringLiteral("OMB"), Twips{5280, 510, 495, 255},
                                 labelFont());
    m_ombBox = ui::makeComboBox(this, QStringLiteral("Combo4"), Twips{5880, 480, 1575, 315}, true);
    m_ogrCaption = ui::makeLabel(this, QStringLiteral("Label31"), QStringLiteral("OGR"), Twips{5280, 1110, 495, 255},
                                 labelFont());
    m_ogrBox = ui::makeComboBox(this, QStringLiteral("Combo3"), Twips{5880, 1080, 1575, 315}, true);
    m_resolutionCaption = ui::makeLabel(this, QStringLiteral("Label23"), QStringLiteral("RES"),
                                        Twips{5280, 1710, 495, 255}, labelFont());
    m_resolutionBox = ui::makeComboBox(this, QStringLiteral("Combo5"), Twips{5880, 1680, 1575, 315}, true);
    m_resolutionBox->setEnabled(false);

    m_modelCaption = makeArrayLabel(this, "Label38", 6, QCoreApplication::translate("Window", "Model"),
                                    Twips{6360, 2280, 735, 255}, smallLabelFont());
    m_modelBox = ui::makeComboBox(this, QStringLiteral("Combo2"), Twips{5880, 2640, 1575, 315}, true);
    m_modelBox->setEnabled(false);
    // The model is shown as plain text, in front of its box.
    m_modelText = ui::makeTextBox(this, QStringLiteral("Text37"), Twips{5880, 2640, 1575, 315});
    m_modelText->setEnabled(false);

    m_blockingShort
        = makeArrayLabel(this, "Label14", 0, QStringLiteral("(BD)"), Twips{6450, 3240, 375, 255}, smallLabelFont());
    m_blockingCaption = makeArrayLabel(this, "Label14", 1, QCoreApplication::translate("Window", "Block Distance"),
                                       Twips{6000, 3480, 1335, 255}, smallLabelFont());
    m_blocking = ui::makeTextBox(this, QStringLiteral("Text7"), Twips{5880, 3840, 1572, 315});
}

void LevelWindow::makeSecondColumn()
{
    m_baudCaption = ui::makeLabel(this, QStringLiteral("Label10"), QCoreApplication::translate("Window", "Baud Rate"),
                                  Twips{8640, 480, 1215, 255}, labelFont());
    m_baudBox = ui::makeComboBox(this, QStringLiteral("Combo1"), Twips{10080, 480, 1215, 315}, true);

    m_slaveCaption
        = ui::makeLabel(this, QStringLiteral("Label18"), QCoreApplication::translate("Window", "Slave Address"),
                        Twips{8280, 1080, 1575, 255}, labelFont());
    m_slaveRange = ui::makeLabel(this, QStringLiteral("Label19"), QCoreApplication::translate("Window", "1 to 247"),
                                 Twips{8640, 1320, 1095, 255}, labelFont());
    m_slave = ui::makeTextBox(this, QStringLiteral("Text13"), Twips{10080, 1080, 1215, 375});

    m_emptyCaption = ui::makeLabel(this, QStringLiteral("Label6"), QCoreApplication::translate("Window", "Empty"),
                                   Twips{9000, 2030, 975, 255}, labelFont());
    m_empty = ui::makeTextBox(this, QStringLiteral("Text2"), Twips{10080, 1970, 1215, 375});
    m_emptyRange = ui::makeLabel(this, QStringLiteral("Label29"), QString(), Twips{11280, 2000, 975, 375}, labelFont());

    m_fullCaption = ui::makeLabel(this, QStringLiteral("Label7"), QCoreApplication::translate("Window", "Full"),
                                  Twips{9000, 2630, 1095, 255}, labelFont());
    m_full = ui::makeTextBox(this, QStringLiteral("Text3"), Twips{10080, 2570, 1215, 375});
    m_fullRange = ui::makeLabel(this, QStringLiteral("Label28"), QString(), Twips{11280, 2640, 975, 375}, labelFont());

    // Low DO and Hi DO are typed into Text4 and Text5 when the window first
    // shows, so they stand in front of their placeholders.
    m_lowDoCaption = ui::makeLabel(this, QStringLiteral("Label11"), QCoreApplication::translate("Window", "Low DO"),
                                   Twips{9000, 3250, 975, 255}, labelFont());
    m_lowDo = ui::makeTextBox(this, QStringLiteral("Text4"), Twips{10080, 3200, 1215, 375});
    m_lowDoPlaceholder = ui::makeTextBox(this, QStringLiteral("Text29"), Twips{10080, 3200, 1215, 375});
    m_lowDoPlaceholder->setEnabled(false);
    m_lowDo->raise();
    // The grey placeholders stand for no setting, and until a read they lie
    // unseen under their fields: Tab passes them by, a click still reaches one.
    m_lowDoPlaceholder->setFocusPolicy(Qt::ClickFocus);

    m_hiDoCaption = ui::makeLabel(this, QStringLiteral("Label12"), QCoreApplication::translate("Window", "Hi DO"),
                                  Twips{9000, 3920, 855, 255}, labelFont());
    m_hiDo = ui::makeTextBox(this, QStringLiteral("Text5"), Twips{10080, 3870, 1215, 375});
    m_hiDoPlaceholder = ui::makeTextBox(this, QStringLiteral("Text30"), Twips{10080, 3870, 1215, 375});
    m_hiDoPlaceholder->setEnabled(false);
    m_hiDo->raise();
    m_hiDoPlaceholder->setFocusPolicy(Qt::ClickFocus);
}

void LevelWindow::makeButtons()
{
    m_runButton = ui::makeButton(this, QStringLiteral("Command2"), QStringLiteral("RUN"), Twips{6120, 4680, 975, 495},
                                 buttonFont());
    m_readButton = ui::makeButton(this, QStringLiteral("Command5"), QCoreApplication::translate("Window", "Read"),
                                  Twips{9720, 4680, 975, 495}, buttonFont());
    // Usable from the first tick of the unlock timer.
    m_readButton->setEnabled(false);
    m_writeButton = ui::makeButton(this, QStringLiteral("Command4"), QCoreApplication::translate("Window", "Write"),
                                   Twips{10800, 4680, 975, 495}, buttonFont());
}

void LevelWindow::makeMeasurement()
{
    m_levelCaption = makeArrayLabel(this, "Label38", 0, QCoreApplication::translate("Window", "Tank Level"),
                                    Twips{5280, 6120, 972, 252}, smallLabelFont());
    m_level = ui::makeTextBox(this, QStringLiteral("Text8"), Twips{6360, 6000, 1095, 375});
    m_equalsSign = makeArrayLabel(this, "Label38", 5, QStringLiteral("="), Twips{7800, 6120, 132, 252}, labelFont());
    m_current = ui::makeTextBox(this, QStringLiteral("Text9"), Twips{8160, 6000, 1095, 375});
    ui::setBackground(m_current, ui::menuColour());
    m_currentPlaceholder = ui::makeTextBox(this, QStringLiteral("Text28"), Twips{8160, 6000, 1095, 375});
    ui::setBackground(m_currentPlaceholder, ui::menuColour());
    m_currentUnit
        = makeArrayLabel(this, "Label38", 3, QStringLiteral("mA"), Twips{9360, 6120, 372, 252}, smallLabelFont());

    m_distanceCaption = makeArrayLabel(this, "Label38", 1, QCoreApplication::translate("Window", "Distance"),
                                       Twips{5400, 6600, 852, 252}, smallLabelFont());
    m_distance = ui::makeTextBox(this, QStringLiteral("Text16"), Twips{6360, 6480, 1095, 375});
    m_temperatureCaption
        = makeArrayLabel(this, "Label38", 2, QStringLiteral("T:"), Twips{7800, 6600, 252, 252}, smallLabelFont());
    m_temperature = ui::makeTextBox(this, QStringLiteral("Text18"), Twips{8160, 6480, 1095, 375});
    m_temperatureUnit
        = makeArrayLabel(this, "Label38", 4, QStringLiteral("C"), Twips{9360, 6600, 372, 252}, smallLabelFont());

    m_getLevelButton
        = ui::makeButton(this, QStringLiteral("Command1"), QCoreApplication::translate("Window", "Get Level"),
                         Twips{10080, 6120, 1455, 495}, buttonFont());
}

void LevelWindow::makeWorkingFields()
{
    for (const WorkingField &field : workingFields())
        this->*field.member = ui::makeHiddenField(this, latin1(field.name), latin1(field.designText));
}

void LevelWindow::makeTimers()
{
    // Timer1 has no action of its own, so it is never started; Write still stops it.
    m_idleTimer = new QTimer(this);
    m_idleTimer->setObjectName(QStringLiteral("Timer1"));
    m_idleTimer->setInterval(kTimer1IntervalMs);

    // Timer2 ticks once 200 ms after the window is made (Read becomes usable)
    // and once 200 ms after anything is locked; unasked characters restart it.
    m_unlockTimer = new QTimer(this);
    m_unlockTimer->setObjectName(QStringLiteral("Timer2"));
    m_unlockTimer->setInterval(kTimer2IntervalMs);
    m_unlockTimer->setSingleShot(true);
    connect(m_unlockTimer, &QTimer::timeout, this, &LevelWindow::Timer2_Timer);
    auto *watch = new UnlockWatch(m_unlockTimer);
    // What Timer2_Timer makes usable or hides.
    for (QWidget *control :
         std::initializer_list<QWidget *>{m_getLevelButton, m_runButton, m_readButton, m_baudBox, m_ogrBox, m_ombBox})
        watch->watchDisabling(control);
    for (QLineEdit *field : lockedFields())
        watch->watchDisabling(field);
    for (QLabel *label : runBanner())
        watch->watchShowing(label);
    m_unlockTimer->start();
}

void LevelWindow::Form_Load()
{
    m_runButton->setVisible(false);
    m_getLevelButton->setEnabled(false);
    m_writeButton->setEnabled(false);
    m_currentPlaceholder->setVisible(false);
    m_captionMarker->setText(QStringLiteral("10"));
    m_modelText->setText(m_modelBox->currentText());
}

void LevelWindow::fillLists()
{
    // Load has already disabled Get Level and hidden the current placeholder.
    ui::appendItems(m_baudBox, kBaudList);
    // The catalogue's names, then NON for a code no row has.
    ui::appendItems(m_modelBox, ModelCatalogue::modelListNames());
    ui::appendItems(m_modelBox, {QStringLiteral("NON")});
    ui::appendItems(m_ogrBox, kOgrList);
    ui::appendItems(m_ombBox, kOmbList);
    ui::appendItems(m_resolutionBox, kResolutionList);
    // Shown from the model's row, never typed.
    m_blocking->setEnabled(false);
}

std::array<QLineEdit *, 12> LevelWindow::lockedFields() const
{
    return {m_slave,              // Text13
            m_empty,              // Text2
            m_full,               // Text3
            m_lowDo,              // Text4
            m_hiDo,               // Text5
            m_lowDoPlaceholder,   // Text29
            m_hiDoPlaceholder,    // Text30
            m_level,              // Text8
            m_distance,           // Text16
            m_currentPlaceholder, // Text28
            m_temperature,        // Text18
            m_current};           // Text9
}

void LevelWindow::Timer2_Timer()
{
    // Write stays as it is: only a read enables it.
    for (QPushButton *button : {m_getLevelButton, m_runButton, m_readButton})
        button->setEnabled(true);
    for (QComboBox *box : {m_baudBox, m_ogrBox, m_ombBox})
        box->setEnabled(true);
    for (QLineEdit *field : lockedFields())
        field->setEnabled(true);
    for (QLabel *label : runBanner())
        label->setVisible(false);
}

void LevelWindow::setEndProgram(std::function<void()> endProgram)
{
    m_endProgram = std::move(endProgram);
}

bool LevelWindow::isWorkingField(int n)
{
    const QString name = QStringLiteral("Text%1").arg(n);
    for (const WorkingField &field : workingFields()) {
        if (name == QLatin1String(field.name))
            return true;
    }
    return false;
}

std::array<QLabel *, 5> LevelWindow::runBanner() const
{
    return {m_bannerRun, m_bannerAttention, m_bannerMarks, m_bannerWasPut, m_bannerInState};
}

void LevelWindow::setEmptyRangeCaption(const QString &caption)
{
    if (m_emptyRange->text() == caption)
        return;
    m_emptyRange->setText(caption);
    emit emptyRangeCaptionChanged();
}

void LevelWindow::paintEvent(QPaintEvent *)
{
    // The background picture at its natural size, behind every control.
    QPainter painter(this);
    painter.drawPixmap(0, ui::clientTop(this), m_background);
}

void LevelWindow::closeEvent(QCloseEvent *event)
{
    m_session.close();
    event->accept();
    if (m_endProgram)
        m_endProgram();
}

} // namespace veltra
