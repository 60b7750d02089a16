#pragma once

#include <QByteArray>

// Logger memory contents and meter answers for the tests, written out byte by byte.
namespace images {

inline QByteArray marker()
{
    return QByteArray::fromHex("0055AA00");
}

// One record: resistance count, voltage count, status byte.
inline QByteArray record(int ohm, int volt, int status)
{
    QByteArray r;
    r.append(char(ohm >> 8)).append(char(ohm & 0xFF)).append(char(volt >> 8)).append(char(volt & 0xFF));
    r.append(char(status));
    return r;
}

// A header unit and `records` records in the ranges of `status`.
inline QByteArray block(int interval, int status, int records, int firstOhm = 1234)
{
    QByteArray b = marker();
    b.append(char(interval));
    for (int i = 0; i < records; ++i)
        b += record(firstOhm + i, 3700 - i, status);
    return b;
}

// The answer to "U": a byte, the end address 0x4300 + content, the content, a closing byte.
inline QByteArray answer(const QByteArray &memory)
{
    const int P = 17152 + int(memory.size());
    QByteArray a;
    a.append(char(0)).append(char(P >> 8)).append(char(P & 0xFF));
    a += memory;
    a.append(char(0x03));
    return a;
}

inline QByteArray manyBlocks(int count)
{
    QByteArray memory;
    for (int b = 0; b < count; ++b)
        memory += block(1 + b % 60, b % 8, 1);
    return memory;
}

} // namespace images
