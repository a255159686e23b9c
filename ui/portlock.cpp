#include "portlock.h"

#include <QEvent>
#include <QWidget>

namespace veltra::ui {

namespace {
// Enabled by its own setting, whatever its window's state.
bool enabledItself(const QWidget *control)
{
    return !control->testAttribute(Qt::WA_ForceDisabled);
}
} // namespace

PortLock::PortLock(QList<QWidget *> controls, QObject *parent)
    : QObject(parent)
    , m_controls(std::move(controls))
{}

void PortLock::setLocked(bool locked)
{
    if (locked == m_locked)
        return;
    m_locked = locked;
    m_changing = true;
    for (QWidget *control : std::as_const(m_controls)) {
        if (locked) {
            m_wanted[control] = enabledItself(control);
            control->setEnabled(false);
            control->installEventFilter(this);
        } else {
            control->removeEventFilter(this);
            control->setEnabled(m_wanted.value(control, enabledItself(control)));
        }
    }
    m_changing = false;
}

bool PortLock::eventFilter(QObject *watched, QEvent *event)
{
    if (m_locked && !m_changing && event->type() == QEvent::EnabledChange) {
        auto *control = static_cast<QWidget *>(watched);
        if (m_controls.contains(control)) {
            m_wanted[control] = enabledItself(control);
            if (enabledItself(control)) {
                m_changing = true;
                control->setEnabled(false);
                m_changing = false;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace veltra::ui
