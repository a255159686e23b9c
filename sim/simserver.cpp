#include "simserver.h"

#include "ptyport.h"

namespace veltra {
namespace {

// While unplugging, the last answer is given this long to be read.
constexpr int kDrainPollMs = 50;
constexpr int kDrainPolls = 40;
// Run-state text is held back while the program leaves this much unread.
constexpr int kRunBacklog = 1024;

} // namespace

SimServer::SimServer(SimSensor &sensor, PtyPort &port, QObject *parent)
    : QObject(parent)
    , m_sensor(sensor)
    , m_port(port)
{
    m_quietTimer.setSingleShot(true);
    m_quietTimer.setInterval(SimSensor::kQuietGapMs);
    m_runTimer.setInterval(SimSensor::kRunIntervalMs);
    m_drainTimer.setInterval(kDrainPollMs);
    connect(&m_port, &PtyPort::received, this, &SimServer::onReceived);
    connect(&m_quietTimer, &QTimer::timeout, this, &SimServer::onQuietGap);
    connect(&m_runTimer, &QTimer::timeout, this, &SimServer::onRunTick);
    connect(&m_drainTimer, &QTimer::timeout, this, &SimServer::unplugWhenRead);
}

void SimServer::onReceived(const QByteArray &bytes, int lineRate)
{
    if (m_unplugging)
        return;
    afterInput(m_sensor.receive(bytes, lineRate));
}

void SimServer::onQuietGap()
{
    afterInput(m_sensor.quietGap());
}

void SimServer::afterInput(const QByteArray &answer)
{
    if (m_sensor.waitingForMore())
        m_quietTimer.start(); // restarted by every chunk: the gap counts from the last byte
    else
        m_quietTimer.stop();

    if (m_sensor.isRunning() && !m_runTimer.isActive())
        m_runTimer.start();
    else if (!m_sensor.isRunning())
        m_runTimer.stop();

    const bool unplug = m_sensor.unplugDue() && !m_unplugging;
    if (unplug) {
        m_unplugging = true;
        m_runTimer.stop();
        m_quietTimer.stop();
    }
    if (answer.isEmpty() && !unplug)
        return;
    if (m_sensor.faults().lateMs > 0)
        QTimer::singleShot(m_sensor.faults().lateMs, this, [this, answer, unplug] { deliver(answer, unplug); });
    else
        deliver(answer, unplug);
}

void SimServer::deliver(const QByteArray &answer, bool thenUnplug)
{
    if (!answer.isEmpty()) {
        const bool complete = m_port.write(answer);
        log(QStringLiteral("-> %1%2").arg(simPrintable(answer), complete ? QString() : QStringLiteral(" (dropped)")));
    }
    if (thenUnplug) {
        m_drainPolls = 0;
        m_drainTimer.start();
    }
}

void SimServer::unplugWhenRead()
{
    // Unplugging flushes what the program has not read, so wait for it.
    if (m_port.unreadByProgram() > 0 && ++m_drainPolls < kDrainPolls)
        return;
    m_drainTimer.stop();
    log(QStringLiteral("unplugged after %1 requests").arg(m_sensor.requestCount()));
    m_port.close();
    emit unplugged();
}

void SimServer::onRunTick()
{
    const QByteArray text = m_sensor.runTick();
    if (text.isEmpty() || m_port.unreadByProgram() > kRunBacklog)
        return;
    m_port.write(text);
}

void SimServer::log(const QString &line) const
{
    if (m_log)
        m_log(line);
}

} // namespace veltra
