// The model catalogue: every row against values written out here, the
// exact-text lookups, the model list and the code tables of the settings block.
#include "modelnames.h"
#include "protocol/modelcatalogue.h"

#include <QSet>
#include <QTest>

#include <iterator>
#include <optional>

using namespace veltra;

Q_DECLARE_METATYPE(veltra::ModelKind)
Q_DECLARE_METATYPE(veltra::ModelWindow)
Q_DECLARE_METATYPE(std::optional<int>)

namespace {

constexpr bool yes = true;
constexpr bool no = false;
constexpr ModelKind Standard = ModelKind::Standard;
constexpr ModelKind RunControl = ModelKind::RunControl;
constexpr ModelKind ResolutionChoice = ModelKind::ResolutionChoice;
constexpr ModelKind FixedResolution = ModelKind::FixedResolution;

// One model row, written out by hand so the catalogue is checked against
// values rather than against itself.
struct ExpectedRow {
    const char *code;
    const char *resolution; // "" where the row does not depend on it
    const char *name;
    const char *blockingText;
    const char *blockingNumber; // nullptr: none
    const char *fullCaption;
    int fullLimit;
    const char *emptyCaption;
    int emptyLimit;
    bool digital;
    bool analog;
    ModelKind kind;
    const char *marker; // nullptr: none
};

// clang-format off
const ExpectedRow kExpectedRows[] = {
    {"20",  "",   "DVT-14C00", "20 Cm",  nullptr, "<280 cm",  280,  "<300 cm",   300,   no,  no,  Standard,         nullptr},
    {"21",  "",   "DVT-14C01", "20 Cm",  nullptr, "<280 cm",  280,  "<300 cm",   300,   yes, no,  Standard,         nullptr},
    {"22",  "",   "DVT-14C10", "20 Cm",  nullptr, "<280 cm",  280,  "<300 cm",   300,   no,  yes, Standard,         nullptr},
    {"23",  "",   "DVT-14C11", "20 Cm",  nullptr, "<280 cm",  280,  "<300 cm",   300,   yes, yes, Standard,         nullptr},
    {"24",  "",   "DVT-14M00", "200 mm", nullptr, "<2800 mm", 2800, "<3000 mm",  3000,  no,  no,  Standard,         nullptr},
    {"25",  "",   "DVT-14M01", "200 mm", nullptr, "<2800 mm", 2800, "<3000 mm",  3000,  yes, no,  Standard,         nullptr},
    {"26",  "",   "DVT-14M10", "200 mm", nullptr, "<2800 mm", 2800, "<3000 mm",  3000,  no,  yes, Standard,         nullptr},
    {"27",  "",   "DVT-14M11", "200 mm", nullptr, "<2800 mm", 2800, "<3000 mm",  3000,  yes, yes, Standard,         nullptr},
    {"30",  "",   "DVT-16C00", "30 Cm",  nullptr, "<570 Cm",  570,  "<600 Cm",   600,   no,  no,  Standard,         nullptr},
    {"31",  "",   "DVT-16C01", "30 Cm",  nullptr, "<570 Cm",  570,  "<600 Cm",   600,   yes, no,  Standard,         nullptr},
    {"32",  "",   "DVT-16C10", "30 Cm",  nullptr, "<570 Cm",  570,  "<600 Cm",   600,   no,  yes, Standard,         nullptr},
    {"33",  "",   "DVT-16C11", "30 Cm",  nullptr, "<570 Cm",  570,  "<600 Cm",   600,   yes, yes, Standard,         nullptr},
    {"34",  "",   "DVT-16M00", "300 mm", nullptr, "<5700 mm", 5700, "<6000 mm",  6000,  no,  no,  Standard,         nullptr},
    {"35",  "",   "DVT-16M01", "300 mm", nullptr, "<5700 mm", 5700, "<6000 mm",  6000,  yes, no,  Standard,         nullptr},
    {"36",  "",   "DVT-16M10", "300 mm", nullptr, "<5700 mm", 5700, "<6000 mm",  6000,  no,  yes, Standard,         nullptr},
    {"37",  "",   "DVT-16M11", "300 mm", nullptr, "<5700 mm", 5700, "<6000 mm",  6000,  yes, yes, Standard,         nullptr},
    {"40",  "",   "DVT-18C00", "50 Cm",  nullptr, "<950 Cm",  950,  "<1000 Cm",  1000,  no,  no,  Standard,         nullptr},
    {"41",  "",   "DVT-18C01", "50 Cm",  nullptr, "<950 Cm",  950,  "<1000 Cm",  1000,  yes, no,  Standard,         nullptr},
    {"42",  "",   "DVT-18C10", "50 Cm",  nullptr, "<950 Cm",  950,  "<1000 Cm",  1000,  no,  yes, Standard,         nullptr},
    {"43",  "",   "DVT-18C11", "50 Cm",  nullptr, "<950 Cm",  950,  "<1000 Cm",  1000,  yes, yes, Standard,         nullptr},
    {"44",  "",   "DVT-18M00", "500 mm", nullptr, "<9500 mm", 9500, "<10000 mm", 10000, no,  no,  Standard,         nullptr},
    {"45",  "",   "DVT-18M01", "500 mm", nullptr, "<9500 mm", 9500, "<10000 mm", 10000, yes, no,  Standard,         nullptr},
    {"46",  "",   "DVT-18M10", "500 mm", nullptr, "<9500 mm", 9500, "<10000 mm", 10000, no,  yes, Standard,         nullptr},
    {"47",  "",   "DVT-18M11", "500 mm", nullptr, "<9500 mm", 9500, "<10000 mm", 10000, yes, yes, Standard,         nullptr},
    {"50",  "",   "DVT-19C00", "60 Cm",  nullptr, "<1440 Cm", 1440, "<1500 Cm",  1500,  no,  no,  Standard,         nullptr},
    {"51",  "",   "DVT-19C01", "60 Cm",  nullptr, "<1440 Cm", 1440, "<1500 Cm",  1500,  yes, no,  Standard,         nullptr},
    {"52",  "",   "DVT-19C10", "60 Cm",  nullptr, "<1440 Cm", 1440, "<1500 Cm",  1500,  no,  yes, Standard,         nullptr},
    {"53",  "",   "DVT-19C11", "60 Cm",  nullptr, "<1440 Cm", 1440, "<1500 Cm",  1500,  yes, yes, Standard,         nullptr},
    {"60",  "",   "DVQ-32C00", "50 Cm",  nullptr, "<150 cm",  150,  "<200 cm",   200,   no,  no,  Standard,         nullptr},
    {"61",  "",   "DVQ-32C01", "50 Cm",  nullptr, "<150 cm",  150,  "<200 cm",   200,   yes, no,  Standard,         nullptr},
    {"62",  "",   "DVQ-32C10", "50 Cm",  nullptr, "<150 cm",  150,  "<200 cm",   200,   no,  yes, Standard,         nullptr},
    {"63",  "",   "DVQ-32C11", "50 Cm",  nullptr, "<150 cm",  150,  "<200 cm",   200,   yes, yes, Standard,         nullptr},
    {"64",  "",   "DVQ-32M00", "500 mm", nullptr, "<1500 mm", 1500, "<2000 mm",  2000,  no,  no,  Standard,         nullptr},
    {"65",  "",   "DVQ-32M01", "500 mm", nullptr, "<1500 mm", 1500, "<2000 mm",  2000,  yes, no,  Standard,         nullptr},
    {"66",  "",   "DVQ-32M10", "500 mm", nullptr, "<1500 mm", 1500, "<2000 mm",  2000,  no,  yes, Standard,         nullptr},
    {"67",  "",   "DVQ-32M11", "500 mm", nullptr, "<1500 mm", 1500, "<2000 mm",  2000,  yes, yes, Standard,         nullptr},
    {"70",  "",   "DVQ-34C00", "50 Cm",  nullptr, "<350 cm",  350,  "<400 cm",   400,   no,  no,  Standard,         nullptr},
    {"71",  "",   "DVQ-34C01", "50 Cm",  nullptr, "<350 cm",  350,  "<400 cm",   400,   yes, no,  Standard,         nullptr},
    {"72",  "",   "DVQ-34C10", "50 Cm",  nullptr, "<350 cm",  350,  "<400 cm",   400,   no,  yes, Standard,         nullptr},
    {"73",  "",   "DVQ-34C11", "50 Cm",  nullptr, "<350 cm",  350,  "<400 cm",   400,   yes, yes, Standard,         nullptr},
    {"91",  "",   "DVT-14C-0", "20 Cm",  nullptr, "<280 cm",  280,  "<300 cm",   300,   no,  no,  Standard,         nullptr},
    {"92",  "",   "DVT-14C-1", "20 Cm",  nullptr, "<280 cm",  280,  "<300 cm",   300,   yes, no,  Standard,         nullptr},
    {"93",  "",   "DVT-14M-0", "200 mm", nullptr, "<2800 mm", 2800, "<3000 mm",  3000,  no,  no,  Standard,         nullptr},
    {"94",  "",   "DVT-14M-1", "200 mm", nullptr, "<2800 mm", 2800, "<3000 mm",  3000,  yes, no,  Standard,         nullptr},
    {"95",  "",   "DVT-16C-0", "30 Cm",  nullptr, "<570 Cm",  570,  "<600 Cm",   600,   no,  no,  Standard,         nullptr},
    {"96",  "",   "DVT-16C-1", "30 Cm",  nullptr, "<570 Cm",  570,  "<600 Cm",   600,   yes, no,  Standard,         nullptr},
    {"97",  "",   "DVT-16M-0", "300 mm", nullptr, "<5700 mm", 5700, "<6000 mm",  6000,  no,  no,  Standard,         nullptr},
    {"98",  "",   "DVT-16M-1", "300 mm", nullptr, "<5700 mm", 5700, "<6000 mm",  6000,  yes, no,  Standard,         nullptr},
    {"99",  "",   "DVT-18C-0", "50 Cm",  nullptr, "<950 Cm",  950,  "<1000 Cm",  1000,  no,  no,  Standard,         nullptr},
    {"100", "",   "DVT-18C-1", "50 Cm",  nullptr, "<950 Cm",  950,  "<1000 Cm",  1000,  yes, no,  Standard,         nullptr},
    {"101", "",   "DVT-18M-0", "500 mm", nullptr, "<9500 mm", 9500, "<10000 mm", 10000, no,  no,  Standard,         nullptr},
    {"102", "",   "DVT-18M-1", "500 mm", nullptr, "<9500 mm", 9500, "<10000 mm", 10000, yes, no,  Standard,         nullptr},
    {"103", "",   "DVT-19C-0", "60 Cm",  nullptr, "<1440 Cm", 1440, "<1500 Cm",  1500,  no,  no,  Standard,         nullptr},
    {"104", "",   "DVT-19C-1", "60 Cm",  nullptr, "<1440 Cm", 1440, "<1500 Cm",  1500,  yes, no,  Standard,         nullptr},
    {"80",  "",   "DVK-14",    "30 Cm",  nullptr, "<280 cm",  280,  "<300 cm",   300,   no,  yes, RunControl,       nullptr},
    {"81",  "",   "DVK-16",    "40 Cm",  nullptr, "<570 cm",  570,  "<600 cm",   600,   no,  yes, RunControl,       nullptr},
    {"82",  "",   "DVK-18",    "50 Cm",  nullptr, "<950 cm",  950,  "<1000 cm",  1000,  no,  yes, RunControl,       nullptr},
    {"105", "10", "DVT-14",    "30 Cm",  "30",    "<270 Cm",  270,  "<300 Cm",   300,   yes, no,  ResolutionChoice, "100"},
    {"105", "1",  "DVT-14",    "300 mm", "300",   "<2700 mm", 2700, "<3000 mm",  3000,  yes, no,  ResolutionChoice, "100"},
    {"106", "10", "DVT-16",    "40 Cm",  "40",    "<570 Cm",  560,  "<600 Cm",   600,   yes, no,  ResolutionChoice, "100"},
    {"106", "1",  "DVT-16",    "400 mm", "400",   "<5700 mm", 5600, "<6000 mm",  6000,  yes, no,  ResolutionChoice, "100"},
    {"107", "10", "DVT-18",    "50 Cm",  "50",    "<950 Cm",  950,  "<1000 Cm",  1000,  yes, no,  ResolutionChoice, "100"},
    {"107", "1",  "DVT-18",    "500 mm", "500",   "<9500 mm", 9500, "<10000 mm", 10000, yes, no,  ResolutionChoice, "100"},
    {"108", "",   "DVT-19",    "50 Cm",  "50",    "<1150 Cm", 1150, "<1200 Cm",  1200,  yes, no,  FixedResolution,  "10"},
};
// clang-format on

// The write side's name table.
struct NameCode {
    const char *name;
    int code;
};
const NameCode kNameCodes[] = {
    {"DVT-14C00", 20},  {"DVT-14C01", 21},  {"DVT-14C10", 22},  {"DVT-14C11", 23},  {"DVT-14M00", 24},
    {"DVT-14M01", 25},  {"DVT-14M10", 26},  {"DVT-14M11", 27},  {"DVT-16C00", 30},  {"DVT-16C01", 31},
    {"DVT-16C10", 32},  {"DVT-16C11", 33},  {"DVT-16M00", 34},  {"DVT-16M01", 35},  {"DVT-16M10", 36},
    {"DVT-16M11", 37},  {"DVT-18C00", 40},  {"DVT-18C01", 41},  {"DVT-18C10", 42},  {"DVT-18C11", 43},
    {"DVT-18M00", 44},  {"DVT-18M01", 45},  {"DVT-18M10", 46},  {"DVT-18M11", 47},  {"DVT-19C00", 50},
    {"DVT-19C01", 51},  {"DVT-19C10", 52},  {"DVT-19C11", 53},  {"DVQ-32C00", 60},  {"DVQ-32C01", 61},
    {"DVQ-32C10", 62},  {"DVQ-32C11", 63},  {"DVQ-32M00", 64},  {"DVQ-32M01", 65},  {"DVQ-32M10", 66},
    {"DVQ-32M11", 67},  {"DVQ-34C00", 70},  {"DVQ-34C01", 71},  {"DVQ-34C10", 72},  {"DVQ-34C11", 73},
    {"DVK-14", 80},     {"DVK-16", 81},     {"DVK-18", 82},     {"DVZ-900", 90},    {"DVT-14C-0", 91},
    {"DVT-14C-1", 92},  {"DVT-14M-0", 93},  {"DVT-14M-1", 94},  {"DVT-16C-0", 95},  {"DVT-16C-1", 96},
    {"DVT-16M-0", 97},  {"DVT-16M-1", 98},  {"DVT-18C-0", 99},  {"DVT-18C-1", 100}, {"DVT-18M-0", 101},
    {"DVT-18M-1", 102}, {"DVT-19C-0", 103}, {"DVT-19C-1", 104}, {"DVT-14", 105},    {"DVT-16", 106},
    {"DVT-18", 107},    {"DVT-19", 108},
};

QString text(const char *latin1)
{
    return latin1 ? QString::fromLatin1(latin1) : QString();
}

// No row has code, whatever the resolution code.
void checkNoRowAtAnyResolution(const QString &code)
{
    for (const char *resolution : {"10", "1", ""})
        QCOMPARE(ModelCatalogue::findByCode(code, QString::fromLatin1(resolution)), nullptr);
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void everyRowHoldsItsValues_data();
    void everyRowHoldsItsValues();
    void noRowsBeyondTheExpectedOnes();

    void codeTextMustMatchExactly_data();
    void codeTextMustMatchExactly();
    void resolutionCodePicksTheRow_data();
    void resolutionCodePicksTheRow();

    void windowForModelCode_data();
    void windowForModelCode();
    void acceptedCodesWithoutARow_data();
    void acceptedCodesWithoutARow();
    void everyRowOpensTheLevelWindow();

    void modelListOrder();
    void modelListNamesMapBackToTheirRows();
    void codeForModelName_data();
    void codeForModelName();

    void baudCodes_data();
    void baudCodes();
    void baudTexts_data();
    void baudTexts();
    void smallCodeTables_data();
    void smallCodeTables();
    void smallCodeTexts_data();
    void smallCodeTexts();
};

void TestCatalogue::everyRowHoldsItsValues_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("blockingText");
    QTest::addColumn<QString>("blockingNumber");
    QTest::addColumn<QString>("fullCaption");
    QTest::addColumn<int>("fullLimit");
    QTest::addColumn<QString>("emptyCaption");
    QTest::addColumn<int>("emptyLimit");
    QTest::addColumn<bool>("digital");
    QTest::addColumn<bool>("analog");
    QTest::addColumn<ModelKind>("kind");
    QTest::addColumn<QString>("marker");

