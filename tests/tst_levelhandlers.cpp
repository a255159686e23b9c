// The level window's Get Level, RUN, Write, the lock on unasked characters
// and the resolution notice, against a scripted link.
#include "findcontrol.h"
#include "fonts.h"
#include "levelwindow.h"
#include "replies.h"
#include "scriptedlink.h"
#include "session/sensorsession.h"
#include "shots.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace veltra;

namespace {

const QString kTail = QString::fromLatin1("\x10\x01\x10\x0F\x01");

// What a modal message box showed before it was closed.
struct SeenBox {
    bool shown = false;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

class Window
{
public:
    Window() { link.open(PortId{1, {}}, QStringLiteral("19200,n,8,1")); }

    bool ready()
    {
        return QTest::qWaitFor([this] { return named<QPushButton>(form2, "Command5")->isEnabled(); }, 1000);
    }

    void read(const QByteArray &reply)
    {
        QVERIFY(ready());
        link.queueReply(reply);
        named<QPushButton>(form2, "Command5")->click();
    }

    // Presses Write; a message box that comes up is read and closed.
    SeenBox write()
    {
        SeenBox seen;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen = {true, box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
                saveShot(box, QStringLiteral("write-check-failed"));
                box->button(QMessageBox::Cancel)->click();
            }
        });
        poll.start();
        named<QPushButton>(form2, "Command4")->click();
        return seen;
    }

    ScriptedLink link;
    SensorSession session{link};
    // A field, by its number.
    QLineEdit *text(int n) const { return named<QLineEdit>(form2, QStringLiteral("Text%1").arg(n)); }

    LevelWindow form2{session};
};

} // namespace

class TestLevelHandlers : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ui::installFontSubstitutions(); }
    void getLevel_data();
    void getLevel();
    void getLevelWithoutMarkerChangesNothing();
    void getLevelWithFullZeroLeavesCurrentEmpty();
    void runSendsRunRequestAndHands();
    void unaskedCharactersLockUntilTheyStop();
    void resolutionNoticeFromTheSecondCaptionChange();

    void failedChecksShowOneBoxAndSendNothing_data();
    void failedChecksShowOneBoxAndSendNothing();
    void writeSendsTheBlockAndFollowsTheRate();
    void shortLayoutAndModelWithoutThresholds();
    void unencodableFieldRefusesTheWrite();
    void writeAppliesTheRowOfTheWrittenModel();
};

// clang-format off
void TestLevelHandlers::getLevel_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("empty");
    QTest::addColumn<QString>("full");
    QTest::addColumn<QStringList>("shown"); // distance, temperature, level, current
    QTest::newRow("level 50") << QByteArray("R00250cm025") << "300" << "280"
                              << QStringList{"00250", "025", "50", "6.86"};
    QTest::newRow("level equals full") << QByteArray("R00020cm025") << "300" << "280"
                                       << QStringList{"00020", "025", "280", "20."};
    QTest::newRow("negative level") << QByteArray("R00320cm-05") << "300" << "280"
                                    << QStringList{"00320", "-05", "-20", "2.86"};
    QTest::newRow("leftover before the marker") << QByteArray(" 30  1xyzr00100mm031\r\n") << "300" << "200"
                                                << QStringList{"00100", "031", "200", "20."};
    QTest::newRow("cut short") << QByteArray("R001") << "300" << "280" << QStringList{"001", "", "299", "21.09"};
    // Shown as it arrived, but no value overflows into the current.
    QTest::newRow("absurd distance") << QByteArray("R4e307cm025") << "300" << "280"
                                     << QStringList{"4e307", "025", "-4E+307", ""};
    QTest::newRow("absurd Empty") << QByteArray("R00100cm025") << "4e307" << "280"
                                  << QStringList{"00100", "025", "4E+307", ""};
    QTest::newRow("infinite Empty") << QByteArray("R00100cm025") << "1e999" << "280"
                                    << QStringList{"00100", "025", "INF", ""};
    QTest::newRow("infinite Full") << QByteArray("R00100cm025") << "300" << "1e999"
                                   << QStringList{"00100", "025", "200", ""};
    QTest::newRow("tiny Full") << QByteArray("R00100cm025") << "300" << "1e-300"
                               << QStringList{"00100", "025", "200", ""};
}
// clang-format on

void TestLevelHandlers::getLevel()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, empty);
    QFETCH(QString, full);
    QFETCH(QStringList, shown);
    Window w;
    QVERIFY(w.ready());
    w.text(2)->setText(empty);
    w.text(3)->setText(full);
    w.link.clearJournal();
    w.link.queueReply(reply);
    named<QPushButton>(w.form2, "Command1")->click();
    QCOMPARE(w.link.sent(), QList<QByteArray>{QByteArray("\xFE\xFA\xFC?", 4)});
    QCOMPARE(w.link.journal(), (QStringList{"send", "sleep 500", "receive"}));
    QCOMPARE(w.text(16)->text(), shown[0]);
    QCOMPARE(w.text(18)->text(), shown[1]);
    QCOMPARE(w.text(8)->text(), shown[2]);
    QCOMPARE(w.text(9)->text(), shown[3]);
}

