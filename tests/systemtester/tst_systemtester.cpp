#include "analysis/SpinHistoryModel.h"
#include "system/SystemRuin.h"
#include "system/SystemTester.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
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

bool isRed(int n)
{
    return std::popcount(GroupMembers(RedGroup) >> n & 1u) == 1;
}

} // namespace

class TestSystemTester : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oracles_data();
    void oracles();
    void lossPerUnit_data();
    void lossPerUnit();
    void defaults();
    void invalidInputs_data();
    void invalidInputs();
    void handHistory();
    void longHistory();
    void methodsAgree_data();
    void methodsAgree();
    void farBankrollsAgree();
    void ruinAgainstSimulation();
    void solverThread();
};

// Even money, stakes 1, 2, 4, ... 128. A bankroll short of a whole series
// plays it as far as it can; ruin is a bankroll below the first stake.
void TestSystemTester::oracles_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("bankroll");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("bets");
    QTest::addColumn<double>("lossChance");
    QTest::addColumn<double>("expectedNet");
    QTest::addColumn<double>("ruin");
    const double q8 = 0.00483520637311, net8 = -0.237812831515;
    QTest::newRow("8 steps, 254 to 354") << 0 << 254 << 354 << 8 << q8 << net8 << 0.357683271886;
    QTest::newRow("8 steps, 255 to 355") << 0 << 255 << 355 << 8 << q8 << net8 << 0.356536855224;
    QTest::newRow("8 steps, 250 to 300") << 0 << 250 << 300 << 8 << q8 << net8 << 0.212244546293;
    // 7 steps; (19/37)^7 and 1 - 128 (19/37)^7.
    QTest::newRow("limit 100, 255 to 355")
        << 100 << 255 << 355 << 7 << 0.00941592820026 << -0.205238809633 << 0.403466989070;
    QTest::newRow("no first stake") << 0 << 0 << 355 << 8 << q8 << net8 << 1.0;
}

void TestSystemTester::oracles()
{
    QFETCH(int, limit);
    QFETCH(int, bankroll);
    QFETCH(int, target);
    const SystemInputs in = system(RedGroup, 1, 2, 8, limit, bankroll, target);
    const auto exact = ExactFigures(in);
    QVERIFY(exact);
    QFETCH(int, bets);
    QCOMPARE(exact->bets, bets);
    QFETCH(double, lossChance);
    QFETCH(double, expectedNet);
    QFETCH(double, ruin);
    QVERIFY(std::fabs(exact->seriesLossChance - lossChance) < 1e-14);
    QVERIFY(std::fabs(exact->expectedNet - expectedNet) < 1e-12);
    for (const RuinMethod method : {RuinMethod::Automatic, RuinMethod::Direct, RuinMethod::Sweeps}) {
        const RuinFigure figure = SolveRuin(in, nullptr, method);
        QCOMPARE(figure.status, RuinStatus::Solved);
        QCOMPARE(figure.certain, ruin == 1);
        // The sweeps stop at seven digits of the smaller chance.
        const double tolerance = method == RuinMethod::Sweeps ? 1e-7 * std::min(ruin, 1 - ruin) : 0;
        QVERIFY2(std::fabs(figure.chance - ruin) < std::max(1e-12, tolerance),
                 qPrintable(QString::number(figure.chance, 'g', 15)));
    }
    if (limit == 0)
        QCOMPARE(
            SystemVerdict(exact->expectedNet),
            u"На честном колесе эта система в среднем теряет 0,24 на серию; ожидание пропусков "
            u"этого не меняет: каждый спин независим."_s);
    QCOMPARE(SystemVerdict(NoValue), u"—"_s);
}

void TestSystemTester::lossPerUnit_data()
{
    QTest::addColumn<SystemInputs>("in");
    QTest::newRow("red flat") << system(RedGroup, 3, 1, 5);
    QTest::newRow("dozen x3 limit 500") << system(Dozen1Group, 5, 3, 12, 500);
    QTest::newRow("column x5 12 steps") << system(11, 1, 5, 12);
}

