#include "analysis/SpinHistoryModel.h"
#include "support/Near.h"
#include "system/SystemRuin.h"
#include "system/SystemTester.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <map>
#include <random>

using namespace trevolo;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(trevolo::SystemFields)
Q_DECLARE_METATYPE(trevolo::SystemInputs)

namespace {

constexpr int RedGroup = 0, Dozen1Group = 6;

SystemInputs system(int group, qint32 stake, qint32 multiplier, qint32 steps, qint32 limit = 0,
                    qint32 bankroll = 0, qint32 target = 1, qint32 trigger = 0)
{
    return {group, trigger, stake, multiplier, steps, limit, bankroll, target};
}

// Line codes: -1 an empty line, -2 a line of other text.
std::vector<quint8> lines(std::initializer_list<int> spins)
{
    std::vector<quint8> codes;
    for (const int s : spins)
        codes.push_back(s == -1   ? SpinHistoryModel::EmptyLine
                        : s == -2 ? SpinHistoryModel::OtherLine
                                  : quint8(s));
    return codes;
}

std::vector<quint8> randomSpins(int count, quint64 seed)
{
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int> spin(0, 36);
    std::vector<quint8> spins(count);
    for (quint8 &s : spins)
        s = quint8(spin(random));
    return spins;
}

// The replay's figures in the order: sessions, to the target, ruined, open;
// series, won, lost, cut; bets, won; net, staked, drawdown, worst lost run.
QList<qint64> figuresOf(const SystemReplay &r)
{
    return {r.sessions,  r.sessionsTarget, r.sessionsRuined, r.sessionOpen, r.series,
            r.seriesWon, r.seriesLost,     r.seriesCut,      r.bets,        r.betsWon,
            r.net,       r.staked,         r.maxDrawdown,    r.worstLostRun};
}

bool isRed(int n)
{
    return std::popcount(GroupMembers(RedGroup) >> n & 1u) == 1;
}

} // namespace

class TestSystemTester : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exactFigures_data();
    void exactFigures();
    void defaults();
    void invalidInputs_data();
    void invalidInputs();
    void handSessions_data();
    void handSessions();
    void againstPlainReplay();
    void meanTail_data();
    void meanTail();
    void meanTailExamples();
    void longHistory();
    void farBankrollsAgree();
    void ruinAgainstSimulation();
    void solverThread();
};

// Every system loses 1/37 of what it stakes. Even money, stakes 1, 2, 4,
// ... 128: a bankroll short of a whole series plays it as far as it can;
// ruin is a bankroll below the first stake. Rows without the series'
// figures (0 bets) or the ruin (NaN) hold the direct solution, a ruin
// between 1 % and 99 %, for the reference.
void TestSystemTester::exactFigures_data()
{
    QTest::addColumn<SystemInputs>("in");
    QTest::addColumn<int>("bets");
    QTest::addColumn<double>("lossChance");
    QTest::addColumn<double>("expectedNet");
    QTest::addColumn<double>("ruin");
    const double q8 = 0.00483520637311, net8 = -0.237812831515, none = NAN;
    const auto doubling = [](qint32 limit, qint32 bankroll, qint32 target) {
        return system(RedGroup, 1, 2, 8, limit, bankroll, target);
    };
    const auto row = [](const char *name, const SystemInputs &in, double ruin, int bets = 0,
                        double lossChance = NAN, double expectedNet = NAN) {
        QTest::newRow(name) << in << bets << lossChance << expectedNet << ruin;
    };
    row("8 steps, 254 to 354", doubling(0, 254, 354), 0.357683271886, 8, q8, net8);
    row("8 steps, 255 to 355", doubling(0, 255, 355), 0.356536855224, 8, q8, net8);
    row("8 steps, 250 to 300", doubling(0, 250, 300), 0.212244546293, 8, q8, net8);
    // 7 steps; (19/37)^7 and 1 - 128 (19/37)^7.
    row("limit 100, 255 to 355", doubling(100, 255, 355), 0.403466989070, 7, 0.00941592820026,
        -0.205238809633);
    row("no first stake", doubling(0, 0, 355), 1.0, 8, q8, net8);
    row("red flat", system(RedGroup, 3, 1, 5), 1.0);
    row("dozen x3 limit 500", system(Dozen1Group, 5, 3, 12, 500), 1.0);
    row("column x5 12 steps", system(11, 1, 5, 12), 1.0);
    row("doubling, limit 100, large bankroll", doubling(100, 5000, 5100), none);
    row("red x3, 6 steps", system(RedGroup, 1, 3, 6, 0, 2000, 2400), none);
    row("dozen x2, 5 steps, unit 5", system(Dozen1Group, 5, 2, 5, 0, 1000, 1500), none);
    row("red flat, 4 steps (moves down on a win)", system(RedGroup, 1, 1, 4, 0, 40, 60), none);
}

