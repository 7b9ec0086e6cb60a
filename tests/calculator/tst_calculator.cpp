#include "calculator/StakeProgression.h"
#include "common/IntegerText.h"

#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<qint32>)

namespace {

constexpr std::optional<qint32> Fails = std::nullopt;

// The calculator tab as field texts: eight stakes and the sum.
struct Fields
{
    QStringList stakes = QStringList(StakeCount, u"?"_s);
    QString sum = u"?"_s;
};

// Recalculates as the window does: the series' texts copied into the
// fields. Returns the 1-based stake whose step failed (9 for the sum), or 0.
int Recalculate(Fields &fields, const QString &minimum, const QString &multiplier)
{
    const StakeSeries series = ComputeStakeSeries(minimum, multiplier);
    for (qsizetype k = 0; k < series.stakes.size(); ++k)
        fields.stakes[k] = series.stakes[k];
    if (series.stakes.size() < StakeCount)
        return int(series.stakes.size()) + 1;
    if (!series.sum)
        return StakeCount + 1;
    fields.sum = IntToStr(*series.sum);
    return 0;
}

} // namespace

class TestCalculator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nextStake_data();
    void nextStake();
    void stakeSum_data();
    void stakeSum();
    void series_data();
    void series();
};

void TestCalculator::nextStake_data()
{
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("multiplier");
    QTest::addColumn<std::optional<qint32>>("expected");

    QTest::newRow("defaults") << u"5"_s << u"3"_s << std::optional<qint32>(15);
    QTest::newRow("leading blank kept in field") << u" 7"_s << u"3"_s << std::optional<qint32>(21);
    QTest::newRow("hex minimum") << u"$A"_s << u"2"_s << std::optional<qint32>(20);
    QTest::newRow("hex pattern -1") << u"0xFFFFFFFF"_s << u"5"_s << std::optional<qint32>(-5);
    QTest::newRow("negative") << u"-5"_s << u"3"_s << std::optional<qint32>(-15);
    QTest::newRow("multiplier zero") << u"5"_s << u"0"_s << std::optional<qint32>(0);
    QTest::newRow("multiplier one") << u"5"_s << u"1"_s << std::optional<qint32>(5);
    QTest::newRow("trailing blank") << u"5 "_s << u"3"_s << Fails;
    QTest::newRow("empty stake") << QString() << u"3"_s << Fails;
    QTest::newRow("empty multiplier") << u"5"_s << QString() << Fails;
    QTest::newRow("letters") << u"abc"_s << u"3"_s << Fails;
    QTest::newRow("unfinished sign") << u"5"_s << u"-"_s << Fails;
    QTest::newRow("minimum above range") << u"2147483648"_s << u"1"_s << Fails;
    QTest::newRow("multiplier above range") << u"1"_s << u"2147483648"_s << Fails;
    QTest::newRow("largest product")
        << u"2147483647"_s << u"1"_s << std::optional<qint32>(2147483647);
    QTest::newRow("smallest product")
        << u"-65536"_s << u"32768"_s << std::optional<qint32>(-2147483647 - 1);
    QTest::newRow("2^31 overflows") << u"65536"_s << u"32768"_s << Fails;
    QTest::newRow("min times -1 overflows") << u"-2147483648"_s << u"-1"_s << Fails;
    QTest::newRow("stake 7 of m=100 r=20") << u"320000000"_s << u"20"_s << Fails;
    QTest::newRow("far out of range") << u"2147483647"_s << u"2147483647"_s << Fails;
}

void TestCalculator::nextStake()
{
    QFETCH(QString, previous);
    QFETCH(QString, multiplier);
    QFETCH(std::optional<qint32>, expected);
    QCOMPARE(NextStake(previous, multiplier), expected);
}

