// The commands of veltra-cli.
#include "bytetext.h"
#include "cli.h"
#include "files/diagnosticreport.h"
#include "files/settingscompare.h"
#include "files/settingsfile.h"
#include "files/wholefile.h"
#include "numbers.h"
#include "output.h"
#include "portlist.h"
#include "portmap.h"
#include "protocol/commandframe.h"
#include "protocol/identification.h"
#include "protocol/measurement.h"
#include "protocol/measurementrow.h"
#include "protocol/settingsreply.h"
#include "scan.h"
#include "session/settingseditor.h"
#include "settingsedit.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace veltra {

namespace {

const QString kPort = QStringLiteral("port");
const QString kBaud = QStringLiteral("baud");
const QString kJson = QStringLiteral("json");

// A backup's name in a folder: port, model and time to the second, so the
// files of many sensors sort by port and a later backup never replaces an
// earlier one: "port-3_DVT-14C01_2026-12-09T101530.json", a device path's
// slashes as dashes ("port-dev-ttyUSB0_...").
QString backupFileName(const QString &port, const QString &model, const QDateTime &time)
{
    QString label = port;
    label.replace(u'/', u'-');
    while (label.startsWith(u'-'))
        label.remove(0, 1);
    QString name
        = QStringLiteral("port-%1_%2_%3.json").arg(label, model, time.toString(QStringLiteral("yyyy-MM-ddTHHmmss")));
    // Nothing a file system could take as a folder or refuse.
    for (QChar &c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c.isSpace())
            c = u'-';
    }
    return name;
}

// The name in the folder, with "-2", "-3" ... before ".json" where a file of
// that name is already there.
QString freeBackupPath(const QDir &folder, const QString &name)
{
    QString path = folder.filePath(name);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(name.chopped(5) + QStringLiteral("-%1.json").arg(n));
    return path;
}

// "-" and /dev/stdout name standard output rather than a file.
bool isStandardOutput(const QString &path)
{
    return path.isEmpty() || path == u"-" || path == u"/dev/stdout";
}

QString withUnit(int value, const QString &unit)
{
    return unit.isEmpty() ? QString::number(value) : QStringLiteral("%1 %2").arg(value).arg(unit);
}

// The settings `read` shows: name, value, what it is.
QList<QStringList> settingsRows(const SensorSettings &block)
{
    const bool level = block.family() == SensorFamily::Level;
    const ModelEntry *row = block.row();
    const QString unit = block.unit();
    const auto described = [&block](Setting id) { return describeValue(blockSetting(id), block.value(id)); };
    const auto range = [](Setting id) { return QStringLiteral(" (%1)").arg(allowedText(blockSetting(id))); };

    QList<QStringList> rows{
        {QStringLiteral("baud"), described(Setting::Baud), QStringLiteral("Baud rate")},
        {QStringLiteral("slave"), block.text(Setting::Slave), QStringLiteral("Slave address") + range(Setting::Slave)},
        {QStringLiteral("ogr"), described(Setting::Ogr), QStringLiteral("OGR")},
    };
    if (level) {
        rows.append({QStringLiteral("omb"), described(Setting::Omb), QStringLiteral("OMB")});
        rows.append({QStringLiteral("resolution"), described(Setting::Resolution), QStringLiteral("Resolution")});
    }
    rows.append({QStringLiteral("model"), block.modelName(), QStringLiteral("Model, code %1").arg(block.modelCode())});
    rows.append({QStringLiteral("date"),
                 QStringLiteral("%1/%2/%3")
                     .arg(block.value(Setting::Month))
                     .arg(block.value(Setting::Day))
                     .arg(block.value(Setting::Year)),
                 QStringLiteral("Stored date (month/day/year)")});
    if (!level) {
        rows.append({QStringLiteral("switch"), withUnit(block.value(Setting::Switch), unit),
                     QStringLiteral("Switch point") + range(Setting::Switch)});
        return rows;
    }
    const QString emptyNote = row ? QStringLiteral(" (%1)").arg(QLatin1String(row->emptyCaption)) : QString();
    const QString fullNote = row ? QStringLiteral(" (%1)").arg(QLatin1String(row->fullCaption)) : QString();
    const bool thresholds = block.operatorMayChange(blockSetting(Setting::LowDo));
    const QString unused = thresholds ? QString() : QStringLiteral(" (not used by this model)");
    rows.append(
        {QStringLiteral("empty"), withUnit(block.value(Setting::Empty), unit), QStringLiteral("Empty") + emptyNote});
    rows.append(
        {QStringLiteral("full"), withUnit(block.value(Setting::Full), unit), QStringLiteral("Full") + fullNote});
    rows.append(
        {QStringLiteral("low-do"), withUnit(block.value(Setting::LowDo), unit), QStringLiteral("Low DO") + unused});
    rows.append(
        {QStringLiteral("hi-do"), withUnit(block.value(Setting::HiDo), unit), QStringLiteral("Hi DO") + unused});
    return rows;
}

