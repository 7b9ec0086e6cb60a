#include "analysis/CountExtremes.h"
#include "analysis/HistoryDepth.h"
#include "analysis/SpinHistoryModel.h"
#include "analysis/WheelArcs.h"

#include "support/Near.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <array>
#include <bit>
#include <cmath>
#include <tuple>

using namespace trevolo;

namespace {

using Codes = std::vector<quint8>;

Codes codesOf(const QString &text)
{
    Codes codes;
    SpinHistoryModel::AppendCodes(text, codes);
    return codes;
}

Codes spinsOf(const Codes &lines)
{
    Codes spins;
    for (const quint8 code : lines)
        if (code < WheelSize)
            spins.push_back(code);
    return spins;
}

// The gap figures by their definition, from the list of hit positions.
struct Reference
{
    GapFigures figures;
    std::vector<qint32> histogram;
};

Reference reference(const Codes &spins, NumberSet members)
{
    std::vector<qint32> at;
    for (qint32 p = 0; p < qint32(spins.size()); ++p)
        if (members & NumberSet(1) << spins[size_t(p)])
            at.push_back(p);
    Reference r;
    const qint32 n = qint32(spins.size());
    r.figures.hits = qint32(at.size());
    r.figures.current = r.figures.longest = at.empty() ? n : n - 1 - at.back();
    if (!at.empty())
        r.figures.longest = std::max(r.figures.longest, at.front());
    double sum = 0;
    for (size_t i = 1; i < at.size(); ++i) {
        const qint32 gap = at[i] - at[i - 1] - 1;
        r.figures.longest = std::max(r.figures.longest, gap);
        sum += gap;
        r.histogram.resize(std::max(r.histogram.size(), size_t(gap) + 1));
        ++r.histogram[size_t(gap)];
    }
    if (at.size() >= 2)
        r.figures.mean = sum / double(at.size() - 1);
    return r;
}

QString text(const GapFigures &f, int decimals = 6)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(f.hits)
        .arg(f.current)
        .arg(f.longest)
        .arg(FormatDecimal(f.mean, decimals));
}

// Every number and group of `got` against the reference over `spins`.
void compareDepth(const DepthFigures &got, const Codes &spins)
{
    QCOMPARE(got.spins, qint32(spins.size()));
    for (int n = 0; n < WheelSize; ++n)
        QCOMPARE(text(got.numbers[size_t(n)]), text(reference(spins, NumberSet(1) << n).figures));
    for (int row = 0; row < GroupRowCount; ++row)
        QCOMPARE(text(got.groups[size_t(row)]), text(reference(spins, GroupMembers(row)).figures));
}

// Independent of SimulateLargestArc: spin by spin from another generator,
// every spin counted into each arc that holds it.
double independentFamilyChance(qint32 spins, int width, qint32 hits, qint32 histories)
{
    std::array<int, WheelSize> place{};
    for (int i = 0; i < WheelSize; ++i)
        place[size_t(WheelOrder[size_t(i)])] = i;
    QRandomGenerator random(quint32(spins * 31 + width));
    qint32 reached = 0;
    for (qint32 h = 0; h < histories; ++h) {
        std::array<qint32, WheelSize> arcs{}; // by the place of the centre
        for (qint32 s = 0; s < spins; ++s) {
            const int at = place[size_t(random.bounded(WheelSize))];
            for (int d = -width; d <= width; ++d)
                ++arcs[size_t((at + d + WheelSize) % WheelSize)];
        }
        reached += *std::max_element(arcs.begin(), arcs.end()) >= hits;
    }
    return double(reached) / histories;
}

} // namespace

class TestDepth : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gapExample_data();
    void gapExample();
    void editsKeepFiguresExact();
    void spans_data();
    void spans();
    void fairGapLengths();
    void hottestArc_data();
    void hottestArc();
    void familyChanceAgreesWithIndependentSimulation_data();
    void familyChanceAgreesWithIndependentSimulation();
    void simulatedChanceText_data();
    void simulatedChanceText();
    void simulatorFollowsTheLatestRequest();
};

