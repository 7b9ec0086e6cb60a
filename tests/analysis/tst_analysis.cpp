#include "analysis/NumberClasses.h"
#include "analysis/SpinHistoryModel.h"
#include "analysis/Statistics.h"

#include <QRandomGenerator>

#include <QTest>

using namespace trevolo;

namespace {

using Predicate = bool (*)(qint32) noexcept;

struct NamedPredicate
{
    const char *name;
    Predicate test;
};

constexpr NamedPredicate Predicates[] = {
    {"IsRed", IsRed},         {"IsBlack", IsBlack},     {"IsEven", IsEven},
    {"IsOdd", IsOdd},         {"IsLow", IsLow},         {"IsHigh", IsHigh},
    {"InDozen1", InDozen1},   {"InDozen2", InDozen2},   {"InDozen3", InDozen3},
    {"InColumn1", InColumn1}, {"InColumn2", InColumn2}, {"InColumn3", InColumn3},
};

// The predicates' answers as a string of twelve 0/1 characters, in group order.
QString answers(qint32 n)
{
    QString s;
    for (const auto &p : Predicates)
        s += p.test(n) ? u'1' : u'0';
    return s;
}

QString history(std::initializer_list<const char *> lines, const char *separator = "\n")
{
    QStringList list;
    for (const char *line : lines)
        list << QString::fromUtf8(line);
    return list.join(QString::fromUtf8(separator));
}

} // namespace

class TestAnalysis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void predicates_data();
    void predicates();
    void everyWheelNumberFallsInOneOfEachPair();
    void isNotChosen();

    void statistics_data();
    void statistics();
    void workedExample();
    void nearestNumbers_data();
    void nearestNumbers();
    void badThreshold();
    void runsMatchAStepByStepRecount();
    void modelFollowsLineEdits();
};

void TestAnalysis::predicates_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected"); // red black even odd low high d1 d2 d3 c1 c2 c3

    QTest::newRow("0") << 0 << "111111111111";
    QTest::newRow("1") << 1 << "100110100100";
    QTest::newRow("2") << 2 << "011010100010";
    QTest::newRow("12") << 12 << "101010100001";
    QTest::newRow("13") << 13 << "010110010100";
    QTest::newRow("18") << 18 << "101010010001";
    QTest::newRow("19") << 19 << "100101010100";
    QTest::newRow("24") << 24 << "011001010001";
    QTest::newRow("25") << 25 << "100101001100";
    QTest::newRow("36") << 36 << "101001001001";
    QTest::newRow("37") << 37 << "000101001000";
    QTest::newRow("39") << 39 << "000101001000";
    QTest::newRow("-3") << -3 << "000010100000";
    QTest::newRow("-2") << -2 << "001010100000";
    QTest::newRow("min") << int(-2147483648LL) << "001010100000";
    QTest::newRow("max") << 2147483647 << "000101001000";
}

void TestAnalysis::predicates()
{
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(answers(n), expected);
}

void TestAnalysis::everyWheelNumberFallsInOneOfEachPair()
{
    const QString red = QStringLiteral("1,3,5,7,9,12,14,16,18,19,21,23,25,27,30,32,34,36");
    QSet<int> reds;
    for (const auto &part : red.split(u','))
        reds.insert(part.toInt());

    for (int n = 1; n <= 36; ++n) {
        QVERIFY2(IsRed(n) != IsBlack(n), qPrintable(QString::number(n)));
        QCOMPARE(IsRed(n), reds.contains(n));
        QVERIFY(IsEven(n) != IsOdd(n));
        QVERIFY(IsLow(n) != IsHigh(n));
        QCOMPARE(int(InDozen1(n)) + int(InDozen2(n)) + int(InDozen3(n)), 1);
        QCOMPARE(int(InColumn1(n)) + int(InColumn2(n)) + int(InColumn3(n)), 1);
        QCOMPARE(InDozen1(n), n <= 12);
        QCOMPARE(InColumn1(n), n % 3 == 1);
        QCOMPARE(InColumn3(n), n % 3 == 0);
        QCOMPARE(std::popcount(CombinationsOf(n)), 5);
    }
    QCOMPARE(CombinationsOf(0), quint16(0));
}

