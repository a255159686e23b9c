// The level-sensor window: its controls, load, unlock tick and unload.
#include "findcontrol.h"
#include "fonts.h"
#include "keyboardtesting.h"
#include "levelwindow.h"
#include "protocol/modelcatalogue.h"
#include "scriptedlink.h"
#include "session/sensorsession.h"
#include "windowtesting.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>

using namespace veltra;

namespace {

// Persian texts, written as code points so no editor can reshape them.
const QString kAttention = QString::fromUtf16(u"\u062A\u0648\u062C\u0647");

} // namespace

class TestLevelWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void window();
    void controls_data();
    void controls();
    void everyControlIsListed();
    void captionsFit();
    void persianBanner_data();
    void persianBanner();
    void workingFields_data();
    void workingFields();
    void controlArrays_data();
    void controlArrays();
    void accessors_data();
    void accessors();
    void namedAccessors();
    void lines_data();
    void lines();
    void pictures();
    void menuColouredFields_data();
    void menuColouredFields();
    void frontOfPair_data();
    void frontOfPair();
    void shownWindowKeepsHiddenControlsHidden();
    void listsFilledWithoutPicking();
    void sessionSignalsFillFields();

    void timers_data();
    void timers();
    void unlockTick_data();
    void unlockTick();
    void unlockTickHidesBanner();
    void unlockTimerTicksOnceAfterCreation();
    void idleWindowRunsNoTimer();
    void unlockFollowsAnyLock_data();
    void unlockFollowsAnyLock();
    void lockOfOtherControlsWakesNothing();
    void unaskedCharactersRestartUnlock();

    void label29CaptionChange_data();
    void label29CaptionChange();
    void buttonsRunHandlers_data();
    void buttonsRunHandlers();
    void unloadClosesPortThenEnds_data();
    void unloadClosesPortThenEnds();

    void tabVisitsShownControlsAndMarksThem();
    void enterPressesFocusedButton_data();
    void enterPressesFocusedButton();
};

void TestLevelWindow::initTestCase()
{
    ui::installFontSubstitutions();
}

void TestLevelWindow::window()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    QCOMPARE(form2.objectName(), QStringLiteral("form2"));
    RUN_CHECK(checkFixedWindow(form2, QStringLiteral("Ultraonic Sensor Program V7"), QSize(12270 / 15, 7245 / 15)));
    QVERIFY(!form2.isVisible());
    QCOMPARE(&form2.session(), &session);
}

