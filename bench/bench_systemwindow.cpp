// What the system tester's window adds at 1,000,000 spins: a keystroke at the
// end of the history with the window closed and open (the replay waits for
// SystemForm::RefreshDelay), one refresh of the window with its repaint (the
// replay, every figure and the chart), a keystroke in one of its fields, and
// how long a keystroke waits when it drops a ruin chain being solved.
#include "BenchSupport.h"

#include "analysis/SpinHistoryModel.h"
#include "app/systemwindow/SystemForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QTextCursor>
#include <QThread>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using namespace trevolo;

constexpr int Lines = 1'000'000;

// A keystroke at the end and its Backspace, each with its pass; range(0) is
// 1 with the window open, so the difference is the window's share, and 2
// with the analysis window open beside it as well.
void BM_KeystrokeWithSystem(benchmark::State &state)
{
    const auto openAnalysis = [&state](TForm1 &form) {
        if (state.range(0) == 2) {
            form.n27->trigger();
            QApplication::processEvents();
        }
    };
    KeystrokeWithChildWindow(state, &TForm1::n29, Lines, openAnalysis,
                             state.range(0) == 2 ? "both windows open" : "window open");
}
BENCHMARK(BM_KeystrokeWithSystem)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The window open on the main window with a history of a million spins.
struct OpenSystem
{
    BenchWindow window;
    SystemForm *system = nullptr;
    OpenSystem()
    {
        window.Show();
        window.form.listBox1->ReplaceText(GeneratedHistory(Lines));
        window.form.n29->trigger();
        QApplication::processEvents();
        system = window.form.systemForm();
    }
    QLineEdit &Field(const char *name) const
    {
        return *system->findChild<QLineEdit *>(QString::fromLatin1(name));
    }
};

// One refresh as the timer runs it after edits: the replay of two histories
// one spin apart in turn (the spin 17 typed into the empty last line, then
// taken out), every figure and the chart, and the repaint. range(0): the
// trigger (0 bets on every spin).
void BM_SystemRefresh(benchmark::State &state)
{
    BenchWindow window;
    window.Show();
    SpinHistory history;
    std::vector<quint8> codes;
    SpinHistoryModel::AppendCodes(GeneratedHistory(Lines), codes);
    history.Assign(codes);
    const qint32 lastLine = qint32(codes.size()) - 1;
    SystemForm system(history, {}, &window.form);
    system.findChild<QLineEdit *>(QStringLiteral("SystemTrigger"))
        ->setText(QString::number(state.range(0)));
    system.show();
    QApplication::processEvents();
    static constexpr quint8 Typed[] = {17, SpinHistoryModel::EmptyLine};
    bool second = false;
    for (auto _ : state) {
        second = !second;
        state.PauseTiming();
        if (second)
            history.Replace(lastLine, 1, Typed);
        else
            history.Replace(lastLine, 2, std::span(Typed).last(1));
        state.ResumeTiming();
        system.Refresh();
        QApplication::processEvents();
    }
    window.CheckNoBoxes(state);
}
BENCHMARK(BM_SystemRefresh)->Arg(5)->Arg(0)->Unit(benchmark::kMillisecond);

// A digit typed into the trigger and taken back: each a replay with every
// figure, the exact ones and a quick ruin chain, and the repaint.
void BM_SystemFieldKeystroke(benchmark::State &state)
{
    OpenSystem open;
    QLineEdit &trigger = open.Field("SystemTrigger");
    for (auto _ : state) {
        trigger.setText(QStringLiteral("50"));
        QApplication::processEvents();
        trigger.setText(QStringLiteral("5"));
        QApplication::processEvents();
    }
    open.window.CheckNoBoxes(state);
    state.SetLabel("2 keystrokes");
}
BENCHMARK(BM_SystemFieldKeystroke)->Unit(benchmark::kMillisecond);

// A slow chain (5 x 3 in 8 steps, a bankroll of a million) solving beside
// the window for 100 ms, then a keystroke in the target that drops it and
// asks for the next: the time of that keystroke alone.
void BM_KeystrokeDropsRuinChain(benchmark::State &state)
{
    OpenSystem open;
    open.Field("SystemBankroll").setText(QStringLiteral("1000000"));
    QLineEdit &target = open.Field("SystemTarget");
    target.setText(QStringLiteral("1000100"));
    bool other = true;
    for (auto _ : state) {
        QThread::msleep(100);
        const auto start = std::chrono::steady_clock::now();
        target.setText(other ? QStringLiteral("1000100") : QStringLiteral("1000200"));
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        other = !other;
    }
    open.window.CheckNoBoxes(state);
}
BENCHMARK(BM_KeystrokeDropsRuinChain)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return trevolo::RunWindowBenchmarks(argc, argv);
}
