#pragma once
// A user-control host without a window: the control's surface is a bitmap in memory.
#include "platform/forms/user_control.h"
#include "platform/raster/dc.h"

#include <string>
#include <vector>

namespace qm::testing {

class FakeHost : public forms::UserControlHost {
public:
    explicit FakeHost(int width = 75, int height = 23);

    // Gives the window a new size and surface, as the runtime does before Resize.
    void resizeTo(int width, int height);

    int ScaleWidth() const override { return width_; }
    int ScaleHeight() const override { return height_; }
    gfx::DC hDC() override { return dc_; }
    forms::WindowId hWnd() const override { return 0; }
    bool Enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    std::uint32_t ForeColor() const override { return foreColor_; }
    void setForeColor(std::uint32_t color) override { foreColor_ = color; }
    forms::StdFont& Font() override { return font_; }
    void setFont(const forms::StdFont& font) override { font_ = font; }
    std::int16_t MousePointer() const override { return pointer_; }
    void setMousePointer(std::int16_t pointer) override { pointer_ = pointer; }
    const forms::PictureData& MouseIcon() const override { return icon_; }
    void setMouseIcon(const forms::PictureData& icon) override { icon_ = icon; }
    std::string AccessKeys() const override { return accessKeys_; }
    void setAccessKeys(std::string keys) override { accessKeys_ = std::move(keys); }
    std::string Tag() const override { return tag_; }
    void setTag(std::string tag) override { tag_ = std::move(tag); }
    forms::WindowId ContainerHwnd() const override { return 0; }
    void Refresh() override { ++refreshes; }
    void PropertyChanged(std::string_view key) override { changed.emplace_back(key); }
    forms::AmbientProperties Ambient() const override { return ambient; }
    forms::ParentInfo Parent() const override { return parent; }
    double Width() const override { return width_ * 15.0; }
    double Height() const override { return height_ * 15.0; }
    void setWidth(double width) override { resizeTo(int(width / 15), height_); }
    void setHeight(double height) override { resizeTo(width_, int(height / 15)); }
    void Size(double width, double height) override { resizeTo(int(width / 15), int(height / 15)); }
    double ScaleX(double value, std::int16_t fromScale, std::int16_t toScale) const override;
    double ScaleY(double value, std::int16_t fromScale, std::int16_t toScale) const override
    {
        return ScaleX(value, fromScale, toScale);
    }

    std::int16_t OLEDropMode() const override { return dropMode; }
    void setOLEDropMode(std::int16_t mode) override { dropMode = mode; }
    void OLEDrag() override { ++drags; }

    int refreshes = 0;
    std::int16_t dropMode = 0;
    int drags = 0;
    std::vector<std::string> changed;
    forms::AmbientProperties ambient;
    forms::ParentInfo parent;

private:
    int width_;
    int height_;
    gfx::DC dc_;
    bool enabled_ = true;
    std::uint32_t foreColor_ = 0x80000012;
    forms::StdFont font_;
    std::int16_t pointer_ = 0;
    forms::PictureData icon_;
    std::string accessKeys_;
    std::string tag_;
};

} // namespace qm::testing
