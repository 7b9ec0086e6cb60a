#include "analysis/WheelArcs.h"

#include "common/IntegerText.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <random>

namespace trevolo {

namespace {

// Where each number sits in WheelOrder.
const std::array<int, WheelSize> &wheelPlaces()
{
    static const std::array<int, WheelSize> places = [] {
        std::array<int, WheelSize> p{};
        for (int i = 0; i < WheelSize; ++i)
            p[size_t(WheelOrder[size_t(i)])] = i;
        return p;
    }();
    return places;
}

int wrap(int place)
{
    return ((place % WheelSize) + WheelSize) % WheelSize;
}

// The largest sum of 2 width + 1 neighbouring counts, round the wheel.
qint32 largestArc(const std::array<qint32, WheelSize> &counts, int width)
{
    qint32 sum = 0;
    for (int d = -width; d <= width; ++d)
        sum += counts[size_t(wrap(d))];
    qint32 largest = sum;
    for (int centre = 1; centre < WheelSize; ++centre) {
        sum += counts[size_t(wrap(centre + width))] - counts[size_t(wrap(centre - width - 1))];
        largest = std::max(largest, sum);
    }
    return largest;
}

quint64 splitMix(quint64 x)
{
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

// Up to this many spins a history is drawn spin by spin; beyond, its counts
// are drawn as a multinomial, one binomial per pocket but the last, whatever
// the number of spins.
constexpr qint32 SpinBySpinLimit = 1500;

void drawCounts(std::mt19937_64 &engine, qint32 spins, std::array<qint32, WheelSize> &counts)
{
    counts.fill(0);
    if (spins <= SpinBySpinLimit) {
        for (qint32 i = 0; i < spins; ++i)
            ++counts[size_t(((engine() >> 32) * WheelSize) >> 32)];
        return;
    }
    qint32 left = spins;
    for (int pocket = 0; pocket < WheelSize - 1 && left > 0; ++pocket) {
        std::binomial_distribution<qint32> draw(left, 1.0 / (WheelSize - pocket));
        counts[size_t(pocket)] = draw(engine);
        left -= counts[size_t(pocket)];
    }
    counts[WheelSize - 1] += left;
}

// The error to one significant digit, as a percentage.
QString errorText(double chance)
{
    const double percent = chance * 100;
    const double step = std::pow(10.0, std::floor(std::log10(percent)));
    const double rounded = std::round(percent / step) * step;
    const int decimals = std::max(0, -int(std::floor(std::log10(rounded))));
    return FormatDecimal(rounded, decimals) + QStringLiteral(" %");
}

} // namespace

NumberSet ArcMembers(int centre, int width)
{
    const int place = wheelPlaces()[size_t(centre)];
    NumberSet members = 0;
    for (int d = -width; d <= width; ++d)
        members |= NumberSet(1) << WheelOrder[size_t(wrap(place + d))];
    return members;
}

std::array<qint32, WheelSize> ArcHits(const std::array<qint32, WheelSize> &occurrence, int width)
{
    std::array<qint32, WheelSize> hits{};
    for (int n = 0; n < WheelSize; ++n)
        for (NumberSet bits = ArcMembers(n, width); bits != 0; bits &= bits - 1)
            hits[size_t(n)] += occurrence[size_t(std::countr_zero(bits))];
    return hits;
}

HotArc HottestArc(const std::array<qint32, WheelSize> &occurrence, int width)
{
    HotArc arc;
    arc.width = width;
    for (const qint32 count : occurrence)
        arc.spins += count;
    if (arc.spins == 0)
        return arc;
    const std::array<qint32, WheelSize> hits = ArcHits(occurrence, width);
    arc.centre = WheelOrder[0];
    for (const int n : WheelOrder)
        if (hits[size_t(n)] > hits[size_t(arc.centre)])
            arc.centre = n;
    arc.hits = hits[size_t(arc.centre)];
    const double share = double(std::popcount(ArcMembers(arc.centre, width))) / WheelSize;
    arc.expected = arc.spins * share;
    arc.chance = BinomialUpperTail(arc.spins, share, arc.hits);
    return arc;
}

QString HotArcText(const HotArc &arc)
{
    if (arc.centre < 0)
        return NoFigure();
    return QStringLiteral("%1 ±%2: %3 (ожидается %4)")
        .arg(IntToStr(arc.centre), IntToStr(arc.width), IntToStr(arc.hits),
             FormatDecimal(arc.expected, 1));
}

std::optional<ArcSimulation> SimulateLargestArc(qint32 spins, int width,
                                                const std::atomic_bool *stop, qint32 histories)
{
    ArcSimulation simulation;
    simulation.spins = spins;
    simulation.width = width;
    simulation.largest.reserve(size_t(std::max(histories, 0)));
    std::mt19937_64 engine(splitMix(quint64(std::max(spins, 0)) << 8 | quint64(width & 0xff)));
    std::array<qint32, WheelSize> counts{};
    for (qint32 h = 0; h < histories; ++h) {
        if (stop && h % 256 == 0 && stop->load(std::memory_order_relaxed))
            return std::nullopt;
        drawCounts(engine, spins, counts);
        simulation.largest.push_back(largestArc(counts, width));
    }
    std::sort(simulation.largest.begin(), simulation.largest.end());
    return simulation;
}

SimulatedChance LargestArcChance(const ArcSimulation &simulation, qint32 hits)
{
    const auto &largest = simulation.largest;
    SimulatedChance chance = SimulatedShare(
        qint32(largest.end() - std::lower_bound(largest.begin(), largest.end(), hits)),
        qint32(largest.size()));
    // The 37 arcs hold 2 width + 1 times every spin between them, so the
    // largest holds at least the mean.
    const qint64 pockets = std::popcount(ArcMembers(0, simulation.width));
    if (qint64(hits) * WheelSize <= qint64(simulation.spins) * pockets) {
        chance.estimate = 1;
        chance.error = 0;
    }
    return chance;
}

SimulatedChance SimulatedShare(qint32 reached, qint32 histories)
{
    SimulatedChance chance;
    chance.histories = histories;
    chance.reached = reached;
    if (histories == 0)
        return chance;
    const double h = histories;
    chance.estimate = reached / h;
    const double adjusted = (reached + 2) / (h + 4);
    chance.error = 1.96 * std::sqrt(adjusted * (1 - adjusted) / (h + 4));
    return chance;
}

QString FormatSimulatedChance(const SimulatedChance &chance)
{
    if (std::isnan(chance.estimate))
        return NoFigure();
    QString text = chance.estimate > 0 ? FormatChance(chance.estimate) : QStringLiteral("0 %");
    // "> 99 %" holds whatever the error.
    if (chance.error > 0 && chance.estimate < ChanceShownAsCertain)
        text += QStringLiteral(" ± ") + errorText(chance.error);
    return text;
}

ArcSimulator::ArcSimulator(QObject *parent) : SimulationRunner(parent) {}

void ArcSimulator::Request(qint32 spins, int width)
{
    m_wanted = {spins, width};
    Ask();
}

const ArcSimulation *ArcSimulator::Result(qint32 spins, int width) const
{
    if (m_result && m_result->spins == spins && m_result->width == width)
        return &*m_result;
    return nullptr;
}

SimulationRunner::Run ArcSimulator::StartWanted()
{
    m_running = m_wanted;
    return [inputs = m_running](const std::atomic_bool &stop) -> std::any {
        if (auto simulation = SimulateLargestArc(inputs.first, inputs.second, &stop))
            return std::move(*simulation);
        return {};
    };
}

void ArcSimulator::Keep(std::any output)
{
    m_result = std::any_cast<ArcSimulation>(std::move(output));
}

} // namespace trevolo
