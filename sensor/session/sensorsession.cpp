#include "session/sensorsession.h"

#include "bytetext.h"
#include "linesettings.h"
#include "messagetext.h"
#include "protocol/commandframe.h"
#include "protocol/measurement.h"

namespace veltra {

SensorSession::SensorSession(SerialLink &link, QObject *parent)
    : QObject(parent)
    , m_link(link)
{
    // Characters that arrive while a reply is awaited on a timer are that
    // reply, not unasked ones: nobody else may take them.
    QObject::connect(&m_link, &SerialLink::receiveEvent, this, [this](int eventCode) {
        if (!m_awaitingReply)
            emit linkEvent(eventCode);
    });
}

SensorSession::~SensorSession()
{
    m_link.close();
}

HandshakeResult SensorSession::handshake(const QString &portText)
{
    // The handshake hands over each rate's reply (after clearing the field
    // once): each is one connect exchange at the rate the link runs at.
    int attempts = -1;
    const HandshakeResult result = Handshake::run(m_link, portText, [this, &attempts](const QString &reply) {
        received(reply);
        if (++attempts == 0)
            return;
        const int wait = attempts == 1 ? Handshake::kFirstWaitMs : Handshake::kLaterWaitMs;
        Sending sent = sending(CommandFrame::connectRequest());
        sent.timeMs -= wait;
        sent.time = sent.time.addMSecs(-wait);
        record(sent, reply, wait);
    });
    if (result.outcome == HandshakeResult::Outcome::Error) {
        if (attempts < 0 && !m_link.isOpen())
            recordRefused(CommandFrame::connectRequest(), result.reason());
        else
            record(sending(CommandFrame::connectRequest()), std::nullopt, 0);
    }
    switch (result.outcome) {
    case HandshakeResult::Outcome::Found:
        m_failure = {};
        m_connectedBaud = result.baudText;
        emit connected(result.baudText);
        break;
    case HandshakeResult::Outcome::NoAnswer:
        fail(SessionFailure::Kind::NoSensor, result.reason());
        break;
    case HandshakeResult::Outcome::Error:
        m_failure = {SessionFailure::Kind::Link, result.error, result.reason()};
        break;
    }
    return result;
}

bool SensorSession::connectTo(const QString &portText, const QString &baudText)
{
    if (baudText.isEmpty())
        return handshake(portText).found();

    const BaudRow *row = baudRowForText(baudText);
    const auto port = PortId::fromText(portText);
    if (!row || !port)
        return fail(SessionFailure::Kind::BadRequest,
                    messageText(QT_TRANSLATE_NOOP("Messages", "Bad port or baud rate.")));
    if (!m_link.open(*port, QLatin1String(row->lineSettings)))
        return failFromLink();
    // The same settling time the handshake gives a freshly opened port.
    m_link.sleep(Handshake::kSettleMs);
    return true;
}

QString SensorSession::baudText() const
{
    return m_link.lineSettings().section(QLatin1Char(','), 0, 0);
}

std::optional<QString> SensorSession::readReply()
{
    return exchange(CommandFrame::readSettingsRequest(), kReplyWaitMs);
}

std::optional<SensorSettings> SensorSession::readSettings()
{
    const auto reply = readReply();
    if (!reply)
        return std::nullopt;
    QString why;
    auto block = SensorSettings::fromReply(*reply, &why);
    if (!block)
        fail(SessionFailure::Kind::Damaged, why);
    return block;
}

std::optional<Identification> SensorSession::identify()
{
    const auto reply = readReply();
    if (!reply)
        return std::nullopt;
    const Identification id = Identification::fromReply(*reply);
    if (!id.damaged) {
        m_lastIdentification = id;
        emit identified(id);
    }
    return id;
}

std::optional<QString> SensorSession::measure()
{
    return exchange(CommandFrame::measureRequest(), kReplyWaitMs);
}

bool SensorSession::sendMeasureRequest()
{
    m_awaited = sending(CommandFrame::measureRequest());
    if (!m_link.send(m_awaited.request)) {
        record(m_awaited, std::nullopt, 0);
        return failFromLink();
    }
    m_awaitingReply = true;
    return true;
}

std::optional<QString> SensorSession::takeReply()
{
    m_awaitingReply = false;
    const QString reply = m_link.receiveAll();
    received(reply);
    const int waited = int(trafficClockMs() - m_awaited.timeMs);
    if (m_link.lastError().isError()) {
        record(m_awaited, std::nullopt, waited);
        failFromLink();
        return std::nullopt;
    }
    record(m_awaited, reply, waited);
    return reply;
}

bool SensorSession::write(const QByteArray &request)
{
    const Sending sent = sending(request);
    if (!request.isEmpty() && !m_link.send(request)) {
        record(sent, std::nullopt, 0);
        return failFromLink();
    }
    m_link.sleep(kReplyWaitMs);
    if (!request.isEmpty())
        record(sent, std::nullopt, kReplyWaitMs);
    return true;
}

bool SensorSession::switchRate(const QString &lineSettings)
{
    if (!lineSettings.isEmpty() && !m_link.setSettings(lineSettings))
        return failFromLink();
    return true;
}

bool SensorSession::followWrite(const QString &lineSettings)
{
    if (!switchRate(lineSettings))
        return false;
    m_link.receiveAll();
    if (m_link.lastError().isError())
        return failFromLink();
    return true;
}

bool SensorSession::checkConnection()
{
    return m_link.checkConnection() || failFromLink();
}

bool SensorSession::run()
{
    const Sending sent = sending(CommandFrame::runRequest());
    if (!m_link.send(sent.request)) {
        record(sent, std::nullopt, 0);
        return failFromLink();
    }
    m_link.sleep(kRunWaitMs);
    // No answer is read, so only a device that is still there says the
    // request could have arrived.
    const bool there = checkConnection();
    record(sent, std::nullopt, kRunWaitMs);
    return there;
}

QString SensorSession::takeUnasked()
{
    return m_link.receiveAll();
}

bool SensorSession::reopenIfLost(const QString &baudText)
{
    if (m_link.isOpen() || !m_link.port())
        return true;
    const BaudRow *row = baudRowForText(baudText);
    const QString lineSettings = row ? QString::fromLatin1(row->lineSettings) : m_link.lineSettings();
    if (m_link.reopen(lineSettings))
        return true;
    // The attempt is part of the record: a Read that could not even reopen
    // the port says so in the traffic log and the report.
    TrafficEntry entry = entryFor({});
    entry.command = QStringLiteral("reopen");
    entry.lineSettings = lineSettings;
    entry.outcome = TrafficEntry::Outcome::Refused;
    entry.detail = m_link.lastError().reason();
    m_traffic.record(std::move(entry));
    return failFromLink();
}

bool SensorSession::isOpen() const
{
    return m_link.isOpen();
}

void SensorSession::close()
{
    m_link.close();
}

const LinkError &SensorSession::linkError() const
{
    return m_link.lastError();
}

std::optional<QString> SensorSession::exchange(const QByteArray &request, int waitMs)
{
    const Sending sent = sending(request);
    const QString reply = m_link.exchange(request, waitMs);
    received(reply);
    if (m_link.lastError().isError()) {
        record(sent, std::nullopt, waitMs);
        failFromLink();
        return std::nullopt;
    }
    record(sent, reply, waitMs);
    if (request == CommandFrame::readSettingsRequest() && settingsReplyProblem(reply).isEmpty())
        m_lastBlockReply = reply;
    return reply;
}

SensorSession::Sending SensorSession::sending(const QByteArray &request) const
{
    return {request, trafficClockMs(), QDateTime::currentDateTime()};
}

void SensorSession::record(const Sending &sent, const std::optional<QString> &reply, int waitMs)
{
    TrafficEntry entry = entryFor(sent.request);
    entry.timeMs = sent.timeMs;
    entry.time = sent.time;
    entry.waitMs = waitMs;
    using Outcome = TrafficEntry::Outcome;
    const LinkError &error = m_link.lastError();
    if (error.isError()) {
        entry.outcome = error.kind == LinkError::Kind::Io ? Outcome::Lost : Outcome::Refused;
        entry.detail = error.reason();
    } else if (!reply) {
        entry.outcome = Outcome::Sent;
    } else {
        entry.reply = textToBytes(*reply);
        if (reply->isEmpty()) {
            entry.outcome = Outcome::NoReply;
        } else {
            bool whole = true;
            switch (Command(std::uint8_t(sent.request.size() > 3 ? sent.request.at(3) : 0))) {
            case Command::Connect:
                whole = CommandFrame::isConnectReply(*reply);
                break;
            case Command::ReadSettings:
                whole = settingsReplyProblem(*reply).isEmpty();
                break;
            case Command::Measure:
                whole = MeasurementReply::parse(*reply).wellFormed;
                break;
            default:
                break;
            }
            entry.outcome = whole ? Outcome::Answered : Outcome::Damaged;
        }
    }
    m_traffic.record(std::move(entry));
}

TrafficEntry SensorSession::entryFor(const QByteArray &request) const
{
    TrafficEntry entry;
    entry.port = m_link.port() ? m_link.port()->display() : QString();
    entry.device = m_link.device();
    entry.lineSettings = m_link.lineSettings();
    entry.request = request;
    entry.command = TrafficEntry::commandName(request);
    return entry;
}

void SensorSession::recordRefused(const QByteArray &request, const QString &why)
{
    TrafficEntry entry = entryFor(request);
    entry.outcome = TrafficEntry::Outcome::Refused;
    entry.detail = why;
    m_traffic.record(std::move(entry));
}

void SensorSession::received(const QString &reply)
{
    m_lastReply = reply;
    emit replyReceived(reply);
}

bool SensorSession::fail(SessionFailure::Kind kind, const QString &message)
{
    m_failure = {kind, {}, message};
    return false;
}

bool SensorSession::failFromLink()
{
    m_failure = {SessionFailure::Kind::Link, m_link.lastError(), m_link.lastError().reason()};
    return false;
}

} // namespace veltra
