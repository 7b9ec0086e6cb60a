#include "analysis/Chances.h"
#include "analysis/EverExtremes.h"
#include "analysis/NumberClasses.h"
#include "analysis/Statistics.h"
#include "support/Near.h"
#include "support/SimulatedHistories.h"
#include "support/TestHistories.h"

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/binomial.hpp>

#include <QRandomGenerator>
#include <QStringList>
#include <QTest>

#include <bit>
#include <cmath>
#include <map>
#include <numeric>
#include <vector>

using namespace trevolo;

namespace {

using Real = long double;
using Runs = std::array<qint32, GroupRowCount>;

// The straightforward formulas, in extended precision.
Real refMissing(qint64 a)
{
    Real sum = 0, binomial = 1;
    for (int k = 1; k <= 36; ++k) {
        binomial = binomial * (38 - k) / k;
        sum += (k % 2 ? 1 : -1) * binomial * std::pow(Real(37 - k) / 37, Real(a));
    }
    return sum;
}

// Upper tail of chi-square with 36 degrees of freedom: e^(-x/2) sum (x/2)^i / i!.
Real refChiSquareTail(Real x)
{
    Real sum = 0;
    for (int i = 0; i < 18; ++i)
        sum += std::exp(-x / 2 + i * std::log(x / 2) - std::lgamma(Real(i + 1)));
    return x > 0 ? sum : 1;
}

Real refBinomialTail(int n, int c)
{
    const Real p = Real(1) / 37;
    Real sum = 0;
    for (int k = c; k <= n; ++k)
        sum += std::exp(std::lgamma(Real(n + 1)) - std::lgamma(Real(k + 1)) -
                        std::lgamma(Real(n - k + 1)) + k * std::log(p) + (n - k) * std::log(1 - p));
    return c <= 0 ? 1 : sum;
}

// P(some count of n fair spins >= c, or <= c if not upward): the 37 counts
// are Poisson(n/37) counts given that they sum to n, multiplied out one
// count at a time, with and without a count beyond c. Sums of positive
// terms, so doubles keep about 1e-13.
Real refBeyond(int n, int c, bool upward)
{
    const Real s = Real(n) / 37;
    std::vector<double> f(n + 1);
    for (int j = 0; j <= n; ++j)
        f[j] = double(std::exp(-s + j * std::log(s) - std::lgamma(Real(j + 1))));
    // Counts below 1e-50 of the likeliest one are left out, but for c.
    const double top = *std::max_element(f.begin(), f.end());
    int lo = 0, hi = n;
    while (f[lo] < top * 1e-50 && lo < c)
        ++lo;
    while (f[hi] < top * 1e-50 && hi > c)
        --hi;
    std::vector<double> none(n + 1, 0), beyond(n + 1, 0);
    none[0] = 1;
    for (int done = 0; done < 37; ++done) {
        std::vector<double> nextNone(n + 1, 0), nextBeyond(n + 1, 0);
        // Only sums from which the counts still to come can reach n.
        const int left = 36 - done;
        for (int i = std::max(0, n - (left + 1) * hi); i <= std::min(n, done * hi); ++i)
            for (int j = lo; j <= hi && i + j <= n; ++j) {
                const bool out = upward ? j >= c : j <= c;
                (out ? nextBeyond : nextNone)[i + j] += none[i] * f[j];
                nextBeyond[i + j] += beyond[i] * f[j];
            }
        none = nextNone;
        beyond = nextBeyond;
    }
    return beyond[n] / (beyond[n] + none[n]);
}

// The family chance by its definition: spans found by counting up, groups
// whose span exceeds the history left out, then inclusion-exclusion with a
// product over every spin position (of the chance to miss the groups of the
// subset whose span reaches it).
Real refFamily(QList<NumberSet> groups, const QList<int> &runs, int spins, int *unusual)
{
    const auto q = [&](int g) { return Real(37 - std::popcount(groups[g])) / 37; };
    int best = 0;
    for (int g = 1; g < groups.size(); ++g)
        if (std::pow(q(g), Real(runs[g])) < std::pow(q(best), Real(runs[best])))
            best = g;
    *unusual = best;
    const Real least = std::pow(q(best), Real(runs[best]));
    QList<int> span;
    for (int g = 0; g < groups.size(); ++g) {
        int t = 0;
        while (std::pow(q(g), Real(t)) > least * (1 + 1e-15L))
            ++t;
        span << t;
    }
    for (int g = int(groups.size()) - 1; g >= 0; --g)
        if (span[g] > spins) {
            groups.remove(g);
            span.remove(g);
        }
    // The chance that a spin misses every group of a subset, for each subset,
    // and the groups whose span reaches each position.
    const int subsets = 1 << groups.size();
    std::vector<NumberSet> covered(size_t(subsets), 0);
    std::vector<Real> miss(size_t(subsets), 1);
    for (int s = 1; s < subsets; ++s) {
        covered[size_t(s)] = covered[size_t(s & (s - 1))] | groups[std::countr_zero(unsigned(s))];
        miss[size_t(s)] = Real(37 - std::popcount(covered[size_t(s)])) / 37;
    }
    const int longest = span.isEmpty() ? 0 : *std::max_element(span.begin(), span.end());
    std::vector<int> reaching(size_t(longest + 1), 0);
    for (int j = 1; j <= longest; ++j)
        for (int g = 0; g < groups.size(); ++g)
            reaching[size_t(j)] |= span[g] >= j ? 1 << g : 0;
    Real sum = 0;
    for (int s = 1; s < subsets; ++s) {
        Real product = 1;
        for (int j = 1; j <= longest && (s & reaching[size_t(j)]); ++j)
            product *= miss[size_t(s & reaching[size_t(j)])];
        sum += (std::popcount(unsigned(s)) % 2 ? 1 : -1) * product;
    }
    return sum;
}

Runs runsOf(std::initializer_list<std::pair<int, int>> given)
{
    std::array<qint32, GroupRowCount> runs{};
    for (const auto &[row, run] : given)
        runs[row] = run;
    return runs;
}

} // namespace

