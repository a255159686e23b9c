#include "session/measurementloop.h"

#include "session/sensorsession.h"

#include <algorithm>

namespace veltra {

MeasurementLoop::MeasurementLoop(SensorSession &session, const SensorSettings &block, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_block(block)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    m_nextExchange.setSingleShot(true);
    m_nextExchange.setTimerType(Qt::PreciseTimer);
    m_replyWait.setSingleShot(true);
    m_replyWait.setTimerType(Qt::PreciseTimer);
    m_replyWait.setInterval(SensorSession::kReplyWaitMs);
    connect(&m_nextExchange, &QTimer::timeout, this, &MeasurementLoop::sendRequest);
    connect(&m_replyWait, &QTimer::timeout, this, &MeasurementLoop::takeReply);
}

void MeasurementLoop::setInterval(int milliseconds)
{
    m_intervalMs = std::max(milliseconds, kShortestIntervalMs);
}

void MeasurementLoop::start()
{
    m_stopping = false;
    if (m_running)
        return;
    m_started.start();
    setRunning(true);
    sendRequest();
}

void MeasurementLoop::stop()
{
    m_nextExchange.stop();
    if (m_replyWait.isActive()) {
        m_stopping = true;
        return;
    }
    setRunning(false);
}

void MeasurementLoop::stopNow()
{
    m_nextExchange.stop();
    m_stopping = false;
    if (m_replyWait.isActive()) {
        m_replyWait.stop();
        m_session.abandonReply();
    }
    setRunning(false);
}

void MeasurementLoop::sendRequest()
{
    if (!m_running)
        return;
    // Whatever is left from before (a late answer, a reply to a stopped
    // exchange) is not this exchange's answer.
    m_session.takeUnasked();
    m_sentAtMs = m_started.elapsed();
    m_sentAt = m_clock();
    if (!m_session.sendMeasureRequest()) {
        stopNow();
        emit linkFailed();
        return;
    }
    m_replyWait.start();
}

void MeasurementLoop::takeReply()
{
    if (!m_running)
        return;
    const std::optional<QString> reply = m_session.takeReply();
    if (m_stopping) {
        // The last reply is in (or never comes): dropped, with anything
        // after it, and the port is free.
        if (reply)
            m_session.takeUnasked();
        stopNow();
        return;
    }
    if (!reply) {
        stopNow();
        emit linkFailed();
        return;
    }
    MeasurementSample sample{m_sentAt, m_sentAtMs, *reply, measurementRow(m_block, *reply)};
    const qint64 next = m_sentAtMs + m_intervalMs - m_started.elapsed();
    m_nextExchange.start(int(std::max<qint64>(next, 0)));
    emit measured(sample);
}

void MeasurementLoop::setRunning(bool running)
{
    if (m_running == running)
        return;
    m_running = running;
    emit runningChanged(running);
}

} // namespace veltra
