#pragma once

#include <cstdio>
#include <string>

namespace orvane {
class Session;
}

namespace orvane::cli {

// Reads the configuration the GUI keeps (OCR limits, writers' settings,
// bitmap export settings, job options) into the session: `path`, or the
// program folder's Orvane.ini when empty. A missing default file gives the
// defaults; a --config file that cannot be read is an error (false, the
// reason written to `err`).
bool loadCliConfiguration(Session& session, const std::string& path, std::FILE* err);

}  // namespace orvane::cli
