// Read in the level window: the reply spread over the fields, the boxes, the
// model's catalogue row and what it shows or hides.
#include "findcontrol.h"
#include "levelwindow.h"
#include "replies.h"
#include "scriptedlink.h"
#include "session/sensorsession.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace veltra;

namespace {

class Window
{
public:
    Window() { link.open(PortId{1, {}}, QStringLiteral("9600,n,8,1")); }

    // Read starts disabled; the unlock timer's first tick makes it usable.
    bool ready()
    {
        return QTest::qWaitFor([this] { return named<QPushButton>(form2, "Command5")->isEnabled(); }, 1000);
    }

    void read(const QByteArray &reply)
    {
        QVERIFY(ready());
        link.queueReply(reply);
        form2.findChild<QPushButton *>(QStringLiteral("Command5"))->click();
    }

    QString text(const char *name) const { return field(name)->text(); }
    QLineEdit *field(const char *name) const { return form2.findChild<QLineEdit *>(QLatin1String(name)); }
    QLabel *label(const char *name) const { return form2.findChild<QLabel *>(QLatin1String(name)); }
    QComboBox *box(const char *name) const { return form2.findChild<QComboBox *>(QLatin1String(name)); }
    QPushButton *button(const char *name) const { return form2.findChild<QPushButton *>(QLatin1String(name)); }
    bool shown(const char *name) const
    {
        QWidget *w = form2.findChild<QWidget *>(QLatin1String(name));
        return w && !w->isHidden();
    }

    ScriptedLink link;
    SensorSession session{link};
    LevelWindow form2{session};
};

const QByteArray kWorkedReply = blockReply({30, 5, 0, 1, 15, 98, 20, 1, 44, 0, 250, 0, 50, 0, 90, 8, 10});

} // namespace

class TestReadSettings : public QObject
{
    Q_OBJECT
private slots:
    void sendsOneReadRequestAndWaits();
    void workedReplyFillsEveryField();
    void boxesFollowTheirCodes_data();
    void boxesFollowTheirCodes();
    void resolutionChoiceRowInMillimetres();
    void runControlRow();
    void dashRowWithDigitalOutputs();
    void damagedReplyChangesNothing_data();
    void damagedReplyChangesNothing();
    void baudCodeWithZeroLeavesTheBox();
    void unknownCodeLeavesThePreviousRow();
    void runControlThenStandardShowsWhatTheRowImplies();
    void fixedResolutionThenChoiceShowsTheResolutionBox();
};

void TestReadSettings::sendsOneReadRequestAndWaits()
{
    Window w;
    w.link.clearJournal();
    w.read(kWorkedReply);
    QCOMPARE(w.link.sent(), QList<QByteArray>{QByteArray("\xFE\xFA\xFC:", 4)});
    QCOMPARE(w.link.journal(), (QStringList{"send", "sleep 500", "receive"}));
    QCOMPARE(w.text("Text1"), QString::fromLatin1(kWorkedReply));
}

void TestReadSettings::workedReplyFillsEveryField()
{
    Window w;
    w.read(kWorkedReply);
    QCOMPARE(w.box("Combo1")->currentText(), QStringLiteral("9600"));
    QCOMPARE(w.text("Text13"), QStringLiteral("5"));
    QCOMPARE(w.text("Text25"), QStringLiteral("0"));
    QCOMPARE(w.box("Combo3")->currentText(), QStringLiteral("High"));
    QCOMPARE(w.text("Text24"), QStringLiteral("1"));
    QCOMPARE(w.text("Text23"), QStringLiteral("15"));
    QCOMPARE(w.text("Text21"), QStringLiteral("98"));
    QCOMPARE(w.text("Text26"), QStringLiteral("20"));
    QCOMPARE(w.text("Text10"), QStringLiteral("1"));
    QCOMPARE(w.text("Text11"), QStringLiteral("44"));
    QCOMPARE(w.text("Text2"), QStringLiteral("300"));
    QCOMPARE(w.text("Text3"), QStringLiteral("250"));
    QCOMPARE(w.text("Text4"), QStringLiteral("50"));
    QCOMPARE(w.text("Text5"), QStringLiteral("90"));
    QCOMPARE(w.text("Text31"), QStringLiteral("8"));
    QCOMPARE(w.box("Combo4")->currentText(), QStringLiteral("Wide"));
    QCOMPARE(w.text("Text34"), QStringLiteral("10"));
    QCOMPARE(w.box("Combo5")->currentText(), QStringLiteral("Cm"));

    QCOMPARE(w.box("Combo2")->currentText(), QStringLiteral("DVT-14C00"));
    QCOMPARE(w.text("Text37"), QStringLiteral("DVT-14C00"));
    QCOMPARE(w.text("Text7"), QStringLiteral("20 Cm"));
    QCOMPARE(w.label("Label28")->text(), QStringLiteral("<280 cm"));
    QCOMPARE(w.label("Label29")->text(), QStringLiteral("<300 cm"));
    QCOMPARE(w.text("Text27"), QStringLiteral("280"));
    QCOMPARE(w.text("Text6"), QStringLiteral("300"));
    // No digital outputs, no analog output: placeholders instead of fields.
    QVERIFY(!w.shown("Text4"));
    QVERIFY(!w.shown("Text5"));
    QVERIFY(w.shown("Text29"));
    QVERIFY(w.shown("Text30"));
    QVERIFY(!w.shown("Text9"));
    QVERIFY(w.shown("Text28"));
    QVERIFY(!w.shown("Command2"));
    QVERIFY(w.button("Command4")->isEnabled());
    QVERIFY(w.button("Command1")->isEnabled());
    // The write layout stays as designed for a standard row.
    QCOMPARE(w.text("Text38"), QStringLiteral("10"));
}

