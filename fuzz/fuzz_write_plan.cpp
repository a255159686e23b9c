// Write checks and write requests: checkLevelEntries, planLevelWrite,
// checkDistanceEntries, planDistanceWrite (sensor/protocol/levelwrite.h, distancewrite.h) and the
// command line's prepareWrite (cli/settingsedit.h) and the restore plan (sensor/protocol/settingsplan.h).
//
// The input is lines. The first line's first character picks what is
// fuzzed:
//   P  the window's entries, one per line in LevelWriteInput order (baud box,
//      model box, OGR box, OMB box, resolution box, the five codes, slave,
//      month, day, year, Empty, Full, Low DO, Hi DO, layout marker); "Pn"
//      hides the thresholds
//   W  the sensor's settings reply, the link's rate, then NAME=VALUE lines
//   R  the sensor's settings reply, then the backup's block as a reply
// A reply that is not a whole block stands for a typical block instead.
#include "fuzzcheck.h"
#include "linesettings.h"
#include "numbers.h"
#include "protocol/distancewrite.h"
#include "protocol/levelwrite.h"
#include "protocol/modelcatalogue.h"
#include "protocol/sensorsettings.h"
#include "protocol/settingsplan.h"
#include "protocol/settingsreply.h"
#include "settingsedit.h"

#include <QHash>
#include <QStringList>

#include <array>
#include <cmath>

using namespace veltra;