void TestLevelWindow::controls_data()
{
    addControlColumns();

    const int both = Shown | Enabled;
    const int disabled = Shown;
    const int hidden = Enabled;
    const QString sans = QStringLiteral("MS Sans Serif");
    const QString titr = QStringLiteral("B Titr");
    const int normal = QFont::Normal;
    const int bold = QFont::Bold;
    const auto row = addControlRow;
    auto label = [&](const char *name, const QString &text, QRect geometry, qreal size = 9.75) {
        row(name, "QLabel", text, geometry, both, sans, size, bold);
    };
    auto box = [&](const char *name, const char *kind, QRect geometry, int state) {
        row(name, kind, QString(), geometry, state, sans, 8, normal);
    };
    auto button = [&](const char *name, const char *text, QRect geometry, int state) {
        row(name, "QPushButton", text, geometry, state, sans, 8.25, bold);
    };

    // Left panel; pictures have no font of their own to check.
    row("Image5", "QLabel", "", QRect(0, 0, 818, 483), both, {}, 0, 0);
    row("Image1", "QLabel", "", fromTwips(240, 240, 4656, 4260), both, {}, 0, 0);
    row("Label3", "QLabel", "Veltra", fromTwips(2040, 5880, 612, 252), both, "Arial", 12, bold);
    row("Label8", "QLabel", "info@veltra.example", fromTwips(1200, 6240, 2412, 252), both, sans, 8, normal);
    row("Label9", "QLabel", "VELTRA", fromTwips(1080, 6480, 2772, 252), both, "Arial", 9, bold);

    // Run banner, hidden until unasked characters arrive.
    row("Label33", "QLabel", kAttention, fromTwips(2400, 4680, 492, 372), hidden, titr, 12, bold);
    row("Label34", "QLabel", "!!", fromTwips(2160, 4680, 252, 372), hidden, titr, 12, bold);
    row("Label36", "QLabel", kSensorInState, fromTwips(2640, 5160, 1572, 372), hidden, titr, 12, bold);
    row("Label32", "QLabel", "RUN", fromTwips(2040, 5280, 492, 252), hidden, "Arial Black", 9.75, QFont::Black);
    row("Label35", "QLabel", kWasPut, fromTwips(960, 5160, 972, 372), hidden, titr, 12, bold);

    // First column.
    label("Label27", "OMB", fromTwips(5280, 510, 495, 255));
    box("Combo4", "QComboBox", fromTwips(5880, 480, 1575, 315), both);
    label("Label31", "OGR", fromTwips(5280, 1110, 495, 255));
    box("Combo3", "QComboBox", fromTwips(5880, 1080, 1575, 315), both);
    label("Label23", "RES", fromTwips(5280, 1710, 495, 255));
    box("Combo5", "QComboBox", fromTwips(5880, 1680, 1575, 315), disabled);
    label("Label38_6", "Model", fromTwips(6360, 2280, 735, 255), 8.25);
    box("Combo2", "QComboBox", fromTwips(5880, 2640, 1575, 315), disabled);
    box("Text37", "QLineEdit", fromTwips(5880, 2640, 1575, 315), disabled);
    label("Label14_0", "(BD)", fromTwips(6450, 3240, 375, 255), 8.25);
    label("Label14_1", "Block Distance", fromTwips(6000, 3480, 1335, 255), 8.25);
    // Load disables it: it shows the model's blocking distance, never typed.
    box("Text7", "QLineEdit", fromTwips(5880, 3840, 1572, 315), disabled);

    // Second column.
    label("Label10", "Baud Rate", fromTwips(8640, 480, 1215, 255));
    box("Combo1", "QComboBox", fromTwips(10080, 480, 1215, 315), both);
    label("Label18", "Slave Address", fromTwips(8280, 1080, 1575, 255));
    label("Label19", "1 to 247", fromTwips(8640, 1320, 1095, 255));
    box("Text13", "QLineEdit", fromTwips(10080, 1080, 1215, 375), both);
    label("Label6", "Empty", fromTwips(9000, 2030, 975, 255));
    box("Text2", "QLineEdit", fromTwips(10080, 1970, 1215, 375), both);
    label("Label29", "", fromTwips(11280, 2000, 975, 375));
    label("Label7", "Full", fromTwips(9000, 2630, 1095, 255));
    box("Text3", "QLineEdit", fromTwips(10080, 2570, 1215, 375), both);
    label("Label28", "", fromTwips(11280, 2640, 975, 375));
    label("Label11", "Low DO", fromTwips(9000, 3250, 975, 255));
    box("Text4", "QLineEdit", fromTwips(10080, 3200, 1215, 375), both);
    box("Text29", "QLineEdit", fromTwips(10080, 3200, 1215, 375), disabled);
    label("Label12", "Hi DO", fromTwips(9000, 3920, 855, 255));
    box("Text5", "QLineEdit", fromTwips(10080, 3870, 1215, 375), both);
    box("Text30", "QLineEdit", fromTwips(10080, 3870, 1215, 375), disabled);

    // Buttons.
    button("Command2", "RUN", fromTwips(6120, 4680, 975, 495), hidden);
    button("Command5", "Read", fromTwips(9720, 4680, 975, 495), disabled);
    button("Command4", "Write", fromTwips(10800, 4680, 975, 495), disabled);

    // Measurement.
    label("Label38_0", "Tank Level", fromTwips(5280, 6120, 972, 252), 8.25);
    box("Text8", "QLineEdit", fromTwips(6360, 6000, 1095, 375), both);
    label("Label38_5", "=", fromTwips(7800, 6120, 132, 252), 9.75);
    box("Text9", "QLineEdit", fromTwips(8160, 6000, 1095, 375), both);
    box("Text28", "QLineEdit", fromTwips(8160, 6000, 1095, 375), hidden);
    label("Label38_3", "mA", fromTwips(9360, 6120, 372, 252), 8.25);
    label("Label38_1", "Distance", fromTwips(5400, 6600, 852, 252), 8.25);
    box("Text16", "QLineEdit", fromTwips(6360, 6480, 1095, 375), both);
    label("Label38_2", "T:", fromTwips(7800, 6600, 252, 252), 8.25);
    box("Text18", "QLineEdit", fromTwips(8160, 6480, 1095, 375), both);
    label("Label38_4", "C", fromTwips(9360, 6600, 372, 252), 8.25);
    button("Command1", "Get Level", fromTwips(10080, 6120, 1455, 495), disabled);
}

void TestLevelWindow::controls()
{
    QFETCH(QString, name);
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    // Load fills the lists without picking an item (listsFilledWithoutPicking
    // checks their items).
    if (auto *box = form2.findChild<QComboBox *>(name, Qt::FindDirectChildrenOnly))
        QVERIFY(box->count() > 0);
    checkControlRow(form2);
}

void TestLevelWindow::everyControlIsListed()
{
    // The controls table above, the working fields and the two lines are the
    // whole window: nothing left over, nothing named twice.
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    RUN_CHECK(checkChildrenNamedOnce(form2, 54 + 24 + 2));
    QStringList timers;
    for (QTimer *timer : form2.findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly))
        timers << timer->objectName();
    timers.sort();
    QCOMPARE(timers, (QStringList{"Timer1", "Timer2"}));
}

