#include "distancewindow.h"

#include "controls.h"
#include "menubar.h"
#include "protocol/modelcatalogue.h"
#include "session/sensorsession.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QStringList>

namespace veltra {

using ui::Twips;

namespace {

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

QLabel *makePicture(QWidget *parent, const QString &name, const Twips &at)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui::place(picture, at);
    return picture;
}

// The direct child of window named prefix and n ("Text13"); nullptr if none.
template <typename T>
T *numbered(const QWidget *window, const char *prefix, int n)
{
    return window->findChild<T *>(QLatin1String(prefix) + QString::number(n), Qt::FindDirectChildrenOnly);
}

const QStringList kBaudList = {QStringLiteral("9600"),  QStringLiteral("19200"),  QStringLiteral("38400"),
                               QStringLiteral("57600"), QStringLiteral("115200"), QStringLiteral("NON")};
const QStringList kOgrList = {QStringLiteral("High"), QStringLiteral("Medium"), QStringLiteral("Low")};

} // namespace

// Made in this order: last reply, temperature, then the settings block.
// clang-format off
const std::array<DistanceWindow::WorkingField, 19> DistanceWindow::kWorkingFields = {{
    {&DistanceWindow::m_lastReply, "Text1"},
    {&DistanceWindow::m_temperature, "Text18"},
    {&DistanceWindow::m_baudCode, "Text22"},
    {&DistanceWindow::m_ogrCode, "Text25"},
    {&DistanceWindow::m_month, "Text24"},
    {&DistanceWindow::m_day, "Text23"},
    {&DistanceWindow::m_year, "Text21"},
    {&DistanceWindow::m_modelCode, "Text26"},
    {&DistanceWindow::m_empty, "Text2"},
    {&DistanceWindow::m_full, "Text3"},
    {&DistanceWindow::m_hiDo, "Text5"},
    {&DistanceWindow::m_emptyHigh, "Text10"},
    {&DistanceWindow::m_emptyLow, "Text11"},
    {&DistanceWindow::m_fullHigh, "Text12"},
    {&DistanceWindow::m_fullLow, "Text14"},
    {&DistanceWindow::m_switchHigh, "Text15"},
    {&DistanceWindow::m_switchLow, "Text17"},
    {&DistanceWindow::m_hiDoHigh, "Text19"},
    {&DistanceWindow::m_hiDoLow, "Text20"},
}};
// clang-format on

