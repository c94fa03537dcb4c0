// The console flush of a mounted volume against coreutils `sync -f` on the same mount, each run
// as a process after the same amount of fresh dirty data. As root with loop devices the volume is
// a small ext4 image of its own; elsewhere a folder under the temporary folder stands in.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Volume {
    fs::path dir, image, mountPoint;
    std::string device;
    bool mounted = false;
    std::string drivesFile;
} volume;

int shell(const std::string& command)
{
    return std::system(command.c_str());
}

std::string shellOutput(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        ::pclose(pipe);
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

void setUp()
{
    volume.dir = fs::temp_directory_path() / ("quillmere-bench-" + std::to_string(::getpid()));
    volume.mountPoint = volume.dir / "mnt";
    fs::create_directories(volume.mountPoint);
    volume.image = volume.dir / "ext4.img";
    if (::geteuid() == 0
        && shell("truncate -s 64M '" + volume.image.string() + "' && mkfs.ext4 -q -F '"
               + volume.image.string() + "' >/dev/null 2>&1")
            == 0) {
        volume.device
            = shellOutput("losetup -f --show '" + volume.image.string() + "' 2>/dev/null");
        volume.mounted = !volume.device.empty()
            && shell("mount '" + volume.device + "' '" + volume.mountPoint.string() + "'") == 0;
    }
    std::fprintf(stderr, "volume: %s\n",
        volume.mounted ? ("ext4 on " + volume.device).c_str()
                       : "a temporary folder (no loop device: not root or none free)");
    volume.drivesFile = (volume.dir / "drives").string();
    std::ofstream(volume.drivesFile) << "Q: " << volume.mountPoint.string() << "\n";
}

void tearDown()
{
    if (volume.mounted)
        shell("umount '" + volume.mountPoint.string() + "'");
    if (!volume.device.empty())
        shell("losetup -d '" + volume.device + "'");
    std::error_code ignored;
    fs::remove_all(volume.dir, ignored);
}

void dirty(std::size_t bytes)
{
    static int round = 0;
    std::ofstream out(volume.mountPoint / ("data" + std::to_string(round++ % 8)),
        std::ios::binary | std::ios::trunc);
    std::string block(4096, char('a' + round % 26));
    for (std::size_t written = 0; written < bytes; written += block.size())
        out << block;
}

bool runProcess(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)
        && WEXITSTATUS(status) == 0;
}

void flushWith(benchmark::State& state, const std::vector<std::vector<std::string>>& commands)
{
    const auto bytes = std::size_t(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        dirty(bytes);
        state.ResumeTiming();
        for (const auto& command : commands) {
            if (!runProcess(command)) {
                state.SkipWithError("a flush command failed");
                return;
            }
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

void QuillmereConsole(benchmark::State& state)
{
    ::setenv("QUILLMERE_DRIVES", volume.drivesFile.c_str(), 1);
    flushWith(state, { { QM_QUILLMERE, "--console", "Q:" } });
}

void CoreutilsSyncF(benchmark::State& state)
{
    flushWith(state, { { "sync", "-f", volume.mountPoint.string() } });
}

// What one of our flushes does, in two processes: syncfs, then fsync on the block device (which
// also asks the device to empty its write cache). Only with a loop device.
void CoreutilsSyncFThenDevice(benchmark::State& state)
{
    if (volume.device.empty()) {
        state.SkipWithError("no block device");
        return;
    }
    flushWith(state, { { "sync", "-f", volume.mountPoint.string() }, { "sync", volume.device } });
}

BENCHMARK(QuillmereConsole)->Arg(0)->Arg(1 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CoreutilsSyncF)->Arg(0)->Arg(1 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CoreutilsSyncFThenDevice)
    ->Arg(0)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    setUp();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tearDown();
    return 0;
}
