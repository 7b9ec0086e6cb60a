// Long histories beyond the everyday commands: the two ways of building the
// memo's document without freezing the window (measured to choose between
// them), the memory the statistics model adds per line, and the bad inputs a
// load or a paste must survive with exact results.
#include "BenchScale.h"
#include "BenchSupport.h"
#include "analysis/SpinHistoryModel.h"
#include "history/HistoryText.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextDocumentLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <atomic>
#include <benchmark/benchmark.h>
#include <limits>
#include <map>
#include <thread>

namespace {

using namespace trevolo;

const QString &History(int lines)
{
    static std::map<int, QString> cache;
    auto it = cache.find(lines);
    if (it == cache.end())
        it = cache.emplace(lines, GeneratedHistory(lines, 3)).first;
    return it->second;
}

std::unique_ptr<QTextDocument> NewPlainDocument()
{
    auto document = std::make_unique<QTextDocument>();
    document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
    document->setUndoRedoEnabled(false);
    return document;
}

// Way one: the document built on the window's thread in pieces of about
// 30 ms, the events handled between them. The longest piece is the longest
// the window waits.
void BM_BuildInPieces(benchmark::State &state)
{
    const QString &text = History(int(state.range(0)));
    double longest = 0;
    for (auto _ : state) {
        auto document = NewPlainDocument();
        QTextCursor cursor(document.get());
        qsizetype piece = 2000 * 3;
        for (qsizetype at = 0; at < text.size();) {
            qsizetype end = std::min(text.size(), at + piece);
            end = std::max(end, text.indexOf(u'\n', end - 1) + 1);
            QElapsedTimer timer;
            timer.start();
            cursor.insertText(text.sliced(at, end - at));
            QApplication::processEvents();
            const qint64 spent = std::max<qint64>(timer.nsecsElapsed(), 1);
            longest = std::max(longest, double(spent) / 1e6);
            piece = std::clamp<qint64>(piece * 30'000'000 / spent, 600, piece * 4);
            at = end;
        }
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.counters["longest_piece_ms"] = longest;
}
BENCHMARK(BM_BuildInPieces)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Way two: the document built on a worker thread while the window's thread
// serves its events, then moved over. The plain layout can only be attached
// on the window's thread, which then visits every block: attach_ms is that
// wait.
void BM_BuildOnThread(benchmark::State &state)
{
    const QString &text = History(int(state.range(0)));
    double attach = 0;
    for (auto _ : state) {
        std::unique_ptr<QTextDocument> document;
        std::atomic<bool> done = false;
        QThread *main = QThread::currentThread();
        std::thread worker([&] {
            auto built = std::make_unique<QTextDocument>();
            built->setUndoRedoEnabled(false);
            QTextCursor(built.get()).insertText(text);
            built->moveToThread(main);
            document = std::move(built);
            done = true;
        });
        while (!done)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        worker.join();
        QElapsedTimer timer;
        timer.start();
        document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
        attach = std::max(attach, double(timer.nsecsElapsed()) / 1e6);
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.counters["attach_ms"] = attach;
}
BENCHMARK(BM_BuildOnThread)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

// The memo's document swap on its own, without the load around it.
struct trevolo::MemoDocumentAccess
{
    static void StartLayingOut(THistoryMemo &memo, QTextDocument *document)
    {
        memo.StartLayingOut(document);
    }
    static void StopLayingOut(THistoryMemo &memo) { memo.StopLayingOut(); }
    static void ReplaceDocument(THistoryMemo &memo, QTextDocument *document,
                                std::vector<quint8> &&codes)
    {
        memo.ReplaceDocument(document, std::move(codes));
    }
    static void ReplaceDocumentUndoably(THistoryMemo &memo, QTextDocument *document,
                                        std::vector<quint8> &&codes)
    {
        memo.ReplaceDocumentUndoably(document, std::move(codes), 0, std::nullopt);
    }
};

namespace {

// What either way ends with: the finished document shown in the memo.
// Argument 1: laid out beforehand at the memo's width (what the load does);
// 0: not, so the memo lays out every block when it takes the document.
void BM_SwapIntoMemo(benchmark::State &state)
{
    BenchWindow window;
    window.Show();
    THistoryMemo &memo = *window.form.listBox1;
    const QString &text = History(1000000);
    double swap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto document = NewPlainDocument();
        document->setDefaultFont(memo.document()->defaultFont());
        document->setDefaultTextOption(memo.document()->defaultTextOption());
        if (state.range(0) == 1)
            MemoDocumentAccess::StartLayingOut(memo, document.get());
        QTextCursor(document.get()).insertText(text);
        MemoDocumentAccess::StopLayingOut(memo);
        std::vector<quint8> codes;
        SpinHistoryModel::AppendCodes(text, codes);
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        MemoDocumentAccess::ReplaceDocument(memo, document.release(), std::move(codes));
        QApplication::processEvents();
        swap = std::max(swap, double(timer.nsecsElapsed()) / 1e6);
    }
    state.counters["swap_and_paint_ms"] = swap;
}
BENCHMARK(BM_SwapIntoMemo)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond);

// The exit at its worst: a memo with four documents of a million lines set
// aside for Undo and a fifth shown goes, and waits for its disposer to have
// deleted every one of them.
void BM_ExitWithFourSetAside(benchmark::State &state)
{
    const QString &text = History(1000000);
    std::vector<quint8> codes;
    SpinHistoryModel::AppendCodes(text, codes);
    for (auto _ : state) {
        state.PauseTiming();
        SpinHistory history;
        auto memo = std::make_unique<THistoryMemo>(history);
        memo->SetSetAsideBudget(std::numeric_limits<qint64>::max());
        memo->ReplaceText(text);
        for (int i = 0; i < 4; ++i) {
            auto document = NewPlainDocument();
            QTextCursor(document.get()).insertText(text);
            MemoDocumentAccess::ReplaceDocumentUndoably(*memo, document.release(),
                                                        std::vector<quint8>(codes));
        }
        if (memo->SetAsideCount() != 4)
            state.SkipWithError("not four documents set aside");
        state.ResumeTiming();
        memo.reset();
    }
}
BENCHMARK(BM_ExitWithFourSetAside)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The model alone: set from a text, one pass, and its heap per line.
void BM_ModelMemory(benchmark::State &state)
{
    const QString &text = History(int(state.range(0)));
    SpinHistoryModel model;
    for (auto _ : state) {
        model.SetText(text);
        benchmark::DoNotOptimize(model.Statistics(u"170"));
    }
    state.counters["bytes_per_line"] = double(model.MemoryBytes()) / double(model.size());
}
BENCHMARK(BM_ModelMemory)->Arg(1000000)->Apply(WithHuge)->Unit(benchmark::kMillisecond);

// The worst pass: a number last seen on line 1 of the history.
void BM_ModelPassWorstCase(benchmark::State &state)
{
    const int lines = int(state.range(0));
    std::vector<quint8> codes(size_t(lines), 1);
    codes[0] = 0;
    for (int i = 1; i < lines; ++i)
        codes[size_t(i)] = quint8(1 + i % 36);
    SpinHistoryModel model;
    model.Assign(codes);
    for (auto _ : state)
        benchmark::DoNotOptimize(model.Statistics(u"170"));
}
BENCHMARK(BM_ModelPassWorstCase)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMicrosecond);

// --------------------------------------------------------------- bad input

// Loads `bytes` through the open dialog and checks the window's figures
// against the full pass over the memo's text.
void LoadAndCheck(benchmark::State &state, const QByteArray &bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write the file");
        return;
    }
    file.close();
    BenchWindow window;
    window.Show();
    window.environment.openAnswer = path;
    EventLoopGaps gaps;
    for (auto _ : state) {
        gaps.Start();
        window.form.N5Click();
        QApplication::processEvents();
    }
    state.counters["longest_gap_ms"] = gaps.LongestMs();
    THistoryMemo &memo = *window.form.listBox1;
    const HistoryStatistics full = ComputeStatistics(memo.Text(), u"170");
    const HistoryStatistics model = window.form.History().Statistics(u"170");
    if (memo.Text() != HistoryFromFileBytes(bytes) || model.absence != full.absence ||
        model.lineCount != full.lineCount || model.occurrence != full.occurrence ||
        window.form.edit13->text() != QString::number(full.lineCount))
        state.SkipWithError("the figures differ from the full pass");
    // The window afterwards: a digit typed at the end and taken back, with
    // the repaints they cause.
    QElapsedTimer timer;
    timer.start();
    memo.setFocus();
    memo.moveCursor(QTextCursor::End);
    QTest::keyClick(&memo, Qt::Key_7);
    QApplication::processEvents();
    QTest::keyClick(&memo, Qt::Key_Backspace);
    QApplication::processEvents();
    state.counters["type_and_take_back_ms"] = double(timer.nsecsElapsed()) / 1e6;
    if (memo.Text() != HistoryFromFileBytes(bytes))
        state.SkipWithError("typing and taking back changed the text");
    window.CheckNoBoxes(state);
    state.counters["lines"] = full.lineCount;
    state.counters["peak_rss_mb"] = PeakRssMegabytes();
}