class TestChances : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void familyChances_data();
    void familyChances();
    void droughtFamilyAgainstTheSum();
    void extremesAgainstReference();
    void extremesWithinBounds();
    void allCountsBand();
    void countsExample();
    void familyExamples_data();
    void familyExamples();
    void shortHistoryFamilies_data();
    void shortHistoryFamilies();
    void biasTest_data();
    void biasTest();
    void verdictEverShares();
    void everChances_data();
    void everChances();
    void hottestInterval_data();
    void hottestInterval();
    void detectableChance_data();
    void detectableChance();
    void breakEven();
    void randomHistories();
    void badInput();
    void formats_data();
    void formats();
};

void TestChances::droughtFamilyAgainstTheSum()
{
    // Every length the chain covers, the switch to the sum, and long ones.
    QList<qint64> lengths;
    for (qint64 a = 1; a <= 1000; ++a)
        lengths << a;
    lengths << 5000 << 20000;
    for (const qint64 a : lengths)
        QCLOSE(AnyNumberMissingChance(a), refMissing(a), 1e-9L);
    QCOMPARE(AnyNumberMissingChance(67'000'000), 0.0);
}

// Some number missing for all of `spins` (count -1), or some number coming
// up at least `count` times.
void TestChances::familyChances_data()
{
    QTest::addColumn<qint64>("spins");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<double>("chance");
    QTest::newRow("missing 100") << qint64(100) << qint64(-1) << 0.935997;
    QTest::newRow("missing 170") << qint64(170) << qint64(-1) << 0.302664;
    QTest::newRow("missing 250") << qint64(250) << qint64(-1) << 0.0385983;
    QTest::newRow("missing 36: a number must miss") << qint64(36) << qint64(-1) << 1.0;
    QTest::newRow("missing 0") << qint64(0) << qint64(-1) << 1.0;
    QTest::newRow("missing, negative") << qint64(-5) << qint64(-1) << 1.0;
    QTest::newRow("1, 1") << qint64(1) << qint64(1) << 1.0;
    QTest::newRow("20, 2") << qint64(20) << qint64(2) << 0.998326468556;
    QTest::newRow("60, 5") << qint64(60) << qint64(5) << 0.618389962381;
    QTest::newRow("100, 7") << qint64(100) << qint64(7) << 0.539614228719;
    QTest::newRow("197, 10") << qint64(197) << qint64(10) << 0.846864323967;
    QTest::newRow("369, 17") << qint64(369) << qint64(17) << 0.636664204861;
    QTest::newRow("375, 25") << qint64(375) << qint64(25) << 0.00158850608727;
    QTest::newRow("2000, 80") << qint64(2000) << qint64(80) << 0.0175611943113;
    QTest::newRow("all one number") << qint64(5) << qint64(5) << std::pow(37.0, -4);
    QTest::newRow("more than the spins") << qint64(5) << qint64(6) << 0.0;
    QTest::newRow("nothing asked") << qint64(0) << qint64(0) << 1.0;
}

