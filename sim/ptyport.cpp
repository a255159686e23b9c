#include "ptyport.h"

#include <QFile>
#include <QScopeGuard>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <vector>
#include <unistd.h>

namespace veltra {
namespace {

struct SpeedRow {
    speed_t speed;
    int rate;
};

constexpr std::array<SpeedRow, 5> kSpeeds{{
    {B9600, 9600},
    {B19200, 19200},
    {B38400, 38400},
    {B57600, 57600},
    {B115200, 115200},
}};

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

void setCloseOnExec(int fd)
{
    ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

// A serial program locks a device with a UUCP lock file named after it
// (/var/lock/LCK..pts_3) holding its process id. A terminal number whose
// lock belongs to a live process (its last user is closing it) would be
// reported busy to the program that opens the simulator, so such a number
// is passed over. A lock left by a process that died is stale: the next
// program to open the device removes it.
bool lockedByName(const char *slaveName)
{
    QString name = QString::fromLocal8Bit(slaveName);
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    name.replace(u'/', u'_');
    for (const char *folder : {"/var/lock", "/run/lock", "/tmp", "/var/tmp"}) {
        QFile lock(QStringLiteral("%1/LCK..%2").arg(QLatin1String(folder), name));
        if (!lock.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> words = lock.read(128).simplified().split(' ');
        bool ok = false;
        const long pid = words.value(0).toLong(&ok);
        if (ok && pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM))
            return true;
    }
    return false;
}

} // namespace

PtyPort::PtyPort(QObject *parent)
    : QObject(parent)
{}

PtyPort::~PtyPort()
{
    close();
}

bool PtyPort::open(int initialRate, QString *error)
{
    close();
    // Terminals passed over stay open until one is taken, so the system
    // does not hand the same number out again.
    std::vector<int> passedOver;
    const auto releasePassedOver = qScopeGuard([&passedOver] {
        for (const int fd : passedOver)
            ::close(fd);
    });
    const char *name = nullptr;
    for (int attempt = 0; attempt < 16; ++attempt) {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0) {
            *error = systemError("posix_openpt");
            return false;
        }
        setCloseOnExec(m_master);
        if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            *error = systemError("grantpt/unlockpt");
            close();
            return false;
        }
        name = ::ptsname(m_master);
        if (!name) {
            *error = systemError("ptsname");
            close();
            return false;
        }
        if (!lockedByName(name))
            break;
        passedOver.push_back(m_master);
        m_master = -1;
    }
    if (m_master < 0) {
        *error = QStringLiteral("every pseudo-terminal offered is locked by another program");
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);

    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        *error = systemError("open slave");
        close();
        return false;
    }
    setCloseOnExec(m_slave);

    // Raw both ways: no echo, no line editing, no newline translation.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0) {
        *error = systemError("tcgetattr");
        close();
        return false;
    }
    ::cfmakeraw(&tio);
    for (const SpeedRow &row : kSpeeds) {
        if (row.rate == initialRate) {
            ::cfsetispeed(&tio, row.speed);
            ::cfsetospeed(&tio, row.speed);
        }
    }
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0) {
        *error = systemError("tcsetattr");
        close();
        return false;
    }

    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyPort::onReadable);
    return true;
}

void PtyPort::close()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = -1;
    m_slave = -1;
}

int PtyPort::lineRate() const
{
    // A pty master reports the termios of its slave, i.e. what the program set.
    termios tio{};
    if (m_master < 0 || ::tcgetattr(m_master, &tio) != 0)
        return 0;
    const speed_t speed = ::cfgetospeed(&tio);
    for (const SpeedRow &row : kSpeeds) {
        if (row.speed == speed)
            return row.rate;
    }
    return 0;
}

bool PtyPort::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false; // EAGAIN: the program has not read for a long time
        }
        done += n;
    }
    return true;
}

int PtyPort::unreadByProgram() const
{
    int count = 0;
    if (m_slave < 0 || ::ioctl(m_slave, FIONREAD, &count) != 0)
        return 0;
    return count;
}

void PtyPort::onReadable()
{
    QByteArray bytes;
    std::array<char, 4096> chunk{};
    for (;;) {
        const ssize_t n = ::read(m_master, chunk.data(), chunk.size());
        if (n > 0) {
            bytes.append(chunk.data(), n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            // The slave is held open, so this should not happen; stop
            // listening rather than spin on a dead descriptor.
            m_notifier->setEnabled(false);
        }
        break;
    }
    if (!bytes.isEmpty())
        emit received(bytes, lineRate());
}

} // namespace veltra
