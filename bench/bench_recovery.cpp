// The recovery file against a long history: a keystroke at its end with the
// file following every change, how long the event loop goes unserved while
// the history is written, and a start that offers a recovery file of that
// length until its text is shown. The keystroke without recovery runs beside
// it, in the same way.
#include "BenchSupport.h"

#include "history/Recovery.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>
#include <optional>

namespace {

using namespace trevolo;

constexpr int Lines = 1000000;

const QString &History()
{
    static const QString text = GeneratedHistory(Lines);
    return text;
}

// Alternately a digit typed and taken back at the end, each keystroke
// followed by the events it leaves, as the window would handle them before
// the next one; argument 1 with the recovery file on. The longest keystroke
// is reported beside the mean.
void BM_KeystrokeEndRecovery(benchmark::State &state)
{
    const bool recovery = state.range(0) != 0;
    BenchWindow window;
    TForm1 &form = window.form;
    window.Show();
    form.listBox1->ReplaceText(History());
    if (recovery)
        form.StartRecovery();
    form.listBox1->moveCursor(QTextCursor::End);
    QApplication::processEvents();
    bool typed = false;
    qint64 longest = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        QTest::keyClick(form.listBox1, typed ? Qt::Key_Backspace : Qt::Key_7);
        QApplication::processEvents();
        longest = std::max(longest, timer.nsecsElapsed());
        typed = !typed;
    }
    if (recovery && form.Recovery()) {
        form.KeepForRecovery();
        form.Recovery()->Flush();
        if (QFileInfo(form.Recovery()->FilePath()).size() < Lines)
            state.SkipWithError("the recovery file was not written");
    }
    window.CheckNoBoxes(state);
    state.counters["longest_ms"] = double(longest) / 1e6;
}
BENCHMARK(BM_KeystrokeEndRecovery)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What the recovery timer costs the window's thread at a million lines: the
// copy of the text handed to the store, and the keystroke after it, which
// makes the memo's copy its own again.
void BM_RecoveryTick(benchmark::State &state)
{
    BenchWindow window;
    TForm1 &form = window.form;
    window.Show();
    form.listBox1->ReplaceText(History());
    form.StartRecovery();
    form.listBox1->moveCursor(QTextCursor::End);
    bool typed = false;
    for (auto _ : state) {
        form.KeepForRecovery();
        QTest::keyClick(form.listBox1, typed ? Qt::Key_Backspace : Qt::Key_7);
        typed = !typed;
        state.PauseTiming();
        form.Recovery()->Flush();
        state.ResumeTiming();
    }
    window.CheckNoBoxes(state);
}
BENCHMARK(BM_RecoveryTick)->Iterations(20)->Unit(benchmark::kMillisecond);

// The history is written while a digit is typed every 10 ms: the longest gap
// between two ticks of a 5 ms timer over two seconds, the write included.
// Argument 0: the same two seconds of typing without a write, for the gaps
// the machine itself leaves.
void BM_RecoveryWriteGap(benchmark::State &state)
{
    const bool write = state.range(0) != 0;
    BenchWindow window;
    TForm1 &form = window.form;
    window.Show();
    form.listBox1->ReplaceText(History());
    form.StartRecovery();
    form.listBox1->moveCursor(QTextCursor::End);
    QApplication::processEvents();
    double longestGap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.Recovery()->Remove();
        form.Recovery()->Flush();
        state.ResumeTiming();
        EventLoopGaps gaps;
        QTimer typist;
        bool typed = false;
        QObject::connect(&typist, &QTimer::timeout, [&] {
            QTest::keyClick(form.listBox1, typed ? Qt::Key_Backspace : Qt::Key_7);
            typed = !typed;
        });
        gaps.Start();
        if (write)
            form.KeepForRecovery();
        typist.start(10);
        QElapsedTimer period;
        period.start();
        while (period.elapsed() < 2000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        typist.stop();
        longestGap = std::max(longestGap, gaps.LongestMs());
        state.PauseTiming();
        form.Recovery()->Flush();
        if (write && QFileInfo(form.Recovery()->FilePath()).size() < Lines)
            state.SkipWithError("the recovery file was not written");
        state.ResumeTiming();
    }
    window.CheckNoBoxes(state);
    state.counters["longest_gap_ms"] = longestGap;
}
BENCHMARK(BM_RecoveryWriteGap)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// From the window's making until the recovered text is shown: the start
// finds a recovery file of a million lines, asks (answered Да) and shows it.
void BM_StartWithRecoveryFile(benchmark::State &state)
{
    BenchEnvironment environment;
    TINIView settings;
    SpinSource spins(1);
    for (auto _ : state) {
        state.PauseTiming();
        {
            RecoveryStore::Problem problem;
            const auto ended = RecoveryStore::Open(environment.stateFolder(), problem);
            if (!ended) {
                state.SkipWithError("no state folder");
                return;
            }
            ended->Submit(History());
            ended->Flush();
        }
        state.ResumeTiming();
        std::optional<TForm1> form;
        form.emplace(environment, settings, spins);
        form->FormCreate();
        form->show();
        form->StartRecovery();
        QApplication::processEvents();
        state.PauseTiming();
        if (form->edit13->text() != QString::number(Lines))
            state.SkipWithError("the recovered text was not shown");
        // Saved in effect: this run's file goes, so the next start finds one.
        form->Recovery()->Remove();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartWithRecoveryFile)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return trevolo::RunWindowBenchmarks(argc, argv);
}
