// Loading a long history file through the open dialog into a shown window,
// while a 5 ms timer measures how long the event loop went unserved: the
// longest gap between two of its ticks.
#include "BenchScale.h"
#include "BenchSupport.h"
#include "history/HistoryText.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace trevolo;

void BM_LoadWindow(benchmark::State &state)
{
    const int lines = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(HistoryToFileBytes(GeneratedHistory(lines, 5))) < 0) {
            state.SkipWithError("cannot write the history file");
            return;
        }
    }
    BenchWindow window;
    window.Show();
    window.form.listBox1->ReplaceText(GeneratedHistory(1000, 9));
    window.environment.openAnswer = path;

    EventLoopGaps gaps;
    double longestGap = 0;
    for (auto _ : state) {
        gaps.Start();
        window.form.N5Click();
        longestGap = std::max(longestGap, gaps.LongestMs());
    }
    window.CheckNoBoxes(state);
    state.counters["lines"] = double(lines);
    state.counters["longest_gap_ms"] = longestGap;
    state.counters["peak_rss_mb"] = PeakRssMegabytes();
    state.counters["edit13"] = window.form.edit13->text().toDouble();
}
BENCHMARK(BM_LoadWindow)
    ->Arg(1000000)
    ->Apply(WithHuge)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return trevolo::RunWindowBenchmarks(argc, argv);
}
