#include "system/SystemTester.h"

#include "common/IntegerText.h"

#include <boost/math/distributions/normal.hpp>

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>

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

// Keeps the bankroll for the chart: all of it, or per stretch of spins its
// lowest and highest point.
class ChartThinner
{
public:
    ChartThinner(std::vector<ResultPoint> &points, qint64 spins, qint64 bank) : m_points(points)
    {
        m_all = spins + 1 <= ChartMaxPoints;
        m_stretches = ChartMaxPoints / 2 - 1;
        m_spins = spins;
        m_points.reserve(ChartMaxPoints);
        m_points.push_back({0, bank});
        if (!m_all)
            Begin(0);
    }

    void Add(qint32 spin, qint64 bank)
    {
        if (m_all) {
            m_points.push_back({spin, bank});
            return;
        }
        if (spin >= m_end) {
            Flush();
            Begin(m_stretch + 1);
        }
        if (bank < m_low.bank)
            m_low = {spin, bank};
        if (bank > m_high.bank)
            m_high = {spin, bank};
    }

    void Finish(qint64 lastBank)
    {
        if (m_all)
            return;
        Flush();
        if (m_points.back().spin != m_spins)
            m_points.push_back({qint32(m_spins), lastBank});
    }

    // A session's end, kept when it is the first of its kind in its stretch.
    void Mark(std::vector<ResultPoint> &marks, ResultPoint point) const
    {
        const auto stretch = [this](qint64 spin) { return spin * m_stretches / (m_spins + 1); };
        if (m_all || marks.empty() || stretch(marks.back().spin) != stretch(point.spin))
            marks.push_back(point);
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
        if (m_low.bank > m_high.bank)
            return; // an empty stretch
        const ResultPoint first = m_low.spin <= m_high.spin ? m_low : m_high;
        const ResultPoint second = m_low.spin <= m_high.spin ? m_high : m_low;
        m_points.push_back(first);
        if (second.spin != first.spin || second.bank != first.bank)
            m_points.push_back(second);
    }

    std::vector<ResultPoint> &m_points;
    bool m_all;
    qint64 m_stretches, m_spins, m_stretch = 0, m_end = 0;
    ResultPoint m_low, m_high;
};

// Series by how they end: [k] won at bet k + 1, [bets] lost.
using Outcomes = std::array<qint64, SystemMaxSteps + 1>;

// One series' outcomes as points of the lattice their sums live on: money
// = lowest + unit * x, x >= 0, with their chances.
struct Lattice
{
    std::vector<qint64> x;
    std::vector<double> chance;
    qint64 lowest = 0, unit = 0;
};
Lattice latticeOf(const SeriesPlan &plan)
{
    Lattice l;
    const double q = 1 - plan.chance;
    double reach = 1;
    std::vector<qint64> money;
    for (int k = 0; k < plan.bets; ++k) {
        money.push_back(plan.winNet[k]);
        l.chance.push_back(reach * plan.chance);
        reach *= q;
    }
    money.push_back(-plan.cost);
    l.chance.push_back(reach);
    l.lowest = *std::min_element(money.begin(), money.end());
    for (const qint64 m : money)
        l.unit = std::gcd(l.unit, m - l.lowest);
    // Outcomes of the same money are one point.
    std::vector<double> chances;
    chances.swap(l.chance);
    for (std::size_t k = 0; k < money.size(); ++k) {
        const qint64 x = (money[k] - l.lowest) / l.unit;
        const auto same = std::find(l.x.begin(), l.x.end(), x);
        if (same != l.x.end()) {
            l.chance[std::size_t(same - l.x.begin())] += chances[k];
        } else {
            l.x.push_back(x);
            l.chance.push_back(chances[k]);
        }
    }
    return l;
}

// The exact convolution is taken up to this many multiply-adds.
constexpr double ExactSumWork = 2e6;

