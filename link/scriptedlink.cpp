#include "scriptedlink.h"

#include "bytetext.h"
#include "linesettings.h"

namespace veltra {

ScriptedLink::ScriptedLink(QObject *parent)
    : SerialLink(parent)
{}

bool ScriptedLink::open(const PortId &port, const QString &lineSettings)
{
    clearError();
    if (m_open)
        close();
    m_journal << QStringLiteral("open %1 %2").arg(port.display(), lineSettings);
    if (m_openFailure != LinkError::Kind::None) {
        const auto kind = m_openFailure;
        m_openFailure = LinkError::Kind::None;
        return fail(kind, port.display());
    }
    if (!parseLineSettings(lineSettings))
        return fail(LinkError::Kind::BadSettings, port.display(), lineSettings);
    m_port = port;
    m_lineSettings = lineSettings;
    m_open = true;
    opened(port, port.display());
    return true;
}

bool ScriptedLink::setSettings(const QString &lineSettings)
{
    clearError();
    m_journal << QStringLiteral("settings %1").arg(lineSettings);
    if (!m_open)
        return failClosed();
    if (!parseLineSettings(lineSettings))
        return fail(LinkError::Kind::BadSettings, m_port.display(), lineSettings);
    m_lineSettings = lineSettings;
    return true;
}

bool ScriptedLink::send(const QByteArray &request)
{
    clearError();
    m_journal << QStringLiteral("send");
    if (!m_open)
        return failClosed();
    m_sent << request;
    if (!m_replies.isEmpty())
        m_buffer += m_replies.takeFirst();
    else if (m_responder)
        m_buffer += m_responder(request, m_lineSettings);
    if (m_unplugAfterSend) {
        m_unplugAfterSend = false;
        unplug();
        clearError(); // the request itself went out
    }
    return true;
}

QString ScriptedLink::receiveAll()
{
    clearError();
    m_journal << QStringLiteral("receive");
    if (!m_open) {
        failClosed();
        return {};
    }
    const QString text = bytesToText(m_buffer);
    m_buffer.clear();
    return text;
}

void ScriptedLink::close()
{
    m_journal << QStringLiteral("close");
    m_open = false;
    m_buffer.clear(); // a closed port forgets what it had not delivered
}

void ScriptedLink::sleep(int milliseconds)
{
    m_journal << QStringLiteral("sleep %1").arg(milliseconds);
    m_slept += milliseconds;
}

bool ScriptedLink::checkConnection()
{
    clearError();
    m_journal << QStringLiteral("check");
    return m_open || failClosed();
}

void ScriptedLink::unplug()
{
    m_open = false;
    m_buffer.clear();
    lost(QStringLiteral("unplugged"));
}

bool ScriptedLink::failClosed()
{
    return fail(wasLost() ? LinkError::Kind::Io : LinkError::Kind::NotOpen, m_port.display());
}

void ScriptedLink::queueReply(const QByteArray &reply)
{
    m_replies << reply;
}

void ScriptedLink::arrive(const QByteArray &bytes)
{
    m_buffer += bytes;
    if (m_buffer.size() >= kReceiveThreshold)
        emit receiveEvent(kEventReceive);
}

void ScriptedLink::clearJournal()
{
    m_journal.clear();
    m_sent.clear();
    m_slept = 0;
}

} // namespace veltra