QJsonObject settingsJson(const SensorSettings &block)
{
    QJsonObject settings;
    QJsonObject codes;
    for (const BlockSetting &setting : blockSettings(block.family())) {
        const QLatin1String name(setting.name);
        const int value = block.value(setting);
        codes.insert(name, value);
        if (setting.kind == SettingKind::Choice) {
            const QString text = choiceName(setting, value);
            settings.insert(name, setting.id == Setting::Baud ? numberOrNull(text) : textOrNull(text));
        } else if (setting.kind != SettingKind::Model) {
            settings.insert(name, value);
        }
    }
    return {{QStringLiteral("settings"), settings}, {QStringLiteral("block"), codes}};
}

QJsonValue currentJson(const QString &formatted)
{
    if (formatted.isEmpty())
        return QJsonValue();
    // "12." and ".5" read as numbers; "." is a current that rounds to 0.
    return TextToNumber(formatted);
}

} // namespace

std::optional<SensorSettings> Cli::connectAndRead(SensorSession &session, const QCommandLineParser &parser)
{
    if (!session.connectTo(m_portText, parser.isSet(kBaud) ? parser.value(kBaud) : QString())) {
        fail(failureOf(session.failure()));
        return std::nullopt;
    }
    auto block = session.readSettings();
    if (!block)
        fail(failureOf(session.failure()));
    return block;
}

int Cli::detect(const QCommandLineParser &parser)
{
    SensorSession session(m_link);
    watch(session);
    if (!session.connectTo(m_portText))
        return fail(failureOf(session.failure()));
    const auto reply = session.readReply();
    if (!reply)
        return fail(failureOf(session.failure()));
    QString problem;
    const std::optional<SensorIdentity> identity = identifyReply(*reply, &problem);
    if (!identity)
        return fail({ExitCode::NoSensor, problem});
    const QString &family = identity->family;
    if (parser.isSet(kJson)) {
        printJson(m_out, {
                             {kPort, m_portText},
                             {QStringLiteral("device"), textOrNull(m_link.device())},
                             {kBaud, numberOrNull(session.baudText())},
                             {QStringLiteral("model"), modelJson(identity->modelCode, identity->modelName)},
                             {QStringLiteral("family"), textOrNull(family)},
                         });
        return int(ExitCode::Success);
    }
    printTable(m_out,
               {
                   {QStringLiteral("port"), portDescription(m_portText, m_link.device())},
                   {kBaud, session.baudText()},
                   {QStringLiteral("model"), QStringLiteral("%1 %2").arg(identity->modelCode, identity->modelName)},
                   {QStringLiteral("family"), family.isEmpty() ? QStringLiteral("unknown") : family},
               });
    return int(ExitCode::Success);
}

int Cli::read(const QCommandLineParser &parser)
{
    SensorSession session(m_link);
    watch(session);
    const std::optional<SensorSettings> block = connectAndRead(session, parser);
    if (!block)
        return int(failureOf(session.failure()).code);

    QJsonObject object = settingsJson(*block);
    object.insert(kPort, m_portText);
    object.insert(QStringLiteral("device"), textOrNull(m_link.device()));
    object.insert(QStringLiteral("linkBaud"), numberOrNull(session.baudText()));
    object.insert(QStringLiteral("family"), familyName(block->family()));
    object.insert(QStringLiteral("model"), modelJson(block->modelCode(), block->modelName()));
    object.insert(QStringLiteral("unit"), textOrNull(block->unit()));
    QList<QStringList> rows;
    for (const QStringList &row : settingsRows(*block))
        rows.append(row.mid(0, 2));
    keep({object, {QStringLiteral("setting"), QStringLiteral("value")}, rows});
    if (parser.isSet(kJson)) {
        printJson(m_out, object);
        return int(ExitCode::Success);
    }
    m_out << block->modelName() << " (model code " << block->modelCode() << ", " << familyName(block->family())
          << " sensor) on port " << portDescription(m_portText, m_link.device()) << " at " << session.baudText()
          << " baud" << Qt::endl
          << Qt::endl;
    printTable(m_out, settingsRows(*block));
    return int(ExitCode::Success);
}

