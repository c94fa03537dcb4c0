#pragma once
// Runs a drawing script held in a string and keeps what it printed.
#include "tools/raster_script/script.h"

#include <sstream>
#include <string>

namespace qm::tools {

struct ScriptRun {
    int rc;
    std::string out, err;
};

inline ScriptRun run(const std::string& script)
{
    std::istringstream in(script);
    std::ostringstream out, err;
    const int rc = runScript(in, out, err);
    return { rc, out.str(), err.str() };
}

} // namespace qm::tools
