// The start window's handshake end to end: the real windows and the real
// QSerialPort link against veltra-sim on a pseudo-terminal.
#include "connectednotice.h"
#include "distancewindow.h"
#include "failurenotice.h"
#include "findcontrol.h"
#include "levelwindow.h"
#include "programrun.h"
#include "startwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace veltra;

class TestConnectEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void findsSensorAtEachRate_data();
    void findsSensorAtEachRate();
    void silentSensorGivesFailureNoticeAndClosesPort();
    void portBoxWithoutNumberSendsNothing_data();
    void portBoxWithoutNumberSendsNothing();
    void missingPortSaysSo();
    void secondAttemptAfterFailure();
    void typedDevicePathWorks();
    void closingConnectedNoticeClosesPortAndEnds();
    void okOpensTheModelsWindowAndReadFillsIt();
    void distanceModelOpensTheDistanceWindow();

private:
    using Run = ProgramRun;
};

void TestConnectEndToEnd::findsSensorAtEachRate_data()
{
    QTest::addColumn<QString>("baud");
    for (const char *rate : {"9600", "19200", "38400", "57600", "115200"})
        QTest::newRow(rate) << QString::fromLatin1(rate);
}

void TestConnectEndToEnd::findsSensorAtEachRate()
{
    QFETCH(QString, baud);
    Run run;
    QVERIFY(!run.sim.start({"--model", "21", "--baud", baud, "--port", "1"}).isEmpty());
    run.program.start();
    StartWindow &start = run.program.startWindow();
    named<QComboBox>(start, "Combo1")->setCurrentText(QStringLiteral("1"));
    named<QPushButton>(start, "Command1")->click();

    QVERIFY(!start.isVisible());
    QVERIFY(run.program.connectedNotice().isVisible());
    QVERIFY(!run.program.failureNotice().isVisible());
    QCOMPARE(named<QComboBox>(run.program.levelWindow(), "Combo1")->currentText(), baud);
    QCOMPARE(named<QComboBox>(run.program.connectedNotice(), "Combo1")->currentText(), baud);
    QCOMPARE(named<QComboBox>(run.program.distanceWindow(), "Combo1")->currentText(), baud);
    QVERIFY(run.link.isOpen());
    QCOMPARE(run.link.lineSettings(), baud + QStringLiteral(",n,8,1"));
    QVERIFY(named<QLineEdit>(run.program.levelWindow(), "Text1")->text().contains(QStringLiteral("DVT")));
}

void TestConnectEndToEnd::silentSensorGivesFailureNoticeAndClosesPort()
{
    Run run;
    QVERIFY(!run.sim.start({"--model", "21", "--silent", "--port", "1"}).isEmpty());
    run.program.start();
    named<QPushButton>(run.program.startWindow(), "Command1")->click();
    QVERIFY(!run.program.startWindow().isVisible());
    QVERIFY(run.program.failureNotice().isVisible());
    QVERIFY(!run.program.connectedNotice().isVisible());
    QVERIFY(!run.link.isOpen());
    QVERIFY(run.program.failureNotice().reason().contains(QStringLiteral("No sensor answered")));
    // Five connect requests went out, one per rate; the sensor hears only its own.
    QTRY_COMPARE(run.sim.log().count(QStringLiteral("<- ")), 5);
    QCOMPARE(run.sim.log().count(QStringLiteral("<- connect")), 1);
}

void TestConnectEndToEnd::portBoxWithoutNumberSendsNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty") << "";
}

void TestConnectEndToEnd::portBoxWithoutNumberSendsNothing()
{
    QFETCH(QString, text);
    Run run;
    QVERIFY(!run.sim.start({"--model", "21", "--port", "1"}).isEmpty());
    run.program.start();
    named<QComboBox>(run.program.startWindow(), "Combo1")->setCurrentText(text);
    named<QPushButton>(run.program.startWindow(), "Command1")->click();
    QVERIFY(run.program.failureNotice().isVisible());
    QVERIFY(!run.link.isOpen());
    QVERIFY(run.program.failureNotice().reason().contains(QStringLiteral("port number")));
    QTest::qWait(200);
    QVERIFY2(!run.sim.log().contains(QStringLiteral("<-")), qPrintable(run.sim.log()));
}

void TestConnectEndToEnd::missingPortSaysSo()
{
    Run run;
    QVERIFY(!run.sim.start({"--model", "21", "--port", "1"}).isEmpty());
    run.program.start();
    named<QComboBox>(run.program.startWindow(), "Combo1")->setCurrentText(QStringLiteral("/dev/veltra-missing"));
    named<QPushButton>(run.program.startWindow(), "Command1")->click();
    QVERIFY(run.program.failureNotice().isVisible());
    QVERIFY(run.program.failureNotice().reason().startsWith(QStringLiteral("No such port")));
}

