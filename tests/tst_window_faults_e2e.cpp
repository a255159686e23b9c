// The windows against a misbehaving veltra-sim: a damaged settings reply, an
// adapter pulled during a write and plugged back in, and the progress window
// while a check message holds the focus.
#include "connectednotice.h"
#include "distancewindow.h"
#include "findcontrol.h"
#include "fonts.h"
#include "levelwindow.h"
#include "programrun.h"
#include "progresswindow.h"
#include "session/sensorsession.h"
#include "shots.h"
#include "startwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace veltra;

namespace {

// Message windows of one kind now on screen.
QList<QMessageBox *> shownBoxes(const QString &objectName)
{
    QList<QMessageBox *> boxes;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box && box->objectName() == objectName && box->isVisible())
            boxes << box;
    }
    return boxes;
}

void closeBoxes(const QString &objectName)
{
    for (QMessageBox *box : shownBoxes(objectName))
        box->close();
}

} // namespace

class TestWindowFaults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ui::installFontSubstitutions(); }
    void damagedReplyOnTheNoticeOpensNothing();
    void damagedReplyOnReadKeepsTheFields();
    void lostDuringWriteIsReportedAndReadReconnects();
    void distanceWindowReconnectsToo();
    void readFindsTheAdapterUnderAnotherName();
    void progressWindowHidesWhileACheckMessageIsOpen();

private:
    struct Run : ProgramRun {
        LevelWindow &form2 = program.levelWindow();

        bool open(const QStringList &simArguments) { return openLevelWindow(simArguments); }
    };
};

void TestWindowFaults::damagedReplyOnTheNoticeOpensNothing()
{
    Run run;
    QVERIFY(!run.sim.start({"--model", "21", "--prefix", "read:1:\\x20"}).isEmpty());
    run.program.start();
    named<QPushButton>(run.program.startWindow(), "Command1")->click();
    QVERIFY(run.program.connectedNotice().isVisible());
    named<QPushButton>(run.program.connectedNotice(), "Command5")->click();
    QVERIFY(run.program.connectedNotice().isVisible());
    QVERIFY(!run.form2.isVisible());
    QVERIFY(!run.program.distanceWindow().isVisible());
    QCOMPARE(shownBoxes(QStringLiteral("DamagedReply")).size(), 1);
    QVERIFY(shownBoxes(QStringLiteral("DamagedReply")).first()->detailedText().contains(QStringLiteral("  30  1")));
    closeBoxes(QStringLiteral("DamagedReply"));

    // The next reply is whole: OK opens the window of its model.
    named<QPushButton>(run.program.connectedNotice(), "Command5")->click();
    QVERIFY(run.form2.isVisible());
    QCOMPARE(named<QLineEdit>(run.form2, "Text26")->text(), QStringLiteral("21"));
}

void TestWindowFaults::damagedReplyOnReadKeepsTheFields()
{
    Run run;
    // Read 1 is the notice's, 2 the first Read, 3 a reply with a digit in front.
    QVERIFY(run.open({"--model", "21", "--prefix", "read:3:4"}));
    named<QPushButton>(run.form2, "Command5")->click();
    QCOMPARE(named<QLineEdit>(run.form2, "Text2")->text(), QStringLiteral("300"));
    named<QLineEdit>(run.form2, "Text2")->setText(QStringLiteral("290"));
    named<QPushButton>(run.form2, "Command5")->click();
    QCOMPARE(shownBoxes(QStringLiteral("DamagedReply")).size(), 1);
    QCOMPARE(named<QLineEdit>(run.form2, "Text2")->text(), QStringLiteral("290"));
    QCOMPARE(named<QLineEdit>(run.form2, "Text26")->text(), QStringLiteral("21"));
    QCOMPARE(named<QLineEdit>(run.form2, "Text24")->text(), QStringLiteral("12"));
    QCOMPARE(named<QComboBox>(run.form2, "Combo2")->currentText(), QStringLiteral("DVT-14C01"));
    run.form2.show();
    saveShot(&run.form2, QStringLiteral("level-damaged-reply"));
    closeBoxes(QStringLiteral("DamagedReply"));
}

