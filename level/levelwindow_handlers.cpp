#include "levelwindow.h"

namespace veltra {

// the handlers follow in their own commits

void LevelWindow::Command1_Click()
{
}

void LevelWindow::Command2_Click()
{
}

void LevelWindow::Command4_Click()
{
}

} // namespace veltra
