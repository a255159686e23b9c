#include "menubar.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QShortcut>
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
    bar->setLayoutDirection(QGuiApplication::layoutDirection());
    bar->setGeometry(0, 0, window->width(), height);
    window->setProperty(kClientTop, height);
    window->setFixedSize(window->width(), window->height() + height);
}

int clientTop(const QWidget *window)
{
    return window->property(kClientTop).toInt();
}

QList<QKeySequence> closeKeys()
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Close);
    for (const QKeySequence &key : {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)}) {
        if (!keys.contains(key))
            keys.append(key);
    }
    return keys;
}

void closeWithKeys(QWidget *window)
{
    for (const QKeySequence &key : closeKeys()) {
        auto *shortcut = new QShortcut(key, window);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window, &QWidget::close);
    }
}

} // namespace veltra::ui
