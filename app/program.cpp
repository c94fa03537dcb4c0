#include "app/program.h"

#include "app/console_windows.h"
#include "app/module1.h"
#include "app/windowed.h"
#include "platform/system/drive_table.h"
#include "platform/system/volume.h"

#include <clocale>
#include <exception>
#include <memory>
#include <ostream>

namespace qm {

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    std::size_t first = 0;
    if (!args.empty()) {
        const std::string& option = args[0];
        if (option == "--help" || option == "-h") {
            line.mode = CommandLine::Mode::Help;
            return line;
        }
        if (option == "--list-drives") {
            line.mode = args.size() == 1 ? CommandLine::Mode::ListDrives : CommandLine::Mode::Usage;
            if (args.size() != 1)
                line.error = "--list-drives takes no argument";
            return line;
        }
        if (option == "--console") {
            line.mode = CommandLine::Mode::Console;
            first = 1;
        } else if (option.starts_with("--")) {
            line.mode = CommandLine::Mode::Usage;
            line.error = "unknown option " + option;
            return line;
        }
    }
    for (std::size_t i = first; i < args.size(); ++i) {
        if (i > first)
            line.argumentText += ' ';
        line.argumentText += args[i];
    }
    return line;
}

std::string HelpText()
{
    return "Usage: quillmere [--console] DRIVE\n"
           "       quillmere --list-drives\n"
           "       quillmere --help\n"
           "\n"
           "Flushes the write cache of one drive so that it can be unplugged safely.\n"
           "\n"
           "  DRIVE          a drive letter and a colon, such as E: (only the first two\n"
           "                 characters count), or a path beginning with / which stands\n"
           "                 for the drive of the mounted filesystem holding it\n"
           "  --console      print the result instead of showing windows\n"
           "  --list-drives  print the drive table: letter, mount point, device,\n"
           "                 filesystem type, removable\n"
           "  --help         print this help\n"
           "\n"
           "Drive letters come from the drives file ($QUILLMERE_DRIVES, else\n"
           "$XDG_CONFIG_HOME/quillmere/drives, else ~/.config/quillmere/drives), one\n"
           "'E: /media/usb' per line; other letters are automatic: C: is the root\n"
           "filesystem, then D:, E:, ... the other block-device filesystems by mount point.\n"
           "\n"
           "Exit status: 0 flushed and the system reported no error; 1 the drive could not\n"
           "be opened; 2 it was opened but a flush or the close reported an error;\n"
           "64 bad command line; 70 the program could not run.\n";
}

namespace {

void reportProblems(const std::vector<std::string>& problems, std::ostream& err)
{
    for (const auto& problem : problems)
        err << "quillmere: " << problem << '\n';
}

// A path stands for the letter of the filesystem holding it; a path no letter holds stays
// as it is and, like any text that names no drive, fails to open.
std::string translatePath(const std::string& argumentText, std::ostream& err)
{
    if (!argumentText.starts_with("/"))
        return argumentText;
    auto load = sys::loadSystemDriveTable();
    reportProblems(load.problems, err);
    if (const sys::Drive* drive = load.table.holding(sys::systemProbe().canonical(argumentText)))
        return std::string { drive->letter, ':' };
    err << "quillmere: no drive letter holds " << argumentText << '\n';
    return argumentText;
}

} // namespace

int RunQuillmere(int& argc, char** argv, std::ostream& out, std::ostream& err)
{
    // System messages in the user's language.
    std::setlocale(LC_ALL, "");

    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine line = ParseCommandLine(args);
    switch (line.mode) {
    case CommandLine::Mode::Help:
        out << HelpText();
        return 0;
    case CommandLine::Mode::Usage:
        err << "quillmere: " << line.error << "\nTry 'quillmere --help'.\n";
        return exitUsage;
    case CommandLine::Mode::ListDrives: {
        auto load = sys::loadSystemDriveTable();
        reportProblems(load.problems, err);
        out << load.table.format();
        return 0;
    }
    case CommandLine::Mode::Console:
    case CommandLine::Mode::Windowed:
        break;
    }

    try {
        std::string argumentText = translatePath(line.argumentText, err);
        std::unique_ptr<MainWindows> windows;
        if (line.mode == CommandLine::Mode::Windowed) {
            std::string whyNot;
            windows = OpenWindowedFrontEnd(argc, argv, whyNot);
            if (!windows && !whyNot.empty())
                err << "quillmere: " << whyNot << '\n';
        }
        if (!windows)
            windows = std::make_unique<ConsoleWindows>(out);
        auto volumes = sys::makeLinuxVolumes();
        Module1 module(*windows, *volumes);
        return ExitStatus(module.Main(argumentText));
    } catch (const std::exception& error) {
        err << "quillmere: " << error.what() << '\n';
        return exitFailure;
    }
}

} // namespace qm
