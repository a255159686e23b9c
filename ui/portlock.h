#pragma once

#include <QHash>
#include <QList>
#include <QObject>

class QWidget;

namespace veltra::ui {

// Keeps a window's port controls disabled while something else uses the
// port (a running trend), so two exchanges never interleave on it. What the
// window does to them meanwhile (a timer tick that enables Read) is noted
// and applied when the lock is released, so each control comes back as the
// window left it. (A control disabled again while locked cannot be seen
// changing: the windows only enable port controls from their timers.)
class PortLock : public QObject
{
    Q_OBJECT
public:
    PortLock(QList<QWidget *> controls, QObject *parent = nullptr);

    void setLocked(bool locked);
    bool isLocked() const { return m_locked; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QWidget *> m_controls;
    QHash<QWidget *, bool> m_wanted; // the state each control would have
    bool m_locked = false;
    bool m_changing = false;
};

} // namespace veltra::ui
