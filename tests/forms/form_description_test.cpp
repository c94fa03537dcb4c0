#include "platform/forms/form_description.h"
#include "tests/forms/support/forms_fixture.h"

#include <QFile>

namespace qm::forms::test {
namespace {

class Descriptions : public FormsTest { };

FormDescription parse(const std::string& settings)
{
    return FormDescription::parse(R"({"Form": "frmT", "Settings": )" + settings + "}", "test.json");
}

TEST_F(Descriptions, ValuesAreTyped)
{
    const FormDescription d = parse(R"({
            "s": "text", "b": true, "i32": -70000, "i16": {"int16": -2},
            "c1": {"color": "0x8000000F"}, "c2": {"color": 255}, "c3": {"Color": "16711680"},
            "f": {"font": {"name": "Tahoma", "size": 8.25, "weight": 400, "charset": 0,
                           "italic": false, "underline": true, "strikethrough": false}},
            "p": {"picture": "AAEC"}})");
    const PropertyBag& b = d.Settings;
    EXPECT_EQ(b.ReadProperty("s"), PropValue(std::string("text")));
    EXPECT_EQ(b.ReadProperty("b"), PropValue(true));
    EXPECT_EQ(b.ReadProperty("i32"), PropValue(std::int32_t(-70000)));
    EXPECT_EQ(b.ReadProperty("i16"), PropValue(std::int16_t(-2)));
    EXPECT_EQ(b.ReadProperty("c1"), PropValue(ColorValue { 0x8000000F }));
    EXPECT_EQ(b.ReadProperty("c2"), PropValue(ColorValue { 255 }));
    EXPECT_EQ(b.ReadProperty("c3"), PropValue(ColorValue { 0xFF0000 }));
    StdFont tahoma;
    tahoma.Name = "Tahoma";
    tahoma.Underline = true;
    EXPECT_EQ(b.ReadFont("F"), tahoma);
    EXPECT_EQ(b.ReadPicture("p"), (PictureData { { 0, 1, 2 } }));
}

TEST_F(Descriptions, FaultsAreErrorsThatNameTheirPlace)
{
    struct Case {
        const char* json;
        const char* words;
    } cases[] = {
        { R"({"Form": "frmT", "Settings": {"a": 1.5}})", "Settings.a" },
        { R"({"Form": "frmT", "Settings": {"a": {"int16": 40000}}})", "16-bit" },
        { R"({"Form": "frmT", "Settings": {"a": {"colour": 1}}})", "colour" },
        { R"({"Form": "frmT", "Settings": {"a": {"color": "red"}}})", "colour" },
        { R"({"Form": "frmT", "Settings": {"a": {"font": {"size": "big"}}}})", "size" },
        { R"({"Form": "frmT", "Settings": {"a": {"picture": {"file": "none.bmp"}}}})", "none.bmp" },
        { R"({"Form": "frmT", "Settings": {"a": [1]}})", "typed value" },
        { R"({"Form": "frmT", "Settings": {"Caption": "a", "CAPTION": "b"}})", "twice" },
        { R"({"Form": "frmT", "Controls": [{"Name": "A", "Type": "Label"}, {"Name": "a", "Type": "Label"}]})",
            "twice" },
        { R"({"Form": "frmT", "Controls": [{"Name": "A"}]})", "Type" },
        { R"({"Form": "frmT", "Extra": 1})", "Extra" },
        { R"({"Settings": {}})", "Form" },
        { R"({"Form": "frmT", )", "test.json" },
        { R"([1, 2])", "object" },
    };
    for (const auto& c : cases) {
        try {
            FormDescription::parse(c.json, "test.json");
            ADD_FAILURE() << "accepted " << c.json;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), errUnableToLoad);
            EXPECT_NE(e.Description().find(c.words), std::string::npos)
                << c.json << " -> " << e.Description();
        }
    }
}

