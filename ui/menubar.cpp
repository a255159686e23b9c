#include "menubar.h"

#include <QMenuBar>
#include <QVariant>
#include <QWidget>

namespace veltra::ui {

namespace {

constexpr char kClientTop[] = "clientTop";

} // namespace

void placeMenuBar(QWidget *window, QMenuBar *bar)
{
    const int height = bar->sizeHint().height();
    for (QWidget *child : window->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != bar && !child->isWindow())
            child->move(child->x(), child->y() + height);
    }
    bar->setGeometry(0, 0, window->width(), height);
    window->setProperty(kClientTop, height);
    window->setFixedSize(window->width(), window->height() + height);
}

int clientTop(const QWidget *window)
{
    return window->property(kClientTop).toInt();
}

} // namespace veltra::ui
