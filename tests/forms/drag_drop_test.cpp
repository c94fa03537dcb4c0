// Drag and drop: the data object's rules, the MIME data other programs see, and the
// notifications a control gets as a drag crosses it (delivered through the form's window, as
// the window system delivers them).
#include "platform/forms/detail/drag_drop.h"
#include "platform/forms/runtime_error.h"
#include "platform/forms/window_services.h"
#include "tests/forms/support/forms_fixture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <QWindow>

namespace qm::forms::test {
namespace {

using detail::DataObjectAccess;

// The error number `f` raises, or 0.
template <class F> int errorOf(F&& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

std::string textOf(DataObject& data, std::int16_t format = vbCFText)
{
    return std::get<std::string>(data.GetData(format));
}

PictureData pngPicture()
{
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return PictureData { std::vector<std::uint8_t>(png.begin(), png.end()) };
}

TEST(DataObjectTest, TheSourceFillsItWhileTheDragStartsAndTargetsOnlyRead)
{
    DataObject data;
    data.SetData(std::string("hello"), vbCFText);
    data.SetData(vbCFRTF); // declared: given when asked for
    data.AddFile("/tmp/a b.txt");
    data.SetData(std::string("own"), 700);
    EXPECT_TRUE(data.GetFormat(vbCFText));
    EXPECT_TRUE(data.GetFormat(vbCFRTF));
    EXPECT_TRUE(data.GetFormat(vbCFFiles));
    EXPECT_FALSE(data.GetFormat(vbCFDIB));
    EXPECT_EQ(textOf(data), "hello");
    EXPECT_EQ(textOf(data, 700), "own");
    EXPECT_EQ(DataObjectAccess::formats(data),
        (std::vector<std::int16_t> { vbCFText, vbCFRTF, 700, vbCFFiles }));

    // Wrong kinds of value, unknown format 0, absent and file-list reads.
    EXPECT_EQ(errorOf([&] { data.SetData(pngPicture(), vbCFText); }), errFormatMismatch);
    EXPECT_EQ(errorOf([&] { data.SetData(std::string("x"), vbCFDIB); }), errFormatMismatch);
    EXPECT_EQ(errorOf([&] { data.SetData(std::string("x"), vbCFFiles); }), errFormatMismatch);
    EXPECT_EQ(errorOf([&] { data.SetData(std::string("x"), 0); }), errInvalidFormat);
    EXPECT_EQ(errorOf([&] { data.GetData(vbCFBitmap); }), errFormatMismatch);
    EXPECT_EQ(errorOf([&] { data.GetData(vbCFFiles); }), errFormatMismatch);
    // Declared but nobody to supply it yet.
    EXPECT_EQ(errorOf([&] { data.GetData(vbCFRTF); }), errDataNotSupplied);

    std::vector<std::int16_t> asked;
    DataObjectAccess::seal(data, [&](std::int16_t format) {
        asked.push_back(format);
        data.SetData(std::string("{\\rtf1 x}"), format);
        // Supplying gives the asked format its data; it adds no new format.
        EXPECT_EQ(
            errorOf([&] { data.SetData(std::string("y"), vbCFBitmap + 100); }), errFormatsFixed);
    });
    EXPECT_EQ(textOf(data, vbCFRTF), "{\\rtf1 x}");
    EXPECT_EQ(textOf(data, vbCFRTF), "{\\rtf1 x}"); // asked once, kept
    EXPECT_EQ(asked, (std::vector<std::int16_t> { vbCFRTF }));
    EXPECT_EQ(errorOf([&] { data.SetData(std::string("z"), vbCFText); }), errFormatsFixed);
    EXPECT_EQ(errorOf([&] { data.SetData(vbCFDIB); }), errFormatsFixed);
    EXPECT_EQ(errorOf([&] { data.AddFile("/tmp/c"); }), errFormatsFixed);
    EXPECT_EQ(errorOf([&] { data.Clear(); }), errFormatsFixed);
    EXPECT_EQ(data.Files(), (std::vector<std::string> { "/tmp/a b.txt" }));
}

TEST(DataObjectTest, ASourceThatDoesNotSupplyADeclaredFormatIsAnError)
{
    DataObject data;
    data.SetData(vbCFText);
    int asked = 0;
    DataObjectAccess::seal(data, [&](std::int16_t) { ++asked; });
    EXPECT_EQ(errorOf([&] { data.GetData(vbCFText); }), errDataNotSupplied);
    EXPECT_EQ(asked, 1);
}

TEST(DataObjectTest, OtherProgramsSeeTheDataUnderTheUsualMimeTypes)
{
    StartRuntimeForTests();
    auto data = std::make_shared<DataObject>();
    data->SetData(std::string("caf\xC3\xA9"), vbCFText);
    data->SetData(vbCFRTF);
    data->SetData(pngPicture(), vbCFDIB);
    data->AddFile("/tmp/a b.txt");
    int supplied = 0;
    DataObjectAccess::seal(*data, [&](std::int16_t f) {
        ++supplied;
        data->SetData(std::string("{\\rtf1}"), f);
    });
    detail::DragMime mime(data);
    EXPECT_TRUE(mime.hasText());
    EXPECT_EQ(mime.text(), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(supplied, 0); // nothing asked for the RTF yet
    EXPECT_EQ(mime.data("text/rtf"), QByteArray("{\\rtf1}"));
    EXPECT_EQ(supplied, 1);
    ASSERT_EQ(mime.urls().size(), 1);
    EXPECT_EQ(mime.urls()[0].toLocalFile(), "/tmp/a b.txt");
    EXPECT_TRUE(mime.hasFormat("image/png"));
    const QImage img = qvariant_cast<QImage>(mime.imageData());
    EXPECT_EQ(img.size(), QSize(3, 2));
    EXPECT_EQ(img.pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    // A control of ours reads the very object the source filled.
    EXPECT_EQ(detail::dataObjectFor(&mime), data);
}

TEST(DataObjectTest, ADragFromAnotherProgramReadsItsMimeData)
{
    StartRuntimeForTests();
    QMimeData mime;
    mime.setText("from elsewhere");
    mime.setUrls({ QUrl::fromLocalFile("/tmp/x.txt"), QUrl("https://example.org/") });
    mime.setImageData(QImage(4, 4, QImage::Format_RGB32));
    auto data = detail::dataObjectFor(&mime);
    EXPECT_EQ(textOf(*data), "from elsewhere");
    EXPECT_TRUE(data->GetFormat(vbCFFiles));
    EXPECT_EQ(data->Files(), (std::vector<std::string> { "/tmp/x.txt" })); // local files only
    ASSERT_TRUE(data->GetFormat(vbCFDIB));
    const auto picture = std::get<PictureData>(data->GetData(vbCFBitmap));
    EXPECT_EQ(
        QImage::fromData(picture.Bytes.data(), int(picture.Bytes.size())).size(), QSize(4, 4));
    EXPECT_FALSE(data->GetFormat(vbCFRTF));
    EXPECT_EQ(errorOf([&] { data->SetData(std::string("x"), vbCFText); }), errFormatsFixed);
    // Once the drag's data is gone the formats are still known but cannot be read.
    DataObjectAccess::unbindForeign(*data);
    EXPECT_TRUE(data->GetFormat(vbCFText));
    EXPECT_EQ(errorOf([&] { data->GetData(vbCFText); }), errFormatMismatch);
}

class DragDrop : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        frm.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(frm.hWnd())));
        mime.setText("dropped");
        mime.setUrls({ QUrl::fromLocalFile("/tmp/dropped.txt") });
        probeLog().clear();
    }
    QWindow* window() { return widgetOf(frm.hWnd())->windowHandle(); }
    // A point of Probe2 (244, 96 on the form) in the form's client pixels.
    static QPoint onProbe2(int x, int y) { return QPoint(244 + x, 96 + y); }