void TestChances::familyChances()
{
    QFETCH(qint64, spins);
    QFETCH(qint64, count);
    QFETCH(double, chance);
    if (count < 0)
        QCLOSE(AnyNumberMissingChance(spins), chance, 5e-6L);
    else
        QCLOSE(LargestCountAtLeastChance(spins, count), chance, 1e-9L);
}

void TestChances::extremesAgainstReference()
{
    // Every count of short histories, down to the far tails, and the middle
    // and the tails of longer ones.
    QList<std::tuple<int, int, bool>> cases;
    for (const int n : {2, 20, 37, 38, 100})
        for (int c = 0; c <= n; ++c)
            cases << std::tuple(n, c, true) << std::tuple(n, c, false);
    for (const int z : {-6, -3, -1, 1, 3, 6}) {
        cases << std::tuple(185, int(185 / 37. + z * 2.2), z > 0);
        cases << std::tuple(2000, int(2000 / 37. + z * 7.3), z > 0);
    }
    for (const int z : {-6, -3, 3, 6})
        cases << std::tuple(20000, int(20000 / 37. + z * 23.), z > 0);
    for (const auto &[n, c, upward] : cases) {
        const Real expected = upward && 37 * (c - 1) < n    ? 1
                              : !upward && 37 * (c + 1) > n ? 1
                                                            : refBeyond(n, c, upward);
        const double got =
            upward ? LargestCountAtLeastChance(n, c) : SmallestCountAtMostChance(n, c);
        if (expected > 1e-30L) // the reference leaves out what is below 1e-50
            QCLOSE(got, expected, 1e-9L);
    }
}

void TestChances::extremesWithinBounds()
{
    // Above 20,000 spins: the chance for one of 37 lies between its value for
    // independent counts (the counts of a wheel go opposite ways) and 37
    // times the chance for one number.
    for (const qint64 n : {20'000LL, 100'000LL, 1'000'000LL, 100'000'000LL}) {
        const double sd = std::sqrt(n / 37.0), mean = n / 37.0;
        for (const double z : {2.5, 3.5, 5.0, 8.0, -2.5, -3.5, -5.0, -8.0}) {
            // Above the mean: the largest count; below: the smallest.
            const auto count = qint64(z > 0 ? std::ceil(mean + z * sd) : std::floor(mean + z * sd));
            const double one =
                z > 0 ? BinomialUpperTail(n, 1 / 37., count)
                      : boost::math::cdf(boost::math::binomial(n, 1 / 37.), double(count));
            const double any =
                z > 0 ? LargestCountAtLeastChance(n, count) : SmallestCountAtMostChance(n, count);
            QVERIFY2(any >= AnyOfChance(one, 37) * (1 - 1e-9) && any <= 37 * one * (1 + 1e-9),
                     qPrintable(QStringLiteral("%1 %2").arg(n).arg(count)));
        }
    }
}

