#include "platform/system/drive_table.h"
#include "platform/system/volume.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace qm::sys {

namespace {

constexpr std::string_view devicePrefix = "\\\\.\\";

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd)
        : fd_(fd)
    {
    }
    UniqueFd(UniqueFd&& other) noexcept
        : fd_(other.release())
    {
    }
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other) {
            reset();
            fd_ = other.release();
        }
        return *this;
    }
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

// The filesystem (any file or directory on it, for syncfs) and the block device (for fsync,
// which also asks the device to empty its write cache); either may be absent, not both.
struct OpenVolume {
    UniqueFd filesystem;
    UniqueFd device;
};

// Read-only opens that neither create nor block (O_NONBLOCK: a drive with no medium).
int openReadOnly(const std::string& path, int extra)
{
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | extra);
}

UniqueFd openBlockDevice(const std::string& path)
{
    UniqueFd fd(openReadOnly(path, O_NONBLOCK));
    struct stat st { };
    if (fd && (::fstat(fd.get(), &st) != 0 || !S_ISBLK(st.st_mode))) {
        errno = ENOTBLK;
        return {};
    }
    return fd;
}

// Opens what a drive names; on failure returns nothing with errno set.
std::optional<OpenVolume> openDrive(const Drive& drive)
{
    struct stat st { };
    if (::stat(drive.target.c_str(), &st) != 0)
        return std::nullopt;
    OpenVolume volume;
    if (S_ISBLK(st.st_mode)) {
        if (!drive.mountPoint.empty())
            volume.filesystem = UniqueFd(openReadOnly(drive.mountPoint, O_DIRECTORY));
        volume.device = openBlockDevice(drive.target);
        if (!volume.device && !volume.filesystem)
            return std::nullopt;
        return volume;
    }
    if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) {
        // Opening a FIFO or a character device could block or act on the device.
        errno = ENOTBLK;
        return std::nullopt;
    }
    volume.filesystem
        = UniqueFd(openReadOnly(drive.target, S_ISDIR(st.st_mode) ? O_DIRECTORY : O_NONBLOCK));
    if (!volume.filesystem)
        return std::nullopt;
    // The device is a bonus: without the right to read it, syncfs alone still flushes.
    if (!drive.device.empty())
        volume.device = openBlockDevice(drive.device);
    return volume;
}

class LinuxVolumes final : public Volumes {
public:
    explicit LinuxVolumes(std::optional<DriveTable> fixed)
        : fixed_(std::move(fixed))
    {
    }

    VolumeHandle openVolume(const std::string& devicePath) override
    {
        std::optional<OpenVolume> volume;
        int error = ENOENT;
        if (devicePath.starts_with(devicePrefix)) {
            std::string_view driveText = std::string_view(devicePath).substr(devicePrefix.size());
            DriveTable system;
            if (!fixed_)
                system = loadSystemDriveTable().table;
            const DriveTable& table = fixed_ ? *fixed_ : system;
            if (const Drive* drive = table.findDriveText(driveText)) {
                volume = openDrive(*drive);
                error = errno;
            }
        }
        if (!volume) {
            lastError_ = error;
            return invalidVolume;
        }
        std::lock_guard lock(mutex_);
        VolumeHandle handle = nextHandle_++;
        open_.emplace(handle, std::move(*volume));
        lastError_ = 0;
        return handle;
    }

    bool flushVolume(VolumeHandle handle) override
    {
        std::lock_guard lock(mutex_);
        auto found = open_.find(handle);
        if (found == open_.end())
            return fail(EBADF);
        int error = 0;
        if (found->second.filesystem && ::syncfs(found->second.filesystem.get()) != 0)
            error = errno;
        if (found->second.device && ::fsync(found->second.device.get()) != 0 && error == 0)
            error = errno;
        return error == 0 || fail(error);
    }

    bool closeVolume(VolumeHandle handle) override
    {
        std::lock_guard lock(mutex_);
        auto found = open_.find(handle);
        if (found == open_.end())
            return fail(EBADF);
        OpenVolume volume = std::move(found->second);
        open_.erase(found);
        int error = 0;
        for (UniqueFd* fd : { &volume.filesystem, &volume.device }) {
            // The descriptor is gone after close() whatever it returns: never retry.
            if (*fd && ::close(fd->release()) != 0 && error == 0)
                error = errno;
        }
        return error == 0 || fail(error);
    }

    std::int32_t lastError() const override { return lastError_; }

    std::uint32_t messageText(std::int32_t code, char* buffer, std::uint32_t size) override
    {
        if (buffer && size > 0)
            buffer[0] = '\0';
        // Codes the system has no name for get "Unknown error N" from strerror: no text.
        if (!buffer || ::strerrorname_np(code) == nullptr)
            return 0;
        char scratch[1024];
        const char* text = ::strerror_r(code, scratch, sizeof scratch);
        std::size_t length = std::strlen(text);
        if (length + 1 > size)
            return 0;
        std::memcpy(buffer, text, length + 1);
        return std::uint32_t(length);
    }

private:
    bool fail(int error)
    {
        lastError_ = error;
        return false;
    }

    std::optional<DriveTable> fixed_;
    std::mutex mutex_;
    std::map<VolumeHandle, OpenVolume> open_;
    VolumeHandle nextHandle_ = 1;
    std::atomic<std::int32_t> lastError_ { 0 };
};

} // namespace

std::unique_ptr<Volumes> makeLinuxVolumes()
{
    return std::make_unique<LinuxVolumes>(std::nullopt);
}

std::unique_ptr<Volumes> makeLinuxVolumes(const DriveTable& table)
{
    return std::make_unique<LinuxVolumes>(table);
}

} // namespace qm::sys
