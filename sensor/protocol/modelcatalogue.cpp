#include "protocol/modelcatalogue.h"

#include "linesettings.h"
#include "protocol/settingsblock.h"

#include <QLatin1String>

#include <array>

namespace veltra {
namespace {

constexpr bool yes = true;
constexpr bool no = false;

// clang-format off
// One helper per kind, its arguments in the columns of that kind's table,
// so each row below reads like a line of it.
constexpr ModelEntry standard(int code, const char *name, const char *blockingText, const char *fullCaption,
                              int fullLimit, const char *emptyCaption, int emptyLimit, bool digital, bool analog)
{
    return {code, kNoResolutionCode, name, blockingText, nullptr, fullCaption, fullLimit, emptyCaption, emptyLimit,
            digital, analog, ModelKind::Standard, nullptr};
}

constexpr ModelEntry runControl(int code, const char *name, const char *blockingText, const char *fullCaption,
                                int fullLimit, const char *emptyCaption, int emptyLimit)
{
    return {code, kNoResolutionCode, name, blockingText, nullptr, fullCaption, fullLimit, emptyCaption, emptyLimit,
            no, yes, ModelKind::RunControl, nullptr};
}

constexpr ModelEntry resolutionChoice(int code, int resolutionCode, const char *name, const char *blockingText,
                                      const char *blockingNumber, const char *fullCaption, int fullLimit,
                                      const char *emptyCaption, int emptyLimit, const char *marker)
{
    return {code, resolutionCode, name, blockingText, blockingNumber, fullCaption, fullLimit, emptyCaption,
            emptyLimit, yes, no, ModelKind::ResolutionChoice, marker};
}

constexpr ModelEntry fixedResolution(int code, const char *name, const char *blockingText, const char *blockingNumber,
                                     const char *fullCaption, int fullLimit, const char *emptyCaption, int emptyLimit,
                                     const char *marker)
{
    return {code, kNoResolutionCode, name, blockingText, blockingNumber, fullCaption, fullLimit, emptyCaption,
            emptyLimit, yes, no, ModelKind::FixedResolution, marker};
}

// Columns: code, [resolution code,] name, blocking text, [blocking number,]
// full caption, full limit, empty caption, empty limit, then digital and
// analog outputs (standard rows) or the write-layout marker (105-108).
// Nothing here is derived from anything else, so values that look
// inconsistent stay as they are: 106 has the caption "<570 Cm" with the
// limit 560 ("<5700 mm" with 5600), and the DVK full limits are not the
// empty limit minus the blocking distance.
constexpr std::array<ModelEntry, 64> kEntries{{
    standard(20,  "DVT-14C00", "20 Cm",  "<280 cm",  280,  "<300 cm",   300,   no,  no),
    standard(21,  "DVT-14C01", "20 Cm",  "<280 cm",  280,  "<300 cm",   300,   yes, no),
    standard(22,  "DVT-14C10", "20 Cm",  "<280 cm",  280,  "<300 cm",   300,   no,  yes),
    standard(23,  "DVT-14C11", "20 Cm",  "<280 cm",  280,  "<300 cm",   300,   yes, yes),
    standard(24,  "DVT-14M00", "200 mm", "<2800 mm", 2800, "<3000 mm",  3000,  no,  no),
    standard(25,  "DVT-14M01", "200 mm", "<2800 mm", 2800, "<3000 mm",  3000,  yes, no),
    standard(26,  "DVT-14M10", "200 mm", "<2800 mm", 2800, "<3000 mm",  3000,  no,  yes),
    standard(27,  "DVT-14M11", "200 mm", "<2800 mm", 2800, "<3000 mm",  3000,  yes, yes),
    standard(30,  "DVT-16C00", "30 Cm",  "<570 Cm",  570,  "<600 Cm",   600,   no,  no),
    standard(31,  "DVT-16C01", "30 Cm",  "<570 Cm",  570,  "<600 Cm",   600,   yes, no),
    standard(32,  "DVT-16C10", "30 Cm",  "<570 Cm",  570,  "<600 Cm",   600,   no,  yes),
    standard(33,  "DVT-16C11", "30 Cm",  "<570 Cm",  570,  "<600 Cm",   600,   yes, yes),
    standard(34,  "DVT-16M00", "300 mm", "<5700 mm", 5700, "<6000 mm",  6000,  no,  no),
    standard(35,  "DVT-16M01", "300 mm", "<5700 mm", 5700, "<6000 mm",  6000,  yes, no),
    standard(36,  "DVT-16M10", "300 mm", "<5700 mm", 5700, "<6000 mm",  6000,  no,  yes),
    standard(37,  "DVT-16M11", "300 mm", "<5700 mm", 5700, "<6000 mm",  6000,  yes, yes),
    standard(40,  "DVT-18C00", "50 Cm",  "<950 Cm",  950,  "<1000 Cm",  1000,  no,  no),
    standard(41,  "DVT-18C01", "50 Cm",  "<950 Cm",  950,  "<1000 Cm",  1000,  yes, no),
    standard(42,  "DVT-18C10", "50 Cm",  "<950 Cm",  950,  "<1000 Cm",  1000,  no,  yes),
    standard(43,  "DVT-18C11", "50 Cm",  "<950 Cm",  950,  "<1000 Cm",  1000,  yes, yes),
    standard(44,  "DVT-18M00", "500 mm", "<9500 mm", 9500, "<10000 mm", 10000, no,  no),
    standard(45,  "DVT-18M01", "500 mm", "<9500 mm", 9500, "<10000 mm", 10000, yes, no),
    standard(46,  "DVT-18M10", "500 mm", "<9500 mm", 9500, "<10000 mm", 10000, no,  yes),
    standard(47,  "DVT-18M11", "500 mm", "<9500 mm", 9500, "<10000 mm", 10000, yes, yes),
    standard(50,  "DVT-19C00", "60 Cm",  "<1440 Cm", 1440, "<1500 Cm",  1500,  no,  no),
    standard(51,  "DVT-19C01", "60 Cm",  "<1440 Cm", 1440, "<1500 Cm",  1500,  yes, no),
    standard(52,  "DVT-19C10", "60 Cm",  "<1440 Cm", 1440, "<1500 Cm",  1500,  no,  yes),
    standard(53,  "DVT-19C11", "60 Cm",  "<1440 Cm", 1440, "<1500 Cm",  1500,  yes, yes),
    standard(60,  "DVQ-32C00", "50 Cm",  "<150 cm",  150,  "<200 cm",   200,   no,  no),
    standard(61,  "DVQ-32C01", "50 Cm",  "<150 cm",  150,  "<200 cm",   200,   yes, no),
    standard(62,  "DVQ-32C10", "50 Cm",  "<150 cm",  150,  "<200 cm",   200,   no,  yes),
    standard(63,  "DVQ-32C11", "50 Cm",  "<150 cm",  150,  "<200 cm",   200,   yes, yes),
    standard(64,  "DVQ-32M00", "500 mm", "<1500 mm", 1500, "<2000 mm",  2000,  no,  no),
    standard(65,  "DVQ-32M01", "500 mm", "<1500 mm", 1500, "<2000 mm",  2000,  yes, no),
    standard(66,  "DVQ-32M10", "500 mm", "<1500 mm", 1500, "<2000 mm",  2000,  no,  yes),
    standard(67,  "DVQ-32M11", "500 mm", "<1500 mm", 1500, "<2000 mm",  2000,  yes, yes),
    standard(70,  "DVQ-34C00", "50 Cm",  "<350 cm",  350,  "<400 cm",   400,   no,  no),
    standard(71,  "DVQ-34C01", "50 Cm",  "<350 cm",  350,  "<400 cm",   400,   yes, no),
    standard(72,  "DVQ-34C10", "50 Cm",  "<350 cm",  350,  "<400 cm",   400,   no,  yes),
    standard(73,  "DVQ-34C11", "50 Cm",  "<350 cm",  350,  "<400 cm",   400,   yes, yes),
    standard(91,  "DVT-14C-0", "20 Cm",  "<280 cm",  280,  "<300 cm",   300,   no,  no),
    standard(92,  "DVT-14C-1", "20 Cm",  "<280 cm",  280,  "<300 cm",   300,   yes, no),
    standard(93,  "DVT-14M-0", "200 mm", "<2800 mm", 2800, "<3000 mm",  3000,  no,  no),
    standard(94,  "DVT-14M-1", "200 mm", "<2800 mm", 2800, "<3000 mm",  3000,  yes, no),
    standard(95,  "DVT-16C-0", "30 Cm",  "<570 Cm",  570,  "<600 Cm",   600,   no,  no),
    standard(96,  "DVT-16C-1", "30 Cm",  "<570 Cm",  570,  "<600 Cm",   600,   yes, no),
    standard(97,  "DVT-16M-0", "300 mm", "<5700 mm", 5700, "<6000 mm",  6000,  no,  no),
    standard(98,  "DVT-16M-1", "300 mm", "<5700 mm", 5700, "<6000 mm",  6000,  yes, no),
    standard(99,  "DVT-18C-0", "50 Cm",  "<950 Cm",  950,  "<1000 Cm",  1000,  no,  no),
    standard(100, "DVT-18C-1", "50 Cm",  "<950 Cm",  950,  "<1000 Cm",  1000,  yes, no),
    standard(101, "DVT-18M-0", "500 mm", "<9500 mm", 9500, "<10000 mm", 10000, no,  no),
    standard(102, "DVT-18M-1", "500 mm", "<9500 mm", 9500, "<10000 mm", 10000, yes, no),
    standard(103, "DVT-19C-0", "60 Cm",  "<1440 Cm", 1440, "<1500 Cm",  1500,  no,  no),
    standard(104, "DVT-19C-1", "60 Cm",  "<1440 Cm", 1440, "<1500 Cm",  1500,  yes, no),

    runControl(80, "DVK-14", "30 Cm", "<280 cm", 280, "<300 cm",  300),
    runControl(81, "DVK-16", "40 Cm", "<570 cm", 570, "<600 cm",  600),
    runControl(82, "DVK-18", "50 Cm", "<950 cm", 950, "<1000 cm", 1000),

    resolutionChoice(105, 10, "DVT-14", "30 Cm",  "30",  "<270 Cm",  270,  "<300 Cm",   300,   "100"),
    resolutionChoice(105, 1,  "DVT-14", "300 mm", "300", "<2700 mm", 2700, "<3000 mm",  3000,  "100"),
    resolutionChoice(106, 10, "DVT-16", "40 Cm",  "40",  "<570 Cm",  560,  "<600 Cm",   600,   "100"),
    resolutionChoice(106, 1,  "DVT-16", "400 mm", "400", "<5700 mm", 5600, "<6000 mm",  6000,  "100"),
    resolutionChoice(107, 10, "DVT-18", "50 Cm",  "50",  "<950 Cm",  950,  "<1000 Cm",  1000,  "100"),
    resolutionChoice(107, 1,  "DVT-18", "500 mm", "500", "<9500 mm", 9500, "<10000 mm", 10000, "100"),
    fixedResolution(108, "DVT-19", "50 Cm", "50", "<1150 Cm", 1150, "<1200 Cm", 1200, "10"),
}};

// Codes in the order of the model box. DVT-14/16/18 appear once although
// each has two rows.
constexpr std::array<int, 61> kModelListCodes{
    20, 21, 22, 23, 24, 25, 26, 27,          // DVT-14
    30, 31, 32, 33, 34, 35, 36, 37,          // DVT-16
    40, 41, 42, 43, 44, 45, 46, 47,          // DVT-18
    50, 51, 52, 53,                          // DVT-19
    91, 92, 93, 94, 95, 96, 97, 98,          // DVT-14, DVT-16 "-0"/"-1"
    99, 100, 101, 102, 103, 104,             // DVT-18, DVT-19 "-0"/"-1"
    60, 61, 62, 63, 64, 65, 66, 67,          // DVQ-32
    70, 71, 72, 73,                          // DVQ-34
    80, 81, 82,                              // DVK
    105, 106, 107, 108,                      // DVT with the resolution set on the sensor
};
// clang-format on

constexpr const ModelEntry *firstRowOf(int code)
{
    for (const ModelEntry &entry : kEntries) {
        if (entry.code == code)
            return &entry;
    }
    return nullptr;
}

constexpr bool everyListCodeHasARow()
{
    for (int code : kModelListCodes) {
        if (!firstRowOf(code))
            return false;
    }
    return true;
}
static_assert(everyListCodeHasARow());

// Inclusive ranges of the codes that open the level window.
struct CodeRange {
    int first;
    int last;
};
// clang-format off
constexpr std::array<CodeRange, 8> kLevelCodes{{
    {20, 27}, {30, 37}, {40, 47}, {50, 53}, {60, 67}, {70, 73}, {80, 82}, {91, 112},
}};

// clang-format on

} // namespace

std::span<const ModelEntry> ModelCatalogue::entries()
{
    return kEntries;
}

const ModelEntry *ModelCatalogue::findByCode(const QString &codeText, const QString &resolutionCodeText)
{
    // Comparing texts rather than parsed numbers: a code field that was not
    // normalised (" 20", "020") must find nothing.
    for (const ModelEntry &entry : kEntries) {
        if (codeText != QString::number(entry.code))
            continue;
        if (entry.resolutionCode == kNoResolutionCode || resolutionCodeText == QString::number(entry.resolutionCode))
            return &entry;
    }
    return nullptr;
}

QStringList ModelCatalogue::modelListNames()
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(kModelListCodes.size()));
    for (int code : kModelListCodes)
        names << QString::fromLatin1(firstRowOf(code)->name);
    return names;
}

