// History commands end to end in a shown window: appending 50 random spins to
// a long history (50 appends, each one statistics pass over the whole
// history), and loading a long history file through the open dialog.
#include "app/Environment.h"
#include "app/Unit1.h"
#include "history/HistoryText.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace trevolo;

// Answers the open dialog with a fixed file and counts error boxes; no box
// may come up here.
class BenchEnvironment final : public Environment
{
public:
    int errors = 0;
    QString openAnswer;
    void showError(QWidget *, const QString &, const QString &) override { ++errors; }
    void showMessage(QWidget *, const QString &, const QString &) override { ++errors; }
    std::optional<FileChoice> chooseOpenFile(QWidget *, const FileDialogOptions &) override
    {
        return FileChoice{openAnswer, QString()};
    }
    std::optional<FileChoice> chooseSaveFile(QWidget *, const FileDialogOptions &) override
    {
        return std::nullopt;
    }
    void openUrl(const QUrl &) override {}
    QString settingsFolder() const override { return QString(); }
    quint32 clockSeed() const override { return 1; }
};

// `lines` spins, one per line, each line ending with a break.
QString History(int lines, quint32 seed)
{
    SpinSource spins(seed);
    QString text;
    text.reserve(lines * 3);
    for (int i = 0; i < lines; ++i) {
        text += QString::number(spins.Draw());
        text += QLatin1Char('\n');
    }
    return text;
}

void BM_Generate50(benchmark::State &state)
{
    BenchEnvironment environment;
    TINIView settings;
    SpinSource spins(1);
    TForm1 form(environment, settings, spins);
    form.show();
    const QString history = History(int(state.range(0)), 7);

    for (auto _ : state) {
        state.PauseTiming();
        form.listBox1->ReplaceText(history);
        QApplication::processEvents();
        state.ResumeTiming();

        form.N501Click();
        QApplication::processEvents(); // the repaint of the scrolled memo
    }
    if (environment.errors != 0)
        state.SkipWithError("an error box came up");
    state.counters["lines"] = double(state.range(0));
}
BENCHMARK(BM_Generate50)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State &state)
{
    BenchEnvironment environment;
    TINIView settings;
    SpinSource spins(1);
    TForm1 form(environment, settings, spins);
    form.show();
    QApplication::processEvents();

    // Two different files, loaded in turn, so every load replaces the text.
    QTemporaryDir dir;
    const int lines = int(state.range(0));
    QString files[2];
    for (int i = 0; i < 2; ++i) {
        files[i] = dir.filePath(QStringLiteral("history%1.txt").arg(i));
        QFile file(files[i]);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(HistoryToFileBytes(History(lines, quint32(i + 1)))) < 0) {
            state.SkipWithError("cannot write the history files");
            return;
        }
    }

    int next = 0;
    for (auto _ : state) {
        environment.openAnswer = files[next];
        next = 1 - next;
        form.N5Click();
        QApplication::processEvents();
    }
    if (environment.errors != 0)
        state.SkipWithError("an error box came up");
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_LoadFile)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