    for (const ExpectedRow &r : kExpectedRows) {
        QTest::addRow("%s/%s", r.code, *r.resolution ? r.resolution : "-")
            << text(r.code) << text(r.resolution) << text(r.name) << text(r.blockingText) << text(r.blockingNumber)
            << text(r.fullCaption) << r.fullLimit << text(r.emptyCaption) << r.emptyLimit << r.digital << r.analog
            << r.kind << text(r.marker);
    }
}

void TestCatalogue::everyRowHoldsItsValues()
{
    QFETCH(QString, code);
    QFETCH(QString, resolution);
    QFETCH(QString, name);
    QFETCH(QString, blockingText);
    QFETCH(QString, blockingNumber);
    QFETCH(QString, fullCaption);
    QFETCH(int, fullLimit);
    QFETCH(QString, emptyCaption);
    QFETCH(int, emptyLimit);
    QFETCH(bool, digital);
    QFETCH(bool, analog);
    QFETCH(ModelKind, kind);
    QFETCH(QString, marker);

    const ModelEntry *entry = ModelCatalogue::findByCode(code, resolution);
    QVERIFY(entry);
    QCOMPARE(QString::number(entry->code), code);
    QCOMPARE(entry->resolutionCode, resolution.isEmpty() ? kNoResolutionCode : resolution.toInt());
    QCOMPARE(text(entry->name), name);
    QCOMPARE(text(entry->blockingText), blockingText);
    // Null and empty compare equal as QStrings; absence is what matters here.
    QCOMPARE(entry->blockingNumber == nullptr, blockingNumber.isNull());
    QCOMPARE(text(entry->blockingNumber), blockingNumber);
    QCOMPARE(text(entry->fullCaption), fullCaption);
    QCOMPARE(entry->fullLimit, fullLimit);
    QCOMPARE(text(entry->emptyCaption), emptyCaption);
    QCOMPARE(entry->emptyLimit, emptyLimit);
    QCOMPARE(entry->hasDigitalOutputs, digital);
    QCOMPARE(entry->hasAnalogOutput, analog);
    QCOMPARE(entry->kind, kind);
    QCOMPARE(entry->writeLayoutMarker == nullptr, marker.isNull());
    QCOMPARE(text(entry->writeLayoutMarker), marker);

    if (resolution.isEmpty()) {
        // Only 105-107 look at the resolution code; any text finds the same row.
        for (const char *other : {"10", "1", "0", "junk"})
            QCOMPARE(ModelCatalogue::findByCode(code, QString::fromLatin1(other)), entry);
    }
}

