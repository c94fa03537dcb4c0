#include "platform/forms/property_bag.h"
#include "platform/forms/runtime_error.h"

#include <gtest/gtest.h>

namespace qm::forms {
namespace {

PropertyBag sample()
{
    PropertyBag b;
    b.WriteProperty("caption", std::string("&Ok"));
    b.WriteProperty("capalign", std::int32_t(2));
    b.WriteProperty("ImgSize", std::int16_t(24));
    b.WriteProperty("cback", ColorValue { 0x8000000F });
    b.WriteProperty("value", false);
    b.WriteProperty("big", std::int32_t(70000));
    return b;
}

TEST(PropertyBag, KeysCompareWithoutRegardToCase)
{
    const PropertyBag b = sample();
    for (const char* key : { "Caption", "CAPTION", "caption", "cAPTiON" })
        EXPECT_EQ(b.ReadString(key, "x"), "&Ok") << key;
    EXPECT_EQ(b.ReadInt32("CapAlign", 0), 2);
    EXPECT_EQ(b.ReadColor("cBack", 0), 0x8000000Fu);
}

TEST(PropertyBag, AbsentKeysYieldTheReadersDefault)
{
    const PropertyBag b = sample();
    EXPECT_EQ(b.ReadString("Missing", "def"), "def");
    EXPECT_EQ(b.ReadInt16("Missing", -5), -5);
    EXPECT_EQ(b.ReadInt32("Missing", 123456), 123456);
    EXPECT_TRUE(b.ReadBool("Missing", true));
    EXPECT_EQ(b.ReadColor("Missing", 0x80000012), 0x80000012u);
    EXPECT_FALSE(b.ReadFont("Missing").has_value());
    EXPECT_TRUE(b.ReadPicture("Missing").empty());
}

TEST(PropertyBag, IntegersWidenAndColoursReadAsIntegers)
{
    const PropertyBag b = sample();
    EXPECT_EQ(b.ReadInt32("ImgSize", 0), 24); // 16-bit stored, read as 32
    EXPECT_EQ(b.ReadInt16("capalign", 0), 2); // fits
    EXPECT_EQ(b.ReadInt32("cback", 0), std::int32_t(0x8000000F));
    EXPECT_EQ(b.ReadColor("capalign", 0), 2u);
}

struct Mismatch {
    const char* key;
    int reader; // 0 string, 1 int16, 2 int32, 3 bool, 4 colour, 5 font, 6 picture
    int error;
};

class PropertyBagErrors : public ::testing::TestWithParam<Mismatch> { };

TEST_P(PropertyBagErrors, WrongTypeOrWidthRaisesTheRuntimesError)
{
    const PropertyBag b = sample();
    const Mismatch m = GetParam();
    try {
        switch (m.reader) {
        case 0:
            b.ReadString(m.key, "");
            break;
        case 1:
            b.ReadInt16(m.key, 0);
            break;
        case 2:
            b.ReadInt32(m.key, 0);
            break;
        case 3:
            b.ReadBool(m.key, false);
            break;
        case 4:
            b.ReadColor(m.key, 0);
            break;
        case 5:
            b.ReadFont(m.key);
            break;
        default:
            b.ReadPicture(m.key);
            break;
        }
        FAIL() << "no error for " << m.key;
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), m.error);
        EXPECT_NE(e.Description().find(m.key), std::string::npos) << e.Description();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PropertyBagErrors,
    ::testing::Values(Mismatch { "caption", 2, errTypeMismatch },
        Mismatch { "capalign", 0, errTypeMismatch }, Mismatch { "value", 2, errTypeMismatch },
        Mismatch { "capalign", 3, errTypeMismatch }, Mismatch { "caption", 5, errTypeMismatch },
        Mismatch { "caption", 6, errTypeMismatch }, Mismatch { "caption", 4, errTypeMismatch },
        Mismatch { "big", 1, errOverflow }, Mismatch { "cback", 1, errOverflow }));

TEST(PropertyBag, WritingTheDefaultStoresNothingAndRewritingKeepsThePlace)
{
    PropertyBag b;
    b.WriteProperty("Caption", std::string("a"));
    b.WriteProperty("Mode", std::int32_t(0), std::int32_t(0));
    b.WriteProperty("Focus", true, true);
    b.WriteProperty("Shape", std::int32_t(3), std::int32_t(0));
    EXPECT_FALSE(b.Contains("Mode"));
    EXPECT_FALSE(b.Contains("Focus"));
    b.WriteProperty("CAPTION", std::string("b"));
    ASSERT_EQ(b.Entries().size(), 2u);
    EXPECT_EQ(b.Entries()[0].Key, "Caption");
    EXPECT_EQ(b.ReadString("caption"), "b");
    // Writing the default over a stored value removes it.
    b.WriteProperty("shape", std::int32_t(0), std::int32_t(0));
    EXPECT_FALSE(b.Contains("Shape"));
}

TEST(PropertyBag, SameContentsIgnoresOrderAndCase)
{
    PropertyBag a, b;
    a.WriteProperty("One", std::int32_t(1));
    a.WriteProperty("Two", std::string("2"));
    b.WriteProperty("two", std::string("2"));
    b.WriteProperty("ONE", std::int32_t(1));
    EXPECT_TRUE(a.sameContents(b));
    b.WriteProperty("one", std::int16_t(1)); // same number, other type
    EXPECT_FALSE(a.sameContents(b));
}

TEST(StdFont, BoldFollowsTheWeight)
{
    StdFont f;
    EXPECT_FALSE(f.Bold());
    f.setBold(true);
    EXPECT_EQ(f.Weight, 700);
    f.Weight = 400;
    EXPECT_FALSE(f.Bold());
}

} // namespace
} // namespace qm::forms