    // The drag events the window system delivers to the form's window: a drag that comes in
    // gets an entry and a move at once. Each returns the action the form answered with the
    // move (IgnoreAction when it refused).
    Qt::DropAction enter(QPoint at, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction)
    {
        QDragEnterEvent e(at, actions, &mime, Qt::LeftButton, Qt::ShiftModifier);
        QCoreApplication::sendEvent(window(), &e);
        return move(at, actions);
    }
    Qt::DropAction move(QPoint at, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction)
    {
        QDragMoveEvent e(at, actions, &mime, Qt::LeftButton, Qt::ShiftModifier);
        QCoreApplication::sendEvent(window(), &e);
        return e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
    }
    void leave()
    {
        QDragLeaveEvent e;
        QCoreApplication::sendEvent(window(), &e);
    }
    Qt::DropAction drop(QPoint at, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction)
    {
        QDropEvent e(at, actions, &mime, Qt::NoButton, Qt::ControlModifier);
        QCoreApplication::sendEvent(window(), &e);
        return e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
    }
    std::vector<std::string> dragEvents(const std::string& name)
    {
        std::vector<std::string> out;
        for (const auto& e : eventsOf(name))
            if (e.rfind("OLE", 0) == 0)
                out.push_back(e);
        return out;
    }

