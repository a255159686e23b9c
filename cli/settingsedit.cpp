#include "settingsedit.h"

#include "numbers.h"
#include "settingsreply.h"

#include <QSet>

namespace veltra {

namespace {

constexpr int kRequestHeader = 4; // FrameHeader and the command byte

// The window's thresholds are shown only for models with digital outputs;
// a run-control model disables them.
bool thresholdsEditable(const SensorBlock &block)
{
    const ModelEntry *entry = block.row();
    return entry && entry->hasDigitalOutputs && entry->kind != ModelKind::RunControl;
}

// Only the models that choose their resolution offer the resolution box.
bool resolutionEditable(const SensorBlock &block)
{
    const ModelEntry *entry = block.row();
    return entry && entry->kind == ModelKind::ResolutionChoice;
}

// The window's fields right after reading this block. The baud box keeps its
// text (the rate the link found) when the stored code is not a rate.
LevelWriteInput windowAfterRead(const SensorBlock &block, const QString &baudBoxBefore)
{
    const bool level = block.family() == SensorFamily::Level;
    LevelWriteInput in;
    in.baudBox = block.baudText().isEmpty() ? baudBoxBefore : block.baudText();
    const QString name = block.modelName();
    in.modelBox = name == u"unknown" ? QStringLiteral("NON") : name;
    in.ogrBox = ModelCatalogue::ogrTextForCode(block.value(Setting::Ogr));
    in.modelCode = block.text(Setting::Model);
    in.ogrCode = block.text(Setting::Ogr);
    in.slave = block.text(Setting::Slave);
    in.month = block.text(Setting::Month);
    in.day = block.text(Setting::Day);
    in.year = block.text(Setting::Year);
    in.empty = block.valueText("empty");
    in.full = block.valueText("full");
    in.lowDo = block.valueText(level ? "low-do" : "switch");
    in.hiDo = block.valueText("hi-do");
    if (level) {
        in.ombBox = ModelCatalogue::ombTextForCode(block.value(Setting::Omb));
        in.resolutionBox = ModelCatalogue::resolutionTextForCode(block.value(Setting::Resolution));
        in.ombCode = block.text(Setting::Omb);
        in.resolutionCode = block.text(Setting::Resolution);
        // A row without a marker leaves the window's design text.
        const ModelEntry *entry = block.row();
        in.layoutMarker = QLatin1String(entry && entry->writeLayoutMarker ? entry->writeLayoutMarker : "10");
    }
    return in;
}

// The box text for a choice typed in any letter case; empty when it is none
// of the box's entries.
QString matchingChoice(const QString &typed, const QStringList &choices)
{
    for (const QString &choice : choices) {
        if (typed.compare(choice, Qt::CaseInsensitive) == 0)
            return choice;
    }
    return {};
}

QStringList choicesOf(const QString &name)
{
    if (name == u"ogr")
        return {QStringLiteral("High"), QStringLiteral("Medium"), QStringLiteral("Low")};
    if (name == u"omb")
        return {QStringLiteral("Wide"), QStringLiteral("Widish"), QStringLiteral("Narrow")};
    if (name == u"resolution")
        return {QStringLiteral("Cm"), QStringLiteral("mm")};
    return {};
}

PreparedWrite usage(const QString &message)
{
    PreparedWrite result;
    result.status = PreparedWrite::Status::Usage;
    result.message = message;
    return result;
}

PreparedWrite refused(const QString &message)
{
    PreparedWrite result;
    result.status = PreparedWrite::Status::Refused;
    result.message = withoutControlTail(message);
    return result;
}

// The distance window's fields are the level window's first ones; its Low DO
// place holds the switch point.
DistanceWriteInput distanceInputOf(const LevelWriteInput &in)
{
    return {
        .baudBox = in.baudBox,
        .modelBox = in.modelBox,
        .ogrBox = in.ogrBox,
        .baudCode = in.baudCode,
        .modelCode = in.modelCode,
        .ogrCode = in.ogrCode,
        .slave = in.slave,
        .month = in.month,
        .day = in.day,
        .year = in.year,
        .empty = in.empty,
        .full = in.full,
        .switchPoint = in.lowDo,
        .hiDo = in.hiDo,
    };
}

// A failed check in the words of the command line: the setting's name and
// what it may hold (the windows show their own fixed messages instead).
QString rangeMessage(const QString &name, const QString &allowed, const QString &given)
{
    return QStringLiteral("%1 must be %2, not \"%3\". Nothing was sent.").arg(name, allowed, given);
}

QString levelRangeMessage(LevelCheck check, const LevelWriteInput &in)
{
    switch (check) {
    case LevelCheck::Passed:
        break;
    case LevelCheck::Baud:
        return rangeMessage(QStringLiteral("baud"), QStringLiteral("one of 9600, 19200, 38400, 57600, 115200"),
                            in.baudBox);
    case LevelCheck::Slave:
        return rangeMessage(QStringLiteral("slave"), QStringLiteral("1 to 247 once rounded"), in.slave);
    case LevelCheck::Empty:
        return rangeMessage(QStringLiteral("empty"), QStringLiteral("1 to 10000 once rounded"), in.empty);
    case LevelCheck::Full:
        return rangeMessage(QStringLiteral("full"), QStringLiteral("1 to 9500 once rounded"), in.full);
    case LevelCheck::Thresholds:
        return QStringLiteral("low-do must be 1 or more and hi-do greater than low-do once rounded, not low-do \"%1\" "
                              "and hi-do \"%2\". Nothing was sent.")
            .arg(in.lowDo, in.hiDo);
    }
    return {};
}

QString distanceRangeMessage(DistanceCheck check, const LevelWriteInput &in)
{
    switch (check) {
    case DistanceCheck::Passed:
        break;
    case DistanceCheck::Baud:
        return levelRangeMessage(LevelCheck::Baud, in);
    case DistanceCheck::Slave:
        return levelRangeMessage(LevelCheck::Slave, in);
    case DistanceCheck::Switch:
        return rangeMessage(QStringLiteral("switch"), QStringLiteral("61 to 599 once rounded"), in.lowDo);
    }
    return {};
}

// The window's checks, then its request; nothing is sent from here.
PreparedWrite checkAndPlan(const SensorBlock &sensor, const LevelWriteInput &in)
{
    PreparedWrite result;
    QString error;
    if (sensor.family() == SensorFamily::Level) {
        const LevelCheck check = checkLevelEntries(levelEntriesOf(in, thresholdsEditable(sensor)));
        if (check != LevelCheck::Passed)
            return refused(levelRangeMessage(check, in));
        const LevelWritePlan plan = planLevelWrite(in);
        error = plan.error;
        result.request = plan.request;
        result.lineSettings = plan.lineSettings;
    } else {
        const DistanceCheck check = checkDistanceEntries(in.baudBox, in.slave, in.lowDo);
        if (check != DistanceCheck::Passed)
            return refused(distanceRangeMessage(check, in));
        const DistanceWritePlan plan = planDistanceWrite(distanceInputOf(in));
        error = plan.error;
        result.request = plan.request;
        result.lineSettings = plan.lineSettings;
    }
    if (!error.isEmpty())
        return refused(error);
    if (result.request.isEmpty())
        return refused(QStringLiteral("The model's write layout is unknown: nothing can be sent."));
    return result;
}

} // namespace

QStringList changeableSettings(const SensorBlock &block)
{
    if (block.family() == SensorFamily::Distance)
        return {QStringLiteral("baud"), QStringLiteral("slave"), QStringLiteral("ogr"), QStringLiteral("switch")};
    QStringList names{QStringLiteral("baud"), QStringLiteral("slave"), QStringLiteral("ogr"), QStringLiteral("omb")};
    if (resolutionEditable(block))
        names << QStringLiteral("resolution");
    names << QStringLiteral("empty") << QStringLiteral("full");
    if (thresholdsEditable(block))
        names << QStringLiteral("low-do") << QStringLiteral("hi-do");
    return names;
}

PreparedWrite prepareWrite(const SensorBlock &current, const QStringList &assignments, const QString &linkBaudText)
{
    if (assignments.isEmpty())
        return usage(QStringLiteral("Nothing to write: give at least one --set NAME=VALUE."));

    const QStringList changeable = changeableSettings(current);
    LevelWriteInput in = windowAfterRead(current, linkBaudText);
    QSet<QString> seen;
    for (const QString &assignment : assignments) {
        const qsizetype equals = assignment.indexOf(u'=');
        if (equals <= 0)
            return usage(QStringLiteral("\"%1\" is not NAME=VALUE.").arg(assignment));
        const QString name = assignment.left(equals).trimmed().toLower();
        const QString value = assignment.mid(equals + 1).trimmed();
        if (!changeable.contains(name)) {
            return usage(QStringLiteral("%1 has no setting \"%2\" to change; it has: %3.")
                             .arg(current.modelName(), name, changeable.join(QStringLiteral(", "))));
        }
        if (seen.contains(name))
            return usage(QStringLiteral("\"%1\" is set twice.").arg(name));
        seen.insert(name);

        const QStringList choices = choicesOf(name);
        if (!choices.isEmpty()) {
            const QString text = matchingChoice(value, choices);
            if (text.isEmpty()) {
                return usage(QStringLiteral("%1 must be one of %2, not \"%3\".")
                                 .arg(name, choices.join(QStringLiteral(", ")), value));
            }
            (name == u"ogr" ? in.ogrBox : name == u"omb" ? in.ombBox : in.resolutionBox) = text;
            continue;
        }
        // The baud rate goes into the baud box as typed: the window's own
        // check turns away anything but the five rates. Numbers may be
        // empty (the check's "or empty"), but not text that merely starts
        // with a number, which the window would read as that number.
        if (name != u"baud" && !value.isEmpty() && !isNumberText(value))
            return usage(QStringLiteral("%1 must be a number, not \"%2\".").arg(name, value));
        if (name == u"baud")
            in.baudBox = value;
        else if (name == u"slave")
            in.slave = value;
        else if (name == u"empty")
            in.empty = value;
        else if (name == u"full")
            in.full = value;
        else if (name == u"low-do" || name == u"switch")
            in.lowDo = value;
        else if (name == u"hi-do")
            in.hiDo = value;
    }
    return checkAndPlan(current, in);
}

PreparedWrite prepareRestore(const SensorBlock &current, const SensorBlock &backup)
{
    LevelWriteInput in = windowAfterRead(backup, QString());
    const LevelWriteInput sensor = windowAfterRead(current, QString());
    in.modelBox = sensor.modelBox;
    in.modelCode = sensor.modelCode;
    in.layoutMarker = sensor.layoutMarker;
    return checkAndPlan(current, in);
}

QList<SentValue> sentValues(const QByteArray &request, SensorFamily family)
{
    QList<SentValue> values;
    const QByteArray payload = request.mid(kRequestHeader);
    const auto byteAt = [&payload](int field) { return static_cast<unsigned char>(payload.at(field - 1)); };
    for (const BlockSetting &setting : blockSettings(family)) {
        const int last = setting.word ? setting.field + 1 : setting.field;
        if (last > payload.size())
            continue;
        const int value
            = setting.word ? byteAt(setting.field) * 256 + byteAt(setting.field + 1) : byteAt(setting.field);
        values.append({&setting, value});
    }
    return values;
}

QStringList readBackDifferences(const QByteArray &request, const SensorBlock &readBack)
{
    QStringList differences;
    for (const SentValue &sent : sentValues(request, readBack.family())) {
        const int held = readBack.value(*sent.setting);
        if (held != sent.value) {
            differences << QStringLiteral("%1: sent %2, the sensor holds %3")
                               .arg(QLatin1String(sent.setting->name), describeValue(*sent.setting, sent.value),
                                    describeValue(*sent.setting, held));
        }
    }
    return differences;
}

QString withoutControlTail(QString message)
{
    while (!message.isEmpty() && message.back().unicode() < 0x20)
        message.chop(1);
    return message;
}

} // namespace veltra