void TestSystemTester::exactFigures()
{
    QFETCH(SystemInputs, in);
    const auto exact = ExactFigures(in);
    QVERIFY(exact && exact->expectedNet < 0);
    QVERIFY(std::fabs(exact->expectedLossPerUnit - 1.0 / 37) < 1e-14);
    QFETCH(int, bets);
    QFETCH(double, lossChance);
    QFETCH(double, expectedNet);
    QFETCH(double, ruin);
    const bool known = !std::isnan(ruin);
    ruin = known ? ruin : SolveRuin(in, nullptr, RuinMethod::Direct).chance;
    QVERIFY(known || (ruin > 0.01 && ruin < 0.99));
    for (const RuinMethod method :
         {RuinMethod::Automatic, RuinMethod::Direct, RuinMethod::Sweeps}) {
        const RuinFigure figure = SolveRuin(in, nullptr, method);
        QCOMPARE(figure.status, RuinStatus::Solved);
        QCOMPARE(figure.certain, ruin == 1);
        // The sweeps stop at seven digits of the smaller chance; without a
        // known figure the automatic choice may be the sweeps.
        const bool sweeps =
            method == RuinMethod::Sweeps || (!known && method != RuinMethod::Direct);
        QNEAR(figure.chance, ruin, std::max(1e-12, sweeps ? 1e-7 * std::min(ruin, 1 - ruin) : 0));
    }
    if (bets == 0)
        return;
    QCOMPARE(exact->bets, bets);
    QVERIFY(std::fabs(exact->seriesLossChance - lossChance) < 1e-14);
    QVERIFY(std::fabs(exact->expectedNet - expectedNet) < 1e-12);
    if (bets == 8)
        QCOMPARE(
            SystemVerdict(exact->expectedNet),
            u"На честном колесе эта система в среднем теряет 0,24 на серию; ожидание пропусков "
            u"этого не меняет: каждый спин независим."_s);
    QCOMPARE(SystemVerdict(NoValue), u"—"_s);
}

// The window's starting values: one whole series, 20 first stakes more.
void TestSystemTester::defaults()
{
    const SystemInputs defaults = DefaultSystemInputs(5, 3);
    QVERIFY(defaults.bankroll == 16400 && defaults.target == 16500 &&
            !InvalidSystemFields(defaults));
    QVERIFY(DefaultSystemInputs(0, 3).bankroll == 0 && DefaultSystemInputs(1 << 30, 3).target == 0);
}

