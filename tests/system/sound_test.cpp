#include "platform/system/sound.h"
#include "tests/system/support/scratch_dir.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace qm::sys {
namespace {

// A short 16-bit PCM wave file of a 440 Hz tone.
std::string waveBytes(int rate, int samples)
{
    std::string out;
    auto u16 = [&](unsigned v) { out += char(v & 0xFF), out += char((v >> 8) & 0xFF); };
    auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
    out += "RIFF";
    u32(36 + 2 * unsigned(samples));
    out += "WAVEfmt ";
    u32(16), u16(1), u16(1), u32(unsigned(rate)), u32(unsigned(rate) * 2), u16(2), u16(16);
    out += "data";
    u32(2 * unsigned(samples));
    for (int i = 0; i < samples; ++i)
        u16(unsigned(std::lround(3000 * std::sin(i * 2 * 3.14159265 * 440 / rate))) & 0xFFFF);
    return out;
}

struct PlayCase {
    const char* name;
    const char* file; // "tone", "missing", "text", "empty"
    const char* device;
    bool plays;
};

class PlayWave : public ::testing::TestWithParam<PlayCase> { };

TEST_P(PlayWave, PlaysOrFailsSilently)
{
    test::ScratchDir dir;
    dir.write("tone.wav", waveBytes(8000, 400));
    dir.write("text.wav", "not a sound at all");
    dir.write("empty.wav", "");
    const auto path = (dir / (std::string(GetParam().file) + ".wav")).string();
    ::testing::internal::CaptureStderr();
    const bool played = PlayWaveFile(path, GetParam().device);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(played, GetParam().plays);
    EXPECT_EQ(printed, "") << "the sound layer must not print";
}

// "null" is ALSA's own device that takes any sound and plays nothing.
INSTANTIATE_TEST_SUITE_P(Cases, PlayWave,
    ::testing::Values(PlayCase { "ToneOnNull", "tone", "null", true },
        PlayCase { "MissingFile", "missing", "null", false },
        PlayCase { "NotASound", "text", "null", false },
        PlayCase { "EmptyFile", "empty", "null", false },
        PlayCase { "NoSuchDevice", "tone", "qm_no_such_device", false },
        PlayCase { "MissingFileOnDefault", "missing", "default", false }),
    [](const auto& p) { return std::string(p.param.name); });

TEST(PlayWave, DecodesWhatLibsndfileReads)
{
    if (std::system("ffmpeg -hide_banner -version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "skipped: ffmpeg is not installed to write the other encodings";
    test::ScratchDir dir;
    for (const std::string codec : { "adpcm_ima_wav", "pcm_f32le" }) {
        const auto path = dir / (codec + ".wav");
        ASSERT_EQ(std::system(("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "
                               "sine=frequency=660:duration=0.05 -c:a "
                      + codec + " '" + path.string() + "' </dev/null >/dev/null 2>&1")
                                  .c_str()),
            0);
        EXPECT_TRUE(PlayWaveFile(path.string(), "null")) << codec;
    }
}

} // namespace
} // namespace qm::sys
