// The distance-sensor window: its controls, pictures, load and unload.
#include "distancewindow.h"
#include "findcontrol.h"
#include "fonts.h"
#include "keyboardtesting.h"
#include "scriptedlink.h"
#include "session/sensorsession.h"
#include "windowtesting.h"

#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <array>

using namespace veltra;

namespace {

const QList<int> kWorkingFields = {1, 18, 22, 25, 24, 23, 21, 26, 2, 3, 5, 10, 11, 12, 14, 15, 17, 19, 20};
const QList<int> kShownTexts = {4, 7, 13, 16};
const QList<int> kLabels = {3, 8, 9, 10, 11, 14, 18, 19, 27, 31, 32};

} // namespace

class TestDistanceWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void window();
    void controls_data();
    void controls();
    void everyControlIsListed();
    void captionsFit();
    void workingFields_data();
    void workingFields();
    void accessors_data();
    void accessors();
    void namedAccessors();
    void lines_data();
    void lines();
    void pictures();
    void onSensorPicture_data();
    void onSensorPicture();
    void sensorPictureKeepsCaptionReadable();
    void shownWindowKeepsHiddenFieldsHidden();
    void modelBoxShowsAnyModelText_data();
    void modelBoxShowsAnyModelText();
    void listsFilledWithoutPicking();
    void handshakeRateShowsInBaudBox();

    void buttonsRunHandlers_data();
    void buttonsRunHandlers();
    void unloadEndsWithoutClosingPort_data();
    void unloadEndsWithoutClosingPort();

    void tabVisitsShownControlsAndMarksThem();
    void enterPressesFocusedButton_data();
    void enterPressesFocusedButton();
};

void TestDistanceWindow::initTestCase()
{
    ui::installFontSubstitutions();
}

void TestDistanceWindow::window()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    QCOMPARE(form6.objectName(), QStringLiteral("Form6"));
    RUN_CHECK(checkFixedWindow(form6, QStringLiteral("Program DVZ"), QSize(12600 / 15, 6255 / 15)));
    QVERIFY(!form6.isVisible());
    QCOMPARE(&form6.session(), &session);
    QVERIFY(form6.metaObject()->indexOfSignal("writeStarted()") >= 0);
}

void TestDistanceWindow::controls_data()
{
    addControlColumns();

    const int both = Shown | Enabled;
    const int disabled = Shown;
    const QString sans = QStringLiteral("MS Sans Serif");
    const QString bodoni = QStringLiteral("Bodoni MT Black");
    const int normal = QFont::Normal;
    const int bold = QFont::Bold;
    const auto row = addControlRow;
    auto label = [&](const char *name, const QString &text, QRect geometry) {
        row(name, "QLabel", text, geometry, both, sans, 9.75, bold);
    };
    auto box = [&](const char *name, const char *kind, QRect geometry, int state) {
        row(name, kind, QString(), geometry, state, sans, 8, normal);
    };
    auto button = [&](const char *name, const char *text, QRect geometry, int state) {
        row(name, "QPushButton", text, geometry, state, sans, 8.25, bold);
    };

    // Left panel; pictures have no font of their own to check.
    row("Image1", "QLabel", "", fromTwips(0, 0, 4755, 5025), both, {}, 0, 0);
    row("Label3", "QLabel", "Veltra", fromTwips(2040, 5280, 615, 255), both, bodoni, 12, 900);
    row("Label8", "QLabel", "info@veltra.example", fromTwips(1200, 5640, 2415, 255), both, sans, 8, normal);
    row("Label9", "QLabel", "VELTRA", fromTwips(960, 5880, 2775, 255), both, bodoni, 8.25, 900);

    // Settings.
    label("Label10", "Baud Rate", fromTwips(7920, 360, 1215, 255));
    box("Combo1", "QComboBox", fromTwips(9480, 360, 1215, 315), both);
    label("Label18", "Slave Address", fromTwips(7680, 940, 1575, 255));
    label("Label19", "1 to 247", fromTwips(8040, 1180, 1095, 255));
    box("Text13", "QLineEdit", fromTwips(9480, 960, 1215, 375), both);
    label("Label31", "OGR", fromTwips(8160, 1710, 495, 255));
    box("Combo3", "QComboBox", fromTwips(9480, 1680, 1575, 315), both);
    label("Label11", "Switch", fromTwips(8100, 2250, 855, 255));
    label("Label32", "60 to 600", fromTwips(7980, 2500, 1095, 255));
    box("Text4", "QLineEdit", fromTwips(9480, 2280, 1215, 375), both);

    // The sensor picture and the display-only fields on it.
    row("Image3", "QLabel", "", fromTwips(5520, 1680, 1995, 2400), both, {}, 0, 0);
    box("Combo2", "QComboBox", fromTwips(5760, 2280, 1575, 315), disabled);
    label("Label14", "BD", fromTwips(6360, 2880, 375, 255));
    box("Text7", "QLineEdit", fromTwips(5760, 3480, 1455, 375), disabled);

    // Only Read is usable until a read.
    button("Command5", "Read", fromTwips(9000, 3560, 975, 495), both);
    button("Command4", "write", fromTwips(10080, 3560, 975, 495), disabled);

    // Measurement.
    row("Label27", "QLabel", "Distance", fromTwips(5640, 5520, 1095, 255), both, "Arial Narrow", 12, bold);
    box("Text16", "QLineEdit", fromTwips(6720, 5520, 1095, 375), both);
    button("Command1", "Get Distance", fromTwips(9360, 5400, 1455, 495), disabled);
}

