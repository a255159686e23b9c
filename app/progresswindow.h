#pragma once

#include <QProgressBar>
#include <QWidget>

class QLabel;

namespace veltra {

// A progress bar that reports when it takes the input focus.
class FocusProgressBar : public QProgressBar
{
    Q_OBJECT
public:
    explicit FocusProgressBar(QWidget *parent = nullptr);

signals:
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent *event) override;
};

// Progress window (designer name navar) shown while settings are written. Once shown it steps the
// bar through 0, 20 and 40, a second apart, and hides itself. It starts on
// being shown, not on the bar taking the focus: a message box or a window
// manager may keep the focus, and the window must not stay for good.
class ProgressWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kSteps = 3;
    static constexpr int kStepSize = 20;
    static constexpr int kStepSeconds = 1;

    explicit ProgressWindow(QWidget *parent = nullptr);
    bool isAnimating() const { return m_animating; }

signals:
    void animationFinished();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void animate();

    bool m_animating = false;

    QLabel *m_waitText = nullptr;
    FocusProgressBar *m_progressBar = nullptr;
};

} // namespace veltra
