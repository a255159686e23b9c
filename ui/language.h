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

// A message of the sensor code or the link (English, as records and files
// keep it) in the language the program speaks: translated through the
// template it was made from, its arguments in turn; a text without a
// translation is shown as it is.
QString shown(const QString &message);

// A word the lower layers keep in English (a verdict, a command, a family)
// in the language the program speaks, through translation context `context`.
QString shownWord(const char *context, const QString &english);

// `text` (a path, a number, a sensor's reply) ready to be set into a Persian
// sentence in its own left-to-right order: marks on both sides stop
// "/dev/pts/3" showing as "dev/pts/3/". Unchanged in English.
QString leftToRightInside(const QString &text);

} // namespace veltra::ui
