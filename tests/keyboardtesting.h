#pragma once

// Keyboard use of a window: where Tab goes, how the focused control looks
// and what Return, Enter and Space press.
#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

namespace {

// Shows window, makes it the active one and gives control the focus as Tab would.
[[nodiscard]] inline bool focusInWindow(QWidget &window, QWidget *control)
{
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return false;
    control->setFocus(Qt::TabFocusReason);
    return QTest::qWaitFor([control] { return QApplication::focusWidget() == control; }, 1000);
}

// The pixels of the outermost rings of an image of a control, where the
// styles draw their focus frame (the text and the caret are further in).
inline QList<QRgb> frameRings(const QImage &image, int rings = 2)
{
    QList<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool ring = x < rings || y < rings || x >= image.width() - rings || y >= image.height() - rings;
            if (ring)
                pixels << image.pixel(x, y);
        }
    }
    return pixels;
}

// One stop of a Tab walk: the control and how its frame looked with the focus.
struct TabStop {
    QWidget *control = nullptr;
    QList<QRgb> focusedFrame;
};

// Presses Tab from the focused control until the focus comes back to it (or
// limit presses); the stops in order, the first one included.
inline QList<TabStop> tabWalk(int limit = 60)
{
    QList<TabStop> stops;
    QWidget *start = QApplication::focusWidget();
    if (!start)
        return stops;
    stops << TabStop{start, frameRings(start->grab().toImage())};
    for (int i = 0; i < limit; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *now = QApplication::focusWidget();
        if (!now || now == start)
            break;
        stops << TabStop{now, frameRings(now->grab().toImage())};
    }
    return stops;
}

inline QStringList namesOf(const QList<TabStop> &stops)
{
    QStringList names;
    for (const TabStop &stop : stops)
        names << stop.control->objectName();
    return names;
}

// Each stop was shown, enabled, in front of anything at its place, and
// marked while it had the focus: its frame differs from how it looks now,
// without the focus (clear the focus first).
inline void checkStopsVisiblyFocused(const QList<TabStop> &stops)
{
    QVERIFY(!QApplication::focusWidget());
    for (const TabStop &stop : stops) {
        QWidget *c = stop.control;
        const char *name = qPrintable(c->objectName());
        QVERIFY2(c->isVisible() && c->isEnabled(), name);
        QWidget *front = c->parentWidget()->childAt(c->geometry().center());
        while (front && front->parentWidget() != c->parentWidget())
            front = front->parentWidget();
        QVERIFY2(front == c, name);
        QVERIFY2(frameRings(c->grab().toImage()) != stop.focusedFrame, name);
    }
}

} // namespace