void TestReadSettings::boxesFollowTheirCodes_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("ogr");
    QTest::addColumn<int>("omb");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<QStringList>("texts"); // baud, OGR, OMB, RES boxes
    QTest::newRow("115200 Low Narrow mm") << 70 << 2 << 4 << 1 << QStringList{"115200", "Low", "Narrow", "mm"};
    QTest::newRow("38400 Medium Widish Cm") << 50 << 1 << 6 << 10 << QStringList{"38400", "Medium", "Widish", "Cm"};
    // Codes without a text leave each box as it was (the first read sets them).
    QTest::newRow("unknown codes") << 31 << 3 << 5 << 2 << QStringList{"57600", "Low", "Narrow", "mm"};
}

void TestReadSettings::boxesFollowTheirCodes()
{
    QFETCH(int, baud);
    QFETCH(int, ogr);
    QFETCH(int, omb);
    QFETCH(int, resolution);
    QFETCH(QStringList, texts);
    Window w;
    w.read(blockReply({60, 1, 2, 1, 1, 1, 21, 1, 44, 0, 250, 0, 50, 0, 90, 4, 1}));
    w.read(blockReply({baud, 1, ogr, 1, 1, 1, 21, 1, 44, 0, 250, 0, 50, 0, 90, omb, resolution}));
    QCOMPARE(w.box("Combo1")->currentText(), texts[0]);
    QCOMPARE(w.box("Combo3")->currentText(), texts[1]);
    QCOMPARE(w.box("Combo4")->currentText(), texts[2]);
    QCOMPARE(w.box("Combo5")->currentText(), texts[3]);
}

void TestReadSettings::resolutionChoiceRowInMillimetres()
{
    Window w;
    w.read(levelReply(40, 106, 1));
    QCOMPARE(w.box("Combo2")->currentText(), QStringLiteral("DVT-16"));
    QCOMPARE(w.text("Text7"), QStringLiteral("400 mm"));
    QCOMPARE(w.text("Text35"), QStringLiteral("400"));
    QCOMPARE(w.text("Text27"), QStringLiteral("5600"));
    QCOMPARE(w.label("Label28")->text(), QStringLiteral("<5700 mm"));
    QCOMPARE(w.text("Text38"), QStringLiteral("100"));
    QVERIFY(w.box("Combo5")->isEnabled());
    QVERIFY(w.shown("Combo5"));
    QVERIFY(w.shown("Label23"));
}

void TestReadSettings::runControlRow()
{
    Window w;
    w.read(levelReply(40, 81));
    QCOMPARE(w.box("Combo2")->currentText(), QStringLiteral("DVK-16"));
    QVERIFY(w.shown("Command2"));
    QVERIFY(!w.shown("Text4"));
    QVERIFY(!w.shown("Text5"));
    QVERIFY(!w.field("Text4")->isEnabled());
    QVERIFY(!w.shown("Label11"));
    QVERIFY(!w.shown("Label12"));
    QVERIFY(!w.shown("Text29"));
    QVERIFY(!w.shown("Text30"));
    QVERIFY(!w.shown("Combo5"));
    QVERIFY(!w.shown("Label23"));
    QVERIFY(w.shown("Text9"));
    QVERIFY(!w.shown("Text28"));
}

void TestReadSettings::dashRowWithDigitalOutputs()
{
    Window w;
    w.read(levelReply(40, 104));
    QCOMPARE(w.box("Combo2")->currentText(), QStringLiteral("DVT-19C-1"));
    QVERIFY(w.shown("Text4"));
    QVERIFY(w.shown("Text5"));
    QVERIFY(!w.shown("Text29"));
    QVERIFY(!w.shown("Text30"));
    QVERIFY(!w.shown("Text9"));
}

void TestReadSettings::damagedReplyChangesNothing_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("no reply") << QByteArray();
    QTest::newRow("cut short") << levelReply(40, 23).left(50);
    QTest::newRow("a distance block") << levelReply(30, 90).left(45);
    QTest::newRow("blank in front") << " " + levelReply(40, 23);
    QTest::newRow("digit in front") << "1" + levelReply(40, 23);
    QTest::newRow("digits left-aligned") << QByteArray(levelReply(40, 23)).replace(24, 3, "44 ");
    QTest::newRow("not a byte") << QByteArray(levelReply(40, 23)).replace(9, 3, "300");
    QTest::newRow("control character inside") << QByteArray(levelReply(40, 23)).replace(27, 1, "\x01");
}

