#include "tests/forms/support/probe.h"

#include "platform/forms/form_description.h"
#include "platform/raster/dc.h"
#include "platform/raster/text_layout.h"

namespace qm::forms::test {

std::vector<std::string>& probeLog()
{
    static std::vector<std::string> log;
    return log;
}

std::vector<std::string> logOf(const std::string& prefix)
{
    std::vector<std::string> out;
    for (const auto& e : probeLog())
        if (e.rfind(prefix, 0) == 0)
            out.push_back(e);
    return out;
}

std::vector<std::string> eventsOf(const std::string& name)
{
    std::vector<std::string> out;
    for (const auto& e : logOf(name + "."))
        if (e.find(".MouseMove") == std::string::npos && e.find(".Paint") == std::string::npos)
            out.push_back(e.substr(name.size() + 1));
    return out;
}

void Probe::registerType()
{
    registerUserControlType(kType, [] { return std::make_unique<Probe>(); });
}

std::string Probe::name() const
{
    return hasHost() ? host().Ambient().DisplayName : "?";
}

void Probe::log(const std::string& what) const
{
    probeLog().push_back(name() + "." + what);
}

namespace {
// The character the caption's "&" marks, or "" for none.
std::string accessKeyOf(const std::string& caption)
{
    const auto p = gfx::parsePrefix(caption);
    return p.underline < 0 ? std::string() : p.text.substr(std::size_t(p.underline), 1);
}
} // namespace

void Probe::InitProperties()
{
    host().setTag(std::to_string(host().ContainerHwnd()));
    caption = host().Ambient().DisplayName;
    color = 0x00FF00;
    host().PropertyChanged("Caption");
    log("InitProperties");
}

void Probe::ReadProperties(PropertyBag& bag)
{
    host().setTag(std::to_string(host().ContainerHwnd()));
    caption = bag.ReadString("Caption", "");
    color = bag.ReadColor("Color", 0x0000FF);
    weight = bag.ReadInt16("Weight", 0);
    host().setEnabled(bag.ReadBool("Enabled", true));
    host().setAccessKeys(accessKeyOf(caption));
    log("ReadProperties " + caption);
}

void Probe::WriteProperties(PropertyBag& bag)
{
    bag.WriteProperty("Caption", caption, std::string());
    bag.WriteProperty("Color", ColorValue { color }, ColorValue { 0x0000FF });
    bag.WriteProperty("Weight", weight, std::int16_t(0));
    bag.WriteProperty("Enabled", host().Enabled(), true);
    log("WriteProperties");
}

void Probe::Paint()
{
    gfx::DC dc = host().hDC();
    dc.fillRect({ 0, 0, host().ScaleWidth(), host().ScaleHeight() }, gfx::Brush::solid(color));
    log("Paint");
    if (refreshInPaint)
        host().Refresh();
}

void Probe::AmbientChanged(std::string_view what)
{
    log("AmbientChanged " + std::string(what) + " "
        + (host().Ambient().DisplayAsDefault ? "True" : "False"));
}

void Probe::KeyDown(std::int16_t& keyCode, std::int16_t& shift)
{
    if (onKeyDown)
        onKeyDown(keyCode);
    log("KeyDown " + std::to_string(keyCode) + " " + std::to_string(shift));
}

void Probe::KeyUp(std::int16_t& keyCode, std::int16_t& shift)
{
    log("KeyUp " + std::to_string(keyCode) + " " + std::to_string(shift));
}

namespace {
std::string mouse(const char* what, std::int16_t b, std::int16_t s, float x, float y)
{
    return std::string(what) + " " + std::to_string(b) + " " + std::to_string(s) + " "
        + std::to_string(int(x)) + " " + std::to_string(int(y));
}
} // namespace

void Probe::MouseDown(std::int16_t& b, std::int16_t& s, float& x, float& y)
{
    log(mouse("MouseDown", b, s, x, y));
}
void Probe::MouseMove(std::int16_t& b, std::int16_t& s, float& x, float& y)
{
    log(mouse("MouseMove", b, s, x, y));
    if (dragOnMove && b == vbLeftButton)
        host().OLEDrag();
}
void Probe::MouseUp(std::int16_t& b, std::int16_t& s, float& x, float& y)
{
    log(mouse("MouseUp", b, s, x, y));
}

void Probe::Click()
{
    log("Click");
    if (onClick)
        onClick(); // may unload the form that holds this probe
}

void Probe::OLEStartDrag(DataObject& data, std::int32_t& allowedEffects)
{
    log("OLEStartDrag " + std::to_string(allowedEffects));
    if (onStartDrag)
        onStartDrag(data, allowedEffects);
}

void Probe::OLEGiveFeedback(std::int32_t& effect, bool&)
{
    log("OLEGiveFeedback " + std::to_string(effect));
}

void Probe::OLESetData(DataObject& data, std::int16_t& dataFormat)
{
    log("OLESetData " + std::to_string(dataFormat));
    if (onSetData)
        onSetData(data, dataFormat);
}

void Probe::OLECompleteDrag(std::int32_t& effect)
{
    log("OLECompleteDrag " + std::to_string(effect));
}

void Probe::OLEDragOver(DataObject& data, std::int32_t& effect, std::int16_t& b, std::int16_t& s,
    float& x, float& y, std::int16_t& state)
{
    log(mouse("OLEDragOver", b, s, x, y) + " " + std::to_string(effect) + " "
        + std::to_string(state));
    if (onDragOver)
        onDragOver(data, effect, state);
    else
        effect &= vbDropEffectCopy;
}

void Probe::OLEDragDrop(
    DataObject& data, std::int32_t& effect, std::int16_t& b, std::int16_t& s, float& x, float& y)
{
    log(mouse("OLEDragDrop", b, s, x, y) + " " + std::to_string(effect));
    if (onDragDrop)
        onDragDrop(data, effect);
    else
        effect &= vbDropEffectCopy;
}

} // namespace qm::forms::test