void TestLevelHandlers::getLevelWithoutMarkerChangesNothing()
{
    Window w;
    QVERIFY(w.ready());
    w.text(16)->setText(QStringLiteral("00100"));
    w.text(8)->setText(QStringLiteral("200"));
    w.link.queueReply(blockReply({30, 5, 0})); // a settings reply has no R
    named<QPushButton>(w.form2, "Command1")->click();
    QCOMPARE(w.text(16)->text(), QStringLiteral("00100"));
    QCOMPARE(w.text(8)->text(), QStringLiteral("200"));
}

void TestLevelHandlers::getLevelWithFullZeroLeavesCurrentEmpty()
{
    Window w;
    w.read(QByteArray()); // a failed read: every number 0
    w.text(9)->setText(QStringLiteral("12."));
    w.link.queueReply("R00050cm020");
    named<QPushButton>(w.form2, "Command1")->click();
    QCOMPARE(w.text(8)->text(), QStringLiteral("-50"));
    QCOMPARE(w.text(9)->text(), QString());
}

void TestLevelHandlers::runSendsRunRequestAndHands()
{
    Window w;
    w.read(levelReply(40, 80));
    w.form2.show();
    QVERIFY(named<QPushButton>(w.form2, "Command2")->isVisible());
    QSignalSpy running(&w.form2, &LevelWindow::sensorRunning);
    w.link.clearJournal();
    named<QPushButton>(w.form2, "Command2")->click();
    QCOMPARE(w.link.sent(), QList<QByteArray>{QByteArray("\xFE\xFA\xFC\x0E", 4)});
    QCOMPARE(w.link.journal(), (QStringList{"send", "sleep 200", "check"}));
    QVERIFY(!w.form2.isVisible());
    QCOMPARE(running.count(), 1);
}