std::optional<int> ModelCatalogue::codeForModelName(const QString &name)
{
    if (name == QLatin1String(kDistanceModelName))
        return kDistanceModelCode;
    for (const ModelEntry &entry : kEntries) {
        if (name == QLatin1String(entry.name))
            return entry.code;
    }
    return std::nullopt;
}

ModelWindow ModelCatalogue::windowForModelCode(const QString &normalisedCode)
{
    if (normalisedCode == QString::number(kDistanceModelCode))
        return ModelWindow::Distance;
    for (const CodeRange &range : kLevelCodes) {
        for (int code = range.first; code <= range.last; ++code) {
            if (normalisedCode == QString::number(code))
                return ModelWindow::Level;
        }
    }
    return ModelWindow::None;
}

QString ModelCatalogue::baudTextForCode(const QString &codeField)
{
    for (const BaudRow &row : kBaudTable) {
        if (codeField == QLatin1String(row.code))
            return QString::fromLatin1(row.baudText);
    }
    return {};
}

std::optional<int> ModelCatalogue::baudCodeForText(const QString &baudText)
{
    const BaudRow *row = baudRowForText(baudText);
    if (!row)
        return std::nullopt;
    return QString::fromLatin1(row->code).trimmed().toInt();
}

QString ModelCatalogue::ogrTextForCode(int code)
{
    return choiceName(blockSetting(Setting::Ogr), code);
}

std::optional<int> ModelCatalogue::ogrCodeForText(const QString &text)
{
    return choiceCode(blockSetting(Setting::Ogr), text);
}

QString ModelCatalogue::ombTextForCode(int code)
{
    return choiceName(blockSetting(Setting::Omb), code);
}

std::optional<int> ModelCatalogue::ombCodeForText(const QString &text)
{
    return choiceCode(blockSetting(Setting::Omb), text);
}

QString ModelCatalogue::resolutionTextForCode(int code)
{
    return choiceName(blockSetting(Setting::Resolution), code);
}

std::optional<int> ModelCatalogue::resolutionCodeForText(const QString &text)
{
    return choiceCode(blockSetting(Setting::Resolution), text);
}

} // namespace veltra