// P(S >= s) for the sum S of m draws, worked out over every sum.
double exactUpperTail(const Lattice &l, qint64 m, qint64 s)
{
    const auto [lowest, highest] = std::minmax_element(l.x.begin(), l.x.end());
    const qint64 span = *highest - *lowest;
    std::vector<double> sum(std::size_t(m * span + 1)), next(sum.size());
    sum[0] = 1; // sums counted from m * lowest
    for (qint64 t = 0; t < m; ++t) {
        const std::size_t size = std::size_t(t * span + 1);
        std::fill(next.begin(), next.begin() + std::ptrdiff_t(size + std::size_t(span)), 0.0);
        for (std::size_t k = 0; k < l.x.size(); ++k) {
            const std::size_t shift = std::size_t(l.x[k] - *lowest);
            const double c = l.chance[k];
            for (std::size_t i = 0; i < size; ++i)
                next[i + shift] += c * sum[i];
        }
        sum.swap(next);
    }
    double tail = 0;
    for (qint64 i = std::max<qint64>(0, s - m * *lowest); i <= m * span; ++i)
        tail += sum[std::size_t(i)];
    return std::min(tail, 1.0);
}

// P(S >= s) by the saddle-point approximation with the second continuity
// correction for a lattice of step 1 (Daniels 1987).
double saddlePointUpperTail(const Lattice &l, qint64 m, qint64 s)
{
    const auto [lowest, highest] = std::minmax_element(l.x.begin(), l.x.end());
    if (s > m * *highest)
        return 0;
    if (s == m * *highest) // every draw the highest
        return std::pow(l.chance[std::size_t(highest - l.x.begin())], double(m));
    if (s <= m * *lowest)
        return 1;
    // The cumulant generating function of one draw and its first two
    // derivatives at t, kept from overflowing.
    struct Cumulants
    {
        double k0, k1, k2;
    };
    const auto cumulants = [&l](double t) {
        double peak = -std::numeric_limits<double>::infinity();
        for (std::size_t k = 0; k < l.x.size(); ++k)
            peak = std::max(peak, std::log(l.chance[k]) + t * double(l.x[k]));
        double z = 0, z1 = 0, z2 = 0;
        for (std::size_t k = 0; k < l.x.size(); ++k) {
            const double w = std::exp(std::log(l.chance[k]) + t * double(l.x[k]) - peak);
            z += w;
            z1 += w * double(l.x[k]);
            z2 += w * double(l.x[k]) * double(l.x[k]);
        }
        const double mean = z1 / z;
        return Cumulants{peak + std::log(z), mean, z2 / z - mean * mean};
    };
    const double target = (double(s) - 0.5) / double(m); // per draw
    double low = -1, high = 1;
    while (cumulants(low).k1 > target)
        low *= 2;
    while (cumulants(high).k1 < target)
        high *= 2;
    for (int i = 0; i < 200 && high - low > 1e-15 * std::max(1.0, std::fabs(high)); ++i) {
        const double middle = (low + high) / 2;
        (cumulants(middle).k1 < target ? low : high) = middle;
    }
    const double t = (low + high) / 2;
    const Cumulants c = cumulants(t);
    const double md = double(m);
    const boost::math::normal normal;
    const double variance = md * c.k2;
    if (std::fabs(t) < 1e-8) {
        const Cumulants at0 = cumulants(0);
        return boost::math::cdf(boost::math::complement(normal, (double(s) - 0.5 - md * at0.k1) /
                                                                    std::sqrt(md * at0.k2)));
    }
    const double w = std::copysign(std::sqrt(std::max(0.0, 2 * md * (t * target - c.k0))), t);
    const double u = 2 * std::sinh(t / 2) * std::sqrt(variance);
    const double tail = boost::math::cdf(boost::math::complement(normal, w)) +
                        boost::math::pdf(normal, w) * (1 / u - 1 / w);
    return std::clamp(tail, 0.0, 1.0);
}

} // namespace

