#include "startwindow.h"

#include "about.h"
#include "controls.h"
#include "guidewindow.h"
#include "historywindow.h"
#include "language.h"
#include "menubar.h"
#include "portmap.h"
#include "serialports.h"
#include "session/sensorsession.h"
#include "trafficlogwindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace veltra {

using ui::Twips;

namespace {

// The port box lists 1 to 15; any other number or a device path may be typed.
constexpr int kPortCount = 15;

} // namespace

StartWindow::StartWindow(SensorSession &session, std::function<void()> endProgram, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_endProgram(std::move(endProgram))
    , m_portTipSource([] { return PortMap::describe(kPortCount); })
{
    ui::setUpWindow(this, QStringLiteral("Form1"),
                    QCoreApplication::translate("Window", "Ultrasonic Sensor Program V7"), 5130, 3585);

    m_title = ui::makeLabel(this, QStringLiteral("Label1"),
                            QCoreApplication::translate("Window", "Ultrasonic Sensor Modbus Program"),
                            Twips{480, 240, 4092, 372}, ui::font(QString::fromLatin1(ui::kArial), 12, true));
    m_upperRule = ui::makeLine(this, QStringLiteral("Line1"), QPoint(719, 839), QPoint(3955, 839));
    m_portCaption
        = ui::makeLabel(this, QStringLiteral("Label2"), QCoreApplication::translate("Window", "Enter com port"),
                        Twips{960, 1080, 1572, 252}, ui::font(QString::fromLatin1(ui::kSansSerif), 9.75, true));

    // Made first of the controls that take focus, so it has the focus first.
    // Its list shows each port's device and adapter beside the number.
    m_portBox = ui::setUpComboBox(new ui::PortBox(this), QStringLiteral("Combo1"), Twips{2640, 1080, 975, 288}, true);
    for (int port = 1; port <= kPortCount; ++port)
        m_portBox->addItem(QString::number(port));
    m_portBox->setCurrentIndex(0);
    m_portBox->setEditText(QStringLiteral("1"));
    // The tooltip is made when it is about to show (a tooltip event over the
    // box's text comes on to the box).
    m_portBox->installEventFilter(this);
    m_portBox->setFocus();

    m_connectButton
        = ui::makeButton(this, QStringLiteral("Command1"), QCoreApplication::translate("Window", "Set com port"),
                         Twips{1560, 1680, 1575, 375});
    connect(m_connectButton, &QPushButton::clicked, this, &StartWindow::Command1_Click);

    m_lowerRule = ui::makeLine(this, QStringLiteral("Line2"), QPoint(719, 2518), QPoint(3955, 2518));
    // Labels 3 to 5 share one centre line; centred text keeps it.
    m_maker = ui::makeLabel(this, QStringLiteral("Label3"), QCoreApplication::translate("Window", "Veltra co."),
                            Twips{1320, 2640, 2052, 252});
    m_web
        = ui::makeLabel(this, QStringLiteral("Label4"), QStringLiteral("veltra.example"), Twips{1800, 2880, 1092, 252});
    m_version = ui::makeLabel(this, QStringLiteral("Label5"), QCoreApplication::translate("Window", "Version  V7"),
                              Twips{1920, 3120, 852, 252});
    for (QLabel *label : {m_maker, m_web, m_version})
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ui::nameForScreenReaders({{m_portBox, QT_TRANSLATE_NOOP("ScreenReader", "Com port")},
                              {m_connectButton, QT_TRANSLATE_NOOP("ScreenReader", "Set com port: find the sensor")}});

    makeMenus();
}

void StartWindow::makeMenus()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("MenuBar"));
    QMenu *view = m_menuBar->addMenu(QCoreApplication::translate("Menus", "&View"));
    ui::addTrafficLogAction(view, m_session.traffic());
    ui::addHistoryAction(view);
    QMenu *help = m_menuBar->addMenu(QCoreApplication::translate("Menus", "&Help"));
    ui::addGuideAction(help, QStringLiteral("getting-started.md#the-start-window"));
    ui::addDiagnosticReportAction(help, this, m_session);
    help->addAction(QCoreApplication::translate("Menus", "&About"), this, [this] { ui::showAbout(this); });
    help->addAction(QCoreApplication::translate("Menus", "&Serial Ports"), this,
                    [this] { ui::showSerialPorts(this, kPortCount); });
    ui::addLanguageMenu(help, this);
    ui::placeMenuBar(this, m_menuBar);
}

QString StartWindow::portText() const
{
    return m_portBox->currentText();
}

void StartWindow::setPortText(const QString &text)
{
    const int index = m_portBox->findText(text);
    if (index >= 0)
        m_portBox->setCurrentIndex(index);
    m_portBox->setEditText(text);
}

void StartWindow::setPortTipSource(std::function<QString()> source)
{
    m_portTipSource = std::move(source);
}

bool StartWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Adapters come and go; the tip says what each number means right now,
    // from one look at the system's devices per tip shown.
    if (event->type() == QEvent::ToolTip && watched == m_portBox && m_portTipSource)
        m_portBox->setToolTip(m_portTipSource());
    return QWidget::eventFilter(watched, event);
}

void StartWindow::closeEvent(QCloseEvent *event)
{
    m_session.close();
    event->accept();
    if (m_endProgram)
        m_endProgram();
}

} // namespace veltra