void TestSystemTester::invalidInputs_data()
{
    using F = SystemField;
    QTest::addColumn<int>("group");
    QTest::addColumn<QStringList>(
        "texts"); // trigger, stake, multiplier, steps, limit, bankroll, target
    QTest::addColumn<SystemFields>("invalid");
    const auto row = [](const char *name, int group, const QString &texts, SystemFields invalid) {
        QTest::newRow(name) << group << texts.split(u'|') << invalid;
    };
    row("defaults", 0, u"5|5|3|8|0|16400|16500"_s, {});
    row("group 12", 12, u"5|5|3|8|0|16400|16500"_s, F::Group);
    row("trigger 1000, hex stake", 0, u"1000|$5|3|8|0|16400|16500"_s, {});
    row("trigger -1", 0, u"-1|5|3|8|0|16400|16500"_s, F::Trigger);
    row("trigger 1001", 0, u"1001|5|3|8|0|16400|16500"_s, F::Trigger);
    row("stake 0", 0, u"5|0|3|8|0|16400|16500"_s, F::MinStake);
    row("stake text", 0, u"5|abc|3|8|4|16400|16500"_s, F::MinStake);
    row("multiplier 0", 0, u"5|5|0|8|0|16400|16500"_s, F::Multiplier);
    row("steps 0", 0, u"5|5|3|0|0|16400|16500"_s, F::Steps);
    row("steps 31", 0, u"5|5|3|31|0|16400|16500"_s, F::Steps);
    row("limit -1", 0, u"5|5|3|8|-1|16400|16500"_s, F::TableLimit);
    row("limit below stake", 0, u"5|5|3|8|4|16400|16500"_s, F::MinStake | F::TableLimit);
    row("stakes overflow", 0, u"5|1000|10|8|0|0|1"_s, F::MinStake | F::Multiplier | F::Steps);
    row("limit keeps them small", 0, u"5|1000|10|8|1000000|0|1"_s, {});
    row("cost 2^31 - 2", 0, u"5|2|2|30|0|0|1"_s, {});
    row("cost past 2^31", 0, u"5|3|2|30|0|0|1"_s, F::MinStake | F::Multiplier | F::Steps);
    row("bankroll -1", 0, u"5|5|3|8|0|-1|16500"_s, F::Bankroll);
    row("bankroll empty", 0, u"5|5|3|8|0||16500"_s, F::Bankroll);
    row("target = bankroll", 0, u"5|5|3|8|0|16400|16400"_s, F::Target);
    row("target text", 0, u"5|5|3|8|0|16400|1e5"_s, F::Target);
}

void TestSystemTester::invalidInputs()
{
    QFETCH(int, group);
    QFETCH(QStringList, texts);
    QFETCH(SystemFields, invalid);
    const SystemInputCheck check = ReadSystemInputs(
        group, {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6]});
    QCOMPARE(check.invalid, invalid);
    if (invalid) {
        QVERIFY(!ReplaySystem(lines({1, 2, 3}), check.inputs));
        QVERIFY(!ExactFigures(check.inputs));
        QCOMPARE(SolveRuin(check.inputs).status, RuinStatus::Invalid);
    }
}

// Figures as figuresOf gives them, red after two misses over 17 lines:
// 2 0 4 6 [1] 8 10 11 13 0 15 17 20 [3] 22 24 26 (reds in brackets).
void TestSystemTester::handSessions_data()
{
    QTest::addColumn<SystemInputs>("in");
    QTest::addColumn<QList<qint64>>("figures");
    QTest::addColumn<double>("seriesMean");
    // Stakes 1, 2, 4, bankroll 7, target 8: won at line 5 (target); from
    // line 6 lost whole at line 10 (0 left: ruin); from line 11 lost whole at
    // line 13 (ruin); from line 14 won at once (target); from line 15 a
    // series open at the end.
    QTest::newRow("target, ruin, ruin, target, open")
        << system(RedGroup, 1, 2, 3, 0, 7, 8, 2)
        << QList<qint64>{5, 2, 2, 1, 5, 2, 2, 0, 11, 2, -13, 23, 7, 2} << -3.0;
    // The same series with room enough: one session, never ended.
    QTest::newRow("neither") << system(RedGroup, 1, 2, 3, 0, 100, 200, 2)
                             << QList<qint64>{1, 0, 0, 1, 5, 2, 2, 0, 11, 2, -13, 23, 14, 2}
                             << -3.0;
    // A table limit of 2 leaves stakes 1, 2 (a series costs 3), bankroll 3,
    // target 5: lost whole at once (ruin); from line 5 won (4), lost whole
    // (1), then at line 10 one stake lost and the next unaffordable: cut,
    // ruin; from line 11 lost whole (ruin); from line 13 won (4), then open.
    QTest::newRow("table limit, a series cut by the bank")
        << system(RedGroup, 1, 2, 3, 2, 3, 5, 2)
        << QList<qint64>{4, 0, 3, 1, 7, 2, 4, 1, 11, 2, -9, 15, 4, 3} << -1.4;
}

