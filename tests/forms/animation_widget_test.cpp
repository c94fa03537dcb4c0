#include "platform/forms/animation_widget.h"
#include "platform/forms/blocking.h"
#include "platform/forms/program.h"
#include "tests/media/support/clips.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <thread>

namespace qm::forms::detail {
namespace {

using media::test::ScratchDir;

QApplication& app()
{
    StartRuntimeForTests();
    return *qApp;
}

// Processes events until `done` or two seconds have passed.
template <class F> bool waitFor(F done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 2000)
        app().processEvents(QEventLoop::AllEvents, 5);
    return done();
}

void pump(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        app().processEvents(QEventLoop::AllEvents, 5);
}

class AnimationWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app();
        auto v = media::test::rleVideo(20, 10, 6);
        v.frameDuration = std::chrono::microseconds(10000);
        media::test::writeFile(dir / "clip.avi", media::writeAvi(v));
        widget = std::make_unique<AnimationWidget>();
        widget->resize(30, 16);
    }
    QImage shown() { return widget->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    ScratchDir dir;
    std::unique_ptr<AnimationWidget> widget;
};

TEST_F(AnimationWidgetTest, ShowsEachFrameAtTheTopLeftOverItsBackground)
{
    widget->setBackColor(0x00FF00); // 0x00BBGGRR: green
    widget->open((dir / "clip.avi").string());
    auto clip = media::AviClip::open(dir / "clip.avi");
    for (const int frame : { 0, 3 }) {
        widget->play(1, frame, frame);
        const QImage img = shown();
        const media::Image& want = clip.frame(frame);
        for (int y = 0; y < want.height; ++y)
            for (int x = 0; x < want.width; ++x)
                ASSERT_EQ(img.pixel(x, y), want.at(x, y))
                    << "frame " << frame << " at " << x << "," << y;
        EXPECT_EQ(img.pixel(25, 5), 0xFF00FF00u);
        EXPECT_EQ(img.pixel(5, 13), 0xFF00FF00u);
    }
}

TEST_F(AnimationWidgetTest, RepeatsForeverOrTheGivenNumberOfTimes)
{
    widget->open((dir / "clip.avi").string());
    widget->play(); // forever: it passes the last frame and comes round again
    bool sawLast = false;
    EXPECT_TRUE(waitFor([&] {
        sawLast = sawLast || widget->currentFrame() == 5;
        return sawLast && widget->currentFrame() < 2;
    }));
    EXPECT_TRUE(widget->isPlaying());

    widget->play(2, 1, 3); // twice through frames 1..3, then it rests on 3
    EXPECT_TRUE(waitFor([&] { return !widget->isPlaying(); }));
    EXPECT_EQ(widget->currentFrame(), 3);
}

TEST_F(AnimationWidgetTest, StopAndCloseHaltThePlay)
{
    widget->open((dir / "clip.avi").string());
    widget->play();
    widget->stop();
    const int at = widget->currentFrame();
    pump(100); // ten frames' time
    EXPECT_EQ(widget->currentFrame(), at);
    widget->close();
    EXPECT_FALSE(widget->isOpen());
    EXPECT_THROW(widget->play(), std::invalid_argument);
}

TEST_F(AnimationWidgetTest, RefusesFramesOutsideTheClip)
{
    widget->open((dir / "clip.avi").string());
    const int bad[][3] = { { -1, 6, -1 }, { -1, 0, 6 }, { -1, 3, 2 }, { 0, 0, -1 }, { -2, 0, -1 } };
    for (const auto& b : bad)
        EXPECT_THROW(widget->play(b[0], b[1], b[2]), std::invalid_argument)
            << b[0] << " " << b[1] << " " << b[2];
}

TEST_F(AnimationWidgetTest, AFailedOpenLeavesTheControlClosed)
{
    widget->open((dir / "clip.avi").string());
    widget->play();
    EXPECT_THROW(widget->open((dir / "missing.avi").string()), media::AviError);
    EXPECT_FALSE(widget->isOpen());
    EXPECT_FALSE(widget->isPlaying());
}

TEST_F(AnimationWidgetTest, KeepsMovingWhileBlockingWorkRuns)
{
    widget->open((dir / "clip.avi").string());
    widget->play();
    // A sampler on the user-interface thread notes the frames shown while the work runs.
    std::set<int> seen;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { seen.insert(widget->currentFrame()); });
    sampler.start(3);
    RunWhileProcessingEvents([] {
        // Only takes time, as a flush does; it cannot look at any window.
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    });
    sampler.stop();
    // 150 ms at 10 ms a frame goes round the six frames twice.
    EXPECT_GE(seen.size(), 5u);
}

TEST(RunWhileProcessingEvents, RethrowsTheWorksException)
{
    app();
    EXPECT_THROW(RunWhileProcessingEvents([] { throw std::runtime_error("disk gone"); }),
        std::runtime_error);
}

} // namespace
} // namespace qm::forms::detail