void TestSystemTester::lossPerUnit()
{
    QFETCH(SystemInputs, in);
    const auto exact = ExactFigures(in);
    QVERIFY(exact && exact->expectedNet < 0);
    QVERIFY(std::fabs(exact->expectedLossPerUnit - 1.0 / 37) < 1e-14);
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

// Red, trigger 2, stakes 1, 2, 4 (a series costs 7, every win nets +1).
//   line  code  result  what happens
//    1     2      0     run 0 before: no bet; run 1
//    2     0      0     run 2
//    -   other    -
//    3     4     -1     series 1 (run 2): bet 1 lost
//    4     6     -3     bet 2 lost
//    5     1     +1     bet 4 won: series won, peak 1
//    6     8     +1     run 0: no bet
//    -   empty    -
//    7    10     +1     run 1: no bet
//    8    11      0     series 2: bet 1 lost
//    9    13     -2     bet 2 lost
//   10     0     -6     bet 4 lost: series lost
//   11    15     -7     series 3 at once (run 5): lost
//   12    17     -9
//   13    20    -13     series lost: two in a row; drawdown 1 - (-13) = 14
//   14     3    -12     series 4: won at once
//   15    22    -12     run 0, then 1: no bets
//   16    24    -12
//   17    26    -13     series 5: bet 1 lost, open at the end
// Series 5 (2 won, 2 lost), bets 11 (2 won), staked 7 + 7 + 7 + 1 + 1 = 23,
// net -13, finished series (+1 - 7 - 7 + 1) / 4 = -3.
void TestSystemTester::handHistory()
{
    const SystemInputs in = system(RedGroup, 1, 2, 3, 0, 7, 8, 2);
    const auto codes = lines({2, 0, -2, 4, 6, 1, 8, -1, 10, 11, 13, 0, 15, 17, 20, 3, 22, 24, 26});
    const auto r = ReplaySystem(codes, in);
    QVERIFY(r);
    QCOMPARE(r->spins, 17);
    QCOMPARE((QList<qint64>{r->series, r->seriesWon, r->seriesLost, r->bets, r->betsWon}),
             (QList<qint64>{5, 2, 2, 11, 2}));
    QCOMPARE((QList<qint64>{r->net, r->staked, r->maxDrawdown, r->worstLostRun}),
             (QList<qint64>{-13, 23, 14, 2}));
    QCOMPARE(r->seriesMean, -3.0);
    QCOMPARE(r->fairChance, 18.0 / 37);
    QCOMPARE(r->hitRate, 2.0 / 11);
    // Wilson, z = 1.96: (2 + z^2/2 -+ z sqrt(2 * 9 / 11 + z^2 / 4)) / (11 + z^2).
    QVERIFY(std::fabs(r->hitLow - 0.0513677) < 1e-6 && std::fabs(r->hitHigh - 0.4769806) < 1e-6);
    const QList<qint64> running{0,  0,  0,  -1, -3,  1,   1,   1,   0,
                                -2, -6, -7, -9, -13, -12, -12, -12, -13};
    QCOMPARE(qsizetype(r->chart.size()), running.size());
    for (qsizetype i = 0; i < running.size(); ++i)
        QVERIFY(r->chart[i].spin == i && r->chart[i].result == running[i]);
    // Four random series, each won (+1) or lost (-7): means 1 - 2k.
    QCOMPARE(r->randomSeries, 4);
    for (const double mean : {r->randomMean, r->randomLow, r->randomHigh})
        QVERIFY(mean >= -7 && mean <= 1 && std::fmod(1 - mean, 2) == 0);
    QVERIFY(r->randomLow <= r->randomMean && r->randomMean <= r->randomHigh);

    // The lines that hold no spin change nothing, the random draws included.
    const auto spinsOnly =
        ReplaySystem(lines({2, 0, 4, 6, 1, 8, 10, 11, 13, 0, 15, 17, 20, 3, 22, 24, 26}), in);
    QCOMPARE(spinsOnly->randomMean, r->randomMean);
    QCOMPARE(spinsOnly->randomLow, r->randomLow);
    QCOMPARE(spinsOnly->randomHigh, r->randomHigh);

    // Every random entry wins at once when every spin is red.
    const auto allRed = ReplaySystem(lines({1, 3, 5, 7, 9, 12}), system(RedGroup, 1, 2, 3));
    QCOMPARE((QList<double>{allRed->randomMean, allRed->randomLow, allRed->randomHigh}),
             (QList<double>{1, 1, 1}));
}

// Flat single bets on every spin: the running result is the reference, the
// chart a thinned copy that keeps its extremes.
void TestSystemTester::longHistory()
{
    const int count = 300'000;
    const auto spins = randomSpins(count, 7);
    const auto r = ReplaySystem(spins, system(RedGroup, 2, 1, 1));
    QVERIFY(r);
    std::vector<qint64> running{0};
    qint64 reds = 0, drawdown = 0, peak = 0;
    for (const quint8 s : spins) {
        reds += isRed(s);
        running.push_back(running.back() + (isRed(s) ? 2 : -2));
        peak = std::max(peak, running.back());
        drawdown = std::max(drawdown, peak - running.back());
    }
    QCOMPARE(r->bets, count);
    QCOMPARE(r->betsWon, reds);
    QCOMPARE(r->net, running.back());
    QCOMPARE(r->maxDrawdown, drawdown);
    QVERIFY(r->chart.size() <= std::size_t(ChartMaxPoints));
    QCOMPARE(r->chart.back().spin, count);
    const auto [low, high] = std::minmax_element(running.begin(), running.end());
    bool lowKept = false, highKept = false;
    for (std::size_t i = 0; i < r->chart.size(); ++i) {
        QCOMPARE(r->chart[i].result, running[r->chart[i].spin]);
        QVERIFY(i == 0 || r->chart[i].spin > r->chart[i - 1].spin);
        lowKept |= r->chart[i].result == *low;
        highKept |= r->chart[i].result == *high;
    }
    QVERIFY(lowKept && highKept);
    // Random single bets: mean 2 (2p - 1) within a few standard errors.
    QCOMPARE(r->randomSeries, count);
    QVERIFY(r->randomLow < r->randomMean && r->randomMean < r->randomHigh);
    QVERIFY(r->randomHigh - r->randomLow < 4 * 1.96 * 2 / std::sqrt(double(count)));
    QVERIFY(std::fabs(r->randomMean - 2 * (2 * 18.0 / 37 - 1)) < 5 * 2 / std::sqrt(double(count)));
    const auto again = ReplaySystem(spins, system(RedGroup, 2, 1, 1));
    QCOMPARE(again->randomLow, r->randomLow);
}

void TestSystemTester::methodsAgree_data()
{
    QTest::addColumn<SystemInputs>("in");
    QTest::newRow("doubling, limit 100, large bankroll")
        << system(RedGroup, 1, 2, 8, 100, 5000, 5100);
    QTest::newRow("red x3, 6 steps") << system(RedGroup, 1, 3, 6, 0, 2000, 2400);
    QTest::newRow("dozen x2, 5 steps, unit 5") << system(Dozen1Group, 5, 2, 5, 0, 1000, 1500);
    QTest::newRow("red flat, 4 steps (moves down on a win)")
        << system(RedGroup, 1, 1, 4, 0, 40, 60);
}

void TestSystemTester::methodsAgree()
{
    QFETCH(SystemInputs, in);
    const RuinFigure automatic = SolveRuin(in);
    const RuinFigure direct = SolveRuin(in, nullptr, RuinMethod::Direct);
    const RuinFigure sweeps = SolveRuin(in, nullptr, RuinMethod::Sweeps);
    QVERIFY(automatic.status == RuinStatus::Solved && direct.status == RuinStatus::Solved &&
            sweeps.status == RuinStatus::Solved);
    QVERIFY(automatic.chance > 0.01 && automatic.chance < 0.99);
    // The sweeps stop at seven digits of the smaller chance.
    const double digits = std::max(1e-12, 1e-7 * std::min(direct.chance, 1 - direct.chance));
    QVERIFY(std::fabs(automatic.chance - direct.chance) < digits);
    QVERIFY(std::fabs(sweeps.chance - direct.chance) < digits);
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
    QVERIFY2(std::fabs(share - figure.chance) < 4 * error,
             qPrintable(u"%1 vs %2"_s.arg(share).arg(figure.chance)));
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
