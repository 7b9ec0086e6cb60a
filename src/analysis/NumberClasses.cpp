#include "analysis/NumberClasses.h"

#include <algorithm>

namespace trevolo {

namespace {

constexpr quint8 RedSet[18] = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};
constexpr quint8 BlackSet[18] = {2,  4,  6,  8,  10, 11, 13, 15, 17,
                                 20, 22, 24, 26, 28, 29, 31, 33, 35};

constexpr quint64 columnBits(int first)
{
    quint64 bits = 0;
    for (int n = first; n <= 36; n += 3)
        bits |= quint64(1) << n;
    return bits;
}
constexpr quint64 ColumnSets[3] = {columnBits(1), columnBits(2), columnBits(3)};

bool inTable(const quint8 (&table)[18], qint32 n) noexcept
{
    return std::find(std::begin(table), std::end(table), n) != std::end(table);
}

bool inColumn(int column, qint32 n) noexcept
{
    if (n == 0)
        return true;
    return n >= 0 && n <= 39 && (ColumnSets[column] >> n & 1u) != 0;
}

} // namespace

bool IsRed(qint32 n) noexcept
{
    return n == 0 || inTable(RedSet, n);
}
bool IsBlack(qint32 n) noexcept
{
    return n == 0 || inTable(BlackSet, n);
}
bool IsEven(qint32 n) noexcept
{
    return n % 2 == 0;
}
bool IsOdd(qint32 n) noexcept
{
    return n % 2 == 1 || n == 0;
}
bool IsLow(qint32 n) noexcept
{
    return n <= 18;
}
bool IsHigh(qint32 n) noexcept
{
    return n > 18 || n == 0;
}
bool InDozen1(qint32 n) noexcept
{
    return n <= 12;
}
bool InDozen2(qint32 n) noexcept
{
    return (n >= 13 && n <= 24) || n == 0;
}
bool InDozen3(qint32 n) noexcept
{
    return n >= 25 || n == 0;
}
bool InColumn1(qint32 n) noexcept
{
    return inColumn(0, n);
}
bool InColumn2(qint32 n) noexcept
{
    return inColumn(1, n);
}
bool InColumn3(qint32 n) noexcept
{
    return inColumn(2, n);
}

bool IsNotChosen(qint32 n, const NearestSlots &slots) noexcept
{
    bool result = true;
    for (const qint32 slot : slots)
        if (slot == n)
            result = false;
    return result;
}

quint16 CombinationsOf(int n) noexcept
{
    if (n <= 0 || n > 36)
        return 0;
    using Test = bool (*)(qint32) noexcept;
    static constexpr Test Tests[CombinationCount] = {IsRed,    IsBlack,   IsEven,    IsOdd,
                                                     IsLow,    IsHigh,    InDozen1,  InDozen2,
                                                     InDozen3, InColumn1, InColumn2, InColumn3};
    quint16 bits = 0;
    for (int g = 1; g <= CombinationCount; ++g)
        if (Tests[g - 1](n))
            bits |= quint16(1u << g);
    return bits;
}

} // namespace trevolo
