#pragma once
// Window services of the forms runtime: timers, window properties, cursor and coordinate
// queries, window rectangles and regions, capture, posted keys, message boxes, the
// program's folder and version, the screen in twips, random numbers and path mapping.
//
// Windows are named by a WindowId: a 32-bit number, 0 for none, that stays unique for the
// life of the process (ids are never reused). Operations on an id whose window is gone do
// nothing and report failure or return empty values.
#include "platform/raster/geometry.h"
#include "platform/raster/region.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qm::forms {

using WindowId = std::uint32_t;

// ---- Timers ---------------------------------------------------------------------------
constexpr std::uint32_t WM_TIMER = 0x113;
// Called on the user-interface thread between messages: (window, WM_TIMER, timer id, ms tick).
using TimerProc = std::function<void(
    WindowId hWnd, std::uint32_t message, std::uintptr_t timerId, std::uint32_t time)>;
// Starts timer `id` of window `hWnd`, or restarts it with the new interval and callback when it
// runs already. Returns `id`, or 0 when the window does not exist. Timers die with the window.
std::uintptr_t SetTimer(WindowId hWnd, std::uintptr_t id, std::uint32_t intervalMs, TimerProc proc);
// Stops timer `id` of `hWnd`; false when there is no such timer. Safe inside its own callback.
bool KillTimer(WindowId hWnd, std::uintptr_t id);

// ---- Window properties ----------------------------------------------------------------
// A named value attached to a window: a 32-bit number or a non-owning reference to an object.
// Names compare without regard to case. Properties go with the window.
class WindowProp {
public:
    WindowProp() = default; // absent: reads as number 0 and reference nullptr
    static WindowProp number(std::int32_t n)
    {
        WindowProp p;
        p.kind_ = Kind::Number;
        p.number_ = n;
        return p;
    }
    template <class T> static WindowProp reference(T* object)
    {
        WindowProp p;
        p.kind_ = Kind::Reference;
        p.ref_ = const_cast<void*>(static_cast<const void*>(object));
        return p;
    }
    bool isSet() const { return kind_ != Kind::Absent; }
    bool isReference() const { return kind_ == Kind::Reference; }
    std::int32_t asNumber() const { return kind_ == Kind::Number ? number_ : 0; }
    // The object stored by reference(T*) (the caller names the same type); nullptr otherwise.
    template <class T> T* asReference() const
    {
        return kind_ == Kind::Reference ? static_cast<T*>(ref_) : nullptr;
    }
    bool operator==(const WindowProp&) const = default;

private:
    enum class Kind { Absent, Number, Reference };
    Kind kind_ = Kind::Absent;
    std::int32_t number_ = 0;
    void* ref_ = nullptr;
};
// False when the window does not exist.
bool SetProp(WindowId hWnd, std::string_view name, WindowProp value);
WindowProp GetProp(WindowId hWnd, std::string_view name); // absent: WindowProp{}
// Removes and returns the property.
WindowProp RemoveProp(WindowId hWnd, std::string_view name);

// ---- Cursor, points, rectangles -------------------------------------------------------
gfx::Point GetCursorPos(); // screen pixels
// The window under a screen point: the top-most of our windows there (stacking order), and in
// it the deepest windowed control whose window region holds the point; 0 when none.
WindowId WindowFromPoint(gfx::Point screen);
// Conversions between screen and client pixels; the point is returned unchanged for a
// window that does not exist (with ok = false when asked).
gfx::Point ScreenToClient(WindowId hWnd, gfx::Point screen, bool* ok = nullptr);
gfx::Point ClientToScreen(WindowId hWnd, gfx::Point client, bool* ok = nullptr);
// The window's outer rectangle in screen pixels (frame included for top-level windows).
gfx::Rect GetWindowRect(WindowId hWnd);
gfx::Rect GetClientRect(WindowId hWnd); // (0, 0, width, height)
// Moves and sizes a window: child windows in their container's client pixels, top-level
// windows in screen pixels (outer rectangle). False when the window does not exist.
bool MoveWindow(WindowId hWnd, int x, int y, int width, int height, bool repaint = true);
// The container (parent window) of a child window; 0 for top-level windows.
WindowId GetParent(WindowId hWnd);
bool IsWindow(WindowId hWnd);

// ---- Capture, posted messages ---------------------------------------------------------
// Mouse input goes to `hWnd` until released; returns the window that had the capture.
WindowId SetCapture(WindowId hWnd);
bool ReleaseCapture();
WindowId GetCapture();

constexpr std::uint32_t WM_KEYDOWN = 0x100;
constexpr std::uint32_t WM_KEYUP = 0x101;
// Queues a message for `hWnd`, delivered by the message loop after the current handler.
// Key messages reach a window's key handling as a real key would (a form with focusable
// controls moves the focus for the arrow keys). Other messages are refused (false).
bool PostMessage(WindowId hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

// ---- Window regions -------------------------------------------------------------------
// Installs `region` (window pixels) as the window's shape: only its pixels are shown and reach
// the mouse. The window owns the region afterwards. An empty optional removes the shape.
// Returns false when the window does not exist.
bool SetWindowRgn(WindowId hWnd, gfx::Region region, bool redraw = true);
bool ClearWindowRgn(WindowId hWnd, bool redraw = true);
// Copies the window's shape into `out`; returns its kind, or RegionKind::Error when the
// window has no shape (out is left alone).
gfx::RegionKind GetWindowRgn(WindowId hWnd, gfx::Region& out);

// ---- Message boxes --------------------------------------------------------------------
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};
constexpr int vbOK = 1;
// A modal message box with an OK button; the title defaults to the application's title.
// Returns vbOK. With no display (or in tests) the box is recorded instead (see below).
int MsgBox(std::string_view prompt, int buttons = vbOKOnly, std::string_view title = {});

// ---- Program, screen, random numbers, paths -------------------------------------------
namespace App {
std::string Path(); // the folder of the program, without a trailing separator
std::string Title(); // "Quillmere" unless set
void setTitle(std::string title);
std::string EXEName();
int Major(); // 1
int Minor(); // 0
int Revision(); // 0
} // namespace App

namespace Screen {
double Width(); // twips
double Height(); // twips
double TwipsPerPixelX();
double TwipsPerPixelY();
} // namespace Screen

// Twips per pixel for a logical DPI: 1440 / dpi, rounded to a whole number (15 at 96 DPI,
// 10 at 144 DPI); never below 1.
double twipsPerPixelForDpi(double dpi);

// A uniform number in [0, 1); Randomize seeds from the clock.
float Rnd();
void Randomize();
void Randomize(std::uint32_t seed);

// A Windows-style path as the program builds it mapped to a Linux path: every backslash is a
// separator, a leading drive ("C:") is dropped, runs of separators are kept as they are
// ("C:\" -> "/", "/opt/q\res.dll" -> "/opt/q/res.dll").
std::string LinuxPath(std::string_view windowsPath);

// One pass over the pending window messages (paints, input, timers, posted messages).
void DoEvents();

} // namespace qm::forms
