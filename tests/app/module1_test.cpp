#include "app/console_windows.h"
#include "app/module1.h"
#include "platform/system/drive_table.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace qm {
namespace {

using Log = std::vector<std::string>;

// Windows that only write down what Main asked of them, in the same log as the volumes.
class RecordingWindows final : public MainWindows {
public:
    explicit RecordingWindows(Log& log)
        : log_(log)
    {
    }
    void Inizio() override { note("Inizio"); }
    void DoEvents() override { note("DoEvents"); }
    void RunBlocking(const std::function<void()>& work) override
    {
        note("RunBlocking{");
        work();
        note("}");
    }
    void SetResultText(const std::string& text) override
    {
        resultText = text;
        note("SetResultText");
    }
    void HideProgress() override { note("HideProgress"); }
    void ShowResultModal() override { note("ShowResultModal"); }
    void UnloadAbout() override { note("UnloadAbout"); }
    void UnloadProgress() override { note("UnloadProgress"); }
    void UnloadResult() override { note("UnloadResult"); }
    void Release() override { note("Release"); }

    std::string resultText;
    std::function<void()> afterEachCall; // lets a test disturb the platform in between

private:
    void note(const char* what)
    {
        log_.push_back(what);
        if (afterEachCall)
            afterEachCall();
    }
    Log& log_;
};

// Volumes that follow a script: the open's result and code, and the code each flush and the
// close fail with (0: succeeds and leaves the last error alone).
class ScriptedVolumes final : public sys::Volumes {
public:
    explicit ScriptedVolumes(Log& log)
        : log_(log)
    {
    }
    sys::VolumeHandle openVolume(const std::string& devicePath) override
    {
        log_.push_back("open " + devicePath);
        lastError_ = openError;
        return openError == 0 ? handle : sys::invalidVolume;
    }
    bool flushVolume(sys::VolumeHandle h) override
    {
        log_.push_back("flush " + std::to_string(h));
        int error = flushErrors.size() > flushes ? flushErrors[flushes] : 0;
        ++flushes;
        if (error != 0)
            lastError_ = error;
        return error == 0;
    }
    bool closeVolume(sys::VolumeHandle h) override
    {
        log_.push_back("close " + std::to_string(h));
        if (closeError != 0)
            lastError_ = closeError;
        return closeError == 0;
    }
    std::int32_t lastError() const override { return lastError_; }
    std::uint32_t messageText(std::int32_t code, char* buffer, std::uint32_t size) override
    {
        bufferSize = size;
        bufferWasZeroed = std::all_of(buffer, buffer + size, [](char c) { return c == 0; });
        std::string text = code == 41 ? "" : "text for " + std::to_string(code) + "\r\n";
        std::memcpy(buffer, text.data(), text.size());
        return std::uint32_t(text.size());
    }

