#include "linesettings.h"

namespace veltra {

std::optional<LineSettings> parseLineSettings(const QString &text)
{
    for (const BaudRow &row : kBaudTable) {
        if (text == QLatin1String(row.lineSettings))
            return LineSettings{row.rate, 'n', 8, 1};
    }
    return std::nullopt;
}

const BaudRow *baudRowForRate(int rate)
{
    for (const BaudRow &row : kBaudTable) {
        if (row.rate == rate)
            return &row;
    }
    return nullptr;
}

const BaudRow *baudRowForText(const QString &baudText)
{
    for (const BaudRow &row : kBaudTable) {
        if (baudText == QLatin1String(row.baudText))
            return &row;
    }
    return nullptr;
}

const BaudRow *baudRowForCode(int code)
{
    for (const BaudRow &row : kBaudTable) {
        if (QString::fromLatin1(row.code).trimmed().toInt() == code)
            return &row;
    }
    return nullptr;
}

} // namespace veltra
