#pragma once

#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace orvane::test {

// A program folder of its own ($ORVANE_HOME) for one main window, so that
// Orvane.ini starts empty and what one window writes the next one reads.
struct ProgramHome {
    TempDir dir;
    ProgramHome() { setenv("ORVANE_HOME", dir.path().c_str(), 1); }
    std::string file(const std::string& name) const { return dir.file(name); }
};

}  // namespace orvane::test
