#include "portlink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <unistd.h>

namespace veltra {
namespace {

// Where a link points, as written in it; empty for anything but a link.
QString linkText(const QString &path)
{
    std::array<char, 4096> buffer{};
    const QByteArray native = QFile::encodeName(path);
    const ssize_t n = ::readlink(native.constData(), buffer.data(), buffer.size() - 1);
    return n > 0 ? QFile::decodeName(QByteArray(buffer.data(), n)) : QString();
}

} // namespace

PortLink::~PortLink()
{
    remove();
}

bool PortLink::create(const QString &dir, int port, const QString &target, QString *error)
{
    return create(dir, QStringLiteral("com%1").arg(port), target, error);
}

bool PortLink::create(const QString &dir, const QString &name, const QString &target, QString *error)
{
    remove();
    if (!QDir().mkpath(dir)) {
        *error = QStringLiteral("cannot make the folder %1").arg(dir);
        return false;
    }
    const QString path = QDir(dir).filePath(name);
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        if (!QFile::remove(path)) {
            *error = QStringLiteral("cannot replace the old link %1").arg(path);
            return false;
        }
    } else if (existing.exists()) {
        *error = QStringLiteral("%1 exists and is not a link; not touching it").arg(path);
        return false;
    }
    if (!QFile::link(target, path)) {
        *error = QStringLiteral("cannot link %1 to %2").arg(path, target);
        return false;
    }
    m_path = path;
    m_target = target;
    return true;
}

void PortLink::remove()
{
    if (m_path.isEmpty())
        return;
    if (linkText(m_path) == m_target)
        QFile::remove(m_path);
    m_path.clear();
    m_target.clear();
}

} // namespace veltra
