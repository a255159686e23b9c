#pragma once

// What every fuzz target shares: FUZZ_CHECK, which stops the run on a
// broken property, and the ways fuzzed bytes become texts.
#include "bytetext.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace fuzz {

// What the target is looking at, shown when a check fails. Set it before
// the checks of each input; copies of QString are cheap (shared data).
inline QString &context()
{
    static QString text;
    return text;
}

inline void note(const QString &text)
{
    context() = text;
}

[[noreturn]] inline void checkFailed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: FUZZ_CHECK(%s) failed\n", file, line, condition);
    if (!context().isEmpty())
        std::fprintf(stderr, "  input: \"%s\"\n", veltra::escapedText(context()).toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

// Bytes as the serial link turns them into text: one character per byte.
inline QString latin1(const std::uint8_t *data, std::size_t size)
{
    return QString::fromLatin1(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

inline QString latin1(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

// Bytes as typed text: UTF-8, so any character can be reached.
inline QString utf8(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

// Field k (from 1) of a settings reply when it is a byte as a sensor writes
// it, right-aligned in three characters; worked out apart from the library
// so the targets can hold its reading against this one.
inline std::optional<int> byteField(const QString &reply, int field)
{
    static const QRegularExpression pattern(QStringLiteral("^(  [0-9]| [0-9]{2}|[0-9]{3})\\z"));
    const QString piece = reply.mid(3 * (field - 1), 3);
    if (!pattern.match(piece).hasMatch())
        return std::nullopt;
    const int value = piece.trimmed().toInt();
    return value <= 255 ? std::optional<int>(value) : std::nullopt;
}

} // namespace fuzz

// Aborts (so libFuzzer saves the input) when cond does not hold, naming it.
#define FUZZ_CHECK(cond) ((cond) ? static_cast<void>(0) : ::fuzz::checkFailed(#cond, __FILE__, __LINE__))