void TestSystemTester::handSessions()
{
    QFETCH(SystemInputs, in);
    QFETCH(QList<qint64>, figures);
    QFETCH(double, seriesMean);
    const auto r = ReplaySystem(
        lines({2, 0, -2, 4, 6, 1, 8, -1, 10, 11, 13, 0, 15, 17, 20, 3, 22, 24, 26}), in);
    QVERIFY(r);
    QCOMPARE(r->spins, 17);
    QCOMPARE(figuresOf(*r), figures);
    QCOMPARE(r->seriesMean, seriesMean);
    QCOMPARE(r->fairChance, 18.0 / 37);
    QCOMPARE(r->hitRate, 2.0 / 11);
    // Wilson, z = 1.96: (2 + z^2/2 -+ z sqrt(2 * 9 / 11 + z^2 / 4)) / (11 + z^2).
    QVERIFY(std::fabs(r->hitLow - 0.0513677) < 1e-6 && std::fabs(r->hitHigh - 0.4769806) < 1e-6);
}

// Flat single bets on every spin: the running result is the reference, the
// chart a thinned copy that keeps its extremes.
void TestSystemTester::longHistory()
{
    const int count = 300'000;
    const auto spins = randomSpins(count, 7);
    // A bankroll no walk of 300,000 bets of 2 leaves.
    const auto r = ReplaySystem(spins, system(RedGroup, 2, 1, 1, 0, 1'000'000, 2'000'000));
    QVERIFY(r);
    std::vector<qint64> running{1'000'000};
    qint64 reds = 0, drawdown = 0, peak = running[0];
    for (const quint8 s : spins) {
        reds += isRed(s);
        running.push_back(running.back() + (isRed(s) ? 2 : -2));
        peak = std::max(peak, running.back());
        drawdown = std::max(drawdown, peak - running.back());
    }
    QCOMPARE(r->bets, count);
    QCOMPARE(r->betsWon, reds);
    QCOMPARE(r->net, running.back() - running[0]);
    QCOMPARE(r->maxDrawdown, drawdown);
    QVERIFY(r->chart.size() <= std::size_t(ChartMaxPoints));
    QCOMPARE(r->chart.back().spin, count);
    const auto [low, high] = std::minmax_element(running.begin(), running.end());
    bool lowKept = false, highKept = false;
    for (std::size_t i = 0; i < r->chart.size(); ++i) {
        QCOMPARE(r->chart[i].bank, running[r->chart[i].spin]);
        QVERIFY(i == 0 || r->chart[i].spin > r->chart[i - 1].spin);
        lowKept |= r->chart[i].bank == *low;
        highKept |= r->chart[i].bank == *high;
    }
    QVERIFY(lowKept && highKept);
    // A single bet entered at every spin: the system itself.
    QCOMPARE(r->randomSeries, count);
    QCOMPARE(r->randomMean, double(r->net) / count);
}

