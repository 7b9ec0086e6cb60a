// History commands end to end in a shown window: appending 50 random spins to
// a long history (50 appends, each one statistics pass over the whole
// history), loading a long history file through the open dialog, and the
// check at closing whether a loaded history changed.
#include "BenchSupport.h"
#include "history/HistoryText.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace trevolo;

void BM_Generate50(benchmark::State &state)
{
    BenchWindow window;
    TForm1 &form = window.form;
    window.Show();
    const QString history = GeneratedHistory(int(state.range(0)), 7);

    for (auto _ : state) {
        state.PauseTiming();
        form.listBox1->ReplaceText(history);
        QApplication::processEvents();
        state.ResumeTiming();

        form.N501Click();
        QApplication::processEvents(); // the repaint of the scrolled memo
    }
    window.CheckNoBoxes(state);
    state.counters["lines"] = double(state.range(0));
}
BENCHMARK(BM_Generate50)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
// Setting up a million lines takes seconds: a few runs are enough.
BENCHMARK(BM_Generate50)->Arg(1000000)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State &state)
{
    BenchWindow window;
    window.Show();

    // Two different files, loaded in turn, so every load replaces the text.
    QTemporaryDir dir;
    const int lines = int(state.range(0));
    QString files[2];
    for (int i = 0; i < 2; ++i) {
        files[i] = dir.filePath(QStringLiteral("history%1.txt").arg(i));
        QFile file(files[i]);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(HistoryToFileBytes(GeneratedHistory(lines, quint32(i + 1)))) < 0) {
            state.SkipWithError("cannot write the history files");
            return;
        }
    }

    int next = 0;
    for (auto _ : state) {
        window.environment.openAnswer = files[next];
        next = 1 - next;
        window.form.N5Click();
        QApplication::processEvents();
    }
    window.CheckNoBoxes(state);
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_LoadFile)->Arg(100000)->Unit(benchmark::kMillisecond);

// Closing with a history as it was loaded: the lengths match, so the text is
// hashed once to tell that nothing changed, and no question comes up.
void BM_CloseCheckUnchanged(benchmark::State &state)
{
    BenchWindow window;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(HistoryToFileBytes(GeneratedHistory(int(state.range(0))))) < 0) {
        state.SkipWithError("cannot write the history file");
        return;
    }
    file.close();
    window.environment.openAnswer = path;
    window.form.N5Click();

    for (auto _ : state)
        benchmark::DoNotOptimize(window.form.MayClose());
    window.CheckNoBoxes(state);
    state.counters["lines"] = double(state.range(0));
}
BENCHMARK(BM_CloseCheckUnchanged)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return trevolo::RunWindowBenchmarks(argc, argv);
}
