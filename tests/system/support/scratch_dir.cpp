#include "tests/system/support/scratch_dir.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace qm::test {

ScratchDir::ScratchDir()
{
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path()
        / ("qm-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path ScratchDir::write(const std::string& name, const std::string& contents) const
{
    const auto file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << contents;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    return file;
}

} // namespace qm::test