// A plain replay, spin by spin, written from the rules alone: the figures
// figuresOf reads, the chart, the sessions' ends and the entries' mean.
SystemReplay plainReplay(const std::vector<quint8> &spins, const SystemInputs &in)
{
    SystemReplay p;
    const auto plan = PlanSeries(in);
    const auto red = [&](int t) { return (plan->members >> spins[t] & 1u) != 0; };
    qint64 bank = in.bankroll, peak = bank, run = 0, lostRun = 0;
    int bet = -1;
    p.chart.push_back({0, bank});
    const int n = int(spins.size());
    for (int t = 0; t < n; ++t) {
        if (in.bankroll >= in.minStake && !p.sessionOpen) {
            p.sessionOpen = true;
            ++p.sessions;
            bank = peak = in.bankroll;
            if (t > 0)
                p.chart.push_back({t, bank});
        }
        if (p.sessionOpen && bet < 0 && run >= in.trigger) {
            bet = 0;
            ++p.series;
        }
        if (bet >= 0) {
            const qint64 stake = plan->stakes[bet];
            ++p.bets;
            p.staked += stake;
            bank -= stake;
            if (red(t)) {
                bank += stake * (plan->payout + 1);
                ++p.betsWon;
                ++p.seriesWon;
                lostRun = 0;
                bet = -1;
            } else if (++bet == plan->bets || bank < plan->stakes[bet]) {
                p.seriesCut += bet < plan->bets;
                ++p.seriesLost;
                p.worstLostRun = std::max(p.worstLostRun, ++lostRun);
                bet = -1;
            }
            peak = std::max(peak, bank);
            p.maxDrawdown = std::max(p.maxDrawdown, peak - bank);
            if (bank >= in.target || bank < in.minStake) {
                (bank >= in.target ? p.sessionsTarget : p.sessionsRuined) += 1;
                (bank >= in.target ? p.targets : p.ruins).push_back({t + 1, bank});
                p.net += bank - in.bankroll;
                p.sessionOpen = false;
            }
        }
        run = red(t) ? 0 : run + 1;
        p.chart.push_back({t + 1, bank});
    }
    p.net += p.sessionOpen ? bank - in.bankroll : 0;
    // Entered at every spin, the series played out in full.
    double sum = 0, entries = 0;
    for (int e = 0; e < n; ++e)
        for (int k = 0; k < plan->bets && e + k < n; ++k)
            if (red(e + k) || k + 1 == plan->bets) {
                sum += red(e + k) ? double(plan->winNet[k]) : -double(plan->cost);
                entries += 1;
                break;
            }
    p.randomMean = entries ? sum / entries : NoValue;
    return p;
}

void TestSystemTester::againstPlainReplay()
{
    std::mt19937_64 random(25);
    const auto draw = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int history = 0; history < 300; ++history) {
        const auto spins = randomSpins(draw(0, 1500), random());
        const int group = draw(0, 11), stake = draw(1, 3), steps = draw(1, 7);
        const int limit = draw(0, 1) ? 0 : stake * draw(1, 20);
        SystemInputs in = system(group, stake, draw(1, 3), steps, limit, 0, 1, draw(0, 6));
        const auto plan = PlanSeries(in);
        in.bankroll = qint32(draw(0, 3) * plan->cost / 2 + draw(0, 4) * stake);
        in.target = in.bankroll + stake * draw(1, 40);
        const auto r = ReplaySystem(spins, in);
        const SystemReplay plain = plainReplay(spins, in);
        QCOMPARE(figuresOf(*r), figuresOf(plain));
        const auto same = [](const std::vector<ResultPoint> &a, const std::vector<ResultPoint> &b) {
            return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](auto x, auto y) {
                return x.spin == y.spin && x.bank == y.bank && x.bank >= 0;
            });
        };
        if (spins.size() < std::size_t(ChartMaxPoints))
            QVERIFY(same(r->chart, plain.chart) && same(r->ruins, plain.ruins) &&
                    same(r->targets, plain.targets));
        QNEAR(r->randomMean, plain.randomMean, 1e-9);
    }
}

// Red doubling 1 .. 128: every whole series nets +1 or -255, so m series
// average at least x exactly when at most (m - m x) / 256 are lost whole:
// a binomial tail, summed here term by term in long double.
long double lossesAtMost(qint64 m, qint64 losses)
{
    const long double q = std::pow(19.0L / 37, 8);
    long double sum = 0, term = std::pow(1 - q, (long double)m); // k = 0
    for (qint64 k = 0; k <= losses; ++k) {
        sum += term;
        term *= (long double)(m - k) / (k + 1) * q / (1 - q);
    }
    return sum;
}