void TestLevelWindow::captionsFit()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    checkCaptionsFit(form2, 27);
}

// clang-format off
void TestLevelWindow::persianBanner_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("persian");
    QTest::addColumn<QColor>("colour"); // invalid: the window's text colour

    QTest::newRow("Label33") << "Label33" << kAttention << true << QColor(192, 0, 0);
    QTest::newRow("Label34") << "Label34" << "!!" << true << QColor(192, 0, 0);
    QTest::newRow("Label36") << "Label36" << kSensorInState << true << QColor();
    QTest::newRow("Label32") << "Label32" << "RUN" << false << QColor(192, 64, 0);
    QTest::newRow("Label35") << "Label35" << kWasPut << true << QColor(0, 0, 192);
}
// clang-format on

void TestLevelWindow::persianBanner()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, persian);
    QFETCH(QColor, colour);

    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    auto *label = form2.findChild<QLabel *>(name);
    QVERIFY(label);
    const std::array<QLabel *, 5> banner = form2.runBanner();
    QVERIFY(std::find(banner.begin(), banner.end(), label) != banner.end());
    QCOMPARE(label->text(), text);
    QCOMPARE(label->text().size(), text.size());
    QVERIFY(label->isHidden());
    const QColor expected = colour.isValid() ? colour : form2.palette().color(QPalette::WindowText);
    QCOMPARE(label->palette().color(QPalette::WindowText), expected);
    if (persian)
        checkReadsFromTheRight(*label);
}

// clang-format off
void TestLevelWindow::workingFields_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("designText");

    auto row = [](int number, const QString &text) {
        QTest::addRow("Text%d", number) << number << text;
    };
    for (int n : {1, 22, 25, 31, 24, 23, 21, 26, 10, 11, 12, 14, 15, 17, 19, 20, 6, 27})
        row(n, QString());
    row(34, "Text34");
    row(32, "Text32");
    row(33, "Text33");
    row(35, "Text35");
    row(36, "10"); // set by the window's load over its design text
    row(38, "10");
}
// clang-format on

void TestLevelWindow::workingFields()
{
    QFETCH(int, number);
    QFETCH(QString, designText);

    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    checkWorkingField(form2, number, designText);
}

void TestLevelWindow::controlArrays_data()
{
    QTest::addColumn<QString>("array");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    QTest::newRow("Label38(0)") << "Label38" << 0 << "Tank Level";
    QTest::newRow("Label38(1)") << "Label38" << 1 << "Distance";
    QTest::newRow("Label38(2)") << "Label38" << 2 << "T:";
    QTest::newRow("Label38(3)") << "Label38" << 3 << "mA";
    QTest::newRow("Label38(4)") << "Label38" << 4 << "C";
    QTest::newRow("Label38(5)") << "Label38" << 5 << "=";
    QTest::newRow("Label38(6)") << "Label38" << 6 << "Model";
    QTest::newRow("Label14(0)") << "Label14" << 0 << "(BD)";
    QTest::newRow("Label14(1)") << "Label14" << 1 << "Block Distance";
}

void TestLevelWindow::controlArrays()
{
    QFETCH(QString, array);
    QFETCH(int, index);
    QFETCH(QString, text);

    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    QLabel *member = array == QLatin1String("Label38") ? named<QLabel>(form2, QStringLiteral("Label38_%1").arg(index))
                                                       : named<QLabel>(form2, QStringLiteral("Label14_%1").arg(index));
    QVERIFY(member);
    QCOMPARE(member->objectName(), array + u'_' + QString::number(index));
    QCOMPARE(member->property("index"), QVariant(index));
    QCOMPARE(member->text(), text);
    QCOMPARE(form2.findChild<QLabel *>(member->objectName()), member);

    // Past either end of the array there is no member.
    QCOMPARE(named<QLabel>(form2, "Label38_-1"), nullptr);
    QCOMPARE(named<QLabel>(form2, QStringLiteral("Label38_%1").arg(LevelWindow::kLabel38Count)), nullptr);
    QCOMPARE(named<QLabel>(form2, "Label14_-1"), nullptr);
    QCOMPARE(named<QLabel>(form2, QStringLiteral("Label14_%1").arg(LevelWindow::kLabel14Count)), nullptr);
}

