#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QObject>
#include <QString>

#include <deque>

namespace veltra {

// One exchange with a sensor as it went over the wire.
struct TrafficEntry {
    enum class Outcome {
        Answered, // a reply of the form the request asks for
        Damaged,  // something came back, but not that
        NoReply,  // nothing came back within the wait
        Sent,     // sent; this request reads no reply (write, run)
        Lost,     // the device went away during the exchange
        Refused,  // not sent: the port was not open or could not be opened
    };
    qint64 sequence = 0;  // 1, 2, ... since the program started
    qint64 timeMs = 0;    // since the program started, when the request went out
    QDateTime time;       // the wall clock then
    QString port;         // as given: "3", "/dev/ttyUSB0"
    QString device;       // the device it opened
    QString lineSettings; // "19200,n,8,1"
    QString command;      // "connect", "read settings", "measure", "write settings", "run"
    QByteArray request;
    QByteArray reply;
    int waitMs = 0;
    Outcome outcome = Outcome::NoReply;
    QString detail; // why it was lost or refused

    static QString outcomeName(Outcome outcome); // "answered", "no reply", ...
    static QString commandName(const QByteArray &request);
    // "FE FA FC 0C"
    static QString hex(const QByteArray &bytes);
    // The bytes as text, "." for a byte that is not printable ASCII.
    static QString printable(const QByteArray &bytes);
    // One line: time, port and rate, command, request, reply, wait, outcome.
    QString line() const;
    QJsonObject toJson() const;
};

// Milliseconds since the program's first exchange could be made.
qint64 trafficClockMs();

// The record of the last exchanges of a session (or of the whole program):
// a ring that keeps the newest `capacity` entries. Recording takes a copy of
// a few dozen bytes; it costs nothing beside the waits of an exchange.
class TrafficLog : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultCapacity = 10000;

    explicit TrafficLog(int capacity = kDefaultCapacity, QObject *parent = nullptr);

    // Stamps the entry with its sequence and times, keeps it and announces it.
    void record(TrafficEntry entry);
    void clear();

    int size() const { return int(m_entries.size()); }
    int capacity() const { return m_capacity; }
    const TrafficEntry &at(int i) const { return m_entries[std::size_t(i)]; }
    QJsonArray toJson() const;

signals:
    // A new entry; when the ring was full, the oldest went first (dropped).
    void added(const veltra::TrafficEntry &entry, bool droppedOldest);
    void cleared();

private:
    std::deque<TrafficEntry> m_entries;
    int m_capacity;
    qint64 m_next = 1;
};

} // namespace veltra