void TestLevelHandlers::unaskedCharactersLockUntilTheyStop()
{
    Window w;
    w.read(levelReply(40, 23));
    QVERIFY(named<QPushButton>(w.form2, "Command4")->isEnabled());
    auto locked = [&w] {
        return !named<QPushButton>(w.form2, "Command1")->isEnabled()
               && !named<QPushButton>(w.form2, "Command5")->isEnabled()
               && !named<QPushButton>(w.form2, "Command4")->isEnabled()
               && !named<QComboBox>(w.form2, "Combo1")->isEnabled() && !w.text(13)->isEnabled()
               && !w.text(9)->isEnabled() && !w.form2.runBanner()[0]->isHidden();
    };

    // A stream every 100 ms keeps the window locked.
    for (int i = 0; i < 5; ++i) {
        w.link.arrive("R00250cm025\r\n");
        QVERIFY(locked());
        QCOMPARE(w.text(32)->text(), QStringLiteral("R00250cm025\r\n"));
        QCOMPARE(w.text(33)->text(), QStringLiteral("R00250cm025"));
        QTest::qWait(100);
        QVERIFY(locked());
    }
    // 200 ms after the last burst everything but Write comes back.
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(named<QPushButton>(w.form2, "Command5")->isEnabled(), 1000);
    QVERIFY2(clock.elapsed() >= 60, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(named<QPushButton>(w.form2, "Command1")->isEnabled());
    QVERIFY(w.text(13)->isEnabled());
    QVERIFY(w.form2.runBanner()[0]->isHidden());
    QVERIFY(!named<QPushButton>(w.form2, "Command4")->isEnabled());
    // Fewer than twelve characters raise nothing.
    w.link.arrive("R0025");
    QVERIFY(named<QPushButton>(w.form2, "Command5")->isEnabled());
}

void TestLevelHandlers::resolutionNoticeFromTheSecondCaptionChange()
{
    Window w;
    QSignalSpy cm(&w.form2, &LevelWindow::centimetreNotice);
    QSignalSpy mm(&w.form2, &LevelWindow::millimetreNotice);
    w.read(levelReply(40, 20));
    QCOMPARE(cm.count() + mm.count(), 0);
    QCOMPARE(w.text(36)->text(), QStringLiteral("1"));
    w.read(levelReply(40, 21)); // same caption: no change, no notice
    QCOMPARE(cm.count() + mm.count(), 0);
    w.read(levelReply(40, 24, 1)); // "<300 cm" -> "<3000 mm"
    QCOMPARE(mm.count(), 1);
    QCOMPARE(cm.count(), 0);
    w.read(levelReply(40, 20, 10));
    QCOMPARE(cm.count(), 1);
}

void TestLevelHandlers::failedChecksShowOneBoxAndSendNothing_data()
{
    QTest::addColumn<QStringList>("entries"); // baud, slave, empty, full, low DO, high DO
    QTest::addColumn<QString>("message");
    const QString baud = QStringLiteral(" baud rate is empty ") + kTail;
    const QString slave = QStringLiteral("slave address not in range or empty") + kTail;
    const QString empty = QStringLiteral("empty not in range or empty") + kTail;
    const QString full = QStringLiteral("full not in range or empty") + kTail;
    const QString dos = QStringLiteral("Low DO is not less than Hi Do");
    QTest::newRow("NON baud") << QStringList{"NON", "5", "300", "250", "50", "90"} << baud;
    QTest::newRow("empty baud, all else bad") << QStringList{"", "0", "0", "0", "0", "0"} << baud;
    QTest::newRow("typed 4800") << QStringList{"4800", "5", "300", "250", "50", "90"} << baud;
    QTest::newRow("slave 248") << QStringList{"9600", "248", "300", "250", "50", "90"} << slave;
    QTest::newRow("slave 247.6 rounds to 248") << QStringList{"9600", "247.6", "300", "250", "50", "90"} << slave;
    QTest::newRow("slave empty") << QStringList{"9600", "", "300", "250", "50", "90"} << slave;
    QTest::newRow("empty 10001") << QStringList{"9600", "247", "10001", "9501", "50", "90"} << empty;
    QTest::newRow("full 9501") << QStringList{"9600", "1", "10000", "9501", "50", "90"} << full;
    QTest::newRow("full 0") << QStringList{"9600", "1", "10000", "0", "50", "90"} << full;
    QTest::newRow("equal thresholds") << QStringList{"9600", "1", "300", "9500", "100", "100"} << dos;
    QTest::newRow("low DO 0") << QStringList{"9600", "1", "300", "250", "0", "50"} << dos;
}

void TestLevelHandlers::failedChecksShowOneBoxAndSendNothing()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, message);
    Window w;
    w.read(levelReply(70, 23)); // both outputs: thresholds editable
    named<QComboBox>(w.form2, "Combo1")->setCurrentText(entries[0]);
    w.text(13)->setText(entries[1]);
    w.text(2)->setText(entries[2]);
    w.text(3)->setText(entries[3]);
    w.text(4)->setText(entries[4]);
    w.text(5)->setText(entries[5]);
    named<QComboBox>(w.form2, "Combo5")->setCurrentText(QStringLiteral("mm"));
    named<QComboBox>(w.form2, "Combo2")->setCurrentText(QStringLiteral("DVT-14C11"));
    w.text(37)->clear();
    QSignalSpy progress(&w.form2, &LevelWindow::writeStarted);
    w.link.clearJournal();

    const SeenBox seen = w.write();
    QVERIFY(seen.shown);
    QCOMPARE(seen.text, message);
    QCOMPARE(seen.title, QString());
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(w.link.journal().isEmpty()); // nothing sent, no wait, rate untouched
    QCOMPARE(w.link.lineSettings(), QStringLiteral("19200,n,8,1"));
    QCOMPARE(progress.count(), 1);
    // Write's first steps ran: Timer1 stopped with its interval cleared.
    QVERIFY(!named<QTimer>(w.form2, "Timer1")->isActive());
    QCOMPARE(named<QTimer>(w.form2, "Timer1")->interval(), 0);
    QCOMPARE(w.text(34)->text(), QStringLiteral("1"));
    QCOMPARE(w.text(37)->text(), QStringLiteral("DVT-14C11"));
    QCOMPARE(w.text(13)->text(), entries[1]); // entries stay as typed
}

void TestLevelHandlers::writeSendsTheBlockAndFollowsTheRate()
{
    Window w;
    w.read(blockReply({40, 5, 0, 6, 15, 3, 105, 0, 0, 0, 0, 0, 0, 0, 0, 8, 10}));
    QCOMPARE(w.text(38)->text(), QStringLiteral("100"));
    named<QComboBox>(w.form2, "Combo1")->setCurrentText(QStringLiteral("19200"));
    named<QComboBox>(w.form2, "Combo3")->setCurrentText(QStringLiteral("Low"));
    named<QComboBox>(w.form2, "Combo4")->setCurrentText(QStringLiteral("Narrow"));
    w.text(2)->setText(QStringLiteral("250"));
    w.text(3)->setText(QStringLiteral("30"));
    w.text(4)->setText(QStringLiteral("100"));
    w.text(5)->setText(QStringLiteral("200"));
    w.link.clearJournal();
    QVERIFY(!w.write().shown);
    const QByteArray expected = QByteArray::fromRawData(
        "\xFE\xFA\xFC\x5B\x28\x05\x02\x06\x0F\x03\x69\x00\xFA\x00\x1E\x00\x64\x00\xC8\x04\x0A", 21);
    QCOMPARE(w.link.sent(), QList<QByteArray>{expected});
    QCOMPARE(w.link.journal(), (QStringList{"send", "sleep 500", "settings 19200,n,8,1", "check"}));
    QCOMPARE(w.text(22)->text(), QStringLiteral("40"));
    QCOMPARE(w.text(25)->text(), QStringLiteral("2"));
    QCOMPARE(w.text(31)->text(), QStringLiteral("4"));
    QCOMPARE(w.text(11)->text(), QStringLiteral("250"));

    // A new rate is followed at once, without reading the sensor's answer.
    named<QComboBox>(w.form2, "Combo1")->setCurrentText(QStringLiteral("115200"));
    w.write();
    QCOMPARE(w.link.lineSettings(), QStringLiteral("115200,n,8,1"));
    QCOMPARE(w.link.sent().last().at(4), char(70));
}