void TestDepth::gapExample_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("figures"); // hits, absent now, longest, mean
    QTest::newRow("0") << 0 << "4 0 3 2,0";
    QTest::newRow("5") << 5 << "3 4 4 1,0";
    QTest::newRow("17") << 17 << "2 1 4 4,0";
    QTest::newRow("32") << 32 << "1 2 7 —";
    QTest::newRow("1") << 1 << "0 10 10 —";
}

void TestDepth::gapExample()
{
    QFETCH(int, number);
    QFETCH(QString, figures);
    // Lines that are no spins change nothing.
    HistoryDepth depth;
    depth.Assign(codesOf(QStringLiteral("0\n5\nзеро\n0\n17\n5\n\n5\n0\n32\n99\n17\n0\n")));
    QCOMPARE(text(depth.Figures(0).numbers[size_t(number)], 1), figures);
}

// Random edits, mostly near the end, with small checkpoints; the figures,
// asked for now and then, always equal those of the spins worked out afresh.
void TestDepth::editsKeepFiguresExact()
{
    QRandomGenerator random(21);
    HistoryDepth depth(7);
    SpinHistoryModel model(8);
    Codes lines{SpinHistoryModel::EmptyLine};
    depth.Assign(lines);
    model.Assign(lines);
    for (int step = 0; step < 3000; ++step) {
        const qint32 size = qint32(lines.size());
        const bool nearEnd = random.bounded(5) != 0;
        const qint32 first =
            nearEnd || size == 0 ? std::max(0, size - random.bounded(4)) : random.bounded(size);
        const qint32 removed = random.bounded(std::min(3, size - first) + 1);
        Codes codes(size_t(random.bounded(4)));
        for (quint8 &code : codes)
            code =
                random.bounded(8) == 0 ? SpinHistoryModel::OtherLine : quint8(random.bounded(37));
        depth.Replace(first, removed, codes);
        model.Replace(first, removed, codes);
        lines.erase(lines.begin() + first, lines.begin() + first + removed);
        lines.insert(lines.begin() + first, codes.begin(), codes.end());
        QCOMPARE(depth.SpinCount(), model.SpinCount());
        if (random.bounded(3) != 0) {
            depth.CatchUp(random.bounded(30)); // in slices, or not
            continue;
        }
        const Codes spins = spinsOf(lines);
        compareDepth(depth.Figures(0), spins);
        const int row = random.bounded(GroupRowCount);
        QCOMPARE(depth.GroupGapHistogram(row, 0), reference(spins, GroupMembers(row)).histogram);
        const qint32 span = SpanLengths[size_t(random.bounded(int(SpanLengths.size())))];
        const qsizetype count = qsizetype(spins.size());
        const Codes last(spins.end() - (span > 0 ? std::min<qsizetype>(span, count) : count),
                         spins.end());
        compareDepth(depth.Figures(span), last);
        QCOMPARE(depth.GroupGapHistogram(row, span), reference(last, GroupMembers(row)).histogram);
    }
    QVERIFY(depth.SpinCount() > 100);
}

void TestDepth::spans_data()
{
    QTest::addColumn<qint32>("span");
    QTest::addColumn<QString>("spins"); // the spins of the span, joined by "\n"
    // Blank lines, words, numbers off the wheel and " 7" (a spin of 7).
    QTest::newRow("all") << 0 << "3\n7\n26\n0\n26\n7\n15";
    QTest::newRow("3") << 3 << "26\n7\n15";
    QTest::newRow("5") << 5 << "26\n0\n26\n7\n15";
    QTest::newRow("more than there are") << 37 << "3\n7\n26\n0\n26\n7\n15";
}

void TestDepth::spans()
{
    QFETCH(qint32, span);
    QFETCH(QString, spins);
    HistoryDepth depth;
    depth.Assign(codesOf(QStringLiteral("3\n\n 7\nx\n26\n37\n0\n26\n-\n7\n15\n\n")));
    const Codes expected = spinsOf(codesOf(spins));
    const std::span<const quint8> last = depth.LastSpins(span);
    QCOMPARE(Codes(last.begin(), last.end()), expected);

    // The span's statistics are those of a history holding only its spins.
    const HistoryStatistics got = SpanStatistics(last, u"3");
    const HistoryStatistics want = ComputeStatistics(spins, u"3");
    QCOMPARE(got.spinCount, want.spinCount);
    QCOMPARE(got.occurrence, want.occurrence);
    QCOMPARE(got.absence, want.absence);
    QCOMPARE(got.missRuns, want.missRuns);
    QCOMPARE(got.statusText, want.statusText);
}

