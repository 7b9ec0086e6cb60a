// One keystroke at the end of a long history, end to end: the key event
// changes the memo, its change notification runs the statistics pass, which
// reads the whole memo and writes the window's controls.
#include "BenchSupport.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

using namespace trevolo;

void BM_KeystrokeCalc(benchmark::State &state)
{
    BenchWindow window;
    TForm1 &form = window.form;
    window.Show();
    form.listBox1->ReplaceText(GeneratedHistory(int(state.range(0))));
    form.listBox1->moveCursor(QTextCursor::End);
    QApplication::processEvents();

    // Alternately type a digit and take it back: each is one keystroke and
    // one statistics pass over the whole history.
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            QTest::keyClick(form.listBox1, Qt::Key_Backspace);
        else
            QTest::keyClick(form.listBox1, Qt::Key_7);
        typed = !typed;
    }
    window.CheckNoBoxes(state);
    state.counters["lines"] = double(state.range(0));
}
BENCHMARK(BM_KeystrokeCalc)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The pass alone, called directly.
void BM_Calc(benchmark::State &state)
{
    BenchWindow window;
    window.form.listBox1->ReplaceText(GeneratedHistory(int(state.range(0))));
    for (auto _ : state)
        window.form.Calc();
}
BENCHMARK(BM_Calc)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return trevolo::RunWindowBenchmarks(argc, argv);
}