void TestSystemTester::meanTail_data()
{
    QTest::addColumn<qint64>("m");
    QTest::addColumn<qint64>("losses"); // the system's whole losses
    QTest::addColumn<double>("tolerance");
    QTest::newRow("16 series, none lost (exact sum)") << qint64(16) << qint64(0) << 1e-12;
    QTest::newRow("60 series, two lost (exact sum)") << qint64(60) << qint64(2) << 1e-12;
    QTest::newRow("1000 series, 3 lost (exact sum)") << qint64(1000) << qint64(3) << 1e-10;
    // Beyond the exact sum's budget: the saddle point, within 2 %.
    QTest::newRow("20000 series, 60 lost (saddle point)") << qint64(20000) << qint64(60) << 0.02;
    QTest::newRow("20000 series, 80 lost (saddle point)") << qint64(20000) << qint64(80) << 0.02;
    QTest::newRow("20000 series, 120 lost (saddle point)") << qint64(20000) << qint64(120) << 0.02;
}

void TestSystemTester::meanTail()
{
    QFETCH(qint64, m);
    QFETCH(qint64, losses);
    QFETCH(double, tolerance);
    const auto plan = PlanSeries(system(RedGroup, 1, 2, 8, 0, 255, 355));
    const double mean = double(m - 256 * losses) / double(m);
    // At most as many losses: at least this mean; at least as many: at most.
    QCLOSE(FairMeanTail(*plan, m, mean, true), lossesAtMost(m, losses), tolerance);
    QCLOSE(FairMeanTail(*plan, m, mean, false), 1 - lossesAtMost(m, losses - 1), tolerance);
}

// Every sequence of four series of a dozen, 5 x 3 in 5 steps (nets 10, 25,
// 70, 205, 610 or -605), enumerated: the chance of each mean or more, or less.
// Then 1,000 spins of Python's random.Random(0) (randrange(37)); red, 1 x 2
// in 8 steps after 5 misses, bankroll 255, target 355. Entered at every spin
// the series are worth what the spins give, not the +1 the system saw.
void TestSystemTester::meanTailExamples()
{
    const auto plan = PlanSeries(system(Dozen1Group, 5, 3, 5));
    std::map<qint64, long double> sums{{0, 1}};
    for (int series = 0; series < 4; ++series) {
        std::map<qint64, long double> next;
        for (const auto &[sum, chance] : sums)
            for (int k = 0; k <= plan->bets; ++k)
                next[sum + (k < plan->bets ? plan->winNet[k] : -plan->cost)] +=
                    chance * std::pow(25.0L / 37, k) * (k < plan->bets ? 12.0L / 37 : 1);
        sums.swap(next);
    }
    for (const auto &[sum, chance] : sums) {
        long double atLeast = 0, atMost = 0;
        for (const auto &[other, c] : sums) {
            atLeast += other >= sum ? c : 0;
            atMost += other <= sum ? c : 0;
        }
        QVERIFY(std::fabs(FairMeanTail(*plan, 4, double(sum) / 4, true) - atLeast) < 1e-13);
        QVERIFY(std::fabs(FairMeanTail(*plan, 4, double(sum) / 4, false) - atMost) < 1e-13);
    }

    const std::vector<quint8> spins{
#include "python-random-0.inc"
    };
    QCOMPARE(spins.size(), std::size_t(1000));
    const SystemInputs in = system(RedGroup, 1, 2, 8, 0, 255, 355, 5);
    const auto r = ReplaySystem(spins, in);
    QVERIFY(std::fabs(r->randomMean - plainReplay(spins, in).randomMean) < 1e-12);
    QVERIFY(r->randomMean < 0.5 && r->seriesMean == 1.0 && r->seriesMeanAbove);
    // No series lost whole: the chance of that is (1 - q^8)^m, as is that of
    // averaging at least +1.
    const long double none = lossesAtMost(r->wholeSeries, 0);
    QVERIFY(none > 0.5 && std::fabs(r->seriesMeanChance - none) < 1e-12 &&
            std::fabs(r->noWholeLossChance - none) < 1e-12);
}

