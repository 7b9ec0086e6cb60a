#include "analysis/RiskColours.h"
#include "settings/WindowOptions.h"

#include <QTest>

#include <cstdlib>
#include <map>
#include <tuple>
#include <utility>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

constexpr auto Grey = IndicatorPicture::Grey;
constexpr auto Yellow = IndicatorPicture::Yellow;
constexpr auto Green = IndicatorPicture::Green;

struct Boundaries
{
    int lo1, hi1, lo2, hi2;
};

// Checks one plan: the copies come in the six runs (grey 1-6, grey 7-12,
// yellow 1-6, yellow 7-12, green 1-6, green 7-12), levels ascending outside
// and groups ascending inside; every image of the grid is reached and ends
// with the picture of its level. Returns an empty text or the first fault.
QString PlanFault(const QList<IndicatorCopy> &plan, const Boundaries &b, bool expectEachOnce)
{
    std::map<std::pair<int, int>, IndicatorPicture> last;
    std::tuple<int, int, int> previousKey{-1, 0, 0};
    for (const IndicatorCopy &copy : plan) {
        if (copy.group < 1 || copy.group > 12 || copy.level < 1 || copy.level > 10)
            return QStringLiteral("copy to %1/%2 is off the grid").arg(copy.group).arg(copy.level);
        const bool of12 = copy.group >= 7;
        const int run = 2 * int(copy.picture) + (of12 ? 1 : 0);
        const std::tuple<int, int, int> key{run, copy.level, copy.group};
        if (!(previousKey < key))
            return QStringLiteral("copy to %1/%2 out of order").arg(copy.group).arg(copy.level);
        previousKey = key;
        const auto [it, fresh] = last.insert_or_assign({copy.group, copy.level}, copy.picture);
        if (!fresh && expectEachOnce)
            return QStringLiteral("image %1/%2 copied twice").arg(copy.group).arg(copy.level);
    }
    if (last.size() != 120)
        return QStringLiteral("%1 images reached").arg(last.size());
    for (const auto &[image, picture] : last) {
        const bool of12 = image.first >= 7;
        const auto expected =
            PictureForLevel(image.second, of12 ? b.lo2 : b.lo1, of12 ? b.hi2 : b.hi1);
        if (picture != expected)
            return QStringLiteral("image %1/%2 ends %3, not %4")
                .arg(image.first)
                .arg(image.second)
                .arg(int(picture))
                .arg(int(expected));
    }
    return QString();
}

// The nearest integer to position * 255 / 100 found by search, ties to even.
int NearestAlpha(int position)
{
    int best = 0;
    for (int a = 1; a <= 255; ++a) {
        const int distance = std::abs(100 * a - 255 * position);
        const int bestDistance = std::abs(100 * best - 255 * position);
        if (distance < bestDistance || (distance == bestDistance && a % 2 == 0))
            best = a;
    }
    return best;
}

} // namespace

Q_DECLARE_METATYPE(IndicatorPicture)

class TestOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureForLevel_data();
    void pictureForLevel();
    void pictureForRun_data();
    void pictureForRun();
    void planForEveryOrderedBoundaryPair();
    void planOrder_data();
    void planOrder();
    void planWithCrossedBoundaries();

    void alphaFromPercent_data();
    void alphaFromPercent();
    void opacityCaption_data();
    void opacityCaption();
};

