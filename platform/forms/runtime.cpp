#include "platform/forms/detail/runtime.h"

#include "platform/forms/program.h"
#include "platform/forms/user_control.h"
#include "platform/forms/window_services.h"
#include "platform/raster/font.h"
#include "platform/raster/syscolor.h"

#include <QApplication>
#include <QBitmap>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QScreen>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#ifndef QM_VERSION_MAJOR
#define QM_VERSION_MAJOR 1
#define QM_VERSION_MINOR 0
#define QM_VERSION_PATCH 0
#endif

namespace qm::forms {

namespace detail {
void destroyAllForms(); // form_impl.cpp
void showDrawnSurfaces(); // form_impl.cpp
} // namespace detail

namespace {

struct RuntimeState {
    std::string command;
    std::string title = "Quillmere";
    UnhandledErrorHandler unhandled;
    MessageBoxRecorder recorder;
    std::mt19937 random { 0x5eed };
    QPoint lastCursor;
    bool cursorSeen = false;
};
RuntimeState& state()
{
    static RuntimeState s;
    return s;
}

void prepareEnvironment()
{
    // Our windows are laid out in device pixels; Qt must not scale them.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qunsetenv("QT_AUTO_SCREEN_SCALE_FACTOR");
}

void afterStart()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void defaultUnhandled(const RuntimeError& e)
{
    MsgBox("Errore di run-time '" + std::to_string(e.Number()) + "':\r\n\r\n" + e.Description(),
        vbCritical);
    End();
}

} // namespace

bool StartRuntime(int& argc, char** argv, std::string* whyNot)
{
    std::string cmd;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            cmd += ' ';
        cmd += argv[i];
    }
    state().command = cmd;
    if (auto* app = QCoreApplication::instance()) {
        if (!qobject_cast<QApplication*>(app)) {
            if (whyNot)
                *whyNot = "an application object without widgets exists already";
            return false;
        }
        return true;
    }
    prepareEnvironment();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        if (whyNot)
            *whyNot = "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        return false;
    }
    // Lives until the process ends: windows may be used until End().
    detail::createApplication(argc, argv);
    afterStart();
    return true;
}

void StartRuntimeForTests()
{
    if (QCoreApplication::instance())
        return;
    prepareEnvironment();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillmere";
    static char* argv[] = { name, nullptr };
    detail::createApplication(argc, argv);
    afterStart();
}

bool RuntimeStarted()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

std::string Command()
{
    return state().command;
}

void End()
{
    detail::destroyAllForms();
    std::fflush(nullptr);
    std::exit(0);
}

UnhandledErrorHandler setUnhandledErrorHandler(UnhandledErrorHandler handler)
{
    auto old = std::move(state().unhandled);
    state().unhandled = std::move(handler);
    return old;
}

void ReportUnhandledError(const RuntimeError& error)
{
    if (state().unhandled)
        state().unhandled(error);
    else
        defaultUnhandled(error);
}

bool RunGuarded(const std::function<void()>& fn)
{
    try {
        fn();
        return true;
    } catch (const RuntimeError& e) {
        ReportUnhandledError(e);
    } catch (const std::exception& e) {
        ReportUnhandledError(RuntimeError(51, e.what()));
    }
    return false;
}

MessageBoxRecorder setMessageBoxRecorder(MessageBoxRecorder recorder)
{
    auto old = std::move(state().recorder);
    state().recorder = std::move(recorder);
    return old;
}

