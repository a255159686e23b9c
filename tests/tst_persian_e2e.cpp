// The whole program in Persian against the simulator: every designed window
// an operator meets on the way (start, connected and failure notices, the
// level and distance windows after a Read, a refused Write's message) shows
// Persian captions that fit their boxes, with no English word left but model
// names, units, acronyms and the setting values the sensor knows by name.
#include "failurenotice.h"
#include "fonts.h"
#include "language.h"
#include "messageboxes.h"
#include "programrun.h"
#include "shots.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QtTest>

using namespace veltra;

namespace {

// Latin words a Persian operator reads as they are.
const QRegularExpression kKeptWords(QStringLiteral(
    "^(DVT-\\w+|DV\\w*|cm|Cm|mm|mA|C|T|OGR|OMB|RES|BD|DO|Hi|Low|RUN|Slave|Modbus|COM|V\\d+|Veltra|VELTRA|info|veltra|"
    "example|NON|High|Medium|Wide|Widish|Narrow|dialout|sudo|usermod|aG|USER|dev|pts|tmp)$"));
const QRegularExpression kLatinWord(QStringLiteral("[A-Za-z][A-Za-z0-9_-]*"));

QStringList englishIn(const QString &text)
{
    QStringList left;
    for (const auto &word : kLatinWord.globalMatch(text)) {
        if (!kKeptWords.match(word.captured()).hasMatch())
            left << word.captured();
    }
    return left;
}

// Every visible caption and button text of `window`, and its title.
QStringList captionsOf(QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (auto *label : window->findChildren<QLabel *>()) {
        if (label->isVisibleTo(window))
            texts << label->text();
    }
    for (auto *button : window->findChildren<QAbstractButton *>()) {
        if (button->isVisibleTo(window))
            texts << button->text();
    }
    return texts;
}

const QRegularExpression kPersian(QStringLiteral("[\\x{0600}-\\x{06FF}]"));

// What is left in English, and the Persian captions wider than their boxes;
// empty when there is neither. Saves the window's picture on the way.
QString persianProblems(QWidget *window, const QString &shot)
{
    saveShot(window, shot);
    QStringList english;
    for (const QString &text : captionsOf(window))
        english << englishIn(text);
    if (!english.isEmpty())
        return shot + QStringLiteral(", English left: ") + english.join(QStringLiteral(", "));

    QStringList clipped;
    for (auto *label : window->findChildren<QLabel *>()) {
        if (label->isVisibleTo(window) && !label->wordWrap() && label->text().contains(kPersian)
            && label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width())
            clipped << label->text();
    }
    for (auto *button : window->findChildren<QPushButton *>()) {
        if (button->isVisibleTo(window) && button->text().contains(kPersian)
            && button->fontMetrics().horizontalAdvance(button->text()) + 6 > button->width())
            clipped << button->text();
    }
    if (!clipped.isEmpty())
        return shot + QStringLiteral(", wider than their boxes: ") + clipped.join(QStringLiteral(", "));

    // A right-aligned caption's text must end a little before the field beside it.
    QStringList touching;
    for (auto *label : window->findChildren<QLabel *>()) {
        const Qt::Alignment across = label->alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignAbsolute);
        const bool againstRight = across == Qt::AlignLeft || across == (Qt::AlignRight | Qt::AlignAbsolute);
        if (!label->isVisibleTo(window) || !label->text().contains(kPersian) || label->wordWrap() || !againstRight)
            continue;
        const QRect inside = label->contentsRect();
        const int right = inside.right() - std::max(0, label->indent());
        const QRect text(right - label->fontMetrics().horizontalAdvance(label->text()), inside.top(),
                         label->fontMetrics().horizontalAdvance(label->text()), inside.height());
        const QRect drawn = QRect(label->mapTo(window, text.topLeft()), text.size()).adjusted(0, 0, 2, 0);
        for (QWidget *field : window->findChildren<QWidget *>()) {
            if ((qobject_cast<QLineEdit *>(field) || qobject_cast<QComboBox *>(field)) && field->isVisibleTo(window)
                && QRect(field->mapTo(window, QPoint()), field->size()).intersects(drawn))
                touching << label->text();
        }
    }
    if (!touching.isEmpty())
        return shot + QStringLiteral(", captions running into fields: ") + touching.join(QStringLiteral(", "));
    return {};
}

