#pragma once

#include "fonts.h"
#include "twips.h"

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <initializer_list>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class QEvent;

namespace veltra::ui {

// Qt asks every new top-level window to polish itself soon after it is made.
// True for that request while the window is hidden: a window made hidden at
// start-up returns true from event() and is polished (and loads what it
// loads then) only when it is shown or drawn.
bool holdsPolishWhileHidden(const QWidget *window, const QEvent *event);

// Each helper makes a named child of parent at a twips rectangle.

// Text drawn from the top-left corner, no focus, no wrapping.
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const Twips &at,
                  const QFont &font = defaultFont());

// Persian text: right to left, against the right edge.
QLabel *makePersianLabel(QWidget *parent, const QString &name, const QString &text, const Twips &at, const QFont &font);
// In a right-to-left language a caption stands against its box's right edge;
// where the designed box runs into the field beside it, the caption is
// indented to end a few pixels before the field. Left to right, nothing moves.
void keepCaptionsOffFields(QWidget *window);

// What a Persian text (one label, or the labels of one sentence) means in
// English, as their tooltip and accessible description: an operator who does
// not read Persian, and a screen reader, learn what it says. The text stays.
void explainInEnglish(std::initializer_list<QWidget *> parts, const QString &meaning);

// What a screen reader says for each control: its caption or label in
// words ("Empty distance", "Read settings"), for fields and lists that have
// no text of their own and for buttons whose caption says little alone.
struct SpokenName {
    QWidget *control;
    const char *name;
};
void nameForScreenReaders(std::initializer_list<SpokenName> names);

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text, const Twips &at,
                        const QFont &font = defaultFont());

// An editable box takes typed text but never adds it to the list.
QComboBox *makeComboBox(QWidget *parent, const QString &name, const Twips &at, bool editable,
                        const QFont &font = defaultFont());
// The same for a box made elsewhere (a QComboBox of a class of its own).
QComboBox *setUpComboBox(QComboBox *box, const QString &name, const Twips &at, bool editable,
                         const QFont &font = defaultFont());

QLineEdit *makeTextBox(QWidget *parent, const QString &name, const Twips &at, const QFont &font = defaultFont());

// Adds items at the end of a box's list and leaves its current index and
// text alone: filling an empty list must not pick its first item.
void appendItems(QComboBox *box, const QStringList &items);

// A field that is never shown: the window's working store.
QLineEdit *makeHiddenField(QWidget *parent, const QString &name, const QString &designText = {});

// A horizontal or vertical line between two points given in twips, drawn
// widthPx pixels thick in the window text colour.
QFrame *makeLine(QWidget *parent, const QString &name, QPoint fromTwips, QPoint toTwips, int widthPx = 1);

void setTextColor(QWidget *control, const QColor &color);

// Background of an entry field, and the two desktop colours the settings
// windows give their fields.
void setBackground(QLineEdit *field, const QColor &colour);
// Qt has no system menu colour; the style's menu background is the closest.
QColor menuColour();
// The grey the desktop paints scroll bars with.
QColor scrollBarColour();

// A window's picture from the resources, sharp on a screen scaled for larger
// text: there the one drawn at twice the size ("name@2x.png") is brought to
// the screen's scale; at 100 % it is the picture as it is.
QPixmap picture(const QWidget *window, const QString &path);

} // namespace veltra::ui
