// Window layouts, texts, fonts and the small windows' behaviour.
#include "connectednotice.h"
#include "distancewindow.h"
#include "failurenotice.h"
#include "findcontrol.h"
#include "fonts.h"
#include "keyboardtesting.h"
#include "levelwindow.h"
#include "modelnames.h"
#include "portmap.h"
#include "program.h"
#include "progresswindow.h"
#include "runnotice.h"
#include "scriptedlink.h"
#include "session/sensorsession.h"
#include "startwindow.h"
#include "startwindow_port.h"
#include "twips.h"
#include "unitnotice.h"
#include "windowtesting.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QMenuBar>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <memory>

using namespace veltra;

namespace {

const QStringList kBauds = {"9600", "19200", "38400", "57600", "115200", "NON"};
const QStringList kOgr = {"High", "Medium", "Low"};
const QStringList kOmb = {"Wide", "Widish", "Narrow"};
const QStringList kResolution = {"Cm", "mm"};

// Persian texts, written as code points so no editor can reshape them.
const QString kCmChanged = QString::fromUtf16(
    u"\u062A\u0648\u062C\u0647 \u0631\u0632\u0648\u0644\u0648\u0634\u0646 \u0633\u0646\u0633\u0648\u0631 \u0628\u0647 "
    u"\u0633\u0627\u0646\u062A\u064A\u0645\u062A\u0631\u062A\u063A\u064A\u064A\u0631 \u064A\u0627\u0641\u062A");
const QString kCmChangeAll
    = QString::fromUtf16(u"\u062D\u062A\u0645\u0627 \u062A\u0645\u0627\u0645 \u0627\u0646\u062F\u0627\u0632\u0647 "
                         u"\u0647\u0627 \u0631\u0627 \u0628\u0647 \u0633\u0627\u0646\u062A\u064A\u0645\u062A\u0631 "
                         u"\u062A\u063A\u064A\u064A\u0631 \u062F\u0647\u064A\u062F");
const QString kMmChanged = QString::fromUtf16(
    u"\u062A\u0648\u062C\u0647 \u0631\u0632\u0648\u0644\u0648\u0634\u0646 \u0633\u0646\u0633\u0648\u0631 \u0628\u0647 "
    u"\u0645\u064A\u0644\u064A\u0645\u062A\u0631 \u062A\u063A\u064A\u064A\u0631 \u064A\u0627\u0641\u062A");
const QString kMmChangeAll = QString::fromUtf16(
    u"\u062D\u062A\u0645\u0627 \u062A\u0645\u0627\u0645 \u0627\u0646\u062F\u0627\u0632\u0647 \u0647\u0627 \u0631\u0627 "
    u"\u0628\u0647 \u0645\u064A\u0644\u064A\u0645\u062A\u0631 \u062A\u063A\u064A\u064A\u0631 \u062F\u0647\u064A\u062F");
const QString kPleaseWait
    = QString::fromUtf16(u"\u0686\u0646\u062F \u0644\u062D\u0638\u0647 \u0635\u0628\u0631 \u06A9\u0646\u064A\u062F ");

QStringList items(const QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

// What the mouse resting over control asks: a tooltip event at point (its
// centre by default), passed on to the parents that want it.
void askForTip(QWidget *control, QPoint point = QPoint(-1, -1))
{
    if (point == QPoint(-1, -1))
        point = control->rect().center();
    QHelpEvent help(QEvent::ToolTip, point, control->mapToGlobal(point));
    QApplication::sendEvent(control, &help);
}

// The start window with the windows it leads to, none of them ending the program.
struct StartWindows {
    ScriptedLink link;
    SensorSession session{link};
    LevelWindow form2{session};
    DistanceWindow form6{session};
    ConnectedNotice form4{session, {}};
    FailureNotice form5;
    StartWindow form1{session, {}};
};

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void twipsToPixels_data();
    void twipsToPixels();
    void fontSubstitutions_data();
    void fontSubstitutions();

    void windows_data();
    void windows();
    void controls_data();
    void controls();
    void fonts_data();
    void fonts();
    void persianTexts_data();
    void persianTexts();
    void unitNoticesAreDarkRed_data();
    void unitNoticesAreDarkRed();
    void lines_data();
    void lines();

    void loadFillsLists_data();
    void loadFillsLists();
    void loadFillsListsInOrder();
    void loadDisablesAndHides();
    void portBox();
    void portBoxKeepsTypedTextOutOfList();
    void portBoxHasFocusFirst();
    void portTipFollowsPorts();
    void portTipMadeOnlyWhenAsked();
    void startUpDescribesNoPortsAndMakesTheOtherWindowsHidden();
    void portBoxTakesAnyPort_data();
    void portBoxTakesAnyPort();
    void portBoxStartsAtRememberedPort();
    void foundSensorRemembersPort_data();
    void foundSensorRemembersPort();
    void commandLinePortWinsOverRemembered();
    void startOptions_data();
    void startOptions();
    void programCommandLine_data();
    void programCommandLine();
    void connectButtonRunsHandshake();
    void closingStartWindowClosesPortThenEnds();

    void connectedNotice();
    void closingConnectedNoticeClosesPortThenEnds();

    void failureNoticeLeadsBack_data();
    void failureNoticeLeadsBack();
    void failureReason_data();
    void failureReason();

    void runNoticeEndsProgramAfterTwoSeconds();
    void closingRunNoticeEndsProgramAtOnce();

    void progressBarIsOnlyFocusTaker();
    void progressAnimation();
    void progressIgnoresSecondFocus();

    void enterPressesFocusedButton_data();
    void enterPressesFocusedButton();
    void enterElsewhereKeepsItsMeaning();
    void tabVisitsShownControlsAndMarksThem_data();
    void tabVisitsShownControlsAndMarksThem();
    void persianTextsSayTheirMeaning_data();
    void persianTextsSayTheirMeaning();
    void everyControlHasASpokenName_data();
    void everyControlHasASpokenName();

private:
    QWidget *window(const QString &name) const;
    void checkClosingClosesPortThenEnds(QWidget &window, const QString &lineSettings);

    QTemporaryDir m_portsDir;
    // The user settings of every test: a folder of their own, never the user's.
    QTemporaryDir m_settingsDir;
    std::unique_ptr<ScriptedLink> m_link;
    std::unique_ptr<SensorSession> m_session;
    std::unique_ptr<LevelWindow> m_form2;
    std::unique_ptr<DistanceWindow> m_form6;
    std::unique_ptr<ConnectedNotice> m_form4;
    std::unique_ptr<FailureNotice> m_form5;
    std::unique_ptr<StartWindow> m_form1;
    std::unique_ptr<RunNotice> m_form3;
    std::unique_ptr<UnitNotice> m_form7;
    std::unique_ptr<UnitNotice> m_form8;
    std::unique_ptr<ProgressWindow> m_navar;
    int m_ended = 0;
    bool m_portOpenAtEnd = false;
};

void TestWindows::initTestCase()
{
    QVERIFY(m_portsDir.isValid());
    qputenv("VELTRA_PORTS_DIR", QFile::encodeName(m_portsDir.path()));
    QVERIFY(m_settingsDir.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
    ui::installFontSubstitutions();

    auto end = [this] {
        ++m_ended;
        m_portOpenAtEnd = m_link->isOpen();
    };
    m_link = std::make_unique<ScriptedLink>();
    m_session = std::make_unique<SensorSession>(*m_link);
    m_form2 = std::make_unique<LevelWindow>(*m_session);
    m_form6 = std::make_unique<DistanceWindow>(*m_session);
    m_form4 = std::make_unique<ConnectedNotice>(*m_session, end);
    m_form5 = std::make_unique<FailureNotice>();
    m_form1 = std::make_unique<StartWindow>(*m_session, end);
    m_form3 = std::make_unique<RunNotice>(end);
    m_form7 = std::make_unique<UnitNotice>(UnitNotice::Unit::Centimetre);
    m_form8 = std::make_unique<UnitNotice>(UnitNotice::Unit::Millimetre);
    m_navar = std::make_unique<ProgressWindow>();
}

void TestWindows::cleanupTestCase()
{
    m_navar.reset();
    m_form8.reset();
    m_form7.reset();
    m_form3.reset();
    m_form1.reset();
    m_form5.reset();
    m_form4.reset();
    m_form6.reset();
    m_form2.reset();
    m_session.reset();
    m_link.reset();
}

// Closing window with the port open at lineSettings closes the port, then
// ends the program.
void TestWindows::checkClosingClosesPortThenEnds(QWidget &window, const QString &lineSettings)
{
    QVERIFY(m_link->open(PortId{1, {}}, lineSettings));
    m_link->clearJournal();
    m_ended = 0;
    m_portOpenAtEnd = true;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(window.close());
    QCOMPARE(m_link->journal(), QStringList{QStringLiteral("close")});
    QCOMPARE(m_ended, 1);
    QVERIFY(!m_portOpenAtEnd);
}

QWidget *TestWindows::window(const QString &name) const
{
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_form1.get(), m_form2.get(), m_form3.get(), m_form4.get(), m_form5.get(),
                                          m_form6.get(), m_form7.get(), m_form8.get(), m_navar.get()}) {
        if (w->objectName() == name)
            return w;
    }
    return nullptr;
}

