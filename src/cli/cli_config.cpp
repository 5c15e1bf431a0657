#include "cli/cli_config.h"

#include <cerrno>
#include <cstring>

#include "app/configuration.h"
#include "app/session.h"
#include "app/vob_folder.h"
#include "config/ini_file.h"
#include "subpicture/bitmap_profile.h"

namespace orvane::cli {

bool loadCliConfiguration(Session& session, const std::string& path, std::FILE* err) {
    const std::string file = path.empty() ? configurationPath(session.folders()) : path;
    // A settings file that is there but cannot be read (a folder, a FIFO, no
    // permission, far too large) would silently read as the defaults; so
    // would an explicit file that is not there.
    const IniFile probe(file);
    std::string reason = probe.loadError();
    if (reason.empty() && !path.empty() && !fileExists(file)) reason = std::strerror(ENOENT);
    if (!reason.empty()) {
        std::fprintf(err, "orvane-cli: cannot read configuration '%s': %s\n", file.c_str(),
                     reason.c_str());
        return false;
    }
    setOcrDefaults(session);
    loadConfiguration(session, file);
    session.bitmapSettings() = loadBitmapSettings(file);
    return true;
}

}  // namespace orvane::cli
