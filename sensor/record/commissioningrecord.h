#pragma once

#include "record/recordentry.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace veltra {

// Where the commissioning record is kept: the local SQLite database, or a
// plant's PostgreSQL database that several stations share.
struct RecordTarget {
    enum class Kind { Local, Plant };
    Kind kind = Kind::Local;
    QString path; // Local: the SQLite file
    QUrl url;     // Plant: postgresql://user@host:port/database?options

    // The local record in the user's data folder.
    static RecordTarget local();
    // "" (the local record), a postgresql:// or postgres:// address, or the
    // path of an SQLite file; nothing, with the reason, for anything else.
    static std::optional<RecordTarget> fromText(const QString &text, QString *why);
    // What the programs use: the command line's --record, else
    // VELTRA_RECORD, else "record" in the program's settings file, else the
    // local record.
    static std::optional<RecordTarget> configured(const QString &commandLine, QString *why);

    // For messages: the file, or the address without its password.
    QString display() const;
};

// The record keeps UTC: a day of a filter starts at its midnight UTC.
QDateTime utcDayStart(const QDate &date);

// What history and the History window ask for; empty parts match all.
struct HistoryFilter {
    QDateTime since; // inclusive
    QDateTime until; // exclusive
    QString model;   // a model name (any letter case) or code
    QString port;
    QString station; // any letter case
    QString verdict;
};

// One connection to a record, used in the thread that made it. The schema
// is made or brought up to date when it opens; entries are added in one
// transaction each and never changed.
class RecordDatabase
{
public:
    explicit RecordDatabase(RecordTarget target);
    ~RecordDatabase();
    RecordDatabase(const RecordDatabase &) = delete;
    RecordDatabase &operator=(const RecordDatabase &) = delete;

    // The schema version this program writes.
    static constexpr int kSchemaVersion = 1;

    const RecordTarget &target() const { return m_target; }
    bool open(QString *why);
    bool isOpen() const { return m_open; }

    // Adds the entry (an entry already there, by its id, is left as it is).
    // `unsent` marks it as one still to be sent to the plant's record.
    bool append(const RecordEntry &entry, bool unsent, QString *why);
    // Several in one transaction: all of them or none.
    bool append(const QList<RecordEntry> &entries, bool unsent, QString *why);
    // Entries matching the filter, oldest first.
    std::optional<QList<RecordEntry>> history(const HistoryFilter &filter, QString *why);
    // The entry with this id, or the one whose id starts with it.
    std::optional<RecordEntry> find(const QString &idOrPrefix, QString *why);
    // Entries marked unsent, oldest first, and taking the mark off one.
    std::optional<QList<RecordEntry>> unsent(QString *why);
    bool markSent(const QString &id, QString *why);

private:
    bool migrate(QString *why);
    bool exec(const QString &sql, QString *why);
    bool begin(QString *why);
    int storedVersion(QString *why);

    RecordTarget m_target;
    QString m_connection;
    bool m_open = false;
};

// What keeping one entry came to.
struct RecordOutcome {
    bool kept = false;   // in the configured record, or held locally for the plant
    bool unsent = false; // the plant's record was out of reach: held locally
    int synced = 0;      // entries held earlier that went to the plant with it
    QString notice;      // for the operator: where an unsent entry waits
    QString error;       // why it was not kept anywhere
};

// Keeps the entry in the target. A plant record that cannot be reached
// gets it later: the entry goes to the local record marked unsent. Once
// the plant is reached, entries held earlier are sent with it.
RecordOutcome keepEntry(const RecordTarget &target, const RecordEntry &entry);

// Sends the entries the local record holds for the plant, each exactly
// once: an entry the plant has already is not added again.
struct SyncOutcome {
    int sent = 0;
    int waiting = 0; // still unsent
    QString error;
};
SyncOutcome sendUnsent(const RecordTarget &plant);

} // namespace veltra
