#include "platform/system/drive_table.h"

#include <gtest/gtest.h>
#include <map>

namespace qm::sys {
namespace {

// Block devices and removable flags of an imaginary machine.
class FakeProbe final : public DeviceProbe {
public:
    std::map<std::string, DeviceNumber> devices;
    std::vector<DeviceNumber> removableDevices;

    std::optional<DeviceNumber> blockDevice(const std::string& path) const override
    {
        auto found = devices.find(path);
        return found == devices.end() ? std::nullopt : std::optional(found->second);
    }
    bool removable(DeviceNumber device) const override
    {
        return std::find(removableDevices.begin(), removableDevices.end(), device)
            != removableDevices.end();
    }
    std::string canonical(const std::string& path) const override { return path; }
};

const char* const mountinfo = R"(22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw
23 22 0:21 / /proc rw,nosuid - proc proc rw
24 22 8:1 / /boot/efi rw,relatime shared:2 - vfat /dev/sda1 rw
25 22 0:26 / /run rw,nosuid - tmpfs tmpfs rw,size=1600k
30 25 8:17 / /media/me/My\040Stick rw,nosuid shared:9 master:3 - ext4 /dev/sdb1 rw
31 22 8:2 /home /srv/home-bind rw - ext4 /dev/sda2 rw
32 22 8:33 / /data rw - xfs /dev/sdc1 rw
33 22 8:49 / /data rw - ext4 /dev/sdd1 rw
34 22 0:40 / /pool rw - btrfs /dev/sde rw
35 22 8:2 / /odd\011tab\134back\012nl rw - ext4 /dev/sda2 rw
)";

FakeProbe machine()
{
    FakeProbe probe;
    probe.devices = { { "/dev/sda1", { 8, 1 } }, { "/dev/sda2", { 8, 2 } },
        { "/dev/sdb1", { 8, 17 } }, { "/dev/sdc1", { 8, 33 } }, { "/dev/sdd1", { 8, 49 } },
        { "/dev/sde", { 8, 64 } }, { "/dev/sdf", { 8, 80 } } };
    probe.removableDevices = { { 8, 17 }, { 8, 80 } };
    return probe;
}

TEST(MountInfo, DecodesEscapesAndSkipsOptionalFields)
{
    auto mounts = parseMountInfo(std::string(mountinfo) + "garbage line\n\n");
    ASSERT_EQ(mounts.size(), 10u);
    EXPECT_EQ(mounts[4].mountPoint, "/media/me/My Stick");
    EXPECT_EQ(mounts[4].fsType, "ext4");
    EXPECT_EQ(mounts[4].source, "/dev/sdb1");
    EXPECT_EQ(mounts[4].device, (DeviceNumber { 8, 17 }));
    EXPECT_EQ(mounts[5].root, "/home");
    EXPECT_EQ(mounts[9].mountPoint, "/odd\ttab\\back\nnl");
}

struct DriveRow {
    char letter;
    const char* target;
    const char* mountPoint;
    const char* device;
    bool removable;
};

void expectDrives(const DriveTable& table, const std::vector<DriveRow>& rows)
{
    ASSERT_EQ(table.drives().size(), rows.size()) << table.format();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Drive& d = table.drives()[i];
        EXPECT_EQ(d.letter, rows[i].letter) << i;
        EXPECT_EQ(d.target, rows[i].target) << d.letter;
        EXPECT_EQ(d.mountPoint, rows[i].mountPoint) << d.letter;
        EXPECT_EQ(d.device, rows[i].device) << d.letter;
        EXPECT_EQ(d.removable, rows[i].removable) << d.letter;
    }
}

TEST(DriveTable, AutomaticLettersFollowMountPointOrder)
{
    auto probe = machine();
    auto table = DriveTable::build(parseMountInfo(mountinfo), {}, probe);
    // Root first; bind mounts of the root device get no letter; the later of two mounts on
    // /data hides the first; btrfs (major 0) counts through its block-device source.
    expectDrives(table,
        { { 'C', "/", "/", "/dev/sda2", false },
            { 'D', "/boot/efi", "/boot/efi", "/dev/sda1", false },
            { 'E', "/data", "/data", "/dev/sdd1", false },
            { 'F', "/media/me/My Stick", "/media/me/My Stick", "/dev/sdb1", true },
            { 'G', "/pool", "/pool", "/dev/sde", false } });
}