double FairMeanTail(const SeriesPlan &plan, qint64 m, double mean, bool upper)
{
    if (m <= 0 || plan.bets <= 0 || std::isnan(mean))
        return NoValue;
    Lattice l = latticeOf(plan);
    // The sums of whole series lie on the lattice; a mean between its
    // points is taken to the next one inward.
    const double scaled = (mean - double(l.lowest)) * double(m) / double(l.unit);
    qint64 s = qint64(std::ceil(scaled - 1e-9));
    if (!upper) { // P(S <= s) = P(-S >= -s)
        for (qint64 &x : l.x)
            x = -x;
        s = -qint64(std::floor(scaled + 1e-9));
    }
    const auto [lowest, highest] = std::minmax_element(l.x.begin(), l.x.end());
    const double span = double(*highest - *lowest);
    const double work = double(l.x.size()) * span * double(m) * double(m) / 2;
    return work <= ExactSumWork ? exactUpperTail(l, m, s) : saddlePointUpperTail(l, m, s);
}

namespace {

// The largest value of `field` in 1 .. 2^31 - 1 whose series stays within the
// signed 32-bit range, the other inputs as they are (the steps up to
// SystemMaxSteps); 0 when none does.
qint32 largestThatFits(SystemInputs in, qint32 SystemInputs::*field, qint32 highest)
{
    qint64 low = 0, high = highest; // low fits (or is 0), high + 1 does not
    while (low < high) {
        const qint64 middle = (low + high + 1) / 2;
        in.*field = qint32(middle);
        if (stakesOf(in))
            low = middle;
        else
            high = middle - 1;
    }
    return qint32(low);
}

} // namespace

