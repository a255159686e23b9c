#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace veltra {

class ConnectedNotice;
class DistanceWindow;
class FailureNotice;
class LevelWindow;
class ProgressWindow;
class RunNotice;
class SensorSession;
class SerialLink;
class StartWindow;
class UnitNotice;

// Makes every window of the program once, on one session with the sensor
// over the given link, and wires them together. The windows are hidden and
// shown again, never remade.
class Program : public QObject
{
    Q_OBJECT
public:
    // endProgram is what "the program ends" means: quit the application in
    // the real program, a recorded call in tests.
    Program(SerialLink &link, std::function<void()> endProgram, QObject *parent = nullptr);
    ~Program() override;

    // Shows the start window.
    void start();

    SensorSession &session() const { return *m_session; }
    StartWindow &startWindow() const { return *m_startWindow; }             // Form1
    LevelWindow &levelWindow() const { return *m_levelWindow; }             // form2
    RunNotice &runNotice() const { return *m_runNotice; }                   // Form3
    ConnectedNotice &connectedNotice() const { return *m_connectedNotice; } // Form4
    FailureNotice &failureNotice() const { return *m_failureNotice; }       // Form5
    DistanceWindow &distanceWindow() const { return *m_distanceWindow; }    // Form6
    UnitNotice &centimetreNotice() const { return *m_centimetreNotice; }    // Form7
    UnitNotice &millimetreNotice() const { return *m_millimetreNotice; }    // Form8
    ProgressWindow &progressWindow() const { return *m_progressWindow; }    // navar

private:
    std::function<void()> m_endProgram;
    std::unique_ptr<SensorSession> m_session;
    std::unique_ptr<LevelWindow> m_levelWindow;
    std::unique_ptr<DistanceWindow> m_distanceWindow;
    std::unique_ptr<RunNotice> m_runNotice;
    std::unique_ptr<ConnectedNotice> m_connectedNotice;
    std::unique_ptr<FailureNotice> m_failureNotice;
    std::unique_ptr<UnitNotice> m_centimetreNotice;
    std::unique_ptr<UnitNotice> m_millimetreNotice;
    std::unique_ptr<ProgressWindow> m_progressWindow;
    std::unique_ptr<StartWindow> m_startWindow;
};

} // namespace veltra