void TestChances::allCountsBand()
{
    for (const qint64 n : {1LL, 10LL, 185LL, 375LL, 1000LL, 20'000LL, 1'000'000LL}) {
        const CountBand band = AllCountsBand(n);
        QVERIFY(SmallestCountAtMostChance(n, band.lower) <= 0.025);
        QVERIFY(SmallestCountAtMostChance(n, band.lower + 1) > 0.025);
        QVERIFY(LargestCountAtLeastChance(n, band.upper) <= 0.025);
        QVERIFY(LargestCountAtLeastChance(n, band.upper - 1) > 0.025);
    }
    // The chart's band holds the counts inside it: beyond its lines a count
    // has at most 2,5 % (summed over the 37 counts, independently).
    for (const int n : {37, 185, 1000}) {
        HistoryStatistics s;
        s.spinCount = n;
        const auto f = ComputeAnalysis(s, u"170");
        const int high = int(f.allCountsHigh), low = int(f.allCountsLow);
        QVERIFY(refBeyond(n, high + 1, true) <= 0.025 && refBeyond(n, high, true) > 0.025);
        QVERIFY(low == 0 || refBeyond(n, low - 1, false) <= 0.025);
        QVERIFY(refBeyond(n, low, false) > 0.025);
    }
    QCOMPARE(AllCountsBand(185).lower, qint64(-1)); // a missing number is no rarity yet
}

void TestChances::countsExample()
{
    const auto f = ComputeAnalysis(ComputeStatistics(CountsExample(), u"170"), u"170");
    QCOMPARE(f.spins, 375);
    QCOMPARE(FormatDecimal(f.chiSquare, 2), QStringLiteral("32,00"));
    QCLOSE(f.chiSquareP, 0.659344L, 2e-6L);
    QCOMPARE(f.hottest, 17);
    QCLOSE(f.hottestP, 4.29488e-5L, 2e-6L);
    QCLOSE(f.hottestFamilyP, 0.00158850608727L, 1e-9L);
    QCOMPARE(FormatChanceRange(f.hottestRange), QStringLiteral("3,2–12 %"));
    QCLOSE(f.alarmRate, 0.302664L, 2e-6L);
}

void TestChances::familyExamples_data()
{
    QTest::addColumn<bool>("sectors");
    QTest::addColumn<Runs>("runs");
    QTest::addColumn<int>("unusual");
    QTest::addColumn<double>("chance");
    QTest::addColumn<double>("family");

    QTest::newRow("combinations")
        << false
        << runsOf({{Red - 1, 8}, {Even - 1, 3}, {Low - 1, 5}, {Dozen2 - 1, 4}, {Column3 - 1, 6}})
        << Red - 1 << 0.00483521 << 0.0516352;
    QTest::newRow("sectors") << true << runsOf({{12, 3}, {13, 2}, {14, 9}, {15, 15}}) << 15
                             << 0.0430321 << 0.133917;
    QTest::newRow("no runs: the first, certain") << true << runsOf({}) << 12 << 1.0 << 1.0;
}

void TestChances::familyExamples()
{
    QFETCH(bool, sectors);
    QFETCH(Runs, runs);
    QFETCH(int, unusual);
    QFETCH(double, chance);
    QFETCH(double, family);

    std::array<double, GroupRowCount> chances{};
    for (int row = 0; row < GroupRowCount; ++row)
        chances[row] = MissChance(std::popcount(GroupMembers(row)), runs[row]);
    std::array<int, GroupRowCount> rows{};
    std::iota(rows.begin(), rows.end(), 0);
    const auto f = MostUnusual(sectors ? std::span(rows).last(4) : std::span(rows).first(12), runs,
                               chances, 1000);
    QCOMPARE(f.row, unusual);
    QCLOSE(f.chance, chance, 2e-6L);
    QCLOSE(f.familyChance, family, 2e-6L);
}

void TestChances::shortHistoryFamilies_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<double>("combinations");
    QTest::addColumn<double>("sectors");
    QTest::newRow("8 spins") << Lines({36, 23, 32, 19, 32, 22, 31, 31}) << 0.0286392701579
                             << 0.179528348535;
    QTest::newRow("3 spins") << Lines({0, 17, 1}) << 0.600102659270 << 0.292184075968;
}

void TestChances::shortHistoryFamilies()
{
    QFETCH(QString, history);
    QFETCH(double, combinations);
    QFETCH(double, sectors);
    const auto f = ComputeAnalysis(ComputeStatistics(history, u"170"), u"170");
    QCLOSE(f.combinations.familyChance, combinations, 1e-9L);
    QCLOSE(f.sectors.familyChance, sectors, 1e-9L);
}

// Counts of 37 numbers: `level` for all but `more` of them at level + 1 and
// the last three given.
using Counts = std::array<qint32, 37>;
Counts countsOf(qint32 level, int more, std::array<qint32, 3> last)
{
    Counts counts;
    counts.fill(level);
    for (int i = 0; i < more; ++i)
        ++counts[i];
    std::copy(last.begin(), last.end(), counts.end() - 3);
    return counts;
}

