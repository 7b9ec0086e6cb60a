#pragma once

// Histories the history and command tests build, and the spin generator
// worked out independently of SpinSource.
#include "history/SpinHistory.h"

#include <QList>
#include <QString>
#include <QStringList>

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
