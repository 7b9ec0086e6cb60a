#pragma once

// The ruin chance of a system on a fair wheel: starting from the bankroll,
// series are played until the bankroll reaches the target or can no longer
// place the first stake. A series whose next stake the bankroll cannot place
// ends there, lost as far as it went, and the next one starts at the first
// stake again. Ruin is a bankroll below the first stake, the target a
// bankroll at or above it. Solved exactly over the whole-money bankroll as
// an absorbing Markov chain.
#include "system/SystemTester.h"

#include <QObject>
#include <atomic>
#include <memory>
#include <thread>

namespace trevolo {

enum class RuinStatus
{
    Solved,
    Invalid,   // InvalidSystemFields is not empty
    TooLarge,  // beyond the work (about 10 s) or memory (512 MB) the solver allows itself
    Cancelled, // stopped by the caller
};

struct RuinFigure
{
    RuinStatus status = RuinStatus::Invalid;
    double chance = NoValue; // the ruin chance when Solved
    bool certain = false;    // the bankroll cannot place the first stake: 1
    qint64 states = 0;       // states of the chain that was solved (or refused)
};

// What a solve will cost, known at once.
struct RuinCost
{
    qint64 states = 0;  // after the reductions below
    double work = 0;    // multiply-adds of the direct solve, an upper bound
    bool quick = false; // a few milliseconds at most: fine on the window's thread
};
RuinCost EstimateRuin(const SystemInputs &inputs);

// The chain has a state for every bankroll from the first stake up to the
// target that the start can reach: the bankroll plus a multiple of the
// greatest common divisor of the series' outcomes. States so far below or
// above the start that the walk reaches them with a chance under e^-35 (the
// Lundberg bound of a walk with the house's negative drift) are taken as
// ruined or as having reached the target, which moves the figure by less
// than 2e-15. What is left is solved by banded elimination (cheap for short
// series or narrow bankrolls), or, where that would cost more, by monotone
// sweeps that close in on the answer from below and from above until the
// two agree within 1e-12 or to seven digits of the smaller of the ruin and
// the survival chance. Reentrant; may run on any thread; checks `cancel`
// (when given) between rows and sweeps.
enum class RuinMethod
{
    Automatic, // the cheapest, as above
    Direct,    // banded elimination only
    Sweeps,    // the sweeps only
};
RuinFigure SolveRuin(const SystemInputs &inputs, const std::atomic<bool> *cancel = nullptr,
                     RuinMethod method = RuinMethod::Automatic);

// Solves beside the event loop: a quick chain at once, any other on a thread
// of its own, and only the latest request is answered. Lives on the thread
// that created it and emits Solved there.
class RuinSolver : public QObject
{
    Q_OBJECT

public:
    explicit RuinSolver(QObject *parent = nullptr);
    // Stops a solve in progress and waits for its thread.
    ~RuinSolver() override;

    // Drops any earlier request. A quick chain (EstimateRuin) emits Solved
    // before this returns; any other emits it later from the event loop.
    void Solve(const SystemInputs &inputs);
    // Drops the request in progress; no Solved follows for it.
    void Cancel();
    // A request is being solved on the thread.
    bool Busy() const { return m_thread.joinable(); }

Q_SIGNALS:
    void Solved(trevolo::RuinFigure figure);

private:
    void Finished(quint64 request, const RuinFigure &figure);

    std::thread m_thread;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    quint64 m_request = 0;
};

} // namespace trevolo
