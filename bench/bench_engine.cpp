// The statistics engine against the bare cost of reading the history: a
// baseline that only splits the text into lines and parses each one.
#include "analysis/SpinHistoryModel.h"
#include "analysis/Statistics.h"
#include "common/IntegerText.h"
#include "common/Lines.h"

#include <QString>
#include <benchmark/benchmark.h>

namespace {

QString generatedHistory(int lines)
{
    QString text;
    text.reserve(lines * 3);
    quint32 state = 2024;
    for (int i = 0; i < lines; ++i) {
        state = state * 134775813u + 1u;
        text += QString::number(quint32((quint64(state) * 37) >> 32));
        text += u'\n';
    }
    return text;
}

const QString &history(int lines)
{
    static std::map<int, QString> cache;
    auto it = cache.find(lines);
    if (it == cache.end())
        it = cache.emplace(lines, generatedHistory(lines)).first;
    return it->second;
}

void BM_ParseOnly(benchmark::State &state)
{
    const QString &text = history(int(state.range(0)));
    for (auto _ : state) {
        qint64 sum = 0;
        trevolo::ForEachLine(text, [&sum](QStringView line) {
            if (const auto n = trevolo::TryStrToInt(line))
                sum += *n;
        });
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Engine(benchmark::State &state)
{
    const QString &text = history(int(state.range(0)));
    for (auto _ : state) {
        auto statistics = trevolo::ComputeStatistics(text, u"170");
        benchmark::DoNotOptimize(statistics);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The model set from the whole text, then one pass: what a load costs it.
void BM_ModelFromText(benchmark::State &state)
{
    const QString &text = history(int(state.range(0)));
    trevolo::SpinHistoryModel model;
    for (auto _ : state) {
        model.SetText(text);
        benchmark::DoNotOptimize(model.Statistics(u"170"));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_ModelFromText)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseOnly)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Engine)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