void TestLevelWindow::accessors_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("exists");

    for (int n = 0; n <= LevelWindow::kTextCount + 1; ++n)
        QTest::addRow("Text%d", n) << "Text" << n << (n >= 1 && n <= LevelWindow::kTextCount);
    const QList<int> labels = {3, 6, 7, 8, 9, 10, 11, 12, 18, 19, 23, 27, 28, 29, 31, 32, 33, 34, 35, 36};
    for (int n = -1; n <= 40; ++n)
        QTest::addRow("Label%d", n) << "Label" << n << labels.contains(n);
    for (int n = 0; n <= 6; ++n)
        QTest::addRow("Combo%d", n) << "Combo" << n << (n >= 1 && n <= 5);
    for (int n = 0; n <= 6; ++n)
        QTest::addRow("Command%d", n) << "Command" << n << (n == 1 || n == 2 || n == 4 || n == 5);
}

void TestLevelWindow::accessors()
{
    QFETCH(QString, kind);
    QFETCH(int, number);
    QFETCH(bool, exists);

    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    RUN_CHECK(checkNumberedControl(form2, kind, number, exists));
    if (kind == QLatin1String("Text") && exists)
        QCOMPARE(LevelWindow::isWorkingField(number),
                 named<QLineEdit>(form2, QStringLiteral("Text%1").arg(number))->isHidden() && number != 28);
}

void TestLevelWindow::namedAccessors()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    QCOMPARE(named<QComboBox>(form2, "Combo1"), named<QComboBox>(form2, "Combo1"));
    QCOMPARE(named<QComboBox>(form2, "Combo2"), named<QComboBox>(form2, "Combo2"));
    QCOMPARE(named<QComboBox>(form2, "Combo3"), named<QComboBox>(form2, "Combo3"));
    QCOMPARE(named<QComboBox>(form2, "Combo4"), named<QComboBox>(form2, "Combo4"));
    QCOMPARE(named<QComboBox>(form2, "Combo5"), named<QComboBox>(form2, "Combo5"));
    QCOMPARE(named<QPushButton>(form2, "Command1"), named<QPushButton>(form2, "Command1"));
    QCOMPARE(named<QPushButton>(form2, "Command2"), named<QPushButton>(form2, "Command2"));
    QCOMPARE(named<QPushButton>(form2, "Command4"), named<QPushButton>(form2, "Command4"));
    QCOMPARE(named<QPushButton>(form2, "Command5"), named<QPushButton>(form2, "Command5"));
    QCOMPARE(named<QLineEdit>(form2, "Text1"), named<QLineEdit>(form2, "Text1"));
    QCOMPARE(named<QLineEdit>(form2, "Text7"), named<QLineEdit>(form2, "Text7"));
    QCOMPARE(named<QLineEdit>(form2, "Text26"), named<QLineEdit>(form2, "Text26"));
    QCOMPARE(named<QLineEdit>(form2, "Text28"), named<QLineEdit>(form2, "Text28"));
    QCOMPARE(named<QLabel>(form2, "Label29"), named<QLabel>(form2, "Label29"));
    QCOMPARE(named<QLabel>(form2, "Image1"), form2.findChild<QLabel *>("Image1"));
    QCOMPARE(named<QLabel>(form2, "Image5"), form2.findChild<QLabel *>("Image5"));
    QCOMPARE(named<QFrame>(form2, "Line2"), form2.findChild<QFrame *>("Line2"));
    QCOMPARE(named<QFrame>(form2, "Line3"), form2.findChild<QFrame *>("Line3"));
    QCOMPARE(named<QTimer>(form2, "Timer1"), form2.findChild<QTimer *>("Timer1"));
    QCOMPARE(named<QTimer>(form2, "Timer2"), form2.findChild<QTimer *>("Timer2"));
    const std::array<QLabel *, 5> banner
        = {named<QLabel>(form2, "Label32"), named<QLabel>(form2, "Label33"), named<QLabel>(form2, "Label34"),
           named<QLabel>(form2, "Label35"), named<QLabel>(form2, "Label36")};
    QVERIFY(form2.runBanner() == banner);
}

void TestLevelWindow::lines_data()
{
    addLineColumns();
    // Two pixels thick, from the first point to the last pixel of the second.
    QTest::newRow("Line2") << "Line2" << int(QFrame::VLine) << QRect(336, 16, 2, 376 - 16 + 1);
    QTest::newRow("Line3") << "Line3" << int(QFrame::HLine) << QRect(8, 376, 784 - 8 + 1, 2);
}

void TestLevelWindow::lines()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    checkLineRow(form2);
}