TEST_F(Descriptions, CompiledDescriptionsAreFoundByNameWithTheirFiles)
{
    const FormDescription& d = formDescription("FRMPROBE");
    EXPECT_EQ(d.Name, "frmProbe");
    ASSERT_EQ(d.Controls.size(), 4u);
    EXPECT_EQ(d.control("probe2")->Properties->ReadInt16("Weight", 0), 7);
    QFile ico(QStringLiteral(":/qm_forms/probe.ico"));
    ASSERT_TRUE(ico.open(QIODevice::ReadOnly));
    const QByteArray bytes = ico.readAll();
    EXPECT_EQ(d.Settings.ReadPicture("Icon").Bytes,
        std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    const auto names = formDescriptionNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "frmPlain"), names.end());
}

TEST_F(Descriptions, WrittenDescriptionsReadBackIdentically)
{
    const FormDescription& d = formDescription("frmProbe");
    const std::string json = d.toJson();
    EXPECT_EQ(FormDescription::parse(json, "again.json"), d);
    FormDescription changed = FormDescription::parse(json, "again.json");
    changed.control("Probe1")->Properties->WriteProperty("Caption", std::string("&No"));
    EXPECT_FALSE(changed == d);
}

TEST_F(Descriptions, DesignModeRoundTrip)
{
    registerFormDescription(
        R"({"Form": "frmDesign", "Settings": {"ClientWidth": 3000, "ClientHeight": 1500},
            "Controls": [{"Name": "Probe1", "Type": "Test.Probe",
                          "Settings": {"Left": 60, "Top": 60, "Width": 915, "Height": 375},
                          "Properties": {"caption": "&Ok", "weight": {"int16": 3}}}]})");
    std::string saved;
    {
        Designer designer(formDescription("frmDesign"));
        auto* loaded = dynamic_cast<Probe*>(designer.userControl("Probe1"));
        ASSERT_NE(loaded, nullptr);
        EXPECT_FALSE(loaded->host().Ambient().UserMode);
        EXPECT_EQ(loaded->weight, 3);
        EXPECT_FALSE(designer.Modified());
        // A new control placed in design mode starts through InitProperties.
        auto& placed
            = dynamic_cast<Probe&>(designer.Place(Probe::kType, "Probe2", 1200, 60, 915, 375));
        EXPECT_EQ(placed.caption, "Probe2"); // its DisplayName
        EXPECT_TRUE(designer.Modified());
        placed.weight = 9;
        const FormDescription first = designer.Save();
        EXPECT_FALSE(designer.Modified());
        const PropertyBag& bag = *first.control("Probe2")->Properties;
        EXPECT_EQ(bag.ReadInt32("_extentx", 0), 1614); // 915 twips in hundredths of a millimetre
        EXPECT_EQ(bag.ReadInt32("_extenty", 0), 661);
        EXPECT_EQ(bag.ReadString("Caption", ""), "Probe2");
        EXPECT_EQ(bag.ReadColor("Color", 0), 0x00FF00u);
        EXPECT_EQ(bag.ReadInt16("Weight", 0), 9);
        EXPECT_FALSE(bag.Contains("Enabled")); // equal to its default: not stored
        saved = first.toJson();
    }
    // Read back in design mode and written again: the same description.
    const FormDescription reread = FormDescription::parse(saved, "saved.json");
    Designer again(reread);
    EXPECT_EQ(again.Save(), reread);
    EXPECT_EQ(eventsOf("Probe2"),
        (std::vector<std::string> { "InitProperties", "Resize", "Show", "WriteProperties",
            "Terminate", "ReadProperties Probe2", "Resize", "Show", "WriteProperties" }));
    // And at run time the control reads the same values.
    registerFormDescription(saved, "saved.json");
    class TfrmDesign : public Form {
    public:
        TfrmDesign()
            : Form("frmDesign")
        {
        }
        UserControlRef<Probe> Probe2 { this, "Probe2" };
    } frm;
    EXPECT_EQ(frm.Probe2->weight, 9);
    EXPECT_EQ(frm.Probe2->caption, "Probe2");
    EXPECT_TRUE(frm.Probe2->host().Ambient().UserMode);
}

} // namespace
} // namespace qm::forms::test
