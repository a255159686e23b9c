// The distance window end to end against veltra-sim --model 90.
#include "connectednotice.h"
#include "distancewindow.h"
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
    program.startWindow().command1()->click();
    QVERIFY(program.connectedNotice().isVisible());
    program.connectedNotice().command5()->click();

    DistanceWindow &form6 = program.distanceWindow();
    QVERIFY(form6.isVisible());
    QVERIFY(!program.levelWindow().isVisible());
    QCOMPARE(form6.combo1()->currentText(), QStringLiteral("57600"));
    QVERIFY(!form6.command4()->isEnabled());

    form6.command5()->click();
    QCOMPARE(form6.combo2()->currentText(), QStringLiteral("DVZ-900"));
    QCOMPARE(form6.text(7)->text(), QStringLiteral("40 Cm"));
    QVERIFY(form6.command4()->isEnabled());

    form6.text(13)->setText(QStringLiteral("42"));
    form6.text(4)->setText(QStringLiteral("275"));
    form6.combo3()->setCurrentText(QStringLiteral("Low"));
    form6.command4()->click();
    QVERIFY(!QApplication::activeModalWidget());
    QTRY_VERIFY_WITH_TIMEOUT(sim.log().contains(QStringLiteral("<- write settings")), 2000);

    form6.text(13)->setText(QStringLiteral("1"));
    form6.text(4)->setText(QStringLiteral("1"));
    form6.combo3()->setCurrentText(QStringLiteral("High"));
    form6.command5()->click();
    QCOMPARE(form6.text(13)->text(), QStringLiteral("42"));
    QCOMPARE(form6.text(4)->text(), QStringLiteral("275"));
    QCOMPARE(form6.combo3()->currentText(), QStringLiteral("Low"));

    form6.command1()->click();
    QCOMPARE(form6.text(16)->text(), QStringLiteral("00321"));

    // Closing the distance window ends the program; the port is left to the process.
    form6.close();
    QCOMPARE(ended, 1);
    QVERIFY(link.isOpen());
}

QTEST_MAIN(TestDistanceEndToEnd)
#include "tst_distance_e2e.moc"
