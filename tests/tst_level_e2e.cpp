// The level window end to end: the real windows and serial link against
// veltra-sim on a pseudo-terminal.
#include "connectednotice.h"
#include "findcontrol.h"
#include "fonts.h"
#include "levelwindow.h"
#include "programrun.h"
#include "progresswindow.h"
#include "runnotice.h"
#include "shots.h"
#include "startwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace veltra;

class TestLevelEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ui::installFontSubstitutions(); }
    void writeThenReadBack();
    void writeNewBaudRateAndReadAtIt();
    void getLevelShowsTheSimulatedDistance();
    void runEndsTheProgramAndTheSensorStreams();
    void sensorLeftRunningLocksTheWindowUntilItStops();

private:
    struct Run : ProgramRun {
        LevelWindow &form2 = program.levelWindow();

        bool open(const QStringList &simArguments) { return openLevelWindow(simArguments); }
        void read() { named<QPushButton>(form2, "Command5")->click(); }
        void write() { named<QPushButton>(form2, "Command4")->click(); }
    };
};

void TestLevelEndToEnd::writeThenReadBack()
{
    Run run;
    QVERIFY(run.open({"--model", "23", "--baud", "19200"}));
    run.read();
    QCOMPARE(named<QComboBox>(run.form2, "Combo2")->currentText(), QStringLiteral("DVT-14C11"));
    named<QLineEdit>(run.form2, "Text2")->setText(QStringLiteral("290"));
    named<QLineEdit>(run.form2, "Text3")->setText(QStringLiteral("200"));
    named<QLineEdit>(run.form2, "Text4")->setText(QStringLiteral("40"));
    named<QLineEdit>(run.form2, "Text5")->setText(QStringLiteral("180"));
    named<QLineEdit>(run.form2, "Text13")->setText(QStringLiteral("12"));
    named<QComboBox>(run.form2, "Combo3")->setCurrentText(QStringLiteral("Medium"));
    named<QComboBox>(run.form2, "Combo4")->setCurrentText(QStringLiteral("Narrow"));
    run.write();
    QVERIFY(!QApplication::activeModalWidget());
    saveShot(&run.program.progressWindow(), QStringLiteral("navar-writing"));
    QTRY_VERIFY_WITH_TIMEOUT(run.sim.log().contains(QStringLiteral("<- write settings")), 2000);

    // Forget what the window shows; the sensor tells it again.
    for (int n : {2, 3, 4, 5, 13})
        named<QLineEdit>(run.form2, QStringLiteral("Text%1").arg(n))->setText(QStringLiteral("1"));
    named<QComboBox>(run.form2, "Combo3")->setCurrentText(QStringLiteral("High"));
    named<QComboBox>(run.form2, "Combo4")->setCurrentText(QStringLiteral("Wide"));
    QTRY_VERIFY(named<QPushButton>(run.form2, "Command5")->isEnabled());
    run.read();
    QCOMPARE(named<QLineEdit>(run.form2, "Text2")->text(), QStringLiteral("290"));
    QCOMPARE(named<QLineEdit>(run.form2, "Text3")->text(), QStringLiteral("200"));
    QCOMPARE(named<QLineEdit>(run.form2, "Text4")->text(), QStringLiteral("40"));
    QCOMPARE(named<QLineEdit>(run.form2, "Text5")->text(), QStringLiteral("180"));
    QCOMPARE(named<QLineEdit>(run.form2, "Text13")->text(), QStringLiteral("12"));
    QCOMPARE(named<QComboBox>(run.form2, "Combo3")->currentText(), QStringLiteral("Medium"));
    QCOMPARE(named<QComboBox>(run.form2, "Combo4")->currentText(), QStringLiteral("Narrow"));
}

void TestLevelEndToEnd::writeNewBaudRateAndReadAtIt()
{
    Run run;
    QVERIFY(run.open({"--model", "21", "--baud", "9600"}));
    run.read();
    named<QComboBox>(run.form2, "Combo1")->setCurrentText(QStringLiteral("115200"));
    run.write();
    QCOMPARE(run.link.lineSettings(), QStringLiteral("115200,n,8,1"));
    QTRY_VERIFY(named<QPushButton>(run.form2, "Command5")->isEnabled());
    named<QComboBox>(run.form2, "Combo1")->setCurrentText(QStringLiteral("NON"));
    run.read();
    QCOMPARE(named<QComboBox>(run.form2, "Combo1")->currentText(), QStringLiteral("115200"));
    QCOMPARE(named<QComboBox>(run.form2, "Combo2")->currentText(), QStringLiteral("DVT-14C01"));
}

void TestLevelEndToEnd::getLevelShowsTheSimulatedDistance()
{
    Run run;
    QVERIFY(run.open({"--model", "22", "--baud", "38400", "--distance", "120", "--temperature", "21"}));
    run.read(); // Empty 300, Full 280
    named<QPushButton>(run.form2, "Command1")->click();
    QCOMPARE(named<QLineEdit>(run.form2, "Text16")->text(), QStringLiteral("00120"));
    QCOMPARE(named<QLineEdit>(run.form2, "Text18")->text(), QStringLiteral("021"));
    QCOMPARE(named<QLineEdit>(run.form2, "Text8")->text(), QStringLiteral("180"));
    QCOMPARE(named<QLineEdit>(run.form2, "Text9")->text(), QStringLiteral("14.29"));
}

void TestLevelEndToEnd::runEndsTheProgramAndTheSensorStreams()
{
    Run run;
    QVERIFY(run.open({"--model", "80", "--baud", "57600"}));
    run.read();
    QVERIFY(named<QPushButton>(run.form2, "Command2")->isVisible());
    named<QPushButton>(run.form2, "Command2")->click();
    QVERIFY(!run.form2.isVisible());
    QVERIFY(run.program.runNotice().isVisible());
    QCOMPARE(run.ended, 0);
    QTRY_COMPARE_WITH_TIMEOUT(run.ended, 1, 3500);
    QVERIFY(run.sim.log().contains(QStringLiteral("<- run")));
}

void TestLevelEndToEnd::sensorLeftRunningLocksTheWindowUntilItStops()
{
    Run run;
    QVERIFY(run.open({"--model", "81", "--baud", "19200"}));
    run.read();
    // As if an earlier session had left the sensor running.
    run.link.send(QByteArray("\xFE\xFA\xFC\x0E", 4));
    QTRY_VERIFY_WITH_TIMEOUT(!run.form2.runBanner()[0]->isHidden(), 2000);
    QVERIFY(!named<QPushButton>(run.form2, "Command5")->isEnabled());
    QVERIFY(!named<QPushButton>(run.form2, "Command4")->isEnabled());
    QTest::qWait(500);
    QVERIFY(!named<QPushButton>(run.form2, "Command5")->isEnabled()); // the stream keeps it locked
    QVERIFY(named<QLineEdit>(run.form2, "Text32")->text().contains(QLatin1Char('R')));
    run.form2.show();
    saveShot(&run.form2, QStringLiteral("level-locked"));

    run.sim.process().terminate();
    QVERIFY(run.sim.process().waitForFinished(3000));
    QTRY_VERIFY_WITH_TIMEOUT(named<QPushButton>(run.form2, "Command5")->isEnabled(), 1500);
    QVERIFY(run.form2.runBanner()[0]->isHidden());
    QVERIFY(!named<QPushButton>(run.form2, "Command4")->isEnabled()); // only a read brings Write back
}

QTEST_MAIN(TestLevelEndToEnd)
#include "tst_level_e2e.moc"
