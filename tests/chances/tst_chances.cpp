#include "analysis/Chances.h"
#include "analysis/NumberClasses.h"
#include "analysis/Statistics.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QTest>

#include <bit>
#include <cmath>
#include <numeric>

using namespace trevolo;

namespace {

using Real = long double;
using Runs = std::array<qint32, GroupRowCount>;

bool close(double got, Real expected, Real relative)
{
    if (std::isnan(got) || std::isnan(double(expected)))
        return std::isnan(got) && std::isnan(double(expected));
    return std::fabs(Real(got) - expected) <= relative * std::fabs(expected) + 1e-300L;
}

#define QCLOSE(got, expected, relative)                                                            \
    QVERIFY2(close((got), (expected), (relative)),                                                 \
             qPrintable(QStringLiteral("%1 vs %2")                                                 \
                            .arg(double(got), 0, 'g', 12)                                          \
                            .arg(double(expected), 0, 'g', 12)))

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

// The family chance by its definition: spans found by counting up, then
// inclusion-exclusion with a product over every spin position.
Real refFamily(const QList<NumberSet> &groups, const QList<int> &runs, int *unusual)
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
    Real sum = 0;
    for (int s = 1; s < 1 << groups.size(); ++s) {
        int longest = 0;
        for (int g = 0; g < groups.size(); ++g)
            if (s >> g & 1)
                longest = std::max(longest, span[g]);
        Real product = 1;
        for (int j = 1; j <= longest; ++j) {
            NumberSet covered = 0;
            for (int g = 0; g < groups.size(); ++g)
                if ((s >> g & 1) && span[g] >= j)
                    covered |= groups[g];
            product *= Real(37 - std::popcount(covered)) / 37;
        }
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
    void droughtFamily_data();
    void droughtFamily();
    void droughtFamilyAgainstTheSum();
    void countsExample();
    void familyExamples_data();
    void familyExamples();
    void randomHistories();
    void badInput();
    void formats_data();
    void formats();
};

void TestChances::droughtFamily_data()
{
    QTest::addColumn<qint64>("spins");
    QTest::addColumn<double>("chance");
    QTest::newRow("100") << qint64(100) << 0.935997;
    QTest::newRow("170") << qint64(170) << 0.302664;
    QTest::newRow("250") << qint64(250) << 0.0385983;
    QTest::newRow("36: a number must miss") << qint64(36) << 1.0;
    QTest::newRow("0") << qint64(0) << 1.0;
    QTest::newRow("negative") << qint64(-5) << 1.0;
}

void TestChances::droughtFamily()
{
    QFETCH(qint64, spins);
    QFETCH(double, chance);
    QCLOSE(AnyNumberMissingChance(spins), chance, 5e-6L);
}

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

void TestChances::countsExample()
{
    QStringList lines;
    for (int n = 0; n < 37; ++n)
        for (int i = 0; i < (n == 17 ? 25 : n == 3 ? 0 : 10); ++i)
            lines << QString::number(n);
    const auto f = ComputeAnalysis(ComputeStatistics(lines.join(u'\n'), u"170"), u"170");
    QCOMPARE(f.spins, 375);
    QCOMPARE(FormatDecimal(f.chiSquare, 2), QStringLiteral("32,00"));
    QCLOSE(f.chiSquareP, 0.659344L, 2e-6L);
    QCOMPARE(f.hottest, 17);
    QCLOSE(f.hottestP, 4.29488e-5L, 2e-6L);
    QCLOSE(f.hottestFamilyP, 0.00158788L, 2e-6L);
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
    const auto f =
        MostUnusual(sectors ? std::span(rows).last(4) : std::span(rows).first(12), runs, chances);
    QCOMPARE(f.row, unusual);
    QCLOSE(f.chance, chance, 2e-6L);
    QCLOSE(f.familyChance, family, 2e-6L);
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

        if (n > 0) {
            const int hot = int(std::max_element(count.begin(), count.end()) - count.begin());
            QCOMPARE(f.hottest, hot);
            const Real tail = refBinomialTail(n, count[hot]);
            QCLOSE(f.hottestP, tail, 1e-7L);
            QCLOSE(f.hottestFamilyP, 1 - std::pow(1 - tail, Real(37)), 1e-7L);
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
        QCLOSE(f.combinations.familyChance, refFamily(combinations, runs.first(12), &unusual),
               1e-7L);
        QCOMPARE(f.combinations.row, unusual);
        QCLOSE(f.sectors.familyChance, refFamily(sectors, runs.last(4), &unusual), 1e-7L);
        QCOMPARE(f.sectors.row, 12 + unusual);
    }
}

void TestChances::badInput()
{
    const auto empty = ComputeAnalysis(ComputeStatistics(u"", u"abc"), u"abc");
    QCOMPARE(empty.spins, 0);
    QVERIFY(std::isnan(empty.chiSquare) && std::isnan(empty.hottestP));
    QVERIFY(std::isnan(empty.alarmRate));
    QCOMPARE(empty.combinations.familyChance, 1.0);

    // Ten million spins of one number: everything else has been missing for
    // all of them, far past the range of a double.
    HistoryStatistics s;
    s.spinCount = 10'000'000;
    s.absence.fill(s.spinCount);
    s.absence[5] = 0;
    s.occurrence[5] = s.spinCount;
    const auto f = ComputeAnalysis(s, u"-5");
    QCOMPARE(f.chiSquareP, 0.0);
    QCOMPARE(f.hottestP, 0.0);
    QCOMPARE(f.droughtFamilyP, 0.0);
    QCOMPARE(f.alarmRate, 1.0);
    QCOMPARE(f.combinations.row, Black - 1);
    QCOMPARE(f.combinations.familyChance, 0.0);
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
    QTest::newRow("certain") << 1.0 << "100 %";
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