int Cli::write(const QCommandLineParser &parser)
{
    const QStringList assignments = parser.values(QStringLiteral("set"));
    if (assignments.isEmpty())
        return usageError(QStringLiteral("nothing to write: give at least one --set NAME=VALUE."));

    SensorSession session(m_link);
    watch(session);
    const std::optional<SensorSettings> block = connectAndRead(session, parser);
    if (!block)
        return int(failureOf(session.failure()).code);

    const PreparedWrite prepared = prepareWrite(*block, assignments, session.baudText());
    if (prepared.status != PreparedWrite::Status::Ready)
        keepWriteResult(*block, *block, QStringLiteral("refused"), nullptr);
    switch (prepared.status) {
    case PreparedWrite::Status::Usage:
        return fail({ExitCode::Usage, prepared.message});
    case PreparedWrite::Status::Refused:
        return fail({ExitCode::Refused, prepared.message});
    case PreparedWrite::Status::Ready:
        break;
    }
    return writeAndVerify(session, *block, prepared.settings, QStringLiteral("Wrote"), nullptr);
}

int Cli::writeAndVerify(SensorSession &session, const SensorSettings &before, const SensorSettings &settings,
                        const QString &what, const RestorePlan *restore)
{
    const QString rateBefore = session.baudText();
    SettingsEditor editor(session);
    const SettingsEditor::WriteResult result = editor.write(settings, true);
    using Outcome = SettingsEditor::WriteResult::Outcome;
    switch (result.outcome) {
    case Outcome::NotSent:
        keepWriteResult(before, settings, QStringLiteral("failed"), restore);
        return fail(failureOf(session.failure()));
    case Outcome::Lost:
    case Outcome::ReadBackFailed:
        // The request is out: whatever failed, the sensor's state is not
        // what was asked for until a read shows it.
        keepWriteResult(before, settings, QStringLiteral("not verified"), restore);
        return fail({ExitCode::ReadBackDiffers, QStringLiteral("The write was sent, but reading it back failed: %1")
                                                    .arg(failureOf(session.failure()).message)});
    case Outcome::Differs:
        keepWriteResult(before, settings, QStringLiteral("differs"), restore, result.differences, result.after);
        m_err << "The sensor does not hold what was written:" << Qt::endl;
        for (const QString &line : result.differences)
            m_err << "  " << line << Qt::endl;
        return int(ExitCode::ReadBackDiffers);
    case Outcome::Written:
    case Outcome::Verified:
        break;
    }
    // A restore is done when the sensor holds the file's value of every
    // setting its model has, not only what was sent.
    if (restore) {
        QStringList differing;
        for (const RestoreRow &row : restore->rows) {
            const int held = result.after->value(*row.setting);
            if (row.applied && held != row.wanted) {
                differing << QStringLiteral("%1: the file says %2, the sensor holds %3")
                                 .arg(QLatin1String(row.setting->name), describeValue(*row.setting, row.wanted),
                                      describeValue(*row.setting, held));
            }
        }
        if (!differing.isEmpty()) {
            keepWriteResult(before, settings, QStringLiteral("differs"), restore, differing, result.after);
            m_err << "The sensor does not hold the file's settings:" << Qt::endl;
            for (const QString &line : differing)
                m_err << "  " << line << Qt::endl;
            return int(ExitCode::Differs);
        }
    }

    keepWriteResult(before, settings, QStringLiteral("verified"), restore, {}, result.after);
    m_out << what << ' ' << before.modelName() << " on port " << portDescription(m_portText, m_link.device())
          << "; read back, it holds what was sent." << Qt::endl;
    QList<QStringList> changes;
    for (const BlockSetting &setting : blockSettings(before.family())) {
        const int old = before.value(setting);
        if (old != settings.value(setting)) {
            changes.append({QStringLiteral("  ") + QLatin1String(setting.name),
                            describeValue(setting, old) + QStringLiteral(" -> ")
                                + describeValue(setting, settings.value(setting))});
        }
    }
    if (changes.isEmpty())
        m_out << "  (no setting changed)" << Qt::endl;
    printTable(m_out, changes);
    if (session.baudText() != rateBefore)
        m_out << "The sensor now talks at " << session.baudText() << " baud." << Qt::endl;
    return int(ExitCode::Success);
}

