#pragma once

class QWidget;

namespace veltra::ui {

// Help > About: the program's version, where port numbers are looked up,
// and its licence.
void showAbout(QWidget *parent);

} // namespace veltra::ui
