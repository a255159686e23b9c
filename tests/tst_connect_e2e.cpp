// The start window's handshake end to end: the real windows and the real
// QSerialPort link against veltra-sim on a pseudo-terminal.
#include "connectednotice.h"
#include "distancewindow.h"
#include "failurenotice.h"
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
    start.combo1()->setCurrentText(QStringLiteral("1"));
    start.command1()->click();

    QVERIFY(!start.isVisible());
    QVERIFY(run.program.connectedNotice().isVisible());
    QVERIFY(!run.program.failureNotice().isVisible());
    QCOMPARE(run.program.levelWindow().combo1()->currentText(), baud);
    QCOMPARE(run.program.connectedNotice().combo1()->currentText(), baud);
    QCOMPARE(run.program.distanceWindow().combo1()->currentText(), baud);
    QVERIFY(run.link.isOpen());
    QCOMPARE(run.link.lineSettings(), baud + QStringLiteral(",n,8,1"));
    QVERIFY(run.program.levelWindow().text1()->text().contains(QStringLiteral("DVT")));
}

void TestConnectEndToEnd::silentSensorGivesFailureNoticeAndClosesPort()
{
    Run run;
    QVERIFY(!run.sim.start({"--model", "21", "--silent", "--port", "1"}).isEmpty());
    run.program.start();
    run.program.startWindow().command1()->click();
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
    run.program.startWindow().combo1()->setCurrentText(text);
    run.program.startWindow().command1()->click();
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
    run.program.startWindow().combo1()->setCurrentText(QStringLiteral("/dev/veltra-missing"));
    run.program.startWindow().command1()->click();
    QVERIFY(run.program.failureNotice().isVisible());
    QVERIFY(run.program.failureNotice().reason().startsWith(QStringLiteral("No such port")));
}

void TestConnectEndToEnd::secondAttemptAfterFailure()
{
    Run run;
    QVERIFY(!run.sim.start({"--model", "30", "--baud", "57600", "--port", "1"}).isEmpty());
    run.program.start();
    // First on a port with nothing behind it, then back and on the right one.
    run.program.startWindow().combo1()->setCurrentText(QStringLiteral("9"));
    run.program.startWindow().command1()->click();
    QVERIFY(run.program.failureNotice().isVisible());
    run.program.failureNotice().command5()->click();
    QVERIFY(!run.program.failureNotice().isVisible());
    QVERIFY(run.program.startWindow().isVisible());

    run.program.startWindow().combo1()->setCurrentText(QStringLiteral("1"));
    run.program.startWindow().command1()->click();
    QVERIFY(run.program.connectedNotice().isVisible());
    QCOMPARE(run.program.connectedNotice().combo1()->currentText(), QStringLiteral("57600"));
}

void TestConnectEndToEnd::typedDevicePathWorks()
{
    Run run;
    const QString device = run.sim.start({"--model", "21", "--baud", "38400", "--port", "4"});
    QVERIFY(!device.isEmpty());
    run.program.start();
    run.program.startWindow().combo1()->setCurrentText(device);
    run.program.startWindow().command1()->click();
    QVERIFY(run.program.connectedNotice().isVisible());
    QCOMPARE(run.program.connectedNotice().combo1()->currentText(), QStringLiteral("38400"));
}

void TestConnectEndToEnd::closingConnectedNoticeClosesPortAndEnds()
{
    Run run;
    QVERIFY(!run.sim.start({"--model", "21", "--port", "1"}).isEmpty());
    run.program.start();
    run.program.startWindow().command1()->click();
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
    run.program.startWindow().command1()->click();
    run.program.connectedNotice().command5()->click();
    LevelWindow &form2 = run.program.levelWindow();
    QVERIFY(form2.isVisible());
    QVERIFY(!run.program.connectedNotice().isVisible());
    QTRY_VERIFY(form2.command5()->isEnabled());
    form2.command5()->click();
    QCOMPARE(form2.combo2()->currentText(), QStringLiteral("DVT-16"));
    QCOMPARE(form2.text(37)->text(), QStringLiteral("DVT-16"));
    QCOMPARE(form2.text(13)->text(), QStringLiteral("17"));
    QCOMPARE(form2.combo1()->currentText(), QStringLiteral("38400"));
    QCOMPARE(form2.combo5()->currentText(), QStringLiteral("mm"));
    QCOMPARE(form2.text(7)->text(), QStringLiteral("400 mm"));
    // The simulated sensor starts with Empty and Full at the model's limits.
    QCOMPARE(form2.text(2)->text(), QStringLiteral("6000"));
    QCOMPARE(form2.text(3)->text(), QStringLiteral("5600"));
    QVERIFY(form2.command4()->isEnabled());
    QVERIFY(form2.command1()->isEnabled());

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
    run.program.startWindow().command1()->click();
    run.program.connectedNotice().command5()->click();
    QVERIFY(run.program.distanceWindow().isVisible());
    QVERIFY(!run.program.levelWindow().isVisible());
    QVERIFY(!run.program.connectedNotice().isVisible());
    QCOMPARE(run.program.levelWindow().text26()->text(), QStringLiteral("90"));
}

QTEST_MAIN(TestConnectEndToEnd)
#include "tst_connect_e2e.moc"