void TestLevelHandlers::shortLayoutAndModelWithoutThresholds()
{
    Window w;
    // DVT-14C00: no digital outputs, and the sensor reported 0 for both.
    w.read(blockReply({30, 9, 1, 6, 15, 3, 20, 1, 44, 0, 250, 0, 0, 0, 0, 6, 10}));
    QVERIFY(w.text(4)->isHidden());
    w.link.clearJournal();
    QVERIFY(!w.write().shown);
    QCOMPARE(w.link.sent().size(), 1);
    const QByteArray request = w.link.sent().first();
    QCOMPARE(request.size(), 20);
    QCOMPARE(request.mid(15, 4), QByteArray(4, '\0'));
    QCOMPARE(request.at(19), char(6));
    QCOMPARE(w.link.lineSettings(), QStringLiteral("9600,n,8,1"));
}

void TestLevelHandlers::unencodableFieldRefusesTheWrite()
{
    Window w;
    w.read(blockReply({40, 5, 0, 9, 15, 3, 21, 1, 44, 0, 250, 0, 50, 0, 90, 8, 10}));
    // No reply that Read takes can hold this; the write refuses it all the same.
    w.text(24)->setText(QStringLiteral("999"));
    named<QComboBox>(w.form2, "Combo1")->setCurrentText(QStringLiteral("115200"));
    const QString baudCodeBefore = w.text(22)->text();
    w.link.clearJournal();
    const SeenBox seen = w.write();
    QVERIFY(seen.shown);
    QVERIFY2(seen.text.contains(QStringLiteral("month"), Qt::CaseInsensitive), qPrintable(seen.text));
    QVERIFY(w.link.journal().isEmpty());
    QCOMPARE(w.link.lineSettings(), QStringLiteral("19200,n,8,1"));
    QCOMPARE(w.text(22)->text(), baudCodeBefore); // code fields untouched

    w.read(levelReply(40, 21));
    w.text(5)->setText(QStringLiteral("32767.5"));
    w.link.clearJournal();
    QVERIFY(w.write().shown);
    QVERIFY(w.link.sent().isEmpty());
}

void TestLevelHandlers::writeAppliesTheRowOfTheWrittenModel()
{
    Window w;
    w.read(levelReply(40, 106, 10));
    named<QComboBox>(w.form2, "Combo5")->setCurrentText(QStringLiteral("mm"));
    w.write();
    QCOMPARE(named<QComboBox>(w.form2, "Combo2")->currentText(), QStringLiteral("DVT-16"));
    QCOMPARE(w.text(7)->text(), QStringLiteral("400 mm"));
    QCOMPARE(w.text(35)->text(), QStringLiteral("400"));
    QCOMPARE(named<QLabel>(w.form2, "Label28")->text(), QStringLiteral("<5700 mm"));
    QCOMPARE(named<QLabel>(w.form2, "Label29")->text(), QStringLiteral("<6000 mm"));
    QCOMPARE(w.text(27)->text(), QStringLiteral("5600"));
    QCOMPARE(w.text(37)->text(), QStringLiteral("DVT-16"));
    QCOMPARE(w.link.sent().last().at(20), char(1));

    // The distance model's name writes code 90, which has no row here.
    named<QComboBox>(w.form2, "Combo2")->setCurrentText(QStringLiteral("NON"));
    named<QComboBox>(w.form2, "Combo2")->setEditable(true);
    named<QComboBox>(w.form2, "Combo2")->setCurrentText(QStringLiteral("DVZ-900"));
    w.write();
    QCOMPARE(w.link.sent().last().at(10), char(90));
    QCOMPARE(named<QComboBox>(w.form2, "Combo2")->currentText(), QStringLiteral("NON"));
}

QTEST_MAIN(TestLevelHandlers)
#include "tst_levelhandlers.moc"