    TfrmProbe frm;
    QMimeData mime;
};

TEST_F(DragDrop, ATargetHearsTheDragEnterMoveAndDropWithTheDataAndSetsTheEffect)
{
    frm.Probe2.OLEDropMode = vbOLEDropManual;
    std::vector<std::string> seen;
    frm.Probe2->onDragOver = [&](DataObject& d, std::int32_t& effect, std::int16_t) {
        seen.push_back(textOf(d) + " " + d.Files().at(0));
        effect = vbDropEffectMove;
    };
    frm.Probe2->onDragDrop = [&](DataObject& d, std::int32_t& effect) {
        seen.push_back("drop " + textOf(d));
        effect = vbDropEffectCopy;
    };
    EXPECT_EQ(enter(onProbe2(30, 12)), Qt::MoveAction);
    EXPECT_EQ(move(onProbe2(40, 10)), Qt::MoveAction);
    EXPECT_EQ(drop(onProbe2(41, 11)), Qt::CopyAction);
    // Button, shift, x, y in the control's pixels, the effects the source allows, the state.
    EXPECT_EQ(dragEvents("Probe2"),
        (std::vector<std::string> { "OLEDragOver 1 1 30 12 3 0", "OLEDragOver 1 1 30 12 3 2",
            "OLEDragOver 1 1 40 10 3 2", "OLEDragDrop 0 2 41 11 3" }));
    EXPECT_EQ(seen,
        (std::vector<std::string> { "dropped /tmp/dropped.txt", "dropped /tmp/dropped.txt",
            "dropped /tmp/dropped.txt", "drop dropped" }));
    EXPECT_TRUE(errors.empty());
}

TEST_F(DragDrop, TheEffectFollowsWhatTheSourceAllowsAndARefusalStillHearsTheMovesAndLeave)
{
    frm.Probe2.OLEDropMode = vbOLEDropManual;
    std::int32_t wanted = vbDropEffectNone;
    frm.Probe2->onDragOver
        = [&](DataObject&, std::int32_t& effect, std::int16_t) { effect = wanted; };
    EXPECT_EQ(enter(onProbe2(5, 5)), Qt::IgnoreAction);
    EXPECT_EQ(move(onProbe2(6, 5)), Qt::IgnoreAction);
    wanted = vbDropEffectMove; // the source allows only a copy: no move
    EXPECT_EQ(move(onProbe2(7, 5), Qt::CopyAction), Qt::IgnoreAction);
    wanted = vbDropEffectCopy | vbDropEffectMove;
    EXPECT_EQ(move(onProbe2(8, 5), Qt::CopyAction), Qt::CopyAction);
    leave();
    EXPECT_EQ(dragEvents("Probe2"),
        (std::vector<std::string> { "OLEDragOver 1 1 5 5 3 0", "OLEDragOver 1 1 5 5 3 2",
            "OLEDragOver 1 1 6 5 3 2", "OLEDragOver 1 1 7 5 1 2", "OLEDragOver 1 1 8 5 1 2",
            "OLEDragOver 1 1 8 5 1 1" }));
    // The next drag enters afresh.
    enter(onProbe2(9, 9));
    const auto events = dragEvents("Probe2");
    EXPECT_EQ(std::vector<std::string>(events.end() - 2, events.end()),
        (std::vector<std::string> { "OLEDragOver 1 1 9 9 3 0", "OLEDragOver 1 1 9 9 3 2" }));
}

TEST_F(DragDrop, OnlyControlsInManualDropModeAndInsideTheirRegionTakeDrops)
{
    // Probe1 keeps the default mode: the drag over it reaches nobody.
    EXPECT_EQ(enter(QPoint(176 + 30, 96 + 12)), Qt::IgnoreAction);
    EXPECT_TRUE(dragEvents("Probe1").empty());
    leave();

    frm.Probe2.OLEDropMode = vbOLEDropManual;
    EXPECT_EQ(frm.Probe2.OLEDropMode, vbOLEDropManual);
    EXPECT_EQ(errorOf([&] { frm.Probe2.OLEDropMode = 2; }), errInvalidPropertyValue);
    SetWindowRgn(frm.Probe2.hWnd(), gfx::Region::ellipse({ 0, 0, 61, 25 }));
    EXPECT_EQ(enter(onProbe2(0, 0)), Qt::IgnoreAction); // the corner is outside the ellipse
    EXPECT_TRUE(dragEvents("Probe2").empty());
    leave();
    EXPECT_EQ(enter(onProbe2(30, 12)), Qt::CopyAction);
    EXPECT_EQ(dragEvents("Probe2").size(), 2u);
    leave();

    frm.Probe2.Enabled = false;
    EXPECT_EQ(enter(onProbe2(30, 12)), Qt::IgnoreAction);
    EXPECT_EQ(dragEvents("Probe2").size(), 3u); // nothing after the drag above
}

TEST_F(DragDrop, ADragStartsWithTheSourcesDataAndEndsWithItsEffect)
{
    std::vector<std::int32_t> allowedSeen;
    frm.Probe1->onStartDrag = [&](DataObject& d, std::int32_t& allowed) {
        allowedSeen.push_back(allowed);
        d.SetData(std::string("payload"), vbCFText);
        allowed = vbDropEffectCopy;
    };
    frm.Probe1.OLEDrag();
    // This platform has no drag of its own: the drag ends at once, nothing dropped.
    EXPECT_EQ(
        dragEvents("Probe1"), (std::vector<std::string> { "OLEStartDrag 3", "OLECompleteDrag 0" }));
    EXPECT_EQ(allowedSeen, (std::vector<std::int32_t> { 3 }));

    // No format, or no effect left: there is nothing to drag, and the drag still completes.
    probeLog().clear();
    frm.Probe1->onStartDrag = [](DataObject& d, std::int32_t& allowed) {
        d.SetData(std::string("x"), vbCFText);
        allowed = vbDropEffectNone;
    };
    frm.Probe1.OLEDrag();
    EXPECT_EQ(
        dragEvents("Probe1"), (std::vector<std::string> { "OLEStartDrag 3", "OLECompleteDrag 0" }));
    EXPECT_TRUE(errors.empty());
}

TEST_F(DragDrop, StartingADragInsideADragIsAnError)
{
    frm.Probe1->onStartDrag = [&](DataObject& d, std::int32_t&) {
        d.SetData(std::string("x"), vbCFText);
        frm.Probe1->host().OLEDrag();
    };
    frm.Probe1.OLEDrag();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Number(), errRecursiveDrag);
    // The failed handler leaves no drag behind: the control can drag again.
    probeLog().clear();
    frm.Probe1->onStartDrag = {};
    frm.Probe1.OLEDrag();
    EXPECT_EQ(
        dragEvents("Probe1"), (std::vector<std::string> { "OLEStartDrag 3", "OLECompleteDrag 0" }));
}

} // namespace
} // namespace qm::forms::test
