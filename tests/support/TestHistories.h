#pragma once

// Histories the history and command tests build, and the spin generator
// worked out independently of SpinSource.
#include "history/SpinHistory.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>

// The generator recomputed with plain 64-bit arithmetic and explicit moduli:
// state := (state * 134775813 + 1) mod 2^32, spin := (state * 37) div 2^32.
struct ReferenceSource
{
    quint64 state;
    int draw()
    {
        state = (state * 134775813ull + 1ull) % 4294967296ull;
        return int((state * 37ull) / 4294967296ull);
    }
};

// The first `count` spins a source seeded with `seed` draws, as text.
inline QStringList ReferenceSpins(quint32 seed, int count)
{
    ReferenceSource source{seed};
    QStringList spins;
    for (int i = 0; i < count; ++i)
        spins.append(QString::number(source.draw()));
    return spins;
}

// The last `count` spins of a history, newest first.
inline QList<int> NewestSpins(const trevolo::SpinHistory &history, int count)
{
    const std::span<const quint8> last = history.LastSpins(count);
    return QList<int>(last.rbegin(), last.rend());
}

// A history of `count` lines counting 0..36 round from `first`, each line
// ending with a break.
inline QString Numbers(int count, int first = 0)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QString::number((first + i) % 37) + u'\n';
    return text;
}

// A history of one spin per line, without a final break.
inline QString Lines(std::initializer_list<int> spins)
{
    QStringList lines;
    for (const int spin : spins)
        lines << QString::number(spin);
    return lines.join(u'\n');
}

// 375 spins, 0..36 in order: each number ten times but 17, 25 times, and
// 3, never; one a line, without a final break.
inline QString CountsExample()
{
    QStringList lines;
    for (int n = 0; n < 37; ++n)
        for (int i = 0; i < (n == 17 ? 25 : n == 3 ? 0 : 10); ++i)
            lines << QString::number(n);
    return lines.join(u'\n');
}