void Cli::keepWriteResult(const SensorSettings &before, const SensorSettings &settings, const QString &verdict,
                          const RestorePlan *restore, const QStringList &differences,
                          const std::optional<SensorSettings> &readBack)
{
    if (verdict != u"dry run")
        noteWrite(before, verdict == u"refused" ? std::nullopt : std::optional(settings), readBack, verdict,
                  differences);
    if (!m_result)
        return;
    QJsonArray changes;
    QList<QStringList> rows;
    for (const BlockSetting &setting : blockSettings(before.family())) {
        const int old = before.value(setting);
        const int now = settings.value(setting);
        if (old == now)
            continue;
        const QString name = QLatin1String(setting.name);
        changes.append(QJsonObject{{QStringLiteral("setting"), name},
                                   {QStringLiteral("before"), describeValue(setting, old)},
                                   {QStringLiteral("after"), describeValue(setting, now)},
                                   {QStringLiteral("beforeCode"), old},
                                   {QStringLiteral("afterCode"), now}});
        rows.append({name, describeValue(setting, old), describeValue(setting, now)});
    }
    QJsonObject json{{kPort, m_portText},
                     {QStringLiteral("device"), textOrNull(m_link.device())},
                     {QStringLiteral("family"), familyName(before.family())},
                     {QStringLiteral("model"), modelJson(before.modelCode(), before.modelName())},
                     {QStringLiteral("verdict"), verdict},
                     {QStringLiteral("changes"), changes},
                     {QStringLiteral("differences"), QJsonArray::fromStringList(differences)}};
    if (restore) {
        QJsonArray notWritten;
        for (const RestoreRow &row : restore->notApplied()) {
            notWritten.append(QJsonObject{{QStringLiteral("setting"), QLatin1String(row.setting->name)},
                                          {QStringLiteral("file"), describeValue(*row.setting, row.file)},
                                          {QStringLiteral("reason"), row.skipped}});
        }
        json.insert(QStringLiteral("notWritten"), notWritten);
        json.insert(QStringLiteral("converted"), restore->converted);
    }
    keep({json, {QStringLiteral("setting"), QStringLiteral("before"), QStringLiteral("after")}, rows});
}

int Cli::measure(const QCommandLineParser &parser)
{
    bool ok = false;
    const int count = parser.value(QStringLiteral("count")).toInt(&ok);
    if (!ok || count < 1)
        return usageError(QStringLiteral("--count must be a whole number of 1 or more."));
    const double interval = parser.value(QStringLiteral("interval")).toDouble(&ok);
    if (!ok || !(interval >= 0) || interval > 86400)
        return usageError(QStringLiteral("--interval must be a number of seconds from 0 to 86400."));
    double waitForAdapter = 0;
    if (parser.isSet(QStringLiteral("wait-for-adapter"))) {
        waitForAdapter = parser.value(QStringLiteral("wait-for-adapter")).toDouble(&ok);
        if (!ok || !(waitForAdapter > 0) || waitForAdapter > 86400)
            return usageError(QStringLiteral("--wait-for-adapter must be a number of seconds from 0 to 86400."));
    }

    SensorSession session(m_link);
    watch(session);
    const std::optional<SensorSettings> block = connectAndRead(session, parser);
    if (!block)
        return int(failureOf(session.failure()).code);

    const bool level = block->family() == SensorFamily::Level;
    const bool json = parser.isSet(kJson);
    if (!json && !m_measurements)
        m_out << measurementCsvHeader(block->family()) << Qt::endl;

    QJsonArray measurements;
    int unanswered = 0;
    int damaged = 0;
    QElapsedTimer clock;
    for (int i = 0; i < count; ++i) {
        clock.start();
        const QDateTime now = m_clock();
        const QString time = now.toUTC().toString(Qt::ISODateWithMs);
        const auto reply = session.measure();
        if (!reply && waitForAdapter > 0 && m_link.wasLost()) {
            // The measurement is taken again once the adapter is back.
            if (!waitForAdapterBack(session, waitForAdapter))
                return fail(failureOf(session.failure()));
            --i;
            continue;
        }
        if (!reply)
            return fail(failureOf(session.failure()));
        const MeasurementRow row = measurementRow(*block, *reply);
        if (row.damaged) {
            ++damaged;
            m_err << "Measurement " << i + 1 << ": the sensor's reply was damaged: \"" << escapedText(*reply) << "\"."
                  << Qt::endl;
        } else if (!row.answered) {
            ++unanswered;
        }
        const auto number
            = [&row](const QString &text) { return row.answered ? QJsonValue(TextToNumber(text)) : QJsonValue(); };
        QJsonObject m{{QStringLiteral("time"), time},
                      {QStringLiteral("distance"), number(row.distance)},
                      {QStringLiteral("temperature"), number(row.temperature)}};
        if (level) {
            m.insert(QStringLiteral("level"), number(row.level));
            m.insert(QStringLiteral("current"), currentJson(row.current));
        }
        if (m_measurements)
            m_measurements(m, measurementCsvRow(now, row, block->family()), block->family());
        else if (json)
            measurements.append(m);
        else
            m_out << measurementCsvRow(now, row, block->family()) << Qt::endl;
        const qint64 wait = qint64(std::llround(interval * 1000)) - clock.elapsed();
        if (i + 1 < count && wait > 0)
            m_link.sleep(int(wait));
    }
    if (json) {
        printJson(m_out, {
                             {kPort, m_portText},
                             {QStringLiteral("family"), familyName(block->family())},
                             {QStringLiteral("model"), modelJson(block->modelCode(), block->modelName())},
                             {QStringLiteral("unit"), textOrNull(block->unit())},
                             {QStringLiteral("measurements"), measurements},
                         });
    }
    keep({{{kPort, m_portText},
           {QStringLiteral("device"), textOrNull(m_link.device())},
           {QStringLiteral("family"), familyName(block->family())},
           {QStringLiteral("model"), modelJson(block->modelCode(), block->modelName())},
           {QStringLiteral("unit"), textOrNull(block->unit())},
           {QStringLiteral("measurements"), count},
           {QStringLiteral("unanswered"), unanswered},
           {QStringLiteral("damaged"), damaged}},
          {},
          {}});
    if (unanswered > 0 || damaged > 0) {
        QStringList what;
        if (unanswered > 0)
            what << QStringLiteral("%1 got no answer").arg(unanswered);
        if (damaged > 0)
            what << QStringLiteral("%1 had a damaged reply").arg(damaged);
        return fail({ExitCode::NoSensor,
                     QStringLiteral("Of %1 measurements, %2.").arg(count).arg(what.join(QStringLiteral(" and ")))});
    }
    return int(ExitCode::Success);
}

