#include "platform/forms/animation_control.h"

#include "platform/forms/animation_widget.h"
#include "platform/forms/native_control.h"
#include "platform/forms/runtime_error.h"
#include "platform/forms/window_services.h"

#include <QPointer>
#include <stdexcept>

namespace qm::forms {

namespace {

class AnimationNative : public NativeControl {
public:
    QWidget* createWidget(QWidget* parent, const PropertyBag& settings) override
    {
        widget_ = new detail::AnimationWidget(parent);
        widget_->setBackColor(settings.ReadColor("BackColor", 0x8000000F));
        widget_->setCenter(settings.ReadBool("Center", false));
        return widget_;
    }
    void unload() override
    {
        if (widget_)
            widget_->close();
    }
    detail::AnimationWidget* widget() const { return widget_; }

private:
    QPointer<detail::AnimationWidget> widget_;
};

} // namespace

Animation::Animation(Form* form, std::string name)
    : NativeControlRef(form, std::move(name), [] { return std::make_unique<AnimationNative>(); })
{
}

namespace {
detail::AnimationWidget& widgetOf(NativeControl& native)
{
    auto* w = static_cast<AnimationNative&>(native).widget();
    if (!w)
        Raise(errObjectRequired);
    return *w;
}
} // namespace

void Animation::Open(const std::string& fileName)
{
    const std::string path = LinuxPath(fileName);
    try {
        widgetOf(native()).open(path);
    } catch (const media::AviError& e) {
        if (e.fault() == media::AviFault::Missing)
            Raise(errFileNotFound, "File not found: " + path);
        Raise(errCannotOpenClip, "Unable to open AVI file " + path + " (" + e.what() + ")");
    }
}

void Animation::Play(int repeatCount, int startFrame, int endFrame)
{
    try {
        widgetOf(native()).play(repeatCount, startFrame, endFrame);
    } catch (const std::invalid_argument& e) {
        Raise(errInvalidProcedureCall,
            std::string("Invalid procedure call or argument: ") + e.what());
    }
}

void Animation::Stop()
{
    widgetOf(native()).stop();
}
void Animation::Close()
{
    widgetOf(native()).close();
}
std::uint32_t Animation::backColor_() const
{
    return widgetOf(native()).backColor();
}
void Animation::setBackColor_(const std::uint32_t& v)
{
    widgetOf(native()).setBackColor(v);
}
bool Animation::IsOpen() const
{
    return widgetOf(native()).isOpen();
}
bool Animation::IsPlaying() const
{
    return widgetOf(native()).isPlaying();
}
int Animation::CurrentFrame() const
{
    return widgetOf(native()).currentFrame();
}

} // namespace qm::forms