void TestWindows::twipsToPixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("just under a pixel") << 14 << 0;
    QTest::newRow("fraction cut") << 372 << 24;
    QTest::newRow("start window width") << 5130 << 342;
    QTest::newRow("start window height") << 3585 << 239;
    QTest::newRow("zero") << 0 << 0;
}

void TestWindows::twipsToPixels()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(ui::px(twips), pixels);
    QCOMPARE(ui::toPixels(ui::Twips{twips, 2 * twips, 3 * twips, 4 * twips}),
             QRect(pixels, ui::px(2 * twips), ui::px(3 * twips), ui::px(4 * twips)));
}

void TestWindows::fontSubstitutions_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("substitute");
    QTest::newRow("MS Sans Serif") << "MS Sans Serif" << false << "Liberation Sans";
    QTest::newRow("Arial") << "Arial" << true << "Liberation Sans";
    QTest::newRow("Arial Narrow") << "Arial Narrow" << true << "Liberation Sans Narrow";
    QTest::newRow("Arial Black") << "Arial Black" << false << "DejaVu Sans";
    QTest::newRow("Arial Rounded MT Bold") << "Arial Rounded MT Bold" << false << "DejaVu Sans";
    QTest::newRow("Bodoni MT Black") << "Bodoni MT Black" << false << "DejaVu Serif";
    QTest::newRow("B Titr") << "B Titr" << true << "Titr";
    QTest::newRow("B Nazanin") << "B Nazanin" << true << "Nazli";
    QTest::newRow("B Lotus") << "B Lotus" << false << "Homa";
}

void TestWindows::fontSubstitutions()
{
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(QString, substitute);
    QVERIFY(QFont::substitutes(family).contains(substitute, Qt::CaseInsensitive));
    if (!QFontDatabase::hasFamily(substitute))
        QSKIP("substitute font not installed");
    const QFontInfo used(ui::font(family, 12, bold));
    QCOMPARE(used.family(), substitute);
    // Heavy designer faces must come out heavy from their stand-ins.
    if (bold || family.contains(QLatin1String("Black")) || family.contains(QLatin1String("Bold")))
        QVERIFY(used.bold());
}

// clang-format off
void TestWindows::windows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("clientSize");
    QTest::newRow("Form1") << "Form1" << "Ultrasonic Sensor Program V7" << QSize(5130 / 15, 3585 / 15);
    QTest::newRow("form2") << "form2" << "Ultraonic Sensor Program V7" << QSize(12270 / 15, 7245 / 15);
    QTest::newRow("Form3") << "Form3" << "!!" << QSize(4200 / 15, 1125 / 15);
    QTest::newRow("Form4") << "Form4" << "Attention!!" << QSize(5400 / 15, 2490 / 15);
    QTest::newRow("Form5") << "Form5" << "Attention!!" << QSize(5085 / 15, 2175 / 15);
    QTest::newRow("Form6") << "Form6" << "Program DVZ" << QSize(12600 / 15, 6255 / 15);
    QTest::newRow("Form7") << "Form7" << "!!!" << QSize(5970 / 15, 2280 / 15);
    QTest::newRow("Form8") << "Form8" << "!!!" << QSize(5400 / 15, 2280 / 15);
    QTest::newRow("navar") << "navar" << "" << QSize(4035 / 15, 2385 / 15);
}
// clang-format on

void TestWindows::windows()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QSize, clientSize);
    QWidget *w = window(name);
    QVERIFY(w);
    RUN_CHECK(checkFixedWindow(*w, title, clientSize));
    QCOMPARE(w->windowModality(), Qt::NonModal);
    QVERIFY(!w->testAttribute(Qt::WA_DeleteOnClose));
}

