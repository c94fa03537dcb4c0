#pragma once
// The fifteen events of kxButtons_H. Every parameter is passed by reference: a
// handler may change it and the control sees the change.
#include "button/core/types.h"

#include <cstdint>
#include <functional>

namespace qm::forms {
class DataObject;
} // namespace qm::forms

namespace qm {

// The numbers the control raises its events with, in declaration order.
enum class kxButtonsEvent : int {
    MouseDown = 1,
    MouseUp = 2,
    MouseMove = 3,
    KeyDown = 4,
    KeyPress = 5,
    KeyUp = 6,
    MouseOnButton = 7,
    Click = 8,
    DoubleClick = 9,
    OLECompleteDrag = 10,
    OLEDragDrop = 11,
    OLEDragOver = 12,
    OLEGiveFeedback = 13,
    OLESetData = 14,
    OLEStartDrag = 15,
};

using DataObject = forms::DataObject;

// Handlers set by the form that holds the button; an empty handler is not called.
struct kxButtons_HEvents {
    using MouseHandler
        = std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)>;
    using KeyHandler = std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)>;

    MouseHandler MouseDown;
    MouseHandler MouseUp;
    MouseHandler MouseMove;
    KeyHandler KeyDown;
    std::function<void(std::int16_t& KeyAscii)> KeyPress;
    KeyHandler KeyUp;
    std::function<void(Boolean& OnButton)> MouseOnButton;
    std::function<void()> Click;
    std::function<void(std::int16_t& Button)> DoubleClick;
    std::function<void(std::int32_t& Effect)> OLECompleteDrag;
    std::function<void(DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
        std::int16_t& Shift, float& X, float& Y)>
        OLEDragDrop;
    std::function<void(DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
        std::int16_t& Shift, float& X, float& Y, std::int16_t& State)>
        OLEDragOver;
    std::function<void(std::int32_t& Effect, Boolean& DefaultCursors)> OLEGiveFeedback;
    std::function<void(DataObject& Data, std::int16_t& DataFormat)> OLESetData;
    std::function<void(DataObject& Data, std::int32_t& AllowedEffects)> OLEStartDrag;
};

// The handler slot of each event number.
template <kxButtonsEvent N> constexpr auto eventSlot()
{
    using E = kxButtons_HEvents;
    using enum kxButtonsEvent;
    if constexpr (N == MouseDown)
        return &E::MouseDown;
    else if constexpr (N == MouseUp)
        return &E::MouseUp;
    else if constexpr (N == MouseMove)
        return &E::MouseMove;
    else if constexpr (N == KeyDown)
        return &E::KeyDown;
    else if constexpr (N == KeyPress)
        return &E::KeyPress;
    else if constexpr (N == KeyUp)
        return &E::KeyUp;
    else if constexpr (N == MouseOnButton)
        return &E::MouseOnButton;
    else if constexpr (N == Click)
        return &E::Click;
    else if constexpr (N == DoubleClick)
        return &E::DoubleClick;
    else if constexpr (N == OLECompleteDrag)
        return &E::OLECompleteDrag;
    else if constexpr (N == OLEDragDrop)
        return &E::OLEDragDrop;
    else if constexpr (N == OLEDragOver)
        return &E::OLEDragOver;
    else if constexpr (N == OLEGiveFeedback)
        return &E::OLEGiveFeedback;
    else if constexpr (N == OLESetData)
        return &E::OLESetData;
    else
        return &E::OLEStartDrag;
}

} // namespace qm
