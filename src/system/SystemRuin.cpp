#include "system/SystemRuin.h"

#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>
#include <system_error>

namespace trevolo {

namespace {

// Far states are cut where the walk reaches them with a chance below e^-35.
constexpr double CutExponent = 35;
// Work the window's thread may spend: a few milliseconds.
constexpr double QuickWork = 1e7;
// The direct solve is taken at once up to this much work; beyond it the
// sweeps are tried first with a quarter of the direct work as their budget.
constexpr double DirectFirstWork = 2e7;
constexpr double DirectMaxWork = 4e9;
constexpr double SweepMaxWork = 2e10;
constexpr double MaxBytes = 512.0 * 1024 * 1024;
// The sweeps stop when their bounds differ by at most the larger of these:
// far below what a figure shows, even next to a chance near 0 or 1.
constexpr double SweepTolerance = 1e-12;
constexpr double SweepRelativeTolerance = 1e-7;

struct Move
{
    qint64 jump; // in states
    double chance;
};

// An affine map x -> a + b x: one state's value given the next one's.
struct Affine
{
    double a = 0, b = 1;
};
// (f o g)(x) = f(g(x)).
Affine compose(Affine f, Affine g)
{
    return {f.a + f.b * g.a, f.b * g.b};
}

// The chain: states 0 .. size - 1 (bankrolls from the lowest kept one up in
// steps of the common divisor); a move below state 0 is ruin, one to size or
// above reaches the target. A bankroll that cannot pay the whole series plays
// it as far as it can: sets[j - 1] holds the moves of a series that stops
// after j bets, taken from state reach[j - 1] on (the lowest bankroll that
// pays those j stakes); sets.back() is the whole series.
struct Chain
{
    bool certain = false; // the bankroll cannot place the first stake
    qint64 size = 0, start = 0;
    qint64 lower = 0, upper = 0;         // the longest moves down and up that stay inside
    std::vector<std::vector<Move>> sets; // distinct jumps, ascending
    std::vector<qint64> reach;

    const std::vector<Move> &moves() const { return sets.back(); }
    // The first state that pays a whole series.
    qint64 whole() const { return reach.back(); }
    const std::vector<Move> &movesAt(qint64 state) const
    {
        std::size_t j = sets.size() - 1;
        while (j > 0 && state < reach[j])
            --j;
        return sets[j];
    }