int MsgBox(std::string_view prompt, int buttons, std::string_view title)
{
    const std::string t = title.empty() ? App::Title() : std::string(title);
    if (state().recorder) {
        state().recorder({ std::string(prompt), t, buttons });
        return vbOK;
    }
    detail::ensureRuntime();
    QString text = QString::fromStdString(std::string(prompt));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (buttons & 0x70) {
    case vbCritical:
        icon = QMessageBox::Critical;
        break;
    case vbQuestion:
        icon = QMessageBox::Question;
        break;
    case vbExclamation:
        icon = QMessageBox::Warning;
        break;
    case vbInformation:
        icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    QMessageBox box(icon, QString::fromStdString(t), text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return vbOK;
}

namespace App {
std::string Path()
{
    detail::ensureRuntime();
    std::string p = QCoreApplication::applicationDirPath().toStdString();
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}
std::string Title()
{
    return state().title;
}
void setTitle(std::string title)
{
    state().title = std::move(title);
}
std::string EXEName()
{
    detail::ensureRuntime();
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}
int Major()
{
    return QM_VERSION_MAJOR;
}
int Minor()
{
    return QM_VERSION_MINOR;
}
int Revision()
{
    return QM_VERSION_PATCH;
}
} // namespace App

double twipsPerPixelForDpi(double dpi)
{
    if (!(dpi > 0))
        return 15;
    return std::max(1.0, std::nearbyint(1440.0 / dpi));
}

namespace Screen {
namespace {
QRect screenRect()
{
    detail::ensureRuntime();
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 640, 480);
}
} // namespace
double Width()
{
    return screenRect().width() * TwipsPerPixelX();
}
double Height()
{
    return screenRect().height() * TwipsPerPixelY();
}
double TwipsPerPixelX()
{
    detail::ensureRuntime();
    QScreen* s = QGuiApplication::primaryScreen();
    return twipsPerPixelForDpi(s ? s->logicalDotsPerInchX() : 96);
}
double TwipsPerPixelY()
{
    detail::ensureRuntime();
    QScreen* s = QGuiApplication::primaryScreen();
    return twipsPerPixelForDpi(s ? s->logicalDotsPerInchY() : 96);
}
} // namespace Screen

float Rnd()
{
    // 24 random bits give every float of [0, 1) a multiple of 2^-24, never 1.
    return float(state().random() >> 8) * (1.0f / 16777216.0f);
}

void Randomize()
{
    Randomize(std::uint32_t(std::chrono::steady_clock::now().time_since_epoch().count())
        ^ std::uint32_t(std::chrono::system_clock::now().time_since_epoch().count()));
}

void Randomize(std::uint32_t seed)
{
    state().random.seed(seed);
}

std::string LinuxPath(std::string_view path)
{
    std::string out;
    std::size_t i = 0;
    if (path.size() >= 2 && path[1] == ':'
        && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        i = 2;
        if (path.size() == 2)
            return "/";
    }
    for (; i < path.size(); ++i)
        out += path[i] == '\\' ? '/' : path[i];
    return out;
}

void DoEvents()
{
    detail::ensureRuntime();
    // What was drawn on the forms since the last pass shows in this one.
    detail::showDrawnSurfaces();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

gfx::Point GetCursorPos()
{
    detail::ensureRuntime();
    // Platforms without a pointer of their own (offscreen) know only what input reported.
    if (QGuiApplication::platformName() == QLatin1String("offscreen") && state().cursorSeen)
        return { state().lastCursor.x(), state().lastCursor.y() };
    const QPoint p = QCursor::pos();
    return { p.x(), p.y() };
}

namespace detail {

void ensureRuntime()
{
    if (!RuntimeStarted())
        StartRuntimeForTests();
}

void noteCursor(const QPoint& global)
{
    state().lastCursor = global;
    state().cursorSeen = true;
}

double twipsPerPixel()
{
    return Screen::TwipsPerPixelX();
}
int twipsToPixels(double twips)
{
    return int(std::nearbyint(twips / twipsPerPixel()));
}
double pixelsToTwips(int pixels)
{
    return pixels * twipsPerPixel();
}

std::uint32_t toColorRef(std::uint32_t c)
{
    return (c & 0x80000000u) ? gfx::GetSysColor(int(c & 0xFF)) : (c & 0xFFFFFF);
}

QColor toQColor(std::uint32_t c)
{
    const gfx::ColorRef rgb = toColorRef(c);
    return QColor(gfx::redOf(rgb), gfx::greenOf(rgb), gfx::blueOf(rgb));
}

QFont toQFont(const StdFont& f)
{
    QScreen* s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96;
    QFont q(QString::fromStdString(gfx::substituteFaceName(f.Name)));
    q.setPixelSize(std::max(1, int(std::nearbyint(f.Size * dpi / 72.0))));
    q.setWeight(QFont::Weight(std::clamp(f.Weight, 1, 1000)));
    q.setItalic(f.Italic);
    q.setUnderline(f.Underline);
    q.setStrikeOut(f.Strikethrough);
    return q;
}

bool isIconOrCursor(const PictureData& p)
{
    const auto& b = p.Bytes;
    if (b.size() < 6 + 16)
        return false;
    const int reserved = b[0] | (b[1] << 8);
    const int type = b[2] | (b[3] << 8);
    const int count = b[4] | (b[5] << 8);
    return reserved == 0 && (type == 1 || type == 2) && count > 0
        && b.size() >= std::size_t(6 + 16 * count);
}

std::optional<QCursor> cursorFor(std::int16_t pointer, const PictureData& icon)
{
    switch (pointer) {
    case vbArrow:
        return QCursor(Qt::ArrowCursor);
    case vbCrosshair:
        return QCursor(Qt::CrossCursor);
    case vbIbeam:
        return QCursor(Qt::IBeamCursor);
    case vbSizePointer:
    case vbSizeAll:
        return QCursor(Qt::SizeAllCursor);
    case vbSizeNESW:
        return QCursor(Qt::SizeBDiagCursor);
    case vbSizeNS:
        return QCursor(Qt::SizeVerCursor);
    case vbSizeNWSE:
        return QCursor(Qt::SizeFDiagCursor);
    case vbSizeWE:
        return QCursor(Qt::SizeHorCursor);
    case vbUpArrow:
        return QCursor(Qt::UpArrowCursor);
    case vbHourglass:
        return QCursor(Qt::WaitCursor);
    case vbNoDrop:
        return QCursor(Qt::ForbiddenCursor);
    case vbArrowHourglass:
        return QCursor(Qt::BusyCursor);
    case vbArrowQuestion:
        return QCursor(Qt::WhatsThisCursor);
    case vbCustom: {
        if (!isIconOrCursor(icon))
            return std::nullopt;
        const auto& b = icon.Bytes;
        const bool isCursor = (b[2] | (b[3] << 8)) == 2;
        // The first directory entry holds the hot spot of a cursor.
        int hotX = isCursor ? (b[6 + 4] | (b[6 + 5] << 8)) : -1;
        int hotY = isCursor ? (b[6 + 6] | (b[6 + 7] << 8)) : -1;
        QByteArray data(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
        data[2] = 1; // decode cursors with the icon reader
        QImage img = QImage::fromData(data, "ICO");
        if (img.isNull())
            return std::nullopt;
        return QCursor(QPixmap::fromImage(img), hotX, hotY);
    }
    default:
        return std::nullopt;
    }
}

QImage imageOf(const gfx::Bitmap& b)
{
    if (!b || b.isMono() || b.width() <= 0 || b.height() <= 0)
        return {};
    return QImage(reinterpret_cast<const uchar*>(b.bits()), b.width(), b.height(), b.bytesPerLine(),
        QImage::Format_RGB32);
}

QRegion toQRegion(const gfx::Region& region)
{
    QRegion r;
    std::vector<QRect> rects;
    rects.reserve(region.rects().size());
    for (const auto& b : region.rects())
        rects.emplace_back(b.left, b.top, b.width(), b.height());
    r.setRects(rects.data(), int(rects.size()));
    return r;
}

int keyCodeOf(int k)
{
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return 112 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Help:
        return 47;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    case Qt::Key_Semicolon:
        return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return 187;
    case Qt::Key_Comma:
        return 188;
    case Qt::Key_Minus:
        return 189;
    case Qt::Key_Period:
        return 190;
    case Qt::Key_Slash:
        return 191;
    case Qt::Key_QuoteLeft:
        return 192;
    case Qt::Key_BracketLeft:
        return 219;
    case Qt::Key_Backslash:
        return 220;
    case Qt::Key_BracketRight:
        return 221;
    case Qt::Key_Apostrophe:
        return 222;
    default:
        return 0;
    }
}

std::int16_t shiftOf(Qt::KeyboardModifiers m)
{
    std::int16_t s = 0;
    if (m & Qt::ShiftModifier)
        s |= vbShiftMask;
    if (m & Qt::ControlModifier)
        s |= vbCtrlMask;
    if (m & Qt::AltModifier)
        s |= vbAltMask;
    return s;
}

std::int16_t buttonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton:
        return vbLeftButton;
    case Qt::RightButton:
        return vbRightButton;
    case Qt::MiddleButton:
        return vbMiddleButton;
    default:
        return 0;
    }
}

std::int16_t buttonsOf(Qt::MouseButtons b)
{
    std::int16_t r = 0;
    if (b & Qt::LeftButton)
        r |= vbLeftButton;
    if (b & Qt::RightButton)
        r |= vbRightButton;
    if (b & Qt::MiddleButton)
        r |= vbMiddleButton;
    return r;
}

bool raise(const std::function<void()>& handler)
{
    return RunGuarded(handler);
}

} // namespace detail
} // namespace qm::forms
