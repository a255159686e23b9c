// The commissioning record on the command line: each write and restore
// kept as an entry, history, record sync and init, certificates.
#include "cli.h"
#include "output.h"
#include "files/wholefile.h"
#include "record/certificate.h"

#include <QAtomicInt>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace veltra {

namespace {

// A plant record out of reach is said once per run, however many ports.
QAtomicInt unsentNoticeGiven;

// --since and --until: a date (its start; for --until its end) or a time,
// UTC unless it says otherwise.
std::optional<QDateTime> filterTime(const QString &text, bool endOfDay)
{
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid())
        return utcDayStart(endOfDay ? date.addDays(1) : date);
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid())
        return std::nullopt;
    if (time.timeSpec() == Qt::LocalTime && !text.endsWith(u'Z') && !text.contains(u'+'))
        time.setTimeSpec(Qt::UTC);
    return endOfDay ? time.addMSecs(1) : time;
}

QString settingsCodes(const std::optional<SensorSettings> &settings)
{
    if (!settings)
        return {};
    QStringList parts;
    for (const BlockSetting &setting : blockSettings(settings->family()))
        parts << QStringLiteral("%1=%2").arg(QLatin1String(setting.name)).arg(settings->value(setting));
    return parts.join(u' ');
}

} // namespace

std::optional<RecordTarget> Cli::recordTarget()
{
    QString why;
    auto target = RecordTarget::configured(m_recordText, &why);
    if (!target)
        usageError(why);
    return target;
}

void Cli::noteWrite(const SensorSettings &before, const std::optional<SensorSettings> &sent,
                    const std::optional<SensorSettings> &readBack, const QString &verdict,
                    const QStringList &differences)
{
    RecordEntry entry = RecordEntry::forSensor(before, QStringLiteral("veltra-cli %1").arg(m_command),
                                               QStringLiteral(VELTRA_VERSION));
    if (!m_operator.isEmpty())
        entry.operatorName = m_operator;
    entry.port = m_portText;
    entry.device = m_link.device();
    if (m_link.adapter())
        entry.adapter = m_link.adapter()->display();
    entry.sent = sent;
    entry.readBack = readBack;
    entry.verdict = verdict;
    entry.message = differences.join(QStringLiteral("; "));
    m_entry = entry;
}

int Cli::keepRecordEntry(int exitCode)
{
    if (!m_entry)
        return exitCode;
    RecordEntry entry = *std::exchange(m_entry, std::nullopt);
    entry.exitCode = exitCode;
    if (entry.message.isEmpty() && exitCode != 0)
        entry.message = m_lastFailure;
    QString why;
    const std::optional<RecordTarget> target = RecordTarget::configured(m_recordText, &why);
    RecordOutcome outcome;
    if (target)
        outcome = keepEntry(*target, entry);
    else
        outcome.error = why;
    const int notWritten = exitCode == 0 ? int(ExitCode::NotWritten) : exitCode;
    if (!outcome.kept) {
        m_err << outcome.error << Qt::endl;
        return notWritten;
    }
    if (outcome.unsent && unsentNoticeGiven.testAndSetRelaxed(0, 1))
        m_err << outcome.notice << Qt::endl;
    if (m_result)
        m_result->json.insert(QStringLiteral("recordEntry"), entry.id);
    if (m_certificateFolder.isEmpty())
        return exitCode;
    const QString path = QDir(m_certificateFolder).filePath(certificateFileName(entry));
    if (!writeCertificate(entry, path, &why)) {
        m_err << why << Qt::endl;
        return notWritten;
    }
    if (m_result)
        m_result->json.insert(QStringLiteral("certificate"), path);
    m_out << "Certificate: " << path << Qt::endl;
    return exitCode;
}