namespace {

constexpr unsigned char kHeader[] = {254, 250, 252, 91};

double rounded(const QString &text)
{
    return roundHalfEven(TextToNumber(text));
}

bool inRange(double v, int lo, int hi)
{
    return v >= lo && v <= hi;
}

// The request's payload as numbers, or empty when it is no whole write request.
QList<int> payloadOf(const QByteArray &request)
{
    FUZZ_CHECK(request.size() >= 4);
    for (int i = 0; i < 4; ++i)
        FUZZ_CHECK(static_cast<unsigned char>(request.at(i)) == kHeader[i]);
    QList<int> payload;
    for (qsizetype i = 4; i < request.size(); ++i)
        payload << static_cast<unsigned char>(request.at(i));
    return payload;
}

int word(const QList<int> &payload, int highField)
{
    return payload.at(highField - 1) * 256 + payload.at(highField);
}

// --- P: the window's entries -------------------------------------------

void checkLevelCheck(const LevelEntries &e)
{
    const LevelCheck check = checkLevelEntries(e);
    // The checks in their order: each failure means the ones before passed.
    const bool baud = ModelCatalogue::baudCodeForText(e.baudBox).has_value();
    const bool slave = inRange(rounded(e.slave), 1, 247);
    const bool empty = inRange(rounded(e.empty), 1, 10000);
    const bool full = inRange(rounded(e.full), 1, 9500);
    const double lowDo = rounded(e.lowDo);
    const double hiDo = rounded(e.hiDo);
    const bool thresholds = !e.thresholdsEditable || (lowDo >= 1 && hiDo > lowDo);
    const LevelCheck expected = !baud         ? LevelCheck::Baud
                                : !slave      ? LevelCheck::Slave
                                : !empty      ? LevelCheck::Empty
                                : !full       ? LevelCheck::Full
                                : !thresholds ? LevelCheck::Thresholds
                                              : LevelCheck::Passed;
    FUZZ_CHECK(check == expected);
    FUZZ_CHECK(levelCheckMessage(check).isEmpty() == (check == LevelCheck::Passed));
}

void checkDistanceCheck(const QString &baudBox, const QString &slave, const QString &switchPoint)
{
    const DistanceCheck check = checkDistanceEntries(baudBox, slave, switchPoint);
    const DistanceCheck expected = !ModelCatalogue::baudCodeForText(baudBox) ? DistanceCheck::Baud
                                   : !inRange(rounded(slave), 1, 247)        ? DistanceCheck::Slave
                                   : !inRange(rounded(switchPoint), 61, 599) ? DistanceCheck::Switch
                                                                             : DistanceCheck::Passed;
    FUZZ_CHECK(check == expected);
}

// A box that matches a table entry sends that entry's code; else the code
// field as the last read left it.
QString codeFor(std::optional<int> fromBox, const QString &kept)
{
    return fromBox ? QString::number(*fromBox) : kept;
}

// What both families' plans hold, for one set of checks.
struct PlanView {
    QString error, baudCode, modelCode, ogrCode, ombCode, resolutionCode;
    std::array<QString, 8> byteFields;
    QByteArray request;
    QString lineSettings;
};

PlanView viewOf(const LevelWritePlan &p)
{
    return {p.error,          p.baudCode,     p.modelCode, p.ogrCode,     p.ombCode,
            p.resolutionCode, p.byteFields(), p.request,   p.lineSettings};
}

PlanView viewOf(const DistanceWritePlan &p)
{
    return {p.error,
            p.baudCode,
            p.modelCode,
            p.ogrCode,
            {},
            {},
            {p.empty.high, p.empty.low, p.full.high, p.full.low, p.switchPoint.high, p.switchPoint.low, p.hiDo.high,
             p.hiDo.low},
            p.request,
            p.lineSettings};
}

void checkPlan(const LevelWriteInput &in, const PlanView &plan, bool distance)
{
    const int payloadSize = distance ? 15 : in.layoutMarker == u"100" ? 17 : in.layoutMarker == u"10" ? 16 : 0;

    const QString words[] = {in.empty, in.full, in.lowDo, in.hiDo};
    bool wordsFit = true;
    for (const QString &w : words)
        wordsFit = wordsFit && inRange(rounded(w), 0, 32767);

    const std::optional<int> model = distance ? (in.modelBox == u"DVZ-900" ? std::optional<int>(90) : std::nullopt)
                                              : ModelCatalogue::codeForModelName(in.modelBox);
    const QString codes[] = {
        codeFor(ModelCatalogue::baudCodeForText(in.baudBox), in.baudCode),
        in.slave,
        codeFor(ModelCatalogue::ogrCodeForText(in.ogrBox), in.ogrCode),
        in.month,
        in.day,
        in.year,
        codeFor(model, in.modelCode),
        codeFor(ModelCatalogue::ombCodeForText(in.ombBox), in.ombCode),
        codeFor(ModelCatalogue::resolutionCodeForText(in.resolutionBox), in.resolutionCode),
    };
    // Fields 1-7, then 16 and 17; 8-15 are the words, which fit a byte pair.
    const int codeFields[] = {1, 2, 3, 4, 5, 6, 7, 16, 17};
    bool bytesFit = true;
    for (int i = 0; i < 9; ++i) {
        if (codeFields[i] <= payloadSize)
            bytesFit = bytesFit && inRange(rounded(codes[i]), 0, 255);
    }

    const bool encodable = wordsFit && (payloadSize == 0 || bytesFit);
    FUZZ_CHECK(plan.error.isEmpty() == encodable);
    if (!plan.error.isEmpty()) {
        // A failed plan carries nothing that could be written or sent.
        FUZZ_CHECK(plan.request.isEmpty());
        FUZZ_CHECK(plan.lineSettings.isEmpty());
        FUZZ_CHECK(plan.baudCode.isEmpty() && plan.modelCode.isEmpty() && plan.ogrCode.isEmpty());
        FUZZ_CHECK(plan.ombCode.isEmpty() && plan.resolutionCode.isEmpty());
        for (const QString &b : plan.byteFields)
            FUZZ_CHECK(b.isEmpty());
        return;
    }

    // The byte fields are the words split high byte first.
    for (int i = 0; i < 4; ++i) {
        const int v = int(rounded(words[i]));
        FUZZ_CHECK(plan.byteFields[2 * i] == QString::number(v / 256));
        FUZZ_CHECK(plan.byteFields[2 * i + 1] == QString::number(v % 256));
    }
    // The rate to follow is the one of the baud code sent.
    const BaudRow *row = nullptr;
    for (const BaudRow &r : kBaudTable) {
        if (plan.baudCode == QString::fromLatin1(r.code).trimmed())
            row = &r;
    }
    FUZZ_CHECK(plan.lineSettings == (row ? QLatin1String(row->lineSettings) : QLatin1String("")));

    if (payloadSize == 0) {
        FUZZ_CHECK(plan.request.isEmpty());
        return;
    }
    FUZZ_CHECK(plan.request.size() == 4 + payloadSize);
    const QList<int> payload = payloadOf(plan.request);
    for (int i = 0; i < 9; ++i) {
        if (codeFields[i] <= payloadSize)
            FUZZ_CHECK(payload.at(codeFields[i] - 1) == int(rounded(codes[i])));
    }
    for (int i = 0; i < 4; ++i)
        FUZZ_CHECK(word(payload, 8 + 2 * i) == int(rounded(words[i])));
}

void fuzzEntries(const QStringList &lines)
{
    LevelWriteInput in;
    QString *fields[]
        = {&in.baudBox, &in.modelBox, &in.ogrBox,         &in.ombBox, &in.resolutionBox, &in.baudCode, &in.modelCode,
           &in.ogrCode, &in.ombCode,  &in.resolutionCode, &in.slave,  &in.month,         &in.day,      &in.year,
           &in.empty,   &in.full,     &in.lowDo,          &in.hiDo,   &in.layoutMarker};
    for (int i = 0; i < int(std::size(fields)); ++i)
        *fields[i] = lines.value(i + 1);

    checkLevelCheck(levelEntriesOf(in, !lines.value(0).contains(u'n')));
    checkDistanceCheck(in.baudBox, in.slave, in.lowDo);

    checkPlan(in, viewOf(planLevelWrite(in)), false);
    DistanceWriteInput distanceIn;
    distanceIn.baudBox = in.baudBox;
    distanceIn.modelBox = in.modelBox;
    distanceIn.ogrBox = in.ogrBox;
    distanceIn.baudCode = in.baudCode;
    distanceIn.modelCode = in.modelCode;
    distanceIn.ogrCode = in.ogrCode;
    distanceIn.slave = in.slave;
    distanceIn.month = in.month;
    distanceIn.day = in.day;
    distanceIn.year = in.year;
    distanceIn.empty = in.empty;
    distanceIn.full = in.full;
    distanceIn.switchPoint = in.lowDo;
    distanceIn.hiDo = in.hiDo;
    checkPlan(in, viewOf(planDistanceWrite(distanceIn)), true);
}

// --- W and R: the command line --------------------------------------------

// A whole block from the reply, or a typical one (the model picked by the
// reply's characters) so the rest of the input is still used.
SensorSettings blockFrom(const QString &reply)
{
    QString why;
    if (auto block = SensorSettings::fromReply(reply, &why))
        return *block;
    static const int models[] = {20, 21, 23, 25, 33, 47, 53, 61, 72, 80, 82, 100, 105, 106, 107, 108, 110, 90};
    uint pick = 0;
    for (QChar c : reply)
        pick = pick * 31 + c.unicode();
    const int model = models[pick % std::size(models)];
    // Now and then a stored baud code that is no rate (0).
    const int baud = pick % 3 ? 40 : 0;
    if (model == 90) {
        const int values[] = {baud, 17, 1, 5, 12, 24, 90, 200, 300, 150, 0};
        return SensorSettings::fromValues(SensorFamily::Distance, values);
    }
    const int resolution = (pick / 7) % 2 ? 10 : 1;
    const int values[] = {baud, 5, 0, 1, 15, 98, model, 300, 250, 50, 90, 8, resolution};
    return SensorSettings::fromValues(SensorFamily::Level, values);
}

bool thresholdsEditable(const SensorSettings &block)
{
    const ModelEntry *row = block.row();
    return row && row->hasDigitalOutputs && row->kind != ModelKind::RunControl;
}

// What a request must look like for this sensor: the distance sensor's 15
// fields, 17 for the models with a resolution choice, else 16.
int payloadSizeFor(const SensorSettings &sensor)
{
    if (sensor.family() == SensorFamily::Distance)
        return 15;
    const ModelEntry *row = sensor.row();
    return row && row->writeLayoutMarker && QLatin1String(row->writeLayoutMarker) == u"100" ? 17 : 16;
}

// A Ready write passes the window's checks on the values it carries.
void checkSentValuesPass(const SensorSettings &sensor, const QList<int> &payload)
{
    FUZZ_CHECK(baudRowForCode(payload.at(fieldOf(Setting::Baud) - 1)) != nullptr);
    FUZZ_CHECK(inRange(payload.at(fieldOf(Setting::Slave) - 1), 1, 247));
    if (sensor.family() == SensorFamily::Distance) {
        FUZZ_CHECK(inRange(word(payload, fieldOf(Setting::LowDo)), 61, 599));
        return;
    }
    FUZZ_CHECK(inRange(word(payload, fieldOf(Setting::Empty)), 1, 10000));
    FUZZ_CHECK(inRange(word(payload, fieldOf(Setting::Full)), 1, 9500));
    if (thresholdsEditable(sensor)) {
        const int lowDo = word(payload, fieldOf(Setting::LowDo));
        FUZZ_CHECK(lowDo >= 1 && word(payload, fieldOf(Setting::HiDo)) > lowDo);
    }
}

int sentValue(const QList<int> &payload, const BlockSetting &setting)
{
    return setting.word ? word(payload, setting.field) : payload.at(setting.field - 1);
}

// The code of a choice typed in any letter case.
std::optional<int> choiceCode(const QString &name, const QString &typed)
{
    struct Choice {
        const char *setting;
        const char *text;
        int code;
    };
    static const Choice choices[] = {
        {"ogr", "High", 0},   {"ogr", "Medium", 1}, {"ogr", "Low", 2},        {"omb", "Wide", 8},
        {"omb", "Widish", 6}, {"omb", "Narrow", 4}, {"resolution", "Cm", 10}, {"resolution", "mm", 1},
    };
    for (const Choice &c : choices) {
        if (name == QLatin1String(c.setting) && typed.compare(QLatin1String(c.text), Qt::CaseInsensitive) == 0)
            return c.code;
    }
    return std::nullopt;
}

void fuzzWrite(const QStringList &lines)
{
    const SensorSettings sensor = blockFrom(lines.value(1));
    const QString linkBaud = lines.value(2);
    const QStringList assignments = lines.mid(3);

    const PreparedWrite prepared = prepareWrite(sensor, assignments, linkBaud);
    if (prepared.status != PreparedWrite::Status::Ready) {
        FUZZ_CHECK(prepared.plan.request.isEmpty());
        FUZZ_CHECK(!prepared.message.isEmpty());
        return;
    }
    FUZZ_CHECK(!assignments.isEmpty());
    FUZZ_CHECK(prepared.message.isEmpty());
    const int size = payloadSizeFor(sensor);
    FUZZ_CHECK(prepared.plan.request.size() == 4 + size);
    const QList<int> payload = payloadOf(prepared.plan.request);
    checkSentValuesPass(sensor, payload);

    // Every setting named is sent as asked; every other keeps what the
    // sensor holds (the model code always), except a stored baud code that
    // is not exactly one of the five (" 40"), which becomes the link's rate
    // as the window's box shows it.
    QHash<QString, QString> asked;
    for (const QString &a : assignments) {
        const qsizetype eq = a.indexOf(u'=');
        FUZZ_CHECK(eq > 0);
        const QString name = a.left(eq).trimmed().toLower();
        FUZZ_CHECK(!asked.contains(name));
        asked.insert(name, a.mid(eq + 1).trimmed());
    }
    for (const BlockSetting &setting : blockSettings(sensor.family())) {
        if (setting.field + (setting.word ? 1 : 0) > size)
            continue;
        const QString name = QLatin1String(setting.name);
        const int sent = sentValue(payload, setting);
        if (asked.contains(name)) {
            const QString value = asked.value(name);
            if (name == u"baud")
                FUZZ_CHECK(ModelCatalogue::baudCodeForText(value) == sent);
            else if (name == u"ogr" || name == u"omb" || name == u"resolution")
                FUZZ_CHECK(choiceCode(name, value) == sent);
            else
                FUZZ_CHECK(rounded(value) == sent);
            continue;
        }
        if (name == u"baud" && sensor.baudText().isEmpty())
            FUZZ_CHECK(ModelCatalogue::baudCodeForText(linkBaud) == sent);
        else
            FUZZ_CHECK(sensor.value(setting) == sent);
    }
}

void fuzzRestore(const QStringList &lines)
{
    const SensorSettings sensor = blockFrom(lines.value(1));
    const SensorSettings backup = blockFrom(lines.value(2));
    if (sensor.family() != backup.family())
        return; // the caller refuses these before anything is prepared

    const RestorePlan plan = planRestore(sensor, backup, QStringLiteral("f"), false);
    if (plan.status != RestorePlan::Status::Ready) {
        FUZZ_CHECK(!plan.message.isEmpty());
        return;
    }
    const QByteArray request = planWrite(plan.target).request;
    const int size = payloadSizeFor(sensor);
    FUZZ_CHECK(request.size() == 4 + size);
    const QList<int> payload = payloadOf(request);
    // The backup's value where the sensor's model lets it change, the
    // sensor's own elsewhere (the model code always); a changed value is
    // one the tables define, and the pair of thresholds stays in order.
    for (const BlockSetting &setting : blockSettings(sensor.family())) {
        if (setting.field + (setting.word ? 1 : 0) > size)
            continue;
        const int sent = sentValue(payload, setting);
        const bool applied = sensor.mayChange(setting);
        FUZZ_CHECK(setting.kind != SettingKind::Model || !applied);
        FUZZ_CHECK(sent == (applied ? backup : sensor).value(setting));
        FUZZ_CHECK(sent == sensor.value(setting) || isDefinedValue(setting, sent));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString input = fuzz::latin1(data, size);
    fuzz::note(input);
    const QStringList lines = input.split(u'\n');
    const QString mode = lines.value(0);
    switch (mode.isEmpty() ? u'\0' : mode.at(0).unicode()) {
    case u'P':
        fuzzEntries(lines);
        break;
    case u'W':
        fuzzWrite(lines);
        break;
    case u'R':
        fuzzRestore(lines);
        break;
    default:
        break;
    }
    return 0;
}