void TestDistanceWindow::controls()
{
    QFETCH(QString, name);
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    // The window fills its lists without picking an item
    // (listsFilledWithoutPicking checks their items).
    if (auto *box = form6.findChild<QComboBox *>(name, Qt::FindDirectChildrenOnly))
        QVERIFY(box->count() > 0);
    checkControlRow(form6);
}

void TestDistanceWindow::everyControlIsListed()
{
    // The controls table above, the working fields and the two lines are the
    // whole window: nothing left over, nothing named twice.
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    checkChildrenNamedOnce(form6, 23 + kWorkingFields.size() + 2);
}

void TestDistanceWindow::captionsFit()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    checkCaptionsFit(form6, kLabels.size());
}

void TestDistanceWindow::workingFields_data()
{
    QTest::addColumn<int>("number");
    for (int n : kWorkingFields)
        QTest::addRow("Text%d", n) << n;
}

void TestDistanceWindow::workingFields()
{
    QFETCH(int, number);
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    checkWorkingField(form6, number, QString());
}

void TestDistanceWindow::accessors_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("exists");

    for (int n = -1; n <= DistanceWindow::kTextCount + 2; ++n)
        QTest::addRow("Text%d", n) << "Text" << n << (kWorkingFields.contains(n) || kShownTexts.contains(n));
    for (int n = -1; n <= DistanceWindow::kLabelCount + 2; ++n)
        QTest::addRow("Label%d", n) << "Label" << n << kLabels.contains(n);
    for (int n = -1; n <= 5; ++n)
        QTest::addRow("Combo%d", n) << "Combo" << n << (n >= 1 && n <= 3);
    for (int n = -1; n <= 7; ++n)
        QTest::addRow("Command%d", n) << "Command" << n << (n == 1 || n == 4 || n == 5);
}

void TestDistanceWindow::accessors()
{
    QFETCH(QString, kind);
    QFETCH(int, number);
    QFETCH(bool, exists);

    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    RUN_CHECK(checkNumberedControl(form6, kind, number, exists));
    if (kind == QLatin1String("Text") && exists)
        QCOMPARE(DistanceWindow::isWorkingField(number),
                 named<QLineEdit>(form6, QStringLiteral("Text%1").arg(number))->isHidden());
}

void TestDistanceWindow::namedAccessors()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    QCOMPARE(named<QComboBox>(form6, "Combo1"), named<QComboBox>(form6, "Combo1"));
    QCOMPARE(named<QComboBox>(form6, "Combo2"), named<QComboBox>(form6, "Combo2"));
    QCOMPARE(named<QComboBox>(form6, "Combo3"), named<QComboBox>(form6, "Combo3"));
    QCOMPARE(named<QPushButton>(form6, "Command1"), named<QPushButton>(form6, "Command1"));
    QCOMPARE(named<QPushButton>(form6, "Command4"), named<QPushButton>(form6, "Command4"));
    QCOMPARE(named<QPushButton>(form6, "Command5"), named<QPushButton>(form6, "Command5"));
    QCOMPARE(named<QLineEdit>(form6, "Text1"), named<QLineEdit>(form6, "Text1"));
    QCOMPARE(named<QLabel>(form6, "Image1"), form6.findChild<QLabel *>("Image1"));
    QCOMPARE(named<QLabel>(form6, "Image3"), form6.findChild<QLabel *>("Image3"));
    QCOMPARE(named<QFrame>(form6, "Line2"), form6.findChild<QFrame *>("Line2"));
    QCOMPARE(named<QFrame>(form6, "Line3"), form6.findChild<QFrame *>("Line3"));
}