void TestCatalogue::noRowsBeyondTheExpectedOnes()
{
    QSet<QString> expected;
    for (const ExpectedRow &r : kExpectedRows)
        expected.insert(QStringLiteral("%1/%2").arg(text(r.code), text(r.resolution)));
    QCOMPARE(expected.size(), 64);

    const auto entries = ModelCatalogue::entries();
    QCOMPARE(entries.size(), std::size(kExpectedRows));
    QSet<QString> seen;
    for (const ModelEntry &entry : entries) {
        const QString key
            = QStringLiteral("%1/%2")
                  .arg(entry.code)
                  .arg(entry.resolutionCode == kNoResolutionCode ? QString() : QString::number(entry.resolutionCode));
        QVERIFY2(expected.contains(key), qPrintable(key));
        QVERIFY2(!seen.contains(key), qPrintable(key)); // a second row would never be found
        seen.insert(key);
    }
}

void TestCatalogue::codeTextMustMatchExactly_data()
{
    QTest::addColumn<QString>("code");

    // The code must arrive normalised; the catalogue does no reading of numbers.
    QTest::newRow("leading blank") << " 20";
    QTest::newRow("leading zero") << "020";
    QTest::newRow("trailing blank") << "20 ";
    QTest::newRow("sign") << "+20";
    QTest::newRow("decimal point") << "20.0";
    QTest::newRow("empty") << "";
    QTest::newRow("zero, as an empty reply gives") << "0";
    QTest::newRow("just below the first family") << "19";
    QTest::newRow("gap after DVT-14") << "28";
    QTest::newRow("gap after DVT-19") << "54";
    QTest::newRow("gap after DVQ-34") << "74";
    QTest::newRow("gap after DVK") << "83";
    QTest::newRow("distance model") << "90";
    QTest::newRow("109") << "109";
    QTest::newRow("110") << "110";
    QTest::newRow("111") << "111";
    QTest::newRow("112") << "112";
    QTest::newRow("113") << "113";
    QTest::newRow("255") << "255";
}