void TestOptions::pictureForLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<IndicatorPicture>("expected");

    QTest::newRow("2/8 level 1") << 1 << 2 << 8 << Grey;
    QTest::newRow("2/8 level 2") << 2 << 2 << 8 << Grey;
    QTest::newRow("2/8 level 3") << 3 << 2 << 8 << Yellow;
    QTest::newRow("2/8 level 8") << 8 << 2 << 8 << Yellow;
    QTest::newRow("2/8 level 9") << 9 << 2 << 8 << Green;
    QTest::newRow("2/8 level 10") << 10 << 2 << 8 << Green;
    QTest::newRow("5/8 level 5") << 5 << 5 << 8 << Grey;
    QTest::newRow("5/8 level 6") << 6 << 5 << 8 << Yellow;
    QTest::newRow("lower 0: no grey") << 1 << 0 << 8 << Yellow;
    QTest::newRow("equal: no yellow, below") << 4 << 4 << 4 << Grey;
    QTest::newRow("equal: no yellow, above") << 5 << 4 << 4 << Green;
    QTest::newRow("upper 10: no green") << 10 << 2 << 10 << Yellow;
    QTest::newRow("0/0 all green") << 1 << 0 << 0 << Green;
    QTest::newRow("10/10 all grey") << 10 << 10 << 10 << Grey;
    QTest::newRow("crossed 5/3, between") << 4 << 5 << 3 << Green;
    QTest::newRow("crossed 5/3, below both") << 3 << 5 << 3 << Grey;
}

void TestOptions::pictureForLevel()
{
    QFETCH(int, level);
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(IndicatorPicture, expected);
    QCOMPARE(PictureForLevel(level, lower, upper), expected);
}

// The colour a row ends with: its last ball's, the tenth for longer runs.
void TestOptions::pictureForRun_data()
{
    QTest::addColumn<qint64>("run");
    QTest::addColumn<int>("upper");
    QTest::addColumn<int>("expected"); // -1: no ball

    QTest::newRow("no run") << qint64(0) << 8 << -1;
    QTest::newRow("grey") << qint64(2) << 8 << int(Grey);
    QTest::newRow("yellow") << qint64(3) << 8 << int(Yellow);
    QTest::newRow("green beyond ten") << qint64(250) << 8 << int(Green);
    QTest::newRow("no green level, beyond ten") << qint64(250) << 10 << int(Yellow);
}

void TestOptions::pictureForRun()
{
    QFETCH(qint64, run);
    QFETCH(int, upper);
    QFETCH(int, expected);
    const auto picture = PictureForRun(run, 2, upper);
    QCOMPARE(picture ? int(*picture) : -1, expected);
}

void TestOptions::planForEveryOrderedBoundaryPair()
{
    // Every state the slider coupling allows (including the start-up 2 8, no
    // grey, no yellow and no green), for both sets at once.
    for (int lo1 = 0; lo1 <= 10; ++lo1) {
        for (int hi1 = lo1; hi1 <= 10; ++hi1) {
            for (int lo2 = 0; lo2 <= 10; ++lo2) {
                for (int hi2 = lo2; hi2 <= 10; ++hi2) {
                    const auto plan = RiskColourPlan(lo1, hi1, lo2, hi2);
                    const QString fault = PlanFault(plan, {lo1, hi1, lo2, hi2}, true);
                    if (plan.size() != 120 || !fault.isEmpty())
                        QFAIL(qPrintable(QStringLiteral("%1 %2 / %3 %4: %5 copies; %6")
                                             .arg(lo1)
                                             .arg(hi1)
                                             .arg(lo2)
                                             .arg(hi2)
                                             .arg(plan.size())
                                             .arg(fault)));
                }
            }
        }
    }
}

