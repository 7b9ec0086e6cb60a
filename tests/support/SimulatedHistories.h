#pragma once

// Seeded random histories for the tests that check a chance by simulation.
#include <QRandomGenerator>

#include <array>
#include <vector>

// Of `histories` histories (0 with chance `zero`, the others evenly), how
// many had found(counts, n, spin) true after a spin up to n, for each n:
// asked after every spin if `everySpin`, else after the last, a fresh copy
// per history, up to its first yes.
template <class Found>
std::vector<int> SimulatedFirsts(quint32 seed, int histories, qint64 spins, const Found &found,
                                 bool everySpin = false, double zero = 1.0 / 37)
{
    QRandomGenerator random(seed);
    std::vector<int> reached(size_t(spins + 1));
    for (int h = 0; h < histories; ++h) {
        std::array<qint64, 37> counts{};
        Found ask = found;
        for (qint64 n = 1; n <= spins; ++n) {
            const int spin = random.generateDouble() < zero ? 0 : 1 + int(random.bounded(36));
            if (++counts[size_t(spin)] && (everySpin || n == spins) && ask(counts, n, spin)) {
                ++reached[size_t(n)];
                break;
            }
        }
    }
    for (size_t n = 1; n < reached.size(); ++n)
        reached[n] += reached[n - 1];
    return reached;
}
