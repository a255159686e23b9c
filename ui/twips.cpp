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
    setClientSize(window, widthTwips, heightTwips);
    setUpKeyboard(window);
}

} // namespace veltra::ui