QString SystemFieldReason(const SystemInputs &in, SystemField field)
{
    using F = SystemField;
    const SystemFields bad = InvalidSystemFields(in);
    if (!bad.testFlag(field))
        return QString();
    const bool overLimit = in.minStake >= 1 && in.tableLimit > 0 && in.minStake > in.tableLimit;
    const bool outgrown = !overLimit && !(bad & (F::Group | F::TableLimit)) && in.minStake >= 1 &&
                          in.multiplier >= 1 && in.steps >= 1 && in.steps <= SystemMaxSteps &&
                          !stakesOf(in);
    const auto upTo = [&](qint32 SystemInputs::*value, qint32 highest) {
        const qint32 largest = largestThatFits(in, value, highest);
        return largest > 0 ? QStringLiteral(" до %1").arg(largest) : QString();
    };
    switch (field) {
    case F::Group:
        return QStringLiteral("Ставка на: одна из двенадцати комбинаций");
    case F::Trigger:
        return QStringLiteral("Начать после пропусков подряд: целое число от 0 до %1")
            .arg(SystemMaxTrigger);
    case F::MinStake:
        return QStringLiteral("Первая ставка: целое число от 1") +
               (overLimit  ? QStringLiteral(", не больше предела стола")
                : outgrown ? upTo(&SystemInputs::minStake, qint32(MoneyMax))
                           : QString());
    case F::Multiplier:
        return QStringLiteral("Умножение: целое число от 1") +
               (outgrown ? upTo(&SystemInputs::multiplier, qint32(MoneyMax)) : QString());
    case F::Steps:
        return QStringLiteral("Ставок в серии: целое число от 1 до %1")
            .arg(outgrown ? largestThatFits(in, &SystemInputs::steps, SystemMaxSteps)
                          : SystemMaxSteps);
    case F::TableLimit:
        return overLimit ? QStringLiteral("Предел стола: не меньше первой ставки или 0")
                         : QStringLiteral("Предел стола: целое число от 0 (0 — без предела)");
    case F::Bankroll:
        return QStringLiteral("Начальный банк: целое число от 0");
    case F::Target:
        return QStringLiteral("Остановиться при банке: целое число больше начального банка");
    }
    return QString();
}

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
    ChartThinner chart(r.chart, r.spins, inputs.bankroll);
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

    // Sessions: `bank` is the bankroll of the one open. A bankroll short of
    // the first stake places nothing.
    const qint64 first = plan.stakes[0], bankroll = inputs.bankroll, target = inputs.target;
    const bool plays = bankroll >= first;
    int bet = -1; // the bet of the open series, -1 between series
    qint64 bank = bankroll, peak = bankroll, seriesStart = 0, wholeNet = 0, lostRun = 0;
    qint64 previousHit = -1;
    for (std::size_t t = 0; t < count; ++t) {
        const quint8 hit = wins[spins[t]];
        if (plays && !r.sessionOpen) {
            r.sessionOpen = true;
            ++r.sessions;
            bank = peak = bankroll;
            if (t > 0)
                chart.Add(qint32(t), bank);
        }
        if (plays && bet < 0 && qint64(t) - previousHit - 1 >= inputs.trigger) {
            bet = 0;
            ++r.series;
            seriesStart = bank;
        }
        if (bet >= 0) {
            const qint64 stake = plan.stakes[bet];
            r.staked += stake;
            ++r.bets;
            r.betsWon += hit;
            bank += hit ? win * stake : -stake;
            const bool lostAll = !hit && bet + 1 == bets;
            const bool cut = !hit && !lostAll && bank < plan.stakes[bet + 1];
            bet = hit || lostAll || cut ? -1 : bet + 1;
            if (bet < 0) {
                r.seriesWon += hit;
                r.seriesLost += !hit;
                r.seriesCut += cut;
                lostRun = hit ? 0 : lostRun + 1;
                r.worstLostRun = std::max(r.worstLostRun, lostRun);
                if (!cut) {
                    ++r.wholeSeries;
                    wholeNet += bank - seriesStart;
                }
            }
            peak = std::max(peak, bank);
            r.maxDrawdown = std::max(r.maxDrawdown, peak - bank);
            // Only a won bet reaches the target, only an ended series ruins.
            const bool reached = bank >= target, ruined = bank < first;
            if (reached || ruined) {
                r.sessionOpen = false;
                r.net += bank - bankroll;
                (reached ? r.sessionsTarget : r.sessionsRuined) += 1;
                chart.Mark(reached ? r.targets : r.ruins, {qint32(t + 1), bank});
            }
        }
        previousHit += (qint64(t) - previousHit) & -qint64(hit);
        chart.Add(qint32(t + 1), bank);
    }
    chart.Finish(bank);
    if (r.sessionOpen)
        r.net += bank - bankroll;

    if (r.bets > 0) {
        r.hitRate = double(r.betsWon) / double(r.bets);
        std::tie(r.hitLow, r.hitHigh) = WilsonInterval(r.betsWon, r.bets);
    }
    // A series started d spins before a hit is won at bet d + 1 when d < bets
    // and lost otherwise; after the last hit only the spins with room for
    // all the bets count.
    Outcomes entries{};
    for (int k = bets - 1; k >= 0; --k)
        entries[k] = entries[k + 1] + gaps[k + 1];
    entries[bets] = lostEntries + std::max<qint64>(0, r.spins - bets - lastHit);
    double entryNet = 0;
    for (int k = 0; k <= bets; ++k) {
        r.randomSeries += entries[k];
        entryNet += double(entries[k]) * double(k < bets ? plan.winNet[k] : -plan.cost);
    }
    if (r.randomSeries > 0)
        r.randomMean = entryNet / double(r.randomSeries);
    if (r.wholeSeries > 0) {
        const qint64 m = r.wholeSeries;
        r.seriesMean = double(wholeNet) / double(m);
        const SystemExact exact = *ExactFigures(inputs);
        r.seriesMeanAbove = r.seriesMean >= exact.expectedNet;
        r.seriesMeanChance = FairMeanTail(plan, m, r.seriesMean, r.seriesMeanAbove);
        r.noWholeLossChance = std::pow(1 - exact.seriesLossChance, double(m));
    }
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
