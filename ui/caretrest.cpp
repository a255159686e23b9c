#include "caretrest.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>
#include <QTimer>

namespace veltra::ui {

namespace {

class CaretRest : public QObject
{
public:
    CaretRest(QObject *application, int idleMs)
        : QObject(application)
        , m_flashTime(QGuiApplication::styleHints()->cursorFlashTime())
    {
        m_idle.setSingleShot(true);
        m_idle.setInterval(idleMs);
        connect(&m_idle, &QTimer::timeout, this, [] { QGuiApplication::styleHints()->setCursorFlashTime(0); });
        m_idle.start();
        application->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::FocusIn:
            if (!m_idle.isActive())
                QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
            m_idle.start();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTimer m_idle;
    int m_flashTime;
};

} // namespace

void restCaretWhenIdle(QObject *application, int idleMs)
{
    new CaretRest(application, idleMs);
}

} // namespace veltra::ui