void TestCatalogue::codeTextMustMatchExactly()
{
    QFETCH(QString, code);
    checkNoRowAtAnyResolution(code);
}

// clang-format off
void TestCatalogue::resolutionCodePicksTheRow_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<QString>("blockingText"); // empty: no row

    QTest::newRow("105 cm") << "105" << "10" << "30 Cm";
    QTest::newRow("105 mm") << "105" << "1" << "300 mm";
    QTest::newRow("105 resolution 0") << "105" << "0" << "";
    QTest::newRow("105 no resolution") << "105" << "" << "";
    QTest::newRow("105 resolution with a blank") << "105" << " 1" << "";
    QTest::newRow("105 resolution 01") << "105" << "01" << "";
    QTest::newRow("105 resolution 100") << "105" << "100" << "";
    QTest::newRow("106 unit text instead of code") << "106" << "Cm" << "";
    QTest::newRow("107 resolution 2") << "107" << "2" << "";
    QTest::newRow("108 takes any resolution") << "108" << "0" << "50 Cm";
    QTest::newRow("24 keeps millimetres with code 10") << "24" << "10" << "200 mm";
}
// clang-format on

void TestCatalogue::resolutionCodePicksTheRow()
{
    QFETCH(QString, code);
    QFETCH(QString, resolution);
    QFETCH(QString, blockingText);

    const ModelEntry *entry = ModelCatalogue::findByCode(code, resolution);
    if (blockingText.isEmpty()) {
        QCOMPARE(entry, nullptr);
    } else {
        QVERIFY(entry);
        QCOMPARE(text(entry->blockingText), blockingText);
    }
}

