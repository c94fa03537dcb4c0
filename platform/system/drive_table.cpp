#include "platform/system/drive_table.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace qm::sys {

namespace {

char upperLetter(char c)
{
    if (c >= 'a' && c <= 'z')
        return char(c - 'a' + 'A');
    return (c >= 'A' && c <= 'Z') ? c : 0;
}

// mountinfo writes space, tab, newline and backslash as \ and three octal digits.
std::string unescape(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    auto octal = [](char c) { return c >= '0' && c <= '7'; };
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octal(field[i + 1]) && octal(field[i + 2])
            && octal(field[i + 3])) {
            out += char(
                ((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

std::vector<std::string_view> splitBlanks(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start)
            fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

std::optional<DeviceNumber> parseDeviceNumber(std::string_view text)
{
    auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    DeviceNumber number;
    auto digits = [](std::string_view s, unsigned& value) {
        if (s.empty() || s.size() > 9)
            return false;
        value = 0;
        for (char c : s) {
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + unsigned(c - '0');
        }
        return true;
    };
    if (!digits(text.substr(0, colon), number.major)
        || !digits(text.substr(colon + 1), number.minor))
        return std::nullopt;
    return number;
}

// Is `path` equal to `prefix` or inside it, by whole components?
bool pathWithin(std::string_view path, std::string_view prefix)
{
    if (prefix == "/")
        return !path.empty() && path.front() == '/';
    return path.starts_with(prefix) && (path.size() == prefix.size() || path[prefix.size()] == '/');
}

std::string trim(std::string_view s)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

// The mount (index) whose mount point is the longest prefix of a canonical path.
std::optional<std::size_t> holdingMount(
    const std::vector<MountEntry>& mounts, const std::string& path)
{
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        if (!pathWithin(path, mounts[i].mountPoint))
            continue;
        // Equal lengths: a later mount on the same point hides the earlier one.
        if (!best || mounts[i].mountPoint.size() >= mounts[*best].mountPoint.size())
            best = i;
    }
    return best;
}

class SystemProbe final : public DeviceProbe {
public:
    std::optional<DeviceNumber> blockDevice(const std::string& path) const override
    {
        struct stat st { };
        if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISBLK(st.st_mode))
            return std::nullopt;
        return DeviceNumber { ::major(st.st_rdev), ::minor(st.st_rdev) };
    }

    bool removable(DeviceNumber device) const override
    {
        // A partition has no "removable" of its own; its disk (the parent folder) has.
        std::string base
            = "/sys/dev/block/" + std::to_string(device.major) + ":" + std::to_string(device.minor);
        for (const char* file : { "/removable", "/../removable" }) {
            std::ifstream in(base + file);
            int value = 0;
            if (in >> value)
                return value != 0;
        }
        return false;
    }

    std::string canonical(const std::string& path) const override
    {
        std::error_code error;
        auto resolved = std::filesystem::canonical(path, error);
        if (!error)
            return resolved.string();
        std::string normal = std::filesystem::path(path).lexically_normal().string();
        if (normal.size() > 1 && normal.back() == '/')
            normal.pop_back();
        return normal;
    }
};

} // namespace

std::vector<MountEntry> parseMountInfo(std::string_view text)
{
    // id parent maj:min root mount-point options [optional fields...] - fstype source super-options
    std::vector<MountEntry> mounts;
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        auto fields = splitBlanks(line);
        if (fields.size() < 6)
            continue;
        auto separator = std::find(fields.begin() + 6, fields.end(), std::string_view("-"));
        if (separator == fields.end() || fields.end() - separator < 3)
            continue;
        auto device = parseDeviceNumber(fields[2]);
        if (!device)
            continue;
        MountEntry entry;
        entry.device = *device;
        entry.root = unescape(fields[3]);
        entry.mountPoint = unescape(fields[4]);
        entry.fsType = unescape(separator[1]);
        entry.source = unescape(separator[2]);
        mounts.push_back(std::move(entry));
    }
    return mounts;
}

DriveFileParse parseDrivesFile(std::string_view text)
{
    DriveFileParse result;
    int lineNumber = 0;
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string line = trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;
        auto problem = [&](const std::string& what) {
            result.problems.push_back(
                "drives file line " + std::to_string(lineNumber) + ": " + what + ": " + line);
        };
        char letter = upperLetter(line[0]);
        if (letter == 0 || line.size() < 2 || line[1] != ':') {
            problem("expected a letter and a colon");
            continue;
        }
        std::string path = trim(std::string_view(line).substr(2));
        if (path.empty() || path.front() != '/') {
            problem("expected an absolute path after the letter");
            continue;
        }
        if (std::any_of(result.entries.begin(), result.entries.end(),
                [&](const DriveFileEntry& e) { return e.letter == letter; })) {
            problem("letter already given");
            continue;
        }
        result.entries.push_back({ letter, path });
    }
    return result;
}

