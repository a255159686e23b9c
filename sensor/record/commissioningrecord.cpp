#include "commissioningrecord.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrlQuery>
#include <QVariant>

namespace veltra {

namespace {

// Every schema version's statements, in order; a database at version N gets
// those after N. Plain SQL that SQLite and PostgreSQL both take.
const QList<QStringList> &migrations()
{
    static const QList<QStringList> steps = {
        {
            QStringLiteral("CREATE TABLE commissioning ("
                           "entry_id TEXT PRIMARY KEY, recorded_at TEXT NOT NULL, station TEXT NOT NULL, "
                           "operator_name TEXT NOT NULL, program_version TEXT NOT NULL, source TEXT NOT NULL, "
                           "port TEXT NOT NULL, device TEXT NOT NULL, adapter TEXT NOT NULL, family TEXT NOT NULL, "
                           "model_code INTEGER NOT NULL, model_name TEXT NOT NULL, production_date TEXT NOT NULL, "
                           "settings_before TEXT, settings_sent TEXT, settings_read_back TEXT, "
                           "verdict TEXT NOT NULL, message TEXT NOT NULL, exit_code INTEGER NOT NULL)"),
            QStringLiteral("CREATE INDEX commissioning_time ON commissioning (recorded_at)"),
            QStringLiteral("CREATE INDEX commissioning_model ON commissioning (model_name)"),
            QStringLiteral("CREATE INDEX commissioning_station ON commissioning (station)"),
            // Entries of this station still to go to the plant's record.
            QStringLiteral("CREATE TABLE unsent (entry_id TEXT PRIMARY KEY)"),
        },
    };
    return steps;
}

const QString kColumns = QStringLiteral(
    "entry_id, recorded_at, station, operator_name, program_version, source, port, device, adapter, family, "
    "model_code, model_name, production_date, settings_before, settings_sent, settings_read_back, verdict, "
    "message, exit_code");

QString sqlError(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text.isEmpty() ? QStringLiteral("unknown error") : text;
}

// Text columns are NOT NULL: an empty text is stored as one, never as NULL.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QVariant textOrNull(const std::optional<SensorSettings> &settings)
{
    return settings ? QVariant(settingsCodesText(*settings)) : QVariant(QMetaType(QMetaType::QString));
}

RecordEntry entryFrom(const QSqlQuery &query)
{
    RecordEntry entry;
    entry.id = query.value(0).toString();
    entry.time = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs).toUTC();
    entry.station = query.value(2).toString();
    entry.operatorName = query.value(3).toString();
    entry.programVersion = query.value(4).toString();
    entry.source = query.value(5).toString();
    entry.port = query.value(6).toString();
    entry.device = query.value(7).toString();
    entry.adapter = query.value(8).toString();
    entry.family = query.value(9).toString() == familyName(SensorFamily::Distance) ? SensorFamily::Distance
                                                                                   : SensorFamily::Level;
    entry.modelCode = query.value(10).toInt();
    entry.modelName = query.value(11).toString();
    entry.productionDate = query.value(12).toString();
    entry.before = settingsFromCodesText(entry.family, query.value(13).toString());
    entry.sent = settingsFromCodesText(entry.family, query.value(14).toString());
    entry.readBack = settingsFromCodesText(entry.family, query.value(15).toString());
    entry.verdict = query.value(16).toString();
    entry.message = query.value(17).toString();
    entry.exitCode = query.value(18).toInt();
    return entry;
}

QString timeKey(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

} // namespace

QDateTime utcDayStart(const QDate &date)
{
    return QDateTime(date, QTime(0, 0), Qt::UTC);
}

RecordTarget RecordTarget::local()
{
    // The folder veltra-sensor's AppDataLocation names; veltra-cli uses the
    // same file, so the windows and the command line keep one record.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {Kind::Local, QDir(data).filePath(QStringLiteral("Veltra/veltra-sensor/record.sqlite")), {}};
}

std::optional<RecordTarget> RecordTarget::fromText(const QString &text, QString *why)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return local();
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (scheme == u"postgresql" || scheme == u"postgres") {
        if (!url.isValid() || url.path().size() < 2) {
            *why = QStringLiteral("The record's address must name a database: postgresql://USER@HOST/DATABASE.");
            return std::nullopt;
        }
        return RecordTarget{Kind::Plant, {}, url};
    }
    if (scheme == u"sqlite")
        return RecordTarget{Kind::Local, url.path(), {}};
    if (trimmed.contains(QStringLiteral("://"))) {
        *why = QStringLiteral("The record must be a postgresql:// address or the path of an SQLite file, not "
                              "\"%1\".")
                   .arg(url.scheme());
        return std::nullopt;
    }
    return RecordTarget{Kind::Local, QFileInfo(trimmed).absoluteFilePath(), {}};
}