bool Cli::waitForAdapterBack(SensorSession &session, double seconds)
{
    const QString adapter = m_link.adapter() ? m_link.adapter()->display() : m_link.device();
    m_err << "The adapter " << adapter << " went away at " << m_clock().toLocalTime().toString(QStringLiteral("HH:mm:ss"))
          << "; waiting up to " << seconds << " s for it." << Qt::endl;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < qint64(seconds * 1000)) {
        m_link.sleep(250);
        if (session.reopenIfLost(QString())) {
            m_err << "The adapter is back at " << m_link.device() << " after "
                  << QString::number(double(waited.elapsed()) / 1000.0, 'f', 1) << " s." << Qt::endl;
            return true;
        }
    }
    return false;
}

int Cli::backup(const QCommandLineParser &parser)
{
    // The target is checked first: one that cannot take a file costs no
    // exchange with the sensor.
    QString path = parser.value(QStringLiteral("output"));
    const bool toFile = !isStandardOutput(path);
    const bool toFolder = toFile && (path.endsWith(u'/') || QFileInfo(path).isDir());
    if (toFolder) {
        if (!QDir().mkpath(path))
            return fail({ExitCode::Usage, QStringLiteral("Cannot write into the folder %1.").arg(path)});
    } else if (toFile) {
        if (const QString problem = outputTargetProblem(path); !problem.isEmpty())
            return fail({ExitCode::Usage, problem});
        if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
            return fail({ExitCode::Usage, QStringLiteral("Cannot write %1: its folder does not exist.").arg(path)});
    }

    SensorSession session(m_link);
    watch(session);
    const std::optional<SensorSettings> block = connectAndRead(session, parser);
    if (!block)
        return int(failureOf(session.failure()).code);

    const QDateTime now = m_clock();
    const QByteArray json = SettingsFile::serialize(*block, now, QStringLiteral(VELTRA_VERSION));
    if (!toFile) {
        m_out << QString::fromUtf8(json);
        m_out.flush();
        return int(ExitCode::Success);
    }
    if (toFolder)
        path = freeBackupPath(QDir(path), backupFileName(m_portText, block->modelName(), now));
    QString why;
    if (!writeWholeFile(path, json, &why))
        return fail({ExitCode::NotWritten, why});
    keep({{{kPort, m_portText},
           {QStringLiteral("device"), textOrNull(m_link.device())},
           {QStringLiteral("family"), familyName(block->family())},
           {QStringLiteral("model"), modelJson(block->modelCode(), block->modelName())},
           {QStringLiteral("file"), path}},
          {QStringLiteral("file")},
          {{path}}});
    m_out << "Backed up " << block->modelName() << " on port " << portDescription(m_portText, m_link.device()) << " to "
          << path << '.' << Qt::endl;
    return int(ExitCode::Success);
}

