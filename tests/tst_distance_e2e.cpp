// The distance window end to end against veltra-sim --model 90.
#include "connectednotice.h"
#include "distancewindow.h"
#include "findcontrol.h"
#include "levelwindow.h"
#include "program.h"
#include "qserialportlink.h"
#include "simprocess.h"
#include "startwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace veltra;

class TestDistanceEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void readWriteReadAgainAndMeasure();
};

void TestDistanceEndToEnd::readWriteReadAgainAndMeasure()
{
    QTemporaryDir ports;
    Sim sim(ports);
    QVERIFY(!sim.start({"--model", "90", "--baud", "57600", "--distance", "321", "--temperature", "19"}).isEmpty());
    QSerialPortLink link;
    int ended = 0;
    Program program(link, [&ended] { ++ended; });
    program.start();
    named<QPushButton>(program.startWindow(), "Command1")->click();
    QVERIFY(program.connectedNotice().isVisible());
    named<QPushButton>(program.connectedNotice(), "Command5")->click();

    DistanceWindow &form6 = program.distanceWindow();
    QVERIFY(form6.isVisible());
    QVERIFY(!program.levelWindow().isVisible());
    QCOMPARE(named<QComboBox>(form6, "Combo1")->currentText(), QStringLiteral("57600"));
    QVERIFY(!named<QPushButton>(form6, "Command4")->isEnabled());

    named<QPushButton>(form6, "Command5")->click();
    QCOMPARE(named<QComboBox>(form6, "Combo2")->currentText(), QStringLiteral("DVZ-900"));
    QCOMPARE(named<QLineEdit>(form6, "Text7")->text(), QStringLiteral("40 Cm"));
    QVERIFY(named<QPushButton>(form6, "Command4")->isEnabled());

    named<QLineEdit>(form6, "Text13")->setText(QStringLiteral("42"));
    named<QLineEdit>(form6, "Text4")->setText(QStringLiteral("275"));
    named<QComboBox>(form6, "Combo3")->setCurrentText(QStringLiteral("Low"));
    named<QPushButton>(form6, "Command4")->click();
    QVERIFY(!QApplication::activeModalWidget());
    QTRY_VERIFY_WITH_TIMEOUT(sim.log().contains(QStringLiteral("<- write settings")), 2000);

    named<QLineEdit>(form6, "Text13")->setText(QStringLiteral("1"));
    named<QLineEdit>(form6, "Text4")->setText(QStringLiteral("1"));
    named<QComboBox>(form6, "Combo3")->setCurrentText(QStringLiteral("High"));
    named<QPushButton>(form6, "Command5")->click();
    QCOMPARE(named<QLineEdit>(form6, "Text13")->text(), QStringLiteral("42"));
    QCOMPARE(named<QLineEdit>(form6, "Text4")->text(), QStringLiteral("275"));
    QCOMPARE(named<QComboBox>(form6, "Combo3")->currentText(), QStringLiteral("Low"));

    named<QPushButton>(form6, "Command1")->click();
    QCOMPARE(named<QLineEdit>(form6, "Text16")->text(), QStringLiteral("00321"));

    // Closing the distance window ends the program; the port is left to the process.
    form6.close();
    QCOMPARE(ended, 1);
    QVERIFY(link.isOpen());
}

QTEST_MAIN(TestDistanceEndToEnd)
#include "tst_distance_e2e.moc"
