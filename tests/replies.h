#pragma once

// Settings replies as sensors send them: each value right-aligned in three
// characters, no separators.
#include <QByteArray>

#include <initializer_list>

inline QByteArray blockReply(std::initializer_list<int> fields)
{
    QByteArray reply;
    for (int v : fields)
        reply += QByteArray::number(v).rightJustified(3, ' ');
    return reply;
}

// A level block with the given baud code, model code and resolution code and
// ordinary values elsewhere.
inline QByteArray levelReply(int baudCode, int modelCode, int resolutionCode = 10)
{
    return blockReply({baudCode, 5, 0, 1, 15, 98, modelCode, 1, 44, 0, 250, 0, 50, 0, 90, 8, resolutionCode});
}
