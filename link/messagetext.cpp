#include "messagetext.h"

#include <QHash>
#include <QMutex>

namespace veltra {

namespace {

// Messages are few and an operator sees the latest; the table is emptied
// when it grows past this, so a long run never holds more.
constexpr qsizetype kRemembered = 512;

QMutex &originsMutex()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, MessageOrigin> &origins()
{
    static QHash<QString, MessageOrigin> table;
    return table;
}

} // namespace

QString fillPlaceholders(const QString &text, const QStringList &args)
{
    QString filled;
    filled.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'%' && i + 1 < text.size()) {
            const int n = text.at(i + 1).digitValue();
            if (n >= 1 && n <= args.size()) {
                filled += args.at(n - 1);
                ++i;
                continue;
            }
        }
        filled += c;
    }
    return filled;
}

QString messageText(const char *source, const QStringList &args)
{
    const QString english = fillPlaceholders(QString::fromUtf8(source), args);
    if (!args.isEmpty()) {
        const QMutexLocker lock(&originsMutex());
        if (origins().size() >= kRemembered)
            origins().clear();
        origins().insert(english, MessageOrigin{source, args});
    }
    return english;
}

std::optional<MessageOrigin> messageOrigin(const QString &text)
{
    const QMutexLocker lock(&originsMutex());
    const auto found = origins().constFind(text);
    if (found == origins().cend())
        return std::nullopt;
    return *found;
}

} // namespace veltra