std::optional<Cli::FileAndSensor> Cli::loadAndRead(SensorSession &session, const QCommandLineParser &parser,
                                                   const QString &nothingDone, int *exitCode)
{
    const QString path = parser.positionalArguments().value(0);
    QString why;
    const auto saved = SettingsFile::load(path, &why);
    if (!saved) {
        *exitCode = fail({ExitCode::Usage, QStringLiteral("%1 %2").arg(why, nothingDone)});
        return std::nullopt;
    }
    const std::optional<SensorSettings> block = connectAndRead(session, parser);
    if (!block) {
        *exitCode = int(failureOf(session.failure()).code);
        return std::nullopt;
    }
    if (saved->family() != block->family()) {
        *exitCode = fail(
            {ExitCode::Usage, QStringLiteral("%1 is a backup of a %2 sensor (%3); the sensor on port %4 is a %5 sensor "
                                             "(%6). %7")
                                  .arg(path, familyName(saved->family()), saved->modelName(), m_portText,
                                       familyName(block->family()), block->modelName(), nothingDone)});
        return std::nullopt;
    }
    return FileAndSensor{*saved, *block};
}

int Cli::restore(const QCommandLineParser &parser)
{
    const QString path = parser.positionalArguments().value(0);
    const bool dryRun = parser.isSet(QStringLiteral("dry-run"));
    // The certificates' folder is checked before the sensor is touched.
    if (!m_certificateFolder.isEmpty() && !dryRun
        && (QFileInfo(m_certificateFolder).exists() ? !QFileInfo(m_certificateFolder).isDir()
                                                     : !QDir().mkpath(m_certificateFolder)))
        return fail({ExitCode::Usage, QStringLiteral("Cannot write certificates into the folder %1. Nothing was "
                                                     "written.")
                                          .arg(m_certificateFolder)});
    SensorSession session(m_link);
    watch(session);
    int exitCode = 0;
    const auto both = loadAndRead(session, parser, QStringLiteral("Nothing was written."), &exitCode);
    if (!both)
        return exitCode;
    const SensorSettings &saved = both->file;
    const SensorSettings &block = both->sensor;

    if (saved.modelCode() != block.modelCode()) {
        m_err << "Note: " << path << " was taken from a " << saved.modelName() << " (code " << saved.modelCode()
              << "); the sensor stays a " << block.modelName() << " (code " << block.modelCode() << ")." << Qt::endl;
    }
    const RestorePlan plan = planRestore(block, saved, path, parser.isSet(QStringLiteral("convert-units")));
    if (const int refused = refuseRestore(plan, QStringLiteral("Nothing was written."))) {
        keepWriteResult(block, block, QStringLiteral("refused"), &plan);
        return refused;
    }
    for (const RestoreRow &row : plan.notApplied()) {
        m_out << "The file's " << row.setting->name << " (" << describeValue(*row.setting, row.file) << ") "
              << (dryRun ? "would not be" : "is not") << " written: " << row.skipped << '.' << Qt::endl;
    }
    if (plan.converted) {
        m_out << "The file's distances are converted from " << unitWords(plan.fileUnit) << " to "
              << unitWords(plan.sensorUnit) << '.' << Qt::endl;
    }
    if (dryRun) {
        keepWriteResult(block, plan.target, QStringLiteral("dry run"), &plan);
        return printDryRun(plan, path, session.baudText());
    }
    return writeAndVerify(session, block, plan.target, QStringLiteral("Restored %1 to").arg(path), &plan);
}

int Cli::refuseRestore(const RestorePlan &plan, const QString &nothingDone)
{
    switch (plan.status) {
    case RestorePlan::Status::Ready:
        return 0;
    case RestorePlan::Status::UnitDiffers:
        return fail(
            {ExitCode::Refused,
             QStringLiteral("%1 %2 (--convert-units converts the values exactly.)").arg(plan.message, nothingDone)});
    case RestorePlan::Status::Refused:
        break;
    }
    return fail({ExitCode::Refused, QStringLiteral("%1 %2").arg(plan.message, nothingDone)});
}

