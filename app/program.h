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
    StartWindow &startWindow() const { return *m_startWindow; } // Form1
    // Every other window is made just after the start window has drawn
    // itself, or when first asked for, whichever comes first: the start
    // window comes up without waiting for them.
    LevelWindow &levelWindow() const;         // form2
    RunNotice &runNotice() const;             // Form3
    ConnectedNotice &connectedNotice() const; // Form4
    FailureNotice &failureNotice() const;     // Form5
    DistanceWindow &distanceWindow() const;   // Form6
    UnitNotice &centimetreNotice() const;     // Form7
    UnitNotice &millimetreNotice() const;     // Form8
    ProgressWindow &progressWindow() const;   // navar

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeWindows();

    std::function<void()> m_endProgram;
    std::unique_ptr<SensorSession> m_session;
    mutable std::unique_ptr<LevelWindow> m_levelWindow;
    mutable std::unique_ptr<DistanceWindow> m_distanceWindow;
    mutable std::unique_ptr<RunNotice> m_runNotice;
    mutable std::unique_ptr<ConnectedNotice> m_connectedNotice;
    mutable std::unique_ptr<FailureNotice> m_failureNotice;
    mutable std::unique_ptr<UnitNotice> m_centimetreNotice;
    mutable std::unique_ptr<UnitNotice> m_millimetreNotice;
    mutable std::unique_ptr<ProgressWindow> m_progressWindow;
    std::unique_ptr<StartWindow> m_startWindow;
};

} // namespace veltra
