#include "system/SystemTester.h"

#include "common/IntegerText.h"

#include <boost/math/distributions/normal.hpp>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>
#include <random>

namespace trevolo {

namespace {

constexpr qint64 MoneyMax = std::numeric_limits<qint32>::max();

// The stakes of one series, or nothing when the cost leaves the signed
// 32-bit range. Needs the stake fields valid on their own.
std::optional<SeriesPlan> stakesOf(const SystemInputs &in)
{
    SeriesPlan plan;
    plan.members = GroupMembers(in.group);
    const int size = std::popcount(plan.members);
    plan.payout = (WheelSize - 1) / size - 1;
    plan.chance = double(size) / WheelSize;
    qint64 stake = in.minStake;
    for (int k = 0; k < in.steps; ++k) {
        if (in.tableLimit > 0 && stake > in.tableLimit)
            break;
        plan.stakes[k] = stake;
        plan.winNet[k] = plan.payout * stake - plan.cost;
        plan.cost += stake;
        ++plan.bets;
        if (plan.cost > MoneyMax)
            return std::nullopt;
        stake *= in.multiplier; // both factors below 2^31
    }
    return plan;
}

} // namespace

// A check that joins several fields is made only when none of them is
// refused on its own.
SystemFields InvalidSystemFields(const SystemInputs &in)
{
    using F = SystemField;
    SystemFields bad;
    if (in.group < 0 || in.group >= CombinationCount)
        bad |= F::Group;
    if (in.trigger < 0 || in.trigger > SystemMaxTrigger)
        bad |= F::Trigger;
    if (in.minStake < 1)
        bad |= F::MinStake;
    if (in.multiplier < 1)
        bad |= F::Multiplier;
    if (in.steps < 1 || in.steps > SystemMaxSteps)
        bad |= F::Steps;
    if (in.tableLimit < 0)
        bad |= F::TableLimit;
    if (in.bankroll < 0)
        bad |= F::Bankroll;
    const SystemFields stakeFields = F::MinStake | F::Multiplier | F::Steps | F::TableLimit;
    if (!(bad & (F::MinStake | F::TableLimit)) && in.tableLimit > 0 && in.minStake > in.tableLimit)
        bad |= F::MinStake | F::TableLimit;
    if (!(bad & (stakeFields | F::Group)) && !stakesOf(in))
        bad |= F::MinStake | F::Multiplier | F::Steps;
    if (!(bad & (F::Bankroll | F::Target)) && in.target <= in.bankroll)
        bad |= F::Target;
    return bad;
}

namespace {

// A seed drawn from the spins themselves, eight at a time.
quint64 seedOf(std::span<const quint8> spins)
{
    const auto mix = [](quint64 x) {
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    };
    quint64 h = 0x9E3779B97F4A7C15ull ^ spins.size();
    std::size_t i = 0;
    for (; i + 8 <= spins.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, spins.data() + i, 8);
        h = std::rotl(h ^ word, 29) * 0x9E3779B97F4A7C15ull;
    }
    for (; i < spins.size(); ++i)
        h = std::rotl(h ^ spins[i], 29) * 0x9E3779B97F4A7C15ull;
    return mix(h);
}

// Keeps the running result for the chart: all of it, or per stretch of
// spins its lowest and highest point.
class ChartThinner
{
public:
    ChartThinner(std::vector<ResultPoint> &points, qint64 spins) : m_points(points)
    {
        m_all = spins + 1 <= ChartMaxPoints;
        m_stretches = ChartMaxPoints / 2 - 1;
        m_spins = spins;
        m_points.reserve(ChartMaxPoints);
        m_points.push_back({0, 0});
        if (!m_all)
            Begin(0);
    }

    void Add(qint32 spin, qint64 result)
    {
        if (m_all) {
            m_points.push_back({spin, result});
            return;
        }
        if (spin >= m_end) {
            Flush();
            Begin(m_stretch + 1);
        }
        if (result < m_low.result)
            m_low = {spin, result};
        if (result > m_high.result)
            m_high = {spin, result};
    }

    void Finish(qint64 lastResult)
    {
        if (m_all)
            return;
        Flush();
        if (m_points.back().spin != m_spins)
            m_points.push_back({qint32(m_spins), lastResult});
    }

private:
    // Stretch s holds the spins [1 + s * spins / stretches, 1 + (s + 1) * spins / stretches).
    void Begin(qint64 stretch)
    {
        m_stretch = stretch;
        m_end = 1 + (stretch + 1) * m_spins / m_stretches;
        m_low = {0, std::numeric_limits<qint64>::max()};
        m_high = {0, std::numeric_limits<qint64>::min()};
    }
    void Flush()
    {
        if (m_low.result > m_high.result)
            return; // an empty stretch
        const ResultPoint first = m_low.spin <= m_high.spin ? m_low : m_high;
        const ResultPoint second = m_low.spin <= m_high.spin ? m_high : m_low;
        m_points.push_back(first);
        if (second.spin != first.spin)
            m_points.push_back(second);
    }

