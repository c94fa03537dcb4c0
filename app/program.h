#pragma once
// The command line of quillmere and the choice of front end.
#include <iosfwd>
#include <string>
#include <vector>

namespace qm {

struct CommandLine {
    enum class Mode { Windowed, Console, ListDrives, Help, Usage };
    Mode mode = Mode::Windowed;
    std::string argumentText; // the drive argument, several arguments joined by one blank
    std::string error; // for Mode::Usage
};

// `args` excludes the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string HelpText();

// Exit statuses besides those of ExitStatus().
inline constexpr int exitUsage = 64;
inline constexpr int exitFailure = 70; // a window or the drive table could not be used

// The whole program: parses the command line, translates a path argument to its drive, runs
// Module1::Main on the windowed or the console front end and returns the exit status.
int RunQuillmere(int& argc, char** argv, std::ostream& out, std::ostream& err);

} // namespace qm