void TestConnectEndToEnd::secondAttemptAfterFailure()
{
    Run run;
    QVERIFY(!run.sim.start({"--model", "30", "--baud", "57600", "--port", "1"}).isEmpty());
    run.program.start();
    // First on a port with nothing behind it, then back and on the right one.
    named<QComboBox>(run.program.startWindow(), "Combo1")->setCurrentText(QStringLiteral("9"));
    named<QPushButton>(run.program.startWindow(), "Command1")->click();
    QVERIFY(run.program.failureNotice().isVisible());
    named<QPushButton>(run.program.failureNotice(), "Command5")->click();
    QVERIFY(!run.program.failureNotice().isVisible());
    QVERIFY(run.program.startWindow().isVisible());

    named<QComboBox>(run.program.startWindow(), "Combo1")->setCurrentText(QStringLiteral("1"));
    named<QPushButton>(run.program.startWindow(), "Command1")->click();
    QVERIFY(run.program.connectedNotice().isVisible());
    QCOMPARE(named<QComboBox>(run.program.connectedNotice(), "Combo1")->currentText(), QStringLiteral("57600"));
}

void TestConnectEndToEnd::typedDevicePathWorks()
{
    Run run;
    const QString device = run.sim.start({"--model", "21", "--baud", "38400", "--port", "4"});
    QVERIFY(!device.isEmpty());
    run.program.start();
    named<QComboBox>(run.program.startWindow(), "Combo1")->setCurrentText(device);
    named<QPushButton>(run.program.startWindow(), "Command1")->click();
    QVERIFY(run.program.connectedNotice().isVisible());
    QCOMPARE(named<QComboBox>(run.program.connectedNotice(), "Combo1")->currentText(), QStringLiteral("38400"));
}

void TestConnectEndToEnd::closingConnectedNoticeClosesPortAndEnds()
{
    Run run;
    QVERIFY(!run.sim.start({"--model", "21", "--port", "1"}).isEmpty());
    run.program.start();
    named<QPushButton>(run.program.startWindow(), "Command1")->click();
    QVERIFY(run.link.isOpen());
    run.program.connectedNotice().close();
    QVERIFY(!run.link.isOpen());
    QCOMPARE(run.ended, 1);
}

void TestConnectEndToEnd::okOpensTheModelsWindowAndReadFillsIt()
{
    Run run;
    QVERIFY(!run.sim.start({"--model", "106", "--resolution", "1", "--baud", "38400", "--set", "slave=17"}).isEmpty());
    run.program.start();
    named<QPushButton>(run.program.startWindow(), "Command1")->click();
    named<QPushButton>(run.program.connectedNotice(), "Command5")->click();
    LevelWindow &form2 = run.program.levelWindow();
    QVERIFY(form2.isVisible());
    QVERIFY(!run.program.connectedNotice().isVisible());
    QTRY_VERIFY(named<QPushButton>(form2, "Command5")->isEnabled());
    named<QPushButton>(form2, "Command5")->click();
    QCOMPARE(named<QComboBox>(form2, "Combo2")->currentText(), QStringLiteral("DVT-16"));
    QCOMPARE(named<QLineEdit>(form2, "Text37")->text(), QStringLiteral("DVT-16"));
    QCOMPARE(named<QLineEdit>(form2, "Text13")->text(), QStringLiteral("17"));
    QCOMPARE(named<QComboBox>(form2, "Combo1")->currentText(), QStringLiteral("38400"));
    QCOMPARE(named<QComboBox>(form2, "Combo5")->currentText(), QStringLiteral("mm"));
    QCOMPARE(named<QLineEdit>(form2, "Text7")->text(), QStringLiteral("400 mm"));
    // The simulated sensor starts with Empty and Full at the model's limits.
    QCOMPARE(named<QLineEdit>(form2, "Text2")->text(), QStringLiteral("6000"));
    QCOMPARE(named<QLineEdit>(form2, "Text3")->text(), QStringLiteral("5600"));
    QVERIFY(named<QPushButton>(form2, "Command4")->isEnabled());
    QVERIFY(named<QPushButton>(form2, "Command1")->isEnabled());

    // Closing the level window closes the port and ends the program.
    form2.close();
    QVERIFY(!run.link.isOpen());
    QCOMPARE(run.ended, 1);
}

void TestConnectEndToEnd::distanceModelOpensTheDistanceWindow()
{
    Run run;
    QVERIFY(!run.sim.start({"--model", "90", "--baud", "9600"}).isEmpty());
    run.program.start();
    named<QPushButton>(run.program.startWindow(), "Command1")->click();
    named<QPushButton>(run.program.connectedNotice(), "Command5")->click();
    QVERIFY(run.program.distanceWindow().isVisible());
    QVERIFY(!run.program.levelWindow().isVisible());
    QVERIFY(!run.program.connectedNotice().isVisible());
    QCOMPARE(named<QLineEdit>(run.program.levelWindow(), "Text26")->text(), QStringLiteral("90"));
}

QTEST_MAIN(TestConnectEndToEnd)
#include "tst_connect_e2e.moc"