std::optional<RecordTarget> RecordTarget::configured(const QString &commandLine, QString *why)
{
    if (!commandLine.isEmpty())
        return fromText(commandLine, why);
    if (const QString environment = qEnvironmentVariable("VELTRA_RECORD"); !environment.isEmpty())
        return fromText(environment, why);
    return fromText(
        QSettings(QStringLiteral("Veltra"), QStringLiteral("veltra-sensor")).value(QStringLiteral("record")).toString(),
        why);
}

QString RecordTarget::display() const
{
    if (kind == Kind::Local)
        return path;
    // The address as typed, less any password.
    return url.toDisplayString(QUrl::RemovePassword);
}

namespace {
QAtomicInt connectionCounter;
}

RecordDatabase::RecordDatabase(RecordTarget target)
    : m_target(std::move(target))
    , m_connection(QStringLiteral("veltra-record-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{}

RecordDatabase::~RecordDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

bool RecordDatabase::open(QString *why)
{
    const bool plant = m_target.kind == RecordTarget::Kind::Plant;
    const QString driver = plant ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        *why = plant ? QStringLiteral("Qt's PostgreSQL driver is not installed (libqt6sql6-psql).")
                     : QStringLiteral("Qt's SQLite driver is not installed (libqt6sql6-sqlite).");
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_connection);
    if (plant) {
        const QUrl &url = m_target.url;
        const QUrlQuery query(url);
        // Host and port as given; anything else libpq's environment and
        // password file (PGPASSWORD, ~/.pgpass) supply.
        QString host = url.host();
        if (query.hasQueryItem(QStringLiteral("host")))
            host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
        db.setHostName(host);
        if (url.port() > 0)
            db.setPort(url.port());
        db.setDatabaseName(url.path(QUrl::FullyDecoded).mid(1));
        db.setUserName(url.userName(QUrl::FullyDecoded));
        if (!url.password().isEmpty())
            db.setPassword(url.password(QUrl::FullyDecoded));
        QStringList options{QStringLiteral("connect_timeout=5")};
        for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
            if (key != u"host")
                options << QStringLiteral("%1=%2").arg(key, value);
        }
        db.setConnectOptions(options.join(u';'));
    } else {
        const QString folder = QFileInfo(m_target.path).absolutePath();
        if (!QDir().mkpath(folder)) {
            *why = QStringLiteral("The folder %1 cannot be made.").arg(folder);
            return false;
        }
        db.setDatabaseName(m_target.path);
        // Another station program writing at the same moment is waited for.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    }
    if (!db.open()) {
        *why = sqlError(db.lastError());
        return false;
    }
    if (!plant && !exec(QStringLiteral("PRAGMA journal_mode=WAL"), why))
        return false;
    if (!migrate(why)) {
        db.close();
        return false;
    }
    m_open = true;
    return true;
}

bool RecordDatabase::exec(const QString &sql, QString *why)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (query.exec(sql))
        return true;
    *why = sqlError(query.lastError());
    return false;
}

bool RecordDatabase::begin(QString *why)
{
    // SQLite takes the write lock at once, so two writers queue instead of
    // one failing when it upgrades a read.
    return exec(
        m_target.kind == RecordTarget::Kind::Plant ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"), why);
}

int RecordDatabase::storedVersion(QString *why)
{
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.tables().contains(QStringLiteral("schema_version")))
        return 0;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT max(version) FROM schema_version"))) {
        *why = sqlError(query.lastError());
        return -1;
    }
    return query.next() ? query.value(0).toInt() : 0;
}

