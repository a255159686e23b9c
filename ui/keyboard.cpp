#include "keyboard.h"

#include <QKeyEvent>
#include <QPushButton>

namespace veltra::ui {

namespace {

// The buttons are not auto-default (that would change how some styles draw
// them), so a button passes Return and Enter on to its window; they are
// caught here, on the window.
class WindowKeyboard : public QObject
{
public:
    explicit WindowKeyboard(QWidget *window)
        : QObject(window)
        , m_window(window)
    {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window)
            return false;
        if (event->type() == QEvent::Show) {
            // Styles draw a button's focus frame only while this is set;
            // Qt sets it on the first Tab and clears it when the window hides.
            m_window->setAttribute(Qt::WA_KeyboardFocusChange);
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        // Plain Return, or Enter on the keypad; held down it presses once, as Space does.
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || key->isAutoRepeat())
            return false;
        auto *button = qobject_cast<QPushButton *>(m_window->focusWidget());
        if (!button || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }

private:
    QWidget *m_window;
};

} // namespace

void setUpKeyboard(QWidget *window)
{
    window->installEventFilter(new WindowKeyboard(window));
}

} // namespace veltra::ui
