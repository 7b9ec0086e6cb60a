// One keystroke at the end of a long history, end to end: the key event
// changes the memo, its change notification runs the statistics pass, which
// reads the whole memo and writes the window's controls.
#include "app/Environment.h"
#include "app/Unit1.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

using namespace trevolo;

// Answers nothing and shows nothing: no error box may come up here.
class QuietEnvironment final : public Environment
{
public:
    int errors = 0;
    void showError(QWidget *, const QString &, const QString &) override { ++errors; }
    void showMessage(QWidget *, const QString &, const QString &) override {}
    std::optional<FileChoice> chooseOpenFile(QWidget *, const FileDialogOptions &) override
    {
        return std::nullopt;
    }
    std::optional<FileChoice> chooseSaveFile(QWidget *, const FileDialogOptions &) override
    {
        return std::nullopt;
    }
    void openUrl(const QUrl &) override {}
    QString settingsFolder() const override { return QString(); }
    quint32 clockSeed() const override { return 1; }
};

QString History(int lines)
{
    QString text;
    quint32 state = 1;
    for (int i = 0; i < lines; ++i) {
        state = state * 134775813u + 1u;
        text += QString::number(quint32((quint64(state) * 37u) >> 32));
        text += QLatin1Char('\n');
    }
    return text;
}

void BM_KeystrokeCalc(benchmark::State &state)
{
    QuietEnvironment environment;
    TINIView settings;
    SpinSource spins(1);
    TForm1 form(environment, settings, spins);
    form.show();
    QApplication::processEvents();
    form.listBox1->ReplaceText(History(int(state.range(0))));
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
    if (environment.errors != 0)
        state.SkipWithError("an error box came up");
    state.counters["lines"] = double(state.range(0));
}
BENCHMARK(BM_KeystrokeCalc)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The pass alone, called directly.
void BM_Calc(benchmark::State &state)
{
    QuietEnvironment environment;
    TINIView settings;
    SpinSource spins(1);
    TForm1 form(environment, settings, spins);
    form.listBox1->ReplaceText(History(int(state.range(0))));
    for (auto _ : state)
        form.Calc();
}
BENCHMARK(BM_Calc)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

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