void TestOptions::planOrder_data()
{
    QTest::addColumn<int>("lo1");
    QTest::addColumn<int>("hi1");
    QTest::addColumn<int>("lo2");
    QTest::addColumn<int>("hi2");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("level");
    QTest::addColumn<IndicatorPicture>("picture");

    // 2 8 / 2 8: grey 1-6 (12 copies), grey 7-12 (12), yellow 1-6 (36),
    // yellow 7-12 (36), green 1-6 (12), green 7-12 (12).
    QTest::newRow("first copy") << 2 << 8 << 2 << 8 << 0 << 1 << 1 << Grey;
    QTest::newRow("groups inside") << 2 << 8 << 2 << 8 << 5 << 6 << 1 << Grey;
    QTest::newRow("then next level") << 2 << 8 << 2 << 8 << 6 << 1 << 2 << Grey;
    QTest::newRow("grey of 12/37 second") << 2 << 8 << 2 << 8 << 12 << 7 << 1 << Grey;
    QTest::newRow("yellow starts at 3") << 2 << 8 << 2 << 8 << 24 << 1 << 3 << Yellow;
    QTest::newRow("yellow of 12/37") << 2 << 8 << 2 << 8 << 60 << 7 << 3 << Yellow;
    QTest::newRow("green of 18/37") << 2 << 8 << 2 << 8 << 96 << 1 << 9 << Green;
    QTest::newRow("last copy") << 2 << 8 << 2 << 8 << 119 << 12 << 10 << Green;
    QTest::newRow("no grey: yellow first") << 0 << 8 << 0 << 8 << 0 << 1 << 1 << Yellow;
    QTest::newRow("only green") << 0 << 0 << 0 << 0 << 6 << 1 << 2 << Green;
    QTest::newRow("12/37 green after 18/37") << 0 << 0 << 0 << 0 << 60 << 7 << 1 << Green;
}

void TestOptions::planOrder()
{
    QFETCH(int, lo1);
    QFETCH(int, hi1);
    QFETCH(int, lo2);
    QFETCH(int, hi2);
    QFETCH(int, index);
    QFETCH(int, group);
    QFETCH(int, level);
    QFETCH(IndicatorPicture, picture);

    const auto plan = RiskColourPlan(lo1, hi1, lo2, hi2);
    QVERIFY(index < plan.size());
    QCOMPARE(plan[index], (IndicatorCopy{group, level, picture}));
}

void TestOptions::planWithCrossedBoundaries()
{
    // Sliders keep lo <= hi; should a pair ever cross, levels between the two
    // get grey first and green last, and the plan stays on the grid.
    const auto crossed = RiskColourPlan(5, 3, 2, 8);
    QCOMPARE(crossed.size(), 120 + 2 * 6);
    QList<IndicatorPicture> level4;
    for (const IndicatorCopy &copy : crossed) {
        if (copy.group == 1 && copy.level == 4)
            level4.append(copy.picture);
    }
    QCOMPARE(level4, (QList<IndicatorPicture>{Grey, Green}));
    const QString fault = PlanFault(crossed, {5, 3, 2, 8}, false);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));

    // Boundaries beyond 0..10 never address images that do not exist.
    const auto wide = RiskColourPlan(-3, 12, 0, 15);
    QCOMPARE(wide.size(), 120);
    const QString wideFault = PlanFault(wide, {-3, 12, 0, 15}, true);
    QVERIFY2(wideFault.isEmpty(), qPrintable(wideFault));
}

void TestOptions::alphaFromPercent_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("expected");

    // The values the transparency slider is known to give.
    const std::pair<int, int> known[] = {{20, 51},  {30, 76},  {40, 102}, {50, 128}, {60, 153},
                                         {70, 178}, {80, 204}, {90, 230}, {100, 255}};
    for (const auto &[position, alpha] : known)
        QTest::addRow("known %d", position) << position << alpha;
    // Every slider position against the nearest value found by search.
    for (int position = 20; position <= 100; ++position)
        QTest::addRow("position %d", position) << position << NearestAlpha(position);
    QTest::newRow("half below the slider: 10 -> 25.5") << 10 << 26;
    QTest::newRow("zero") << 0 << 0;
}

void TestOptions::alphaFromPercent()
{
    QFETCH(int, position);
    QFETCH(int, expected);
    QCOMPARE(AlphaFromPercent(position), expected);
}

void TestOptions::opacityCaption_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lowest") << 20 << u"20%"_s;
    QTest::newRow("middle") << 55 << u"55%"_s;
    QTest::newRow("highest") << 100 << u"100%"_s;
}

void TestOptions::opacityCaption()
{
    QFETCH(int, position);
    QFETCH(QString, expected);
    QCOMPARE(OpacityCaption(position), expected);
}

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