void TestDistanceWindow::lines_data()
{
    addLineColumns();
    // Two pixels thick, from the first point to the last pixel of the second.
    QTest::newRow("Line2") << "Line2" << int(QFrame::VLine) << QRect(320, 0, 2, 336 + 1);
    QTest::newRow("Line3") << "Line3" << int(QFrame::HLine) << QRect(0, 336, 776 + 1, 2);
}

void TestDistanceWindow::lines()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    checkLineRow(form6);
}

void TestDistanceWindow::pictures()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    // Made hidden at start-up, the window holds no picture until it is drawn.
    QVERIFY(named<QLabel>(form6, "Image1")->pixmap().isNull());
    QVERIFY(named<QLabel>(form6, "Image3")->pixmap().isNull());
    form6.ensurePolished();
    for (QLabel *image : {named<QLabel>(form6, "Image1"), named<QLabel>(form6, "Image3")}) {
        const QPixmap picture = image->pixmap();
        QVERIFY2(!picture.isNull(), qPrintable(image->objectName()));
        // Drawn for its frame: nothing cut off, nothing left empty.
        QCOMPARE(picture.size(), image->size());
    }
    // The product picture stays left of the panel's line.
    QVERIFY(named<QLabel>(form6, "Image1")->geometry().right() < named<QFrame>(form6, "Line2")->x());
}

void TestDistanceWindow::onSensorPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Combo2") << "Combo2";
    QTest::newRow("Label14") << "Label14";
    QTest::newRow("Text7") << "Text7";
}

void TestDistanceWindow::onSensorPicture()
{
    QFETCH(QString, name);
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    auto *control = form6.findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(control);
    QLabel *image3 = named<QLabel>(form6, "Image3");
    QVERIFY(image3->geometry().contains(control->geometry()));
    // Later siblings are drawn on top.
    const QObjectList children = form6.children();
    QVERIFY(children.indexOf(image3) < children.indexOf(control));
    QCOMPARE(frontChildAt(&form6, control->geometry().center()), control);
}

void TestDistanceWindow::sensorPictureKeepsCaptionReadable()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    form6.ensurePolished();
    QLabel *bd = named<QLabel>(form6, "Label14");
    const QRect area = bd->geometry();

    // The picture is light where the caption lies on it...
    const QImage picture = named<QLabel>(form6, "Image3")->pixmap().toImage();
    const QRect onPicture = area.translated(-named<QLabel>(form6, "Image3")->pos());
    for (int y = onPicture.top(); y <= onPicture.bottom(); ++y) {
        for (int x = onPicture.left(); x <= onPicture.right(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            QVERIFY2(c.alpha() == 255 && c.lightness() >= 200, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
    // ...and the dark caption is drawn over it.
    const QImage shot = form6.grab(area).toImage();
    int dark = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x)
            dark += shot.pixelColor(x, y).lightness() < 100 ? 1 : 0;
    }
    QVERIFY2(dark >= 10, qPrintable(QString::number(dark)));
}

void TestDistanceWindow::shownWindowKeepsHiddenFieldsHidden()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    form6.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form6));
    for (int n : kWorkingFields)
        QVERIFY2(!named<QLineEdit>(form6, QStringLiteral("Text%1").arg(n))->isVisible(),
                 qPrintable(named<QLineEdit>(form6, QStringLiteral("Text%1").arg(n))->objectName()));
    for (int n : kShownTexts)
        QVERIFY2(named<QLineEdit>(form6, QStringLiteral("Text%1").arg(n))->isVisible(),
                 qPrintable(named<QLineEdit>(form6, QStringLiteral("Text%1").arg(n))->objectName()));
    // Only Read can be pressed when the window first shows.
    QVERIFY(named<QPushButton>(form6, "Command5")->isEnabled());
    QVERIFY(!named<QPushButton>(form6, "Command4")->isEnabled());
    QVERIFY(!named<QPushButton>(form6, "Command1")->isEnabled());
    QVERIFY(!named<QComboBox>(form6, "Combo2")->isEnabled());
}

void TestDistanceWindow::modelBoxShowsAnyModelText_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("index");
    QTest::newRow("listed model") << "DVZ-900" << 0;
    QTest::newRow("unknown model") << "NON" << -1;
}

void TestDistanceWindow::modelBoxShowsAnyModelText()
{
    // The list holds only the distance model, yet a read of another model
    // shows "NON"; the operator still cannot type into the box.
    QFETCH(QString, shown);
    QFETCH(int, index);
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    named<QComboBox>(form6, "Combo2")->setCurrentText(shown);
    QCOMPARE(named<QComboBox>(form6, "Combo2")->currentText(), shown);
    QCOMPARE(named<QComboBox>(form6, "Combo2")->findText(shown), index);
    QCOMPARE(named<QComboBox>(form6, "Combo2")->count(), 1);
    QVERIFY(!named<QComboBox>(form6, "Combo2")->isEnabled());
}