void TestCalculator::stakeSum_data()
{
    QTest::addColumn<QStringList>("stakes");
    QTest::addColumn<std::optional<qint32>>("expected");

    QTest::newRow("defaults") << QStringList{u"5"_s,   u"15"_s,   u"45"_s,   u"135"_s,
                                             u"405"_s, u"1215"_s, u"3645"_s, u"10935"_s}
                              << std::optional<qint32>(16400);
    QTest::newRow("first field as typed")
        << QStringList{u" 05"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s}
        << std::optional<qint32>(40);
    QTest::newRow("bad first field")
        << QStringList{u"5 "_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s} << Fails;
    QTest::newRow("bad last field")
        << QStringList{u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"x"_s} << Fails;
    QTest::newRow("sum reaches the top")
        << QStringList{u"2147483640"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s}
        << std::optional<qint32>(2147483647);
    QTest::newRow("sum one past the top")
        << QStringList{u"2147483641"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s}
        << Fails;
    QTest::newRow("sum below the bottom")
        << QStringList{u"-2147483648"_s, u"-1"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s}
        << Fails;
    QTest::newRow("passes the top and comes back")
        << QStringList{u"2147483647"_s, u"2147483647"_s, u"-2147483648"_s, u"-2147483648"_s,
                       u"1"_s,          u"0"_s,          u"0"_s,           u"0"_s}
        << std::optional<qint32>(-1);
    QTest::newRow("eight maximal stakes") << QStringList(StakeCount, u"2147483647"_s) << Fails;
}

void TestCalculator::stakeSum()
{
    QFETCH(QStringList, stakes);
    QFETCH(std::optional<qint32>, expected);
    QCOMPARE(StakeSum(stakes), expected);
}

void TestCalculator::series_data()
{
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("multiplier");
    QTest::addColumn<int>("failedStep");
    QTest::addColumn<QStringList>("stakes");
    QTest::addColumn<QString>("sum");

    const QString untouched = u"?"_s;
    QTest::newRow("m=5 r=3") << u"5"_s << u"3"_s << 0
                             << QStringList{u"5"_s,   u"15"_s,   u"45"_s,   u"135"_s,
                                            u"405"_s, u"1215"_s, u"3645"_s, u"10935"_s}
                             << u"16400"_s;
    QTest::newRow("m=10 r=2") << u"10"_s << u"2"_s << 0
                              << QStringList{u"10"_s,  u"20"_s,  u"40"_s,  u"80"_s,
                                             u"160"_s, u"320"_s, u"640"_s, u"1280"_s}
                              << u"2550"_s;
    QTest::newRow("m=-5 r=3") << u"-5"_s << u"3"_s << 0
                              << QStringList{u"-5"_s,   u"-15"_s,   u"-45"_s,   u"-135"_s,
                                             u"-405"_s, u"-1215"_s, u"-3645"_s, u"-10935"_s}
                              << u"-16400"_s;
    QTest::newRow("r=0") << u"7"_s << u"0"_s << 0 << QStringList{u"7"_s, u"0"_s, u"0"_s, u"0"_s,
                                                                 u"0"_s, u"0"_s, u"0"_s, u"0"_s}
                         << u"7"_s;
    QTest::newRow("r=1") << u"9"_s << u"1"_s << 0 << QStringList(StakeCount, u"9"_s) << u"72"_s;
    QTest::newRow("hex minimum kept as typed")
        << u"$A"_s << u"2"_s << 0
        << QStringList{u"$A"_s, u"20"_s, u"40"_s, u"80"_s, u"160"_s, u"320"_s, u"640"_s, u"1280"_s}
        << u"2550"_s;
    QTest::newRow("empty minimum")
        << QString() << u"3"_s << 2 << QStringList{QString(), untouched, untouched, untouched,
                                                   untouched, untouched, untouched, untouched}
        << untouched;
    QTest::newRow("empty multiplier")
        << u"5"_s << QString() << 2 << QStringList{u"5"_s,    untouched, untouched, untouched,
                                                   untouched, untouched, untouched, untouched}
        << untouched;
    QTest::newRow("m=100 r=20 outgrows the range at stake 7")
        << u"100"_s << u"20"_s << 7
        << QStringList{u"100"_s,      u"2000"_s,      u"40000"_s, u"800000"_s,
                       u"16000000"_s, u"320000000"_s, untouched,  untouched}
        << untouched;
    QTest::newRow("stakes fit, sum does not")
        << u"1073741824"_s << u"1"_s << 9 << QStringList(StakeCount, u"1073741824"_s) << untouched;
}

void TestCalculator::series()
{
    QFETCH(QString, minimum);
    QFETCH(QString, multiplier);
    QFETCH(int, failedStep);
    QFETCH(QStringList, stakes);
    QFETCH(QString, sum);

    Fields fields;
    QCOMPARE(Recalculate(fields, minimum, multiplier), failedStep);
    QCOMPARE(fields.stakes, stakes);
    QCOMPARE(fields.sum, sum);
}

QTEST_GUILESS_MAIN(TestCalculator)
#include "tst_calculator.moc"
