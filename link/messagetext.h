#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace veltra {

// The translation context of the messages every layer gives.
inline constexpr char kMessageContext[] = "Messages";

// A message in English from its template, marked for lupdate with
// QT_TRANSLATE_NOOP("Messages", ...), and its arguments (%1, %2, ...).
// Records, files and the command line keep the English; the windows show it
// in the operator's language, translated through the template it came from.
QString messageText(const char *source, const QStringList &args = {});

// `text` with %1..%9 replaced by `args` in one pass, so an argument holding
// "%1" stays as it is.
QString fillPlaceholders(const QString &text, const QStringList &args);

// The template and arguments a recent messageText() result was made from.
struct MessageOrigin {
    const char *source;
    QStringList args;
};
std::optional<MessageOrigin> messageOrigin(const QString &text);

} // namespace veltra
