#include "platform/system/drive_table.h"
#include "platform/system/volume.h"
#include "tests/system/support/scratch_dir.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace qm::sys {
namespace {

namespace fs = std::filesystem;

class LinuxVolumesTest : public testing::Test {
protected:
    std::unique_ptr<Volumes> volumesWith(std::vector<DriveFileEntry> entries)
    {
        return makeLinuxVolumes(DriveTable::build({}, entries, systemProbe()));
    }

    test::ScratchDir scratch_;
    const fs::path& dir_ = scratch_.path();
};

TEST_F(LinuxVolumesTest, LastErrorFollowsThePlatformRules)
{
    auto volumes = volumesWith({ { 'E', dir_.string() }, { 'F', (dir_ / "gone").string() } });

    EXPECT_EQ(volumes->openVolume("\\\\.\\F:"), invalidVolume);
    EXPECT_EQ(volumes->lastError(), ENOENT);

    VolumeHandle handle = volumes->openVolume("\\\\.\\E:");
    ASSERT_NE(handle, invalidVolume);
    EXPECT_EQ(volumes->lastError(), 0) << "a successful open clears the last error";

    EXPECT_FALSE(volumes->flushVolume(handle + 100));
    EXPECT_EQ(volumes->lastError(), EBADF);
    EXPECT_TRUE(volumes->flushVolume(handle));
    EXPECT_EQ(volumes->lastError(), EBADF) << "a successful flush leaves the last error";
    EXPECT_TRUE(volumes->closeVolume(handle));
    EXPECT_EQ(volumes->lastError(), EBADF) << "a successful close leaves the last error";
    EXPECT_FALSE(volumes->closeVolume(handle));
    EXPECT_EQ(volumes->lastError(), EBADF);
    EXPECT_FALSE(volumes->flushVolume(invalidVolume));
}

TEST_F(LinuxVolumesTest, OpenNeverCreatesAndRefusesWhatItCannotFlush)
{
    fs::path missing = dir_ / "missing";
    fs::path fifo = dir_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::path file = scratch_.write("file", "data");
    auto volumes = volumesWith({ { 'M', missing.string() }, { 'P', fifo.string() },
        { 'R', file.string() }, { 'N', "/dev/null" } });

    struct {
        const char* path;
        std::int32_t code;
    } cases[] = { { "\\\\.\\M:", ENOENT }, { "\\\\.\\P:", ENOTBLK }, { "\\\\.\\N:", ENOTBLK },
        { "\\\\.\\R:", 0 }, { "\\\\.\\Q:", ENOENT }, { "\\\\.\\", ENOENT }, { "E:", ENOENT },
        { "", ENOENT } };
    for (const auto& c : cases) {
        VolumeHandle handle = volumes->openVolume(c.path);
        EXPECT_EQ(volumes->lastError(), c.code) << c.path;
        EXPECT_EQ(handle == invalidVolume, c.code != 0) << c.path;
        if (handle != invalidVolume) {
            EXPECT_TRUE(volumes->closeVolume(handle));
        }
    }
    EXPECT_FALSE(fs::exists(missing));
    std::ifstream in(file);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "data");
}

TEST_F(LinuxVolumesTest, HandlesWorkAcrossThreads)
{
    auto volumes = volumesWith({ { 'E', dir_.string() } });
    VolumeHandle handle = invalidVolume;
    std::thread([&] { handle = volumes->openVolume("\\\\.\\e:"); }).join();
    ASSERT_NE(handle, invalidVolume);
    EXPECT_EQ(volumes->lastError(), 0);
    std::thread([&] { volumes->flushVolume(handle + 1); }).join();
    EXPECT_EQ(volumes->lastError(), EBADF) << "the value belongs to the layer, not a thread";
    std::thread([&] { EXPECT_TRUE(volumes->closeVolume(handle)); }).join();
}

TEST(LinuxMessageText, IsStrerrorExactlyOrNothing)
{
    auto volumes = makeLinuxVolumes(DriveTable {});
    struct {
        std::int32_t code;
        std::string text;
    } cases[] = { { 0, "Success" }, { 2, "No such file or directory" }, { 13, "Permission denied" },
        { 16, "Device or resource busy" }, { 41, "" }, { 4000, "" }, { -1, "" } };
    for (const auto& c : cases) {
        char buffer[2560];
        std::fill(std::begin(buffer), std::end(buffer), 'x');
        std::uint32_t n = volumes->messageText(c.code, buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer, n), c.text) << c.code;
        EXPECT_EQ(buffer[n], '\0') << c.code;
    }
}

TEST(LinuxMessageText, ATextThatDoesNotFitGivesNothing)
{
    auto volumes = makeLinuxVolumes(DriveTable {});
    char buffer[8];
    EXPECT_EQ(volumes->messageText(0, buffer, 8), 7u); // "Success" and its NUL
    EXPECT_EQ(volumes->messageText(0, buffer, 7), 0u);
    EXPECT_EQ(volumes->messageText(2, buffer, 8), 0u);
}

} // namespace
} // namespace qm::sys