bool RecordDatabase::migrate(QString *why)
{
    const int latest = int(migrations().size());
    // A station's role may only add and read entries: a record that is up to
    // date is left alone without asking for more.
    int version = storedVersion(why);
    if (version < 0)
        return false;
    if (version == latest)
        return true;
    if (version > latest) {
        *why = QStringLiteral("The record %1 has schema version %2; this program knows up to %3. Use a newer "
                              "version of the program.")
                   .arg(m_target.display())
                   .arg(version)
                   .arg(latest);
        return false;
    }
    if (!begin(why))
        return false;
    const auto rollBack = [this] {
        QString ignored;
        exec(QStringLiteral("ROLLBACK"), &ignored);
        return false;
    };
    // Two programs opening a new record at once: one makes the schema, the
    // other waits and finds it made.
    if (m_target.kind == RecordTarget::Kind::Plant
        && !exec(QStringLiteral("SELECT pg_advisory_xact_lock(7309412)"), why))
        return rollBack();
    version = storedVersion(why);
    if (version < 0)
        return rollBack();
    if (version == latest) // made meanwhile by the program that held the lock
        return exec(QStringLiteral("COMMIT"), why) || rollBack();
    if (!QSqlDatabase::database(m_connection, false).tables().contains(QStringLiteral("schema_version"))
        && !exec(QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"), why))
        return rollBack();
    for (int step = version; step < latest; ++step) {
        for (const QString &sql : migrations().at(step)) {
            if (!exec(sql, why))
                return rollBack();
        }
        QSqlQuery query(QSqlDatabase::database(m_connection, false));
        query.prepare(QStringLiteral("INSERT INTO schema_version (version) VALUES (?)"));
        query.addBindValue(step + 1);
        if (!query.exec()) {
            *why = sqlError(query.lastError());
            return rollBack();
        }
    }
    if (!exec(QStringLiteral("COMMIT"), why))
        return rollBack();
    return true;
}

bool RecordDatabase::append(const RecordEntry &entry, bool unsent, QString *why)
{
    return append(QList<RecordEntry>{entry}, unsent, why);
}

bool RecordDatabase::append(const QList<RecordEntry> &entries, bool unsent, QString *why)
{
    if (!begin(why))
        return false;
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO commissioning (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                  "?, ?, ?, ?, ?) ON CONFLICT (entry_id) DO NOTHING")
                       .arg(kColumns));
    QSqlQuery mark(db);
    mark.prepare(QStringLiteral("INSERT INTO unsent (entry_id) VALUES (?) ON CONFLICT (entry_id) DO NOTHING"));
    for (const RecordEntry &entry : entries) {
        for (const QVariant &value :
             {text(entry.id), text(timeKey(entry.time)), text(entry.station), text(entry.operatorName),
              text(entry.programVersion), text(entry.source), text(entry.port), text(entry.device), text(entry.adapter),
              text(familyName(entry.family)), QVariant(entry.modelCode), text(entry.modelName),
              text(entry.productionDate), textOrNull(entry.before), textOrNull(entry.sent), textOrNull(entry.readBack),
              text(entry.verdict), text(entry.message), QVariant(entry.exitCode)})
            insert.addBindValue(value);
        bool ok = insert.exec();
        QSqlError error = insert.lastError();
        if (ok && unsent) {
            mark.addBindValue(entry.id);
            ok = mark.exec();
            error = mark.lastError();
        }
        if (!ok) {
            *why = sqlError(error);
            QString ignored;
            exec(QStringLiteral("ROLLBACK"), &ignored);
            return false;
        }
    }
    return exec(QStringLiteral("COMMIT"), why);
}

std::optional<QList<RecordEntry>> RecordDatabase::history(const HistoryFilter &filter, QString *why)
{
    QStringList conditions;
    QVariantList values;
    if (filter.since.isValid()) {
        conditions << QStringLiteral("recorded_at >= ?");
        values << timeKey(filter.since);
    }
    if (filter.until.isValid()) {
        conditions << QStringLiteral("recorded_at < ?");
        values << timeKey(filter.until);
    }
    if (!filter.model.isEmpty()) {
        bool isCode = false;
        const int code = filter.model.toInt(&isCode);
        if (isCode) {
            conditions << QStringLiteral("model_code = ?");
            values << code;
        } else {
            conditions << QStringLiteral("lower(model_name) = lower(?)");
            values << filter.model;
        }
    }
    if (!filter.port.isEmpty()) {
        conditions << QStringLiteral("port = ?");
        values << filter.port;
    }
    if (!filter.station.isEmpty()) {
        conditions << QStringLiteral("lower(station) = lower(?)");
        values << filter.station;
    }
    if (!filter.verdict.isEmpty()) {
        conditions << QStringLiteral("verdict = ?");
        values << filter.verdict;
    }
    QString sql = QStringLiteral("SELECT %1 FROM commissioning").arg(kColumns);
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY recorded_at, entry_id");
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        *why = sqlError(query.lastError());
        return std::nullopt;
    }
    QList<RecordEntry> entries;
    while (query.next())
        entries.append(entryFrom(query));
    return entries;
}

