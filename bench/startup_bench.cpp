// Time from process start to the first painted progress window (with its clip), against a bare
// Qt window of the same size, in one run. Each iteration starts a fresh process; the probe
// reports the monotonic clock at the end of its first paint. Needs a display (run under
// xvfb-run for a repeatable one); QT_QPA_PLATFORM=offscreen also works.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Seconds from just before the spawn to the end of the probe's first paint, or -1.
double firstPaint(const char* mode)
{
    int out[2];
    if (::pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = { const_cast<char*>(QM_PROBE), const_cast<char*>(mode), nullptr };
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const int failed = posix_spawn(&pid, QM_PROBE, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string text;
    char buffer[64];
    for (ssize_t n; !failed && (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    ::close(out[0]);
    int status = 0;
    if (failed || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)
        || WEXITSTATUS(status) != 0 || text.empty())
        return -1;
    const std::chrono::nanoseconds painted(std::stoll(text));
    return std::chrono::duration<double>(painted - start.time_since_epoch()).count();
}

void run(benchmark::State& state, const char* mode)
{
    for (auto _ : state) {
        const double seconds = firstPaint(mode);
        if (seconds < 0) {
            state.SkipWithError("the probe did not paint a window (no display?)");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void ProgressWindowFirstPaint(benchmark::State& state)
{
    run(state, "quillmere");
}
void BareQtWindowFirstPaint(benchmark::State& state)
{
    run(state, "qt");
}

BENCHMARK(ProgressWindowFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BareQtWindowFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

BENCHMARK_MAIN();