void TestLevelWindow::pictures()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    // Made hidden at start-up, the window holds no picture until it is drawn.
    QVERIFY(named<QLabel>(form2, "Image5")->pixmap().isNull());
    QVERIFY(named<QLabel>(form2, "Image1")->pixmap().isNull());
    form2.ensurePolished();
    const QPixmap background = named<QLabel>(form2, "Image5")->pixmap();
    const QPixmap product = named<QLabel>(form2, "Image1")->pixmap();
    QVERIFY(!background.isNull());
    QVERIFY(!product.isNull());
    // Natural size: the background fills the client area, the product
    // picture its frame.
    QCOMPARE(background.size(), form2.size() - QSize(0, ui::clientTop(&form2)));
    QCOMPARE(clientGeometry(*named<QLabel>(form2, "Image5")), QRect(QPoint(0, 0), background.size()));
    QCOMPARE(product.size(), named<QLabel>(form2, "Image1")->size());
    // Behind every control.
    const QList<QWidget *> children = form2.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(children.first(), named<QLabel>(form2, "Image5"));

    // An empty spot of the window shows the background picture.
    const QImage shot = form2.grab().toImage();
    const QImage picture = background.toImage();
    const QPoint client(0, ui::clientTop(&form2));
    for (QPoint spot : {QPoint(800, 8), QPoint(500, 300), QPoint(20, 470)}) {
        QCOMPARE(form2.childAt(spot + client), named<QLabel>(form2, "Image5"));
        QCOMPARE(shot.pixelColor(spot + client), picture.pixelColor(spot));
    }
}

void TestLevelWindow::menuColouredFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("menuColoured");
    QTest::newRow("Text9") << "Text9" << true;
    QTest::newRow("Text28") << "Text28" << true;
    QTest::newRow("Text8") << "Text8" << false;
    QTest::newRow("Text16") << "Text16" << false;
}

void TestLevelWindow::menuColouredFields()
{
    QFETCH(QString, name);
    QFETCH(bool, menuColoured);
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    auto *field = form2.findChild<QLineEdit *>(name);
    QVERIFY(field);
    const QColor menu = QApplication::palette("QMenu").color(QPalette::Window);
    const QColor base = field->palette().color(QPalette::Base);
    QCOMPARE(base == menu, menuColoured);
    if (!menuColoured)
        QCOMPARE(base, QApplication::palette(field).color(QPalette::Base));
}

// clang-format off
void TestLevelWindow::frontOfPair_data()
{
    QTest::addColumn<QString>("front");
    QTest::addColumn<QString>("back");
    // Low DO and Hi DO take typing when the window first shows.
    QTest::newRow("Text4 over Text29") << "Text4" << "Text29";
    QTest::newRow("Text5 over Text30") << "Text5" << "Text30";
    // The model shows as plain text.
    QTest::newRow("Text37 over Combo2") << "Text37" << "Combo2";
}
// clang-format on

void TestLevelWindow::frontOfPair()
{
    QFETCH(QString, front);
    QFETCH(QString, back);
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    auto *f = form2.findChild<QWidget *>(front);
    auto *b = form2.findChild<QWidget *>(back);
    QVERIFY(f && b);
    QCOMPARE(f->geometry(), b->geometry());
    QCOMPARE(frontChildAt(&form2, f->geometry().center()), f);
}

void TestLevelWindow::shownWindowKeepsHiddenControlsHidden()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    form2.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form2));
    for (int n = 1; n <= LevelWindow::kTextCount; ++n) {
        if (LevelWindow::isWorkingField(n))
            QVERIFY2(!named<QLineEdit>(form2, QStringLiteral("Text%1").arg(n))->isVisible(),
                     qPrintable(named<QLineEdit>(form2, QStringLiteral("Text%1").arg(n))->objectName()));
    }
    QVERIFY(!named<QLineEdit>(form2, "Text28")->isVisible());
    QVERIFY(!named<QPushButton>(form2, "Command2")->isVisible());
    for (QLabel *label : form2.runBanner())
        QVERIFY(!label->isVisible());
    QVERIFY(named<QLineEdit>(form2, "Text4")->isVisible());
    QVERIFY(named<QLineEdit>(form2, "Text9")->isVisible());
    QVERIFY(named<QPushButton>(form2, "Command5")->isVisible());
}

void TestLevelWindow::listsFilledWithoutPicking()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    const QList<std::pair<QComboBox *, QStringList>> lists = {
        {named<QComboBox>(form2, "Combo1"), {"9600", "19200", "38400", "57600", "115200", "NON"}},
        {named<QComboBox>(form2, "Combo2"), ModelCatalogue::modelListNames() + QStringList{"NON"}},
        {named<QComboBox>(form2, "Combo3"), {"High", "Medium", "Low"}},
        {named<QComboBox>(form2, "Combo4"), {"Wide", "Widish", "Narrow"}},
        {named<QComboBox>(form2, "Combo5"), {"Cm", "mm"}},
    };
    for (const auto &[box, items] : lists) {
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        QCOMPARE(shown, items);
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->currentText(), QString());
    }
    QCOMPARE(named<QLineEdit>(form2, "Text37")->text(), QString());
}