int Cli::printDryRun(const RestorePlan &plan, const QString &path, const QString &rateNow)
{
    // What the restore would send, against what the sensor holds now.
    QList<QStringList> rows{{QStringLiteral("  setting"), QStringLiteral("now"), QStringLiteral("after")}};
    for (const RestoreRow &row : plan.rows) {
        if (row.differs()) {
            rows.append({QStringLiteral("  ") + QLatin1String(row.setting->name),
                         describeValue(*row.setting, row.sensor), describeValue(*row.setting, row.wanted)});
        }
    }
    const QString where
        = QStringLiteral("%1 on port %2").arg(plan.target.modelName(), portDescription(m_portText, m_link.device()));
    if (rows.size() == 1) {
        m_out << "Restoring " << path << " to " << where << " would change no setting. Nothing was sent." << Qt::endl;
    } else {
        m_out << "Restoring " << path << " to " << where << " would change " << rows.size() - 1
              << (rows.size() == 2 ? " setting" : " settings") << ". Nothing was sent." << Qt::endl;
        printTable(m_out, rows);
    }
    const QString rate = planWrite(plan.target).lineSettings.section(u',', 0, 0);
    if (!rate.isEmpty() && rate != rateNow)
        m_out << "The sensor would then talk at " << rate << " baud." << Qt::endl;
    return int(ExitCode::Success);
}

int Cli::compare(const QCommandLineParser &parser)
{
    const QString path = parser.positionalArguments().value(0);
    SensorSession session(m_link);
    watch(session);
    int exitCode = 0;
    const auto both = loadAndRead(session, parser, QStringLiteral("Nothing was compared."), &exitCode);
    if (!both)
        return exitCode;
    const RestorePlan plan = planRestore(both->sensor, both->file, path, parser.isSet(QStringLiteral("convert-units")));
    if (plan.status == RestorePlan::Status::UnitDiffers)
        return refuseRestore(plan, QStringLiteral("Nothing was compared."));
    const QList<SettingComparison> rows = compareSettings(plan);
    const qsizetype differing = std::count_if(rows.begin(), rows.end(), [](const auto &row) { return row.differs; });
    const int code = int(differing > 0 ? ExitCode::Differs : ExitCode::Success);

    {
        QJsonArray settings;
        QList<QStringList> csvRows;
        for (const SettingComparison &row : rows) {
            csvRows.append({QLatin1String(row.setting->name), row.sensorValue, row.fileValue,
                            row.differs ? QStringLiteral("yes") : QStringLiteral("no")});
            settings.append(QJsonObject{
                {QStringLiteral("name"), QLatin1String(row.setting->name)},
                {QStringLiteral("sensor"), row.sensorValue},
                {QStringLiteral("file"), row.fileValue},
                {QStringLiteral("sensorCode"), both->sensor.value(*row.setting)},
                {QStringLiteral("fileCode"), both->file.value(*row.setting)},
                {QStringLiteral("differs"), row.differs},
                {QStringLiteral("note"), textOrNull(row.note)},
            });
        }
        const QJsonObject object{
                             {kPort, m_portText},
                             {QStringLiteral("device"), textOrNull(m_link.device())},
                             {QStringLiteral("file"), path},
                             {QStringLiteral("family"), familyName(both->sensor.family())},
                             {QStringLiteral("model"), modelJson(both->sensor.modelCode(), both->sensor.modelName())},
                             {QStringLiteral("fileModel"), modelJson(both->file.modelCode(), both->file.modelName())},
                             {QStringLiteral("unit"), textOrNull(unitName(plan.sensorUnit))},
                             {QStringLiteral("fileUnit"), textOrNull(unitName(plan.fileUnit))},
                             {QStringLiteral("same"), differing == 0},
                             {QStringLiteral("differing"), int(differing)},
                             {QStringLiteral("settings"), settings},
                         };
        keep({object,
              {QStringLiteral("setting"), QStringLiteral("sensor"), QStringLiteral("file"), QStringLiteral("differs")},
              csvRows});
        if (parser.isSet(kJson)) {
            printJson(m_out, object);
            return code;
        }
    }
    m_out << both->sensor.modelName() << " (model code " << both->sensor.modelCode() << ", "
          << familyName(both->sensor.family()) << " sensor) on port " << portDescription(m_portText, m_link.device())
          << " compared with " << path << Qt::endl
          << Qt::endl;
    QList<QStringList> table{{QStringLiteral("setting"), QStringLiteral("sensor"), QStringLiteral("file"), QString()}};
    for (const SettingComparison &row : rows) {
        table.append({QLatin1String(row.setting->name), row.sensorValue, row.fileValue,
                      row.differs           ? QStringLiteral("differs")
                      : !row.note.isEmpty() ? QStringLiteral("(not restored: %1)").arg(row.note)
                                            : QString()});
    }
    printTable(m_out, table);
    m_out << Qt::endl;
    if (plan.status == RestorePlan::Status::Refused)
        m_out << "Restore would refuse this file: " << plan.message << Qt::endl;
    if (differing == 0)
        m_out << "The sensor holds the file's settings." << Qt::endl;
    else
        m_out << differing << (differing == 1 ? " setting differs." : " settings differ.") << Qt::endl;
    return code;
}