void BM_BadOneLineOf64MiB(benchmark::State &state)
{
    LoadAndCheck(state, QByteArray(64 << 20, '5'));
}
void BM_Bad20MillionEmptyLines(benchmark::State &state)
{
    QByteArray bytes;
    bytes.reserve(40000000);
    for (int i = 0; i < 20000000; ++i)
        bytes += "\r\n";
    LoadAndCheck(state, bytes);
}
void BM_BadNulBytes(benchmark::State &state)
{
    QByteArray bytes;
    for (int i = 0; i < 100000; ++i)
        bytes +=
            (i % 3 == 0 ? QByteArray("\0\r\n", 3) : QByteArray::number(i % 37) + '\0' + "\r\n");
    LoadAndCheck(state, bytes);
}

// A paste of a million lines in the middle of a million, then its undo.
void BM_BadPasteMillionThenUndo(benchmark::State &state)
{
    BenchWindow window;
    window.Show();
    THistoryMemo &memo = *window.form.listBox1;
    memo.ReplaceText(History(1000000));
    QApplication::clipboard()->setText(GeneratedHistory(1000000, 11));
    EventLoopGaps gaps;
    double paste = 0;
    double pasteGap = 0;
    double undo = 0;
    double undoGap = 0;
    bool exact = true;
    for (auto _ : state) {
        QTextCursor cursor(memo.document()->findBlockByNumber(500000));
        memo.setTextCursor(cursor);
        QElapsedTimer timer;
        timer.start();
        gaps.Start();
        QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier);
        pasteGap = gaps.LongestMs();
        paste = double(timer.nsecsElapsed()) / 1e6;
        exact = exact && window.form.History().Statistics(u"170").absence ==
                             ComputeStatistics(memo.Text(), u"170").absence;
        timer.restart();
        gaps.Start();
        QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
        undoGap = gaps.LongestMs();
        undo = double(timer.nsecsElapsed()) / 1e6;
        exact = exact && memo.Text() == History(1000000) &&
                window.form.History().Statistics(u"170").absence ==
                    ComputeStatistics(memo.Text(), u"170").absence;
    }
    if (!exact)
        state.SkipWithError("the figures differ from the full pass");
    window.CheckNoBoxes(state);
    state.counters["paste_ms"] = paste;
    state.counters["paste_longest_gap_ms"] = pasteGap;
    state.counters["undo_ms"] = undo;
    state.counters["undo_longest_gap_ms"] = undoGap;
    state.counters["rebuilds"] = memo.HistoryRebuilds();
}

// The bad inputs take long and much memory: run them on request.
void RegisterBadInputs()
{
    if (!HugeSizesWanted())
        return;
    for (auto [name, function] :
         {std::pair{"BM_BadOneLineOf64MiB", &BM_BadOneLineOf64MiB},
          std::pair{"BM_Bad20MillionEmptyLines", &BM_Bad20MillionEmptyLines},
          std::pair{"BM_BadNulBytes", &BM_BadNulBytes},
          std::pair{"BM_BadPasteMillionThenUndo", &BM_BadPasteMillionThenUndo}})
        benchmark::RegisterBenchmark(name, function)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
}

} // namespace

int main(int argc, char **argv)
{
    RegisterBadInputs();
    return trevolo::RunWindowBenchmarks(argc, argv);
}
