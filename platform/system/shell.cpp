#include "platform/system/shell.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qm::sys {

namespace {

// "scheme:" with a scheme of letters, digits, "+", "-", "." after a first letter, and more
// than one character (so "C:" stays a path).
bool isAddress(const std::string& target)
{
    const auto colon = target.find(':');
    if (colon == std::string::npos || colon < 2
        || !std::isalpha(static_cast<unsigned char>(target[0])))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(target[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

// The code for a file the shell cannot open, or 0 when it is there and readable.
int fileProblem(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0)
        return ::access(path.c_str(), R_OK) == 0 ? 0 : shellAccessDenied;
    switch (errno) {
    case EACCES:
        return shellAccessDenied;
    case ENOENT: {
        // A missing file in a folder that exists, or a missing folder on the way.
        const auto slash = path.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "."
            : slash == 0                                      ? "/"
                                                              : path.substr(0, slash);
        struct stat dir { };
        return ::stat(folder.c_str(), &dir) == 0 && S_ISDIR(dir.st_mode) ? shellFileNotFound
                                                                         : shellPathNotFound;
    }
    default: // ENOTDIR, ELOOP, ENAMETOOLONG: the way to the file is wrong
        return shellPathNotFound;
    }
}

std::string findOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/local/bin:/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
        struct stat st { };
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode)
            && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// xdg-open's exit statuses: 0 success, 1 bad command line, 2 a file that does not exist,
// 3 a tool it needs is missing, 4 the action failed.
int codeForExit(int status)
{
    if (!WIFEXITED(status))
        return shellNotStarted;
    switch (WEXITSTATUS(status)) {
    case 0:
        return shellOpened;
    case 2:
        return shellFileNotFound;
    default:
        return shellNoAssociation;
    }
}

} // namespace

int ShellOpen(
    const std::string& target, const std::string& directory, std::chrono::milliseconds limit)
{
    if (!isAddress(target)) {
        const std::string path
            = directory.empty() || target.starts_with("/") ? target : directory + "/" + target;
        if (const int problem = fileProblem(path))
            return problem;
    }
    const std::string program = findOnPath("xdg-open");
    if (program.empty())
        return shellNotStarted;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (!directory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    std::vector<char*> argv { const_cast<char*>("xdg-open"), const_cast<char*>(target.c_str()),
        nullptr };
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return shellNotStarted;

    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (auto pause = std::chrono::milliseconds(1);;
         pause = std::min(pause * 2, std::chrono::milliseconds(20))) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return codeForExit(status);
        if (done < 0 && errno != EINTR)
            return shellNotStarted;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(pause);
    }
    // Still running: it has an application to hand the target to. Reap it when it ends.
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    }).detach();
    return shellOpened;
}

} // namespace qm::sys