int Cli::history(const QCommandLineParser &parser)
{
    HistoryFilter filter;
    for (const auto &[name, endOfDay, into] :
         {std::tuple{QStringLiteral("since"), false, &filter.since}, {QStringLiteral("until"), true, &filter.until}}) {
        if (!parser.isSet(name))
            continue;
        const auto time = filterTime(parser.value(name), endOfDay);
        if (!time)
            return usageError(
                QStringLiteral("--%1 must be a date (2026-12-09) or a time (2026-12-09T14:30:00Z), not \"%2\".")
                    .arg(name, parser.value(name)));
        *into = *time;
    }
    filter.model = parser.value(QStringLiteral("model"));
    filter.port = parser.value(QStringLiteral("port"));
    filter.station = parser.value(QStringLiteral("station"));
    filter.verdict = parser.value(QStringLiteral("verdict"));
    if (!filter.verdict.isEmpty() && !kVerdicts.contains(filter.verdict))
        return usageError(QStringLiteral("--verdict must be one of %1, not \"%2\".")
                              .arg(kVerdicts.join(QStringLiteral(", ")), filter.verdict));
    if (parser.isSet(QStringLiteral("json")) && parser.isSet(QStringLiteral("csv")))
        return usageError(QStringLiteral("give --json or --csv, not both."));
    const std::optional<RecordTarget> target = recordTarget();
    if (!target)
        return int(ExitCode::Usage);

    QString why;
    RecordDatabase database(*target);
    std::optional<QList<RecordEntry>> entries;
    // A local record nothing has been written to yet is empty; reading it
    // does not make the file.
    if (target->kind == RecordTarget::Kind::Local && !QFileInfo::exists(target->path))
        entries.emplace();
    else if (database.open(&why))
        entries = database.history(filter, &why);
    if (!entries)
        return fail({ExitCode::PortFailed, QStringLiteral("The record %1 cannot be read: %2")
                                               .arg(target->display(), why)});

    if (parser.isSet(QStringLiteral("json"))) {
        QJsonArray array;
        for (const RecordEntry &entry : *entries)
            array.append(entry.toJson());
        m_out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        return int(ExitCode::Success);
    }
    if (parser.isSet(QStringLiteral("csv"))) {
        m_out << "id,time,station,operator,program version,source,port,device,adapter,family,model code,model,"
                 "production date,verdict,exit code,message,before,sent,read back"
              << Qt::endl;
        for (const RecordEntry &entry : *entries) {
            const QStringList fields{entry.id,
                                     entry.timeText(),
                                     entry.station,
                                     entry.operatorName,
                                     entry.programVersion,
                                     entry.source,
                                     entry.port,
                                     entry.device,
                                     entry.adapter,
                                     familyName(entry.family),
                                     QString::number(entry.modelCode),
                                     entry.modelName,
                                     entry.productionDate,
                                     entry.verdict,
                                     QString::number(entry.exitCode),
                                     entry.message,
                                     settingsCodes(entry.before),
                                     settingsCodes(entry.sent),
                                     settingsCodes(entry.readBack)};
            QStringList quoted;
            for (const QString &field : fields)
                quoted << csvField(field);
            m_out << quoted.join(u',') << Qt::endl;
        }
        return int(ExitCode::Success);
    }
    QList<QStringList> rows{{QStringLiteral("id"), QStringLiteral("time (UTC)"), QStringLiteral("station"),
                             QStringLiteral("operator"), QStringLiteral("port"), QStringLiteral("model"),
                             QStringLiteral("verdict"), QStringLiteral("changes")}};
    for (const RecordEntry &entry : *entries) {
        rows.append({entry.shortId(), entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), entry.station,
                     entry.operatorName, entry.port, entry.modelName, entry.verdict,
                     entry.changes().join(QStringLiteral(", "))});
    }
    printTable(m_out, rows);
    m_out << entries->size() << (entries->size() == 1 ? " entry" : " entries") << " in " << target->display() << '.'
          << Qt::endl;
    return int(ExitCode::Success);
}

int Cli::record(const QCommandLineParser &parser)
{
    const QString action = parser.positionalArguments().value(0);
    if (action != u"sync" && action != u"init")
        return usageError(QStringLiteral("record takes sync or init, not \"%1\".").arg(action));
    const std::optional<RecordTarget> target = recordTarget();
    if (!target)
        return int(ExitCode::Usage);
    QString why;
    if (action == u"init") {
        RecordDatabase database(*target);
        if (!database.open(&why))
            return fail({ExitCode::PortFailed, QStringLiteral("The record %1 cannot be made ready: %2")
                                                   .arg(target->display(), why)});
        m_out << "The record " << target->display() << " is ready (schema version " << RecordDatabase::kSchemaVersion
              << ")." << Qt::endl;
        return int(ExitCode::Success);
    }
    if (target->kind != RecordTarget::Kind::Plant)
        return usageError(QStringLiteral("record sync sends to a plant's record: give --record postgresql://… "
                                         "(or set VELTRA_RECORD)."));
    const SyncOutcome outcome = sendUnsent(*target);
    m_out << "Sent " << outcome.sent << (outcome.sent == 1 ? " entry" : " entries") << " to " << target->display()
          << '.' << Qt::endl;
    if (!outcome.error.isEmpty()) {
        return fail({ExitCode::PortFailed,
                     QStringLiteral("%1 %2 still waiting: %3")
                         .arg(outcome.waiting)
                         .arg(outcome.waiting == 1 ? QStringLiteral("entry is") : QStringLiteral("entries are"),
                              outcome.error)});
    }
    return int(ExitCode::Success);
}

int Cli::certificate(const QCommandLineParser &parser)
{
    const std::optional<RecordTarget> target = recordTarget();
    if (!target)
        return int(ExitCode::Usage);
    QString path = parser.value(QStringLiteral("output"));
    if (!path.isEmpty()) {
        if (const QString problem = outputTargetProblem(path); !problem.isEmpty())
            return fail({ExitCode::Usage, problem});
    }
    QString why;
    RecordDatabase database(*target);
    std::optional<RecordEntry> entry;
    if (database.open(&why))
        entry = database.find(parser.positionalArguments().value(0), &why);
    if (!entry)
        return fail({ExitCode::Usage, why});
    if (path.isEmpty())
        path = certificateFileName(*entry);
    if (!writeCertificate(*entry, path, &why))
        return fail({ExitCode::NotWritten, why});
    m_out << "Certificate of entry " << entry->shortId() << " (" << entry->modelName << ", " << entry->verdict
          << ") written to " << path << '.' << Qt::endl;
    return int(ExitCode::Success);
}

} // namespace veltra
