// What the benchmark executables share: running the registered benchmarks
// and keeping, per benchmark, the best time over its repetitions.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

// Collects the best nanoseconds per iteration over the repetitions of each
// benchmark, the figure least disturbed by other work on the machine.
class BestTimeReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> ns;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            const std::string name = run.run_name.str();
            const double t = run.GetAdjustedRealTime();
            if (!ns.count(name) || t < ns[name]) ns[name] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// Runs the registered benchmarks with several short repetitions (unless the
// command line sets the repetitions) and returns the best ns of each.
inline std::map<std::string, double> RunBestOf(int argc, char** argv, int repetitions,
                                               const char* minTime) {
    std::vector<char*> args(argv, argv + argc);
    std::string repetitionsArg = "--benchmark_repetitions=" + std::to_string(repetitions);
    std::string minTimeArg = std::string("--benchmark_min_time=") + minTime;
    bool given = false;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0) given = true;
    if (!given) {
        args.push_back(repetitionsArg.data());
        args.push_back(minTimeArg.data());
    }
    // Plain text, so that the summary lines after the table start clean.
    static char noColour[] = "--benchmark_color=false";
    args.push_back(noColour);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    BestTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.ns;
}

} // namespace bench