const DeviceProbe& systemProbe()
{
    static const SystemProbe probe;
    return probe;
}

DriveTable DriveTable::build(const std::vector<MountEntry>& allMounts,
    const std::vector<DriveFileEntry>& fileEntries, const DeviceProbe& probe)
{
    // A later mount on the same mount point hides the earlier one.
    std::vector<MountEntry> mounts;
    for (const auto& mount : allMounts) {
        std::erase_if(
            mounts, [&](const MountEntry& m) { return m.mountPoint == mount.mountPoint; });
        mounts.push_back(mount);
    }

    DriveTable table;
    for (const auto& mount : mounts)
        table.mountPoints_.push_back(mount.mountPoint);

    auto blockSource = [&](const MountEntry& mount) { return probe.blockDevice(mount.source); };
    auto describeMount = [&](Drive& drive, const MountEntry& mount) {
        drive.mountPoint = mount.mountPoint;
        drive.fsType = mount.fsType;
        auto number = blockSource(mount);
        drive.device = number ? mount.source : std::string();
        drive.removable = probe.removable(number ? *number : mount.device);
    };

    std::vector<std::string> namedMountPoints;
    for (const auto& entry : fileEntries) {
        Drive drive;
        drive.letter = entry.letter;
        drive.fromFile = true;
        if (auto number = probe.blockDevice(entry.path)) {
            drive.target = entry.path;
            drive.device = entry.path;
            drive.removable = probe.removable(*number);
            auto mounted = std::find_if(mounts.begin(), mounts.end(), [&](const MountEntry& m) {
                return m.device == *number || blockSource(m) == number;
            });
            if (mounted != mounts.end()) {
                drive.mountPoint = mounted->mountPoint;
                drive.fsType = mounted->fsType;
                namedMountPoints.push_back(mounted->mountPoint);
            }
        } else {
            drive.target = probe.canonical(entry.path);
            if (auto held = holdingMount(mounts, drive.target)) {
                describeMount(drive, mounts[*held]);
                if (mounts[*held].mountPoint == drive.target)
                    namedMountPoints.push_back(drive.target);
            }
        }
        table.drives_.push_back(std::move(drive));
    }

    // Automatic letters: the root filesystem first, then the other block-backed filesystems in
    // order of mount point, one letter per device, skipping letters and mounts the file names.
    std::vector<const MountEntry*> candidates;
    for (const auto& mount : mounts) {
        if (mount.device.major == 0 && !blockSource(mount))
            continue;
        if (std::find(namedMountPoints.begin(), namedMountPoints.end(), mount.mountPoint)
            != namedMountPoints.end())
            continue;
        candidates.push_back(&mount);
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](auto* a, auto* b) {
        bool aRoot = a->mountPoint == "/", bRoot = b->mountPoint == "/";
        if (aRoot != bRoot)
            return aRoot;
        return a->mountPoint < b->mountPoint;
    });
    std::vector<DeviceNumber> lettered;
    char next = 'C';
    for (const auto* mount : candidates) {
        if (std::find(lettered.begin(), lettered.end(), mount->device) != lettered.end())
            continue;
        while (next <= 'Z' && table.find(next))
            ++next;
        if (next > 'Z')
            break;
        Drive drive;
        drive.letter = next;
        drive.target = mount->mountPoint;
        describeMount(drive, *mount);
        table.drives_.push_back(std::move(drive));
        lettered.push_back(mount->device);
    }

    std::sort(table.drives_.begin(), table.drives_.end(),
        [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return table;
}

const Drive* DriveTable::find(char letter) const
{
    char upper = upperLetter(letter);
    if (upper == 0)
        return nullptr;
    for (const auto& drive : drives_)
        if (drive.letter == upper)
            return &drive;
    return nullptr;
}

const Drive* DriveTable::findDriveText(std::string_view driveText) const
{
    if (driveText.size() != 2 || driveText[1] != ':')
        return nullptr;
    return find(driveText[0]);
}

const Drive* DriveTable::holding(const std::string& canonicalPath) const
{
    const std::string* best = nullptr;
    for (const auto& point : mountPoints_)
        if (pathWithin(canonicalPath, point) && (!best || point.size() > best->size()))
            best = &point;
    if (!best)
        return nullptr;
    // Prefer the drive that names the filesystem itself over one naming a folder inside it.
    const Drive* found = nullptr;
    for (const auto& drive : drives_) {
        if (drive.mountPoint != *best)
            continue;
        if (drive.target == *best)
            return &drive;
        if (!found)
            found = &drive;
    }
    return found;
}

std::string DriveTable::format() const
{
    std::vector<std::array<std::string, 5>> rows;
    rows.push_back({ "DRIVE", "MOUNT POINT", "DEVICE", "TYPE", "REMOVABLE" });
    for (const auto& drive : drives_) {
        rows.push_back(
            { std::string { drive.letter, ':' }, drive.mountPoint.empty() ? "-" : drive.mountPoint,
                drive.device.empty() ? "-" : drive.device,
                drive.fsType.empty() ? "-" : drive.fsType, drive.removable ? "yes" : "no" });
    }
    std::array<std::size_t, 5> widths {};
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line += std::string(widths[c] - row[c].size() + 2, ' ');
        }
        out += line + "\n";
    }
    return out;
}

