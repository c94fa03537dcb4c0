// The forms runtime on a real X server (Xvfb) with a window manager (openbox): a form with a
// shaped child is shown, the pointer is moved and clicked with xdotool, the screen's pixels
// inside and outside the shape are checked, and one control is dragged onto another.
// Skips when the tools are not installed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

std::string findTool(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::string p = dir + "/" + name;
        if (access(p.c_str(), X_OK) == 0)
            return p;
    }
    return {};
}

// A process we started; stopped (and reaped) when the object goes.
class Child {
public:
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { stop(); }

    // Starts `argv` with extra environment entries; `out` receives its stdout (or -1), `keepFd`
    // stays open in the child.
    bool start(const std::vector<std::string>& argv, const std::vector<std::string>& env,
        int* out = nullptr, int keepFd = -1)
    {
        int pipeFds[2] = { -1, -1 };
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        if (out) {
            if (pipe2(pipeFds, O_CLOEXEC) != 0)
                return false;
            posix_spawn_file_actions_adddup2(&fa, pipeFds[1], 1);
        }
        const int devnull = open("/dev/null", O_RDONLY | O_CLOEXEC);
        posix_spawn_file_actions_adddup2(&fa, devnull, 0);
        if (keepFd >= 0) {
            fcntl(keepFd, F_SETFD, 0); // inherited
        }
        // Our entries replace those of the same name.
        std::vector<std::string> envStore;
        for (char** e = environ; *e; ++e) {
            const std::string entry(*e);
            bool replaced = false;
            for (const auto& mine : env)
                replaced = replaced
                    || entry.substr(0, entry.find('=') + 1) == mine.substr(0, mine.find('=') + 1);
            if (!replaced)
                envStore.push_back(entry);
        }
        for (const auto& e : env)
            envStore.push_back(e);
        std::vector<char*> envp, args;
        for (auto& e : envStore)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::vector<std::string> argStore = argv;
        for (auto& a : argStore)
            args.push_back(a.data());
        args.push_back(nullptr);
        const int rc = posix_spawn(&pid_, args[0], &fa, nullptr, args.data(), envp.data());
        posix_spawn_file_actions_destroy(&fa);
        close(devnull);
        if (keepFd >= 0)
            fcntl(keepFd, F_SETFD, FD_CLOEXEC);
        if (out) {
            close(pipeFds[1]);
            *out = pipeFds[0];
        }
        if (rc != 0)
            pid_ = -1;
        return rc == 0;
    }