    std::vector<ResultPoint> &m_points;
    bool m_all;
    qint64 m_stretches, m_spins, m_stretch = 0, m_end = 0;
    ResultPoint m_low, m_high;
};

// Series by how they end: [k] won at bet k + 1, [bets] lost.
using Outcomes = std::array<qint64, SystemMaxSteps + 1>;

// How `count` draws from a bag that holds from[k] of each outcome fall,
// the draws put back: a multinomial, drawn as a chain of binomials.
Outcomes drawFrom(const Outcomes &from, int outcomes, qint64 count, std::mt19937_64 &random)
{
    Outcomes drawn{};
    qint64 unseen = std::accumulate(from.begin(), from.begin() + outcomes, qint64(0));
    for (int k = 0; k < outcomes && count > 0; ++k) {
        if (from[k] == 0)
            continue;
        drawn[k] = count;
        if (from[k] < unseen) {
            std::binomial_distribution<qint64> share(count, double(from[k]) / double(unseen));
            drawn[k] = share(random);
        }
        count -= drawn[k];
        unseen -= from[k];
    }
    return drawn;
}

// The random-entry figures: `count` series started at spins drawn at random
// among those whose series ends within the history (`entries` holds how the
// series started at each of them end), and the bootstrap of their mean.
void randomEntries(SystemReplay &replay, const SeriesPlan &plan, quint64 seed,
                   const Outcomes &entries, qint64 count)
{
    const int outcomes = plan.bets + 1;
    if (count <= 0 || std::all_of(entries.begin(), entries.end(), [](qint64 e) { return e == 0; }))
        return;
    std::array<double, SystemMaxSteps + 1> net{};
    for (int k = 0; k < plan.bets; ++k)
        net[k] = double(plan.winNet[k]);
    net[plan.bets] = -double(plan.cost);
    const auto mean = [&](const Outcomes &series) {
        double sum = 0;
        for (int k = 0; k < outcomes; ++k)
            sum += double(series[k]) * net[k];
        return sum / double(count);
    };

    // Drawing the entry spins one by one and looking up how each series ends
    // gives these counts with the same chances.
    std::mt19937_64 random(seed);
    const Outcomes sample = drawFrom(entries, outcomes, count, random);
    replay.randomSeries = count;
    replay.randomMean = mean(sample);

    std::vector<double> means(BootstrapResamples);
    for (double &m : means)
        m = mean(drawFrom(sample, outcomes, count, random));
    const auto tail = std::ptrdiff_t(BootstrapResamples / 40); // 2.5 % on each side
    std::nth_element(means.begin(), means.begin() + tail, means.end());
    replay.randomLow = means[tail];
    std::nth_element(means.begin(), means.end() - 1 - tail, means.end());
    replay.randomHigh = means[means.size() - 1 - tail];
}

} // namespace

SystemInputCheck ReadSystemInputs(int group, const SystemInputTexts &texts)
{
    SystemInputCheck check;
    check.inputs.group = group;
    const auto read = [](const QString &text) { return TryStrToInt(text).value_or(-1); };
    check.inputs.trigger = read(texts.trigger);
    check.inputs.minStake = read(texts.minStake);
    check.inputs.multiplier = read(texts.multiplier);
    check.inputs.steps = read(texts.steps);
    check.inputs.tableLimit = read(texts.tableLimit);
    check.inputs.bankroll = read(texts.bankroll);
    check.inputs.target = read(texts.target);
    check.invalid = InvalidSystemFields(check.inputs);
    return check;
}

SystemInputs DefaultSystemInputs(qint32 minStake, qint32 multiplier)
{
    SystemInputs in;
    in.minStake = minStake;
    in.multiplier = multiplier;
    if (minStake < 1 || multiplier < 1)
        return in;
    if (const auto plan = stakesOf(in)) {
        in.bankroll = qint32(plan->cost);
        const qint64 target = plan->cost + 20 * qint64(minStake);
        in.target = target <= MoneyMax ? qint32(target) : 0;
    }
    return in;
}

std::optional<SeriesPlan> PlanSeries(const SystemInputs &inputs)
{
    if (InvalidSystemFields(inputs))
        return std::nullopt;
    return stakesOf(inputs);
}

