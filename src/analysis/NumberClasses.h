#pragma once

#include <QtGlobal>
#include <array>

namespace trevolo {

// The twelve combinations of the wheel, by group number 1..12: 1-6 are the
// 18/37 combinations, 7-12 the 12/37 ones.
enum Combination : int
{
    Red = 1,
    Black,
    Even,
    Odd,
    Low,
    High,
    Dozen1,
    Dozen2,
    Dozen3,
    Column1,
    Column2,
    Column3,
};
constexpr int CombinationCount = 12;
constexpr int FirstTwelveOf37 = Dozen1;

// Membership tests defined for every 32-bit value. All twelve answer true for
// zero, although zero belongs to none of the sets; "mod" keeps the sign of n.
bool IsRed(qint32 n) noexcept;
bool IsBlack(qint32 n) noexcept;
bool IsEven(qint32 n) noexcept;
bool IsOdd(qint32 n) noexcept;
bool IsLow(qint32 n) noexcept;
bool IsHigh(qint32 n) noexcept;
bool InDozen1(qint32 n) noexcept;
bool InDozen2(qint32 n) noexcept;
bool InDozen3(qint32 n) noexcept;
bool InColumn1(qint32 n) noexcept;
bool InColumn2(qint32 n) noexcept;
bool InColumn3(qint32 n) noexcept;

// The five nearest-number slots; an empty slot holds -1.
using NearestSlots = std::array<qint32, 5>;

// True when n equals none of the five slots.
bool IsNotChosen(qint32 n, const NearestSlots &slots) noexcept;

// The combinations that hold the wheel number n (0..36) as a bit set, bit g
// for group g. Zero holds none.
quint16 CombinationsOf(int n) noexcept;

} // namespace trevolo
