#pragma once

#include "seriallink.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace veltra {

// A link for tests: replies are scripted, requests recorded, Sleep is instant.
// Every call is also written to a journal ("open 9600,n,8,1", "send", "sleep 500",
// "receive", "settings 19200,n,8,1", "close") so tests can check the order.
class ScriptedLink : public SerialLink
{
    Q_OBJECT
public:
    using Responder = std::function<QByteArray(const QByteArray &request, const QString &lineSettings)>;

    explicit ScriptedLink(QObject *parent = nullptr);

    bool open(const PortId &port, const QString &lineSettings) override;
    bool setSettings(const QString &lineSettings) override;
    bool send(const QByteArray &request) override;
    QString receiveAll() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString lineSettings() const override { return m_lineSettings; }
    void sleep(int milliseconds) override;
    bool checkConnection() override;

    // The next Send makes this reply available to the next ReceiveAll.
    void queueReply(const QByteArray &reply);
    // Or answer every request from a function (used when a queue is empty).
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // Characters that arrive unasked; raises receiveEvent at the threshold.
    void arrive(const QByteArray &bytes);
    // Make the next Open fail this way.
    void failNextOpen(LinkError::Kind kind) { m_openFailure = kind; }
    // The adapter is pulled out: the port closes and every call fails as a
    // lost device until the next Open.
    void unplug();
    // Pull it out right after the next Send has delivered its request.
    void unplugAfterNextSend() { m_unplugAfterSend = true; }

    const QList<QByteArray> &sent() const { return m_sent; }
    const QStringList &journal() const { return m_journal; }
    int sleptMilliseconds() const { return m_slept; }
    PortId openedPort() const { return m_port; }
    void clearJournal();

private:
    bool failClosed();

    QList<QByteArray> m_replies;
    QList<QByteArray> m_sent;
    QStringList m_journal;
    QByteArray m_buffer;
    Responder m_responder;
    PortId m_port;
    QString m_lineSettings;
    LinkError::Kind m_openFailure = LinkError::Kind::None;
    int m_slept = 0;
    bool m_open = false;
    bool m_unplugAfterSend = false;
};

} // namespace veltra
