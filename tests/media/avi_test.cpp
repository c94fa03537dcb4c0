#include "tests/media/support/clips.h"

#include <functional>
#include <gtest/gtest.h>

namespace qm::media {
namespace {

using namespace test;

void expectSameFrames(AviClip& clip, const std::vector<Image>& want)
{
    ASSERT_EQ(clip.frameCount(), int(want.size()));
    for (int i = 0; i < clip.frameCount(); ++i) {
        const Image& got = clip.frame(i);
        ASSERT_EQ(got.width, want[std::size_t(i)].width);
        ASSERT_EQ(got.height, want[std::size_t(i)].height);
        for (int y = 0; y < got.height; ++y)
            for (int x = 0; x < got.width; ++x)
                ASSERT_EQ(got.at(x, y), want[std::size_t(i)].at(x, y))
                    << "frame " << i << " at " << x << "," << y;
    }
}

// Clips written by an independent producer, decoded by it and by us.
struct FfmpegCase {
    const char* pixFmt;
    PixelLayout layout;
};

class FfmpegClips : public ::testing::TestWithParam<FfmpegCase> { };

TEST_P(FfmpegClips, DecodeLikeFfmpeg)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "skipped: ffmpeg is not installed";
    ScratchDir dir;
    const auto clipPath = dir / "clip.avi";
    // An odd width makes every row padded.
    ASSERT_TRUE(ffmpeg("-f lavfi -i testsrc=size=37x23:rate=12 -frames:v 6 -pix_fmt "
        + std::string(GetParam().pixFmt) + " -c:v rawvideo '" + clipPath.string() + "'"));
    auto clip = AviClip::open(clipPath);
    EXPECT_EQ(clip.layout(), GetParam().layout);
    EXPECT_EQ(clip.width(), 37);
    EXPECT_EQ(clip.height(), 23);
    EXPECT_TRUE(clip.topDown());
    EXPECT_EQ(clip.frameDuration().count(), 83333);
    expectSameFrames(clip, ffmpegFrames(clipPath, 37, 23));
}

INSTANTIATE_TEST_SUITE_P(Layouts, FfmpegClips,
    ::testing::Values(FfmpegCase { "pal8", PixelLayout::Indexed8 },
        FfmpegCase { "rgb555le", PixelLayout::Rgb16 }, FfmpegCase { "bgr24", PixelLayout::Rgb24 },
        FfmpegCase { "bgra", PixelLayout::Rgb32 }),
    [](const auto& p) { return std::string(p.param.pixFmt); });

// Our own clips: bottom-up and RLE8 (with delta frames), with and without an index. Each
// must show the pictures it was made from, and ffmpeg must decode it to the same pictures.
struct OwnCase {
    const char* name;
    bool rle;
    bool topDown;
    bool withIndex;
};

class OwnClips : public ::testing::TestWithParam<OwnCase> { };

TEST_P(OwnClips, ShowTheirSourceAndMatchFfmpeg)
{
    const int w = 45, h = 19, n = 9;
    const auto palette = testPalette();
    const auto frames = testFrames(w, h, n);
    AviVideo v = rleVideo(w, h, n);
    if (!GetParam().rle) {
        v.compression = 0;
        v.topDown = GetParam().topDown;
        v.frames.clear();
        for (const auto& f : frames)
            v.frames.push_back(packIndexed(f, w, h, v.topDown));
    }
    v.withIndex = GetParam().withIndex;
    const auto bytes = writeAvi(v);

    auto clip = AviClip::parse(bytes);
    EXPECT_EQ(clip.layout(), GetParam().rle ? PixelLayout::Rle8 : PixelLayout::Indexed8);
    EXPECT_EQ(clip.frameDuration().count(), 66667);
    std::vector<Image> source;
    for (const auto& f : frames)
        source.push_back(expected(f, palette, w, h));
    expectSameFrames(clip, source);

    if (!haveFfmpeg())
        GTEST_SKIP() << "skipped: ffmpeg is not installed (source comparison passed)";
    ScratchDir dir;
    writeFile(dir / "own.avi", bytes);
    expectSameFrames(clip, ffmpegFrames(dir / "own.avi", w, h));
}

INSTANTIATE_TEST_SUITE_P(Layouts, OwnClips,
    ::testing::Values(OwnCase { "Rle8Indexed", true, false, true },
        OwnCase { "Rle8NoIndex", true, false, false }, OwnCase { "BottomUp8", false, false, true },
        OwnCase { "TopDown8NoIndex", false, true, false }),
    [](const auto& p) { return std::string(p.param.name); });

AviVideo small()
{
    AviVideo v;
    v.width = 8, v.height = 4;
    v.formatExtra = paletteQuads(testPalette());
    v.frames = { packIndexed(std::vector<std::uint8_t>(32, 3), 8, 4, false) };
    return v;
}

TEST(AviClip, GoingBackReplaysDeltaFrames)
{
    auto clip = AviClip::parse(writeAvi(rleVideo(30, 12, 7)));
    std::vector<Image> forward;
    for (int i = 0; i < clip.frameCount(); ++i)
        forward.push_back(clip.frame(i));
    for (const int i : { 6, 2, 0, 5, 3, 3, 1 })
        EXPECT_EQ(clip.frame(i), forward[std::size_t(i)]) << "frame " << i;
    EXPECT_EQ(clip.frame(7), forward[0]); // indexes wrap around, as the loop plays
}

TEST(AviClip, PaletteChangesApplyFromTheirPlaceOn)
{
    // Three frames of index 1; a change before the second turns entry 1 green.
    AviVideo v;
    v.width = 4, v.height = 2, v.compression = 0;
    v.formatExtra = paletteQuads(std::vector<std::uint32_t> { 0x000000, 0xFF0000 });
    v.colorsUsed = 2;
    const auto frame = packIndexed(std::vector<std::uint8_t>(8, 1), 4, 2, false);
    v.frames = { frame, frame, frame };
    // first entry 1, one entry, flags; then red, green, blue, flags
    v.paletteChanges = { {}, { 1, 1, 0, 0, 0, 255, 0, 0 } };
    for (const bool withIndex : { true, false }) {
        v.withIndex = withIndex;
        auto clip = AviClip::parse(writeAvi(v));
        EXPECT_EQ(clip.frame(0).at(0, 0), 0xFFFF0000u);
        EXPECT_EQ(clip.frame(2).at(3, 1), 0xFF00FF00u); // the frame after the change's own
        EXPECT_EQ(clip.frame(0).at(0, 0), 0xFFFF0000u); // rewinding restores the first palette
    }
}

TEST(AviClip, BadPaletteChangeIsRefused)
{
    AviVideo v = small();
    v.paletteChanges = { { 255, 2, 0, 0, 1, 2, 3, 0, 4, 5, 6, 0 } }; // runs past entry 255
    EXPECT_THROW(AviClip::parse(writeAvi(v)), AviError);
}

// Clips that must be refused, each with the reason.
struct BadCase {
    const char* name;
    std::function<std::vector<std::uint8_t>()> make;
    AviFault fault;
};

std::vector<std::uint8_t> withFrame(std::vector<std::uint8_t> frame, std::uint32_t compression = 1)
{
    AviVideo v = small();
    v.compression = compression;
    v.frames = { std::move(frame) };
    return writeAvi(v);
}

class BadClips : public ::testing::TestWithParam<BadCase> { };

TEST_P(BadClips, AreRefusedWithTheirReason)
{
    try {
        AviClip::parse(GetParam().make());
        FAIL() << "opened";
    } catch (const AviError& e) {
        EXPECT_EQ(e.fault(), GetParam().fault) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BadClips,
    ::testing::Values(
        BadCase { "Empty", [] { return std::vector<std::uint8_t> {}; }, AviFault::NotAvi },
        BadCase { "Wave",
            [] {
                auto b = writeAvi(small());
                std::copy_n("WAVE", 4, b.begin() + 8);
                return b;
            },
            AviFault::NotAvi },
        BadCase { "WithSound",
            [] {
                auto v = small();
                v.withSound = true;
                return writeAvi(v);
            },
            AviFault::Sound },
        BadCase { "NoFrames",
            [] {
                auto v = small();
                v.frames.clear();
                return writeAvi(v);
            },
            AviFault::Corrupt },
        BadCase { "ShortFrame",
            [] {
                auto v = small();
                v.frames[0].pop_back();
                return writeAvi(v);
            },
            AviFault::Corrupt },
        BadCase { "ZeroWidth",
            [] {
                auto v = small();
                v.width = 0;
                return writeAvi(v);
            },
            AviFault::Unsupported },
        BadCase { "Huge",
            [] {
                auto v = small();
                v.width = 100000;
                return writeAvi(v);
            },
            AviFault::Unsupported },
        BadCase { "Jpeg",
            [] {
                return withFrame({ 0xFF, 0xD8 }, 0x47504A4D);
            },
            AviFault::Unsupported },
        BadCase { "TopDownRle",
            [] {
                auto v = small();
                v.compression = 1, v.topDown = true;
                v.frames = { { 0, 1 } };
                return writeAvi(v);
            },
            AviFault::Corrupt },
        BadCase { "RunPastRow",
            [] {
                return withFrame({ 9, 1, 0, 1 });
            },
            AviFault::Corrupt },
        BadCase { "RunAboveTop",
            [] {
                return withFrame({ 0, 2, 0, 4, 1, 1 });
            },
            AviFault::Corrupt },
        BadCase { "OffsetOutside",
            [] {
                return withFrame({ 0, 2, 9, 0 });
            },
            AviFault::Corrupt },
        BadCase { "LiteralCut",
            [] {
                return withFrame({ 0, 5, 1, 2, 3 });
            },
            AviFault::Corrupt },
        BadCase { "CodeCut",
            [] {
                return withFrame({ 0, 2, 1 });
            },
            AviFault::Corrupt },
        BadCase { "ChunkPastList",
            [] {
                auto b = writeAvi(small());
                b[16] = 0xFF, b[17] = 0xFF; // the header list's size
                return b;
            },
            AviFault::Corrupt }),
    [](const auto& p) { return std::string(p.param.name); });

TEST(AviClip, EveryTruncationIsRefused)
{
    for (const bool rle : { false, true }) {
        const auto full = rle ? writeAvi(rleVideo(12, 5, 3)) : writeAvi(small());
        ASSERT_NO_THROW(AviClip::parse(full));
        for (std::size_t n = 0; n < full.size(); ++n)
            EXPECT_THROW(AviClip::parse(std::vector<std::uint8_t>(
                             full.begin(), full.begin() + std::ptrdiff_t(n))),
                AviError)
                << "cut at " << n << " of " << full.size();
    }
}

TEST(AviClip, ABrokenIndexFallsBackToTheData)
{
    const auto good = writeAvi(rleVideo(16, 8, 4));
    auto broken = good;
    broken[broken.size() - 8] ^= 0x40; // the last entry's offset
    auto a = AviClip::parse(good), b = AviClip::parse(broken);
    ASSERT_EQ(b.frameCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a.frame(i), b.frame(i));
}

TEST(AviClip, FilesThatAreNotClips)
{
    ScratchDir dir;
    writeFile(dir / "text.avi", { 'h', 'e', 'l', 'l', 'o' });
    std::filesystem::create_directory(dir / "folder.avi");
    const std::pair<std::filesystem::path, AviFault> cases[] = {
        { dir / "missing.avi", AviFault::Missing },
        { dir / "folder.avi", AviFault::Missing },
        { dir / "text.avi", AviFault::NotAvi },
    };
    for (const auto& [path, fault] : cases) {
        try {
            AviClip::open(path);
            ADD_FAILURE() << path << " opened";
        } catch (const AviError& e) {
            EXPECT_EQ(e.fault(), fault) << path;
        }
    }
}

TEST(AviClip, FfmpegClipWithSoundIsRefused)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "skipped: ffmpeg is not installed";
    ScratchDir dir;
    const auto path = dir / "sound.avi";
    ASSERT_TRUE(
        ffmpeg("-f lavfi -i testsrc=size=16x16:rate=10 -f lavfi -i sine=frequency=440:duration=0.5 "
               "-t 0.5 -pix_fmt bgr24 -c:v rawvideo -c:a pcm_s16le '"
            + path.string() + "'"));
    try {
        AviClip::open(path);
        FAIL() << "opened";
    } catch (const AviError& e) {
        EXPECT_EQ(e.fault(), AviFault::Sound);
    }
}

} // namespace
} // namespace qm::media
