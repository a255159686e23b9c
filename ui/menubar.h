#pragma once

#include <QKeySequence>
#include <QList>

class QMenuBar;
class QWidget;

namespace veltra::ui {

// A menu bar above a window's client area. The client area keeps its size
// and every control its place within it: the controls made so far move down
// by the bar's height and the window grows by it. Call once, after every
// control is made and the bar's menus are filled.
void placeMenuBar(QWidget *window, QMenuBar *bar);

// Where the client area starts in the window: the menu bar's height, 0
// without one. Drawing and geometry inside the client area add it.
int clientTop(const QWidget *window);

// The keys that close a tool window (trend, traffic log, compare, serial
// ports): Escape, Ctrl+W and the platform's own Close keys.
QList<QKeySequence> closeKeys();
// Those keys close `window`: for a window without a Close action of its own.
void closeWithKeys(QWidget *window);

} // namespace veltra::ui
