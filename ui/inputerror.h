#pragma once

class QString;
class QWidget;

namespace veltra::ui {

// How the settings windows report an entry that fails its check: a modal
// message box with the prompt, OK and Cancel, the question icon and an
// empty title. Which button closes it makes no difference.
void showInputError(QWidget *parent, const QString &prompt);

} // namespace veltra::ui