void TestWindows::controls_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");

    auto row = [](const char *window, const char *control, const char *kind, const QString &text, QRect geometry) {
        QTest::addRow("%s %s", window, control) << window << control << kind << text << geometry;
    };
    row("Form1", "Label1", "QLabel", "Ultrasonic Sensor Modbus Program", fromTwips(480, 240, 4092, 372));
    row("Form1", "Label2", "QLabel", "Enter com port", fromTwips(960, 1080, 1572, 252));
    row("Form1", "Combo1", "QComboBox", "1", fromTwips(2640, 1080, 975, 288));
    row("Form1", "Command1", "QPushButton", "Set com port", fromTwips(1560, 1680, 1575, 375));
    row("Form1", "Label3", "QLabel", "Veltra co.", fromTwips(1320, 2640, 2052, 252));
    row("Form1", "Label4", "QLabel", "veltra.example", fromTwips(1800, 2880, 1092, 252));
    row("Form1", "Label5", "QLabel", "Version  V7", fromTwips(1920, 3120, 852, 252));

    row("Form4", "Label1", "QLabel", "Connect Successfully !!", fromTwips(1080, 120, 3255, 375));
    row("Form4", "Label10", "QLabel", "Baud Rate", fromTwips(1320, 960, 1215, 255));
    row("Form4", "Combo1", "QComboBox", "", fromTwips(2760, 960, 1215, 315));
    row("Form4", "Command5", "QPushButton", "OK", fromTwips(2160, 1680, 975, 495));

    row("Form5", "Label1", "QLabel", "Connect Not Successfully !!", fromTwips(600, 240, 3855, 375));
    row("Form5", "LabelReason", "QLabel", "", fromTwips(240, 660, 4605, 400));
    row("Form5", "Command5", "QPushButton", "Close", fromTwips(2040, 1080, 975, 495));

    // One line, right to left: Label1, Label5, Label2, Label6.
    row("Form3", "Label1", "QLabel", kSensorInState, fromTwips(2280, 360, 1575, 375));
    row("Form3", "Label5", "QLabel", "RUN", fromTwips(1680, 440, 615, 255));
    row("Form3", "Label2", "QLabel", kWasPut, fromTwips(720, 360, 975, 375));
    row("Form3", "Label6", "QLabel", "!", fromTwips(600, 340, 135, 375));

    row("Form7", "Label2", "QLabel", kCmChanged, fromTwips(1200, 240, 3975, 495));
    row("Form7", "Label3", "QLabel", kCmChangeAll, fromTwips(1150, 1080, 3855, 495));
    row("Form8", "Label1", "QLabel", kMmChanged, fromTwips(840, 240, 3975, 495));
    row("Form8", "Label2", "QLabel", kMmChangeAll, fromTwips(820, 1080, 3855, 495));

    row("navar", "Label1", "QLabel", kPleaseWait, fromTwips(1200, 360, 1575, 375));
    row("navar", "XP_ProgressBar1", "QProgressBar", "", fromTwips(840, 1080, 2295, 615));

    // The start window's load leaves these boxes empty: filling a list picks nothing.
    row("form2", "Combo1", "QComboBox", "", fromTwips(10080, 480, 1215, 315));
    row("form2", "Combo2", "QComboBox", "", fromTwips(5880, 2640, 1575, 315));
    row("form2", "Combo3", "QComboBox", "", fromTwips(5880, 1080, 1575, 315));
    row("form2", "Combo4", "QComboBox", "", fromTwips(5880, 480, 1575, 315));
    row("form2", "Combo5", "QComboBox", "", fromTwips(5880, 1680, 1575, 315));
    row("form2", "Command1", "QPushButton", "Get Level", fromTwips(10080, 6120, 1455, 495));
    row("form2", "Text28", "QLineEdit", "", fromTwips(8160, 6000, 1095, 375));
    row("form2", "Text7", "QLineEdit", "", fromTwips(5880, 3840, 1572, 315));
    row("Form6", "Combo1", "QComboBox", "", fromTwips(9480, 360, 1215, 315));
    row("Form6", "Combo2", "QComboBox", "", fromTwips(5760, 2280, 1575, 315));
    row("Form6", "Combo3", "QComboBox", "", fromTwips(9480, 1680, 1575, 315));
}

void TestWindows::controls()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QWidget *w = this->window(window);
    QVERIFY(w);
    auto *c = w->findChild<QWidget *>(control, Qt::FindDirectChildrenOnly);
    QVERIFY2(c, qPrintable(control));
    QVERIFY(c->inherits(qPrintable(kind)));
    QCOMPARE(clientGeometry(*c), geometry);
    if (!qobject_cast<QProgressBar *>(c))
        QCOMPARE(textOf(c), text);
    QVERIFY(QRect(QPoint(0, 0), w->size()).contains(c->geometry()));
}

void TestWindows::fonts_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<int>("weight");

    const int normal = QFont::Normal;
    const int bold = QFont::Bold;
    const int black = QFont::Black;
    auto row = [](const char *window, const char *control, const char *family, qreal size, int weight) {
        QTest::addRow("%s %s", window, control) << window << control << family << size << weight;
    };
    row("Form1", "Label1", "Arial", 12, bold);
    row("Form1", "Label2", "MS Sans Serif", 9.75, bold);
    row("Form1", "Combo1", "MS Sans Serif", 8, normal);
    row("Form1", "Command1", "MS Sans Serif", 8, normal);
    row("Form1", "Label3", "MS Sans Serif", 8, normal);
    row("Form1", "Label4", "MS Sans Serif", 8, normal);
    row("Form1", "Label5", "MS Sans Serif", 8, normal);
    // The rounded face is heavy by design.
    row("Form4", "Label1", "Arial Rounded MT Bold", 12, bold);
    row("Form4", "Label10", "MS Sans Serif", 9.75, bold);
    row("Form4", "Combo1", "MS Sans Serif", 8, normal);
    row("Form4", "Command5", "MS Sans Serif", 8, normal);
    row("Form5", "Label1", "Arial Rounded MT Bold", 12, bold);
    row("Form5", "LabelReason", "MS Sans Serif", 8, normal);
    row("Form5", "Command5", "MS Sans Serif", 8, normal);
    row("Form3", "Label1", "B Nazanin", 12, bold);
    row("Form3", "Label5", "Arial Black", 9.75, black);
    row("Form3", "Label2", "B Nazanin", 12, bold);
    row("Form3", "Label6", "B Titr", 12, bold);
    row("Form7", "Label2", "B Titr", 12, bold);
    row("Form7", "Label3", "B Titr", 12, bold);
    row("Form8", "Label1", "B Titr", 12, bold);
    row("Form8", "Label2", "B Titr", 12, bold);
    row("navar", "Label1", "B Lotus", 12, normal);
    row("form2", "Command1", "MS Sans Serif", 8.25, bold);
    row("form2", "Combo2", "MS Sans Serif", 8, normal);
    row("Form6", "Combo1", "MS Sans Serif", 8, normal);
}

void TestWindows::fonts()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, family);
    QFETCH(qreal, pointSize);
    QFETCH(int, weight);
    QWidget *w = this->window(window);
    QVERIFY(w);
    auto *c = w->findChild<QWidget *>(control);
    QVERIFY(c);
    checkFont(*c, family, pointSize, weight);
}

// clang-format off
void TestWindows::persianTexts_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("Form3 Label1") << "Form3" << "Label1" << kSensorInState;
    QTest::newRow("Form3 Label2") << "Form3" << "Label2" << kWasPut;
    QTest::newRow("Form3 Label6") << "Form3" << "Label6" << "!";
    QTest::newRow("Form7 Label2") << "Form7" << "Label2" << kCmChanged;
    QTest::newRow("Form7 Label3") << "Form7" << "Label3" << kCmChangeAll;
    QTest::newRow("Form8 Label1") << "Form8" << "Label1" << kMmChanged;
    QTest::newRow("Form8 Label2") << "Form8" << "Label2" << kMmChangeAll;
    QTest::newRow("navar Label1") << "navar" << "Label1" << kPleaseWait;
}
// clang-format on

void TestWindows::persianTexts()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, text);
    QWidget *w = this->window(window);
    QVERIFY(w);
    auto *label = w->findChild<QLabel *>(control);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->text().size(), text.size());
    checkReadsFromTheRight(*label);
}

// clang-format off
void TestWindows::unitNoticesAreDarkRed_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::newRow("Form7 Label2") << "Form7" << "Label2";
    QTest::newRow("Form7 Label3") << "Form7" << "Label3";
    QTest::newRow("Form8 Label1") << "Form8" << "Label1";
    QTest::newRow("Form8 Label2") << "Form8" << "Label2";
}
// clang-format on

void TestWindows::unitNoticesAreDarkRed()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    auto *label = this->window(window)->findChild<QLabel *>(control);
    QVERIFY(label);
    const QColor colour = label->palette().color(QPalette::WindowText);
    QCOMPARE(colour, QColor(128, 0, 0)); // dark red
    QVERIFY(colour.red() > 100 && colour.green() == 0 && colour.blue() == 0);
}

void TestWindows::lines_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Line1") << "Line1" << QRect(719 / 15, 839 / 15, 3955 / 15 - 719 / 15 + 1, 1);
    QTest::newRow("Line2") << "Line2" << QRect(719 / 15, 2518 / 15, 3955 / 15 - 719 / 15 + 1, 1);
}

