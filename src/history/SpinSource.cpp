#include "history/SpinSource.h"

#include <chrono>

namespace trevolo {

int SpinSource::Draw() noexcept
{
    // quint32 arithmetic wraps modulo 2^32 by definition.
    m_state = m_state * Multiplier + Increment;
    return int((quint64(m_state) * quint64(WheelNumbers)) >> 32);
}

quint32 SeedFromClock() noexcept
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
    return quint32(quint64(std::chrono::duration_cast<std::chrono::nanoseconds>(ticks).count()));
}

} // namespace trevolo
