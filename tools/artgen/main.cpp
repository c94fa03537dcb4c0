// Makes the files that lie beside the program: the two clips, the chime, the icon, the About
// window's picture, the pointing-hand cursor, and a copy of the licence text.
//   qm_artgen <output folder> <licence text>
#include "platform/media/avi_writer.h"
#include "tools/artgen/canvas.h"
#include "tools/artgen/formats.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>

namespace qm::artgen {
namespace {

constexpr Argb face = rgb(212, 208, 200); // button face, the windows' background
constexpr Argb white = rgb(255, 255, 255);
constexpr Argb black = rgb(0, 0, 0);
constexpr Argb shadow = rgb(128, 128, 128);
constexpr Argb darkShadow = rgb(64, 64, 64);
constexpr Argb silver = rgb(192, 192, 192);
constexpr Argb navy = rgb(10, 36, 106);
constexpr Argb blue = rgb(58, 110, 165);
constexpr Argb sky = rgb(166, 202, 240);
constexpr Argb ledOn = rgb(0, 230, 40);
constexpr Argb ledOff = rgb(0, 90, 20);
constexpr Argb paper = rgb(255, 255, 240);
constexpr Argb ink = rgb(96, 96, 96);
constexpr Argb folder = rgb(240, 200, 80);
constexpr Argb folderDark = rgb(176, 132, 32);

void save(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// A drive seen from the front: a raised box with a slot and a light.
void drawDrive(Canvas& c, int left, int top, int right, int bottom, bool lit)
{
    c.fillRect(left, top, right, bottom, silver);
    c.bevel(left, top, right, bottom, white, black);
    c.bevel(left + 1, top + 1, right - 1, bottom - 1, rgb(223, 223, 223), shadow);
    const int mid = (top + bottom) / 2;
    c.fillRect(left + 5, mid - 2, right - 12, mid, darkShadow);
    c.fillRect(left + 5, mid, right - 12, mid + 1, white);
    c.fillRect(right - 9, bottom - 7, right - 5, bottom - 4, lit ? ledOn : ledOff);
}

// A stack of written sheets.
void drawDocuments(Canvas& c, int left, int top)
{
    for (int s = 2; s >= 0; --s) {
        const int l = left + 4 * s, t = top + 3 * s;
        c.fillRect(l, t, l + 24, t + 30, paper);
        c.frameRect(l, t, l + 24, t + 30, shadow);
        if (s == 0)
            for (int y = t + 5; y < t + 27; y += 4)
                c.fillRect(l + 4, y, l + 4 + (y % 3 == 0 ? 12 : 16), y + 1, ink);
    }
}

// A packet of data: a small blue block with bits on it.
Canvas packet(int phase)
{
    Canvas p(8, 8);
    p.fillRect(0, 0, 8, 8, blue);
    p.frameRect(0, 0, 8, 8, navy);
    for (int i = 0; i < 4; ++i)
        if (((phase + i) * 5) % 3 != 0)
            p.set(2 + (i % 2) * 3, 2 + (i / 2) * 3, white);
    return p;
}

// The progress window's clip: documents on the left, a drive on the right, and packets
// of data travelling along an arc into the drive, whose light flickers as they arrive.
media::AviVideo progressClip()
{
    const int w = 249, h = 56, frames = 30;
    const int from = 48, to = 186; // packets leave the sheets and vanish into the drive
    std::vector<std::uint32_t> palette { 0xD4D0C8 };
    std::vector<std::vector<std::uint8_t>> pictures;
    for (int f = 0; f < frames; ++f) {
        Canvas c(w, h, face);
        drawDocuments(c, 12, 10);
        bool arriving = false;
        for (int x = from + ((f * 2) % 6); x < to; x += 6)
            c.set(x, 40, shadow); // the track
        for (int k = 0; k < 3; ++k) {
            const double t = std::fmod(double(f) / frames + k / 3.0, 1.0);
            const int x = from + int(std::lround(t * (to - from + 8))) - 8;
            const int y = 24 - int(std::lround(10 * std::sin(std::numbers::pi * t)));
            arriving = arriving || t > 0.88;
            Canvas sprite = packet(f + k);
            Canvas cut(std::max(0, std::min(8, to - x)), 8);
            cut.draw(sprite, 0, 0);
            c.draw(cut, x, y);
        }
        drawDrive(c, to, 14, 238, 46, arriving || f % 10 == 0);
        pictures.push_back(toIndices(c, palette));
    }
    media::AviVideo v;
    v.width = w, v.height = h, v.compression = 1, v.bitCount = 8;
    v.frameDuration = std::chrono::microseconds(66667);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        v.frames.push_back(media::encodeRle8(
            pictures[i], i ? pictures[i - 1] : std::vector<std::uint8_t> {}, w, h));
        v.keyFrames.push_back(i == 0);
    }
    v.colorsUsed = std::uint32_t(palette.size());
    v.formatExtra = media::paletteQuads(palette);
    return v;
}

// The About window's small clip: a spinning disc.
media::AviVideo aboutClip()
{
    const int w = 36, h = 38, frames = 16;
    std::vector<std::uint32_t> palette { 0xD4D0C8 };
    std::vector<std::vector<std::uint8_t>> pictures;
    for (int f = 0; f < frames; ++f) {
        Canvas c(w, h, face);
        c.fillEllipse(18, 19, 16, 16, darkShadow);
        c.fillEllipse(18, 19, 15, 15, silver);
        for (int k = 0; k < 2; ++k) {
            // Two light wedges opposite each other turn with the disc.
            const double a = 2 * std::numbers::pi * (f / double(frames) + k / 2.0);
            std::vector<PointF> wedge { { 18, 19 } };
            for (int s = 0; s <= 4; ++s) {
                const double b = a + s * 0.15;
                wedge.push_back({ 18 + 15 * std::cos(b), 19 + 15 * std::sin(b) });
            }
            c.fillPolygon(wedge, sky);
        }
        c.fillEllipse(18, 19, 5, 5, shadow);
        c.fillEllipse(18, 19, 3, 3, face);
        pictures.push_back(toIndices(c, palette));
    }
    media::AviVideo v;
    v.width = w, v.height = h, v.compression = 1, v.bitCount = 8;
    v.frameDuration = std::chrono::microseconds(80000);
    for (std::size_t i = 0; i < pictures.size(); ++i)
        v.frames.push_back(media::encodeRle8(
            pictures[i], i ? pictures[i - 1] : std::vector<std::uint8_t> {}, w, h));
    v.colorsUsed = std::uint32_t(palette.size());
    v.formatExtra = media::paletteQuads(palette);
    return v;
}

// Two bell-like notes, the second a fourth above the first, each fading out.
std::vector<std::int16_t> chime(int rate)
{
    const double length = 0.7;
    std::vector<std::int16_t> out(std::size_t(rate * length));
    const struct {
        double start, frequency;
    } notes[] = { { 0.0, 1318.51 }, { 0.14, 1760.0 } };
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        double v = 0;
        for (const auto& n : notes) {
            const double u = t - n.start;
            if (u < 0)
                continue;
            const double envelope = std::min(1.0, u / 0.004) * std::exp(-u / 0.16);
            v += envelope
                * (std::sin(2 * std::numbers::pi * n.frequency * u)
                    + 0.3 * std::sin(4 * std::numbers::pi * n.frequency * u));
        }
        const double fadeOut = std::min(1.0, (length - t) / 0.05); // no click at the end
        out[i] = std::int16_t(std::lround(9000 * v * fadeOut));
    }
    return out;
}

// The program's icon: a drive with an arrow pointing into it.
Canvas icon(int size)
{
    Canvas c(size, size);
    const double s = size / 32.0;
    auto px = [&](double v) { return int(std::lround(v * s)); };
    drawDrive(c, px(2), px(17), px(30), px(30), true);
    c.fillPolygon({ { 12 * s, 1 * s }, { 20 * s, 1 * s }, { 20 * s, 8 * s }, { 25 * s, 8 * s },
                      { 16 * s, 16 * s }, { 7 * s, 8 * s }, { 12 * s, 8 * s } },
        rgb(0, 128, 0));
    c.fillPolygon({ { 13 * s, 2 * s }, { 19 * s, 2 * s }, { 19 * s, 9 * s }, { 22.5 * s, 9 * s },
                      { 16 * s, 14.5 * s }, { 9.5 * s, 9 * s }, { 13 * s, 9 * s } },
        ledOn);
    return c;
}

// The About window's picture: a quill over a drive against an evening sky.
Canvas aboutPicture()
{
    Canvas c(48, 60);
    for (int y = 0; y < 60; ++y)
        c.fillRect(0, y, 48, y + 1, rgb(10 + y * 2, 36 + y * 2, 106 + y * 2));
    drawDrive(c, 4, 42, 44, 56, true);
    c.fillPolygon({ { 40, 3 }, { 30, 10 }, { 20, 22 }, { 13, 33 }, { 10, 40 }, { 16, 34 },
                      { 27, 25 }, { 36, 15 } },
        paper);
    c.line(39, 5, 11, 39, shadow);
    c.line(12, 38, 9, 44, black);
    return c;
}

// The pointing hand: the tip of the finger is the hot spot (12, 9).
Canvas handCursor()
{
    static const char* const art[] = {
        "            XX",
        "           X..X",
        "           X..X",
        "           X..X",
        "           X..X",
        "           X..XXX",
        "           X..X..XXX",
        "           X..X..X..XX",
        "           X..X..X..X.X",
        "        XX X..X..X..X..X",
        "        X..X...........X",
        "         X.X...........X",
        "         X.............X",
        "          X............X",
        "          X...........X",
        "           X..........X",
        "           X.........X",
        "            X........X",
        "            X........X",
        "            XXXXXXXXXX",
    };
    Canvas c(32, 32);
    for (int row = 0; row < int(std::size(art)); ++row)
        for (int x = 0; art[row][x]; ++x)
            if (art[row][x] != ' ')
                c.set(x, 9 + row, art[row][x] == 'X' ? black : white);
    return c;
}

} // namespace
} // namespace qm::artgen

int main(int argc, char** argv)
{
    using namespace qm::artgen;
    if (argc != 3) {
        std::cerr << "usage: qm_artgen <output folder> <licence text>\n";
        return 2;
    }
    try {
        const std::filesystem::path out = argv[1];
        std::filesystem::create_directories(out);
        save(out / "res.dll", qm::media::writeAvi(progressClip()));
        save(out / "korvanti2.dll", qm::media::writeAvi(aboutClip()));
        save(out / "korvanti.dll", waveFile(chime(22050), 22050));
        save(out / "quillmere.ico", iconFile({ icon(16), icon(32) }));
        save(out / "about.bmp", bitmapFile(aboutPicture()));
        save(out / "hand.cur", cursorFile(handCursor(), 12, 9));
        std::filesystem::copy_file(
            argv[2], out / "gpl.txt", std::filesystem::copy_options::overwrite_existing);
    } catch (const std::exception& e) {
        std::cerr << "qm_artgen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
