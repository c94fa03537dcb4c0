#pragma once
// A folder under the system's temporary folder, removed with everything in it.
#include <filesystem>
#include <string>

namespace qm::test {

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Writes a file in the folder and returns its path.
    std::filesystem::path write(const std::string& name, const std::string& contents) const;

private:
    std::filesystem::path path_;
};

} // namespace qm::test
