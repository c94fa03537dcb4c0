#include "tests/forms/support/forms_fixture.h"

#include <cstdio>

namespace qm::forms::test {
namespace {

TEST(RuntimeErrors, RaiseTakesTheStandardTextWhenNoneIsGiven)
{
    struct Case {
        int number;
        const char* text;
    } cases[] = { { 6, "Overflow" }, { 13, "Type mismatch" }, { 53, "File not found" },
        { 380, "Invalid property value" } };
    for (const auto& c : cases) {
        try {
            Raise(c.number);
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), c.number);
            EXPECT_EQ(e.Description(), c.text);
        }
    }
    EXPECT_THROW(Raise(53, "Impossibile aprire il filmato"), RuntimeError);
}

class RuntimeErrorsDeathTest : public FormsTest { };

TEST_F(RuntimeErrorsDeathTest, AnUnhandledErrorShowsItsNumberAndDescriptionThenEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setUnhandledErrorHandler({}); // the runtime's own reaction
    EXPECT_EXIT(
        {
            setMessageBoxRecorder([](const ShownMessage& m) {
                std::string prompt;
                for (char c : m.Prompt)
                    prompt += c == '\r' ? std::string("<CR>")
                        : c == '\n'     ? std::string("<LF>")
                                        : std::string(1, c);
                std::fprintf(stderr, "[%s|%s|%d]", m.Title.c_str(), prompt.c_str(), m.Buttons);
                std::fflush(stderr);
            });
            TfrmPlain frm;
            frm.onActivate = [] { Raise(53, "File not found"); };
            frm.Show(vbModal); // the error leaves the Activate handler unhandled
            std::fprintf(stderr, "not ended");
            std::exit(3);
        },
        ::testing::ExitedWithCode(0),
        R"(\[Quillmere\|Errore di run-time '53':<CR><LF><CR><LF>File not found\|16\])");
}

class Guarded : public FormsTest { };

TEST_F(Guarded, OtherExceptionsAreReportedAsInternalErrors)
{
    EXPECT_TRUE(RunGuarded([] {}));
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("boom"); }));
    EXPECT_FALSE(RunGuarded([] { Raise(errOverflow); }));
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].Number(), 51);
    EXPECT_EQ(errors[0].Description(), "boom");
    EXPECT_EQ(errors[1].Number(), errOverflow);
}

} // namespace
} // namespace qm::forms::test
