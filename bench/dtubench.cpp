// dtubench: measures the tool against its speed goals with the simulated unit.
//   dtubench [--strict] [--repeat N] [--iterations N]
// Prints every figure beside its bound. Exits 2 when a measurement could not be made, 1 when
// a bound is missed and --strict is given, 0 otherwise.

#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>
#include <thread>

#include "bench/benches.h"

#ifndef DTU_BENCH_BUILD_TYPE
#define DTU_BENCH_BUILD_TYPE "unknown"
#endif

namespace {

struct Options {
    bool strict = false;
    int repeat = 3;         // loads per line speed, and "Save" rounds
    int iterations = 1000;  // runs of the report handling
};

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: dtubench [--strict] [--repeat N] [--iterations N]\n"
                 "  --strict        exit 1 when a figure misses its bound\n"
                 "  --repeat N      loads per line speed and \"Save\" rounds (default 3)\n"
                 "  --iterations N  runs of the report handling (default 1000)\n");
}

std::optional<int> PositiveNumber(const char* text) {
    int value = 0;
    const std::string_view s(text);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size() || value <= 0) return std::nullopt;
    return value;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--strict") {
            options.strict = true;
            continue;
        }
        if ((arg == "--repeat" || arg == "--iterations") && i + 1 < argc) {
            const auto value = PositiveNumber(argv[++i]);
            if (!value) return std::nullopt;
            (arg == "--repeat" ? options.repeat : options.iterations) = *value;
            continue;
        }
        return std::nullopt;
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        PrintUsage();
        return 2;
    }
    std::printf("dtubench: %u cores, %s build; the simulated unit paces its output to the line\n\n",
                std::thread::hardware_concurrency(), DTU_BENCH_BUILD_TYPE);
    bench::Report report;
    bench::BusyFigures busy;
    bench::RunLoadBench(report, 115200, options->repeat, busy);
    bench::RunLoadBench(report, 9600, options->repeat, busy);
    bench::ReportBusy(report, busy);
    bench::RunSaveBench(report, options->repeat);
    bench::RunParseBench(report, options->iterations);
    std::printf("\n");
    if (report.AnyFailed()) {
        std::printf("dtubench: some figures could not be measured\n");
        return 2;
    }
    if (!report.AllMet()) {
        std::printf("dtubench: %d figure(s) missed their bound\n", report.Missed());
        return options->strict ? 1 : 0;
    }
    std::printf("dtubench: every figure within its bound\n");
    return 0;
}
