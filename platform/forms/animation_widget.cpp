#include "platform/forms/animation_widget.h"

#include "platform/raster/syscolor.h"

#include <QImage>
#include <QPainter>
#include <stdexcept>

namespace qm::forms::detail {

namespace {
QColor colorOf(std::uint32_t value)
{
    const gfx::ColorRef c
        = (value & 0x80000000u) ? gfx::GetSysColor(int(value & 0xFF)) : (value & 0xFFFFFF);
    return QColor(gfx::redOf(c), gfx::greenOf(c), gfx::blueOf(c));
}
} // namespace

AnimationWidget::AnimationWidget(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { advance(); });
}

void AnimationWidget::open(const std::string& path)
{
    close();
    clip_.emplace(media::AviClip::open(path));
    frame_ = 0;
    clip_->frame(0);
    update();
}

void AnimationWidget::play(int repeat, int from, int to)
{
    if (!clip_)
        throw std::invalid_argument("no clip is open");
    const int last = clip_->frameCount() - 1;
    if (to == -1)
        to = last;
    if (from < 0 || from > last || to < from || to > last || repeat == 0 || repeat < -1)
        throw std::invalid_argument("frames or repeat count outside the clip");
    from_ = from, to_ = to, repeat_ = repeat, playsLeft_ = repeat;
    frame_ = from;
    clip_->frame(frame_);
    update();
    const auto ms = std::max<long long>(1, (clip_->frameDuration().count() + 500) / 1000);
    timer_.start(int(std::min<long long>(ms, 60000)));
}

void AnimationWidget::stop()
{
    timer_.stop();
}

void AnimationWidget::close()
{
    timer_.stop();
    clip_.reset();
    frame_ = 0;
    update();
}

void AnimationWidget::setBackColor(std::uint32_t color)
{
    backColor_ = color;
    update();
}

void AnimationWidget::setCenter(bool center)
{
    center_ = center;
    update();
}

QSize AnimationWidget::clipSize() const
{
    return clip_ ? QSize(clip_->width(), clip_->height()) : QSize();
}

void AnimationWidget::advance()
{
    if (!clip_) {
        timer_.stop();
        return;
    }
    if (frame_ < to_) {
        ++frame_;
    } else if (repeat_ == -1 || --playsLeft_ > 0) {
        frame_ = from_;
    } else {
        timer_.stop(); // the last play ends on its last frame
        return;
    }
    clip_->frame(frame_);
    update();
}

void AnimationWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), colorOf(backColor_));
    if (!clip_)
        return;
    const media::Image& img = clip_->frame(frame_);
    const QImage view(reinterpret_cast<const uchar*>(img.pixels.data()), img.width, img.height,
        img.width * 4, QImage::Format_RGB32);
    const QPoint at
        = center_ ? QPoint((width() - img.width) / 2, (height() - img.height) / 2) : QPoint(0, 0);
    p.drawImage(at, view);
}

} // namespace qm::forms::detail