    // Waits up to `ms` for the process to end by itself; its exit status, or -1.
    int wait(int ms)
    {
        for (int waited = 0; pid_ > 0 && waited <= ms; waited += 20) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

    void stop()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        if (wait(2000) == -1 && pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }

    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

// Reads one line from `fd`, waiting up to `ms`.
bool readLine(int fd, std::string& line, int ms)
{
    line.clear();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    fcntl(fd, F_SETFL, O_NONBLOCK);
    while (std::chrono::steady_clock::now() < end) {
        char c;
        const ssize_t n = read(fd, &c, 1);
        if (n == 1) {
            if (c == '\n')
                return true;
            line += c;
        } else if (n == 0) {
            return false;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return false;
}

int run(const std::vector<std::string>& argv, const std::vector<std::string>& env)
{
    Child c;
    if (!c.start(argv, env))
        return -1;
    return c.wait(5000);
}

TEST(RealDisplay, ShapedChildTakesTheMouseOnlyInsideItsRegionAndDragsOntoAnotherControl)
{
    const std::string xvfb = findTool("Xvfb"), wm = findTool("openbox"),
                      xdotool = findTool("xdotool");
    if (xvfb.empty() || wm.empty() || xdotool.empty())
        GTEST_SKIP() << "skipped: Xvfb, openbox or xdotool is not installed "
                        "(scripts/install-deps.sh installs them)";

    // Our own server on a free display: Xvfb writes the display number it chose.
    int displayPipe[2];
    ASSERT_EQ(pipe2(displayPipe, O_CLOEXEC), 0);
    Child server;
    ASSERT_TRUE(server.start({ xvfb, "-displayfd", std::to_string(displayPipe[1]), "-screen", "0",
                                 "800x600x24", "-dpi", "96", "-nolisten", "tcp" },
        {}, nullptr, displayPipe[1]));
    close(displayPipe[1]);
    std::string number;
    const bool gotDisplay = readLine(displayPipe[0], number, 10000);
    close(displayPipe[0]);
    if (!gotDisplay || number.empty())
        GTEST_SKIP() << "skipped: Xvfb did not start (no display number reported)";
    const std::string display = "DISPLAY=:" + number;

    Child windowManager;
    ASSERT_TRUE(windowManager.start({ wm, "--sm-disable" }, { display }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(windowManager.running()) << "openbox ended at once";

    int out = -1;
    Child program;
    ASSERT_TRUE(
        program.start({ QM_FORMS_DISPLAY_CHILD }, { display, "QT_QPA_PLATFORM=xcb" }, &out));
    std::string line, probeLine, pixels, ready;
    while (readLine(out, line, 20000)) {
        if (line.rfind("PROBE", 0) == 0)
            probeLine = line;
        if (line.rfind("PIXELS", 0) == 0)
            pixels = line;
        if (line.rfind("READY", 0) == 0) {
            ready = line;
            break;
        }
        ASSERT_NE(line.rfind("FAIL", 0), 0u) << line;
    }
    ASSERT_FALSE(ready.empty()) << "the form never became ready";
    // 915 x 375 twips at 96 DPI.
    int px, py, pw, ph;
    ASSERT_EQ(std::sscanf(probeLine.c_str(), "PROBE %d %d %d %d", &px, &py, &pw, &ph), 4);
    EXPECT_EQ(pw, 61);
    EXPECT_EQ(ph, 25);
    // The probe's red surface inside the ellipse; the form's button face at its corner.
    EXPECT_EQ(pixels, "PIXELS FF0000 D4D0C8");

    int cornerX, cornerY, centreX, centreY;
    ASSERT_EQ(
        std::sscanf(ready.c_str(), "READY %d %d %d %d", &cornerX, &cornerY, &centreX, &centreY), 4);
    EXPECT_EQ(run({ xdotool, "mousemove", "--sync", std::to_string(cornerX),
                      std::to_string(cornerY), "click", "1" },
                  { display }),
        0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(run({ xdotool, "mousemove", "--sync", std::to_string(centreX),
                      std::to_string(centreY), "click", "1" },
                  { display }),
        0);
    std::string clicks;
    ASSERT_TRUE(readLine(out, clicks, 20000)) << "no clicks reported";
    // One click reached the form (outside the shape), one the control.
    EXPECT_EQ(clicks,
        "CLICKS 1 1 CURSOR " + std::to_string(centreX) + " " + std::to_string(centreY)
            + " UNDER probe");

    // A real drag from Probe1 to Probe2: the source declared its text and gives it when the
    // target reads it at the drop; the target took a copy.
    std::string dragReady;
    ASSERT_TRUE(readLine(out, dragReady, 20000)) << "no drag set up";
    int sx, sy, tx, ty;
    ASSERT_EQ(std::sscanf(dragReady.c_str(), "DRAGREADY %d %d %d %d", &sx, &sy, &tx, &ty), 4)
        << dragReady;
    // (The pointer still rests on the probe's centre: --sync would wait for a move to it.)
    EXPECT_EQ(
        run({ xdotool, "mousemove", "--sync", std::to_string(sx + 2), std::to_string(sy),
                "mousedown", "1", "sleep", "0.2", "mousemove", "--sync", std::to_string(sx + 8),
                std::to_string(sy), "sleep", "0.3", "mousemove", "--sync", std::to_string(tx - 5),
                std::to_string(ty), "sleep", "0.3", "mousemove", "--sync", std::to_string(tx),
                std::to_string(ty), "sleep", "0.3", "mouseup", "1" },
            { display }),
        0);
    std::string drag, drop;
    ASSERT_TRUE(readLine(out, drag, 20000)) << "the drag never ended";
    ASSERT_TRUE(readLine(out, drop, 5000));
    EXPECT_EQ(drag, "DRAG OLEStartDrag 3|OLESetData 1|OLECompleteDrag 1 FEEDBACK copy");
    // Entered (0), moved over (2), dropped (D).
    const std::string dropPrefix = "DROP from Probe1/own STATES ";
    ASSERT_EQ(drop.rfind(dropPrefix, 0), 0u) << drop;
    const std::string states = drop.substr(dropPrefix.size());
    EXPECT_GE(states.size(), 3u) << states;
    EXPECT_EQ(states.front(), '0') << states;
    EXPECT_EQ(states.back(), 'D') << states;
    EXPECT_EQ(states.substr(1, states.size() - 2).find_first_not_of('2'), std::string::npos)
        << states;
    EXPECT_EQ(program.wait(5000), 0);
    close(out);
}

} // namespace
