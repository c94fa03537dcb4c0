#pragma once
// The drawing-script interpreter behind tools/raster-script: one command per line,
// results printed on an output stream. Commands live in a table that any source file
// of this folder can add to with a static CommandRegistrar (the text commands "font"
// and "drawtext" are registered that way from text_commands.cpp), so the interpreter
// core knows nothing about the commands it runs.
#include "platform/raster/dc.h"

#include <functional>
#include <istream>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm::tools {

// A bad argument or an unknown command; the runner adds the line number.
struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Token {
    std::string text; // unescaped for quoted strings
    bool quoted = false;
};

// The arguments of one command (the command word itself excluded), with parsers that
// throw ScriptError naming the argument that is wrong.
class Args {
public:
    explicit Args(std::vector<Token> tokens)
        : tokens_(std::move(tokens))
    {
    }
    std::size_t size() const { return tokens_.size(); }
    // Throws unless the count is within [min, max].
    void expectCount(std::size_t min, std::size_t max) const;
    void expectCount(std::size_t n) const { expectCount(n, n); }
    int number(std::size_t i) const; // decimal, may be negative, 32-bit
    gfx::ColorRef color(std::size_t i) const; // #RRGGBB
    std::string word(std::size_t i) const; // an unquoted word
    std::string text(std::size_t i) const; // a quoted string
    bool isWord(std::size_t i, const char* w) const;

private:
    const Token& at(std::size_t i) const;
    std::vector<Token> tokens_;
};

struct ScriptState {
    gfx::DC dc = gfx::DC::createMemory();
    gfx::Bitmap surface; // empty until the first "surface" command
    std::map<std::string, gfx::Region> regions;
    std::ostream* out = nullptr;

    // Throws unless a surface exists (drawing commands need one).
    void requireSurface() const;
    const gfx::Region& region(const std::string& name) const; // throws for unknown names
};

using Command = std::function<void(ScriptState&, const Args&)>;

// Adds commands at static-initialisation time; a second command of the same name is a
// programming error and aborts at start-up.
struct CommandRegistrar {
    CommandRegistrar(std::initializer_list<std::pair<const char*, Command>> commands);
};

// Splits one line into tokens; throws ScriptError for an unterminated string or a bad escape.
std::vector<Token> tokenize(const std::string& line);

// Runs a whole script. Returns 0, or 1 after printing "line N: message" to err for the
// first bad line (nothing after it runs).
int runScript(std::istream& in, std::ostream& out, std::ostream& err);

} // namespace qm::tools
