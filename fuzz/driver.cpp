// Stand-alone driver for the fuzz targets when built without libFuzzer:
// replays the files named on the command line, or feeds --runs=N seeded random
// inputs (deterministic, so a failure found in CI reproduces).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    long runs = 0;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--runs=", 0) == 0)
            runs = std::strtol(arg.c_str() + 7, nullptr, 10);
        else
            files.push_back(arg);
    }
    for (const auto& name : files) {
        std::ifstream in(name, std::ios::binary);
        std::vector<std::uint8_t> bytes { std::istreambuf_iterator<char>(in), {} };
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::mt19937 rng(12345);
    for (long r = 0; r < runs; ++r) {
        std::vector<std::uint8_t> bytes(rng() % 512);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(rng());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    return 0;
}
