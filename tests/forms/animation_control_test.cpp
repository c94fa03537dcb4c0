#include "platform/forms/animation_control.h"
#include "platform/forms/form_description.h"
#include "tests/forms/support/forms_fixture.h"
#include "tests/media/support/clips.h"

namespace qm::forms::test {
namespace {

class TfrmClip : public Form {
public:
    TfrmClip()
        : Form("frmClip")
    {
    }
    Animation Animation1 { this, "Animation1" };
};

class AnimationControl : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        registerFormDescription(
            R"({"Form": "frmClip", "Settings": {"ClientWidth": 900, "ClientHeight": 600},
                "Controls": [{"Name": "Animation1", "Type": "Animation", "Settings": {"Left": 0, "Top": 0,
                "Width": 600, "Height": 300, "BackColor": {"color": "0x000000FF"}}}]})");
        auto v = media::test::rleVideo(20, 10, 4);
        media::test::writeFile(dir / "clip.avi", media::writeAvi(v));
        v.withSound = true;
        media::test::writeFile(dir / "sound.avi", media::writeAvi(v));
        media::test::writeFile(dir / "text.avi", { 'h', 'i' });
    }
    media::test::ScratchDir dir;
    TfrmClip frm;
};

TEST_F(AnimationControl, OpensAClipWrittenWithBackslashesAndPlaysIt)
{
    EXPECT_EQ(frm.Animation1.BackColor(), 0x000000FFu);
    frm.Animation1.Open(dir.path().string() + "\\clip.avi");
    EXPECT_TRUE(frm.Animation1.IsOpen());
    frm.Animation1.Play();
    EXPECT_TRUE(waitFor([&] { return frm.Animation1.CurrentFrame() == 3; }));
    frm.Animation1.Close();
    EXPECT_FALSE(frm.Animation1.IsOpen());
    EXPECT_FALSE(frm.Animation1.IsPlaying());
}

TEST_F(AnimationControl, OpenFailuresAreRuntimeErrors)
{
    const std::pair<const char*, int> cases[] = {
        { "missing.avi", errFileNotFound },
        { "text.avi", errCannotOpenClip },
        { "sound.avi", errCannotOpenClip },
    };
    for (const auto& [file, number] : cases) {
        try {
            frm.Animation1.Open((dir / file).string());
            ADD_FAILURE() << file << " opened";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), number) << file << ": " << e.Description();
            EXPECT_NE(e.Description().find(file), std::string::npos) << e.Description();
        }
        EXPECT_FALSE(frm.Animation1.IsOpen());
    }
}

TEST_F(AnimationControl, PlayWithoutAClipOrOutsideItIsAnInvalidCall)
{
    auto number = [&](auto call) {
        try {
            call();
        } catch (const RuntimeError& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(number([&] { frm.Animation1.Play(); }), errInvalidProcedureCall);
    frm.Animation1.Open((dir / "clip.avi").string());
    EXPECT_EQ(number([&] { frm.Animation1.Play(-1, 0, 4); }), errInvalidProcedureCall);
    EXPECT_EQ(number([&] { frm.Animation1.Play(1, 2, 3); }), 0);
}

TEST_F(AnimationControl, UnloadingTheFormStopsTheClip)
{
    frm.Animation1.Open((dir / "clip.avi").string());
    frm.Animation1.Play();
    Unload(frm);
    EXPECT_FALSE(frm.IsLoaded());
    // Loaded afresh, the control starts without a clip.
    EXPECT_FALSE(frm.Animation1.IsOpen());
}

} // namespace
} // namespace qm::forms::test
