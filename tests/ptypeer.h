#pragma once

// The far end of a pseudo-terminal, standing in for a sensor's wire in link tests.
#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QThread>

#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

class PtyPeer
{
public:
    PtyPeer()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_slave = QString::fromLocal8Bit(ptsname(m_master));
    }
    ~PtyPeer() { unplug(); }
    PtyPeer(const PtyPeer &) = delete;
    PtyPeer &operator=(const PtyPeer &) = delete;

    bool isValid() const { return m_master >= 0 && !m_slave.isEmpty(); }
    QString device() const { return m_slave; }

    void write(const QByteArray &bytes) const
    {
        const ssize_t n = ::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size()));
        Q_UNUSED(n);
    }

    // What the program sent, waiting up to timeoutMs for at least `count` bytes.
    QByteArray read(int count, int timeoutMs = 1000) const
    {
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        while (out.size() < count && clock.elapsed() < timeoutMs) {
            char buf[256];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0)
                out.append(buf, static_cast<int>(n));
            else
                QThread::msleep(5);
        }
        return out;
    }

    // The rate the program set on its side of the terminal.
    speed_t speed() const
    {
        termios t{};
        tcgetattr(m_master, &t);
        return cfgetospeed(&t);
    }

    void unplug()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    QString m_slave;
};
