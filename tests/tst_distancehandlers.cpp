// The distance window's Read, write and Get Distance against a scripted link.
#include "distancewindow.h"
#include "findcontrol.h"
#include "replies.h"
#include "scriptedlink.h"
#include "session/sensorsession.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace veltra;

namespace {

const QString kTail = QString::fromLatin1("\x10\x01\x10\x0F\x01");
const QByteArray kWorkedReply = blockReply({30, 17, 1, 5, 12, 24, 90, 0, 200, 1, 44, 0, 150, 0, 250});

class Window
{
public:
    Window()
    {
        link.open(PortId{1, {}}, QStringLiteral("19200,n,8,1"));
        // The window fills its lists without picking an item; these tests
        // start from the first item of each.
        named<QComboBox>(form6, "Combo1")->setCurrentIndex(0);
        named<QComboBox>(form6, "Combo2")->setCurrentIndex(0);
        named<QComboBox>(form6, "Combo3")->setCurrentIndex(0);
    }

    void read(const QByteArray &reply)
    {
        link.queueReply(reply);
        named<QPushButton>(form6, "Command5")->click();
    }

    // Presses write; returns the text of a message box that came up (closed at once).
    QString write()
    {
        QString seen;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                QCOMPARE(box->windowTitle(), QString());
                QCOMPARE(box->icon(), QMessageBox::Question);
                QCOMPARE(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
                seen = box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        poll.start();
        named<QPushButton>(form6, "Command4")->click();
        return seen;
    }

    // A field's text, by its number.
    QString text(int n) const { return named<QLineEdit>(form6, QStringLiteral("Text%1").arg(n))->text(); }

    ScriptedLink link;
    SensorSession session{link};
    DistanceWindow form6{session};
};

} // namespace

class TestDistanceHandlers : public QObject
{
    Q_OBJECT
private slots:
    void buttonsWaitForTheFirstRead();
    void workedReplyFillsTheWindow();
    void writeSendsTheBlockBackAndFollowsTheRate();
    void checks_data();
    void checks();
    void unknownTextsKeepTheLastCodes();
    void nonDistanceModelShowsNon();
    void zeroInsteadOfBlankLeavesTheBaudBox();
    void unencodableValueRefusesTheWrite();
    void getDistance_data();
    void getDistance();
};

void TestDistanceHandlers::buttonsWaitForTheFirstRead()
{
    Window w;
    QVERIFY(!named<QPushButton>(w.form6, "Command4")->isEnabled());
    QVERIFY(!named<QPushButton>(w.form6, "Command1")->isEnabled());
    QVERIFY(named<QPushButton>(w.form6, "Command5")->isEnabled());
    // A read that received nothing, or a damaged block, makes nothing available.
    const QString modelBox = named<QComboBox>(w.form6, "Combo2")->currentText();
    for (const QByteArray &reply : {QByteArray(), " " + kWorkedReply, kWorkedReply.left(44)}) {
        w.read(reply);
        QVERIFY(!named<QPushButton>(w.form6, "Command4")->isEnabled());
        QVERIFY(!named<QPushButton>(w.form6, "Command1")->isEnabled());
        QCOMPARE(named<QComboBox>(w.form6, "Combo2")->currentText(), modelBox);
        QCOMPARE(w.text(2), QString());
        QCOMPARE(named<QComboBox>(w.form6, "Combo1")->currentText(), QStringLiteral("9600")); // untouched
        auto *box = w.form6.findChild<QMessageBox *>(QStringLiteral("DamagedReply"));
        QVERIFY(box && box->isVisible());
        box->close();
    }
    w.read(kWorkedReply);
    QVERIFY(named<QPushButton>(w.form6, "Command4")->isEnabled());
    QVERIFY(named<QPushButton>(w.form6, "Command1")->isEnabled());

    // After a good read, a damaged one leaves every field as it was.
    w.form6.findChild<QLineEdit *>(QStringLiteral("Text4"))->setText(QStringLiteral("321"));
    w.read("9" + kWorkedReply);
    QCOMPARE(w.text(4), QStringLiteral("321"));
    QCOMPARE(w.text(13), QStringLiteral("17"));
    QCOMPARE(w.text(26), QStringLiteral("90"));
    QVERIFY(named<QPushButton>(w.form6, "Command4")->isEnabled());
}

void TestDistanceHandlers::workedReplyFillsTheWindow()
{
    Window w;
    w.link.clearJournal();
    w.read(kWorkedReply);
    QCOMPARE(w.link.sent(), QList<QByteArray>{QByteArray("\xFE\xFA\xFC:", 4)});
    QCOMPARE(w.link.journal(), (QStringList{"send", "sleep 500", "receive"}));
    QCOMPARE(w.text(1), QString::fromLatin1(kWorkedReply));
    QCOMPARE(named<QComboBox>(w.form6, "Combo1")->currentText(), QStringLiteral("9600"));
    QCOMPARE(w.text(13), QStringLiteral("17"));
    QCOMPARE(named<QComboBox>(w.form6, "Combo3")->currentText(), QStringLiteral("Medium"));
    QCOMPARE(w.text(24), QStringLiteral("5"));
    QCOMPARE(w.text(23), QStringLiteral("12"));
    QCOMPARE(w.text(21), QStringLiteral("24"));
    QCOMPARE(named<QComboBox>(w.form6, "Combo2")->currentText(), QStringLiteral("DVZ-900"));
    QCOMPARE(w.text(7), QStringLiteral("40 Cm"));
    QCOMPARE(w.text(2), QStringLiteral("200"));
    QCOMPARE(w.text(3), QStringLiteral("300"));
    QCOMPARE(w.text(4), QStringLiteral("150"));
    QCOMPARE(w.text(5), QStringLiteral("250"));
}

void TestDistanceHandlers::writeSendsTheBlockBackAndFollowsTheRate()
{
    Window w;
    w.read(kWorkedReply);
    QSignalSpy progress(&w.form6, &DistanceWindow::writeStarted);
    w.link.clearJournal();
    QCOMPARE(w.write(), QString());
    const QByteArray expected
        = QByteArray::fromRawData("\xFE\xFA\xFC\x5B\x1E\x11\x01\x05\x0C\x18\x5A\x00\xC8\x01\x2C\x00\x96\x00\xFA", 19);
    QCOMPARE(w.link.sent(), QList<QByteArray>{expected});
    QCOMPARE(w.link.journal(), (QStringList{"send", "sleep 500", "settings 9600,n,8,1", "check"}));
    QCOMPARE(w.link.lineSettings(), QStringLiteral("9600,n,8,1"));
    QCOMPARE(progress.count(), 1);
    QCOMPARE(w.text(22), QStringLiteral("30"));
    QCOMPARE(named<QComboBox>(w.form6, "Combo2")->currentText(), QStringLiteral("DVZ-900"));
}

// clang-format off
void TestDistanceHandlers::checks_data()
{
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QString>("slave");
    QTest::addColumn<QString>("switchPoint");
    QTest::addColumn<QString>("message"); // empty: written
    const QString baud = QStringLiteral(" baud rate is empty ") + kTail;
    const QString slave = QStringLiteral("slave address not in range or empty") + kTail;
    const QString sw = QStringLiteral("Switch not in range or empty") + kTail;
    QTest::newRow("switch 61") << "9600" << "17" << "61" << "";
    QTest::newRow("switch 599") << "9600" << "17" << "599" << "";
    QTest::newRow("switch 60") << "9600" << "17" << "60" << sw;
    QTest::newRow("switch 600") << "9600" << "17" << "600" << sw;
    QTest::newRow("switch empty") << "9600" << "17" << "" << sw;
    QTest::newRow("slave 247") << "9600" << "247" << "150" << "";
    QTest::newRow("slave 248") << "9600" << "248" << "150" << slave;
    QTest::newRow("slave 247.6 travels as 248") << "9600" << "247.6" << "150" << slave;
    QTest::newRow("slave 0") << "9600" << "0" << "150" << slave;
    QTest::newRow("slave empty") << "9600" << "" << "150" << slave;
    QTest::newRow("slave letters") << "9600" << "x5" << "150" << slave;
    QTest::newRow("baud NON") << "NON" << "0" << "" << baud;
    QTest::newRow("baud empty") << "" << "17" << "150" << baud;
    QTest::newRow("typed 4800") << "4800" << "17" << "150" << baud;
}
// clang-format on

void TestDistanceHandlers::checks()
{
    QFETCH(QString, baud);
    QFETCH(QString, slave);
    QFETCH(QString, switchPoint);
    QFETCH(QString, message);
    Window w;
    w.read(kWorkedReply);
    named<QComboBox>(w.form6, "Combo1")->setCurrentText(baud);
    named<QLineEdit>(w.form6, "Text13")->setText(slave);
    named<QLineEdit>(w.form6, "Text4")->setText(switchPoint);
    w.link.clearJournal();
    QCOMPARE(w.write(), message);
    QCOMPARE(w.link.sent().size(), message.isEmpty() ? 1 : 0);
    if (!message.isEmpty()) {
        QVERIFY(w.link.journal().isEmpty());
        QCOMPARE(w.text(22), QString()); // no field changed
        QCOMPARE(w.link.lineSettings(), QStringLiteral("19200,n,8,1"));
    }
}

void TestDistanceHandlers::unknownTextsKeepTheLastCodes()
{
    Window w;
    w.read(kWorkedReply);
    named<QComboBox>(w.form6, "Combo3")->setEditable(true);
    named<QComboBox>(w.form6, "Combo3")->setCurrentText(QStringLiteral("Mid"));
    w.write();
    QCOMPARE(w.link.sent().last().at(6), char(1)); // the OGR code of the read
}

void TestDistanceHandlers::nonDistanceModelShowsNon()
{
    Window w;
    w.read(blockReply({40, 17, 1, 5, 12, 24, 21, 0, 200, 1, 44, 0, 150, 0, 250}));
    QCOMPARE(named<QComboBox>(w.form6, "Combo2")->currentText(), QStringLiteral("NON"));
    QCOMPARE(w.text(7), QString());
    // "NON" sends the model code of the read and shows "NON" again.
    QCOMPARE(w.write(), QString());
    QCOMPARE(w.link.sent().last().at(10), char(21));
    QCOMPARE(named<QComboBox>(w.form6, "Combo2")->currentText(), QStringLiteral("NON"));
}

void TestDistanceHandlers::zeroInsteadOfBlankLeavesTheBaudBox()
{
    Window w;
    named<QComboBox>(w.form6, "Combo1")->setCurrentText(QStringLiteral("57600"));
    QByteArray reply = kWorkedReply;
    reply.replace(0, 3, "030");
    reply.replace(3, 3, "030");
    w.read(reply);
    QCOMPARE(named<QComboBox>(w.form6, "Combo1")->currentText(), QStringLiteral("57600"));
    QCOMPARE(w.text(13), QStringLiteral("30"));
}

void TestDistanceHandlers::unencodableValueRefusesTheWrite()
{
    Window w;
    w.read(blockReply({30, 17, 1, 5, 12, 99, 90, 0, 200, 1, 44, 0, 150, 0, 250}));
    // No reply that Read takes can hold this; the write refuses it all the same.
    w.form6.findChild<QLineEdit *>(QStringLiteral("Text21"))->setText(QStringLiteral("999"));
    named<QComboBox>(w.form6, "Combo1")->setCurrentText(QStringLiteral("115200"));
    w.link.clearJournal();
    const QString message = w.write();
    QVERIFY2(message.contains(QStringLiteral("year")), qPrintable(message));
    QVERIFY(w.link.journal().isEmpty());
    QCOMPARE(w.link.lineSettings(), QStringLiteral("19200,n,8,1"));
    QCOMPARE(w.text(22), QString());
}

// clang-format off
void TestDistanceHandlers::getDistance_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("temperature");
    QTest::newRow("marker first") << QByteArray("R00150cm024\r\n") << "00150" << "024";
    QTest::newRow("leftover first, small r") << QByteArray("  5 12r01234cm019") << "01234" << "019";
    QTest::newRow("cut short") << QByteArray("R0012") << "0012" << "";
    QTest::newRow("no marker keeps the old text") << QByteArray(" 30 17  1") << "old" << "";
}
// clang-format on

void TestDistanceHandlers::getDistance()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, distance);
    QFETCH(QString, temperature);
    Window w;
    w.read(kWorkedReply);
    named<QLineEdit>(w.form6, "Text16")->setText(QStringLiteral("old"));
    w.link.clearJournal();
    w.link.queueReply(reply);
    named<QPushButton>(w.form6, "Command1")->click();
    QCOMPARE(w.link.sent(), QList<QByteArray>{QByteArray("\xFE\xFA\xFC?", 4)});
    QCOMPARE(w.link.journal(), (QStringList{"send", "sleep 500", "receive"}));
    QCOMPARE(w.text(16), distance);
    QCOMPARE(w.text(18), temperature);
    QCOMPARE(w.text(1), QString::fromLatin1(reply));
}

QTEST_MAIN(TestDistanceHandlers)
#include "tst_distancehandlers.moc"