// Over a long fair history the gaps of red follow the expected counts.
void TestDepth::fairGapLengths()
{
    QRandomGenerator random(5);
    Codes spins(200000);
    for (quint8 &spin : spins)
        spin = quint8(random.bounded(WheelSize));
    const int red = 0;
    const std::vector<qint32> counts = GapHistogram(spins, GroupMembers(red));
    const qint32 hits = reference(spins, GroupMembers(red)).figures.hits;
    for (qint32 k = 0; k < 8; ++k) {
        const double expected = ExpectedGapCount(qint64(spins.size()), hits, k);
        QNEAR(counts[size_t(k)], expected, 4 * std::sqrt(expected));
    }
    // The counts themselves: exact fractions (Python's fractions.Fraction of
    // the same count); and over every placement of the hits in 14 spins,
    // gaps counted one by one (none with fewer than two hits).
    // "Игра в зеро" hit at spins 2, 30 and 35 of 37: (H - 1)(1 - q)q^k gave
    // 0,0013 and 0,38. A dozen with 22 hits in 100 spins: 0,019 before.
    const std::tuple<qint64, qint64, qint64, double> exact[] = {
        {37, 3, 27, 12.0 / 1295},
        {37, 3, 0, 6.0 / 37},
        {100, 22, 15, 7349431804.0 / 78425582035.0},
        {1000000, 27000, 100, 47.20404800584608}};
    for (const auto &[spins, hits, k, expected] : exact)
        QCLOSE(ExpectedGapCount(spins, hits, k), expected, 1e-9);
    constexpr quint32 Spins = 14;
    std::array<std::array<double, Spins>, Spins + 1> gaps{}; // by hits, then k
    std::array<double, Spins + 1> placements{};
    for (quint32 set = 0; set < 1u << Spins; ++set) {
        placements[size_t(std::popcount(set))] += 1;
        for (quint32 rest = set; std::popcount(rest) > 1; rest &= rest - 1)
            gaps[size_t(std::popcount(set))]
                [size_t(std::countr_zero(rest & (rest - 1)) - std::countr_zero(rest) - 1)] += 1;
    }
    for (qint64 hits = 0; hits <= Spins; ++hits)
        for (qint64 k = 0; k < Spins; ++k)
            QNEAR(ExpectedGapCount(Spins, hits, k),
                  gaps[size_t(hits)][size_t(k)] / placements[size_t(hits)], 1e-12);
}

void TestDepth::hottestArc_data()
{
    QTest::addColumn<QList<int>>("spins");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("chance");
    const double p3 = 3.0 / 37, p5 = 5.0 / 37;
    // 32, 15, 19 stand side by side right of zero.
    QTest::newRow("three neighbours")
        << QList<int>{32, 15, 19} << 1 << "15 ±1: 3 (ожидается 0,2)" << p3 * p3 * p3;
    // 26 stands left of zero: arcs round 0 and 26 both hold the two.
    QTest::newRow("tie across zero")
        << QList<int>{26, 0} << 1 << "0 ±1: 2 (ожидается 0,2)" << p3 * p3;
    // Five arcs hold 5: 23 comes first of their centres.
    QTest::newRow("one spin") << QList<int>{5} << 2 << "23 ±2: 1 (ожидается 0,1)" << p5;
    // Eleven side by side: nine arcs of 19 hold them all, the one round 0
    // first.
    QTest::newRow("nine neighbours") << QList<int>{3, 26, 0, 32, 15, 19, 4, 21, 2, 25, 17} << 9
                                     << "0 ±9: 11 (ожидается 5,6)" << std::pow(19.0 / 37, 11);
    QTest::newRow("no spins") << QList<int>{} << 2 << "—" << std::nan("");
}

void TestDepth::hottestArc()
{
    QFETCH(QList<int>, spins);
    QFETCH(int, width);
    QFETCH(QString, text);
    QFETCH(double, chance);
    std::array<qint32, WheelSize> occurrence{};
    for (const int spin : spins)
        ++occurrence[size_t(spin)];
    const HotArc arc = HottestArc(occurrence, width);
    QCOMPARE(HotArcText(arc), text);
    QCLOSE(arc.chance, chance, 1e-9);
}