// clang-format off
void TestCatalogue::windowForModelCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<ModelWindow>("window");

    const auto level = ModelWindow::Level;
    const auto none = ModelWindow::None;
    for (const char *code : {"20", "27", "30", "37", "40", "47", "50", "53", "60", "67", "70", "73", "80", "82", "91",
                             "104", "105", "108", "112"})
        QTest::addRow("%s", code) << QString::fromLatin1(code) << level;
    QTest::newRow("90") << "90" << ModelWindow::Distance;
    for (const char *code : {"0", "9", "19", "28", "29", "38", "48", "54", "59", "68", "74", "79", "83", "89", "113",
                             "255", "1000"})
        QTest::addRow("%s", code) << QString::fromLatin1(code) << none;
    // Only the normalised text counts.
    QTest::newRow("blank and 90") << " 90" << none;
    QTest::newRow("090") << "090" << none;
    QTest::newRow("020") << "020" << none;
    QTest::newRow("20 with a blank after") << "20 " << none;
    QTest::newRow("20.0") << "20.0" << none;
    QTest::newRow("empty") << "" << none;
    QTest::newRow("a name") << "DVT-14C00" << none;
}
// clang-format on

void TestCatalogue::windowForModelCode()
{
    QFETCH(QString, code);
    QFETCH(ModelWindow, window);
    QCOMPARE(ModelCatalogue::windowForModelCode(code), window);
}