void TestReadSettings::damagedReplyChangesNothing()
{
    QFETCH(QByteArray, reply);
    Window w;
    // Before any good read Write stays off: there is nothing the operator saw to write.
    w.read(reply);
    QVERIFY(!w.button("Command4")->isEnabled());
    auto *box = w.form2.findChild<QMessageBox *>(QStringLiteral("DamagedReply"));
    QVERIFY(box && box->isVisible());
    box->close();

    w.read(kWorkedReply);
    w.field("Text2")->setText(QStringLiteral("290")); // an edit not yet written
    const auto snapshot = [&w] {
        QStringList texts;
        for (const QLineEdit *edit : w.form2.findChildren<QLineEdit *>()) {
            if (edit->objectName() != u"Text1")
                texts << edit->objectName() + u'=' + edit->text();
        }
        for (const QComboBox *combo : w.form2.findChildren<QComboBox *>())
            texts << combo->objectName() + u'=' + combo->currentText();
        return texts;
    };
    const QStringList before = snapshot();
    w.read(reply);
    QCOMPARE(snapshot(), before);
    QCOMPARE(w.text("Text2"), QStringLiteral("290"));
    box = w.form2.findChild<QMessageBox *>(QStringLiteral("DamagedReply"));
    QVERIFY(box && box->isVisible());
    QVERIFY(box->text().contains(reply.isEmpty() ? QStringLiteral("did not answer") : QStringLiteral("damaged")));
    QVERIFY(box->informativeText().contains(QStringLiteral("Nothing was changed")));
    QVERIFY(box->informativeText().contains(QStringLiteral("Press Read again")));

    // A second damaged reply brings the same window back, not another one.
    w.read(reply);
    QCOMPARE(w.form2.findChildren<QMessageBox *>(QStringLiteral("DamagedReply")).size(), 1);
    box->close();
}

void TestReadSettings::baudCodeWithZeroLeavesTheBox()
{
    Window w;
    w.box("Combo1")->setCurrentText(QStringLiteral("57600"));
    QByteArray reply = kWorkedReply;
    reply.replace(0, 3, "030");
    reply.replace(3, 3, "030"); // the slave address reads as 30
    w.read(reply);
    QCOMPARE(w.box("Combo1")->currentText(), QStringLiteral("57600"));
    QCOMPARE(w.text("Text13"), QStringLiteral("30"));
}

void TestReadSettings::unknownCodeLeavesThePreviousRow()
{
    Window w;
    w.read(levelReply(40, 23));
    w.read(levelReply(40, 110));
    QCOMPARE(w.box("Combo2")->currentText(), QStringLiteral("NON"));
    QCOMPARE(w.text("Text26"), QStringLiteral("110"));
    QCOMPARE(w.text("Text7"), QStringLiteral("20 Cm"));
    QCOMPARE(w.label("Label29")->text(), QStringLiteral("<300 cm"));
    QVERIFY(w.shown("Text9"));
    // 105 with a resolution code of neither row finds nothing either.
    w.read(levelReply(40, 105, 0));
    QCOMPARE(w.box("Combo2")->currentText(), QStringLiteral("NON"));
}

void TestReadSettings::runControlThenStandardShowsWhatTheRowImplies()
{
    Window w;
    w.read(levelReply(40, 80));
    QVERIFY(!w.shown("Label11"));
    QVERIFY(!w.shown("Combo5"));
    w.read(levelReply(40, 21));
    QCOMPARE(w.box("Combo2")->currentText(), QStringLiteral("DVT-14C01"));
    QVERIFY(w.shown("Text4"));
    QVERIFY(w.shown("Text5"));
    QVERIFY(w.shown("Label11"));
    QVERIFY(w.shown("Label12"));
    QVERIFY(w.shown("Combo5"));
    QVERIFY(w.shown("Label23"));
    QVERIFY(!w.shown("Command2"));
    QVERIFY(!w.shown("Text9"));
    QVERIFY(w.shown("Text28"));
}

void TestReadSettings::fixedResolutionThenChoiceShowsTheResolutionBox()
{
    Window w;
    w.read(levelReply(40, 108));
    QVERIFY(!w.shown("Combo5"));
    QVERIFY(!w.box("Combo5")->isEnabled());
    QVERIFY(!w.shown("Label23"));
    w.read(levelReply(40, 105, 10));
    QCOMPARE(w.box("Combo2")->currentText(), QStringLiteral("DVT-14"));
    QVERIFY(w.shown("Combo5"));
    QVERIFY(w.box("Combo5")->isEnabled());
    QVERIFY(w.shown("Label23"));
}

QTEST_MAIN(TestReadSettings)
#include "tst_readsettings.moc"
