#pragma once
// The animation control: a window on a form that plays a silent AVI clip (uncompressed or
// RLE8, no sound stream) on its own timer. Settings in a form description: BackColor (colour
// value, default button face) and Center (Boolean, default False: the clip at the top-left).
#include "platform/forms/form.h"

#include <cstdint>
#include <string>

namespace qm::forms {

// Raised by Open for a file that is there but is not a silent clip the control plays.
inline constexpr int errCannotOpenClip = 35752;

class Animation : public NativeControlRef {
private:
    std::uint32_t backColor_() const;
    void setBackColor_(const std::uint32_t& v);

public:
    Animation(Form* form, std::string name);

    // Opens a clip file; the name may be written with backslashes (see LinuxPath). Raises
    // errFileNotFound for a missing file and errCannotOpenClip for a file that is not such a
    // clip or has a sound stream.
    void Open(const std::string& fileName);
    // Plays frames from..to (-1: the last), repeat times (-1: until closed or stopped).
    void Play(int repeatCount = -1, int startFrame = 0, int endFrame = -1);
    void Stop();
    void Close();

    Prop<std::uint32_t, Animation, &Animation::backColor_, &Animation::setBackColor_> BackColor {
        this
    };

    // For tests: whether a clip is open and playing, and the frame shown.
    bool IsOpen() const;
    bool IsPlaying() const;
    int CurrentFrame() const;
};

} // namespace qm::forms
