#include "program.h"

#include "connectednotice.h"
#include "distancewindow.h"
#include "failurenotice.h"
#include "levelwindow.h"
#include "progresswindow.h"
#include "runnotice.h"
#include "session/sensorsession.h"
#include "startwindow.h"
#include "unitnotice.h"

#include <QEvent>
#include <QTimer>

namespace veltra {

namespace {
constexpr int kMakeWindowsLatestMs = 500;
}

Program::Program(SerialLink &link, std::function<void()> endProgram, QObject *parent)
    : QObject(parent)
    , m_endProgram(std::move(endProgram))
    , m_session(std::make_unique<SensorSession>(link))
{
    m_startWindow = std::make_unique<StartWindow>(*m_session, m_endProgram);
    connect(m_startWindow.get(), &StartWindow::sensorFound, this, [this] { connectedNotice().show(); });
    connect(m_startWindow.get(), &StartWindow::sensorNotFound, this, [this](const QString &reason) {
        failureNotice().setReason(reason);
        failureNotice().show();
    });
}

// The windows go first (they are declared after the session they use).
Program::~Program() = default;

void Program::start()
{
    // The other windows are made once the start window has drawn itself,
    // so it is up without waiting for them; the timer covers a start window
    // that is never drawn (minimised, no display to draw on).
    m_startWindow->installEventFilter(this);
    m_startWindow->show();
    QTimer::singleShot(kMakeWindowsLatestMs, this, &Program::makeWindows);
}

bool Program::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_startWindow.get() && event->type() == QEvent::Paint) {
        m_startWindow->removeEventFilter(this);
        QTimer::singleShot(0, this, &Program::makeWindows);
    }
    return QObject::eventFilter(watched, event);
}

void Program::makeWindows()
{
    levelWindow();
    distanceWindow();
    runNotice();
    connectedNotice();
    failureNotice();
    centimetreNotice();
    millimetreNotice();
    progressWindow();
}

LevelWindow &Program::levelWindow() const
{
    if (!m_levelWindow) {
        m_levelWindow = std::make_unique<LevelWindow>(*m_session);
        LevelWindow *window = m_levelWindow.get();
        window->setEndProgram(m_endProgram);
        connect(window, &LevelWindow::writeStarted, this, [this] { progressWindow().show(); });
        connect(window, &LevelWindow::sensorRunning, this, [this] { runNotice().show(); });
        connect(window, &LevelWindow::centimetreNotice, this, [this] { centimetreNotice().show(); });
        connect(window, &LevelWindow::millimetreNotice, this, [this] { millimetreNotice().show(); });
    }
    return *m_levelWindow;
}

DistanceWindow &Program::distanceWindow() const
{
    if (!m_distanceWindow) {
        m_distanceWindow = std::make_unique<DistanceWindow>(*m_session);
        m_distanceWindow->setEndProgram(m_endProgram);
        connect(m_distanceWindow.get(), &DistanceWindow::writeStarted, this, [this] { progressWindow().show(); });
    }
    return *m_distanceWindow;
}

RunNotice &Program::runNotice() const
{
    if (!m_runNotice)
        m_runNotice = std::make_unique<RunNotice>(m_endProgram);
    return *m_runNotice;
}

ConnectedNotice &Program::connectedNotice() const
{
    if (!m_connectedNotice) {
        m_connectedNotice = std::make_unique<ConnectedNotice>(*m_session, m_endProgram);
        connect(m_connectedNotice.get(), &ConnectedNotice::modelWindowChosen, this, [this](ModelWindow window) {
            if (window == ModelWindow::Distance)
                distanceWindow().show();
            else if (window == ModelWindow::Level)
                levelWindow().show();
        });
    }
    return *m_connectedNotice;
}

FailureNotice &Program::failureNotice() const
{
    if (!m_failureNotice) {
        m_failureNotice = std::make_unique<FailureNotice>();
        connect(m_failureNotice.get(), &FailureNotice::backToStart, m_startWindow.get(), &QWidget::show);
    }
    return *m_failureNotice;
}

UnitNotice &Program::centimetreNotice() const
{
    if (!m_centimetreNotice)
        m_centimetreNotice = std::make_unique<UnitNotice>(UnitNotice::Unit::Centimetre);
    return *m_centimetreNotice;
}

UnitNotice &Program::millimetreNotice() const
{
    if (!m_millimetreNotice)
        m_millimetreNotice = std::make_unique<UnitNotice>(UnitNotice::Unit::Millimetre);
    return *m_millimetreNotice;
}

ProgressWindow &Program::progressWindow() const
{
    if (!m_progressWindow)
        m_progressWindow = std::make_unique<ProgressWindow>();
    return *m_progressWindow;
}

} // namespace veltra