void TestLevelWindow::sessionSignalsFillFields()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    emit session.connected(QStringLiteral("38400"));
    QCOMPARE(named<QComboBox>(form2, "Combo1")->currentText(), QStringLiteral("38400"));
    emit session.replyReceived(QStringLiteral(" 50  1"));
    QCOMPARE(named<QLineEdit>(form2, "Text1")->text(), QStringLiteral(" 50  1"));

    Identification level;
    level.modelCode = QStringLiteral("21");
    level.window = ModelWindow::Level;
    named<QComboBox>(form2, "Combo2")->setCurrentText(QStringLiteral("DVT-16"));
    emit session.identified(level);
    QCOMPARE(named<QLineEdit>(form2, "Text26")->text(), QStringLiteral("21"));
    QCOMPARE(named<QComboBox>(form2, "Combo2")->currentText(), QStringLiteral("DVT-16"));

    // A code no window knows shows as NON.
    Identification unknown;
    unknown.modelCode = QStringLiteral("113");
    emit session.identified(unknown);
    QCOMPARE(named<QLineEdit>(form2, "Text26")->text(), QStringLiteral("113"));
    QCOMPARE(named<QComboBox>(form2, "Combo2")->currentText(), QStringLiteral("NON"));
}

void TestLevelWindow::timers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("running");
    // Timer1 has no action: it is never started. Timer2 ticks once after
    // the window is made, then only after a lock.
    QTest::newRow("Timer1") << "Timer1" << 1000 << false;
    QTest::newRow("Timer2") << "Timer2" << 200 << true;
}

void TestLevelWindow::timers()
{
    QFETCH(QString, name);
    QFETCH(int, interval);
    QFETCH(bool, running);
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    auto *timer = form2.findChild<QTimer *>(name);
    QVERIFY(timer);
    QCOMPARE(timer->interval(), interval);
    QCOMPARE(timer->isActive(), running);
    if (running)
        QVERIFY(timer->isSingleShot());
}

// clang-format off
void TestLevelWindow::unlockTick_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("after");

    auto row = [](const char *name, bool before, bool after) { QTest::newRow(name) << name << before << after; };
    row("Command1", false, true);
    row("Command2", true, true);
    row("Command5", false, true);
    row("Command4", false, false); // only Read enables Write
    for (const char *name : {"Combo1", "Combo3", "Combo4"})
        row(name, true, true);
    row("Combo5", false, false);
    row("Combo2", false, false);
    row("Text37", false, false);
    for (const char *name : {"Text13", "Text2", "Text3", "Text4", "Text5", "Text8", "Text16", "Text28", "Text18",
                             "Text9"})
        row(name, true, true);
    row("Text29", false, true);
    row("Text30", false, true);
}
// clang-format on

void TestLevelWindow::unlockTick()
{
    QFETCH(QString, name);
    QFETCH(bool, before);
    QFETCH(bool, after);
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    auto *control = form2.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->isEnabled(), before);

    // Whatever disabled them, the tick makes them usable again.
    for (QWidget *w : form2.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        w->setEnabled(false);
    form2.Timer2_Timer();
    QCOMPARE(control->isEnabled(), after);
    QVERIFY(!named<QPushButton>(form2, "Command2")->isVisible());
}

void TestLevelWindow::unlockTickHidesBanner()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    for (QLabel *label : form2.runBanner())
        label->setVisible(true);
    form2.Timer2_Timer();
    for (QLabel *label : form2.runBanner())
        QVERIFY2(label->isHidden(), qPrintable(label->objectName()));
    // The RUN button and the current placeholder keep what load gave them.
    QVERIFY(named<QPushButton>(form2, "Command2")->isHidden());
    QVERIFY(named<QLineEdit>(form2, "Text28")->isHidden());
}

void TestLevelWindow::unlockTimerTicksOnceAfterCreation()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    QVERIFY(!named<QPushButton>(form2, "Command5")->isEnabled());
    QVERIFY(!named<QPushButton>(form2, "Command1")->isEnabled());
    QSignalSpy ticks(named<QTimer>(form2, "Timer2"), &QTimer::timeout);
    // Read and Get Level become usable on the first tick, without showing
    // the window; Write waits for a read.
    QTRY_VERIFY_WITH_TIMEOUT(named<QPushButton>(form2, "Command5")->isEnabled(), 2000);
    QVERIFY(named<QPushButton>(form2, "Command1")->isEnabled());
    QVERIFY(!named<QPushButton>(form2, "Command4")->isEnabled());
    QCOMPARE(ticks.count(), 1);
    // Nothing is locked: the timer rests.
    QVERIFY(!named<QTimer>(form2, "Timer2")->isActive());
}

void TestLevelWindow::idleWindowRunsNoTimer()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    QSignalSpy ticks(named<QTimer>(form2, "Timer2"), &QTimer::timeout);
    form2.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form2));
    QTRY_COMPARE_WITH_TIMEOUT(ticks.count(), 1, 2000);
    QTest::qWait(3 * LevelWindow::kTimer2IntervalMs);
    QCOMPARE(ticks.count(), 1);
    for (QTimer *timer : form2.findChildren<QTimer *>())
        QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
    QVERIFY(named<QPushButton>(form2, "Command5")->isEnabled());
}

