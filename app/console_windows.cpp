#include "app/console_windows.h"

namespace qm {

std::string ConsoleWindows::ConsoleText(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    if (!out.empty() && out.back() != '\n')
        out += '\n';
    return out;
}

void ConsoleWindows::ShowResultModal()
{
    out_ << ConsoleText(text_) << std::flush;
}

} // namespace qm
