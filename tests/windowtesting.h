#pragma once

// What the window tests share: the twips grid written out by hand, what a
// control shows, which control the operator sees in front, and the checks that
// the start window's tests and the two settings windows' tests make alike.
//
// A check helper stops at its first failure like a test function does; call it
// through RUN_CHECK so that the calling test function stops there too.
#include "findcontrol.h"
#include "menubar.h"
#include "scriptedlink.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QStringList>
#include <QStyle>
#include <QTest>
#include <QWidget>

#define RUN_CHECK(call)                                                                                                \
    do {                                                                                                               \
        call;                                                                                                          \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

namespace {

// Layout measures are twips; the windows sit on a 15-twips pixel grid.
inline QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// Persian texts, written as code points so no editor can reshape them.
inline const QString kSensorInState
    = QString::fromUtf16(u"\u0633\u0646\u0633\u0648\u0631 \u062F\u0631 \u0648\u0636\u0639\u064A\u062A");
inline const QString kWasPut = QString::fromUtf16(u"\u0642\u0631\u0627\u0631 \u06AF\u0631\u0641\u062A");

// Whether a control of a controls table is shown and enabled after load.
enum State { Shown = 1, Enabled = 2 };

inline QString textOf(const QWidget *control)
{
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (auto *box = qobject_cast<const QComboBox *>(control))
        return box->currentText();
    if (auto *field = qobject_cast<const QLineEdit *>(control))
        return field->text();
    return {};
}

// The direct child of window that the operator sees at point.
inline QWidget *frontChildAt(QWidget *window, QPoint point)
{
    QWidget *w = window->childAt(point);
    while (w && w->parentWidget() != window)
        w = w->parentWidget();
    return w;
}

// A control's place in its window's client area (below any menu bar).
inline QRect clientGeometry(const QWidget &control)
{
    return control.geometry().translated(0, -veltra::ui::clientTop(control.parentWidget()));
}

// A top-level window with its caption and a client area of fixed size; a
// menu bar, where there is one, adds its height above it.
inline void checkFixedWindow(const QWidget &window, const QString &title, QSize clientSize)
{
    QVERIFY(window.isWindow());
    QCOMPARE(window.windowTitle(), title);
    const QSize size = clientSize + QSize(0, veltra::ui::clientTop(&window));
    QCOMPARE(window.size(), size);
    QCOMPARE(window.minimumSize(), size);
    QCOMPARE(window.maximumSize(), size);
}

inline void checkFont(const QWidget &control, const QString &family, qreal pointSize, int weight)
{
    const QFont f = control.font();
    QCOMPARE(f.family(), family);
    QCOMPARE(f.pointSizeF(), pointSize);
    QCOMPARE(int(f.weight()), weight);
}

// A Persian caption, read from the right.
inline void checkReadsFromTheRight(const QLabel &label)
{
    QCOMPARE(label.layoutDirection(), Qt::RightToLeft);
    // Read from the right edge, whatever mirroring the direction brings.
    const Qt::Alignment shown = QStyle::visualAlignment(label.layoutDirection(), label.alignment());
    QVERIFY(shown & Qt::AlignRight);
}

// The controls table of a settings window: one row a control.
inline void addControlColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("family"); // empty: no font of its own to check
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<int>("weight");
}

inline void addControlRow(const char *name, const char *kind, const QString &text, QRect geometry, int state,
                          const QString &family, qreal pointSize, int weight)
{
    QTest::newRow(name) << name << kind << text << geometry << state << family << pointSize << weight;
}

// The current row of the controls table against the direct child of window
// that bears its name.
inline void checkControlRow(const QWidget &window)
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(int, state);
    QFETCH(QString, family);
    QFETCH(qreal, pointSize);
    QFETCH(int, weight);

    const QList<QWidget *> found = window.findChildren<QWidget *>(name, Qt::FindDirectChildrenOnly);
    QCOMPARE(found.size(), 1);
    QWidget *c = found.first();
    QCOMPARE(QByteArray(c->metaObject()->className()), kind.toLatin1());
    QCOMPARE(textOf(c), text);
    QCOMPARE(clientGeometry(*c), geometry);
    QVERIFY(window.rect().contains(c->geometry()));
    QCOMPARE(!c->isHidden(), bool(state & Shown));
    QCOMPARE(c->isEnabled(), bool(state & Enabled));
    if (auto *box = qobject_cast<QComboBox *>(c)) {
        // Boxes that take text but never add it to the list, and start with
        // no item picked (whatever their list holds).
        QVERIFY(box->isEditable());
        QCOMPARE(box->insertPolicy(), QComboBox::NoInsert);
        QCOMPARE(box->currentIndex(), -1);
    }
    if (!family.isEmpty())
        checkFont(*c, family, pointSize, weight);
}

// The direct children of window's client area (a menu bar above it is not
// one of them): count of them, each with a name of its own.
inline void checkChildrenNamedOnce(const QWidget &window, qsizetype count)
{
    QStringList names;
    for (QWidget *child : window.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!child->inherits("QMenuBar"))
            names << child->objectName();
    }
    QCOMPARE(names.size(), count);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    QVERIFY(!names.contains(QString()));
}

