// The connected notice's OK: one settings read, the baud and model codes,
// and the window that opens for the model.
#include "connectednotice.h"
#include "distancewindow.h"
#include "findcontrol.h"
#include "levelwindow.h"
#include "program.h"
#include "protocol/identification.h"
#include "replies.h"
#include "scriptedlink.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace veltra;

class TestIdentification : public QObject
{
    Q_OBJECT
private slots:
    void modelCodeField_data();
    void modelCodeField();
    void okOpensTheWindowForTheModel_data();
    void okOpensTheWindowForTheModel();
    void secondOkDecidesFromANewReply();
    void okOnALostPortSaysSo();

private:
    struct Run {
        ScriptedLink link;
        Program program{link, [] {}};
        Run()
        {
            link.open(PortId{1, {}}, QStringLiteral("19200,n,8,1"));
            program.connectedNotice().show();
        }
    };
};

// clang-format off
void TestIdentification::modelCodeField_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("baud");
    const QString head = QStringLiteral(" 40  5  0  1 15 98");
    QTest::newRow("blank then 20") << head + " 20" << "20" << "19200";
    QTest::newRow("zero then 20") << head + "020" << "20" << "19200";
    QTest::newRow("two blanks then 9") << head + "  9" << "9" << "19200";
    QTest::newRow("three digits") << head + "112" << "112" << "19200";
    QTest::newRow("short reply") << QStringLiteral(" 30  5") << "0" << "9600";
    QTest::newRow("empty reply") << QString() << "0" << "";
    QTest::newRow("model cut short") << head + " 2" << "2" << "19200";
    QTest::newRow("baud code with a zero") << QStringLiteral("030") + head.mid(3) + " 21" << "21" << "";
    QTest::newRow("baud code unknown") << QStringLiteral(" 80") + head.mid(3) + " 21" << "21" << "";
}
// clang-format on

void TestIdentification::modelCodeField()
{
    QFETCH(QString, reply);
    QFETCH(QString, code);
    QFETCH(QString, baud);
    const Identification id = Identification::fromReply(reply);
    QCOMPARE(id.modelCode, code);
    QCOMPARE(id.baudText, baud);
}

void TestIdentification::okOpensTheWindowForTheModel_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("opens"); // "level", "distance", "none", or "damaged": none, with a message
    QTest::newRow("blank 90") << levelReply(40, 90) << "distance";
    QTest::newRow("090") << QByteArray(levelReply(40, 90)).replace(18, 3, "090") << "distance";
    QTest::newRow("distance block alone") << levelReply(40, 90).left(45) << "distance";
    QTest::newRow("20") << levelReply(40, 20) << "level";
    QTest::newRow("81") << levelReply(40, 81) << "level";
    QTest::newRow("104") << levelReply(40, 104) << "level";
    QTest::newRow("112") << levelReply(40, 112) << "level";
    QTest::newRow("113") << levelReply(40, 113) << "none";
    QTest::newRow("28") << levelReply(40, 28) << "none";
    QTest::newRow("83") << levelReply(40, 83) << "none";
    QTest::newRow("89") << levelReply(40, 89) << "none";
    // Not whole blocks: whatever characters 19-21 hold, they name no model.
    QTest::newRow("18 characters") << QByteArray(" 40  5  0  1 15 98") << "damaged";
    QTest::newRow("nothing") << QByteArray() << "damaged";
    QTest::newRow("level block cut to 45") << levelReply(40, 21).left(45) << "damaged";
    QTest::newRow("blank in front") << " " + levelReply(40, 21) << "damaged";
    QTest::newRow("digit in front") << "7" + levelReply(30, 21) << "damaged";
    QTest::newRow("noise in front of a distance block") << "~" + levelReply(30, 90).left(45) << "damaged";
}

void TestIdentification::okOpensTheWindowForTheModel()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, opens);
    Run run;
    run.link.clearJournal();
    run.link.queueReply(reply);
    named<QPushButton>(run.program.connectedNotice(), "Command5")->click();

    QCOMPARE(run.link.sent(), QList<QByteArray>{QByteArray("\xFE\xFA\xFC:", 4)});
    QCOMPARE(run.link.journal(), (QStringList{"send", "sleep 500", "receive"}));
    QCOMPARE(named<QLineEdit>(run.program.levelWindow(), "Text1")->text(), QString::fromLatin1(reply));
    QCOMPARE(run.program.levelWindow().isVisible(), opens == "level");
    QCOMPARE(run.program.distanceWindow().isVisible(), opens == "distance");
    QCOMPARE(run.program.connectedNotice().isVisible(), opens == "none" || opens == "damaged");
    auto *damaged = run.program.connectedNotice().findChild<QMessageBox *>(QStringLiteral("DamagedReply"));
    QCOMPARE(damaged != nullptr && damaged->isVisible(), opens == "damaged");
    if (opens == "none")
        QCOMPARE(named<QComboBox>(run.program.levelWindow(), "Combo2")->currentText(), QStringLiteral("NON"));
    else
        QCOMPARE(named<QComboBox>(run.program.levelWindow(), "Combo2")->currentText(), QString());
    if (opens == "damaged") {
        // Nothing of it was taken: the level window's model code is untouched.
        QCOMPARE(named<QLineEdit>(run.program.levelWindow(), "Text26")->text(), QString());
        QVERIFY(damaged->informativeText().contains(QStringLiteral("Press OK again")));
        damaged->close();
    }
}

void TestIdentification::secondOkDecidesFromANewReply()
{
    Run run;
    run.link.queueReply(levelReply(70, 113));
    named<QPushButton>(run.program.connectedNotice(), "Command5")->click();
    QVERIFY(run.program.connectedNotice().isVisible());
    QCOMPARE(named<QLineEdit>(run.program.levelWindow(), "Text26")->text(), QStringLiteral("113"));
    // The notice's box shows the stored rate while it stays up.
    QCOMPARE(named<QComboBox>(run.program.connectedNotice(), "Combo1")->currentText(), QStringLiteral("115200"));

    run.link.queueReply(levelReply(40, 21));
    named<QPushButton>(run.program.connectedNotice(), "Command5")->click();
    QCOMPARE(run.link.sent().size(), 2);
    QCOMPARE(named<QLineEdit>(run.program.levelWindow(), "Text26")->text(), QStringLiteral("21"));
    QVERIFY(!run.program.connectedNotice().isVisible());
    QVERIFY(run.program.levelWindow().isVisible());
}

void TestIdentification::okOnALostPortSaysSo()
{
    Run run;
    run.link.close();
    named<QPushButton>(run.program.connectedNotice(), "Command5")->click();
    QVERIFY(run.program.connectedNotice().isVisible());
    QVERIFY(!run.program.levelWindow().isVisible());
    auto *box = run.program.connectedNotice().findChild<QWidget *>(QStringLiteral("LinkFailure"));
    QVERIFY(box);
    QVERIFY(box->isVisible());
}

QTEST_MAIN(TestIdentification)
#include "tst_identification.moc"
