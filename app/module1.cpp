#include "app/module1.h"

#include <vector>

namespace qm {

int ExitStatus(const FlushOutcome& outcome)
{
    if (!outcome.opened)
        return 1;
    return outcome.code == 0 ? 0 : 2;
}

std::string Module1::DriveText(std::string_view commandLine)
{
    // Characters, not bytes: a lead byte takes its continuation bytes with it.
    std::size_t end = 0;
    for (int taken = 0; taken < 2 && end < commandLine.size(); ++taken) {
        auto lead = static_cast<unsigned char>(commandLine[end++]);
        int continuation = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        while (continuation-- > 0 && end < commandLine.size()
            && (static_cast<unsigned char>(commandLine[end]) & 0xC0) == 0x80)
            ++end;
    }
    return std::string(commandLine.substr(0, end));
}

std::string Module1::DevicePath(std::string_view driveText)
{
    return "\\\\.\\" + std::string(driveText);
}

FlushOutcome Module1::Main(std::string_view commandLine)
{
    windows_.Inizio();
    windows_.DoEvents();

    std::string sDevice = DevicePath(DriveText(commandLine));

    FlushOutcome outcome;
    sys::VolumeHandle hVolume = sys::invalidVolume;
    std::int32_t lError = 0;
    // The code is read in the same blocking call as the open, right after it.
    windows_.RunBlocking([&] {
        hVolume = volumes_.openVolume(sDevice);
        lError = volumes_.lastError();
    });

    std::string sText;
    if (hVolume == sys::invalidVolume) {
        sText = "Errore: " + std::to_string(lError) + ":\r\n" + GetSystemErrorText(lError);
    } else {
        outcome.opened = true;
        windows_.RunBlocking([&] {
            for (int i = 1; i <= 5; ++i)
                volumes_.flushVolume(hVolume);
            volumes_.closeVolume(hVolume);
            lError = volumes_.lastError();
        });
        sText = GetSystemErrorText(lError);
    }
    outcome.code = lError;
    outcome.resultText = sText;

    windows_.SetResultText(sText);
    windows_.DoEvents();
    windows_.HideProgress();
    windows_.DoEvents();
    windows_.ShowResultModal();

    windows_.UnloadAbout();
    windows_.UnloadProgress();
    windows_.UnloadResult();
    windows_.Release();
    return outcome;
}

std::string Module1::GetSystemErrorText(std::int32_t code)
{
    constexpr std::uint32_t size = 2560;
    std::vector<char> buffer(size, '\0');
    std::uint32_t n = volumes_.messageText(code, buffer.data(), size);
    if (n > 0 && n <= size)
        return std::string(buffer.data(), n);
    return {};
}

} // namespace qm