void TestChances::biasTest_data()
{
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<QString>("statistic");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("note"); // how often by then, after "случайно: "
    // 400 spins, 1279/40 = 31,975 and 416 spins, 705/8 = 88,125: halves that
    // a double rounds down.
    QTest::newRow("31,975") << countsOf(9, 33, {17, 18, 26}) << "31,98"
                            << "Отклонений от честного колеса не видно." << QString();
    QTest::newRow("88,125") << countsOf(9, 27, {23, 24, 36}) << "88,13"
                            << "Отклонение от равномерного статистически значимо (p < 1 %)."
                            << "к 500 спинам он хоть раз появляется примерно в 14 % историй.";
    QTest::newRow("0…36 five times")
        << countsOf(5, 0, {5, 5, 5}) << "0,00"
        << "Распределение слишком равномерное для случайного колеса (шанс такого или меньшего χ² "
           "< 1 %)."
        << "к 300 спинам он хоть раз появляется примерно в 8,7 % историй.";
    QTest::newRow("184 spins") << countsOf(5, 0, {5, 5, 4}) << "—"
                               << "Слишком мало спинов для проверки: нужно не меньше 185."
                               << QString();
}

void TestChances::biasTest()
{
    QFETCH(Counts, counts);
    QFETCH(QString, statistic);
    QFETCH(QString, verdict);
    QFETCH(QString, note);
    HistoryStatistics s;
    s.occurrence = counts;
    s.spinCount = std::accumulate(counts.begin(), counts.end(), 0);
    const auto f = ComputeAnalysis(s, u"170");
    QCOMPARE(f.chiSquareText, statistic);
    QCOMPARE(BiasVerdictText(f.verdict), verdict);
    const QString said = BiasVerdictNote(f.verdict, f.spins);
    QCOMPARE(said.section(QStringLiteral("случайно: если смотреть после каждого спина, "), 1),
             note);
    QCOMPARE(said.isEmpty(), note.isEmpty());
    QCOMPARE(FormatFraction(19999, 2000, 2), QStringLiteral("10,00")); // carries
}

// The table's shares against a seeded simulation of the verdict read after
// every spin, the critical values found from the series of the tail.
void TestChances::verdictEverShares()
{
    Real above = 40, below = 40; // P(chi-square >= above) = P(<= below) = 1 %
    for (Real step = 20; step > 1e-6L; step /= 2) {
        above += refChiSquareTail(above) > Real(0.01) ? step : -step;
        below += 1 - refChiSquareTail(below) < Real(0.01) ? step : -step;
    }
    constexpr int Histories = 3000;
    const auto verdict = [=, squares = qint64(0)](const auto &counts, qint64 n, int spin) mutable {
        squares += 2 * counts[size_t(spin)] - 1;
        const Real statistic = Real(37 * squares) / n - n;
        return n >= 185 && (statistic >= above || statistic <= below);
    };
    const auto reached = SimulatedFirsts(2026, Histories, 2000, verdict, true);
    for (const VerdictEverBand &band : VerdictEverBands) {
        const double share = double(reached[size_t(std::min(band.spins, 2000))]) / Histories;
        // 3 standard errors of this simulation and 1 point of the table's.
        QVERIFY(band.spins > 2000 || std::fabs(share - band.share) <
                                         3 * std::sqrt(share * (1 - share) / Histories) + 0.01);
    }
}

void TestChances::everChances_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("spins");
    QTest::addColumn<double>("now");
    QTest::addColumn<double>("about"); // the share a longer simulation found
    QTest::newRow("hottest 6 of 60")
        << int(EverHottest) << 60 << double(refBeyond(60, 6, true)) << double(NAN);
    QTest::newRow("absent 30 of 60")
        << int(EverDrought) << 60 << std::pow(36 / 37.0, 30) << double(NAN);
    QTest::newRow("red missed 8, 100 spins")
        << int(EverGroups) << 100 << std::pow(19 / 37.0, 8) << 0.87;
    QTest::newRow("the first sector missed 9, 80 spins")
        << int(EverSectors) << 80 << std::pow(1 - std::popcount(GroupMembers(12)) / 37.0, 9)
        << double(NAN);
}