std::string drivesFilePath()
{
    auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::string(value) : std::string();
    };
    if (auto named = env("QUILLMERE_DRIVES"); !named.empty())
        return named;
    if (auto config = env("XDG_CONFIG_HOME"); !config.empty() && config.front() == '/')
        return config + "/quillmere/drives";
    if (auto home = env("HOME"); !home.empty())
        return home + "/.config/quillmere/drives";
    return {};
}

DriveTableLoad loadSystemDriveTable()
{
    DriveTableLoad load;
    auto readAll = [](const std::string& path, std::string& text) {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        std::ostringstream buffer;
        buffer << in.rdbuf();
        text = buffer.str();
        return true;
    };
    std::string mountText;
    if (!readAll("/proc/self/mountinfo", mountText))
        load.problems.push_back("cannot read /proc/self/mountinfo");

    DriveFileParse file;
    std::string path = drivesFilePath();
    std::string fileText;
    if (!path.empty() && readAll(path, fileText)) {
        file = parseDrivesFile(fileText);
        for (auto& problem : file.problems)
            load.problems.push_back(path + ": " + problem);
    } else if (std::getenv("QUILLMERE_DRIVES") && *std::getenv("QUILLMERE_DRIVES")) {
        load.problems.push_back("cannot read the drives file " + path);
    }
    load.table = DriveTable::build(parseMountInfo(mountText), file.entries, systemProbe());
    return load;
}

} // namespace qm::sys
