// The caret stops blinking when the program is left alone, and blinks again
// at the next input.
#include "caretrest.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

class TestCaretRest : public QObject
{
    Q_OBJECT
private slots:
    void restsWhenIdleAndWakesOnInput();
};

void TestCaretRest::restsWhenIdleAndWakesOnInput()
{
    QStyleHints *hints = QGuiApplication::styleHints();
    const int flashTime = hints->cursorFlashTime();
    QVERIFY(flashTime > 0);

    QLineEdit field;
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    veltra::ui::restCaretWhenIdle(qApp, 100);
    QCOMPARE(hints->cursorFlashTime(), flashTime); // not before the wait is over
    QTRY_COMPARE_WITH_TIMEOUT(hints->cursorFlashTime(), 0, 2000);

    QTest::keyClick(&field, Qt::Key_A);
    QCOMPARE(hints->cursorFlashTime(), flashTime);
    QCOMPARE(field.text(), QStringLiteral("a"));
    // And rests again once input stops.
    QTRY_COMPARE_WITH_TIMEOUT(hints->cursorFlashTime(), 0, 2000);
}

QTEST_MAIN(TestCaretRest)
#include "tst_caretrest.moc"
