#pragma once

// Figures compared within a tolerance, both shown when they differ: QNEAR
// within `absolute` of the expected one, QCLOSE within `relative` of it.
// Two NaNs are near each other, a NaN and a number are not.
#include <QString>
#include <QTest>

#include <cmath>

inline bool Near(long double got, long double expected, long double absolute)
{
    if (std::isnan(got) || std::isnan(expected))
        return std::isnan(got) && std::isnan(expected);
    return std::fabs(got - expected) <= absolute;
}

#define QNEAR(got, expected, absolute)                                                             \
    QVERIFY2(Near((got), (expected), (absolute)),                                                  \
             qPrintable(QStringLiteral("%1 vs %2")                                                 \
                            .arg(double(got), 0, 'g', 15)                                          \
                            .arg(double(expected), 0, 'g', 15)))
#define QCLOSE(got, expected, relative)                                                            \
    QNEAR(got, expected, std::fabs((long double)(expected)) * (relative) + 1e-300L)
