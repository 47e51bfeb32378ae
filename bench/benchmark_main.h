// The main of a benchmark program whose benchmarks are registered at run time.
#pragma once

namespace bench {

// Registers, then runs what the command line selects; 1 for an unknown argument.
int RunBenchmarks(int argc, char** argv, void (*registerAll)());

} // namespace bench
