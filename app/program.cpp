#include "program.h"

#include "connectednotice.h"
#include "distancewindow.h"
#include "failurenotice.h"
#include "levelwindow.h"
#include "progresswindow.h"
#include "runnotice.h"
#include "sensorsession.h"
#include "startwindow.h"
#include "unitnotice.h"

namespace veltra {

Program::Program(SerialLink &link, std::function<void()> endProgram, QObject *parent)
    : QObject(parent)
    , m_endProgram(std::move(endProgram))
    , m_session(std::make_unique<SensorSession>(link))
{
    m_levelWindow = std::make_unique<LevelWindow>(*m_session);
    m_distanceWindow = std::make_unique<DistanceWindow>(*m_session);
    m_runNotice = std::make_unique<RunNotice>(m_endProgram);
    m_connectedNotice = std::make_unique<ConnectedNotice>(*m_session, m_endProgram);
    m_failureNotice = std::make_unique<FailureNotice>();
    m_centimetreNotice = std::make_unique<UnitNotice>(UnitNotice::Unit::Centimetre);
    m_millimetreNotice = std::make_unique<UnitNotice>(UnitNotice::Unit::Millimetre);
    m_progressWindow = std::make_unique<ProgressWindow>();
    m_startWindow = std::make_unique<StartWindow>(*m_session, m_endProgram);

    connect(m_startWindow.get(), &StartWindow::sensorFound, m_connectedNotice.get(), &QWidget::show);
    connect(m_startWindow.get(), &StartWindow::sensorNotFound, this, [this](const QString &reason) {
        m_failureNotice->setReason(reason);
        m_failureNotice->show();
    });
    connect(m_failureNotice.get(), &FailureNotice::backToStart, m_startWindow.get(), &QWidget::show);
    connect(m_connectedNotice.get(), &ConnectedNotice::modelWindowChosen, this, [this](ModelWindow window) {
        if (window == ModelWindow::Distance)
            m_distanceWindow->show();
        else if (window == ModelWindow::Level)
            m_levelWindow->show();
    });

    m_levelWindow->setEndProgram(m_endProgram);
    connect(m_levelWindow.get(), &LevelWindow::writeStarted, m_progressWindow.get(), &QWidget::show);
    connect(m_levelWindow.get(), &LevelWindow::sensorRunning, m_runNotice.get(), &QWidget::show);
    connect(m_levelWindow.get(), &LevelWindow::centimetreNotice, m_centimetreNotice.get(), &QWidget::show);
    connect(m_levelWindow.get(), &LevelWindow::millimetreNotice, m_millimetreNotice.get(), &QWidget::show);
    m_distanceWindow->setEndProgram(m_endProgram);
    connect(m_distanceWindow.get(), &DistanceWindow::writeStarted, m_progressWindow.get(), &QWidget::show);
}

// The windows go first (they are declared after the session they use).
Program::~Program() = default;

void Program::start()
{
    m_startWindow->show();
}

} // namespace veltra
