// The files made beside the program by the artwork generator.
#include "platform/system/sound.h"
#include "tests/media/support/clips.h"

#include <gtest/gtest.h>

namespace qm::media {
namespace {

using namespace test;

std::filesystem::path programFolder()
{
    return std::filesystem::path(QM_BINARY_DIR) / "app";
}

std::uint32_t le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | b.at(at + std::size_t(i));
    return v;
}

struct ClipCase {
    const char* file;
    int width, height, minFrames, maxFrames;
};

class Clips : public ::testing::TestWithParam<ClipCase> { };

TEST_P(Clips, AreMovingRle8Clips)
{
    auto clip = AviClip::open(programFolder() / GetParam().file);
    EXPECT_EQ(clip.layout(), PixelLayout::Rle8);
    EXPECT_EQ(clip.width(), GetParam().width);
    EXPECT_EQ(clip.height(), GetParam().height);
    EXPECT_GE(clip.frameCount(), GetParam().minFrames);
    EXPECT_LE(clip.frameCount(), GetParam().maxFrames);
    for (int i = 0; i < clip.frameCount(); ++i) {
        const Image previous = clip.frame(i);
        EXPECT_NE(clip.frame(i + 1), previous) << "still between frames " << i << " and " << i + 1;
    }
    if (!haveFfmpeg())
        GTEST_SKIP() << "skipped: ffmpeg is not installed (our decoding passed)";
    ScratchDir dir;
    std::filesystem::copy_file(programFolder() / GetParam().file, dir / "clip.avi");
    const auto theirs = ffmpegFrames(dir / "clip.avi", clip.width(), clip.height());
    ASSERT_EQ(int(theirs.size()), clip.frameCount());
    for (int i = 0; i < clip.frameCount(); ++i)
        EXPECT_EQ(clip.frame(i), theirs[std::size_t(i)]) << "frame " << i;
}

INSTANTIATE_TEST_SUITE_P(BesideTheProgram, Clips,
    ::testing::Values(
        ClipCase { "res.dll", 249, 56, 24, 60 }, ClipCase { "korvanti2.dll", 36, 38, 8, 60 }),
    [](const auto& p) {
        return std::string(p.param.file).substr(0, std::string(p.param.file).find('.'));
    });

TEST(Artwork, ChimeIsAShortWave)
{
    const auto bytes = readFile(programFolder() / "korvanti.dll");
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "WAVE");
    const double seconds = double(bytes.size() - 44) / le(bytes, 28, 4); // bytes per second
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 2.0);
    EXPECT_TRUE(sys::PlayWaveFile((programFolder() / "korvanti.dll").string(), "null"));
}

TEST(Artwork, IconHasBothSizes)
{
    const auto bytes = readFile(programFolder() / "quillmere.ico");
    ASSERT_EQ(le(bytes, 2, 2), 1u); // an icon
    ASSERT_EQ(le(bytes, 4, 2), 2u);
    EXPECT_EQ(bytes.at(6), 16);
    EXPECT_EQ(bytes.at(6 + 16), 32);
}

TEST(Artwork, CursorIsAMonochromeHandWithItsHotSpotOnTheFinger)
{
    const auto bytes = readFile(programFolder() / "hand.cur");
    ASSERT_EQ(le(bytes, 2, 2), 2u); // a cursor
    EXPECT_EQ(bytes.at(6), 32);
    EXPECT_EQ(bytes.at(7), 32);
    EXPECT_EQ(le(bytes, 10, 2), 12u);
    EXPECT_EQ(le(bytes, 12, 2), 9u);
    const std::size_t image = le(bytes, 18, 4);
    EXPECT_EQ(le(bytes, image + 14, 2), 1u); // bits per pixel
    // Transparency mask after the header, palette and colour mask; rows bottom-up, 4 bytes each.
    const std::size_t mask = image + 40 + 8 + 32 * 4;
    auto opaque = [&](int x, int y) {
        return !(bytes.at(mask + std::size_t(31 - y) * 4 + std::size_t(x / 8)) & (0x80 >> (x % 8)));
    };
    EXPECT_TRUE(opaque(12, 9));
    for (int x = 0; x < 32; ++x)
        EXPECT_FALSE(opaque(x, 8)) << "nothing above the finger tip, column " << x;
}

TEST(Artwork, AboutPictureIs48By60TrueColour)
{
    const auto bytes = readFile(programFolder() / "about.bmp");
    ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 2), "BM");
    EXPECT_EQ(le(bytes, 18, 4), 48u);
    EXPECT_EQ(le(bytes, 22, 4), 60u);
    EXPECT_EQ(le(bytes, 28, 2), 24u);
}

TEST(Artwork, LicenceIsTheGplVersion3)
{
    const auto bytes = readFile(programFolder() / "gpl.txt");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("GNU GENERAL PUBLIC LICENSE"), std::string::npos);
    EXPECT_NE(text.find("Version 3, 29 June 2007"), std::string::npos);
}

} // namespace
} // namespace qm::media
