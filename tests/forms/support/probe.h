#pragma once
// A user control written only against its host, for the forms tests: it logs every
// notification it receives as "<name>.<notification> <arguments>".
#include "platform/forms/user_control.h"

#include <functional>
#include <string>
#include <vector>

namespace qm::forms::test {

std::vector<std::string>& probeLog();
// The entries of the log that start with `prefix` (a control name and a dot, say).
std::vector<std::string> logOf(const std::string& prefix);
// Entries for one control without its mouse moves and paints, which depend on the platform.
std::vector<std::string> eventsOf(const std::string& name);

class Probe : public UserControl {
public:
    static constexpr const char* kType = "Test.Probe";
    static void registerType();

    bool DefaultCancel() const override { return true; }
    void InitProperties() override;
    void ReadProperties(PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Resize() override
    {
        resizeWidths.push_back(host().ScaleWidth());
        log("Resize");
    }
    void Paint() override;
    void Terminate() override { log("Terminate"); }
    void Show() override { log("Show"); }
    void AmbientChanged(std::string_view name) override;
    // As a command button does: an access key clicks.
    void AccessKeyPress(std::int16_t& keyAscii) override
    {
        log("AccessKeyPress " + std::to_string(keyAscii));
        Click();
    }
    void KeyDown(std::int16_t& keyCode, std::int16_t& shift) override;
    void KeyPress(std::int16_t& keyAscii) override { log("KeyPress " + std::to_string(keyAscii)); }
    void KeyUp(std::int16_t& keyCode, std::int16_t& shift) override;
    void MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
    void MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
    void MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
    void Click() override;
    void DblClick() override { log("DblClick"); }
    void GotFocus() override { log("GotFocus"); }
    void OLEStartDrag(DataObject& data, std::int32_t& allowedEffects) override;
    void OLEGiveFeedback(std::int32_t& effect, bool& defaultCursors) override;
    void OLESetData(DataObject& data, std::int16_t& dataFormat) override;
    void OLECompleteDrag(std::int32_t& effect) override;
    void OLEDragOver(DataObject& data, std::int32_t& effect, std::int16_t& button,
        std::int16_t& shift, float& x, float& y, std::int16_t& state) override;
    void OLEDragDrop(DataObject& data, std::int32_t& effect, std::int16_t& button,
        std::int16_t& shift, float& x, float& y) override;

    std::string name() const;
    void log(const std::string& what) const;

    std::string caption;
    std::uint32_t color = 0x0000FF; // red
    std::int16_t weight = 0;
    bool refreshInPaint = false;
    std::vector<int> resizeWidths; // ScaleWidth seen at each Resize
    std::function<void()> onClick; // set by the form that holds the probe
    std::function<void(std::int16_t&)> onKeyDown; // may change the key code
    // Drag and drop: a left-button move starts a drag; the hooks fill or read the data and may
    // change the effect. Without hooks a source offers nothing and a target accepts a copy.
    bool dragOnMove = false;
    std::function<void(DataObject&, std::int32_t&)> onStartDrag;
    std::function<void(DataObject&, std::int16_t)> onSetData;
    std::function<void(DataObject&, std::int32_t&, std::int16_t state)> onDragOver;
    std::function<void(DataObject&, std::int32_t&)> onDragDrop;
};

} // namespace qm::forms::test
