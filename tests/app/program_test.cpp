#include "app/console_windows.h"
#include "app/program.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

struct ParseCase {
    const char* name;
    std::vector<std::string> args;
    CommandLine::Mode mode;
    std::string argumentText;
};

class CommandLineParsing : public testing::TestWithParam<ParseCase> { };

TEST_P(CommandLineParsing, ChoosesModeAndArgumentText)
{
    const auto& c = GetParam();
    auto line = ParseCommandLine(c.args);
    EXPECT_EQ(line.mode, c.mode);
    EXPECT_EQ(line.argumentText, c.argumentText);
    EXPECT_EQ(line.error.empty(), c.mode != CommandLine::Mode::Usage);
}

using M = CommandLine::Mode;
INSTANTIATE_TEST_SUITE_P(Cases, CommandLineParsing,
    testing::Values(ParseCase { "Nothing", {}, M::Windowed, "" },
        ParseCase { "Drive", { "E:" }, M::Windowed, "E:" },
        ParseCase { "Console", { "--console", "E:" }, M::Console, "E:" },
        ParseCase { "ConsoleNoDrive", { "--console" }, M::Console, "" },
        ParseCase { "ArgumentsJoined", { "E:", "x" }, M::Windowed, "E: x" },
        ParseCase { "Path", { "--console", "/media/usb" }, M::Console, "/media/usb" },
        ParseCase { "ListDrives", { "--list-drives" }, M::ListDrives, "" },
        ParseCase { "ListDrivesWithArgument", { "--list-drives", "E:" }, M::Usage, "" },
        ParseCase { "Help", { "--help" }, M::Help, "" },
        ParseCase { "UnknownOption", { "--consol", "E:" }, M::Usage, "" },
        ParseCase { "OptionAfterDriveIsText", { "E:", "--help" }, M::Windowed, "E: --help" }),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ConsoleText, UsesLinuxLineBreaks)
{
    struct {
        std::string in, out;
    } cases[] = {
        { "Success", "Success\n" },
        { "Errore: 2:\r\nNo such file or directory", "Errore: 2:\nNo such file or directory\n" },
        { "Errore: 41:\r\n", "Errore: 41:\n" },
        { "a\rb\n", "a\nb\n" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConsoleWindows::ConsoleText(c.in), c.out) << c.in;
}

} // namespace
} // namespace qm