// clang-format off
void TestLevelWindow::unlockFollowsAnyLock_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("disable"); // else shown
    // A read of a run-control model disables Low DO and Hi DO: the tick
    // makes them usable again, as the running timer did.
    QTest::newRow("Text4 disabled") << "Text4" << true;
    QTest::newRow("Text5 disabled") << "Text5" << true;
    QTest::newRow("Read disabled") << "Command5" << true;
    QTest::newRow("Get Level disabled") << "Command1" << true;
    QTest::newRow("baud box disabled") << "Combo1" << true;
    QTest::newRow("current disabled") << "Text9" << true;
    QTest::newRow("RUN banner shown") << "Label32" << false;
    QTest::newRow("banner line shown") << "Label36" << false;
}
// clang-format on

void TestLevelWindow::unlockFollowsAnyLock()
{
    QFETCH(QString, name);
    QFETCH(bool, disable);
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    QTRY_VERIFY_WITH_TIMEOUT(!named<QTimer>(form2, "Timer2")->isActive(), 2000);
    auto *control = form2.findChild<QWidget *>(name);
    QVERIFY(control);
    QSignalSpy ticks(named<QTimer>(form2, "Timer2"), &QTimer::timeout);

    if (disable)
        control->setEnabled(false);
    else
        control->setVisible(true);
    QVERIFY(named<QTimer>(form2, "Timer2")->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(ticks.count(), 1, 2000);
    QCOMPARE(control->isEnabled(), true);
    QCOMPARE(control->isHidden(), !disable);
    QVERIFY(!named<QTimer>(form2, "Timer2")->isActive());
}

void TestLevelWindow::lockOfOtherControlsWakesNothing()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    QTRY_VERIFY_WITH_TIMEOUT(!named<QTimer>(form2, "Timer2")->isActive(), 2000);
    // Write, the resolution box and the blocking distance are not the tick's.
    for (const char *name : {"Command4", "Combo5", "Text7", "Text13"}) {
        auto *control = form2.findChild<QWidget *>(QLatin1String(name));
        QVERIFY(control);
        control->setEnabled(true);
    }
    QVERIFY(!named<QTimer>(form2, "Timer2")->isActive());
    for (const char *name : {"Command4", "Combo5", "Text7"})
        form2.findChild<QWidget *>(QLatin1String(name))->setEnabled(false);
    named<QPushButton>(form2, "Command2")->setVisible(true); // RUN: load hides it, the tick leaves it
    QVERIFY(!named<QTimer>(form2, "Timer2")->isActive());
}

void TestLevelWindow::unaskedCharactersRestartUnlock()
{
    ScriptedLink link;
    QVERIFY(link.open(PortId{1, {}}, QStringLiteral("9600,n,8,1")));
    SensorSession session(link);
    LevelWindow form2(session);
    QTRY_VERIFY_WITH_TIMEOUT(!named<QTimer>(form2, "Timer2")->isActive(), 2000);
    QSignalSpy ticks(named<QTimer>(form2, "Timer2"), &QTimer::timeout);

    link.arrive("R00250cm025\r\n");
    QVERIFY(!named<QPushButton>(form2, "Command5")->isEnabled());
    QVERIFY(named<QTimer>(form2, "Timer2")->isActive());
    // More characters before the tick push it back to a whole interval.
    QTest::qWait(LevelWindow::kTimer2IntervalMs / 2);
    const int left = named<QTimer>(form2, "Timer2")->remainingTime();
    link.arrive("R00250cm025\r\n");
    QVERIFY(named<QTimer>(form2, "Timer2")->isActive());
    QVERIFY2(named<QTimer>(form2, "Timer2")->remainingTime() > left, qPrintable(QString::number(left)));
    QVERIFY(!named<QPushButton>(form2, "Command5")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(named<QPushButton>(form2, "Command5")->isEnabled(), 2000);
    QVERIFY(ticks.count() >= 1);
    QVERIFY(form2.runBanner()[0]->isHidden());
    QVERIFY(!named<QTimer>(form2, "Timer2")->isActive());
}

// clang-format off
void TestLevelWindow::label29CaptionChange_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("changes");
    QTest::newRow("first caption") << "" << "<300 Cm" << 1;
    QTest::newRow("same caption") << "<300 Cm" << "<300 Cm" << 0;
    QTest::newRow("other unit") << "<300 Cm" << "<3000 mm" << 1;
    QTest::newRow("letter case") << "<300 Cm" << "<300 cm" << 1;
    QTest::newRow("cleared") << "<280 cm" << "" << 1;
    QTest::newRow("still empty") << "" << "" << 0;
}
// clang-format on

