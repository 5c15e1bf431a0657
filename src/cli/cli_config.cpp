#include "cli/cli_config.h"

#include <filesystem>
#include <fstream>

#include "app/configuration.h"
#include "app/session.h"
#include "subpicture/bitmap_profile.h"

namespace orvane::cli {

bool loadCliConfiguration(Session& session, const std::string& path, std::FILE* err) {
    std::string file = path;
    if (file.empty()) {
        file = configurationPath(session.folders());
    } else if (std::filesystem::is_directory(file) || !std::ifstream(file, std::ios::binary)) {
        // An explicit file that is not there would silently read as the defaults.
        std::fprintf(err, "orvane-cli: cannot open configuration '%s'\n", file.c_str());
        return false;
    }
    setOcrDefaults(session);
    loadConfiguration(session, file);
    session.bitmapSettings() = loadBitmapSettings(file);
    return true;
}

}  // namespace orvane::cli
