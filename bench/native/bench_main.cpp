// Runs the native benchmarks on a warm heap, prints Google Benchmark's table,
// then the four figures the core must meet, one PASS or FAIL line each.
// Exits 1 when a figure is missed.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Keeps the median of each benchmark's repetitions (or the single run when
// there are no repetitions), by name and argument.
class FigureReporter : public benchmark::ConsoleReporter {
public:
    explicit FigureReporter(OutputOptions options) : ConsoleReporter(options) {}

    struct Figure {
        double secondsPerIteration = 0;
        double bytesPerSecond = 0;
        double itemsPerSecond = 0;
        bool fromMedian = false;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            std::string key = run.run_name.function_name;
            if (!run.run_name.args.empty()) key += "/" + run.run_name.args;
            Figure& figure = figures[key];
            if (figure.fromMedian && !median) continue;
            figure.fromMedian = median;
            figure.secondsPerIteration = run.GetAdjustedRealTime() * Multiplier(run.time_unit);
            auto bytes = run.counters.find("bytes_per_second");
            figure.bytesPerSecond = bytes == run.counters.end() ? 0 : bytes->second.value;
            auto items = run.counters.find("items_per_second");
            figure.itemsPerSecond = items == run.counters.end() ? 0 : items->second.value;
        }
    }

    const Figure* Find(const std::string& key) const {
        auto found = figures.find(key);
        return found == figures.end() ? nullptr : &found->second;
    }

private:
    static double Multiplier(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond: return 1e-9;
            case benchmark::kMicrosecond: return 1e-6;
            case benchmark::kMillisecond: return 1e-3;
            default: return 1;
        }
    }

    std::map<std::string, Figure> figures;
};

int failures = 0;

void Verdict(bool pass, const char* what) {
    std::printf("%s  %s\n", pass ? "PASS" : "FAIL", what);
    if (!pass) ++failures;
}

void Skipped(const char* what) { std::printf("SKIP  %s (not run)\n", what); }

// Nanoseconds per step of a walk benchmark at n = 1000 and n = 1000000.
bool StepNanoseconds(const FigureReporter& reporter, const std::string& name, double* small, double* large) {
    const FigureReporter::Figure* atThousand = reporter.Find(name + "/1000");
    const FigureReporter::Figure* atMillion = reporter.Find(name + "/1000000");
    if (!atThousand || !atMillion || atThousand->itemsPerSecond <= 0 || atMillion->itemsPerSecond <= 0) return false;
    *small = 1e9 / atThousand->itemsPerSecond;
    *large = 1e9 / atMillion->itemsPerSecond;
    return true;
}

void PrintVerdicts(const FigureReporter& reporter) {
    char line[256];
    std::printf("\n");

    const FigureReporter::Figure* parse = reporter.Find("ParsePlainText");
    const FigureReporter::Figure* memchrFloor = reporter.Find("MemchrPlainText");
    if (parse && memchrFloor && memchrFloor->secondsPerIteration > 0) {
        double ratio = parse->secondsPerIteration / memchrFloor->secondsPerIteration;
        std::snprintf(line, sizeof line,
                      "plain text 1 MiB: parser %.1f us, memchr %.1f us, ratio %.2f (limit 1.50)",
                      parse->secondsPerIteration * 1e6, memchrFloor->secondsPerIteration * 1e6, ratio);
        Verdict(ratio <= 1.5, line);
    } else {
        Skipped("plain text parser / memchr ratio");
    }

    // Shown, not held to a limit: beside glibc's memchr, which reads the text
    // at the cache's full speed, the encoding check and the parser read it
    // twice. The limit (2x memchr) is held by the Windows builds, against the
    // C library the programs use (bench/win/encoding_bench).
    const FigureReporter::Figure* decodeAndParse = reporter.Find("DecodeAndParsePlainText");
    if (decodeAndParse && memchrFloor && memchrFloor->secondsPerIteration > 0) {
        std::printf("INFO  plain ANSI text 1 MiB: encoding check and parser %.1f us, memchr %.1f us, ratio %.2f\n",
                    decodeAndParse->secondsPerIteration * 1e6, memchrFloor->secondsPerIteration * 1e6,
                    decodeAndParse->secondsPerIteration / memchrFloor->secondsPerIteration);
    }

    const FigureReporter::Figure* menu = reporter.Find("ParseMenu");
    if (menu) {
        double megabytes = menu->bytesPerSecond / 1e6;
        std::snprintf(line, sizeof line, "menu 1 MiB of 60-byte entries: %.0f MB/s (limit 300 MB/s)", megabytes);
        Verdict(megabytes >= 300, line);
    } else {
        Skipped("menu parsing throughput");
    }

    double small = 0;
    double large = 0;
    if (StepNanoseconds(reporter, "WalkByPosition<int>", &small, &large)) {
        std::snprintf(line, sizeof line,
                      "walk At(0)..At(n-1), int values: %.2f ns/step at n=1000, %.2f at n=1000000, "
                      "ratio %.2f (limit 3.00)",
                      small, large, large / small);
        Verdict(large / small <= 3.0, line);
    } else {
        Skipped("walk cost per step");
    }

    const FigureReporter::Figure* allPresent = reporter.Find("FilterEntries/0");
    const FigureReporter::Figure* halfMissing = reporter.Find("FilterEntries/1");
    if (allPresent && halfMissing && allPresent->secondsPerIteration > 0) {
        double ratio = halfMissing->secondsPerIteration / allPresent->secondsPerIteration;
        std::snprintf(line, sizeof line,
                      "existence filter, 60,000 entries: every second missing %.2f ms, all present %.2f ms, "
                      "ratio %.2f (limit 1.50)",
                      halfMissing->secondsPerIteration * 1e3, allPresent->secondsPerIteration * 1e3, ratio);
        Verdict(ratio <= 1.5, line);
    } else {
        Skipped("existence filter at 60,000 entries");
    }

    // The records' walk has no limit of its own: beside the bare chase over
    // the same nodes it shows how much of its growth is the memory's.
    double chaseSmall = 0;
    double chaseLarge = 0;
    if (StepNanoseconds(reporter, "WalkByPosition<ProgramEntry>", &small, &large) &&
        StepNanoseconds(reporter, "ChaseNextPointers<ProgramEntry>", &chaseSmall, &chaseLarge)) {
        std::printf("INFO  walk of 310-byte records: %.2f ns/step at n=1000, %.2f at n=1000000, ratio %.2f;\n"
                    "      a bare chase of next over the same nodes: %.2f and %.2f ns/step, ratio %.2f\n",
                    small, large, large / small, chaseSmall, chaseLarge, chaseLarge / chaseSmall);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // A page fault costs microseconds on these machines: keep freed memory in
    // the process and grow the heap in large steps, so that the timed loops
    // reuse warm pages instead of mapping fresh ones.
    bool warm = mallopt(M_TRIM_THRESHOLD, 1 << 30) == 1;
    warm = mallopt(M_TOP_PAD, 64 << 20) == 1 && warm;
    warm = mallopt(M_MMAP_THRESHOLD, 32 << 20) == 1 && warm;
    if (!warm) std::fprintf(stderr, "core_bench: could not set up a warm heap; figures may suffer\n");

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    // Colours only on a terminal, so a log of the run stays plain text.
    FigureReporter reporter(isatty(STDOUT_FILENO)
                                ? benchmark::ConsoleReporter::OO_ColorTabular
                                : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintVerdicts(reporter);
    return failures ? 1 : 0;
}