std::optional<RecordEntry> RecordDatabase::find(const QString &idOrPrefix, QString *why)
{
    static const QRegularExpression idText(QStringLiteral("^[0-9a-fA-F-]{4,36}$"));
    if (!idText.match(idOrPrefix).hasMatch()) {
        *why = QStringLiteral("\"%1\" is no entry id: give the id history shows (at least its first four "
                              "characters).")
                   .arg(idOrPrefix);
        return std::nullopt;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(
        QStringLiteral("SELECT %1 FROM commissioning WHERE entry_id LIKE ? ORDER BY entry_id LIMIT 2").arg(kColumns));
    query.addBindValue(idOrPrefix.toLower() + u'%');
    if (!query.exec()) {
        *why = sqlError(query.lastError());
        return std::nullopt;
    }
    QList<RecordEntry> found;
    while (query.next())
        found.append(entryFrom(query));
    if (found.size() == 1)
        return found.constFirst();
    *why = found.isEmpty()
               ? QStringLiteral("The record %1 holds no entry %2.").arg(m_target.display(), idOrPrefix)
               : QStringLiteral("More than one entry's id starts with %1: give more of it.").arg(idOrPrefix);
    return std::nullopt;
}

std::optional<QList<RecordEntry>> RecordDatabase::unsent(QString *why)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM commissioning WHERE entry_id IN (SELECT entry_id FROM unsent) "
                                   "ORDER BY recorded_at, entry_id")
                        .arg(kColumns))) {
        *why = sqlError(query.lastError());
        return std::nullopt;
    }
    QList<RecordEntry> entries;
    while (query.next())
        entries.append(entryFrom(query));
    return entries;
}

bool RecordDatabase::markSent(const QString &id, QString *why)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("DELETE FROM unsent WHERE entry_id = ?"));
    query.addBindValue(id);
    if (query.exec())
        return true;
    *why = sqlError(query.lastError());
    return false;
}

SyncOutcome sendUnsent(const RecordTarget &plant)
{
    SyncOutcome outcome;
    const RecordTarget here = RecordTarget::local();
    if (!QFileInfo::exists(here.path))
        return outcome;
    RecordDatabase local(here);
    if (!local.open(&outcome.error))
        return outcome;
    const auto entries = local.unsent(&outcome.error);
    if (!entries || entries->isEmpty())
        return outcome;
    outcome.waiting = int(entries->size());
    RecordDatabase remote(plant);
    if (!remote.open(&outcome.error))
        return outcome;
    // The plant's record keys entries by id: one sent twice (another sync
    // at the same moment, a sync cut short before the mark came off) is
    // kept once.
    for (const RecordEntry &entry : *entries) {
        if (!remote.append(entry, false, &outcome.error) || !local.markSent(entry.id, &outcome.error))
            return outcome;
        ++outcome.sent;
        --outcome.waiting;
    }
    return outcome;
}

RecordOutcome keepEntry(const RecordTarget &target, const RecordEntry &entry)
{
    RecordOutcome outcome;
    QString why;
    {
        RecordDatabase record(target);
        if (record.open(&why) && record.append(entry, false, &why)) {
            outcome.kept = true;
        }
    }
    if (outcome.kept) {
        if (target.kind == RecordTarget::Kind::Plant)
            outcome.synced = sendUnsent(target).sent;
        return outcome;
    }
    if (target.kind == RecordTarget::Kind::Local) {
        outcome.error = QStringLiteral("The write was not recorded in %1: %2").arg(target.display(), why);
        return outcome;
    }
    // The plant is out of reach: the entry waits in the local record.
    const RecordTarget here = RecordTarget::local();
    RecordDatabase local(here);
    QString localWhy;
    if (!local.open(&localWhy) || !local.append(entry, true, &localWhy)) {
        outcome.error = QStringLiteral("The write was not recorded: the plant record %1 cannot be reached (%2), "
                                       "and the local record %3 cannot be written (%4).")
                            .arg(target.display(), why, here.path, localWhy);
        return outcome;
    }
    outcome.kept = true;
    outcome.unsent = true;
    outcome.notice = QStringLiteral("The plant record %1 cannot be reached (%2): the entry is kept in the local "
                                    "record %3 and will be sent with the next entry, or by veltra-cli record sync.")
                         .arg(target.display(), why, here.path);
    return outcome;
}

} // namespace veltra