void TestWindows::lines()
{
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    auto *line = m_form1->findChild<QFrame *>(control);
    QVERIFY(line);
    QCOMPARE(line->frameShape(), QFrame::HLine);
    QCOMPARE(clientGeometry(*line), geometry);
}

// clang-format off
void TestWindows::loadFillsLists_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("level baud") << "form2" << "Combo1" << kBauds;
    QTest::newRow("distance baud") << "Form6" << "Combo1" << kBauds;
    QTest::newRow("level model") << "form2" << "Combo2" << (kModelNames + QStringList{"NON"});
    QTest::newRow("distance model") << "Form6" << "Combo2" << QStringList{"DVZ-900"};
    QTest::newRow("distance OGR") << "Form6" << "Combo3" << kOgr;
    QTest::newRow("level OGR") << "form2" << "Combo3" << kOgr;
    QTest::newRow("level OMB") << "form2" << "Combo4" << kOmb;
    QTest::newRow("level resolution") << "form2" << "Combo5" << kResolution;
}
// clang-format on

void TestWindows::loadFillsLists()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(QStringList, expected);
    auto *combo = this->window(window)->findChild<QComboBox *>(box);
    QVERIFY(combo);
    QCOMPARE(items(combo), expected);
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->currentText(), QString());
}

void TestWindows::loadFillsListsInOrder()
{
    // Each settings window fills its own lists when it is made, in the
    // designer's order, with no start window around.
    QCOMPARE(kModelNames.size(), 61);
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow form2(session);
    DistanceWindow form6(session);

    const struct {
        QComboBox *box;
        QStringList expected;
    } lists[] = {
        {named<QComboBox>(form2, "Combo1"), kBauds},
        {named<QComboBox>(form6, "Combo1"), kBauds},
        {named<QComboBox>(form2, "Combo2"), kModelNames + QStringList{"NON"}},
        {named<QComboBox>(form6, "Combo2"), {"DVZ-900"}},
        {named<QComboBox>(form6, "Combo3"), kOgr},
        {named<QComboBox>(form2, "Combo3"), kOgr},
        {named<QComboBox>(form2, "Combo4"), kOmb},
        {named<QComboBox>(form2, "Combo5"), kResolution},
    };
    for (const auto &list : lists) {
        QCOMPARE(items(list.box), list.expected);
        QCOMPARE(list.box->currentIndex(), -1);
        QCOMPARE(list.box->currentText(), QString());
    }
    QVERIFY(!link.isOpen());
    QVERIFY(link.journal().isEmpty());
}

void TestWindows::loadDisablesAndHides()
{
    QVERIFY(!named<QPushButton>(m_form2, "Command1")->isEnabled());
    QVERIFY(named<QLineEdit>(m_form2, "Text28")->isHidden());
    QVERIFY(!named<QLineEdit>(m_form2, "Text7")->isEnabled());
    QVERIFY(named<QLineEdit>(m_form2, "Text1")->isHidden());
    QVERIFY(named<QLineEdit>(m_form2, "Text26")->isHidden());
    QVERIFY(named<QLineEdit>(m_form6, "Text1")->isHidden());
    QVERIFY(!named<QComboBox>(m_form6, "Combo2")->isEnabled());
    // Made hidden; the connected notice shows one of them later.
    QVERIFY(!m_form2->isVisible());
    QVERIFY(!m_form6->isVisible());

    // Text28 stays hidden when its window is shown.
    m_form2->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form2.get()));
    QVERIFY(!named<QLineEdit>(m_form2, "Text28")->isVisible());
    QVERIFY(named<QLineEdit>(m_form2, "Text7")->isVisible());
    m_form2->hide();
}

void TestWindows::portBox()
{
    QComboBox *box = named<QComboBox>(m_form1, "Combo1");
    QVERIFY(box->isEditable());
    QStringList ports;
    for (int port = 1; port <= 15; ++port)
        ports << QString::number(port);
    QCOMPARE(items(box), ports);
    QCOMPARE(box->currentText(), QStringLiteral("1"));
    QCOMPARE(m_form1->portText(), QStringLiteral("1"));
}

void TestWindows::portBoxKeepsTypedTextOutOfList()
{
    StartWindows windows;
    StartWindow &form1 = windows.form1;
    QComboBox *box = named<QComboBox>(form1, "Combo1");

    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "/dev/ttyUSB0");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(form1.portText(), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(box->count(), 15);
}

void TestWindows::portBoxHasFocusFirst()
{
    StartWindows windows;
    StartWindow &form1 = windows.form1;
    form1.show();
    form1.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form1));
    QTRY_COMPARE(QApplication::focusWidget(), named<QComboBox>(form1, "Combo1"));

    // Tab order: port box, then the button (labels take no focus).
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), named<QPushButton>(form1, "Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), named<QComboBox>(form1, "Combo1"));
}

void TestWindows::portTipFollowsPorts()
{
    QTemporaryDir ports;
    QVERIFY(ports.isValid());
    const QByteArray before = qgetenv("VELTRA_PORTS_DIR");
    qputenv("VELTRA_PORTS_DIR", QFile::encodeName(ports.path()));
    auto restore = qScopeGuard([&before] { qputenv("VELTRA_PORTS_DIR", before); });

    StartWindows windows;
    StartWindow &form1 = windows.form1;
    QVERIFY(focusInWindow(form1, named<QComboBox>(form1, "Combo1")));
    askForTip(named<QComboBox>(form1, "Combo1")->lineEdit());
    QCOMPARE(named<QComboBox>(form1, "Combo1")->toolTip(), PortMap::describe(15));
    QTRY_COMPARE(QToolTip::text(), PortMap::describe(15));

    // A sensor adapter appears as port 7: the next tip says so.
    const QString device = ports.path() + QStringLiteral("/adapter7");
    QVERIFY(QFile::link(device, ports.path() + QStringLiteral("/com7")));
    QVERIFY(!named<QComboBox>(form1, "Combo1")->toolTip().contains(device));
    askForTip(named<QComboBox>(form1, "Combo1")->lineEdit());
    QCOMPARE(named<QComboBox>(form1, "Combo1")->toolTip(), PortMap::describe(15));
    QVERIFY(named<QComboBox>(form1, "Combo1")->toolTip().contains(QStringLiteral("7 \u2192 ") + device));
    QTRY_VERIFY(QToolTip::text().contains(device));
    QToolTip::hideText();
}

