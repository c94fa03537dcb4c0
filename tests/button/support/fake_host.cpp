#include "tests/button/support/fake_host.h"

namespace qm::testing {

FakeHost::FakeHost(int width, int height)
    : width_(width)
    , height_(height)
    , dc_(gfx::DC::createMemory())
{
    dc_.select(gfx::Bitmap::createColor(width, height));
}

void FakeHost::resizeTo(int width, int height)
{
    width_ = width;
    height_ = height;
    dc_.select(gfx::Bitmap::createColor(width, height));
}

double FakeHost::ScaleX(double value, std::int16_t fromScale, std::int16_t toScale) const
{
    auto twipsPer = [](std::int16_t scale) { return scale == forms::vbPixels ? 15.0 : 1.0; };
    return value * twipsPer(fromScale) / twipsPer(toScale);
}

} // namespace qm::testing
