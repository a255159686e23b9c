#pragma once

class QObject;

namespace veltra::ui {

// The text caret stops blinking once the operator has left the program alone
// for a while, as desktops do, and blinks again at the next key or mouse
// event: an idle program then has no timer to wake it.
void restCaretWhenIdle(QObject *application, int idleMs = 10000);

} // namespace veltra::ui
