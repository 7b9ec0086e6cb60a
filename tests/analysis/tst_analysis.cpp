#include "analysis/NumberClasses.h"
#include "analysis/Statistics.h"

#include <QTest>

using namespace trevolo;

class TestAnalysis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample();
};

void TestAnalysis::workedExample()
{
    const auto s = ComputeStatistics(u"5\n0\n32", u"3");
    QCOMPARE(s.missRuns[Red], 0);
    QCOMPARE(s.missRuns[Black], 3);
    QCOMPARE(s.statusText, QStringLiteral("Ближайшее число: 1 (3), 2 (3), 3 (3), 4 (3), 6 (3)"));
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