TEST(DriveTable, FileEntriesTakeTheirLettersAndTheRestMoveOn)
{
    auto probe = machine();
    std::vector<DriveFileEntry> file = { { 'C', "/media/me/My Stick" }, { 'X', "/dev/sdf" },
        { 'Y', "/dev/sdc1" }, { 'Z', "/srv/some/folder" } };
    // /dev/sdc1 is the hidden mount of /data: no mount point is found for it by device
    // number since the later mount on /data replaced it.
    auto table = DriveTable::build(parseMountInfo(mountinfo), file, probe);
    expectDrives(table,
        { { 'C', "/media/me/My Stick", "/media/me/My Stick", "/dev/sdb1", true },
            { 'D', "/", "/", "/dev/sda2", false },
            { 'E', "/boot/efi", "/boot/efi", "/dev/sda1", false },
            { 'F', "/data", "/data", "/dev/sdd1", false },
            { 'G', "/pool", "/pool", "/dev/sde", false }, { 'X', "/dev/sdf", "", "/dev/sdf", true },
            { 'Y', "/dev/sdc1", "", "/dev/sdc1", false },
            { 'Z', "/srv/some/folder", "/", "/dev/sda2", false } });
}

TEST(DriveTable, FindsLettersWithoutRegardToCase)
{
    auto probe = machine();
    auto table = DriveTable::build(parseMountInfo(mountinfo), {}, probe);
    struct {
        std::string text;
        const char* target; // nullptr: no drive
    } cases[] = { { "C:", "/" }, { "c:", "/" }, { "e:", "/data" }, { "Q:", nullptr },
        { "C", nullptr }, { "C:\\", nullptr }, { " C", nullptr }, { "", nullptr },
        { "\xC3\x89:", nullptr }, { "1:", nullptr } };
    for (const auto& c : cases) {
        const Drive* drive = table.findDriveText(c.text);
        if (c.target)
            EXPECT_TRUE(drive && drive->target == c.target) << c.text;
        else
            EXPECT_EQ(drive, nullptr) << c.text;
    }
}

TEST(DriveTable, PathsGoToTheLongestMountPointPrefix)
{
    auto probe = machine();
    auto table
        = DriveTable::build(parseMountInfo(mountinfo), { { 'Z', "/srv/some/folder" } }, probe);
    struct {
        const char* path;
        char letter; // 0: no drive
    } cases[] = { { "/", 'C' }, { "/etc/fstab", 'C' }, { "/boot/efi/EFI", 'D' },
        { "/boot/efimore", 'C' }, { "/media/me/My Stick", 'F' },
        { "/media/me/My Stick/a b/c", 'F' }, { "/data/x", 'E' }, { "/proc/self", 0 },
        { "/run/user", 0 }, { "/srv/some/folder/x", 'C' } };
    for (const auto& c : cases) {
        const Drive* drive = table.holding(c.path);
        EXPECT_EQ(drive ? drive->letter : 0, c.letter) << c.path;
    }
}

TEST(DrivesFile, ParsesLinesAndReportsBadOnes)
{
    auto parse = parseDrivesFile("# my drives\n"
                                 "E: /media/usb\n"
                                 "\n"
                                 "f:\t/media/my stick  \r\n"
                                 "G /nocolon\n"
                                 "H: relative/path\n"
                                 "e: /again\n"
                                 "1: /digit\n"
                                 "I:/tight");
    ASSERT_EQ(parse.entries.size(), 3u);
    EXPECT_EQ(parse.entries[0].letter, 'E');
    EXPECT_EQ(parse.entries[0].path, "/media/usb");
    EXPECT_EQ(parse.entries[1].letter, 'F');
    EXPECT_EQ(parse.entries[1].path, "/media/my stick");
    EXPECT_EQ(parse.entries[2].letter, 'I');
    EXPECT_EQ(parse.entries[2].path, "/tight");
    ASSERT_EQ(parse.problems.size(), 4u);
    EXPECT_NE(parse.problems[0].find("line 5"), std::string::npos) << parse.problems[0];
    EXPECT_NE(parse.problems[2].find("already"), std::string::npos) << parse.problems[2];
}

TEST(DriveTable, FormatListsEveryDriveOnALine)
{
    auto probe = machine();
    auto table = DriveTable::build(parseMountInfo(mountinfo), { { 'X', "/dev/sdf" } }, probe);
    std::string text = table.format();
    EXPECT_NE(text.find("F:     /media/me/My Stick  /dev/sdb1  ext4   yes"), std::string::npos)
        << text;
    EXPECT_NE(text.find("X:     -"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
}

} // namespace
} // namespace qm::sys