// Bankrolls so far above a series' cost that the chain is cut below the
// start: the cut moves nothing that a bankroll of 15,000 (solved whole, with
// the ruin 15,000 below it) would show.
void TestSystemTester::farBankrollsAgree()
{
    const RuinFigure whole = SolveRuin(system(RedGroup, 1, 2, 8, 0, 15'000, 15'100));
    const RuinFigure cut = SolveRuin(system(RedGroup, 1, 2, 8, 0, 1'000'000, 1'000'100));
    QVERIFY(whole.states > 14'000 && cut.states < 100'000);
    QVERIFY(std::fabs(whole.chance - cut.chance) < 1e-10);
    // 30 doublings: no cut helps a billion states; refused, not tried.
    const SystemInputs huge = system(RedGroup, 1, 2, 30, 0, 2'000'000'000, 2'100'000'000);
    QVERIFY(EstimateRuin(huge).states > 1'000'000'000);
    QCOMPARE(SolveRuin(huge).status, RuinStatus::TooLarge);
}

// A dozen with stakes 1, 2, 4, 8 (cost 15), bankroll 30, target 45, played
// spin by spin 10^6 times, a series cut where the bankroll runs short.
void TestSystemTester::ruinAgainstSimulation()
{
    const RuinFigure figure = SolveRuin(system(Dozen1Group, 1, 2, 4, 0, 30, 45));
    QCOMPARE(figure.status, RuinStatus::Solved);
    std::mt19937_64 random(20);
    std::uniform_int_distribution<int> spin(0, 36);
    const int plays = 1'000'000;
    int ruined = 0;
    for (int play = 0; play < plays; ++play) {
        qint64 money = 30;
        while (money >= 1 && money < 45) {
            for (qint64 stake = 1; stake <= 8 && stake <= money; stake *= 2) {
                const int s = spin(random);
                money -= stake;
                if (s >= 1 && s <= 12) {
                    money += 3 * stake;
                    break;
                }
            }
        }
        ruined += money < 1;
    }
    const double share = double(ruined) / plays;
    const double error = std::sqrt(share * (1 - share) / plays);
    QNEAR(share, figure.chance, 4 * error);
}

void TestSystemTester::solverThread()
{
    RuinSolver solver;
    QSignalSpy solved(&solver, &RuinSolver::Solved);
    // Quick: answered before Solve returns.
    const SystemInputs small = system(RedGroup, 1, 2, 8, 0, 255, 355);
    QVERIFY(EstimateRuin(small).quick);
    solver.Solve(small);
    QCOMPARE(solved.size(), 1);
    // Not quick: answered later, and only the latest request.
    const SystemInputs large = system(Dozen1Group, 1, 2, 8, 0, 1000, 1100);
    QVERIFY(!EstimateRuin(large).quick);
    solver.Solve(system(Dozen1Group, 1, 2, 8, 0, 2000, 2100));
    solver.Solve(large);
    QVERIFY(solver.Busy());
    QCOMPARE(solved.size(), 1);
    QVERIFY(solved.wait(20'000));
    QCOMPARE(solved.size(), 2);
    QTest::qWait(50);
    QCOMPARE(solved.size(), 2);
    const auto figure = solved.at(1).at(0).value<RuinFigure>();
    QCOMPARE(figure.status, RuinStatus::Solved);
    QCOMPARE(figure.chance, SolveRuin(large).chance);
    // Dropped while solving: no answer, and the destructor does not wait long.
    solver.Solve(large);
    solver.Cancel();
    QVERIFY(!solver.Busy());
    QTest::qWait(50);
    QCOMPARE(solved.size(), 2);
    solver.Solve(large);
}

QTEST_GUILESS_MAIN(TestSystemTester)
#include "tst_systemtester.moc"