DistanceWindow::DistanceWindow(SensorSession &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_editor(session)
{
    ui::setUpWindow(this, QStringLiteral("Form6"), QCoreApplication::translate("Window", "Program DVZ"), 12600, 6255);

    // Made back to front, so the model fields lie on their picture; among
    // the controls that take focus, in tab order.
    makePictures();
    makeLeftPanel();
    makeSettings();
    makeModelPlate();
    makeButtons();
    makeMeasurement();
    makeWorkingFields();
    ui::keepCaptionsOffFields(this);

    connect(m_readButton, &QPushButton::clicked, this, &DistanceWindow::Command5_Click);
    connect(m_writeButton, &QPushButton::clicked, this, &DistanceWindow::Command4_Click);
    connect(m_getDistanceButton, &QPushButton::clicked, this, &DistanceWindow::Command1_Click);
    // The baud box shows the rate the handshake found.
    connect(&m_session, &SensorSession::connected, m_baudBox, &QComboBox::setCurrentText);

    Form_Load();
    fillLists();
    makeMenus();
    // A window made after the handshake shows the rate it found.
    if (!m_session.connectedBaud().isEmpty())
        m_baudBox->setCurrentText(m_session.connectedBaud());
    ui::nameForScreenReaders({
        {m_baudBox, QT_TRANSLATE_NOOP("ScreenReader", "Baud rate")},
        {m_slave, QT_TRANSLATE_NOOP("ScreenReader", "Slave address, 1 to 247")},
        {m_ogrBox, QT_TRANSLATE_NOOP("ScreenReader", "OGR")},
        {m_switchPoint, QT_TRANSLATE_NOOP("ScreenReader", "Switch point, cm")},
        {m_modelBox, QT_TRANSLATE_NOOP("ScreenReader", "Model")},
        {m_blockingDistance, QT_TRANSLATE_NOOP("ScreenReader", "Block distance")},
        {m_readButton, QT_TRANSLATE_NOOP("ScreenReader", "Read settings")},
        {m_writeButton, QT_TRANSLATE_NOOP("ScreenReader", "Write settings")},
        {m_getDistanceButton, QT_TRANSLATE_NOOP("ScreenReader", "Get distance")},
        {m_distance, QT_TRANSLATE_NOOP("ScreenReader", "Distance, cm")},
        {m_temperature, QT_TRANSLATE_NOOP("ScreenReader", "Temperature, degrees Celsius")},
        {m_lastReply, QT_TRANSLATE_NOOP("ScreenReader", "Last reply")},
    });
}

void DistanceWindow::makePictures()
{
    m_productPicture = makePicture(this, QStringLiteral("Image1"), Twips{0, 0, 4755, 5025});
    m_sensorPicture = makePicture(this, QStringLiteral("Image3"), Twips{5520, 1680, 1995, 2400});
}

// A window made hidden at start-up loads its pictures when it is first
// polished (shown or drawn), not before.
bool DistanceWindow::event(QEvent *event)
{
    if (ui::holdsPolishWhileHidden(this, event))
        return true;
    if (event->type() == QEvent::Polish && m_productPicture->pixmap().isNull()) {
        m_productPicture->setPixmap(ui::picture(this, QStringLiteral(":/distance/product.png")));
        m_sensorPicture->setPixmap(ui::picture(this, QStringLiteral(":/distance/sensor.png")));
    }
    return QWidget::event(event);
}

void DistanceWindow::makeLeftPanel()
{
    m_panelLine = ui::makeLine(this, QStringLiteral("Line2"), QPoint(4800, 0), QPoint(4800, 5040), 2);
    m_footLine = ui::makeLine(this, QStringLiteral("Line3"), QPoint(0, 5040), QPoint(11640, 5040), 2);

    // The stand-in serif is wider than the designer's face: its condensed cut,
    // a little tighter, keeps the whole name inside its 41 px.
    QFont maker = ui::font(latin1(ui::kBodoniBlack), 12);
    maker.setStretch(QFont::SemiCondensed);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, -1.2);
    m_makerName
        = ui::makeLabel(this, QStringLiteral("Label3"), QStringLiteral("Veltra"), Twips{2040, 5280, 615, 255}, maker);
    // Web and mail share the domain; both in full would not fit the label.
    m_makerContact = ui::makeLabel(this, QStringLiteral("Label8"), QStringLiteral("info@veltra.example"),
                                   Twips{1200, 5640, 2415, 255}, ui::defaultFont());
    m_makerMark = ui::makeLabel(this, QStringLiteral("Label9"), QStringLiteral("VELTRA"), Twips{960, 5880, 2775, 255},
                                ui::font(latin1(ui::kBodoniBlack), 8.25));
    // The maker's lines sit under one another, centred under the picture.
    for (QLabel *line : {m_makerName, m_makerContact, m_makerMark})
        line->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void DistanceWindow::makeSettings()
{
    m_baudCaption = ui::makeLabel(this, QStringLiteral("Label10"), QCoreApplication::translate("Window", "Baud Rate"),
                                  Twips{7920, 360, 1215, 255}, labelFont());
    m_baudBox = ui::makeComboBox(this, QStringLiteral("Combo1"), Twips{9480, 360, 1215, 315}, true);

    m_slaveCaption
        = ui::makeLabel(this, QStringLiteral("Label18"), QCoreApplication::translate("Window", "Slave Address"),
                        Twips{7680, 940, 1575, 255}, labelFont());
    m_slaveRange = ui::makeLabel(this, QStringLiteral("Label19"), QCoreApplication::translate("Window", "1 to 247"),
                                 Twips{8040, 1180, 1095, 255}, labelFont());
    m_slave = ui::makeTextBox(this, QStringLiteral("Text13"), Twips{9480, 960, 1215, 375});

    m_ogrCaption = ui::makeLabel(this, QStringLiteral("Label31"), QStringLiteral("OGR"), Twips{8160, 1710, 495, 255},
                                 labelFont());
    m_ogrBox = ui::makeComboBox(this, QStringLiteral("Combo3"), Twips{9480, 1680, 1575, 315}, true);

    m_switchCaption = ui::makeLabel(this, QStringLiteral("Label11"), QCoreApplication::translate("Window", "Switch"),
                                    Twips{8100, 2250, 855, 255}, labelFont());
    m_switchRange = ui::makeLabel(this, QStringLiteral("Label32"), QCoreApplication::translate("Window", "60 to 600"),
                                  Twips{7980, 2500, 1095, 255}, labelFont());
    m_switchPoint = ui::makeTextBox(this, QStringLiteral("Text4"), Twips{9480, 2280, 1215, 375});
}

void DistanceWindow::makeModelPlate()
{
    // Model and blocking distance are shown, never edited. The model box
    // takes text so it can show "NON", which is not in its list.
    m_modelBox = ui::makeComboBox(this, QStringLiteral("Combo2"), Twips{5760, 2280, 1575, 315}, true);
    m_modelBox->setEnabled(false);
    m_blockingCaption = ui::makeLabel(this, QStringLiteral("Label14"), QStringLiteral("BD"),
                                      Twips{6360, 2880, 375, 255}, labelFont());
    m_blockingDistance = ui::makeTextBox(this, QStringLiteral("Text7"), Twips{5760, 3480, 1455, 375});
    m_blockingDistance->setEnabled(false);
}

void DistanceWindow::makeButtons()
{
    m_readButton = ui::makeButton(this, QStringLiteral("Command5"), QCoreApplication::translate("Window", "Read"),
                                  Twips{9000, 3560, 975, 495}, buttonFont());
    m_writeButton = ui::makeButton(this, QStringLiteral("Command4"), QCoreApplication::translate("Window", "write"),
                                   Twips{10080, 3560, 975, 495}, buttonFont());
}

void DistanceWindow::makeMeasurement()
{
    m_distanceCaption
        = ui::makeLabel(this, QStringLiteral("Label27"), QCoreApplication::translate("Window", "Distance"),
                        Twips{5640, 5520, 1095, 255}, ui::font(latin1(ui::kArialNarrow), 12, true));
    m_distance = ui::makeTextBox(this, QStringLiteral("Text16"), Twips{6720, 5520, 1095, 375});
    m_getDistanceButton
        = ui::makeButton(this, QStringLiteral("Command1"), QCoreApplication::translate("Window", "Get Distance"),
                         Twips{9360, 5400, 1455, 495}, buttonFont());
}

void DistanceWindow::makeWorkingFields()
{
    for (const WorkingField &working : kWorkingFields)
        this->*working.field = ui::makeHiddenField(this, QLatin1String(working.name));
}

void DistanceWindow::Form_Load()
{
    m_modelBox->setEnabled(false);
    // Only a Read makes write and Get Distance usable.
    m_getDistanceButton->setEnabled(false);
    m_writeButton->setEnabled(false);
}

void DistanceWindow::fillLists()
{
    ui::appendItems(m_baudBox, kBaudList);
    ui::appendItems(m_modelBox, {QLatin1String(ModelCatalogue::kDistanceModelName)});
    ui::appendItems(m_ogrBox, kOgrList);
}

void DistanceWindow::setEndProgram(std::function<void()> endProgram)
{
    m_endProgram = std::move(endProgram);
}

bool DistanceWindow::isWorkingField(int n)
{
    const QString name = QStringLiteral("Text%1").arg(n);
    for (const WorkingField &working : kWorkingFields) {
        if (name == QLatin1String(working.name))
            return true;
    }
    return false;
}

void DistanceWindow::paintEvent(QPaintEvent *)
{
    // A quiet wash behind the controls, lighter at the top.
    QPainter painter(this);
    const QRect client = rect().adjusted(0, ui::clientTop(this), 0, 0);
    QLinearGradient wash(0, client.top(), 0, client.bottom() + 1);
    wash.setColorAt(0.0, QColor(246, 249, 252));
    wash.setColorAt(1.0, QColor(224, 232, 240));
    painter.fillRect(client, wash);
}

void DistanceWindow::closeEvent(QCloseEvent *event)
{
    // Ending the process releases the port; it is not closed first.
    event->accept();
    if (m_endProgram)
        m_endProgram();
}

} // namespace veltra