// Against a seeded simulation that weighs every moment of every history.
void TestChances::everChances()
{
    QFETCH(int, family);
    QFETCH(int, spins);
    QFETCH(double, now);
    QFETCH(double, about);
    EverInputs inputs{spins, {-1, -1, -1, -1}};
    inputs.now[size_t(family)] = now;
    const auto ever = EverChance(*SimulateEverExtremes(inputs, nullptr, 4000), EverFamily(family));
    std::map<std::pair<qint64, qint64>, Real> beyond; // refBeyond, kept
    // (1 - k/37)^t for a row of k numbers missed for t spins, worked out once.
    std::vector<std::vector<Real>> missed(38, std::vector<Real>(size_t(spins) + 1));
    for (int k = 0; k <= 37; ++k)
        for (int t = 0; t <= spins; ++t)
            missed[size_t(k)][size_t(t)] = std::pow(1 - Real(k) / 37, Real(t));
    const auto unusual = [&, last = std::array<qint64, GroupRowCount + 37>{}](
                             const auto &counts, qint64 t, int spin) mutable {
        Real chance = 1;
        const qint64 c = *std::max_element(counts.begin(), counts.end());
        if (family == EverHottest && !beyond.count({t, c}))
            beyond[{t, c}] = refBeyond(int(t), int(c), true);
        for (int row = 0; row < GroupRowCount + 37; ++row) {
            const NumberSet members =
                row < GroupRowCount ? GroupMembers(row) : 1ull << (row - GroupRowCount);
            last[size_t(row)] = members >> spin & 1 ? t : last[size_t(row)];
            if (family == (row < CombinationCount ? EverGroups
                           : row < GroupRowCount  ? EverSectors
                                                  : EverDrought))
                chance = std::min(
                    chance, missed[size_t(std::popcount(members))][size_t(t - last[size_t(row)])]);
        }
        return (family == EverHottest ? beyond[{t, c}] : chance) <= now * (1 + 1e-9);
    };
    const double share = SimulatedFirsts(7, 4000, spins, unusual, true).back() / 4000.0;
    QVERIFY(std::fabs(ever.estimate - share) < 4 * std::sqrt(share * (1 - share) / 2000) + 0.003);
    QVERIFY(std::isnan(about) || std::fabs(ever.estimate - about) < 0.02);
}

void TestChances::hottestInterval_data()
{
    QTest::addColumn<int>("spins");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("25 of 375") << 375 << 25 << "3,2–12 %";
    // random.Random(6), 1000 spins: 23 came up 43 times (95 % alone: 3,1–5,7 %).
    QTest::newRow("Random(6)") << 1000 << 43 << "2,5–6,8 %";
    QTest::newRow("2 of 37") << 37 << 2 << "0,10–28 %";
}

void TestChances::hottestInterval()
{
    QFETCH(int, spins);
    QFETCH(int, count);
    QFETCH(QString, text);
    const ChanceRange range = ChanceInterval(spins, count, HottestIntervalTail);
    // Its ends are quantiles of beta distributions (Clopper and Pearson).
    using Beta = boost::math::beta_distribution<double>;
    QCLOSE(range.low, boost::math::quantile(Beta(count, spins - count + 1), 0.025 / 37), 1e-9);
    QCLOSE(range.high, boost::math::quantile(Beta(count + 1, spins - count), 1 - 0.025 / 37), 1e-9);
    QCOMPARE(FormatChanceRange(range), text);

    // On a fair wheel it lies wholly above 1/37 in at most about 2 % of
    // histories of that length.
    const auto above = [](const auto &counts, qint64 n, int) {
        HistoryStatistics fair;
        fair.spinCount = qint32(n);
        std::copy(counts.begin(), counts.end(), fair.occurrence.begin());
        return ComputeAnalysis(fair, u"170").hottestRange.low > 1.0 / 37;
    };
    QVERIFY(SimulatedFirsts(quint32(26 + spins), 2000, spins, above).back() <= 50);
}

void TestChances::detectableChance_data()
{
    QTest::addColumn<qint64>("spins");
    QTest::addColumn<double>("shownBefore"); // by the non-central chi-square
    QTest::addColumn<double>("powerBefore"); // the real power at that chance
    QTest::addColumn<QString>("text");
    QTest::newRow("185") << qint64(185) << 0.0976458 << 0.66 << "11 %";
    QTest::newRow("1000") << qint64(1000) << 0.0574013 << 0.73 << "5,9 %";
    QTest::newRow("5000") << qint64(5000) << 0.0406108 << 0.76 << "4,1 %";
    QTest::newRow("184") << qint64(184) << double(NAN) << double(NAN) << "—";
}

