#pragma once
// Internal to platform/forms: the widget of the animation control. It plays a silent AVI clip
// on its own timer (at the clip's frame rate) on the user-interface thread, so the clip keeps
// moving as long as that thread processes events.
#include "platform/media/avi.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

namespace qm::forms::detail {

class AnimationWidget : public QWidget {
public:
    explicit AnimationWidget(QWidget* parent = nullptr);

    // Opens a clip file (a Linux path), closing the one open before; throws media::AviError
    // (the control open before stays closed).
    void open(const std::string& path);
    // Plays frames `from` to `to` (-1: the last), `repeat` times (-1: until stopped). Throws
    // std::invalid_argument without an open clip or for frames outside it.
    void play(int repeat = -1, int from = 0, int to = -1);
    // Stops on the frame shown.
    void stop();
    // Stops and forgets the clip; the control shows its background only.
    void close();

    // Colour value: a system colour (high bit set) or 0x00BBGGRR.
    void setBackColor(std::uint32_t color);
    std::uint32_t backColor() const { return backColor_; }
    // Centred in the control, or at its top-left corner.
    void setCenter(bool center);

    bool isOpen() const { return clip_.has_value(); }
    bool isPlaying() const { return timer_.isActive(); }
    int currentFrame() const { return frame_; }
    // The clip's frame size, or 0 x 0.
    QSize clipSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void advance();

    std::optional<media::AviClip> clip_;
    QTimer timer_;
    std::uint32_t backColor_ = 0x8000000F;
    bool center_ = false;
    int frame_ = 0;
    int from_ = 0, to_ = 0, repeat_ = -1, playsLeft_ = 0;
};

} // namespace qm::forms::detail
