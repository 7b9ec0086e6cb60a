#pragma once

// What the benchmarks of long histories share: sizes of 10,000,000 lines run
// only on request (TREVOLO_BENCH_10M=1, for they take minutes), and the
// process's peak resident memory.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <sys/resource.h>

namespace trevolo {

inline bool HugeSizesWanted()
{
    const char *wanted = std::getenv("TREVOLO_BENCH_10M");
    return wanted && *wanted == '1';
}

// Adds the 10,000,000-line size when it is wanted.
inline void WithHuge(benchmark::internal::Benchmark *bench)
{
    if (HugeSizesWanted())
        bench->Arg(10000000);
}

inline double PeakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

} // namespace trevolo