void TestWindowFaults::lostDuringWriteIsReportedAndReadReconnects()
{
    Run run;
    // Connect, the notice's read, Read, and the write: the adapter goes with it.
    QVERIFY(run.open({"--model", "21", "--baud", "19200", "--unplug-after", "4"}));
    named<QPushButton>(run.form2, "Command5")->click();
    named<QLineEdit>(run.form2, "Text2")->setText(QStringLiteral("290"));
    named<QPushButton>(run.form2, "Command4")->click();
    QTRY_VERIFY_WITH_TIMEOUT(run.sim.log().contains(QStringLiteral("unplugged")), 3000);
    QCOMPARE(shownBoxes(QStringLiteral("LinkFailure")).size(), 1);
    QMessageBox *box = shownBoxes(QStringLiteral("LinkFailure")).first();
    QVERIFY2(box->text().contains(QStringLiteral("the write may not have reached the sensor")),
             qPrintable(box->text()));
    QVERIFY2(box->informativeText().contains(QStringLiteral("unplugged or stopped answering")),
             qPrintable(box->informativeText()));
    QVERIFY(!box->informativeText().contains(QStringLiteral("ioctl")));
    run.form2.show();
    saveShot(box, QStringLiteral("level-lost-during-write"));

    // Pressing on while it is gone: still the one window, and no other
    // device (a built-in port the numbering now gives out) is opened instead.
    QTRY_VERIFY(named<QPushButton>(run.form2, "Command1")->isEnabled());
    named<QPushButton>(run.form2, "Command1")->click();
    named<QPushButton>(run.form2, "Command5")->click();
    QCOMPARE(shownBoxes(QStringLiteral("LinkFailure")).size(), 1);
    QVERIFY(!run.link.isOpen());
    // The message says the connection was lost once; the attempt to reopen
    // is in the traffic record, with the device it was for.
    const QMessageBox *again = shownBoxes(QStringLiteral("LinkFailure")).first();
    QCOMPARE((again->text() + again->informativeText()).count(QStringLiteral("connection to the sensor was lost")), 1);
    const TrafficLog &traffic = run.program.session().traffic();
    const TrafficEntry &last = traffic.at(traffic.size() - 1);
    QCOMPARE(last.command, QStringLiteral("reopen"));
    QCOMPARE(last.outcome, TrafficEntry::Outcome::Refused);
    QVERIFY2(!last.device.isEmpty() && last.detail.contains(last.device), qPrintable(last.detail));
    closeBoxes(QStringLiteral("LinkFailure"));
    // A Write now finds no port: it says that nothing was written.
    named<QPushButton>(run.form2, "Command4")->click();
    QCOMPARE(shownBoxes(QStringLiteral("LinkFailure")).size(), 1);
    QVERIFY2(shownBoxes(QStringLiteral("LinkFailure")).first()->text().contains(QStringLiteral("nothing was written")),
             qPrintable(shownBoxes(QStringLiteral("LinkFailure")).first()->text()));
    closeBoxes(QStringLiteral("LinkFailure"));

    // Plugged back in (a new device behind the same port number): Read opens
    // it again at the window's rate and reads.
    Sim back(run.ports);
    QVERIFY(!back.start({"--model", "21", "--baud", "19200", "--set", "empty=280"}).isEmpty());
    named<QPushButton>(run.form2, "Command5")->click();
    QVERIFY(shownBoxes(QStringLiteral("LinkFailure")).isEmpty());
    QVERIFY(run.link.isOpen());
    QCOMPARE(run.link.lineSettings(), QStringLiteral("19200,n,8,1"));
    QCOMPARE(named<QLineEdit>(run.form2, "Text2")->text(), QStringLiteral("280"));
    named<QPushButton>(run.form2, "Command1")->click();
    QCOMPARE(named<QLineEdit>(run.form2, "Text16")->text(), QStringLiteral("00100"));
}

void TestWindowFaults::distanceWindowReconnectsToo()
{
    Run run;
    QVERIFY(run.openDistanceWindow({"--model", "90", "--unplug-after", "3"}));
    DistanceWindow &form6 = run.program.distanceWindow();
    named<QPushButton>(form6, "Command5")->click(); // the third request; the device goes after it
    QCOMPARE(named<QLineEdit>(form6, "Text4")->text(), QStringLiteral("150"));
    QTRY_VERIFY_WITH_TIMEOUT(run.sim.log().contains(QStringLiteral("unplugged")), 3000);
    named<QPushButton>(form6, "Command1")->click();
    QCOMPARE(shownBoxes(QStringLiteral("LinkFailure")).size(), 1);
    closeBoxes(QStringLiteral("LinkFailure"));

    Sim back(run.ports);
    QVERIFY(!back.start({"--model", "90", "--distance", "321"}).isEmpty());
    named<QPushButton>(form6, "Command1")->click();
    QVERIFY(shownBoxes(QStringLiteral("LinkFailure")).isEmpty());
    QCOMPARE(named<QLineEdit>(form6, "Text16")->text(), QStringLiteral("00321"));
}

