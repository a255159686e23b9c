#include "progresswindow.h"

#include "controls.h"
#include "seriallink.h" // Pause

#include <QFocusEvent>
#include <QLabel>
#include <QPointer>
#include <QShowEvent>

namespace veltra {

using ui::Twips;

FocusProgressBar::FocusProgressBar(QWidget *parent)
    : QProgressBar(parent)
{}

void FocusProgressBar::focusInEvent(QFocusEvent *event)
{
    QProgressBar::focusInEvent(event);
    emit gotFocus();
}

ProgressWindow::ProgressWindow(QWidget *parent)
    : QWidget(parent)
{
    ui::setUpWindow(this, QStringLiteral("navar"), QString(), 4035, 2385);

    m_waitText = ui::makePersianLabel(this, QStringLiteral("Label1"), QStringLiteral("چند لحظه صبر کنيد "),
                                      Twips{1200, 360, 1575, 375}, ui::font(QString::fromLatin1(ui::kLotus), 12));
    ui::explainInEnglish({m_waitText}, QStringLiteral("Please wait a moment."));

    m_progressBar = new FocusProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("XP_ProgressBar1"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setTextVisible(false);
    // The only control that takes the focus, so activation hands it to the bar.
    m_progressBar->setFocusPolicy(Qt::StrongFocus);
    ui::place(m_progressBar, Twips{840, 1080, 2295, 615});
}

void ProgressWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        activateWindow();
    // After the handler that showed the window has returned: the write goes
    // on first, and the animation's waits never run inside a show.
    if (!m_animating)
        QMetaObject::invokeMethod(this, &ProgressWindow::animate, Qt::QueuedConnection);
}

void ProgressWindow::animate()
{
    // Pause lets other events through, a new show among them; one animation at a time.
    if (m_animating || !isVisible())
        return;
    m_animating = true;

    const QPointer<ProgressWindow> self(this);
    int position = 0;
    for (int step = 0; step < kSteps; ++step) {
        m_progressBar->setValue(position);
        position += kStepSize;
        Pause(kStepSeconds);
        if (!self)
            return;
    }
    hide();
    m_animating = false;
    emit animationFinished();
}

} // namespace veltra
