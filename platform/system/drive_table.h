#pragma once
// The drive table: which mounted filesystem or block device each drive letter names. Letters come
// from the drives file ("E: /media/usb" per line) and, for the rest, automatically from the mount
// table: C: is the root filesystem, then D:, E:, ... the other block-backed filesystems in order of
// mount point. Plain C++; the parsers are pure so they can be tested from fixture text.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::sys {

struct DeviceNumber {
    unsigned major = 0;
    unsigned minor = 0;
    bool operator==(const DeviceNumber&) const = default;
};

// One line of /proc/self/mountinfo, with its escapes (\040 and the like) decoded.
struct MountEntry {
    DeviceNumber device;
    std::string root;
    std::string mountPoint;
    std::string fsType;
    std::string source;
};

std::vector<MountEntry> parseMountInfo(std::string_view text);

struct DriveFileEntry {
    char letter = 0; // upper case
    std::string path;
};

struct DriveFileParse {
    std::vector<DriveFileEntry> entries;
    std::vector<std::string> problems; // one line each, for standard error
};

// Blank lines and lines starting with '#' are skipped; a bad line is reported and skipped.
DriveFileParse parseDrivesFile(std::string_view text);

struct Drive {
    char letter = 0; // 'A'..'Z'
    std::string target; // what an open opens: a directory (mount point) or a block device
    std::string mountPoint; // of the filesystem holding the target; empty for an unmounted device
    std::string device; // the block device behind it; empty when there is none we can name
    std::string fsType;
    bool removable = false;
    bool fromFile = false;
};

// Facts from the running system, replaceable in tests.
class DeviceProbe {
public:
    virtual ~DeviceProbe() = default;
    // The device number when `path` is a block device.
    virtual std::optional<DeviceNumber> blockDevice(const std::string& path) const = 0;
    virtual bool removable(DeviceNumber device) const = 0;
    // The canonical form of an absolute path (symbolic links resolved) or, when it does not
    // exist, the path lexically normalised.
    virtual std::string canonical(const std::string& path) const = 0;
};

const DeviceProbe& systemProbe();

class DriveTable {
public:
    DriveTable() = default;
    static DriveTable build(const std::vector<MountEntry>& mounts,
        const std::vector<DriveFileEntry>& fileEntries, const DeviceProbe& probe);

    // Letters compare without regard to case.
    const Drive* find(char letter) const;
    // The drive named by a drive text that is exactly a letter and a colon; nullptr otherwise.
    const Drive* findDriveText(std::string_view driveText) const;
    // The drive of the mounted filesystem holding an absolute, canonical path (longest
    // mount-point prefix); nullptr when that filesystem has no letter.
    const Drive* holding(const std::string& canonicalPath) const;

    const std::vector<Drive>& drives() const { return drives_; } // in letter order
    // Letter, mount point, device, filesystem type, removable: one aligned line per drive.
    std::string format() const;

private:
    std::vector<Drive> drives_;
    std::vector<std::string> mountPoints_;
};

// $QUILLMERE_DRIVES, else $XDG_CONFIG_HOME/quillmere/drives, else ~/.config/quillmere/drives.
std::string drivesFilePath();

struct DriveTableLoad {
    DriveTable table;
    std::vector<std::string> problems;
};

// Reads /proc/self/mountinfo and the drives file (a missing default file is no problem; a missing
// file named by QUILLMERE_DRIVES is).
DriveTableLoad loadSystemDriveTable();

} // namespace qm::sys
