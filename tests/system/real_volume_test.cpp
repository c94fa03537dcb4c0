// The built quillmere against a real ext4 filesystem on a loop device (root only).
#include "tests/system/support/scratch_dir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string quote(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

struct Result {
    int status = -1;
    std::string out;
};

Result run(const std::string& command)
{
    Result result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

// A small ext4 image attached to a loop device and mounted in a temporary folder; everything
// is undone on destruction, whatever happened.
class LoopVolume {
public:
    static std::optional<std::string> unavailable()
    {
        if (::geteuid() != 0)
            return "not root, so no loop devices can be attached";
        if (run("command -v losetup && command -v mkfs.ext4 && command -v mount").status != 0)
            return "losetup, mkfs.ext4 or mount is not installed";
        if (run("losetup -f 2>&1").status != 0)
            return "no free loop device (losetup -f failed)";
        return std::nullopt;
    }

    LoopVolume()
    {
        fs::create_directories(dir / "mount point");
        image = dir / "ext4.img";
        mountPoint = (dir / "mount point").string(); // a blank: \040 in mountinfo
        if (run("truncate -s 16M " + quote(image) + " && mkfs.ext4 -q -F " + quote(image) + " 2>&1")
                .status
            != 0)
            return;
        Result attach = run("losetup -f --show " + quote(image) + " 2>&1");
        if (attach.status != 0)
            return;
        device = attach.out.substr(0, attach.out.find('\n'));
        mounted = run("mount " + quote(device) + " " + quote(mountPoint) + " 2>&1").status == 0;
    }

    ~LoopVolume()
    {
        unmount();
        if (!device.empty())
            run("losetup -d " + quote(device) + " 2>&1");
    }

    bool unmount()
    {
        if (mounted && run("umount " + quote(mountPoint) + " 2>&1").status == 0)
            mounted = false;
        return !mounted;
    }

    qm::test::ScratchDir scratch; // declared first: removed after the unmount
    fs::path dir = scratch.path(), image;
    std::string mountPoint, device;
    bool mounted = false;
};

class RealVolume : public testing::Test {
protected:
    void SetUp() override
    {
        if (auto why = LoopVolume::unavailable())
            GTEST_SKIP() << "skipped: " << *why;
        program = fs::path(QM_BINARY_DIR) / "app" / "quillmere";
        ASSERT_TRUE(fs::exists(program)) << program;
        volume.emplace();
        ASSERT_TRUE(volume->mounted) << "could not attach and mount " << volume->image;
        drives = volume->dir / "drives";
    }

    Result quillmere(const std::string& drivesText, const std::string& args)
    {
        std::ofstream(drives) << drivesText;
        fs::path err = volume->dir / "stderr";
        Result result = run("QUILLMERE_DRIVES=" + quote(drives) + " " + quote(program) + " " + args
            + " 2>" + quote(err));
        stderrText = slurp(err);
        return result;
    }

    fs::path program, drives;
    std::optional<LoopVolume> volume;
    std::string stderrText;
};

TEST_F(RealVolume, FlushWritesTheDataOutToTheDevice)
{
    // Written without any sync: only the flush can put it into the image this soon.
    const std::string marker = "quillmere-marker-" + std::to_string(::getpid()) + "-unflushed";
    std::ofstream(volume->mountPoint + "/note.txt") << marker;

    Result result = quillmere("Q: " + volume->mountPoint + "\n", "--console q:");
    EXPECT_EQ(result.out, "Success\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(stderrText, "");
    EXPECT_NE(slurp(volume->image).find(marker), std::string::npos);
}

TEST_F(RealVolume, LettersPathsAndDevicesReachTheSameVolume)
{
    fs::create_directories(volume->mountPoint + "/a folder");
    struct {
        std::string drives, args, out;
        int status;
    } cases[] = {
        { "Q: " + volume->mountPoint, "--console Q:\\\\some\\\\folder", "Success\n", 0 },
        { "Q: " + volume->mountPoint, "--console " + quote(volume->mountPoint + "/a folder"),
            "Success\n", 0 },
        { "R: " + volume->device, "--console R:", "Success\n", 0 },
        { "T: " + volume->mountPoint + "/missing",
            "--console T:", "Errore: 2:\nNo such file or directory\n", 1 },
    };
    for (const auto& c : cases) {
        Result result = quillmere(c.drives + "\n", c.args);
        EXPECT_EQ(result.out, c.out) << c.args << "\n" << stderrText;
        EXPECT_EQ(result.status, c.status) << c.args;
    }
    EXPECT_FALSE(fs::exists(volume->mountPoint + "/missing"));

    Result list = quillmere("Q: " + volume->mountPoint + "\n", "--list-drives");
    EXPECT_EQ(list.status, 0);
    std::istringstream lines(list.out);
    std::string line, qLine;
    while (std::getline(lines, line))
        if (line.starts_with("Q:"))
            qLine = line;
    for (const std::string& column : { volume->mountPoint, volume->device, std::string("ext4") })
        EXPECT_NE(qLine.find(column), std::string::npos) << column << " in\n" << list.out;

    // A device that is not mounted is opened and flushed alone.
    ASSERT_TRUE(volume->unmount());
    Result result = quillmere("R: " + volume->device + "\n", "--console R:");
    EXPECT_EQ(result.out, "Success\n") << stderrText;
    EXPECT_EQ(result.status, 0);
}

} // namespace