void TestWindows::portTipMadeOnlyWhenAsked()
{
    StartWindows windows;
    StartWindow &form1 = windows.form1;
    // Made, nothing was described: the tip would hold it.
    QCOMPARE(named<QComboBox>(form1, "Combo1")->toolTip(), QString());
    int asked = 0;
    form1.setPortTipSource([&asked] {
        ++asked;
        return QStringLiteral("port list %1").arg(asked);
    });

    // Showing the window and moving the focus over the box ask nothing.
    QVERIFY(focusInWindow(form1, named<QComboBox>(form1, "Combo1")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), named<QPushButton>(form1, "Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), named<QComboBox>(form1, "Combo1"));
    QCOMPARE(asked, 0);
    QCOMPARE(named<QComboBox>(form1, "Combo1")->toolTip(), QString());

    // Each tip over the box's text or its arrow asks once.
    askForTip(named<QComboBox>(form1, "Combo1")->lineEdit());
    QCOMPARE(asked, 1);
    QCOMPARE(named<QComboBox>(form1, "Combo1")->toolTip(), QStringLiteral("port list 1"));
    askForTip(named<QComboBox>(form1, "Combo1"),
              QPoint(named<QComboBox>(form1, "Combo1")->width() - 4, named<QComboBox>(form1, "Combo1")->height() / 2));
    QCOMPARE(asked, 2);
    QCOMPARE(named<QComboBox>(form1, "Combo1")->toolTip(), QStringLiteral("port list 2"));
    // Anywhere else, nothing.
    askForTip(named<QPushButton>(form1, "Command1"));
    QCOMPARE(asked, 2);
    QToolTip::hideText();
}

void TestWindows::startUpDescribesNoPortsAndMakesTheOtherWindowsHidden()
{
    // The whole program made and its start window shown, as at start-up.
    ScriptedLink link;
    Program program(link, [] {});
    // The windows made since (the test's own fixture has a set too).
    const QWidgetList before = QApplication::topLevelWidgets();
    const auto madeWindows = [&] {
        QStringList names;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (!before.contains(w) && !w->objectName().isEmpty())
                names << w->objectName();
        }
        names.sort();
        return names;
    };
    QCOMPARE(madeWindows(), QStringList());
    program.start();
    QVERIFY(QTest::qWaitForWindowExposed(&program.startWindow()));
    QCOMPARE(named<QComboBox>(program.startWindow(), "Combo1")->toolTip(), QString());

    // Once the start window is drawn the others come into being, hidden;
    // the settings windows' pictures wait until they are shown.
    const QStringList others = {"Form3", "Form4", "Form5", "Form6", "Form7", "Form8", "form2", "navar"};
    QTRY_COMPARE(madeWindows(), others);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!before.contains(w))
            QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
    }
    QVERIFY(named<QLabel>(program.levelWindow(), "Image5")->pixmap().isNull());
    QVERIFY(named<QLabel>(program.distanceWindow(), "Image1")->pixmap().isNull());
    program.levelWindow().show();
    QVERIFY(!named<QLabel>(program.levelWindow(), "Image5")->pixmap().isNull());
}

void TestWindows::portBoxTakesAnyPort_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("index");
    QTest::newRow("listed number") << "7" << 6;
    QTest::newRow("last listed") << "15" << 14;
    QTest::newRow("number beyond the list") << "23" << -1;
    QTest::newRow("device path") << "/dev/ttyUSB0" << -1;
}

void TestWindows::portBoxTakesAnyPort()
{
    QFETCH(QString, port);
    QFETCH(int, index);
    StartWindows windows;
    StartWindow &form1 = windows.form1;
    form1.setPortText(port);
    QCOMPARE(form1.portText(), port);
    QCOMPARE(named<QComboBox>(form1, "Combo1")->lineEdit()->text(), port);
    if (index >= 0)
        QCOMPARE(named<QComboBox>(form1, "Combo1")->currentIndex(), index);
    QCOMPARE(named<QComboBox>(form1, "Combo1")->count(), 15);
}

void TestWindows::portBoxStartsAtRememberedPort()
{
    QSettings(QStringLiteral("Veltra"), QStringLiteral("veltra-sensor")).clear();
    {
        StartWindows windows;
        preparePortBox(windows.form1, QString());
        QCOMPARE(windows.form1.portText(), QStringLiteral("1")); // first start
    }
    rememberPort(QStringLiteral("9"));
    {
        StartWindows windows;
        preparePortBox(windows.form1, QString());
        QCOMPARE(windows.form1.portText(), QStringLiteral("9"));
        QCOMPARE(named<QComboBox>(windows.form1, "Combo1")->currentIndex(), 8);
    }
    // A USB adapter typed by its device is kept by its by-id link, which
    // follows it to another device name; a number stays a number.
    const auto adapter = AdapterIdentity::fromById(QStringLiteral("usb-FTDI_FT232R_USB_UART_A10K5XYZ-if00-port0"));
    rememberPort(QStringLiteral("/dev/ttyUSB0"), adapter);
    QCOMPARE(rememberedPort(), byIdFolder() + QStringLiteral("/usb-FTDI_FT232R_USB_UART_A10K5XYZ-if00-port0"));
    rememberPort(QStringLiteral("3"), adapter);
    QCOMPARE(rememberedPort(), QStringLiteral("3"));
    // Something that is no port (edited by hand) counts as nothing kept.
    QSettings(QStringLiteral("Veltra"), QStringLiteral("veltra-sensor"))
        .setValue(QStringLiteral("lastPort"), QStringLiteral("COMx"));
    QCOMPARE(rememberedPort(), QStringLiteral("1"));
    QSettings(QStringLiteral("Veltra"), QStringLiteral("veltra-sensor")).clear();
}

// clang-format off
void TestWindows::foundSensorRemembersPort_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("answers");
    QTest::addColumn<QString>("kept");
    QTest::newRow("number") << "4" << true << "4";
    QTest::newRow("number typed with a half") << "4.5" << true << "4";
    QTest::newRow("number with spaces") << " 12 " << true << "12";
    QTest::newRow("device path") << "/dev/ttyACM1" << true << "/dev/ttyACM1";
    QTest::newRow("no answer") << "4" << false << "2";
}
// clang-format on

void TestWindows::foundSensorRemembersPort()
{
    QFETCH(QString, typed);
    QFETCH(bool, answers);
    QFETCH(QString, kept);
    rememberPort(QStringLiteral("2"));
    StartWindows windows;
    StartWindow &form1 = windows.form1;
    preparePortBox(form1, QString());
    QCOMPARE(form1.portText(), QStringLiteral("2"));
    form1.setPortText(typed);
    if (answers)
        windows.link.queueReply("DVT-14C00\r\n");
    QSignalSpy found(&form1, &StartWindow::sensorFound);
    named<QPushButton>(form1, "Command1")->click();
    QCOMPARE(found.count(), answers ? 1 : 0);
    QCOMPARE(rememberedPort(), kept);
    QCOMPARE(QSettings(QStringLiteral("Veltra"), QStringLiteral("veltra-sensor")).value("lastPort").toString(), kept);
    // The file is the one of this test, not the user's.
    QVERIFY(QSettings(QStringLiteral("Veltra"), QStringLiteral("veltra-sensor"))
                .fileName()
                .startsWith(m_settingsDir.path()));
}

void TestWindows::commandLinePortWinsOverRemembered()
{
    rememberPort(QStringLiteral("5"));
    StartWindows windows;
    preparePortBox(windows.form1, QStringLiteral("/dev/ttyUSB3"));
    QCOMPARE(windows.form1.portText(), QStringLiteral("/dev/ttyUSB3"));
    // Not kept until a sensor answers on it.
    QCOMPARE(rememberedPort(), QStringLiteral("5"));
}

