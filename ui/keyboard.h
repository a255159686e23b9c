#pragma once

class QWidget;

namespace veltra::ui {

// Keyboard use of a window: Return and keypad Enter press its focused push
// button, as Space does (anything else focused keeps those keys to itself),
// and the focused control is marked from the moment the window shows, not
// only once Tab has been used. setUpWindow does this for every window.
void setUpKeyboard(QWidget *window);

} // namespace veltra::ui
