#include "platform/forms/screen_snapshot.h"

#include "platform/raster/syscolor.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cstring>

namespace qm::forms {

namespace {

QImage composed(QScreen* screen)
{
    const QRect area = screen->geometry();
    QImage img(area.size(), QImage::Format_RGB32);
    const gfx::ColorRef desktop = gfx::GetSysColor(1);
    img.fill(QColor(gfx::redOf(desktop), gfx::greenOf(desktop), gfx::blueOf(desktop)));
    QPainter p(&img);
    // Bottom-most first: Qt lists top-level windows in no stacking order, the active one last.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !w->isActiveWindow())
            p.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible())
        p.drawPixmap(active->geometry().topLeft() - area.topLeft(), active->grab());
    return img;
}

} // namespace

gfx::Bitmap ScreenSnapshot()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return {};
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect area = screen->geometry();
    QImage img = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    // A high-DPI grab comes in device pixels; the effect works in the screen's logical ones.
    if (img.isNull() || img.size() != area.size())
        img = composed(screen);
    img = img.convertToFormat(QImage::Format_RGB32);

    gfx::Bitmap out = gfx::Bitmap::createColor(img.width(), img.height());
    for (int y = 0; y < img.height(); ++y)
        std::memcpy(out.scanLine(y), img.constScanLine(y), std::size_t(img.width()) * 4);
    return out;
}

} // namespace qm::forms
