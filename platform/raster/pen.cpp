#include "platform/raster/pen.h"

#include "platform/raster/live_objects.h"

#include <algorithm>

namespace qm::gfx {

class PenData {
public:
    PenStyle style = PenStyle::Solid;
    int width = 1;
    ColorRef color = 0;
    LiveToken<ObjectKind::Pen> live;
};

class BrushData {
public:
    BrushStyle style = BrushStyle::Solid;
    ColorRef color = 0;
    Bitmap pattern;
    LiveToken<ObjectKind::Brush> live;
};

Pen Pen::create(PenStyle style, int width, ColorRef color)
{
    auto d = std::make_shared<PenData>();
    d->width = std::max(width, 1);
    d->style = style;
    if (style == PenStyle::Dot && d->width > 1)
        d->style = PenStyle::Solid;
    d->color = color;
    Pen p;
    p.d_ = std::move(d);
    return p;
}

Pen Pen::create(int style, int width, ColorRef color)
{
    PenStyle s = PenStyle::Solid;
    if (style == int(PenStyle::Dot))
        s = PenStyle::Dot;
    else if (style == int(PenStyle::Null))
        s = PenStyle::Null;
    return create(s, width, color);
}

PenStyle Pen::style() const
{
    return d_ ? d_->style : PenStyle::Null;
}
int Pen::width() const
{
    return d_ ? d_->width : 1;
}
ColorRef Pen::color() const
{
    return d_ ? d_->color : 0;
}

Brush Brush::solid(ColorRef color)
{
    auto d = std::make_shared<BrushData>();
    d->color = color;
    Brush b;
    b.d_ = std::move(d);
    return b;
}

Brush Brush::null()
{
    auto d = std::make_shared<BrushData>();
    d->style = BrushStyle::Null;
    Brush b;
    b.d_ = std::move(d);
    return b;
}

Brush Brush::pattern(const Bitmap& bitmap)
{
    if (!bitmap || bitmap.width() == 0 || bitmap.height() == 0)
        return null();
    auto d = std::make_shared<BrushData>();
    d->style = BrushStyle::Pattern;
    d->pattern = bitmap.clone();
    Brush b;
    b.d_ = std::move(d);
    return b;
}

BrushStyle Brush::style() const
{
    return d_ ? d_->style : BrushStyle::Null;
}
ColorRef Brush::color() const
{
    return d_ ? d_->color : 0;
}
const Bitmap& Brush::patternBitmap() const
{
    static const Bitmap none;
    return d_ ? d_->pattern : none;
}

} // namespace qm::gfx