// The power against a seeded simulation of the test itself, statistic and
// tail worked out independently.
void TestChances::detectableChance()
{
    QFETCH(qint64, spins);
    QFETCH(double, shownBefore);
    QFETCH(double, powerBefore);
    QFETCH(QString, text);
    QCOMPARE(FormatChance(DetectableChance(spins)), text);
    QNEAR(BiasTestPower(spins, shownBefore), powerBefore, 0.01);
    if (spins > 1000 || std::isnan(shownBefore))
        return; // the simulation of 5000 spins takes a while
    const double p = DetectableChance(spins);
    const auto significant = [](const auto &counts, qint64 n, int) {
        qint64 squares = 0;
        for (const qint64 c : counts)
            squares += c * c;
        return refChiSquareTail(Real(37 * squares - n * n) / n) < Real(0.01);
    };
    const double share =
        SimulatedFirsts(quint32(spins), 40000, spins, significant, false, p).back() / 40000.0;
    // 3 standard errors of the share, and 0,2 points for the power.
    QVERIFY2(std::fabs(share - 0.8) < 0.006 + 0.002, qPrintable(QString::number(share)));
}

void TestChances::breakEven()
{
    // The exact one-sided binomial test of 1/37 at 1 % first finds 1/36 with
    // 80 % power within 0,5 % of 474 000 spins (its power saws round 80 %).
    const auto power = [](double spins) {
        const double critical = boost::math::quantile(
            boost::math::complement(boost::math::binomial(spins, 1 / 37.0), 0.01));
        return boost::math::cdf(
            boost::math::complement(boost::math::binomial(spins, 1 / 36.0), critical));
    };
    double spins = 400000;
    while (power(spins) < 0.8)
        spins += 500;
    QVERIFY2(std::fabs(spins - 474000) <= 474000 * 0.005, qPrintable(QString::number(spins)));
    QVERIFY(BreakEvenText().contains(u"(с шансом 80 % при p < 1 %, односторонняя проверка), "
                                     u"нужно около 474 000 спинов."));
}

void TestChances::randomHistories()
{
    QRandomGenerator random(20261208);
    QList<NumberSet> combinations, sectors;
    for (int row = 0; row < GroupRowCount; ++row)
        (row < CombinationCount ? combinations : sectors) << GroupMembers(row);

    for (int round = 0; round < 2000; ++round) {
        const int length = int(random.bounded(round % 10 == 0 ? 2000 : 400));
        QStringList lines;
        QList<int> spins;
        for (int i = 0; i < length; ++i) {
            if (random.bounded(20) == 0) {
                lines << QStringLiteral("x");
                continue;
            }
            spins << int(random.bounded(37));
            lines << QString::number(spins.last());
        }
        const QString threshold = QString::number(int(random.bounded(-5, 400)));
        const auto f = ComputeAnalysis(ComputeStatistics(lines.join(u'\n'), threshold), threshold);
        const int n = int(spins.size());
        QCOMPARE(f.spins, n);

        std::array<int, 37> count{}, absence{};
        absence.fill(n);
        for (int i = 0; i < n; ++i) {
            ++count[spins[i]];
            absence[spins[i]] = n - 1 - i;
        }
        Real chi = 0;
        for (const int c : count)
            chi += (c - Real(n) / 37) * (c - Real(n) / 37) / (Real(n) / 37);
        QCLOSE(f.chiSquare, n >= 185 ? chi : Real(NAN), 1e-9L);
        QCLOSE(f.chiSquareP, n >= 185 ? refChiSquareTail(chi) : Real(NAN), 1e-7L);
        if (n == 0)
            continue; // see badInput

        {
            const int hot = int(std::max_element(count.begin(), count.end()) - count.begin());
            QCOMPARE(f.hottest, hot);
            const Real tail = refBinomialTail(n, count[hot]);
            QCLOSE(f.hottestP, tail, 1e-7L);
            // Between the chance for independent counts and 37 times the tail.
            QVERIFY(f.hottestFamilyP >= 1 - std::pow(1 - tail, Real(37)) - 1e-12L);
            QVERIFY(f.hottestFamilyP <= 37 * tail + 1e-12L);
        }
        const int dry = int(std::max_element(absence.begin(), absence.end()) - absence.begin());
        QCOMPARE(f.drought, dry);
        QCLOSE(f.droughtP, std::pow(Real(36) / 37, Real(absence[dry])), 1e-9L);
        QCLOSE(f.droughtFamilyP, absence[dry] > 0 ? refMissing(absence[dry]) : 1, 1e-9L);
        QCLOSE(f.alarmRate, threshold.toInt() > 0 ? refMissing(threshold.toInt()) : 1, 1e-9L);

        // Runs recounted spin by spin, not from the absences.
        QList<int> runs(GroupRowCount, 0);
        for (const int spin : spins)
            for (int row = 0; row < GroupRowCount; ++row)
                runs[row] = GroupMembers(row) >> spin & 1 ? 0 : runs[row] + 1;
        for (int row = 0; row < GroupRowCount; ++row) {
            QCOMPARE(f.runs[row], runs[row]);
            const Real q = Real(37 - std::popcount(GroupMembers(row))) / 37;
            QCLOSE(f.chances[row], std::pow(q, Real(runs[row])), 1e-9L);
        }
        int unusual = 0;
        QCLOSE(f.combinations.familyChance, refFamily(combinations, runs.first(12), n, &unusual),
               1e-7L);
        QCOMPARE(f.combinations.row, unusual);
        QCLOSE(f.sectors.familyChance, refFamily(sectors, runs.last(4), n, &unusual), 1e-7L);
        QCOMPARE(f.sectors.row, 12 + unusual);
    }
}