void TestWindowFaults::readFindsTheAdapterUnderAnotherName()
{
    QTemporaryDir byId;
    qputenv("VELTRA_BYID_DIR", byId.path().toLocal8Bit());
    const QString adapter = QStringLiteral("usb-FTDI_FT232R_USB_UART_A10K5XYZ-if00-port0");
    const QString another = QStringLiteral("usb-FTDI_FT232R_USB_UART_B22-if00-port0");
    Run run;
    // Connect, the notice's read, Read; the adapter goes after the fourth request.
    QVERIFY(run.open({"--model", "21", "--baud", "19200", "--unplug-after", "4", "--adapter", adapter}));
    named<QPushButton>(run.form2, "Command5")->click();
    QCOMPARE(run.link.adapter()->serial, QStringLiteral("A10K5XYZ"));
    named<QPushButton>(run.form2, "Command1")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(byId.filePath(adapter)), 3000);
    // However the loss is noticed (now or by this Read), the window waits
    // for the adapter and says so.
    named<QPushButton>(run.form2, "Command5")->click();
    QVERIFY(!run.link.isOpen());
    QCOMPARE(shownBoxes(QStringLiteral("LinkFailure")).size(), 1);
    const QMessageBox *box = shownBoxes(QStringLiteral("LinkFailure")).first();
    QCOMPARE(box->informativeText(),
             QStringLiteral("Waiting for the adapter FTDI FT232R USB UART (serial A10K5XYZ) to come back…"));

    // Another unit of the same make appears: never opened, and said.
    Sim other(run.ports);
    QVERIFY(!other.start({"--model", "21", "--baud", "19200", "--port", "3", "--adapter", another}).isEmpty());
    QTRY_VERIFY(box->informativeText().contains(QStringLiteral("Choose the port in the port box")));
    QVERIFY(!run.link.isOpen());
    other.process().kill();
    other.process().waitForFinished();
    QFile::remove(byId.filePath(another));

    // The adapter back under another device and port number: the window
    // opens it by itself and goes on; Read works without the port box.
    Sim back(run.ports);
    QVERIFY(!back.start({"--model", "21", "--baud", "19200", "--port", "2", "--set", "empty=280", "--adapter", adapter})
                 .isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(shownBoxes(QStringLiteral("LinkFailure")).isEmpty(), 3000);
    QVERIFY(run.link.isOpen());
    QCOMPARE(run.link.lineSettings(), QStringLiteral("19200,n,8,1"));
    named<QPushButton>(run.form2, "Command5")->click();
    QVERIFY(shownBoxes(QStringLiteral("LinkFailure")).isEmpty());
    QCOMPARE(named<QLineEdit>(run.form2, "Text2")->text(), QStringLiteral("280"));
    QCOMPARE(run.link.port()->display(), QStringLiteral("1"));
    qunsetenv("VELTRA_BYID_DIR");
}

void TestWindowFaults::progressWindowHidesWhileACheckMessageIsOpen()
{
    Run run;
    QVERIFY(run.open({"--model", "21"}));
    named<QPushButton>(run.form2, "Command5")->click();
    run.form2.show();
    named<QLineEdit>(run.form2, "Text13")->setText(QStringLiteral("0")); // fails its check
    // The check's message box is modal and keeps the focus; look at the
    // progress window while it is still open, then close it.
    bool shownAtFirst = false;
    bool hiddenWhileTheBoxIsOpen = false;
    QTimer::singleShot(500, this, [&] { shownAtFirst = run.program.progressWindow().isVisible(); });
    QTimer::singleShot(4600, this, [&] {
        hiddenWhileTheBoxIsOpen = QApplication::activeModalWidget() && !run.program.progressWindow().isVisible();
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    named<QPushButton>(run.form2, "Command4")->click();
    QVERIFY(shownAtFirst);
    QVERIFY(hiddenWhileTheBoxIsOpen);

    // A later Write shows it again, and it goes again.
    named<QLineEdit>(run.form2, "Text13")->setText(QStringLiteral("5"));
    named<QPushButton>(run.form2, "Command4")->click();
    QVERIFY(run.program.progressWindow().isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!run.program.progressWindow().isVisible(), 6000);
}

QTEST_MAIN(TestWindowFaults)
#include "tst_window_faults_e2e.moc"