#define VERIFY_PERSIAN(window, shot)                                                                                   \
    do {                                                                                                               \
        const QString problems = persianProblems(window, QStringLiteral(shot));                                        \
        QVERIFY2(problems.isEmpty(), qPrintable(problems));                                                            \
    } while (false)

// Runs `action` and checks the message window it opens, then closes it.
template <typename Action>
QString checkedMessage(const QString &shot, QString &problems, Action action)
{
    QString text;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        text = box->text();
        saveShot(box, shot);
        problems = persianProblems(box, shot);
        if (box->layoutDirection() != Qt::RightToLeft)
            problems += QStringLiteral(" laid out left to right");
        box->close();
    });
    poll.start();
    action();
    return text;
}

} // namespace

class TestPersianEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Started as the program starts: its language and its fonts.
        ui::installLanguage(QStringLiteral("fa"));
        ui::installFontSubstitutions();
    }

    void levelSensorReadAndRefusedWrite()
    {
        ProgramRun run;
        QVERIFY(!run.sim.start({"--model", "23"}).isEmpty());
        run.program.start();
        VERIFY_PERSIAN(&run.program.startWindow(), "fa-start");
        named<QPushButton>(run.program.startWindow(), "Command1")->click();
        VERIFY_PERSIAN(&run.program.connectedNotice(), "fa-connected");
        named<QPushButton>(run.program.connectedNotice(), "Command5")->click();

        LevelWindow &form2 = run.program.levelWindow();
        QTRY_VERIFY(named<QPushButton>(form2, "Command5")->isEnabled());
        named<QPushButton>(form2, "Command5")->click();
        QCOMPARE(named<QComboBox>(form2, "Combo2")->currentText(), QStringLiteral("DVT-14C11"));
        VERIFY_PERSIAN(&form2, "fa-level-read");

        named<QLineEdit>(form2, "Text2")->clear();
        QString problems;
        const QString refused = checkedMessage(QStringLiteral("fa-level-write-refused"), problems,
                                               [&] { named<QPushButton>(form2, "Command4")->click(); });
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
        QVERIFY2(refused.startsWith(QStringLiteral("فاصله‌ی خالی")), qPrintable(refused));
        QVERIFY(!run.sim.log().contains(QStringLiteral("<- write settings")));
    }

    void distanceSensorReadAndRefusedWrite()
    {
        ProgramRun run;
        QVERIFY(run.openDistanceWindow({"--model", "90"}));
        DistanceWindow &form6 = run.program.distanceWindow();
        named<QPushButton>(form6, "Command5")->click();
        VERIFY_PERSIAN(&form6, "fa-distance-read");

        named<QLineEdit>(form6, "Text4")->setText(QString());
        QString problems;
        const QString refused = checkedMessage(QStringLiteral("fa-distance-write-refused"), problems,
                                               [&] { named<QPushButton>(form6, "Command4")->click(); });
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
        QVERIFY2(refused.startsWith(QStringLiteral("نقطه‌ی سوئیچ")), qPrintable(refused));
    }

    void noSensorAnswers()
    {
        ProgramRun run;
        const QString device = run.sim.start({"--silent"});
        QVERIFY(!device.isEmpty());
        run.program.start();
        named<QPushButton>(run.program.startWindow(), "Command1")->click();
        QTRY_VERIFY_WITH_TIMEOUT(run.program.failureNotice().isVisible(), 10000);
        // The reason comes from the handshake in English and is shown in Persian.
        const QString reason = run.program.failureNotice().reason();
        QVERIFY2(reason.startsWith(QStringLiteral("هیچ سنسوری روی")), qPrintable(reason));
        // The device keeps its order inside the Persian sentence.
        QVERIFY2(reason.contains(QChar(0x200E) + device + QChar(0x200E)), qPrintable(reason));
        VERIFY_PERSIAN(&run.program.failureNotice(), "fa-no-sensor");
    }
};

QTEST_MAIN(TestPersianEndToEnd)
#include "tst_persian_e2e.moc"