// A caption wider than its label would be cut off at the edges; count is how
// many labels of window have a caption.
inline void checkCaptionsFit(const QWidget &window, qsizetype count)
{
    int checked = 0;
    for (QLabel *label : window.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (label->text().isEmpty())
            continue;
        const QFontMetrics metrics(label->font());
        const int needed = metrics.horizontalAdvance(label->text());
        QVERIFY2(
            needed <= label->width(),
            qPrintable(
                QStringLiteral("%1 needs %2 px, has %3").arg(label->objectName()).arg(needed).arg(label->width())));
        QVERIFY2(metrics.height() <= label->height() + 4, qPrintable(label->objectName()));
        ++checked;
    }
    QCOMPARE(checked, count);
}

// TextN of a settings window is a hidden working field that holds text.
template <class Window>
void checkWorkingField(const Window &window, int number, const QString &text)
{
    const QString name = QStringLiteral("Text%1").arg(number);
    const QList<QLineEdit *> found = window.template findChildren<QLineEdit *>(name, Qt::FindDirectChildrenOnly);
    QCOMPARE(found.size(), 1);
    QLineEdit *field = found.first();
    QCOMPARE(named<QLineEdit>(window, QStringLiteral("Text%1").arg(number)), field);
    QVERIFY(Window::isWorkingField(number));
    QVERIFY(field->isHidden());
    QCOMPARE(field->focusPolicy(), Qt::NoFocus);
    QCOMPARE(field->text(), text);
}

// What the numbered accessor of kind ("Text", "Label", "Combo", "Command") gives.
template <class Window>
QWidget *numberedControl(const Window &window, const QString &kind, int number)
{
    if (kind == QLatin1String("Text"))
        return named<QLineEdit>(window, QStringLiteral("Text%1").arg(number));
    if (kind == QLatin1String("Label"))
        return named<QLabel>(window, QStringLiteral("Label%1").arg(number));
    if (kind == QLatin1String("Combo"))
        return named<QComboBox>(window, QStringLiteral("Combo%1").arg(number));
    return named<QPushButton>(window, QStringLiteral("Command%1").arg(number));
}

// The accessor gives the direct child named kind and number, or nullptr
// where the window has none.
template <class Window>
void checkNumberedControl(const Window &window, const QString &kind, int number, bool exists)
{
    QWidget *control = numberedControl(window, kind, number);
    const QString name = kind + QString::number(number);
    QCOMPARE(control != nullptr, exists);
    QCOMPARE(window.template findChild<QWidget *>(name, Qt::FindDirectChildrenOnly), control);
}

// The lines of a settings window: name, shape and place.
inline void addLineColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("shape");
    QTest::addColumn<QRect>("geometry");
}

// The current row of the lines table against window: two pixels thick, shown.
inline void checkLineRow(const QWidget &window)
{
    QFETCH(QString, name);
    QFETCH(int, shape);
    QFETCH(QRect, geometry);
    auto *line = window.findChild<QFrame *>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(line);
    QCOMPARE(int(line->frameShape()), shape);
    QCOMPARE(line->lineWidth(), 2);
    QCOMPARE(clientGeometry(*line), geometry);
    QVERIFY(!line->isHidden());
}

// The button is wired to handler, the window's slot named after the button
// (Command5 runs Command5_Click()). Disconnecting succeeds only when the button
// was wired to its handler, and only once: it is wired exactly once. This
// leaves the button unwired.
template <class Window>
void checkButtonWiredOnce(Window &window, const QString &button, void (Window::*handler)())
{
    auto *b = window.template findChild<QPushButton *>(button);
    QVERIFY(b);
    const QByteArray slot = (button + QStringLiteral("_Click()")).toLatin1();
    QVERIFY(window.metaObject()->indexOfSlot(slot.constData()) >= 0);
    QVERIFY(QObject::disconnect(b, &QPushButton::clicked, &window, handler));
    QVERIFY(!QObject::disconnect(b, &QPushButton::clicked, &window, handler));
}

// Closing a settings window with or without an end of the program wired.
inline void addWithEndRows()
{
    QTest::addColumn<bool>("withEnd");
    QTest::newRow("end wired") << true;
    QTest::newRow("nothing wired") << false;
}

// What the end of the program saw when it ran.
struct EndWatch {
    int ended = 0;
    bool portOpenAtEnd = false;
};

// Wires the end of the program into watch when withEnd, opens the port, shows
// the window and closes it.
template <class Window>
void closeShownWindowWithPortOpen(Window &window, veltra::ScriptedLink &link, bool withEnd, EndWatch &watch)
{
    if (withEnd) {
        window.setEndProgram([&watch, &link] {
            ++watch.ended;
            watch.portOpenAtEnd = link.isOpen();
        });
    }
    QVERIFY(link.open(veltra::PortId{1, {}}, QStringLiteral("9600,n,8,1")));
    link.clearJournal();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(window.close());
}

} // namespace
