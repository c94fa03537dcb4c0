#pragma once
// The record of one button, fields in declaration order. Handle fields hold the
// raster layer's handles; an empty handle (or an absent region) is the value 0.
#include "button/core/types.h"
#include "platform/raster/bitmap.h"
#include "platform/raster/dc.h"
#include "platform/raster/font.h"
#include "platform/raster/geometry.h"
#include "platform/raster/pen.h"
#include "platform/raster/picture.h"
#include "platform/raster/region.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qm {

struct ButtonRecord {
    gfx::DC MemDC; // memory context of the drawing surface
    gfx::Bitmap OrigBitmap; // selected in MemDC before the surface bitmap; empty: no surface bitmap
    gfx::Pen OrigPen; // MemDC's pen before the control selected its own
    gfx::Brush OrigBrush; // MemDC's brush before the control selected its own
    std::optional<gfx::Region> RingRegion; // shape shrunk by 2 pixels
    std::optional<gfx::Region> InnerRegion; // shape shrunk by 1 pixel
    // MemDC's font before the first caption font; absent until then (the context's
    // own font may be the empty handle, so emptiness cannot mean "not yet").
    std::optional<gfx::Font> OrigFont;
    std::string Caption; // "||" is a line break
    std::int32_t CaptionAlign = 0;
    std::int32_t CaptionStyle = 0;
    std::int32_t ButtonStyle = 0;
    std::uint16_t StateFlags = 0;
    std::int32_t ButtonShape = 0;
    std::int32_t ShapeLeftInset = 0;
    std::int32_t ShapeRightEdge = 0;
    gfx::Rect CaptionRect;
    Boolean ShowFocusRect = kFalse;
    ColorValue HoverBackColor = 0;
    ColorValue HoverForeColor = 0;
    std::int32_t HoverColorLocks = 0;
    std::int32_t GradientMode = 0;
    ColorValue GradientColor = 0;
    std::int32_t Mode = 0;
    Boolean Value = kFalse;
    std::int32_t CustomClick = 0;
    gfx::Picture Picture; // empty: no picture
    gfx::Bitmap PictureCopy; // the picture at drawing size
    std::int32_t PictureCopyWidth = 0;
    std::int32_t PictureCopyHeight = 0;
    std::int32_t PictureAlign = 0;
    std::int16_t PictureSizePx = 0; // 16, 24, 32, 40 or 48; 0 reads as 16
    gfx::Rect PictureRect;
    std::int32_t PictureWidth = 0; // natural size; both 0 without a picture
    std::int32_t PictureHeight = 0;
    std::int32_t PictureKind = 0; // 0 bitmap, 1 icon
    Boolean DrawingDelayed = kFalse;
    ColorValue BackColor = 0;
    ColorValue FaceRGB = 0;
    ColorValue FaceShadeRGB = 0;
    ColorValue HoverFaceRGB = 0;
    std::int16_t ClickButton = 0;
    Boolean OverButton = kFalse;
    ColorValue ContainerBackRGB = 0;
    ColorValue CheckedFaceRGB = 0;
    Boolean ButtonDown = kFalse;
};

} // namespace qm
