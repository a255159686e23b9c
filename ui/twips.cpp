#include "twips.h"

#include "fonts.h"
#include "keyboard.h"

#include <QWidget>

namespace veltra::ui {

void place(QWidget *control, const Twips &r)
{
    control->setGeometry(toPixels(r));
}

void setClientSize(QWidget *window, int widthTwips, int heightTwips)
{
    window->setFixedSize(px(widthTwips), px(heightTwips));
}

void setUpWindow(QWidget *window, const QString &name, const QString &title, int widthTwips, int heightTwips)
{
    window->setObjectName(name);
    window->setWindowTitle(title);
    window->setFont(defaultFont());
    // The designed windows are drawings: they keep their places whatever
    // the language's direction (the menu bar above them follows it).
    window->setLayoutDirection(Qt::LeftToRight);
    setClientSize(window, widthTwips, heightTwips);
    setUpKeyboard(window);
}

} // namespace veltra::ui
