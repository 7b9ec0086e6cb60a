#pragma once

#include <QtGlobal>

namespace trevolo {

// The random spin source behind the generate commands: a 32-bit linear
// congruential generator with a single state word. One draw steps the state
// (state * 134775813 + 1, modulo 2^32) and scales it onto the wheel: the
// upper 32 bits of the 64-bit product state * 37, a number 0..36.
class SpinSource
{
public:
    static constexpr quint32 Multiplier = 134775813u;
    static constexpr quint32 Increment = 1u;
    static constexpr int WheelNumbers = 37;

    explicit SpinSource(quint32 seed) noexcept : m_state(seed) {}

    quint32 state() const noexcept { return m_state; }

    // Steps the state and returns the next spin, 0..36.
    int Draw() noexcept;

private:
    quint32 m_state;
};

// A seed taken from the clock at start-up: the low 32 bits of a monotonic
// high-resolution counter, so two runs draw different spins.
quint32 SeedFromClock() noexcept;

} // namespace trevolo
