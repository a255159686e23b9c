#include "session/trafficlog.h"

#include "protocol/commandframe.h"

#include <QElapsedTimer>
#include <QJsonObject>

namespace veltra {

namespace {

// The program's own clock: milliseconds since the first record was possible.
qint64 sinceStartClock()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock.elapsed();
}

} // namespace

qint64 trafficClockMs()
{
    return sinceStartClock();
}

QString TrafficEntry::outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Answered:
        return QStringLiteral("answered");
    case Outcome::Damaged:
        return QStringLiteral("damaged");
    case Outcome::NoReply:
        return QStringLiteral("no reply");
    case Outcome::Sent:
        return QStringLiteral("sent");
    case Outcome::Lost:
        return QStringLiteral("lost device");
    case Outcome::Refused:
        return QStringLiteral("refused");
    }
    return {};
}

QString TrafficEntry::commandName(const QByteArray &request)
{
    if (request.size() < 4)
        return QStringLiteral("unknown");
    switch (Command(std::uint8_t(request[3]))) {
    case Command::Connect:
        return QStringLiteral("connect");
    case Command::ReadSettings:
        return QStringLiteral("read settings");
    case Command::Measure:
        return QStringLiteral("measure");
    case Command::WriteSettings:
        return QStringLiteral("write settings");
    case Command::Run:
        return QStringLiteral("run");
    }
    return QStringLiteral("unknown");
}

QString TrafficEntry::hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString TrafficEntry::printable(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes)
        text += (c >= 0x20 && c < 0x7f) ? QChar(c) : QChar(u'.');
    return text;
}

QString TrafficEntry::line() const
{
    QString text = QStringLiteral("%1 ms  %2 %3  %4  -> %5")
                       .arg(timeMs)
                       .arg(device.isEmpty() ? port : device, lineSettings, command, hex(request));
    if (!reply.isEmpty())
        text += QStringLiteral("  <- %1 \"%2\"").arg(hex(reply), printable(reply));
    text += QStringLiteral("  (%1 ms) %2").arg(waitMs).arg(outcomeName(outcome));
    if (!detail.isEmpty())
        text += QStringLiteral(": ") + detail;
    return text;
}

QJsonObject TrafficEntry::toJson() const
{
    return {{QStringLiteral("sequence"), sequence},
            {QStringLiteral("timeMs"), timeMs},
            {QStringLiteral("time"), time.toUTC().toString(Qt::ISODateWithMs)},
            {QStringLiteral("port"), port},
            {QStringLiteral("device"), device},
            {QStringLiteral("lineSettings"), lineSettings},
            {QStringLiteral("command"), command},
            {QStringLiteral("request"), hex(request)},
            {QStringLiteral("reply"), hex(reply)},
            {QStringLiteral("replyText"), printable(reply)},
            {QStringLiteral("waitMs"), waitMs},
            {QStringLiteral("outcome"), outcomeName(outcome)},
            {QStringLiteral("detail"), detail}};
}

TrafficLog::TrafficLog(int capacity, QObject *parent)
    : QObject(parent)
    , m_capacity(std::max(capacity, 1))
{
    trafficClockMs();
}

void TrafficLog::record(TrafficEntry entry)
{
    entry.sequence = m_next++;
    // Entries made without a time are stamped now.
    if (!entry.time.isValid()) {
        entry.timeMs = trafficClockMs();
        entry.time = QDateTime::currentDateTime();
    }
    const bool drop = int(m_entries.size()) >= m_capacity;
    if (drop)
        m_entries.pop_front();
    m_entries.push_back(std::move(entry));
    emit added(m_entries.back(), drop);
}

void TrafficLog::clear()
{
    m_entries.clear();
    emit cleared();
}

QJsonArray TrafficLog::toJson() const
{
    QJsonArray entries;
    for (const TrafficEntry &entry : m_entries)
        entries.append(entry.toJson());
    return entries;
}

} // namespace veltra
