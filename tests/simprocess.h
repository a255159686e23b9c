#pragma once

// A veltra-sim process with its own ports folder, for tests and the benchmark.
// The folder is also set in this process's environment so PortMap finds the
// simulator's comN link.
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace {

const QString kPortsVar = QStringLiteral("VELTRA_PORTS_DIR");

// One veltra-sim process with its own ports folder, which this test process
// uses too, so PortMap finds the link.
class Sim
{
public:
    explicit Sim(const QTemporaryDir &ports)
        : m_portsDir(ports.path())
    {
        qputenv(kPortsVar.toLocal8Bit(), m_portsDir.toLocal8Bit());
    }

    ~Sim()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    // Starts it and waits for the device line; empty on failure.
    QString start(const QStringList &arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kPortsVar, m_portsDir);
        m_process.setProcessEnvironment(env);
        QString program = qEnvironmentVariable("VELTRA_SIM");
#ifdef VELTRA_SIM_PATH
        if (program.isEmpty())
            program = QStringLiteral(VELTRA_SIM_PATH);
#endif
        m_process.start(program, arguments);
        if (!m_process.waitForStarted(5000))
            return {};
        QElapsedTimer clock;
        clock.start();
        while (!m_process.canReadLine() && clock.elapsed() < 5000) {
            if (!m_process.waitForReadyRead(100) && m_process.state() == QProcess::NotRunning)
                return {};
        }
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }

    // Everything the simulator logged so far ("<- connect", "<- 4 bytes at ...").
    QString log()
    {
        m_log += QString::fromLocal8Bit(m_process.readAllStandardError());
        return m_log;
    }

    QString linkPath(int port) const
    {
        return m_portsDir + QStringLiteral("/com%1").arg(port);
    }
    QProcess &process()
    {
        return m_process;
    }

private:
    QString m_portsDir;
    QString m_log;
    QProcess m_process;
};

} // namespace
