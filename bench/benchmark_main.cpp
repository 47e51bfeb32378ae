// RunBenchmarks.
#include "benchmark_main.h"

#include <benchmark/benchmark.h>

namespace bench {

int RunBenchmarks(int argc, char** argv, void (*registerAll)()) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
