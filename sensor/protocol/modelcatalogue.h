#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace veltra {

// Selects the extra display rules a row brings when settings are read.
enum class ModelKind {
    Standard,         // fixed unit; outputs as the row says
    RunControl,       // DVK: analog output and the RUN button, no digital outputs
    ResolutionChoice, // 105-107: one row per resolution code
    FixedResolution,  // 108: the resolution box goes away
};

// The settings window a reported model code opens.
enum class ModelWindow { Distance, Level, None };

// resolutionCode of every row that is not one of a pair for 105-107.
inline constexpr int kNoResolutionCode = 0;

// One model of the catalogue. Texts are ASCII and appear exactly as the
// windows show them, odd spellings included ("Cm" next to "cm").
struct ModelEntry {
    int code;                   // as the sensor reports it; looked up by its decimal text
    int resolutionCode;         // 10 (centimetres) or 1 (millimetres) on 105-107, else kNoResolutionCode
    const char *name;           // model box text
    const char *blockingText;   // blocking distance with its unit: "20 Cm", "200 mm"
    const char *blockingNumber; // the same as a bare number ("30"); nullptr except on 105-108
    const char *fullCaption;    // caption beside Full: "<280 cm"
    int fullLimit;              // largest Full value
    const char *emptyCaption;   // caption beside Empty: "<300 cm"
    int emptyLimit;             // largest Empty value
    bool hasDigitalOutputs;     // switching outputs set by Low DO and Hi DO
    bool hasAnalogOutput;       // 4-20 mA output
    ModelKind kind;
    const char *writeLayoutMarker; // "100" (long write) or "10" (short); nullptr: the marker stays as it is
};

// The fixed tables of the level models and the small code tables of the
// settings block. Every lookup compares texts exactly and case-sensitively,
// as the windows compare their field texts.
class ModelCatalogue
{
public:
    // The distance model has no row; only identification and the write
    // side's name table know it.
    static constexpr int kDistanceModelCode = 90;
    static constexpr const char *kDistanceModelName = "DVZ-900";

    // Every row, in the order of the tables they were written from.
    static std::span<const ModelEntry> entries();

    // The row for a model code given as plain decimal text ("20", "105").
    // " 20" and "020" find nothing. For 105-107 the resolution-code text
    // ("10" or "1") picks the row and any other text finds nothing; other
    // codes ignore it. nullptr for codes without a row (90, 109-112, ...).
    static const ModelEntry *findByCode(const QString &codeText, const QString &resolutionCodeText);

    // The 61 names of the level window's model box, in list order (not code
    // order); the box adds "NON" after them.
    static QStringList modelListNames();

    // The write side's name table: every row's name and "DVZ-900" to their
    // codes. Empty for any other text.
    static std::optional<int> codeForModelName(const QString &name);

    // Which window a normalised model code (plain decimal text) opens.
    static ModelWindow windowForModelCode(const QString &normalisedCode);

    // Baud code as the three characters of the settings block (" 30", the
    // blank included) to its baud text ("9600"); empty for anything else.
    static QString baudTextForCode(const QString &codeField);
    // Baud text ("9600") to its code (30).
    static std::optional<int> baudCodeForText(const QString &baudText);

    // OGR: 0 "High", 1 "Medium", 2 "Low".
    static QString ogrTextForCode(int code);
    static std::optional<int> ogrCodeForText(const QString &text);

    // OMB: 8 "Wide", 6 "Widish", 4 "Narrow".
    static QString ombTextForCode(int code);
    static std::optional<int> ombCodeForText(const QString &text);

    // Resolution: 10 "Cm", 1 "mm".
    static QString resolutionTextForCode(int code);
    static std::optional<int> resolutionCodeForText(const QString &text);
};

} // namespace veltra