void TestDistanceWindow::listsFilledWithoutPicking()
{
    // The window fills its own lists; no item is chosen and no text shown
    // until a handshake or a Read puts one there.
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    const QList<std::pair<QComboBox *, QStringList>> lists = {
        {named<QComboBox>(form6, "Combo1"), {"9600", "19200", "38400", "57600", "115200", "NON"}},
        {named<QComboBox>(form6, "Combo2"), {"DVZ-900"}},
        {named<QComboBox>(form6, "Combo3"), {"High", "Medium", "Low"}},
    };
    for (const auto &[box, items] : lists) {
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        QCOMPARE(shown, items);
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->currentText(), QString());
    }
}

void TestDistanceWindow::handshakeRateShowsInBaudBox()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    emit session.connected(QStringLiteral("57600"));
    QCOMPARE(named<QComboBox>(form6, "Combo1")->currentText(), QStringLiteral("57600"));
    // Nothing else follows the handshake.
    QCOMPARE(named<QComboBox>(form6, "Combo3")->currentIndex(), -1);
    QVERIFY(!named<QPushButton>(form6, "Command4")->isEnabled());
}

void TestDistanceWindow::buttonsRunHandlers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("handler");
    QTest::newRow("Read") << "Command5" << 0;
    QTest::newRow("write") << "Command4" << 1;
    QTest::newRow("Get Distance") << "Command1" << 2;
}

void TestDistanceWindow::buttonsRunHandlers()
{
    QFETCH(QString, button);
    QFETCH(int, handler);
    using Handler = void (DistanceWindow::*)();
    constexpr std::array<Handler, 3> kHandlers
        = {&DistanceWindow::Command5_Click, &DistanceWindow::Command4_Click, &DistanceWindow::Command1_Click};
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    RUN_CHECK(checkButtonWiredOnce(form6, button, kHandlers[std::size_t(handler)]));
    // And to no other handler.
    auto *b = form6.findChild<QPushButton *>(button);
    for (std::size_t i = 0; i < kHandlers.size(); ++i) {
        if (i != std::size_t(handler))
            QVERIFY(!QObject::disconnect(b, &QPushButton::clicked, &form6, kHandlers[i]));
    }
}

void TestDistanceWindow::unloadEndsWithoutClosingPort_data()
{
    addWithEndRows();
}

void TestDistanceWindow::unloadEndsWithoutClosingPort()
{
    QFETCH(bool, withEnd);
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    EndWatch watch{0, false};
    RUN_CHECK(closeShownWindowWithPortOpen(form6, link, withEnd, watch));
    // Ending the process releases the port; the window leaves it alone.
    QVERIFY(link.journal().isEmpty());
    QVERIFY(link.isOpen());
    QCOMPARE(watch.ended, withEnd ? 1 : 0);
    if (withEnd)
        QVERIFY(watch.portOpenAtEnd);
    QVERIFY(!form6.isVisible());
}

void TestDistanceWindow::tabVisitsShownControlsAndMarksThem()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow form6(session);
    QVERIFY(focusInWindow(form6, named<QComboBox>(form6, "Combo1")));
    const QList<TabStop> walk = tabWalk();
    // The order the window makes them in; the model plate, write and Get
    // Distance (usable after a read) are passed over.
    QCOMPARE(namesOf(walk), (QStringList{"Combo1", "Text13", "Combo3", "Text4", "Command5", "Text16"}));
    QApplication::focusWidget()->clearFocus();
    RUN_CHECK(checkStopsVisiblyFocused(walk));
}

void TestDistanceWindow::enterPressesFocusedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier);
}

void TestDistanceWindow::enterPressesFocusedButton()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    ScriptedLink link;
    QVERIFY(link.open(PortId{1, {}}, QStringLiteral("9600,n,8,1")));
    SensorSession session(link);
    DistanceWindow form6(session);
    QSignalSpy clicked(named<QPushButton>(form6, "Command5"), &QPushButton::clicked);
    QVERIFY(focusInWindow(form6, named<QPushButton>(form6, "Command5")));
    link.clearJournal();
    QTest::keyClick(named<QPushButton>(form6, "Command5"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicked.count(), 1);
    // Read asked the sensor (no answer comes: a message says so).
    QVERIFY(!link.sent().isEmpty());
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(top))
            top->close();
    }
    // Return in a field is the field's: nothing is pressed.
    QVERIFY(focusInWindow(form6, named<QLineEdit>(form6, "Text13")));
    QTest::keyClick(named<QLineEdit>(form6, "Text13"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(TestDistanceWindow)
#include "tst_distancewindow.moc"