int Cli::ports(const QCommandLineParser &parser)
{
    bool ok = false;
    const int count = parser.value(QStringLiteral("count")).toInt(&ok);
    if (!ok || count < 1 || count > 32767)
        return usageError(QStringLiteral("--count must be a whole number from 1 to 32767."));

    const QList<PortEntry> entries = listPorts(count);
    if (parser.isSet(kJson)) {
        QJsonArray list;
        for (const PortEntry &entry : entries) {
            list.append(QJsonObject{
                {QStringLiteral("number"), entry.number},
                {QStringLiteral("device"), entry.device},
                {QStringLiteral("description"), textOrNull(entry.description)},
                {QStringLiteral("manufacturer"), textOrNull(entry.manufacturer)},
                {QStringLiteral("vendorProductId"), textOrNull(entry.vendorProductId)},
                {QStringLiteral("serialNumber"), textOrNull(entry.serialNumber)},
                {QStringLiteral("gone"), entry.gone},
            });
        }
        printJson(m_out, {{QStringLiteral("portsDir"), PortMap::portsDir()}, {QStringLiteral("ports"), list}});
        return int(ExitCode::Success);
    }
    if (entries.isEmpty()) {
        m_out << "No port from 1 to " << count << " maps to a serial device. Plug in an adapter, or link its device "
              << "as com1 in " << PortMap::portsDir() << '.' << Qt::endl;
        return int(ExitCode::Success);
    }
    QList<QStringList> table{{QStringLiteral("port"), QStringLiteral("device"), QStringLiteral("description"),
                              QStringLiteral("manufacturer"), QStringLiteral("vid:pid"), QStringLiteral("serial")}};
    for (const PortEntry &entry : entries) {
        const QString description
            = entry.gone ? QStringLiteral("(gone: the link's device is no longer there)") : entry.description;
        table.append({QString::number(entry.number), entry.device, description, entry.manufacturer,
                      entry.vendorProductId, entry.serialNumber});
    }
    printTable(m_out, table);
    return int(ExitCode::Success);
}

int Cli::runSensor(const QCommandLineParser &parser)
{
    SensorSession session(m_link);
    watch(session);
    const std::optional<SensorSettings> block = connectAndRead(session, parser);
    if (!block)
        return int(failureOf(session.failure()).code);

    const ModelEntry *row = block->row();
    if (!row || row->kind != ModelKind::RunControl) {
        return fail(
            {ExitCode::Usage, QStringLiteral("%1 (model code %2) has no run state: only DVK-14, DVK-16 and DVK-18 do. "
                                             "Nothing was sent.")
                                  .arg(block->modelName(), block->modelCode())});
    }
    if (!session.run()) {
        const Failure failure = failureOf(session.failure());
        return fail(
            {failure.code, QStringLiteral("The run request may not have reached the sensor. %1").arg(failure.message)});
    }
    m_out << "Sent the run request to " << block->modelName() << " on port "
          << portDescription(m_portText, m_link.device()) << ": the sensor is in its run state." << Qt::endl;
    return int(ExitCode::Success);
}

int Cli::report(const QCommandLineParser &parser)
{
    // The report is written whatever the sensor did: a port where nothing
    // answers is what support most needs to see.
    const QString path = parser.value(QStringLiteral("output"));
    SensorSession session(m_link);
    watch(session);
    int code = int(ExitCode::Success);
    QString result = QStringLiteral("ok");
    if (!session.connectTo(m_portText, parser.isSet(kBaud) ? parser.value(kBaud) : QString())
        || !session.readSettings()) {
        const Failure failure = failureOf(session.failure());
        code = fail(failure);
        result = failure.message;
    }
    const QJsonObject report = diagnosticReport(session, QStringLiteral("veltra-cli"), QStringLiteral(VELTRA_VERSION),
                                                {m_portText, m_link.device(), result});
    if (isStandardOutput(path)) {
        m_out << QString::fromUtf8(diagnosticReportText(report));
        m_out.flush();
        return code;
    }
    QString error;
    if (!saveDiagnosticReport(path, report, &error))
        return fail({ExitCode::NotWritten, error});
    m_out << "Diagnostic report of port " << portDescription(m_portText, m_link.device()) << " written to " << path
          << '.' << Qt::endl;
    return code;
}

} // namespace veltra
