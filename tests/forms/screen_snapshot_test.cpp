#include "platform/forms/program.h"
#include "platform/forms/screen_snapshot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace qm::forms {
namespace {

TEST(ScreenSnapshot, HoldsTheScreenWithOurWindowsOnIt)
{
    StartRuntimeForTests();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();

    QWidget window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setAutoFillBackground(true);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor(0x12, 0x34, 0x56));
    window.setPalette(pal);
    window.setGeometry(screen.x() + 40, screen.y() + 30, 50, 20);
    window.show();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 200)
        QApplication::processEvents(QEventLoop::AllEvents, 10);

    const gfx::Bitmap shot = ScreenSnapshot();
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot.width(), screen.width());
    EXPECT_EQ(shot.height(), screen.height());
    EXPECT_EQ(shot.pixel(60, 40), gfx::rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(shot.pixel(89, 49), gfx::rgb(0x12, 0x34, 0x56));
}

} // namespace
} // namespace qm::forms