void TestChances::badInput()
{
    // Without spins every figure is undefined, the alarm's too.
    const auto empty = ComputeAnalysis(ComputeStatistics(u"x", u"170"), u"170");
    QCOMPARE((QList<int>{empty.spins, empty.hottest, empty.drought}), (QList<int>{0, -1, -1}));
    QCOMPARE(empty.chiSquareText, QStringLiteral("—"));
    QCOMPARE(FormatChanceRange(empty.hottestRange), QStringLiteral("—"));
    for (const double figure :
         {empty.chiSquare, empty.chiSquareP, empty.chiSquareLowerP, empty.detectableChance,
          empty.hottestP, empty.hottestFamilyP, empty.droughtP, empty.droughtFamilyP,
          empty.alarmRate, empty.combinations.familyChance, empty.sectors.familyChance,
          empty.chances[0], empty.chances[15], empty.allCountsLow, empty.allCountsHigh})
        QVERIFY(std::isnan(figure));

    // Ten million spins of one number: everything else has been missing for
    // all of them, far past the range of a double.
    HistoryStatistics s;
    s.spinCount = 10'000'000;
    s.absence.fill(s.spinCount);
    s.absence[5] = 0;
    s.occurrence[5] = s.spinCount;
    const auto f = ComputeAnalysis(s, u"-5");
    QCOMPARE((QList<double>{f.chiSquareP, f.hottestP, f.droughtFamilyP, f.alarmRate,
                            f.combinations.familyChance}),
             (QList<double>{0, 0, 0, 1, 0}));
    QCOMPARE(f.combinations.row, Black - 1);
    QCOMPARE(f.sectors.row, 12); // Voisins, the largest, missed as long as the rest
}

void TestChances::formats_data()
{
    QTest::addColumn<double>("chance");
    QTest::addColumn<QString>("text");
    QTest::newRow("30") << 0.302664 << "30 %";
    QTest::newRow("4,6") << 0.04571 << "4,6 %";
    QTest::newRow("0,48") << 0.0048352 << "0,48 %";
    QTest::newRow("0,0013") << 1.2549e-5 << "0,0013 %";
    QTest::newRow("rounds up a decade") << 0.0996 << "10 %";
    QTest::newRow("keeps the second digit") << 0.05 << "5,0 %";
    QTest::newRow("certain") << 1.0 << "> 99 %";
    QTest::newRow("99,5") << 0.995 << "> 99 %";
    QTest::newRow("just below 99,5") << 0.99499 << "99 %";
    QTest::newRow("just below the floor") << 9.9e-7 << "< 0,0001 %";
    QTest::newRow("nothing") << 0.0 << "< 0,0001 %";
    QTest::newRow("undefined") << double(NAN) << "—";
}

void TestChances::formats()
{
    QFETCH(double, chance);
    QFETCH(QString, text);
    QCOMPARE(FormatChance(chance), text);
}

QTEST_GUILESS_MAIN(TestChances)
#include "tst_chances.moc"