// clang-format off
void TestWindows::startOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("qtOptionsTaken");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("textStart");
    const int run = int(StartOptions::Action::Run);
    const int help = int(StartOptions::Action::Help);
    const int version = int(StartOptions::Action::Version);
    const int error = int(StartOptions::Action::UsageError);
    const QString p = QStringLiteral("veltra-sensor");
    QTest::newRow("nothing") << QStringList{p} << true << run << "" << "";
    QTest::newRow("port number") << QStringList{p, "--port", "7"} << true << run << "7" << "";
    QTest::newRow("short port") << QStringList{p, "-p", "12"} << true << run << "12" << "";
    QTest::newRow("port=path") << QStringList{p, "--port=/dev/ttyUSB1"} << true << run << "/dev/ttyUSB1" << "";
    QTest::newRow("help") << QStringList{p, "--help"} << true << help << "" << "Usage: veltra-sensor [options]\n";
    QTest::newRow("-h") << QStringList{p, "-h"} << true << help << "" << "Usage: veltra-sensor";
    QTest::newRow("help wins") << QStringList{p, "--bogus", "--help"} << true << help << "" << "Usage:";
    QTest::newRow("version") << QStringList{p, "--version"} << true << version << "" << "veltra-sensor 7.1.2\n";
    QTest::newRow("-v") << QStringList{p, "-v"} << true << version << "" << "veltra-sensor 7.1.2\n";
    QTest::newRow("unknown") << QStringList{p, "--bogus"} << true << error << ""
                             << "veltra-sensor: Unknown option 'bogus'.\nRun \"veltra-sensor --help\"";
    QTest::newRow("port letters") << QStringList{p, "--port", "abc"} << true << error << ""
                                  << "veltra-sensor: --port must be";
    QTest::newRow("port 0") << QStringList{p, "--port", "0"} << true << error << "" << "veltra-sensor: --port must be";
    QTest::newRow("port 40000") << QStringList{p, "--port", "40000"} << true << error << ""
                                << "veltra-sensor: --port must be";
    QTest::newRow("port 32767") << QStringList{p, "--port", "32767"} << true << run << "32767" << "";
    QTest::newRow("port 032") << QStringList{p, "--port", "032"} << true << error << "" << "veltra-sensor: --port must be";
    QTest::newRow("port +3") << QStringList{p, "--port", "+3"} << true << error << "" << "veltra-sensor: --port must be";
    QTest::newRow("port Arabic-Indic 3") << QStringList{p, "--port", QString(QChar(0x0663))} << true << error << ""
                                         << "veltra-sensor: --port must be";
    QTest::newRow("port twice") << QStringList{p, "-p", "1", "-p", "2"} << true << error << ""
                                << "veltra-sensor: --port is given 2 times";
    QTest::newRow("port without value") << QStringList{p, "--port"} << true << error << ""
                                        << "veltra-sensor: Missing value after '--port'.";
    QTest::newRow("argument") << QStringList{p, "7"} << true << error << ""
                              << "veltra-sensor: unexpected argument \"7\".";
    // Before Qt has taken its options: those pass, a stranger does not.
    QTest::newRow("Qt's options") << QStringList{p, "-platform", "offscreen", "-reverse", "--port", "3"} << false
                                  << run << "" << "";
    QTest::newRow("Qt's and a stranger") << QStringList{p, "-style", "fusion", "--bogus"} << false << error << ""
                                         << "veltra-sensor: Unknown option 'bogus'.";
    QTest::newRow("-reverse is no -v") << QStringList{p, "-reverse"} << false << run << "" << "";
    QTest::newRow("no Qt option: judged at once") << QStringList{p, "--port", "x"} << false << error << ""
                                                  << "veltra-sensor: --port must be";
    QTest::newRow("help before Qt") << QStringList{p, "-platform", "xcb", "--help"} << false << help << ""
                                    << "Usage:";
    QTest::newRow("Qt's option left over") << QStringList{p, "-display", ":3"} << true << error << ""
                                           << "veltra-sensor: Unknown option 'display'.";
}
// clang-format on

void TestWindows::startOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, qtOptionsTaken);
    QFETCH(int, action);
    QFETCH(QString, port);
    QFETCH(QString, textStart);
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(QStringLiteral("7.1.2"));
    auto restore = qScopeGuard([&version] { QCoreApplication::setApplicationVersion(version); });

    const StartOptions options = parseStartOptions(arguments, qtOptionsTaken);
    QCOMPARE(int(options.action), action);
    QCOMPARE(options.port, port);
    if (textStart.isEmpty())
        QCOMPARE(options.text, QString());
    else
        QVERIFY2(options.text.startsWith(textStart), qPrintable(options.text));
    if (action == int(StartOptions::Action::Help)) {
        QVERIFY(options.text.contains(QStringLiteral("-p, --port <N|PATH>")));
        QVERIFY(options.text.contains(QStringLiteral("-v, --version")));
    }
}

// clang-format off
void TestWindows::programCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: veltra-sensor [options]\n" << "";
    QTest::newRow("version") << QStringList{"--version"} << 0
                             << QStringLiteral("veltra-sensor %1\n").arg(QStringLiteral(VELTRA_VERSION)) << "";
    QTest::newRow("unknown") << QStringList{"--frobnicate"} << 2 << ""
                             << "veltra-sensor: Unknown option 'frobnicate'.\n"
                                "Run \"veltra-sensor --help\" for the options.\n";
    QTest::newRow("bad port") << QStringList{"--port", "COM3"} << 2 << ""
                              << "veltra-sensor: --port must be a port number from 1 to 32767 or a device path, "
                                 "not \"COM3\".\nRun \"veltra-sensor --help\" for the options.\n";
    // Judged after Qt took -platform: the window system is up by then.
    QTest::newRow("after Qt's options") << QStringList{"-platform", "offscreen", "stray"} << 2 << ""
                                        << "veltra-sensor: unexpected argument \"stray\".\n"
                                           "Run \"veltra-sensor --help\" for the options.\n";
}
// clang-format on

void TestWindows::programCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess program;
    // No display: help, version and usage errors must not need one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_settingsDir.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VELTRA_SENSOR_PATH), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
    QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
    // Qt's own notes (a missing runtime folder) are not the program's.
    stdErr.remove(QRegularExpression(QStringLiteral("^QStandardPaths: [^\n]*\n"), QRegularExpression::MultilineOption));
    if (out.isEmpty())
        QCOMPARE(stdOut, QString());
    else
        QVERIFY2(stdOut.startsWith(out), qPrintable(stdOut));
    QCOMPARE(stdErr, err);
}

void TestWindows::connectButtonRunsHandshake()
{
    QVERIFY(m_form1->metaObject()->indexOfSlot("Command1_Click()") >= 0);
    // Disconnecting succeeds only when the button was wired to the handler.
    QVERIFY(QObject::disconnect(named<QPushButton>(m_form1, "Command1"), &QPushButton::clicked, m_form1.get(),
                                &StartWindow::Command1_Click));
    QVERIFY(QObject::connect(named<QPushButton>(m_form1, "Command1"), &QPushButton::clicked, m_form1.get(),
                             &StartWindow::Command1_Click));
}

void TestWindows::closingStartWindowClosesPortThenEnds()
{
    checkClosingClosesPortThenEnds(*m_form1, QStringLiteral("9600,n,8,1"));
}

void TestWindows::connectedNotice()
{
    QComboBox *baud = named<QComboBox>(m_form4, "Combo1");
    QVERIFY(!baud->isEnabled());
    QCOMPARE(baud->count(), 0);
    // The handshake writes the rate it found; a box without items must show it.
    baud->setEditText(QStringLiteral("19200"));
    QCOMPARE(baud->currentText(), QStringLiteral("19200"));

    QSignalSpy ok(m_form4.get(), &ConnectedNotice::okClicked);
    m_form4->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form4.get()));
    QTest::mouseClick(named<QPushButton>(m_form4, "Command5"), Qt::LeftButton);
    QCOMPARE(ok.count(), 1);
    QVERIFY(m_form4->isVisible());
    m_form4->hide();
}

