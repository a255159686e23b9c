#include "sensorsession.h"

#include "commandframe.h"
#include "handshake.h"
#include "linesettings.h"

namespace veltra {

Failure failureFromLink(const LinkError &error)
{
    switch (error.kind) {
    case LinkError::Kind::None:
        return {};
    case LinkError::Kind::BadPortText:
        return {ExitCode::Usage, error.reason()};
    case LinkError::Kind::NoSuchPort:
    case LinkError::Kind::Busy:
    case LinkError::Kind::PermissionDenied:
    case LinkError::Kind::BadSettings:
    case LinkError::Kind::NotSerial:
        return {ExitCode::PortFailed, error.reason()};
    case LinkError::Kind::NotOpen:
    case LinkError::Kind::Io:
        return {ExitCode::NoSensor, error.reason()};
    }
    return {ExitCode::NoSensor, error.reason()};
}

SensorSession::SensorSession(SerialLink &link)
    : m_link(link)
{
}

SensorSession::~SensorSession()
{
    m_link.Close();
}

bool SensorSession::connect(const QString &portText, const QString &baudText)
{
    if (baudText.isEmpty()) {
        const HandshakeResult result = Handshake::run(m_link, portText, [](const QString &) {});
        switch (result.outcome) {
        case HandshakeResult::Outcome::Found:
            return true;
        case HandshakeResult::Outcome::NoAnswer:
            return fail(ExitCode::NoSensor, result.reason());
        case HandshakeResult::Outcome::Error:
            m_failure = failureFromLink(result.error);
            return false;
        }
        return false;
    }

    const BaudRow *row = baudRowForText(baudText);
    const auto port = PortId::fromText(portText);
    if (!row || !port)
        return fail(ExitCode::Usage, QStringLiteral("Bad port or baud rate."));
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
        fail(ExitCode::NoSensor, why);
    return block;
}

std::optional<QString> SensorSession::measure()
{
    return exchange(CommandFrame::measureRequest(), kReplyWaitMs);
}

bool SensorSession::write(const QByteArray &request)
{
    if (!m_link.Send(request))
        return failFromLink();
    m_link.Sleep(kReplyWaitMs);
    return true;
}

bool SensorSession::followWrite(const QString &lineSettings)
{
    if (!lineSettings.isEmpty() && !m_link.SetSettings(lineSettings))
        return failFromLink();
    m_link.ReceiveAll();
    if (m_link.lastError().isError())
        return failFromLink();
    return true;
}

bool SensorSession::run()
{
    if (!m_link.Send(CommandFrame::runRequest()))
        return failFromLink();
    m_link.Sleep(kRunWaitMs);
    // No answer is read, so only a device that is still there says the
    // request could have arrived.
    if (!m_link.CheckConnection())
        return failFromLink();
    return true;
}

std::optional<QString> SensorSession::exchange(const QByteArray &request, int waitMs)
{
    QString reply = m_link.Exchange(request, waitMs);
    if (m_link.lastError().isError()) {
        failFromLink();
        return std::nullopt;
    }
    return reply;
}

bool SensorSession::fail(ExitCode code, const QString &message)
{
    m_failure = {code, message};
    return false;
}

bool SensorSession::failFromLink()
{
    m_failure = failureFromLink(m_link.lastError());
    return false;
}

} // namespace veltra
