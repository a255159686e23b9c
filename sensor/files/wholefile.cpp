#include "files/wholefile.h"

#include "messagetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltra {

namespace {

QString failed(const QString &path, int error)
{
    return messageText(QT_TRANSLATE_NOOP("Messages", "Cannot write %1: %2."),
                       {QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error))});
}

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// The mode a new file gets (0666 less the umask), or the old file's own.
mode_t modeFor(const QByteArray &target)
{
    struct stat old;
    if (::stat(target.constData(), &old) == 0)
        return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool writeWholeFile(const QString &path, const QByteArray &data, QString *why)
{
    if (const QString problem = outputTargetProblem(path); !problem.isEmpty()) {
        *why = problem;
        return false;
    }
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    QByteArray temporary = folder + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        *why = failed(path, errno);
        return false;
    }
    int error = 0;
    if (!writeAll(fd, data) || ::fchmod(fd, modeFor(target)) != 0 || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        *why = failed(path, error);
        return false;
    }
    // The rename itself reaches the disk with the folder.
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

QString outputTargetProblem(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return {};
    const char *what = S_ISDIR(st.st_mode)    ? QT_TRANSLATE_NOOP("Messages", "a folder")
                       : S_ISCHR(st.st_mode)  ? QT_TRANSLATE_NOOP("Messages", "a device")
                       : S_ISBLK(st.st_mode)  ? QT_TRANSLATE_NOOP("Messages", "a device")
                       : S_ISFIFO(st.st_mode) ? QT_TRANSLATE_NOOP("Messages", "a pipe")
                       : S_ISSOCK(st.st_mode) ? QT_TRANSLATE_NOOP("Messages", "a socket")
                                              : QT_TRANSLATE_NOOP("Messages", "not a regular file");
    return messageText(
        QT_TRANSLATE_NOOP("Messages", "Cannot write %1: it is %2, not a file; nothing was written to it."),
        {QDir::toNativeSeparators(path), messageText(what)});
}

} // namespace veltra
