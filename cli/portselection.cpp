#include "portselection.h"

#include "portmap.h"

#include <algorithm>

namespace veltra {

namespace {

constexpr int kHighestPort = 32767;

// A whole number from 1 to 32767, written without sign, blanks or a
// leading zero; 0 for anything else.
int portNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 5 || text.front() == u'0'
        || !std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return 0;
    const int n = text.toInt();
    return n <= kHighestPort ? n : 0;
}

} // namespace

bool isPortArgument(const QString &text)
{
    const auto port = PortId::fromText(text);
    if (port && !port->path.isEmpty())
        return true;
    return portNumber(text) > 0;
}

std::optional<PortSelection> parsePortSelection(const QString &text, QString *error)
{
    const auto refuse = [error, &text](const QString &why) {
        *error = QStringLiteral("--port must be a port number from 1 to 32767, a device path, a list such as "
                                "1,3,5-8, or all; \"%1\" %2.")
                     .arg(text, why);
        return std::nullopt;
    };
    PortSelection selection;
    if (text.trimmed() == u"all") {
        selection.all = true;
        return selection;
    }
    // A device path may hold a comma only as a list separator: a single
    // absolute path is taken whole.
    const QStringList items = text.startsWith(u'/') && !text.contains(u',') ? QStringList{text} : text.split(u',');
    for (const QString &raw : items) {
        const QString item = raw.trimmed();
        if (item.isEmpty())
            return refuse(QStringLiteral("has an empty item"));
        if (item == u"all")
            return refuse(QStringLiteral("mixes all with other ports"));
        const qsizetype dash = item.indexOf(u'-');
        if (!item.startsWith(u'/') && dash > 0) {
            const int first = portNumber(item.left(dash));
            const int last = portNumber(item.mid(dash + 1));
            if (first == 0 || last == 0)
                return refuse(QStringLiteral("has a range that is not two port numbers (\"%1\")").arg(item));
            if (last < first)
                return refuse(QStringLiteral("has a range that runs backwards (\"%1\")").arg(item));
            if (last - first >= kMostPorts)
                return refuse(QStringLiteral("names more than %1 ports").arg(kMostPorts));
            for (int n = first; n <= last; ++n) {
                if (!selection.ports.contains(QString::number(n)))
                    selection.ports << QString::number(n);
            }
        } else if (isPortArgument(item)) {
            if (!selection.ports.contains(item))
                selection.ports << item;
        } else if (items.size() == 1) {
            *error = QStringLiteral("--port must be a port number from 1 to 32767 or a device path (or a list such "
                                    "as 1,3,5-8, or all), not \"%1\".")
                         .arg(text);
            return std::nullopt;
        } else {
            return refuse(QStringLiteral("has \"%1\", which is neither").arg(item));
        }
        if (selection.ports.size() > kMostPorts)
            return refuse(QStringLiteral("names more than %1 ports").arg(kMostPorts));
    }
    return selection;
}

} // namespace veltra
