#pragma once
// Controls implemented by platform code on a Qt widget (the animation control, ...). Platform
// code derives from NativeControl; the application-facing proxy derives from NativeControlRef
// (form.h) and reaches its NativeControl through native(). This header names Qt types only by
// forward declaration, so it may be included by the proxy's public header.
#include "platform/forms/property_bag.h"

#include <cstdint>

class QWidget;

namespace qm::forms {

class NativeControl {
public:
    virtual ~NativeControl() = default;
    // Creates the control's widget as a child of `parent` when the form loads. `settings` are
    // the control's settings from the form description (its Left/Top/Width/Height are applied
    // by the runtime afterwards). The runtime owns the widget (it dies with the form).
    virtual QWidget* createWidget(QWidget* parent, const PropertyBag& settings) = 0;
    // The form is unloading; the widget still exists.
    virtual void unload() { }
    // The ambient back colour of the container changed (colour value).
    virtual void ambientBackColor(std::uint32_t color) { (void)color; }
    // Whether the widget is a window of its own for the window services (hWnd, regions).
    virtual bool windowed() const { return true; }
    virtual bool canGetFocus() const { return false; }
};

} // namespace qm::forms
