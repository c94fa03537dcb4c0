#pragma once
// Internal to platform/forms: the window registry behind WindowId, unit conversions and the
// small Qt helpers the forms runtime shares.
#include "platform/forms/property_bag.h"
#include "platform/forms/window_services.h"
#include "platform/raster/bitmap.h"

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTimer;

namespace qm::forms::detail {

// Makes sure the application object exists (tests, tools); the program starts it explicitly.
void ensureRuntime();
// The application object of the forms runtime (input routing, safe destruction of windows).
void createApplication(int& argc, char** argv);
// Destroys a top-level window as soon as none of its events is being delivered.
void destroyWindowSafely(QWidget* window);

// One registered window: its widget, its named properties and its timers.
struct WindowEntry {
    QPointer<QWidget> widget;
    std::vector<std::pair<std::string, WindowProp>> props;
    std::map<std::uintptr_t, QTimer*> timers;
    std::optional<gfx::Region> region; // the installed window region
    // Receives posted key-downs (key code, lParam); absent: refused.
    std::function<void(int keyCode, std::intptr_t lParam)> postedKeyDown;
};

class WindowRegistry {
public:
    static WindowRegistry& instance();
    // Registers a widget as a window; the entry goes when the widget is destroyed or unregistered.
    WindowId add(QWidget* widget);
    void remove(WindowId id); // stops its timers, drops its properties
    WindowEntry* find(WindowId id);
    QWidget* widget(WindowId id);
    WindowId idOf(const QWidget* widget) const; // 0 when not a registered window
    // The registered window that holds `widget` (itself or its nearest registered ancestor).
    WindowId windowAt(const QWidget* widget) const;

    // Top-level windows, most recently raised first (for WindowFromPoint).
    void raised(QWidget* topLevel);
    std::vector<QWidget*> stacking() const;

private:
    std::map<WindowId, WindowEntry> entries_;
    std::map<const QWidget*, WindowId> byWidget_;
    std::vector<QPointer<QWidget>> stack_;
    WindowId next_ = 0x10000;
};

// Units.
double twipsPerPixel();
int twipsToPixels(double twips); // nearest, ties to even
double pixelsToTwips(int pixels);

// Colours and fonts.
QColor toQColor(std::uint32_t colorValue);
// A colour value (system colours resolved) as 0x00BBGGRR.
std::uint32_t toColorRef(std::uint32_t colorValue);
QFont toQFont(const StdFont& font);
// Cursor for a pointer number, with a custom icon for 99; nullopt: the default cursor.
std::optional<QCursor> cursorFor(std::int16_t pointer, const PictureData& icon);
// True for the bytes of an icon or cursor file.
bool isIconOrCursor(const PictureData& picture);
QRegion toQRegion(const gfx::Region& region);
// A colour bitmap's pixels as an image, without copying them; a null image for a monochrome
// or empty bitmap, which no window shows.
QImage imageOf(const gfx::Bitmap& bitmap);

// Qt key to the platform's key code (0 when it has none) and the shift state.
int keyCodeOf(int qtKey);
std::int16_t shiftOf(Qt::KeyboardModifiers modifiers);
std::int16_t buttonOf(Qt::MouseButton button);
std::int16_t buttonsOf(Qt::MouseButtons buttons);

// Runs an event handler of application code: errors go to the unhandled-error report.
// Returns false when the handler failed.
bool raise(const std::function<void()>& handler);

// Last cursor position seen in a mouse event (platforms without a real pointer).
void noteCursor(const QPoint& global);

} // namespace qm::forms::detail