    sys::VolumeHandle handle = 7;
    std::int32_t openError = 0;
    std::vector<std::int32_t> flushErrors;
    std::int32_t closeError = 0;
    std::int32_t lastError_ = 12345; // whatever an earlier call left
    std::size_t flushes = 0;
    std::uint32_t bufferSize = 0;
    bool bufferWasZeroed = false;

private:
    Log& log_;
};

struct Sequence {
    Log log;
    RecordingWindows windows { log };
    ScriptedVolumes volumes { log };
    FlushOutcome Main(std::string_view commandLine)
    {
        Module1 module(windows, volumes);
        return module.Main(commandLine);
    }
};

TEST(Module1Main, SuccessPathRunsTheStepsInOrder)
{
    Sequence run;
    auto outcome = run.Main("E:");
    Log expected = { "Inizio", "DoEvents", "RunBlocking{", "open \\\\.\\E:", "}", "RunBlocking{",
        "flush 7", "flush 7", "flush 7", "flush 7", "flush 7", "close 7", "}", "SetResultText",
        "DoEvents", "HideProgress", "DoEvents", "ShowResultModal", "UnloadAbout", "UnloadProgress",
        "UnloadResult", "Release" };
    EXPECT_EQ(run.log, expected);
    EXPECT_EQ(run.windows.resultText, "text for 0\r\n");
    EXPECT_EQ(ExitStatus(outcome), 0);
}

TEST(Module1Main, FailedOpenNeitherFlushesNorCloses)
{
    Sequence run;
    run.volumes.openError = 32;
    auto outcome = run.Main("E:");
    Log expected = { "Inizio", "DoEvents", "RunBlocking{", "open \\\\.\\E:", "}", "SetResultText",
        "DoEvents", "HideProgress", "DoEvents", "ShowResultModal", "UnloadAbout", "UnloadProgress",
        "UnloadResult", "Release" };
    EXPECT_EQ(run.log, expected);
    EXPECT_EQ(run.windows.resultText, "Errore: 32:\r\ntext for 32\r\n");
    EXPECT_FALSE(outcome.opened);
    EXPECT_EQ(ExitStatus(outcome), 1);
}

struct FlushCase {
    const char* name;
    std::vector<std::int32_t> flushErrors;
    std::int32_t closeError;
    std::int32_t expectedCode;
    const char* expectedText;
    int expectedStatus;
};

class Module1Flushes : public testing::TestWithParam<FlushCase> { };

TEST_P(Module1Flushes, AlwaysFiveFlushesAndOneCloseThenTheCodeAfterTheClose)
{
    const auto& c = GetParam();
    Sequence run;
    run.volumes.flushErrors = c.flushErrors;
    run.volumes.closeError = c.closeError;
    auto outcome = run.Main("E:\\some\\folder");
    Log volumeCalls;
    std::copy_if(run.log.begin(), run.log.end(), std::back_inserter(volumeCalls),
        [](const std::string& s) { return s.starts_with("flush") || s.starts_with("close"); });
    EXPECT_EQ(
        volumeCalls, (Log { "flush 7", "flush 7", "flush 7", "flush 7", "flush 7", "close 7" }));
    EXPECT_TRUE(outcome.opened);
    EXPECT_EQ(outcome.code, c.expectedCode);
    EXPECT_EQ(run.windows.resultText, c.expectedText);
    EXPECT_EQ(ExitStatus(outcome), c.expectedStatus);
}

INSTANTIATE_TEST_SUITE_P(Cases, Module1Flushes,
    testing::Values(FlushCase { "AllSucceed", {}, 0, 0, "text for 0\r\n", 0 },
        FlushCase { "FirstFlushFails", { 5 }, 0, 5, "text for 5\r\n", 2 },
        FlushCase { "LastFailureWins", { 5, 0, 0, 0, 28 }, 0, 28, "text for 28\r\n", 2 },
        FlushCase { "CloseFails", {}, 9, 9, "text for 9\r\n", 2 },
        FlushCase { "NoSystemTextLeavesTheBoxEmpty", { 41 }, 0, 41, "", 2 }),
    [](const auto& row) { return std::string(row.param.name); });

struct FailureTextCase {
    const char* name;
    std::int32_t code;
    const char* expectedText;
};

class Module1FailureText : public testing::TestWithParam<FailureTextCase> { };

TEST_P(Module1FailureText, IsErroreCodeColonLineBreakSystemText)
{
    Sequence run;
    run.volumes.openError = GetParam().code;
    run.Main("E:");
    EXPECT_EQ(run.windows.resultText, GetParam().expectedText);
}

INSTANTIATE_TEST_SUITE_P(Cases, Module1FailureText,
    testing::Values(FailureTextCase { "Code2", 2, "Errore: 2:\r\ntext for 2\r\n" },
        FailureTextCase { "Negative", -5, "Errore: -5:\r\ntext for -5\r\n" },
        FailureTextCase { "NoSystemText", 41, "Errore: 41:\r\n" }),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Module1Main, UsesTheCodesCapturedRightAfterTheOpenAndTheClose)
{
    for (std::int32_t openError : { 0, 2 }) {
        Sequence run;
        run.volumes.openError = openError;
        // Every window call after the last volume call (the end of the blocking call, loading
        // frmFine and so on) disturbs the last error.
        run.windows.afterEachCall = [&] {
            auto done = [&](const char* call) {
                return std::any_of(run.log.begin(), run.log.end(),
                    [&](const std::string& s) { return s.starts_with(call); });
            };
            if (done("close") || (openError != 0 && done("open")))
                run.volumes.lastError_ = 99;
        };
        auto outcome = run.Main("E:");
        EXPECT_EQ(outcome.code, openError);
        EXPECT_EQ(run.windows.resultText,
            openError == 0 ? "text for 0\r\n" : "Errore: 2:\r\ntext for 2\r\n");
    }
}

TEST(Module1Main, LetsAFailingProgressWindowStopEverything)
{
    Sequence run;
    run.windows.afterEachCall = [&] {
        if (run.log.back() == "Inizio")
            throw std::runtime_error("clip missing");
    };
    EXPECT_THROW(run.Main("E:"), std::runtime_error);
    EXPECT_EQ(run.log, Log { "Inizio" });
}

TEST(Module1GetSystemErrorText, PassesAZeroedBufferOf2560AndKeepsTheTextExactly)
{
    Sequence run;
    Module1 module(run.windows, run.volumes);
    EXPECT_EQ(module.GetSystemErrorText(13), "text for 13\r\n");
    EXPECT_EQ(run.volumes.bufferSize, 2560u);
    EXPECT_TRUE(run.volumes.bufferWasZeroed);
    EXPECT_EQ(module.GetSystemErrorText(41), "");
}

// Drive texts against the real volume layer: E: names a temporary folder.
struct DriveTextCase {
    const char* name;
    std::string argument;
    std::string driveText;
    bool opens;
};

class DriveTextRules : public testing::TestWithParam<DriveTextCase> { };

TEST_P(DriveTextRules, FirstTwoCharactersNameTheDrive)
{
    const auto& c = GetParam();
    EXPECT_EQ(Module1::DriveText(c.argument), c.driveText);
    EXPECT_EQ(Module1::DevicePath(c.driveText), "\\\\.\\" + c.driveText);

    auto folder = std::filesystem::temp_directory_path();
    sys::DriveTable table
        = sys::DriveTable::build({}, { { 'E', folder.string() } }, sys::systemProbe());
    auto volumes = sys::makeLinuxVolumes(table);
    std::ostringstream out;
    ConsoleWindows console(out);
    auto outcome = Module1(console, *volumes).Main(c.argument);
    EXPECT_EQ(outcome.opened, c.opens);
    EXPECT_EQ(outcome.code, c.opens ? 0 : 2);
    EXPECT_EQ(out.str(), c.opens ? "Success\n" : "Errore: 2:\nNo such file or directory\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, DriveTextRules,
    testing::Values(DriveTextCase { "Letter", "E:", "E:", true },
        DriveTextCase { "LowerCase", "e:", "e:", true },
        DriveTextCase { "Backslash", "E:\\", "E:", true },
        DriveTextCase { "Folder", "E:\\some\\folder", "E:", true },
        DriveTextCase { "Empty", "", "", false }, DriveTextCase { "OneChar", "E", "E", false },
        DriveTextCase { "LeadingBlank", " E:", " E", false },
        DriveTextCase { "Quoted", "\"E:\"", "\"E", false },
        DriveTextCase { "TwoByteFirst", "\xC3\x89:\\", "\xC3\x89:", false },
        DriveTextCase { "UnknownLetter", "Q:", "Q:", false }),
    [](const auto& row) { return std::string(row.param.name); });

// Windows that run the blocking calls on another thread, as the windowed front end does.
class WorkerThreadWindows final : public MainWindows {
public:
    void Inizio() override { }
    void DoEvents() override { }
    void RunBlocking(const std::function<void()>& work) override
    {
        std::thread worker(work);
        worker.join();
    }
    void SetResultText(const std::string& text) override { resultText = text; }
    void HideProgress() override { }
    void ShowResultModal() override { }
    void UnloadAbout() override { }
    void UnloadProgress() override { }
    void UnloadResult() override { }
    void Release() override { }
    std::string resultText;
};

TEST(Module1Main, VolumeCallsOnAWorkerThreadKeepTheirCodes)
{
    auto folder = std::filesystem::temp_directory_path();
    sys::DriveTable table = sys::DriveTable::build({},
        { { 'E', folder.string() }, { 'F', (folder / "quillmere-none").string() } },
        sys::systemProbe());
    auto volumes = sys::makeLinuxVolumes(table);
    WorkerThreadWindows windows;
    Module1 module(windows, *volumes);

    auto failed = module.Main("F:");
    EXPECT_EQ(failed.code, 2);
    EXPECT_EQ(windows.resultText, "Errore: 2:\r\nNo such file or directory");
    auto flushed = module.Main("E:");
    EXPECT_EQ(flushed.code, 0);
    EXPECT_EQ(windows.resultText, "Success");
}

} // namespace
} // namespace qm
