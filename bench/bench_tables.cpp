// Several tables of long histories in one window: switching from one to the
// next (its memo shown, the pass and the child windows following), a
// keystroke in the current table beside the same keystroke with one table,
// the overview's refresh after a change, and what a table of that many
// lines adds to the memory of the process.
#include "BenchSupport.h"

#include "app/tablesform/TablesForm.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>
#include <fstream>
#include <malloc.h>
#include <unistd.h>

namespace {

using namespace trevolo;

constexpr int Tables = 16;

constexpr double MiB = 1024.0 * 1024.0;

// The resident memory of the process now, in MiB.
double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long long size = 0;
    long long resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / MiB;
}

// The heap in use now, in MiB: what the process holds, whether the system
// gave it new pages for it or it reused freed ones.
double HeapMegabytes()
{
    const auto info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / MiB;
}

// `tables` tables of `lines` generated lines each, the first current.
void FillTables(TForm1 &form, int tables, int lines)
{
    for (int i = 0; i < tables; ++i) {
        if (i > 0)
            form.N31Click();
        form.listBox1->ReplaceText(GeneratedHistory(lines, quint32(i + 1)));
    }
    form.SelectTable(0);
    QApplication::processEvents();
}

void BM_SwitchTable(benchmark::State &state)
{
    BenchWindow window;
    window.Show();
    FillTables(window.form, Tables, int(state.range(0)));
    for (auto _ : state) {
        window.form.SelectNextTable(true);
        QApplication::processEvents(); // the memo shown is laid out and painted
    }
    window.CheckNoBoxes(state);
    state.counters["tables"] = Tables;
}
BENCHMARK(BM_SwitchTable)->Arg(100000)->Iterations(64)->Unit(benchmark::kMillisecond);

// A digit typed at the end of the current table and taken back, with one
// table (range(1) == 1) or sixteen.
void BM_KeystrokeAmongTables(benchmark::State &state)
{
    BenchWindow window;
    window.Show();
    FillTables(window.form, int(state.range(1)), int(state.range(0)));
    THistoryMemo &memo = *window.form.listBox1;
    memo.moveCursor(QTextCursor::End);
    bool typed = false;
    for (auto _ : state) {
        QTest::keyClick(&memo, typed ? Qt::Key_Backspace : Qt::Key_7);
        typed = !typed;
    }
    window.CheckNoBoxes(state);
    state.counters["tables"] = double(state.range(1));
}
BENCHMARK(BM_KeystrokeAmongTables)
    ->Args({100000, 1})
    ->Args({100000, Tables})
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

// The overview's rows worked out again after a spin in the current table.
void BM_OverviewRefresh(benchmark::State &state)
{
    BenchWindow window;
    window.Show();
    FillTables(window.form, Tables, int(state.range(0)));
    window.form.N34Click();
    QApplication::processEvents();
    TablesForm &overview = *window.form.tablesForm();
    for (auto _ : state) {
        state.PauseTiming();
        window.form.listBox1->AppendLine(QStringLiteral("17"));
        state.ResumeTiming();
        overview.Refresh();
    }
    window.CheckNoBoxes(state);
}
BENCHMARK(BM_OverviewRefresh)->Arg(100000)->Iterations(100)->Unit(benchmark::kMillisecond);

// What one more table of that many lines adds: to the heap in use (the
// figure to go by) and to the resident memory, which reads less, even 0,
// when the allocator reuses pages that earlier benchmarks of the run freed.
void BM_TableMemory(benchmark::State &state)
{
    BenchWindow window;
    window.Show();
    FillTables(window.form, 2, int(state.range(0)));
    const QString text = GeneratedHistory(int(state.range(0)), 99);
    double heap = 0;
    double resident = 0;
    for (auto _ : state) {
        const double heapBefore = HeapMegabytes();
        const double residentBefore = ResidentMegabytes();
        window.form.N31Click();
        window.form.listBox1->ReplaceText(text);
        QApplication::processEvents();
        heap = HeapMegabytes() - heapBefore;
        resident = ResidentMegabytes() - residentBefore;
    }
    window.CheckNoBoxes(state);
    state.counters["heap_mb_per_table"] = heap;
    state.counters["rss_mb_per_table"] = resident;
}
BENCHMARK(BM_TableMemory)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return trevolo::RunWindowBenchmarks(argc, argv);
}
