#include "sensorsession.h"

#include "commandframe.h"
#include "linesettings.h"

namespace veltra {

SensorSession::SensorSession(SerialLink &link, QObject *parent)
    : QObject(parent)
    , m_link(link)
{
    // Characters that arrive while a reply is awaited on a timer are that
    // reply, not unasked ones: nobody else may take them.
    QObject::connect(&m_link, &SerialLink::ReceiveEvent, this, [this](int eventCode) {
        if (!m_awaitingReply)
            emit linkEvent(eventCode);
    });
}

SensorSession::~SensorSession()
{
    m_link.Close();
}

HandshakeResult SensorSession::handshake(const QString &portText)
{
    const HandshakeResult result = Handshake::run(m_link, portText, [this](const QString &reply) { received(reply); });
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
        return fail(SessionFailure::Kind::BadRequest, QStringLiteral("Bad port or baud rate."));
    if (!m_link.Open(*port, QLatin1String(row->lineSettings)))
        return failFromLink();
    // The same settling time the handshake gives a freshly opened port.
    m_link.Sleep(Handshake::kSettleMs);
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

std::optional<SensorBlock> SensorSession::readBlock()
{
    const auto reply = readReply();
    if (!reply)
        return std::nullopt;
    QString why;
    auto block = SensorBlock::fromReply(*reply, &why);
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
    if (!m_link.Send(CommandFrame::measureRequest()))
        return failFromLink();
    m_awaitingReply = true;
    return true;
}

std::optional<QString> SensorSession::takeReply()
{
    m_awaitingReply = false;
    const QString reply = m_link.ReceiveAll();
    received(reply);
    if (m_link.lastError().isError()) {
        failFromLink();
        return std::nullopt;
    }
    return reply;
}

bool SensorSession::write(const QByteArray &request)
{
    if (!request.isEmpty() && !m_link.Send(request))
        return failFromLink();
    m_link.Sleep(kReplyWaitMs);
    return true;
}

bool SensorSession::switchRate(const QString &lineSettings)
{
    if (!lineSettings.isEmpty() && !m_link.SetSettings(lineSettings))
        return failFromLink();
    return true;
}

bool SensorSession::followWrite(const QString &lineSettings)
{
    if (!switchRate(lineSettings))
        return false;
    m_link.ReceiveAll();
    if (m_link.lastError().isError())
        return failFromLink();
    return true;
}

bool SensorSession::checkConnection()
{
    return m_link.CheckConnection() || failFromLink();
}

bool SensorSession::run()
{
    if (!m_link.Send(CommandFrame::runRequest()))
        return failFromLink();
    m_link.Sleep(kRunWaitMs);
    // No answer is read, so only a device that is still there says the
    // request could have arrived.
    return checkConnection();
}

QString SensorSession::takeUnasked()
{
    return m_link.ReceiveAll();
}

bool SensorSession::reopenIfLost(const QString &baudText)
{
    if (m_link.isOpen() || !m_link.port())
        return true;
    const BaudRow *row = baudRowForText(baudText);
    const QString lineSettings = row ? QString::fromLatin1(row->lineSettings) : m_link.lineSettings();
    return m_link.Reopen(lineSettings) || failFromLink();
}

bool SensorSession::isOpen() const
{
    return m_link.isOpen();
}

void SensorSession::close()
{
    m_link.Close();
}

const LinkError &SensorSession::linkError() const
{
    return m_link.lastError();
}

std::optional<QString> SensorSession::exchange(const QByteArray &request, int waitMs)
{
    const QString reply = m_link.Exchange(request, waitMs);
    received(reply);
    if (m_link.lastError().isError()) {
        failFromLink();
        return std::nullopt;
    }
    return reply;
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
