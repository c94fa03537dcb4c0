#include "tools/raster_script/script.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace qm::tools {

namespace {
std::map<std::string, Command>& commandTable()
{
    static std::map<std::string, Command> table;
    return table;
}
} // namespace

CommandRegistrar::CommandRegistrar(std::initializer_list<std::pair<const char*, Command>> commands)
{
    for (const auto& [name, command] : commands) {
        if (!commandTable().emplace(name, command).second) {
            std::fprintf(stderr, "raster-script: command '%s' registered twice\n", name);
            std::abort();
        }
    }
}

const Token& Args::at(std::size_t i) const
{
    if (i >= tokens_.size())
        throw ScriptError("missing argument " + std::to_string(i + 1));
    return tokens_[i];
}

void Args::expectCount(std::size_t min, std::size_t max) const
{
    if (tokens_.size() < min || tokens_.size() > max) {
        std::string want
            = min == max ? std::to_string(min) : std::to_string(min) + " to " + std::to_string(max);
        throw ScriptError("expected " + want + " arguments, got " + std::to_string(tokens_.size()));
    }
}

int Args::number(std::size_t i) const
{
    const Token& t = at(i);
    const std::string& s = t.text;
    std::size_t k = (!s.empty() && s[0] == '-') ? 1 : 0;
    bool digits = !t.quoted && k < s.size();
    for (std::size_t j = k; j < s.size() && digits; ++j)
        digits = s[j] >= '0' && s[j] <= '9';
    if (!digits)
        throw ScriptError(
            "argument " + std::to_string(i + 1) + " is not a decimal number: '" + s + "'");
    errno = 0;
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        throw ScriptError("argument " + std::to_string(i + 1) + " is out of range: " + s);
    return int(v);
}

gfx::ColorRef Args::color(std::size_t i) const
{
    const Token& t = at(i);
    const std::string& s = t.text;
    bool ok = !t.quoted && s.size() == 7 && s[0] == '#';
    for (std::size_t j = 1; j < s.size() && ok; ++j)
        ok = std::isxdigit(static_cast<unsigned char>(s[j])) != 0;
    if (!ok)
        throw ScriptError(
            "argument " + std::to_string(i + 1) + " is not a colour #RRGGBB: '" + s + "'");
    const unsigned long v = std::strtoul(s.c_str() + 1, nullptr, 16);
    return gfx::rgb(std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v));
}

std::string Args::word(std::size_t i) const
{
    const Token& t = at(i);
    if (t.quoted)
        throw ScriptError("argument " + std::to_string(i + 1) + " must not be quoted");
    return t.text;
}

std::string Args::text(std::size_t i) const
{
    const Token& t = at(i);
    if (!t.quoted)
        throw ScriptError("argument " + std::to_string(i + 1) + " must be a quoted string");
    return t.text;
}

bool Args::isWord(std::size_t i, const char* w) const
{
    return i < tokens_.size() && !tokens_[i].quoted && tokens_[i].text == w;
}

void ScriptState::requireSurface() const
{
    if (!surface)
        throw ScriptError("no surface yet (start with: surface W H #RRGGBB)");
}

const gfx::Region& ScriptState::region(const std::string& name) const
{
    const auto it = regions.find(name);
    if (it == regions.end())
        throw ScriptError("unknown region '" + name + "'");
    return it->second;
}

std::vector<Token> tokenize(const std::string& line)
{
    std::vector<Token> out;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        Token t;
        if (c == '"') {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    t.text += d;
                    continue;
                }
                if (i >= n)
                    break;
                const char e = line[i++];
                switch (e) {
                case 'r':
                    t.text += '\r';
                    break;
                case 'n':
                    t.text += '\n';
                    break;
                case '"':
                    t.text += '"';
                    break;
                case '\\':
                    t.text += '\\';
                    break;
                default:
                    throw ScriptError(std::string("unknown escape \\") + e + " in a string");
                }
            }
            if (!closed)
                throw ScriptError("unterminated string");
            if (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                throw ScriptError("a string must be followed by a space");
        } else {
            while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '"')
                t.text += line[i++];
        }
        out.push_back(std::move(t));
    }
    return out;
}

int runScript(std::istream& in, std::ostream& out, std::ostream& err)
{
    ScriptState state;
    state.out = &out;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#')
            continue;
        try {
            std::vector<Token> tokens = tokenize(line);
            if (tokens[0].quoted)
                throw ScriptError("a command cannot be a quoted string");
            const std::string name = tokens[0].text;
            const auto it = commandTable().find(name);
            if (it == commandTable().end())
                throw ScriptError("unknown command '" + name + "'");
            tokens.erase(tokens.begin());
            it->second(state, Args(std::move(tokens)));
        } catch (const ScriptError& e) {
            out.flush();
            err << "line " << number << ": " << e.what() << '\n';
            return 1;
        }
    }
    return 0;
}

} // namespace qm::tools
