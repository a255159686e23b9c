#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

namespace veltra {

// RUN notice (designer name Form3): the sensor was put into its run state. The program ends two
// seconds after the notice is shown, or at once when it is closed.
class RunNotice : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kEndDelayMs = 2000;

    explicit RunNotice(std::function<void()> endProgram, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Timer1_Timer();
    void endProgram();

    std::function<void()> m_endProgram;
    bool m_loaded = false;
    bool m_ended = false;

    QLabel *m_inStateText = nullptr;
    QLabel *m_runText = nullptr;
    QLabel *m_wasPutText = nullptr;
    QLabel *m_marksText = nullptr;
    QTimer *m_endTimer = nullptr;
};

} // namespace veltra