void TestCatalogue::acceptedCodesWithoutARow_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<ModelWindow>("window");

    QTest::newRow("90") << "90" << ModelWindow::Distance;
    QTest::newRow("109") << "109" << ModelWindow::Level;
    QTest::newRow("110") << "110" << ModelWindow::Level;
    QTest::newRow("111") << "111" << ModelWindow::Level;
    QTest::newRow("112") << "112" << ModelWindow::Level;
}

void TestCatalogue::acceptedCodesWithoutARow()
{
    QFETCH(QString, code);
    QFETCH(ModelWindow, window);

    // Identification opens a window; reading then finds no row and shows "NON".
    QCOMPARE(ModelCatalogue::windowForModelCode(code), window);
    checkNoRowAtAnyResolution(code);
}

void TestCatalogue::everyRowOpensTheLevelWindow()
{
    // A row that identification refused could never be read.
    for (const ExpectedRow &r : kExpectedRows)
        QVERIFY2(ModelCatalogue::windowForModelCode(text(r.code)) == ModelWindow::Level, r.code);
}

void TestCatalogue::modelListOrder()
{
    QCOMPARE(kModelNames.size(), 61);

    const QStringList names = ModelCatalogue::modelListNames();
    QCOMPARE(names, kModelNames);
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), 61);
    QVERIFY(!names.contains(QStringLiteral("NON")));     // the window adds it
    QVERIFY(!names.contains(QStringLiteral("DVZ-900"))); // the distance window's
}

