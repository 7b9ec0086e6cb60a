// Importing 1,000,000 CSV rows: read and parsed (the preview's reading),
// then added to a shown window as one change; exporting a history of as many
// spins to CSV for Excel.
#include "BenchScale.h"
#include "BenchSupport.h"
#include "app/importwindow/ImportForm.h"
#include "history/SpinExport.h"
#include "history/SpinImport.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace trevolo;

// "№;Число;Цвет" rows, as a spreadsheet saves them.
QByteArray CsvRows(int rows)
{
    QByteArray bytes = "\xEF\xBB\xBF";
    bytes += QStringLiteral("№;Число;Цвет\r\n").toUtf8();
    for (int i = 1; i <= rows; ++i)
        bytes += QByteArray::number(i) + ';' + QByteArray::number(i * 7 % 37) + ";x\r\n";
    return bytes;
}

void BM_ReadCsv(benchmark::State &state)
{
    const QByteArray bytes = CsvRows(int(state.range(0)));
    for (auto _ : state) {
        const ImportResult result = ReadSpins(bytes, ImportOptions());
        benchmark::DoNotOptimize(result.spins.data());
        if (result.spins.size() != size_t(state.range(0)))
            state.SkipWithError("not every row read");
    }
    state.counters["rows"] = double(state.range(0));
}
BENCHMARK(BM_ReadCsv)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole import in the window: the file read and previewed, then OK.
void BM_ImportWindow(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("spins.csv"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(CsvRows(int(state.range(0)))) < 0) {
            state.SkipWithError("cannot write the file");
            return;
        }
    }
    BenchWindow window;
    window.Show();
    for (auto _ : state) {
        window.form.listBox1->ReplaceText(QString());
        ImportForm form(window.environment, &window.form);
        form.LoadFile(path);
        window.form.AddImportedSpins(form.Spins(), true);
    }
    window.CheckNoBoxes(state);
    state.counters["rows"] = double(state.range(0));
}
BENCHMARK(BM_ImportWindow)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ExportCsv(benchmark::State &state)
{
    const QString history = GeneratedHistory(int(state.range(0)), 5);
    for (auto _ : state) {
        const ExportedSpins exported = ExportSpins(history, ExportFormat::ExcelCsv);
        benchmark::DoNotOptimize(exported.bytes.data());
    }
    state.counters["rows"] = double(state.range(0));
}
BENCHMARK(BM_ExportCsv)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return trevolo::RunWindowBenchmarks(argc, argv);
}
