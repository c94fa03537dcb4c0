#pragma once
// Volumes as the flush sequence sees them: open a device path to a handle, flush, close, the last
// error number and the system's message text for a number. Plain C++ so that app/ code and its
// tests can use it (and fake it) without system headers.
#include <cstdint>
#include <memory>
#include <string>

namespace qm::sys {

class DriveTable;

using VolumeHandle = std::intptr_t;
inline constexpr VolumeHandle invalidVolume = -1;

// The five operations. An implementation keeps its last-error value in the object, not in the
// calling thread, so the calls may run on a worker thread while the user-interface thread waits,
// and the value can be read from either thread afterwards.
class Volumes {
public:
    virtual ~Volumes() = default;

    // Opens the volume named by a device path ("\\.\" followed by the drive text). Returns a
    // handle, or invalidVolume on failure. Never creates, truncates or writes anything. A
    // successful open sets the last error to 0; a failing one sets it to the failure's number.
    virtual VolumeHandle openVolume(const std::string& devicePath) = 0;
    // Writes the volume's buffered data out. A failure sets the last error; success leaves it.
    virtual bool flushVolume(VolumeHandle handle) = 0;
    // A failure sets the last error; success leaves it.
    virtual bool closeVolume(VolumeHandle handle) = 0;
    // The error number left by the most recent call above; 0 means no error.
    virtual std::int32_t lastError() const = 0;
    // Writes the system's message text for `code` into `buffer` (of `size` characters, the text
    // followed by a NUL) and returns the number of characters of the text; 0 when the system has
    // no text for the code or when the text and its NUL do not fit.
    virtual std::uint32_t messageText(std::int32_t code, char* buffer, std::uint32_t size) = 0;
};

// The Linux volume layer over the system's drive table, read afresh at every open.
std::unique_ptr<Volumes> makeLinuxVolumes();
// The same over a fixed table (tests, or a table built once by the caller).
std::unique_ptr<Volumes> makeLinuxVolumes(const DriveTable& table);

} // namespace qm::sys