void TestCatalogue::modelListNamesMapBackToTheirRows()
{
    for (const QString &name : ModelCatalogue::modelListNames()) {
        const std::optional<int> code = ModelCatalogue::codeForModelName(name);
        QVERIFY2(code, qPrintable(name));
        // Both resolutions: DVT-14, DVT-16 and DVT-18 have a row for each.
        for (const char *resolution : {"10", "1"}) {
            const ModelEntry *entry
                = ModelCatalogue::findByCode(QString::number(*code), QString::fromLatin1(resolution));
            QVERIFY2(entry, qPrintable(name));
            QCOMPARE(text(entry->name), name);
        }
    }
}

void TestCatalogue::codeForModelName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<int>>("code");

    for (const NameCode &nc : kNameCodes)
        QTest::addRow("%s", nc.name) << QString::fromLatin1(nc.name) << std::optional<int>(nc.code);
    QTest::newRow("NON") << "NON" << std::optional<int>();
    QTest::newRow("empty") << "" << std::optional<int>();
    QTest::newRow("lower case") << "dvt-14c00" << std::optional<int>();
    QTest::newRow("trailing blank") << "DVT-14C00 " << std::optional<int>();
    QTest::newRow("leading blank") << " DVK-14" << std::optional<int>();
    QTest::newRow("distance model cut short") << "DVZ-90" << std::optional<int>();
    QTest::newRow("a code") << "20" << std::optional<int>();
}

void TestCatalogue::codeForModelName()
{
    QFETCH(QString, name);
    QFETCH(std::optional<int>, code);
    QCOMPARE(ModelCatalogue::codeForModelName(name), code);
}

// clang-format off
void TestCatalogue::baudCodes_data()
{
    QTest::addColumn<QString>("codeField");
    QTest::addColumn<QString>("baudText"); // empty: no row

    QTest::newRow(" 30") << " 30" << "9600";
    QTest::newRow(" 40") << " 40" << "19200";
    QTest::newRow(" 50") << " 50" << "38400";
    QTest::newRow(" 60") << " 60" << "57600";
    QTest::newRow(" 70") << " 70" << "115200";
    QTest::newRow("zero instead of the blank") << "030" << "";
    QTest::newRow("without the blank") << "30" << "";
    QTest::newRow("blank after") << " 30 " << "";
    QTest::newRow("code between rows") << " 45" << "";
    QTest::newRow("code past the table") << " 80" << "";
    QTest::newRow("three blanks") << "   " << "";
    QTest::newRow("empty") << "" << "";
}
// clang-format on

void TestCatalogue::baudCodes()
{
    QFETCH(QString, codeField);
    QFETCH(QString, baudText);
    QCOMPARE(ModelCatalogue::baudTextForCode(codeField), baudText);
}

