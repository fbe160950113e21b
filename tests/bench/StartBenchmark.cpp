// The program KeltoTV (build/bin) started as a child process, off-screen on the simulated card of
// data/card.ini, from the moment before the fork to the live picture's first paint, as its trace
// log notes it ("capture: first picture painted", stamped in local time to the millisecond).
//   BM_StartToFirstPicture: over KELTO_BENCH_STARTS starts (default 2; the first in a fresh root,
//     the others with the settings the one before saved), "min_ms", "median_ms", "max_ms" and
//     "first_start_ms"; "version_ms" the same run's baseline: the program started with --version
//     until it has ended (loading the same libraries, no window); "x_version" median over that
//     baseline; "x_target" median over 500 ms.
// By hand: KELTO_BENCH_STARTS=10 build/bin/start_benchmark.
#include "tests/app/ChildProcess.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using SystemTime = std::chrono::system_clock::time_point;
using namespace std::chrono_literals;

// A benchmark that could not measure makes the program fail, so ctest notices.
bool anyFailed = false;

fs::path programFolder() { return fs::read_symlink("/proc/self/exe").parent_path(); }

int environmentCount(const char* name, int fallback) {
    const char* text = std::getenv(name);
    const int value = text ? std::atoi(text) : 0;
    return value > 0 ? value : fallback;
}

double percentile(std::vector<double> values, double rank) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto index = std::size_t(std::ceil(rank / 100.0 * double(values.size())));
    return values[std::clamp<std::size_t>(index, 1, values.size()) - 1];
}

// The moment of a log line's stamp ("2026-12-08 22:49:10.123 ", local time).
std::optional<SystemTime> lineTime(const std::string& line) {
    std::tm local{};
    int ms = 0;
    if (std::sscanf(line.c_str(), "%d-%d-%d %d:%d:%d.%d", &local.tm_year, &local.tm_mon, &local.tm_mday, &local.tm_hour,
                    &local.tm_min, &local.tm_sec, &ms) != 7)
        return std::nullopt;
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local)) + std::chrono::milliseconds(ms);
}

// The stamp of the first log line that holds `text`, once it is there (waits at most `timeout`).
std::optional<SystemTime> waitForLogLine(const fs::path& log, const std::string& text, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);)
            if (line.find(text) != std::string::npos) return lineTime(line);
        std::this_thread::sleep_for(1ms);
    }
    return std::nullopt;
}

fs::path freshFolder(const fs::path& path) {
    fs::remove_all(path);
    fs::create_directories(path);
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

void BM_StartToFirstPicture(benchmark::State& state) {
    const int starts = environmentCount("KELTO_BENCH_STARTS", 2);
    const std::string program = (programFolder() / "KeltoTV").string();
    const fs::path base = fs::temp_directory_path() / ("kelto-start-bench-" + std::to_string(::getpid()));
    const fs::path root = freshFolder(base / "root");
    std::vector<double> startMs, versionMs;
    int failures = 0;
    for (auto _ : state) {
        for (int i = 0; i < starts; ++i) {
            kelto::test::SpawnOptions options;
            options.setEnv = {{"KELTO_ROOT", root.string()},
                              {"XDG_RUNTIME_DIR", freshFolder(base / "run").string()},
                              {"QT_QPA_PLATFORM", "offscreen"}};
            options.unsetEnv = {"KELTO_DEBUG"};
            options.output = base / "output";
            fs::remove(root / "KeltoTV.log");

            // Baseline: the same program, started and ended without a window.
            const auto versionStart = std::chrono::steady_clock::now();
            const pid_t version = kelto::test::spawn({program, "--version"}, options);
            ::waitpid(version, nullptr, 0);
            versionMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - versionStart).count());

            const SystemTime spawned = std::chrono::system_clock::now();
            const pid_t viewer = kelto::test::spawn({program}, options);
            const auto painted = waitForLogLine(root / "KeltoTV.log", "capture: first picture painted", 10s);
            if (painted) startMs.push_back(std::chrono::duration<double, std::milli>(*painted - spawned).count());
            else ++failures;
            ::kill(viewer, SIGTERM);  // the session's end: the program closes the viewer, saves and ends
            kelto::test::waitFor(viewer);
        }
    }
    fs::remove_all(base);
    if (startMs.empty()) {
        anyFailed = true;
        state.SkipWithError("the program never painted a picture");
    }
    const double median = percentile(startMs, 50), version = percentile(versionMs, 50);
    state.counters["starts"] = double(startMs.size());
    state.counters["failures"] = failures;
    state.counters["first_start_ms"] = startMs.empty() ? 0 : startMs.front();
    state.counters["min_ms"] = percentile(startMs, 0);
    state.counters["median_ms"] = median;
    state.counters["max_ms"] = percentile(startMs, 100);
    state.counters["version_ms"] = version;
    state.counters["x_version"] = version > 0 ? median / version : 0;
    state.counters["x_target"] = median / 500.0;
}

BENCHMARK(BM_StartToFirstPicture)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return anyFailed ? 1 : 0;
}