void TestWindows::closingConnectedNoticeClosesPortThenEnds()
{
    checkClosingClosesPortThenEnds(*m_form4, QStringLiteral("19200,n,8,1"));
}

void TestWindows::failureNoticeLeadsBack_data()
{
    QTest::addColumn<bool>("byCloseBox");
    QTest::newRow("Close button") << false;
    QTest::newRow("close box") << true;
}

void TestWindows::failureNoticeLeadsBack()
{
    QFETCH(bool, byCloseBox);
    QSignalSpy back(m_form5.get(), &FailureNotice::backToStart);
    m_form5->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form5.get()));

    if (byCloseBox)
        m_form5->close();
    else
        QTest::mouseClick(named<QPushButton>(m_form5, "Command5"), Qt::LeftButton);

    QCOMPARE(back.count(), 1);
    QVERIFY(!m_form5->isVisible());

    // It comes back for the next failure, as often as needed.
    m_form5->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form5.get()));
    QVERIFY(m_form5->isVisible());
    QTest::mouseClick(named<QPushButton>(m_form5, "Command5"), Qt::LeftButton);
    QCOMPARE(back.count(), 2);
    QVERIFY(!m_form5->isVisible());
}

// clang-format off
void TestWindows::failureReason_data()
{
    QTest::addColumn<QString>("reason");
    QTest::newRow("no port") << "No such port (/dev/ttyUSB3).";
    QTest::newRow("no answer") << "No sensor answered at any baud rate (9600 to 115200).";
    QTest::newRow("permission")
        << "Permission denied (/dev/ttyUSB0): join the dialout group (sudo usermod -aG dialout $USER) and log in again.";
    QTest::newRow("empty") << "";
}
// clang-format on

void TestWindows::failureReason()
{
    QFETCH(QString, reason);
    m_form5->setReason(QStringLiteral("something earlier"));
    m_form5->setReason(reason);
    QLabel *label = m_form5->labelReason();
    QCOMPARE(m_form5->reason(), reason);
    QCOMPARE(label->text(), reason);
    QCOMPARE(label->isVisibleTo(m_form5.get()), !reason.isEmpty());
    QVERIFY(label->wordWrap());
    QCOMPARE(label->textFormat(), Qt::PlainText);

    // Between the notice and the button, inside the client area.
    const QRect at = label->geometry();
    QVERIFY(m_form5->rect().contains(at));
    QVERIFY(!at.intersects(m_form5->findChild<QLabel *>("Label1")->geometry()));
    QVERIFY(!at.intersects(named<QPushButton>(m_form5, "Command5")->geometry()));
    // Long reasons wrap onto a second line that still fits.
    if (!reason.isEmpty())
        QVERIFY2(label->heightForWidth(at.width()) <= at.height(),
                 qPrintable(QString::number(label->heightForWidth(at.width()))));
}

void TestWindows::runNoticeEndsProgramAfterTwoSeconds()
{
    int ended = 0;
    qint64 endedAfter = -1;
    QElapsedTimer clock;
    RunNotice form3([&] {
        ++ended;
        endedAfter = clock.elapsed();
    });
    QTimer *timer = named<QTimer>(form3, "Timer1");
    QCOMPARE(timer->objectName(), QStringLiteral("Timer1"));
    QCOMPARE(timer->interval(), 2000);
    QVERIFY(!timer->isActive());

    // Nothing happens while the notice is not shown.
    QTest::qWait(100);
    QCOMPARE(ended, 0);

    clock.start();
    form3.show();
    QVERIFY(timer->isActive());
    QTest::qWait(1500);
    QCOMPARE(ended, 0);
    QTRY_COMPARE_WITH_TIMEOUT(ended, 1, 3000);
    // Not before its two seconds; how late a loaded machine runs it is not asserted.
    QVERIFY2(endedAfter >= 1900, qPrintable(QString::number(endedAfter)));

    // The tick ended the program; a late close does not end it twice.
    form3.close();
    QTest::qWait(50);
    QCOMPARE(ended, 1);
}

void TestWindows::closingRunNoticeEndsProgramAtOnce()
{
    int ended = 0;
    RunNotice form3([&ended] { ++ended; });
    form3.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form3));
    QVERIFY(form3.close());
    QCOMPARE(ended, 1);
    QVERIFY(!named<QTimer>(form3, "Timer1")->isActive());
}

void TestWindows::progressBarIsOnlyFocusTaker()
{
    QProgressBar *bar = named<FocusProgressBar>(m_navar, "XP_ProgressBar1");
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QVERIFY(!bar->isTextVisible());
    QList<QWidget *> takers;
    for (QWidget *child : m_navar->findChildren<QWidget *>()) {
        if (child->focusPolicy() != Qt::NoFocus)
            takers << child;
    }
    QCOMPARE(takers, QList<QWidget *>{bar});
}

void TestWindows::progressAnimation()
{
    // The level window has the focus when its Write button shows the
    // progress window; the desktop gives the focus back to it afterwards.
    QWidget writer;
    writer.setWindowTitle(QStringLiteral("writer"));
    writer.show();
    ProgressWindow navar;
    QList<int> values;
    QList<qint64> times;
    QElapsedTimer clock;
    clock.start();
    connect(named<FocusProgressBar>(navar, "XP_ProgressBar1"), &QProgressBar::valueChanged, this, [&](int value) {
        values << value;
        times << clock.elapsed();
    });
    QSignalSpy finished(&navar, &ProgressWindow::animationFinished);

    for (int round = 1; round <= 2; ++round) {
        writer.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&writer));
        values.clear();
        times.clear();
        navar.show();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), round, 6000);
        QCOMPARE(values, (QList<int>{0, 20, 40}));
        for (int i = 1; i < times.size(); ++i) {
            const qint64 gap = times.at(i) - times.at(i - 1);
            QVERIFY2(gap >= 950, qPrintable(QString::number(gap)));
        }
        QVERIFY(!navar.isVisible());
        QVERIFY(!navar.isAnimating());
    }
}

void TestWindows::progressIgnoresSecondFocus()
{
    QWidget writer;
    writer.setWindowTitle(QStringLiteral("writer"));
    writer.show();
    writer.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&writer));

    ProgressWindow navar;
    QList<int> values;
    QSignalSpy focused(named<FocusProgressBar>(navar, "XP_ProgressBar1"), &FocusProgressBar::gotFocus);
    QSignalSpy finished(&navar, &ProgressWindow::animationFinished);
    connect(named<FocusProgressBar>(navar, "XP_ProgressBar1"), &QProgressBar::valueChanged, this, [&](int value) {
        values << value;
        if (value != 0 || values.size() != 1)
            return;
        // While the animation pauses the operator clicks the level window
        // and then the progress window again: the bar takes the focus anew.
        QTimer::singleShot(300, &writer, [&writer] { writer.activateWindow(); });
        QTimer::singleShot(600, &navar, [&navar] { navar.activateWindow(); });
    });

    navar.show();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 6000);
    QCOMPARE(focused.count(), 2);
    QTest::qWait(200);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(values, (QList<int>{0, 20, 40}));
    QVERIFY(!navar.isVisible());
}

namespace {

// Each window with a button, and what pressing that button says.
enum class Pressed { Connect, Ok, Close };

} // namespace

