#pragma once

#include <QString>

class QMenu;
class QWidget;

namespace veltra::ui {

// Whether the program speaks this language: "en" (its own texts) or "fa".
bool isLanguage(const QString &language);

// The language to start in: `commandLine` (--lang, remembered from now on),
// else the one chosen before (Help > Language), else the desktop's: Persian
// for a Persian locale, English for every other.
QString chosenLanguage(const QString &commandLine);

// Loads the program's translation and Qt's own for `language` and lays the
// program's own windows out right to left for Persian. English loads
// nothing: every text stays the program's own.
void installLanguage(const QString &language);

// Help > Language: English or Persian, remembered for the next start.
void addLanguageMenu(QMenu *help, QWidget *window);

} // namespace veltra::ui