void TestAnalysis::isNotChosen()
{
    NearestSlots empty{-1, -1, -1, -1, -1};
    for (int n = 0; n <= 36; ++n)
        QVERIFY(IsNotChosen(n, empty));
    NearestSlots withSeven{3, -1, 7, -1, -1};
    QVERIFY(!IsNotChosen(7, withSeven));
    QVERIFY(!IsNotChosen(3, withSeven));
    QVERIFY(IsNotChosen(0, withSeven));
    QVERIFY(!IsNotChosen(-1, withSeven));
}

void TestAnalysis::statistics_data()
{
    // Miss runs, in group order, as a comma list; then a few absences.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("runs");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("absenceOfZero");
    QTest::addColumn<int>("absenceOfSeven");
    QTest::addColumn<int>("occurrenceOfSeven");

    QTest::newRow("empty") << QString() << "0,0,0,0,0,0,0,0,0,0,0,0" << 0 << 0 << 0 << 0;
    QTest::newRow("one zero") << "0"
                              << "1,1,1,1,1,1,1,1,1,1,1,1" << 1 << 0 << 1 << 0;
    QTest::newRow("zero lengthens every run")
        << history({"7", "0"}) << "1,2,2,1,1,2,1,2,2,1,2,2" << 2 << 0 << 1 << 1;
    QTest::newRow("twelve zeros") << history({"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                                              "0"})
                                  << "12,12,12,12,12,12,12,12,12,12,12,12" << 12 << 0 << 12 << 0;
    QTest::newRow("skipped lines break no run") << history({"7", "", "abc", "7 ", "  ", "x"})
                                                << "0,1,1,0,0,1,0,1,1,0,1,1" << 6 << 1 << 0 << 1;
    QTest::newRow("leading blanks and plus count")
        << history({"  7", "+7"}) << "0,2,2,0,0,2,0,2,2,0,2,2" << 2 << 2 << 0 << 2;
    QTest::newRow("hex counts") << history({"$7"}) << "0,1,1,0,0,1,0,1,1,0,1,1" << 1 << 1 << 0 << 1;
    QTest::newRow("outside the wheel is skipped") << history({"7", "37", "-3", "40", "2147483647"})
                                                  << "0,1,1,0,0,1,0,1,1,0,1,1" << 5 << 1 << 0 << 1;
    QTest::newRow("CR LF lines") << history({"7", "0", ""}, "\r\n") << "1,2,2,1,1,2,1,2,2,1,2,2"
                                 << 2 << 0 << 1 << 1;
    QTest::newRow("lone CR lines")
        << history({"7", "0"}, "\r") << "1,2,2,1,1,2,1,2,2,1,2,2" << 2 << 0 << 1 << 1;
    QTest::newRow("final break not a line")
        << history({"7", ""}) << "0,1,1,0,0,1,0,1,1,0,1,1" << 1 << 1 << 0 << 1;
    QTest::newRow("blank lines count")
        << history({"", "", "7"}) << "0,1,1,0,0,1,0,1,1,0,1,1" << 3 << 1 << 0 << 1;
}

void TestAnalysis::statistics()
{
    QFETCH(QString, text);
    QFETCH(QString, runs);
    QFETCH(int, lines);
    QFETCH(int, absenceOfZero);
    QFETCH(int, absenceOfSeven);
    QFETCH(int, occurrenceOfSeven);

    const auto s = ComputeStatistics(text, u"170");
    QStringList got;
    for (int g = 1; g <= CombinationCount; ++g)
        got << QString::number(s.missRuns[g]);
    QCOMPARE(got.join(u','), runs);
    QCOMPARE(s.lineCount, lines);
    QCOMPARE(s.absence[0], absenceOfZero);
    QCOMPARE(s.absence[7], absenceOfSeven);
    QCOMPARE(s.occurrence[7], occurrenceOfSeven);
    int total = 0;
    for (int n = 0; n < WheelSize; ++n)
        total += s.occurrence[n];
    QVERIFY(total <= lines);
    QCOMPARE(s.spinCount, total);
}

void TestAnalysis::workedExample()
{
    const auto s = ComputeStatistics(history({"5", "0", "32"}), u"3");
    const qint32 runs[13] = {0, 0, 3, 0, 2, 2, 0, 2, 3, 0, 3, 0, 3};
    for (int g = 1; g <= CombinationCount; ++g)
        QCOMPARE(s.missRuns[g], runs[g]);
    for (int n = 0; n < WheelSize; ++n) {
        const int expected = n == 32 ? 0 : n == 0 ? 1 : n == 5 ? 2 : 3;
        QCOMPARE(s.absence[n], expected);
        QCOMPARE(s.occurrence[n], (n == 5 || n == 0 || n == 32) ? 1 : 0);
        QCOMPARE(s.alarm[n], expected >= 3);
    }
    QCOMPARE(s.nearest, (NearestSlots{1, 2, 3, 4, 6}));
    QVERIFY(s.thresholdValid);
    QCOMPARE(s.statusText, QStringLiteral("Ближайшее число: 1 (3), 2 (3), 3 (3), 4 (3), 6 (3)"));
    QCOMPARE(s.lineCount, 3);
}

void TestAnalysis::nearestNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("boldCount");

    QTest::newRow("empty, 170") << QString() << "170"
                                << "Ближайшее число: " << 0;
    QTest::newRow("empty, 0") << QString() << "0"
                              << "Ближайшее число: 0 (0), 1 (0), 2 (0), 3 (0), 4 (0)" << 37;
    QTest::newRow("threshold equal to a counter")
        << history({"5", "0", "32"}) << "2"
        << "Ближайшее число: 1 (3), 2 (3), 3 (3), 4 (3), 6 (3)" << 35;
    QTest::newRow("only a leading run qualifies")
        << history({"1", "2", "3", "1", "2", "1"}) << "5"
        << "Ближайшее число: 0 (6), 4 (6), 5 (6), 6 (6), 7 (6)" << 34;
    QTest::newRow("partial run") << history({"1",  "2",  "3",  "4",  "0",  "5",  "6",  "7",
                                             "8",  "9",  "10", "11", "12", "13", "14", "15",
                                             "16", "17", "18", "19", "20", "21", "22", "23",
                                             "24", "25", "26", "27", "28", "29", "30", "31",
                                             "32", "33", "34", "35", "36"})
                                 << "33"
                                 << "Ближайшее число: 1 (36), 2 (35), 3 (34), 4 (33)" << 4;
    QTest::newRow("negative threshold")
        << history({"7"}) << "-1"
        << "Ближайшее число: 0 (1), 1 (1), 2 (1), 3 (1), 4 (1)" << 37;
    QTest::newRow("hex threshold") << history({"7"}) << "$1"
                                   << "Ближайшее число: 0 (1), 1 (1), 2 (1), 3 (1), 4 (1)" << 36;
}

void TestAnalysis::nearestNumbers()
{
    QFETCH(QString, text);
    QFETCH(QString, threshold);
    QFETCH(QString, status);
    QFETCH(int, boldCount);

    const auto s = ComputeStatistics(text, threshold);
    QVERIFY(s.thresholdValid);
    QCOMPARE(s.statusText, status);
    QCOMPARE(int(std::count(s.alarm.begin(), s.alarm.end(), true)), boldCount);
    // The slots are ordered by absence, ties by number.
    for (int k = 1; k < int(s.nearest.size()); ++k) {
        const auto a = s.nearest[k - 1], b = s.nearest[k];
        QVERIFY(s.absence[a] > s.absence[b] || (s.absence[a] == s.absence[b] && a < b));
    }
}

void TestAnalysis::badThreshold()
{
    for (const QString &threshold :
         {QString(), QStringLiteral("abc"), QStringLiteral("17 "), QStringLiteral("99999999999")}) {
        const auto s = ComputeStatistics(history({"5", "0", "32"}), threshold);
        QVERIFY(!s.thresholdValid);
        QVERIFY(s.statusText.isEmpty());
        // The counts and runs do not depend on the threshold.
        QCOMPARE(s.missRuns[Black], 3);
        QCOMPARE(s.absence[5], 2);
        QCOMPARE(s.lineCount, 3);
    }
}

// The engine keeps last positions instead of counting step by step; compare
// it with a direct replay of the per-spin rule on pseudo-random histories
// that mix in lines that are not spins.
void TestAnalysis::runsMatchAStepByStepRecount()
{
    quint32 state = 12345;
    auto next = [&state](quint32 bound) {
        state = state * 134775813u + 1u;
        return quint32((quint64(state) * bound) >> 32);
    };
    for (int round = 0; round < 50; ++round) {
        QStringList lines;
        std::array<qint32, 13> runs{};
        std::array<qint32, 37> absence{};
        std::array<qint32, 37> occurrence{};
        const int count = int(next(300));
        for (int i = 0; i < count; ++i) {
            const quint32 kind = next(10);
            if (kind == 0) {
                lines << QStringLiteral("x");
                continue;
            }
            if (kind == 1) {
                lines << QStringLiteral("41");
                continue;
            }
            const int n = int(next(37));
            lines << QString::number(n);
            for (int g = 1; g <= CombinationCount; ++g) {
                const bool holds = n != 0 && Predicates[g - 1].test(n);
                runs[g] = holds ? 0 : runs[g] + 1;
            }
            for (int m = 0; m < 37; ++m)
                absence[m] = m == n ? 0 : absence[m] + 1;
            ++occurrence[n];
        }
        const auto s = ComputeStatistics(lines.join(u'\n'), u"10");
        for (int g = 1; g <= CombinationCount; ++g)
            QCOMPARE(s.missRuns[g], runs[g]);
        for (int m = 0; m < 37; ++m) {
            QCOMPARE(s.absence[m], absence[m]);
            QCOMPARE(s.occurrence[m], occurrence[m]);
        }
        QCOMPARE(s.lineCount, count);
    }
}

void TestAnalysis::modelFollowsLineEdits()
{
    // Small chunks, so edits split, merge and empty them all the time; the
    // model is checked against the full pass over the same lines.
    SpinHistoryModel model(8);
    QStringList lines{QString()};
    model.SetText(QString());
    QRandomGenerator random(7);
    const QString words[] = {QString(), QStringLiteral("x"), QStringLiteral("37"),
                             QStringLiteral(" 5"), QStringLiteral("0x10")};
    for (int edit = 0; edit < 3000; ++edit) {
        const int first = int(random.bounded(lines.size() + 1));
        const int removed = int(random.bounded(qMin<qsizetype>(lines.size() - first, 60) + 1));
        QStringList added;
        const int count = int(random.bounded(random.bounded(8) == 0 ? 200 : 4));
        for (int i = 0; i < count; ++i)
            added << (random.bounded(5) == 0 ? words[random.bounded(5)]
                                             : QString::number(random.bounded(37)));
        std::vector<quint8> codes;
        for (const QString &line : added)
            codes.push_back(SpinHistoryModel::CodeOfLine(line));
        model.Replace(first, removed, codes);
        lines.remove(first, removed);
        for (int i = 0; i < added.size(); ++i)
            lines.insert(first + i, added[i]);

        QCOMPARE(model.size(), lines.size());
        const auto expected = ComputeStatistics(lines.join(u'\n'), u"2");
        const auto actual = model.Statistics(u"2");
        QCOMPARE(actual.lineCount, expected.lineCount);
        QCOMPARE(actual.spinCount, expected.spinCount);
        QCOMPARE(actual.absence, expected.absence);
        QCOMPARE(actual.occurrence, expected.occurrence);
        QCOMPARE(actual.missRuns, expected.missRuns);
        QCOMPARE(actual.nearest, expected.nearest);
        QCOMPARE(actual.statusText, expected.statusText);
    }
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