    double directWork() const
    {
        return double(size) * double(std::max<qint64>(lower, 1)) *
               double(std::max<qint64>(upper, 1));
    }
    double directBytes() const { return double(size) * double(upper + 5) * sizeof(double); }
    // Only wins of one state and one move down: the window of states a loss
    // falls back over can then be carried along at a constant cost per state.
    bool singleStep() const
    {
        return upper == 1 && std::count_if(moves().begin(), moves().end(),
                                           [](const Move &m) { return m.jump < 0; }) == 1;
    }
    double work() const
    {
        return singleStep() ? 25.0 * double(size) : directWork(); // as a state costs
    }
};

// A lower bound of the exponent theta > 0 with E[e^(theta X)] = 1 for one
// series' move X: the walk, whose mean move is negative, ever climbs h
// states with a chance of at most e^(-theta h).
double lundbergExponent(const std::vector<Move> &moves)
{
    const auto psi = [&moves](double theta) { // log E[e^(theta X)], kept from overflowing
        double peak = -std::numeric_limits<double>::infinity();
        for (const Move &m : moves)
            peak = std::max(peak, std::log(m.chance) + theta * double(m.jump));
        double sum = 0;
        for (const Move &m : moves)
            sum += std::exp(std::log(m.chance) + theta * double(m.jump) - peak);
        return peak + std::log(sum);
    };
    double high = 1.0 / double(std::max<qint64>(1, moves.back().jump));
    for (int i = 0; i < 200 && psi(high) <= 0; ++i)
        high *= 2;
    double low = 0; // psi(low) <= 0 throughout: low never passes the root
    for (int i = 0; i < 60; ++i) {
        const double middle = (low + high) / 2;
        (psi(middle) <= 0 ? low : high) = middle;
    }
    return low;
}

// The greatest integer not above a / b, b > 0.
qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - (a % b != 0 && a < 0);
}

std::optional<Chain> chainOf(const SystemInputs &inputs)
{
    const auto plan = PlanSeries(inputs);
    if (!plan)
        return std::nullopt;
    Chain chain;
    const qint64 first = plan->stakes[0], bankroll = inputs.bankroll, target = inputs.target;
    if (bankroll < first) {
        chain.certain = true;
        return chain;
    }
    // The outcomes in money of a series cut after j bets, and the common
    // divisor of them all.
    const double q = 1 - plan->chance;
    std::vector<qint64> paid(plan->bets); // paid[j - 1]: the first j stakes
    qint64 unit = 0, sum = 0;
    for (int k = 0; k < plan->bets; ++k) {
        sum += plan->stakes[k];
        paid[k] = sum;
        unit = std::gcd(unit, std::gcd(sum, plan->winNet[k]));
    }
    for (int j = 1; j <= plan->bets; ++j) {
        std::vector<Move> money;
        double reach = 1;
        for (int k = 0; k < j; ++k) {
            money.push_back({plan->winNet[k] / unit, reach * plan->chance});
            reach *= q;
        }
        money.push_back({-paid[j - 1] / unit, reach});
        std::sort(money.begin(), money.end(),
                  [](const Move &x, const Move &y) { return x.jump < y.jump; });
        std::vector<Move> moves;
        for (const Move &m : money) {
            if (!moves.empty() && moves.back().jump == m.jump)
                moves.back().chance += m.chance;
            else
                moves.push_back(m);
        }
        chain.sets.push_back(std::move(moves));
    }

    // Bankroll + k * unit for k from the lowest that places the first stake
    // to the highest below the target. The cut holds for every kind of
    // series: the walk climbs no faster than the slowest of them allows.
    const qint64 below = (bankroll - first) / unit, above = (target - bankroll + unit - 1) / unit;
    qint64 low = 0, last = below + above; // the start is state `below`
    double exponent = std::numeric_limits<double>::infinity();
    for (const auto &moves : chain.sets)
        exponent = std::min(exponent, lundbergExponent(moves));
    const double cut = std::ceil(CutExponent / exponent);
    if (cut < double(below))
        low = below - qint64(cut);
    if (cut < double(above))
        last = below + qint64(cut);
    chain.size = last - low;
    chain.start = below - low;
    // State i holds bankroll + (i - start) * unit.
    for (const qint64 cost : paid)
        chain.reach.push_back(chain.start - floorDiv(bankroll - cost, unit));
    for (const auto &moves : chain.sets)
        for (const Move &m : moves) {
            if (m.jump < 0 && -m.jump < chain.size)
                chain.lower = std::max(chain.lower, -m.jump);
            if (m.jump > 0 && m.jump < chain.size)
                chain.upper = std::max(chain.upper, m.jump);
        }
    return chain;
}

bool stopped(const std::atomic<bool> *cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

// row[0 .. n) += g * add[0 .. n), n a multiple of 4: in blocks the compiler
// turns into vector instructions.
void addScaled(double *__restrict row, const double *__restrict add, double g, qint64 n)
{
    for (qint64 k = 0; k < n; k += 4)
        for (int j = 0; j < 4; ++j)
            row[k + j] += g * add[k + j];
}

// Row by row from the lowest state, each state's value is written as
// alpha + beta . (the values of the `upper` states above it); then the
// values come back down from the top to the start. Rows of beta are padded
// to a multiple of 4 with zeros.
std::optional<double> solveDirect(const Chain &c, const std::atomic<bool> *cancel)
{
    const qint64 size = c.size, lower = c.lower, upper = c.upper;
    const qint64 stride = (upper + 3) / 4 * 4;
    std::vector<double> alpha(size), beta(size * stride), row(lower + 1 + stride);
    for (qint64 i = 0; i < size; ++i) {
        if (stopped(cancel))
            return std::nullopt;
        const qint64 base = i - lower; // the state of row[0]
        double rhs = 0;
        row[lower] = 1;
        for (const Move &m : c.movesAt(i)) {
            const qint64 to = i + m.jump;
            if (to < 0)
                rhs += m.chance;
            else if (to < size)
                row[to - base] -= m.chance;
        }
        for (qint64 state = std::max<qint64>(0, base); state < i; ++state) {
            const double g = row[state - base];
            if (g == 0)
                continue;
            row[state - base] = 0;
            rhs -= g * alpha[state];
            addScaled(&row[state - base + 1], &beta[state * stride], g, stride);
        }
        const double pivot = row[lower];
        alpha[i] = rhs / pivot;
        double *b = &beta[i * stride];
        for (qint64 k = 0; k < upper; ++k)
            b[k] = -row[lower + 1 + k] / pivot;
        std::fill(row.begin() + lower, row.end(), 0.0);
    }
    std::vector<double> value(size + stride, 0.0);
    for (qint64 i = size - 1; i >= c.start; --i) {
        double v = alpha[i];
        for (qint64 k = 0; k < upper; ++k)
            v += beta[i * stride + k] * value[i + 1 + k];
        value[i] = v;
    }
    return value[c.start];
}

// The direct solve when a win moves one state up and a loss `lower` states
// down: each state's value is an affine map of the next one's, and the value
// `lower` states down is the composition of the maps in between, kept for a
// sliding window by two stacks (the older part composed from the back, the
// newer part from the front), so each state costs a constant.
std::optional<double> solveSingleStep(const Chain &c, const std::atomic<bool> *cancel)
{
    const qint64 size = c.size;
    // Per kind of series: the chances of a win, of no move, of the loss, and
    // how far the loss falls.
    struct Kind
    {
        double up = 0, stay = 0, down = 0;
        qint64 fall = 0;
    };
    std::vector<Kind> kinds;
    for (const auto &moves : c.sets) {
        Kind kind;
        for (const Move &m : moves) {
            if (m.jump == 1)
                kind.up += m.chance;
            else if (m.jump == 0)
                kind.stay += m.chance;
            else if (m.jump < 0) {
                kind.down += m.chance;
                kind.fall = -m.jump;
            }
            // A longer win passes the top state: the target.
        }
        kinds.push_back(kind);
    }
    std::vector<Affine> maps(size), older(size);
    Affine newer;       // maps[split] o ... o maps[i - 1]
    qint64 split = 0;   // older[s] = maps[s] o ... o maps[split - 1]
    qint64 window = -1; // the fall the stacks were built for
    std::size_t kind = 0;
    for (qint64 i = 0; i < size; ++i) {
        if ((i & 0xFFF) == 0 && stopped(cancel))
            return std::nullopt;
        while (kind + 1 < kinds.size() && i >= c.reach[kind + 1])
            ++kind;
        const auto [up, stay, down, fall] = kinds[kind];
        double rhs = 0, pivot = 1 - stay;
        if (i < fall) {
            rhs = down; // the fall leaves the chain: ruin
        } else {
            if (i - fall >= split || fall != window) {
                older[i - 1] = maps[i - 1];
                for (qint64 s = i - 2; s >= i - fall; --s)
                    older[s] = compose(maps[s], older[s + 1]);
                split = i;
                window = fall;
                newer = Affine();
            }
            const Affine composed = compose(older[i - fall], newer);
            rhs = down * composed.a;
            pivot -= down * composed.b;
        }
        maps[i] = {rhs / pivot, up / pivot};
        newer = compose(newer, maps[i]);
    }
    double value = 0; // above the top: the target
    for (qint64 i = size - 1; i >= c.start; --i)
        value = maps[i].a + maps[i].b * value;
    return value;
}

// Gauss-Seidel sweeps from the top state down, one from all ruined and one
// from none: the two close in on the answer monotonically from either side,
// a lost series' worth of the walk per sweep. Stops when they agree to the
// tolerance or the budget is spent.
std::optional<double> solveBySweeps(const Chain &c, double budget, const std::atomic<bool> *cancel)
{
    const qint64 size = c.size;
    // Per kind of series its moves that go somewhere, and the chance of none.
    std::vector<std::vector<Move>> kinds;
    std::vector<double> stays;
    for (const auto &set : c.sets) {
        double stay = 0;
        std::vector<Move> moves;
        for (const Move &m : set) {
            if (m.jump == 0)
                stay += m.chance;
            else
                moves.push_back(m);
        }
        kinds.push_back(std::move(moves));
        stays.push_back(stay);
    }
    const std::vector<Move> &moves = kinds.back();
    const double stay = stays.back();
    // Both bounds of a state side by side, read together.
    struct Bounds
    {
        double low = 0, high = 1;
    };
    std::vector<Bounds> v(size);
    // States that pay a whole series and from which every move stays inside
    // need no range checks.
    const qint64 insideFrom = std::max(-c.moves().front().jump, c.whole()),
                 insideTo = size - c.moves().back().jump;
    const double sweepWork = 2.0 * double(size) * double(moves.size());
    for (double spent = 0; spent < budget; spent += sweepWork) {
        for (qint64 i = size - 1; i >= 0; --i) {
            double low = 0, high = 0;
            if (i >= insideFrom && i < insideTo) {
                for (const Move &m : moves) {
                    low += m.chance * v[i + m.jump].low;
                    high += m.chance * v[i + m.jump].high;
                }
                v[i] = {low / (1 - stay), high / (1 - stay)};
                continue;
            }
            std::size_t kind = kinds.size() - 1;
            while (kind > 0 && i < c.reach[kind])
                --kind;
            for (const Move &m : kinds[kind]) {
                const qint64 to = i + m.jump;
                if (to < 0) {
                    low += m.chance;
                    high += m.chance;
                } else if (to < size) {
                    low += m.chance * v[to].low;
                    high += m.chance * v[to].high;
                }
            }
            v[i] = {low / (1 - stays[kind]), high / (1 - stays[kind])};
        }
        const auto [low, high] = v[c.start];
        const double middle = (low + high) / 2;
        if (high - low <=
            std::max(SweepTolerance, SweepRelativeTolerance * std::min(middle, 1 - middle)))
            return middle;
        if (stopped(cancel))
            return std::nullopt;
    }
    return std::nullopt;
}

RuinFigure solve(const SystemInputs &inputs, const std::atomic<bool> *cancel, RuinMethod method)
{
    RuinFigure figure;
    const auto chain = chainOf(inputs);
    if (!chain)
        return figure;
    figure.states = chain->size;
    figure.status = RuinStatus::Solved;
    if (chain->certain) {
        figure.chance = 1;
        figure.certain = true;
        return figure;
    }
    // Memory is judged before it is taken: an allocation the system grants
    // in name only would fail later, when its pages are first written.
    std::optional<double> chance;
    const double size = double(chain->size);
    const bool directFits =
        chain->directWork() <= DirectMaxWork && chain->directBytes() <= MaxBytes;
    const bool sweepsFit = 2 * size * sizeof(double) <= MaxBytes;
    if (method == RuinMethod::Direct) {
        if (directFits)
            chance = solveDirect(*chain, cancel);
    } else if (method == RuinMethod::Sweeps) {
        if (sweepsFit)
            chance = solveBySweeps(*chain, SweepMaxWork, cancel);
    } else if (chain->singleStep()) {
        if (2 * size * sizeof(Affine) <= MaxBytes)
            chance = solveSingleStep(*chain, cancel);
    } else if (chain->directWork() <= DirectFirstWork) {
        chance = solveDirect(*chain, cancel);
    } else {
        if (sweepsFit)
            chance =
                solveBySweeps(*chain, directFits ? chain->directWork() / 4 : SweepMaxWork, cancel);
        if (!chance && directFits && !stopped(cancel))
            chance = solveDirect(*chain, cancel);
    }
    if (chance)
        figure.chance = std::clamp(*chance, 0.0, 1.0);
    else
        figure.status = stopped(cancel) ? RuinStatus::Cancelled : RuinStatus::TooLarge;
    return figure;
}

} // namespace

RuinCost EstimateRuin(const SystemInputs &inputs)
{
    RuinCost cost;
    if (const auto chain = chainOf(inputs)) {
        cost.states = chain->size;
        cost.work = chain->work();
        cost.quick = cost.work <= QuickWork;
    }
    return cost;
}

RuinFigure SolveRuin(const SystemInputs &inputs, const std::atomic<bool> *cancel, RuinMethod method)
{
    try {
        return solve(inputs, cancel, method);
    } catch (const std::bad_alloc &) {
        RuinFigure figure;
        figure.status = RuinStatus::TooLarge;
        figure.states = EstimateRuin(inputs).states;
        return figure;
    }
}

RuinSolver::RuinSolver(QObject *parent) : QObject(parent) {}

RuinSolver::~RuinSolver()
{
    Cancel();
}

void RuinSolver::Cancel()
{
    ++m_request;
    if (m_thread.joinable()) {
        m_cancel->store(true);
        m_thread.join();
    }
}

void RuinSolver::Solve(const SystemInputs &inputs)
{
    Cancel();
    const quint64 request = m_request;
    if (!EstimateRuin(inputs).quick) {
        auto cancel = std::make_shared<std::atomic<bool>>(false);
        try {
            m_thread = std::thread([this, inputs, cancel, request] {
                const RuinFigure figure = SolveRuin(inputs, cancel.get());
                // Posted before the destructor's join returns, so `this` is alive;
                // a deleted receiver's posted calls are dropped.
                QMetaObject::invokeMethod(
                    this, [this, request, figure] { Finished(request, figure); },
                    Qt::QueuedConnection);
            });
            m_cancel = std::move(cancel);
            return;
        } catch (const std::system_error &) {
            // No thread to be had: solve here after all.
        }
    }
    Q_EMIT Solved(SolveRuin(inputs));
}

void RuinSolver::Finished(quint64 request, const RuinFigure &figure)
{
    if (request != m_request)
        return;
    if (m_thread.joinable())
        m_thread.join();
    Q_EMIT Solved(figure);
}

} // namespace trevolo
