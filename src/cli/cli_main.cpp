#include "cli/cli_main.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/ifo_reader.h"
#include "cli/cli_config.h"
#include "cli/cli_convert.h"
#include "app/session.h"
#include "app/vob_folder.h"
#include "cli/cli_options.h"
#include "cli/cli_ui.h"
#include "config/text_encoding.h"
#include "common/io_error.h"
#include "subpicture/bitmap_profile.h"

namespace orvane::cli {

namespace {

namespace fs = std::filesystem;

bool isDirectory(const std::string& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

// A file that open(2) refuses is reported before the job begins.
bool checkReadable(const std::string& path, std::FILE* err) {
    if (isDirectory(path)) {
        std::fprintf(err, "orvane-cli: '%s' is a folder, not a VOB file\n", path.c_str());
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(err, "orvane-cli: cannot open '%s': %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    ::close(fd);
    return true;
}

bool resolveVobs(const Options& o, std::vector<std::string>& files, std::FILE* err) {
    for (const std::string& in : o.inputs) {
        if (isDirectory(in)) {
            auto vobs = titleSetVobs(in, o.titleSet);
            if (vobs.empty()) {
                std::fprintf(err, "orvane-cli: no title set VOB files (VTS_xx_1.VOB ...) in '%s'\n",
                             in.c_str());
                return false;
            }
            files.insert(files.end(), vobs.begin(), vobs.end());
        } else {
            if (!checkReadable(in, err)) return false;
            files.push_back(in);
        }
    }
    if (files.size() > ExtractionJob::kMaxFiles) {
        std::fprintf(err, "orvane-cli: at most %zu files make one job\n", ExtractionJob::kMaxFiles);
        return false;
    }
    return true;
}

int runStreams(const Options& o, std::FILE* out, std::FILE* err) {
    std::string path = o.inputs[0];
    if (isDirectory(path)) {
        path = titleSetIfo(path, o.titleSet);
        if (path.empty()) {
            std::fprintf(err, "orvane-cli: no title set IFO (VTS_xx_0.IFO) in '%s'\n",
                         o.inputs[0].c_str());
            return 1;
        }
    }
    if (!fileExists(path)) {
        std::fprintf(err, "orvane-cli: cannot open '%s': No such file\n", path.c_str());
        return 1;
    }
    try {
        const StreamNames names = readIfoStreamNames(path);
        for (const std::string& line : streamListItems(names)) {
            std::fprintf(out, "%s\n", cp1252ToUtf8(line).c_str());
        }
    } catch (const IoError& e) {
        std::fprintf(err, "orvane-cli: cannot read '%s': %s\n", e.path().c_str(),
                     e.systemMessage().c_str());
        return 1;
    }
    return 0;
}

int runOcr(const Options& o, const std::vector<std::string>& files, CliUi& ui, Session& session,
           std::FILE* err) {
    const std::string mark = utf8ToCp1252(o.markChar);
    if (mark.empty() ||
        (mark.find('?') != std::string::npos && o.markChar.find('?') == std::string::npos)) {
        std::fprintf(err,
                     "orvane-cli: the mark character must be one that Windows-1252 can hold\n");
        return 2;
    }
    ui.setUnknownPolicy(o.unknown, mark);
    ui.setTextColour(o.textColour);
    ui.setPrintSubtitles(true);
    session.showSubPicture = false;
    // --extended adds the coordinates; the configuration may ask for them too.
    if (o.extended) session.document().settings().ovtExtended = true;
    if (!o.matrix.empty()) {
        try {
            if (!session.loadMatrixFile(o.matrix, session.matrix())) return 1;
        } catch (const IoError& e) {
            std::fprintf(err, "orvane-cli: cannot read matrix '%s': %s\n", e.path().c_str(),
                         e.systemMessage().c_str());
            return 1;
        }
    }
    const size_t before = session.matrix().size();

    JobRequest request;
    request.files = files;
    request.streamIndex = o.stream - 1;
    request.avoidTimeRestart = o.avoidTimeRestart || session.settings().avoidTimeRestart;
    request.action = ActionMode::Ocr;
    if (!session.startButton(request)) {
        std::fprintf(err, "orvane-cli: the job could not start\n");
        return 1;
    }
    session.runToEnd();

    int status = ui.fileErrors() > 0 ? 1 : 0;
    if (!o.saveMatrix.empty()) {
        if (session.matrix().empty()) {
            std::fprintf(err, "orvane-cli: the matrix is empty; nothing saved to '%s'\n",
                         o.saveMatrix.c_str());
        } else {
            try {
                session.writeMatrixFile(o.saveMatrix);
            } catch (const IoError& e) {
                std::fprintf(err, "orvane-cli: cannot write '%s': %s\n", e.path().c_str(),
                             e.systemMessage().c_str());
                status = 1;
            }
        }
    }
    if (!o.out.empty()) {
        try {
            session.writeDocument(o.out);
        } catch (const IoError& e) {
            std::fprintf(err, "orvane-cli: cannot write '%s': %s\n", e.path().c_str(),
                         e.systemMessage().c_str());
            status = 1;
        }
    }
    const size_t learned = session.matrix().size() >= before ? session.matrix().size() - before : 0;
    std::fprintf(err,
                 "orvane-cli: %s%d pictures, %zu entries, %zu glyphs learned (matrix of %zu), %d "
                 "unknown glyphs "
                 "skipped, %d marked\n",
                 ui.stopped() ? "stopped; " : "", session.job().unitsInJob,
                 session.document().count(), learned, session.matrix().size(), ui.unknownSkipped(),
                 ui.marked());
    return status;
}

int runJob(const Options& o, std::FILE* out, std::FILE* err, std::FILE* in) {
    std::vector<std::string> files;
    if (!resolveVobs(o, files, err)) return 1;

    BadHeaderPolicy policy =
        o.badHeaders.value_or(::isatty(::fileno(in)) ? BadHeaderPolicy::Ask : BadHeaderPolicy::No);
    if (policy == BadHeaderPolicy::Ask && !::isatty(::fileno(in))) policy = BadHeaderPolicy::No;
    CliUi ui(policy, out, err, in);
    Session session(ui);
    // No preview on a terminal; the SUP action then writes files only.
    session.showSubPicture = false;
    if (o.startTime) session.setStartTime(*o.startTime);
    if (!loadCliConfiguration(session, o.config, err)) return 1;
    if (o.command == "ocr") return runOcr(o, files, ui, session, err);

    JobRequest request;
    request.files = files;
    request.streamIndex = o.stream - 1;
    request.avoidTimeRestart = o.avoidTimeRestart || session.settings().avoidTimeRestart;
    if (o.command == "sup" || o.command == "bmp") {
        request.action = o.command == "sup" ? ActionMode::SaveSup : ActionMode::SaveBmp;
        request.timing = o.timing;
        ui.setSaveName(o.out);
        // The entries are there for their rectangles: keep them in the file.
        if (o.timing) session.document().settings().ovtExtended = true;
        if (!o.profile.empty()) {
            // A missing profile would silently read as the defaults.
            if (isDirectory(o.profile) || !std::ifstream(o.profile, std::ios::binary)) {
                std::fprintf(err, "orvane-cli: cannot open profile '%s'\n", o.profile.c_str());
                return 1;
            }
            session.bitmapSettings() = loadBitmapSettings(o.profile);
        }
    } else {
        request.action = ActionMode::OnlyShow;
        ui.setListUnits(true);
    }
    if (!session.startButton(request)) {
        std::fprintf(err, "orvane-cli: the job could not start\n");
        return 1;
    }
    if (o.command == "scan") session.progressionNonStop = true;
    session.runToEnd();
    std::fflush(out);
    int status = ui.fileErrors() > 0 ? 1 : 0;
    if (o.command == "sup") {
        std::fprintf(err, "orvane-cli: %d SUP file%s written\n", ui.units(),
                     ui.units() == 1 ? "" : "s");
    } else if (o.command == "bmp") {
        std::fprintf(err, "orvane-cli: %d BMP file%s written\n", ui.savedFiles(),
                     ui.savedFiles() == 1 ? "" : "s");
    }
    if (!o.text.empty()) {
        // The adjustment's I-Author or Philips preset switches the document
        // to that format; --text is always the own format, which convert reads.
        session.document().selectFormat(OutputFormat::Orvane);
        session.document().settings().ovtExtended = true;
        try {
            session.writeDocument(o.text);
            std::fprintf(err, "orvane-cli: %zu entr%s saved to '%s'\n", session.document().count(),
                         session.document().count() == 1 ? "y" : "ies", o.text.c_str());
        } catch (const IoError& e) {
            std::fprintf(err, "orvane-cli: cannot write '%s': %s\n", e.path().c_str(),
                         e.systemMessage().c_str());
            status = 1;
        }
    }
    return status;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err, std::FILE* in) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        std::fprintf(out, "%s", usage().c_str());
        return 0;
    }
    if (!args.empty() && args[0] == "--version") {
        std::fprintf(out, "%s\n", Session::kCaption);
        return 0;
    }
    if (!args.empty() && args[0] == "convert")
        return runConvert(std::vector<std::string>(args.begin() + 1, args.end()), out, err, in);
    std::string error;
    const auto options = parseOptions(args, error);
    if (!options) {
        std::fprintf(err, "orvane-cli: %s (see orvane-cli --help)\n", error.c_str());
        return 2;
    }
    if (options->command == "streams") return runStreams(*options, out, err);
    return runJob(*options, out, err, in);
}

}  // namespace orvane::cli
