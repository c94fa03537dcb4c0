#include "platform/system/shell.h"
#include "tests/system/support/scratch_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace qm::sys {
namespace {

// Puts a stand-in xdg-open first on PATH: it records its arguments, one per line, and
// exits with the status in QM_XDG_STATUS (after QM_XDG_SLEEP seconds, if set).
class ShellOpenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto bin = dir.path() / "bin";
        std::filesystem::create_directory(bin);
        const auto script = bin / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\n"
                                 "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '"
                + (dir / "args").string()
                + "'\n"
                  "pwd > '"
                + (dir / "cwd").string()
                + "'\n"
                  "[ -n \"$QM_XDG_SLEEP\" ] && exec sleep \"$QM_XDG_SLEEP\"\n"
                  "exit ${QM_XDG_STATUS:-0}\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        const char* old = std::getenv("PATH");
        oldPath = old ? old : "";
        setenv("PATH", (bin.string() + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override
    {
        setenv("PATH", oldPath.c_str(), 1);
        unsetenv("QM_XDG_STATUS");
        unsetenv("QM_XDG_SLEEP");
    }
    std::string recorded(const char* name) const
    {
        std::ifstream in(dir / name);
        return { std::istreambuf_iterator<char>(in), {} };
    }

    test::ScratchDir dir;
    std::string oldPath;
};

TEST_F(ShellOpenTest, ExitStatusesBecomeShellCodes)
{
    const auto doc = dir.write("licence text.txt", "GPL");
    const std::pair<const char*, int> cases[] = {
        { "0", shellOpened },
        { "1", shellNoAssociation },
        { "2", shellFileNotFound },
        { "3", shellNoAssociation },
        { "4", shellNoAssociation },
    };
    for (const auto& [status, code] : cases) {
        setenv("QM_XDG_STATUS", status, 1);
        std::filesystem::remove(dir / "args");
        EXPECT_EQ(ShellOpen(doc.string()), code) << "exit " << status;
        // One argument, exactly the target, blanks and all: no shell in between.
        EXPECT_EQ(recorded("args"), doc.string() + "\n");
    }
}

TEST_F(ShellOpenTest, AddressesGoStraightToXdgOpen)
{
    for (const std::string address :
        { "https://example.org/a b?c=$HOME&d", "mailto:someone@example.org" }) {
        EXPECT_GT(ShellOpen(address), 32);
        EXPECT_EQ(recorded("args"), address + "\n");
    }
}

TEST_F(ShellOpenTest, MissingFilesAreReportedWithoutStartingAnything)
{
    const std::pair<std::filesystem::path, int> cases[] = {
        { dir / "no such file.txt", shellFileNotFound },
        { dir / "no such folder" / "gpl.txt", shellPathNotFound },
    };
    for (const auto& [path, code] : cases)
        EXPECT_EQ(ShellOpen(path.string()), code) << path;
    EXPECT_FALSE(std::filesystem::exists(dir / "args"));
}

TEST_F(ShellOpenTest, UnreadableFileIsAccessDenied)
{
    if (std::system("[ \"$(id -u)\" -ne 0 ]") != 0)
        GTEST_SKIP() << "skipped: root reads every file";
    const auto secret = dir.write("secret.txt", "x");
    std::filesystem::permissions(secret, std::filesystem::perms::none);
    EXPECT_EQ(ShellOpen(secret.string()), shellAccessDenied);
}

TEST_F(ShellOpenTest, RunsFromTheGivenFolder)
{
    dir.write("doc.txt", "x");
    EXPECT_EQ(ShellOpen("doc.txt", dir.path().string()), shellOpened);
    EXPECT_EQ(recorded("cwd"), dir.path().string() + "\n");
}

TEST_F(ShellOpenTest, WithoutXdgOpenNothingStarts)
{
    const auto doc = dir.write("doc.txt", "x");
    setenv("PATH", (dir / "nowhere").c_str(), 1);
    EXPECT_EQ(ShellOpen(doc.string()), shellNotStarted);
}

TEST_F(ShellOpenTest, ALingeringXdgOpenCountsAsOpenedAfterTheLimit)
{
    const auto doc = dir.write("doc.txt", "x");
    setenv("QM_XDG_SLEEP", "1", 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ShellOpen(doc.string(), {}, std::chrono::milliseconds(100)), shellOpened);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
}

} // namespace
} // namespace qm::sys