// clang-format off
void TestWindows::enterPressesFocusedButton_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    const struct { const char *name; Pressed window; } windows[] = {
        {"Form1 Set com port", Pressed::Connect}, {"Form4 OK", Pressed::Ok}, {"Form5 Close", Pressed::Close}};
    for (const auto &w : windows) {
        QTest::addRow("%s, Return", w.name) << int(w.window) << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::addRow("%s, keypad Enter", w.name) << int(w.window) << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::addRow("%s, Space", w.name) << int(w.window) << int(Qt::Key_Space) << int(Qt::NoModifier);
    }
}
// clang-format on

void TestWindows::enterPressesFocusedButton()
{
    QFETCH(int, window);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    StartWindows windows;
    QWidget *form = nullptr;
    QPushButton *button = nullptr;
    switch (Pressed(window)) {
    case Pressed::Connect:
        form = &windows.form1;
        button = named<QPushButton>(windows.form1, "Command1");
        break;
    case Pressed::Ok:
        form = &windows.form4;
        button = named<QPushButton>(windows.form4, "Command5");
        break;
    case Pressed::Close:
        form = &windows.form5;
        button = named<QPushButton>(windows.form5, "Command5");
        break;
    }
    QSignalSpy notFound(&windows.form1, &StartWindow::sensorNotFound);
    QSignalSpy ok(&windows.form4, &ConnectedNotice::okClicked);
    QSignalSpy back(&windows.form5, &FailureNotice::backToStart);
    QSignalSpy clicked(button, &QPushButton::clicked);
    QVERIFY(focusInWindow(*form, button));

    QTest::keyClick(button, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicked.count(), 1);
    // The button's own handler ran, once.
    QCOMPARE(notFound.count(), Pressed(window) == Pressed::Connect ? 1 : 0);
    QCOMPARE(ok.count(), Pressed(window) == Pressed::Ok ? 1 : 0);
    QCOMPARE(back.count(), Pressed(window) == Pressed::Close ? 1 : 0);

    // The link failure the OK press reports is not this test's business.
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(top))
            top->close();
    }
}

void TestWindows::enterElsewhereKeepsItsMeaning()
{
    StartWindows windows;
    StartWindow &form1 = windows.form1;
    QSignalSpy found(&form1, &StartWindow::sensorFound);
    QSignalSpy notFound(&form1, &StartWindow::sensorNotFound);
    QVERIFY(focusInWindow(form1, named<QComboBox>(form1, "Combo1")));
    named<QComboBox>(form1, "Combo1")->lineEdit()->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "12");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    // The box takes the number; no handshake ran.
    QCOMPARE(form1.portText(), QStringLiteral("12"));
    QCOMPARE(found.count() + notFound.count(), 0);
    QVERIFY(windows.link.journal().isEmpty());
    QVERIFY(form1.isVisible());

    // A held Return presses the button once, as a held Space does.
    QVERIFY(focusInWindow(form1, named<QPushButton>(form1, "Command1")));
    QSignalSpy clicked(named<QPushButton>(form1, "Command1"), &QPushButton::clicked);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(named<QPushButton>(form1, "Command1"), &repeat);
    QCOMPARE(clicked.count(), 0);
    // With Ctrl it is another key.
    QTest::keyClick(named<QPushButton>(form1, "Command1"), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(clicked.count(), 0);
}

void TestWindows::tabVisitsShownControlsAndMarksThem_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("stops");
    QTest::newRow("Form1") << "Form1" << QStringList{"Combo1", "Command1"};
    // Its baud box only shows the rate.
    QTest::newRow("Form4") << "Form4" << QStringList{"Command5"};
    QTest::newRow("Form5") << "Form5" << QStringList{"Command5"};
}

void TestWindows::tabVisitsShownControlsAndMarksThem()
{
    QFETCH(QString, window);
    QFETCH(QStringList, stops);
    StartWindows windows;
    QWidget *form = window == u"Form1"   ? static_cast<QWidget *>(&windows.form1)
                    : window == u"Form4" ? static_cast<QWidget *>(&windows.form4)
                                         : static_cast<QWidget *>(&windows.form5);
    auto *first = form->findChild<QWidget *>(stops.first());
    QVERIFY(first);
    QVERIFY(focusInWindow(*form, first));
    const QList<TabStop> walk = tabWalk();
    QCOMPARE(namesOf(walk), stops);
    QApplication::focusWidget()->clearFocus();
    RUN_CHECK(checkStopsVisiblyFocused(walk));
    form->hide();
}

QTEST_MAIN(TestWindows)

void TestWindows::persianTextsSayTheirMeaning_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("meaning");
    const QString run = QStringLiteral("The sensor has been put into the RUN state!");
    QTest::newRow("RUN banner") << "form2" << QStringList{"Label33", "Label34", "Label36", "Label32", "Label35"}
                                << "Attention!! The sensor has been put into the RUN state.";
    QTest::newRow("RUN notice") << "Form3" << QStringList{"Label1", "Label5", "Label2", "Label6"} << run;
    QTest::newRow("progress") << "navar" << QStringList{"Label1"} << "Please wait a moment.";
    QTest::newRow("centimetres, changed") << "Form7" << QStringList{"Label2"}
                                          << "Attention: the sensor's resolution has been changed to centimetres.";
    QTest::newRow("centimetres, change all") << "Form7" << QStringList{"Label3"}
                                             << "Be sure to change all the distances to centimetres.";
    QTest::newRow("millimetres, changed") << "Form8" << QStringList{"Label1"}
                                          << "Attention: the sensor's resolution has been changed to millimetres.";
    QTest::newRow("millimetres, change all") << "Form8" << QStringList{"Label2"}
                                             << "Be sure to change all the distances to millimetres.";
}

void TestWindows::persianTextsSayTheirMeaning()
{
    QFETCH(QString, window);
    QFETCH(QStringList, labels);
    QFETCH(QString, meaning);
    QWidget *form = this->window(window);
    QVERIFY(form);
    for (const QString &name : labels) {
        auto *label = named<QLabel>(form, name);
        QVERIFY2(label, qPrintable(name));
        // The designed text stays; its meaning is in the tooltip and for a
        // screen reader.
        QVERIFY(!label->text().isEmpty());
        QCOMPARE(label->toolTip(), meaning);
        QCOMPARE(label->accessibleDescription(), meaning);
    }
}

void TestWindows::everyControlHasASpokenName_data()
{
    QTest::addColumn<QString>("window");
    for (const char *name : {"Form1", "form2", "Form4", "Form5", "Form6"})
        QTest::newRow(name) << name;
}

void TestWindows::everyControlHasASpokenName()
{
    QFETCH(QString, window);
    QWidget *form = this->window(window);
    QVERIFY(form);
    int checked = 0;
    for (QWidget *control : form->findChildren<QWidget *>()) {
        const bool field = qobject_cast<QLineEdit *>(control) || qobject_cast<QComboBox *>(control);
        const bool button = qobject_cast<QAbstractButton *>(control);
        // Working fields the design keeps hidden are never shown or read out.
        if ((!field && !button) || control->isHidden() || qobject_cast<QComboBox *>(control->parentWidget())
            || qobject_cast<QMenuBar *>(control->parentWidget()))
            continue;
        ++checked;
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(control);
        QVERIFY(spoken);
        // A field or list says what it holds, not its contents; a button may
        // say its caption.
        const QString name = field ? control->accessibleName() : spoken->text(QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(control->objectName()));
    }
    QVERIFY(checked > 0);
}

#include "tst_windows.moc"