void TestCatalogue::baudTexts_data()
{
    QTest::addColumn<QString>("baudText");
    QTest::addColumn<std::optional<int>>("code");

    QTest::newRow("9600") << "9600" << std::optional<int>(30);
    QTest::newRow("19200") << "19200" << std::optional<int>(40);
    QTest::newRow("38400") << "38400" << std::optional<int>(50);
    QTest::newRow("57600") << "57600" << std::optional<int>(60);
    QTest::newRow("115200") << "115200" << std::optional<int>(70);
    QTest::newRow("NON") << "NON" << std::optional<int>();
    QTest::newRow("typed rate") << "4800" << std::optional<int>();
    QTest::newRow("blank after") << "9600 " << std::optional<int>();
    QTest::newRow("empty") << "" << std::optional<int>();
}

void TestCatalogue::baudTexts()
{
    QFETCH(QString, baudText);
    QFETCH(std::optional<int>, code);
    QCOMPARE(ModelCatalogue::baudCodeForText(baudText), code);
}

namespace {

enum class Table { Ogr, Omb, Resolution };

QString textFor(Table table, int code)
{
    switch (table) {
    case Table::Ogr:
        return ModelCatalogue::ogrTextForCode(code);
    case Table::Omb:
        return ModelCatalogue::ombTextForCode(code);
    case Table::Resolution:
        return ModelCatalogue::resolutionTextForCode(code);
    }
    return {};
}

std::optional<int> codeFor(Table table, const QString &text)
{
    switch (table) {
    case Table::Ogr:
        return ModelCatalogue::ogrCodeForText(text);
    case Table::Omb:
        return ModelCatalogue::ombCodeForText(text);
    case Table::Resolution:
        return ModelCatalogue::resolutionCodeForText(text);
    }
    return std::nullopt;
}

// A row of a small code table: which table, a code and a text.
void addSmallTableColumns()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
}

void addSmallTableRow(const char *tag, Table table, int code, const QString &text)
{
    QTest::newRow(tag) << static_cast<int>(table) << code << text;
}

struct SmallTableRow {
    Table table;
    int code;
    QString text;
};

SmallTableRow fetchSmallTableRow()
{
    QFETCH(int, table);
    QFETCH(int, code);
    QFETCH(QString, text);
    return {static_cast<Table>(table), code, text};
}

} // namespace

void TestCatalogue::smallCodeTables_data()
{
    addSmallTableColumns();
    using enum Table;
    addSmallTableRow("OGR 0", Ogr, 0, "High");
    addSmallTableRow("OGR 1", Ogr, 1, "Medium");
    addSmallTableRow("OGR 2", Ogr, 2, "Low");
    addSmallTableRow("OMB 8", Omb, 8, "Wide");
    addSmallTableRow("OMB 6", Omb, 6, "Widish");
    addSmallTableRow("OMB 4", Omb, 4, "Narrow");
    addSmallTableRow("RES 10", Resolution, 10, "Cm");
    addSmallTableRow("RES 1", Resolution, 1, "mm");
}

void TestCatalogue::smallCodeTables()
{
    const SmallTableRow row = fetchSmallTableRow();
    QCOMPARE(textFor(row.table, row.code), row.text);
    QCOMPARE(codeFor(row.table, row.text), std::optional<int>(row.code));
}

void TestCatalogue::smallCodeTexts_data()
{
    // Codes and texts that belong to no row, or to another table.
    addSmallTableColumns();
    using enum Table;
    addSmallTableRow("OGR 3, lower case", Ogr, 3, "high");
    addSmallTableRow("OGR -1, empty", Ogr, -1, "");
    addSmallTableRow("OGR 8, an OMB text", Ogr, 8, "Wide");
    addSmallTableRow("OMB 0, lower case", Omb, 0, "wide");
    addSmallTableRow("OMB 5, blank after", Omb, 5, "Narrow ");
    addSmallTableRow("OMB 2, an OGR text", Omb, 2, "Low");
    addSmallTableRow("RES 0, cm", Resolution, 0, "cm");
    addSmallTableRow("RES 100, MM", Resolution, 100, "MM");
    addSmallTableRow("RES 2, CM", Resolution, 2, "CM");
}

void TestCatalogue::smallCodeTexts()
{
    const SmallTableRow row = fetchSmallTableRow();
    QVERIFY(textFor(row.table, row.code).isEmpty());
    QCOMPARE(codeFor(row.table, row.text), std::nullopt);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