std::pair<double, double> WilsonInterval(qint64 successes, qint64 trials)
{
    static const double z = boost::math::quantile(boost::math::normal(), 0.975);
    const double n = double(trials), share = double(successes) / n, z2 = z * z;
    const double centre = (share + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z / (1 + z2 / n) * std::sqrt(share * (1 - share) / n + z2 / (4 * n * n));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

std::optional<SystemReplay> ReplaySystem(std::span<const quint8> lineCodes,
                                         const SystemInputs &inputs)
{
    const auto planned = PlanSeries(inputs);
    if (!planned)
        return std::nullopt;
    const SeriesPlan &plan = *planned;

    // The spins alone, without the lines that hold none.
    std::vector<quint8> spins(lineCodes.size());
    std::size_t count = 0;
    for (const quint8 code : lineCodes) {
        spins[count] = code;
        count += code < WheelSize;
    }
    spins.resize(count);

    SystemReplay r;
    r.spins = qint64(count);
    r.fairChance = plan.chance;
    ChartThinner chart(r.chart, r.spins);
    std::array<quint8, 256> wins{};
    for (int n = 0; n < WheelSize; ++n)
        wins[n] = plan.members >> n & 1u;
    const qint64 win = plan.payout;
    const int bets = plan.bets;

    // The spins the group came up on. Nothing below branches on a hit, which
    // no predictor foresees, but where a bet is made.
    std::vector<qint32> hits(count + 1);
    std::size_t hitCount = 0;
    for (std::size_t t = 0; t < count; ++t) {
        hits[hitCount] = qint32(t);
        hitCount += wins[spins[t]];
    }
    // For the random entries: gaps[g], the hits that came g spins after the
    // one before (g >= bets counted at bets), and the entry spins at least
    // `bets` spins before the next hit.
    Outcomes gaps{};
    qint64 lostEntries = 0, lastHit = -1;
    for (std::size_t h = 0; h < hitCount; ++h) {
        const qint64 gap = hits[h] - lastHit;
        ++gaps[std::min<qint64>(gap, bets)];
        lostEntries += std::max<qint64>(0, gap - bets);
        lastHit = hits[h];
    }

    int bet = -1; // the bet of the open series, -1 between series
    qint64 result = 0, peak = 0, seriesStart = 0, finishedNet = 0, lostRun = 0;
    qint64 previousHit = -1;
    for (std::size_t t = 0; t < count; ++t) {
        const quint8 hit = wins[spins[t]];
        if (bet < 0 && qint64(t) - previousHit - 1 >= inputs.trigger) {
            bet = 0;
            ++r.series;
            seriesStart = result;
        }
        if (bet >= 0) {
            const qint64 stake = plan.stakes[bet];
            r.staked += stake;
            ++r.bets;
            r.betsWon += hit;
            result += hit ? win * stake : -stake;
            const bool lostAll = !hit && bet + 1 == bets;
            bet = hit || lostAll ? -1 : bet + 1;
            if (bet < 0) {
                r.seriesWon += hit;
                r.seriesLost += lostAll;
                lostRun = hit ? 0 : lostRun + 1;
                r.worstLostRun = std::max(r.worstLostRun, lostRun);
                finishedNet += result - seriesStart;
            }
            peak = std::max(peak, result);
            r.maxDrawdown = std::max(r.maxDrawdown, peak - result);
        }
        previousHit += (qint64(t) - previousHit) & -qint64(hit);
        chart.Add(qint32(t + 1), result);
    }
    chart.Finish(result);
    r.net = result;

    if (r.bets > 0) {
        r.hitRate = double(r.betsWon) / double(r.bets);
        std::tie(r.hitLow, r.hitHigh) = WilsonInterval(r.betsWon, r.bets);
    }
    const qint64 finished = r.seriesWon + r.seriesLost;
    if (finished > 0)
        r.seriesMean = double(finishedNet) / double(finished);
    // A series started d spins before a hit is won at bet d + 1 when d < bets
    // and lost otherwise; after the last hit only the spins with room for
    // all the bets count.
    Outcomes entries{};
    for (int k = bets - 1; k >= 0; --k)
        entries[k] = entries[k + 1] + gaps[k + 1];
    entries[bets] = lostEntries + std::max<qint64>(0, r.spins - bets - lastHit);
    randomEntries(r, plan, seedOf(spins), entries, finished);
    return r;
}

std::optional<SystemExact> ExactFigures(const SystemInputs &inputs)
{
    const auto plan = PlanSeries(inputs);
    if (!plan)
        return std::nullopt;
    SystemExact e;
    e.bets = plan->bets;
    e.seriesCost = plan->cost;
    e.fairChance = plan->chance;
    const double q = 1 - plan->chance;
    double reach = 1; // q^k: the chance that bet k + 1 is made
    double net = 0, staked = 0;
    for (int k = 0; k < plan->bets; ++k) {
        staked += reach * double(plan->stakes[k]);
        net += reach * plan->chance * double(plan->winNet[k]);
        reach *= q;
    }
    e.seriesLossChance = reach;
    e.expectedNet = net - reach * double(plan->cost);
    e.expectedStaked = staked;
    e.expectedLossPerUnit = -e.expectedNet / staked;
    return e;
}

QString SystemVerdict(double expectedNet)
{
    if (std::isnan(expectedNet))
        return NoFigure();
    return QStringLiteral("На честном колесе эта система в среднем теряет %1 на серию; ожидание "
                          "пропусков этого не меняет: каждый спин независим.")
        .arg(FormatDecimal(-expectedNet, 2));
}

} // namespace trevolo