void TestDepth::familyChanceAgreesWithIndependentSimulation_data()
{
    QTest::addColumn<qint32>("spins");
    QTest::addColumn<int>("width");
    QTest::addColumn<qint32>("hits");
    QTest::newRow("single pockets, spin by spin") << 37 << 0 << 4;
    QTest::newRow("single pockets, multinomial") << 2000 << 0 << 70;
    QTest::newRow("100 spins, width 2") << 100 << 2 << 22;
    QTest::newRow("2000 spins, width 1, multinomial") << 2000 << 1 << 190;
    QTest::newRow("5000 spins, width 9") << 5000 << 9 << 2640;
}

void TestDepth::familyChanceAgreesWithIndependentSimulation()
{
    QFETCH(qint32, spins);
    QFETCH(int, width);
    QFETCH(qint32, hits);
    const auto simulation = SimulateLargestArc(spins, width);
    QVERIFY(simulation);
    const SimulatedChance got = LargestArcChance(*simulation, hits);
    QCOMPARE(got.histories, ArcSimulationHistories);
    QVERIFY(got.estimate > 0.02 && got.estimate < 0.98); // a test with teeth
    QCOMPARE(SimulateLargestArc(spins, width)->largest, simulation->largest);

    const qint32 histories = std::max(400, 4'000'000 / spins);
    const double other = independentFamilyChance(spins, width, hits, histories);
    // Three standard errors of the difference; the draws are fixed, so the
    // outcome is too.
    const double spread = std::sqrt(got.estimate * (1 - got.estimate) / got.histories +
                                    other * (1 - other) / histories);
    QNEAR(got.estimate, other, 3 * spread);
    // Arcs of one pocket are the numbers: the chance that the largest of the
    // 37 counts reaches `hits` is known exactly, and lies within the
    // estimate's own 95 % error.
    if (width == 0)
        QNEAR(got.estimate, LargestCountAtLeastChance(spins, hits), got.error);

    const std::atomic_bool stop = true;
    QVERIFY(!SimulateLargestArc(spins, width, &stop));
}

void TestDepth::simulatedChanceText_data()
{
    QTest::addColumn<qint32>("reached");
    QTest::addColumn<qint32>("hits");
    QTest::addColumn<QString>("text");
    QTest::newRow("12 %") << 2400 << 50 << "12 % ± 0,5 %";
    QTest::newRow("half") << 10000 << 50 << "50 % ± 0,7 %";
    QTest::newRow("none") << 0 << 50 << "0 % ± 0,01 %";
    // Above 99 % the chance reads "> 99 %" alone, as the window's format.
    QTest::newRow("every one") << 20000 << 50 << "> 99 %";
    QTest::newRow("99,5 %") << 19900 << 50 << "> 99 %";
    QTest::newRow("99,4 %") << 19880 << 50 << "99 % ± 0,1 %";
    // 100 spins give an arc of three 8,1 hits on the mean: 8 is certain.
    QTest::newRow("certain") << 0 << 8 << "> 99 %";
}

void TestDepth::simulatedChanceText()
{
    QFETCH(qint32, reached);
    QFETCH(qint32, hits);
    QFETCH(QString, text);
    ArcSimulation simulation{100, 1, std::vector<qint32>(20000, 0)};
    std::fill(simulation.largest.end() - reached, simulation.largest.end(), 60);
    QCOMPARE(FormatSimulatedChance(LargestArcChance(simulation, hits)), text);
}

void TestDepth::simulatorFollowsTheLatestRequest()
{
    ArcSimulator simulator;
    QSignalSpy finished(&simulator, &ArcSimulator::Finished);
    simulator.Request(300, 4);
    simulator.Request(20000, 3); // stops the first run
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.count(), 1);
    QVERIFY(!simulator.Running());
    QVERIFY(simulator.Result(300, 4) == nullptr);
    QCOMPARE(simulator.Result(20000, 3)->largest, SimulateLargestArc(20000, 3)->largest);
    simulator.Request(20000, 3); // already there
    QVERIFY(!simulator.Running());
    simulator.Request(50, 2); // left running: the simulator waits for it as it goes
}

QTEST_GUILESS_MAIN(TestDepth)
#include "tst_depth.moc"
