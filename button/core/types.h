#pragma once
// Value types of the button's interface: 16-bit Booleans, colour values, the
// enumerations and the interaction flags. Enumerated properties are stored as
// plain 32-bit values because setters receive (and must be able to ignore)
// values outside the named range.
#include <cstdint>

namespace qm {

// 16-bit Boolean: True is -1 and False is 0; any non-zero value counts as true.
using Boolean = std::int16_t;
inline constexpr Boolean kTrue = -1;
inline constexpr Boolean kFalse = 0;
constexpr Boolean toBoolean(bool b)
{
    return b ? kTrue : kFalse;
}

// Colour value: with bit 31 set, the low byte is a system colour index;
// otherwise 0x00BBGGRR. Fields holding plain RGB use the same type.
using ColorValue = std::int32_t;

enum ButtonStyleEnum : std::int32_t {
    RaisedBevel = 0,
    FramedBevel = 1,
    RoundedGlow = 2,
    EtchedBevel = 3,
    ThinRaised = 4,
    FlatHover = 5,
    SoftBevel = 6,
    RoundedFrame = 7,
};

enum ModeEnum : std::int32_t { CommandButton = 0, CheckBox = 1, OptionButton = 2 };

enum CaptionAlignEnum : std::int32_t { CaptionLeft = 0, CaptionRight = 1, CaptionCenter = 2 };

enum CaptionStyleEnum : std::int32_t { CaptionFlat = 0, CaptionEmbossed = 1, CaptionEngraved = 2 };

enum ButtonShapeEnum : std::int32_t {
    Rectangular = 0,
    SlantLeft = 1,
    SlantRight = 2,
    SlantBoth = 3,
    EllipseRingCaption = 4,
    EllipseRing = 5,
    EllipseOutline = 6,
    CustomFramed = 7,
    CustomRing = 8,
};

enum PictureAlignEnum : std::int32_t {
    PicLeftEdge = 0,
    PicLeftOfCaption = 1,
    PicRightEdge = 2,
    PicRightOfCaption = 3,
    PicTopCenter = 4,
    PicBottomCenter = 5,
};

enum PictureSizeEnum : std::int32_t {
    Size16 = 0,
    Size24 = 1,
    Size32 = 2,
    SizeStretch = 3,
    SizeFit = 4,
};

enum GradientModeEnum : std::int32_t {
    GradientNone = 0,
    GradientHorizontal = 1,
    GradientHorizontalReversed = 2,
    GradientVertical = 3,
    GradientVerticalReversed = 4,
};

enum HoverColorLocksEnum : std::int32_t {
    LockBoth = 0,
    LockForeColor = 1,
    LockBackColor = 2,
    LockNone = 3,
};

// A sum of flags; 0 is regular. Strikethrough is not part of it.
enum FontStyleEnum : std::int32_t { FontBold = 2, FontItalic = 4, FontUnderline = 8 };

enum CustomClickEnum : std::int32_t {
    ClickNone = 0,
    MoveUp = 1,
    MoveUpRight = 2,
    MoveUpLeft = 3,
    MoveDownRight = 4,
    MoveDownLeft = 5,
    MoveRight = 6,
    MoveDown = 7,
    MoveLeft = 8,
};

// Pointer number meaning "use the MouseIcon picture".
inline constexpr std::int16_t MousePointerCustom = 99;

// Bits of StateFlags; all others stay 0.
enum StateFlagBits : std::uint16_t {
    FlagDefault = 0x0001,
    FlagPressed = 0x0002,
    FlagInside = 0x0004,
    FlagMoved = 0x0400,
};

// The pushed look is drawn while the button is both pressed and under the cursor.
constexpr bool pressedLook(std::uint16_t stateFlags)
{
    return (stateFlags & (FlagPressed | FlagInside)) == (FlagPressed | FlagInside);
}

} // namespace qm