void TestLevelWindow::label29CaptionChange()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, changes);
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    QCOMPARE(named<QLabel>(form2, "Label29")->text(), QString());
    form2.setEmptyRangeCaption(first);
    QCOMPARE(named<QLabel>(form2, "Label29")->text(), first);

    QSignalSpy changed(&form2, &LevelWindow::emptyRangeCaptionChanged);
    QString seenAtSignal;
    connect(&form2, &LevelWindow::emptyRangeCaptionChanged, this,
            [&] { seenAtSignal = named<QLabel>(form2, "Label29")->text(); });
    form2.setEmptyRangeCaption(second);
    QCOMPARE(changed.count(), changes);
    QCOMPARE(named<QLabel>(form2, "Label29")->text(), second);
    // The handler sees the new caption already in place.
    if (changes)
        QCOMPARE(seenAtSignal, second);
}

void TestLevelWindow::buttonsRunHandlers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("handler");
    QTest::newRow("Read") << "Command5" << 0;
    QTest::newRow("Get Level") << "Command1" << 1;
    QTest::newRow("RUN") << "Command2" << 2;
    QTest::newRow("Write") << "Command4" << 3;
}

void TestLevelWindow::buttonsRunHandlers()
{
    QFETCH(QString, button);
    QFETCH(int, handler);
    using Handler = void (LevelWindow::*)();
    constexpr std::array<Handler, 4> kHandlers = {&LevelWindow::Command5_Click, &LevelWindow::Command1_Click,
                                                  &LevelWindow::Command2_Click, &LevelWindow::Command4_Click};
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    checkButtonWiredOnce(form2, button, kHandlers[std::size_t(handler)]);
}

void TestLevelWindow::unloadClosesPortThenEnds_data()
{
    addWithEndRows();
}

void TestLevelWindow::unloadClosesPortThenEnds()
{
    QFETCH(bool, withEnd);
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    EndWatch watch{0, true};
    RUN_CHECK(closeShownWindowWithPortOpen(form2, link, withEnd, watch));
    QCOMPARE(link.journal(), QStringList{QStringLiteral("close")});
    QVERIFY(!link.isOpen());
    QCOMPARE(watch.ended, withEnd ? 1 : 0);
    if (withEnd)
        QVERIFY(!watch.portOpenAtEnd);
    QVERIFY(!form2.isVisible());
}

void TestLevelWindow::tabVisitsShownControlsAndMarksThem()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    QTRY_VERIFY_WITH_TIMEOUT(named<QPushButton>(form2, "Command5")->isEnabled(), 2000);
    QVERIFY(focusInWindow(form2, named<QComboBox>(form2, "Combo4")));
    const QList<TabStop> walk = tabWalk();
    // The order the window makes them in; hidden and disabled controls, and
    // the placeholders under Low DO and Hi DO, are passed over.
    const QStringList stops = {"Combo4", "Combo3",   "Combo1", "Text13", "Text2",  "Text3",  "Text4",
                               "Text5",  "Command5", "Text8",  "Text9",  "Text16", "Text18", "Command1"};
    QCOMPARE(namesOf(walk), stops);
    QApplication::focusWidget()->clearFocus();
    RUN_CHECK(checkStopsVisiblyFocused(walk));

    // Shift+Tab goes back the same way.
    QVERIFY(focusInWindow(form2, named<QComboBox>(form2, "Combo4")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), named<QPushButton>(form2, "Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), named<QLineEdit>(form2, "Text18"));
}

void TestLevelWindow::enterPressesFocusedButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    for (const char *button : {"Command5", "Command1"}) {
        QTest::addRow("%s, Return", button) << button << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::addRow("%s, keypad Enter", button) << button << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::addRow("%s, Space", button) << button << int(Qt::Key_Space) << int(Qt::NoModifier);
    }
}

void TestLevelWindow::enterPressesFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    ScriptedLink link;
    QVERIFY(link.open(PortId{1, {}}, QStringLiteral("9600,n,8,1")));
    SensorSession session(link);
    LevelWindow form2(session);
    QTRY_VERIFY_WITH_TIMEOUT(named<QPushButton>(form2, "Command5")->isEnabled(), 2000);
    auto *pressed = form2.findChild<QPushButton *>(button);
    QVERIFY(pressed);
    QSignalSpy clicked(pressed, &QPushButton::clicked);
    QVERIFY(focusInWindow(form2, pressed));
    link.clearJournal();
    QTest::keyClick(pressed, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicked.count(), 1);
    // Its handler asked the sensor (no answer comes: a message says so).
    QVERIFY(!link.sent().isEmpty());
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(top))
            top->close();
    }
}

QTEST_MAIN(TestLevelWindow)
#include "tst_levelwindow.moc"
