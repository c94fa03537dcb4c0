#pragma once
// Form descriptions: each window's settings, its controls and every user control's stored
// property bag, kept as a JSON file per form (app/forms/<name>.json) and compiled into the
// program. A description is read with QtCore's JSON reader; every value is typed:
//
//   JSON value                          type
//   "text"                              string
//   true / false                        Boolean
//   123                                 32-bit integer
//   {"int16": 16}                       16-bit integer
//   {"color": "0x8000000F"} or number   colour value
//   {"font": {"name": "Tahoma", "size": 8.25, "weight": 400, "charset": 0,
//             "italic": false, "underline": true, "strikethrough": false}}
//   {"picture": "<base64 of the file>"} or {"picture": {"file": "icon.ico"}}  picture data
//
// A form file: {"Form": "frmFine", "Settings": {...}, "Controls": [{"Name": "Text1",
// "Type": "TextBox", "Settings": {...}, "Properties": {...}}, ...]}. "Properties" is the
// stored property bag of a user control. Keys compare without regard to case.
#include "platform/forms/property_bag.h"
#include "platform/forms/user_control.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::forms {

struct ControlDescription {
    std::string Name;
    std::string Type; // "Label", "TextBox", "Image", a user control's type, a native control's
    PropertyBag Settings; // Left, Top, Width, Height (twips), TabIndex, Caption, ...
    std::optional<PropertyBag> Properties; // stored bag of a user control
    // Same name, type and values; keys compare without regard to case or order.
    bool operator==(const ControlDescription&) const;
};

struct FormDescription {
    std::string Name;
    PropertyBag Settings;
    std::vector<ControlDescription> Controls;

    // Parses a description; `files` resolves {"picture": {"file": ...}} references (absent: the
    // reference is an error). Any fault raises RuntimeError(errUnableToLoad) naming `source`
    // and the place of the fault.
    static FormDescription parse(std::string_view json, std::string_view source,
        const std::function<std::optional<std::vector<std::uint8_t>>(std::string_view)>& files
        = {});
    // Writes the description back as JSON (pictures inline); parse(toJson()) == *this.
    std::string toJson() const;

    const ControlDescription* control(std::string_view name) const;
    ControlDescription* control(std::string_view name);
    bool operator==(const FormDescription&) const;
};

// The description compiled into the program (or registered) under `name`; raises
// RuntimeError(errUnableToLoad) when there is none or it does not parse.
const FormDescription& formDescription(std::string_view name);
// Registers (or replaces) a description from JSON text, as tests and tools do.
void registerFormDescription(std::string_view json, std::string_view source = "registered");
// Names of the descriptions available.
std::vector<std::string> formDescriptionNames();

// User controls placed by type name in descriptions without a typed member on the form.
using UserControlFactory = std::function<std::unique_ptr<UserControl>()>;
void registerUserControlType(std::string type, UserControlFactory factory);

// A form hosted in design mode (ambient UserMode False): controls are created from the
// description (ReadProperties), new user controls can be placed (InitProperties), and Save()
// writes every user control's bag (WriteProperties) into a new description.
class Designer {
public:
    explicit Designer(FormDescription description);
    ~Designer();
    Designer(const Designer&) = delete;
    Designer& operator=(const Designer&) = delete;

    // Places a new user control of a registered type, in twips; returns its instance.
    UserControl& Place(
        std::string type, std::string name, double left, double top, double width, double height);
    UserControl* userControl(std::string_view name) const;
    // True once a control has announced a changed property (PropertyChanged) since the last Save.
    bool Modified() const;
    // The description with every user control's bag written afresh.
    FormDescription Save();
    WindowId hWnd() const;

private:
    class Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace qm::forms
