// One keystroke in a long history, end to end: the key event changes the
// memo, its change notification runs the statistics pass, which writes the
// window's controls. Beside it, the same keystroke in a bare editor holding
// the same text: Qt's own cost for the edit.
#include "BenchScale.h"
#include "BenchSupport.h"
#include "analysis/SpinHistoryModel.h"
#include "app/memo/HistoryLoad.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <benchmark/benchmark.h>

namespace {

using namespace trevolo;

// Alternately types a digit and takes it back: each is one keystroke.
void TypeAndTakeBack(benchmark::State &state, QPlainTextEdit &edit)
{
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            QTest::keyClick(&edit, Qt::Key_Backspace);
        else
            QTest::keyClick(&edit, Qt::Key_7);
        typed = !typed;
    }
}

// The caret at the end of the text, or at the end of line `line`, found in
// the text: a loaded history holds several lines in a block.
void PlaceCaret(QPlainTextEdit &edit, int line)
{
    QTextCursor cursor(edit.document());
    if (line < 0) {
        cursor.movePosition(QTextCursor::End);
    } else {
        const QString text = edit.toPlainText();
        qsizetype end = -1;
        for (int i = 0; i <= line; ++i)
            end = text.indexOf(u'\n', end + 1);
        cursor.setPosition(int(end));
    }
    edit.setTextCursor(cursor);
    QApplication::processEvents();
}

void BM_KeystrokeCalc(benchmark::State &state)
{
    BenchWindow window;
    TForm1 &form = window.form;
    window.Show();
    form.listBox1->ReplaceText(GeneratedHistory(int(state.range(0))));
    PlaceCaret(*form.listBox1, -1);
    TypeAndTakeBack(state, *form.listBox1);
    window.CheckNoBoxes(state);
    state.counters["lines"] = double(state.range(0));
    state.counters["peak_rss_mb"] = PeakRssMegabytes();
}
BENCHMARK(BM_KeystrokeCalc)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Apply(WithHuge)
    ->Unit(benchmark::kMillisecond);

// A digit typed at the end of the middle line, in the window.
void BM_KeystrokeMiddle(benchmark::State &state)
{
    BenchWindow window;
    TForm1 &form = window.form;
    window.Show();
    const int lines = int(state.range(0));
    form.listBox1->ReplaceText(GeneratedHistory(lines));
    PlaceCaret(*form.listBox1, lines / 2);
    TypeAndTakeBack(state, *form.listBox1);
    window.CheckNoBoxes(state);
}
BENCHMARK(BM_KeystrokeMiddle)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same keystroke in a history loaded as a file is, at the end of line
// range(1) (-1: at the end of the text); with range(2) 0 every line keeps a
// block of its own, else the older lines share blocks as a load makes them.
void BM_KeystrokeLoaded(benchmark::State &state)
{
    BenchWindow window;
    TForm1 &form = window.form;
    window.Show();
    if (state.range(2) == 0)
        form.listBox1->SetOwnBlockLines(state.range(0) + 1);
    ReadHistory read{GeneratedHistory(int(state.range(0))), {}, 0};
    SpinHistoryModel::AppendCodes(read.text, read.codes);
    if (!form.listBox1->Load(read))
        state.SkipWithError("the history was not loaded");
    PlaceCaret(*form.listBox1, int(state.range(1)));
    TypeAndTakeBack(state, *form.listBox1);
    window.CheckNoBoxes(state);
    state.counters["blocks"] = double(form.listBox1->document()->blockCount());
}
BENCHMARK(BM_KeystrokeLoaded)
    ->ArgsProduct({{1000000}, {-1, 500000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The same keystroke in a bare editor of the memo's size and wrapping.
void BM_KeystrokeMiddleQtOnly(benchmark::State &state)
{
    BenchWindow window;
    window.Show();
    QPlainTextEdit edit(&window.form);
    edit.setGeometry(window.form.listBox1->geometry());
    edit.setWordWrapMode(QTextOption::WrapAnywhere);
    edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit.show();
    edit.raise();
    const int lines = int(state.range(0));
    edit.setPlainText(GeneratedHistory(lines));
    PlaceCaret(edit, lines / 2);
    TypeAndTakeBack(state, edit);
}
BENCHMARK(BM_KeystrokeMiddleQtOnly)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The pass alone, called directly.
void BM_Calc(benchmark::State &state)
{
    BenchWindow window;
    window.form.listBox1->ReplaceText(GeneratedHistory(int(state.range(0))));
    for (auto _ : state)
        window.form.Calc();
}
BENCHMARK(BM_Calc)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return trevolo::RunWindowBenchmarks(argc, argv);
}
