#include "cli/cli_main.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/ifo_reader.h"
#include "app/session.h"
#include "app/vob_folder.h"
#include "cli/cli_config.h"
#include "cli/cli_convert.h"
#include "cli/cli_options.h"
#include "cli/cli_ui.h"
#include "common/file_io.h"
#include "common/io_error.h"
#include "common/text_encoding.h"
#include "config/ini_file.h"
#include "engine/tesseract_engine.h"
#include "subpicture/bitmap_profile.h"
#include "subpicture/sup_file.h"

namespace orvane::cli {

namespace {

namespace fs = std::filesystem;

bool isDirectory(const std::string& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

// A file that cannot be read, or is no regular file (a FIFO would block
// the reader for ever, a device never ends), is reported before the job.
bool checkReadable(const std::string& path, std::FILE* err) {
    if (isDirectory(path)) {
        std::fprintf(err, "orvane-cli: '%s' is a folder, not a VOB file\n", path.c_str());
        return false;
    }
    try {
        checkRegularFile(path);
    } catch (const IoError& e) {
        std::fprintf(err, "orvane-cli: cannot open '%s': %s\n", path.c_str(),
                     e.systemMessage().c_str());
        return false;
    }
    return true;
}

// The files a command writes, with the option that names each.
struct Output {
    const char* option;
    std::string path;
};

std::vector<Output> outputsOf(const Options& o) {
    std::vector<Output> outs;
    if (o.command == "ocr" && !o.out.empty()) outs.push_back({"--out", o.out});
    if (o.command == "sup" || o.command == "bmp") {
        // The numbered files go beside the first one.
        outs.push_back({"--out", numberedFileName(o.out, 1, o.command == "sup" ? ".sup" : ".bmp")});
    }
    if (o.command == "vobsub") {
        outs.push_back({"--out", o.out + ".idx"});
        outs.push_back({"--out", o.out + ".sub"});
    }
    if (!o.saveMatrix.empty()) outs.push_back({"--save-matrix", o.saveMatrix});
    if (!o.text.empty()) outs.push_back({"--text", o.text});
    return outs;
}

std::string absolute(const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? path : p.string();
}

// Checked before the job, so that nothing learned or read is lost to an
// output that cannot be written, and no output replaces an input.
bool checkOutputs(const Options& o, const std::vector<std::string>& vobs, std::FILE* err) {
    const std::vector<Output> outs = outputsOf(o);
    std::vector<std::pair<const char*, std::string>> inputs;
    for (const std::string& v : vobs) inputs.push_back({"input", v});
    if (!o.config.empty()) inputs.push_back({"--config", o.config});
    if (!o.profile.empty()) inputs.push_back({"--profile", o.profile});
    for (size_t i = 0; i < outs.size(); ++i) {
        const Output& out = outs[i];
        if (isDirectory(out.path)) {
            std::fprintf(err, "orvane-cli: %s '%s' is a folder\n", out.option, out.path.c_str());
            return false;
        }
        std::string folder = fs::path(out.path).parent_path().string();
        if (folder.empty()) folder = ".";
        if (!isDirectory(folder) || ::access(folder.c_str(), W_OK | X_OK) != 0) {
            std::fprintf(err, "orvane-cli: cannot write %s '%s': %s\n", out.option,
                         out.path.c_str(), std::strerror(isDirectory(folder) ? errno : ENOENT));
            return false;
        }
        auto same = [&](const std::string& a, const std::string& b) {
            return sameFile(a, b) || absolute(a) == absolute(b);
        };
        for (const auto& [what, in] : inputs) {
            if (same(out.path, in)) {
                std::fprintf(err, "orvane-cli: %s '%s' would replace the %s file\n", out.option,
                             out.path.c_str(), what);
                return false;
            }
        }
        // The matrix read may be saved again, but not as another output.
        if (!o.matrix.empty() && std::string(out.option) != "--save-matrix" &&
            same(out.path, o.matrix)) {
            std::fprintf(err, "orvane-cli: %s '%s' would replace the --matrix file\n", out.option,
                         out.path.c_str());
            return false;
        }
        for (size_t k = 0; k < i; ++k) {
            if (same(out.path, outs[k].path)) {
                std::fprintf(err, "orvane-cli: %s and %s name the same file '%s'\n", outs[k].option,
                             out.option, out.path.c_str());
                return false;
            }
        }
    }
    return true;
}

// An empty result leaves an existing file alone.
bool saveDocumentTo(Session& session, const std::string& path, std::FILE* err) {
    if (session.document().count() == 0) {
        std::fprintf(err, "orvane-cli: no subtitles; nothing saved to '%s'\n", path.c_str());
        return true;
    }
    try {
        session.writeDocument(path);
    } catch (const IoError& e) {
        std::fprintf(err, "orvane-cli: cannot write '%s': %s\n", e.path().c_str(),
                     e.systemMessage().c_str());
        return false;
    }
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
    if (isVobSubIndex(path)) {
        try {
            for (const std::string& line : streamListItems(Session::vobSubStreamNames(path)))
                std::fprintf(out, "%s\n", cp1252ToUtf8(line).c_str());
        } catch (const IoError& e) {
            std::fprintf(err, "orvane-cli: cannot read '%s': %s\n", e.path().c_str(),
                         e.systemMessage().c_str());
            return 1;
        }
        return 0;
    }
    if (isDirectory(path)) {
        path = titleSetIfo(path, o.titleSet);
        if (path.empty()) {
            const std::vector<int> sets = titleSetsWithIfo(o.inputs[0]);
            if (sets.empty() || o.titleSet > 0) {
                std::fprintf(err, "orvane-cli: no title set IFO (VTS_xx_0.IFO) in '%s'\n",
                             o.inputs[0].c_str());
            } else {
                std::string list;
                for (int n : sets) list += " " + std::to_string(n);
                std::fprintf(err,
                             "orvane-cli: no VOB files in '%s' tell which title set is the main "
                             "one; name it with --title N (title sets with an IFO:%s)\n",
                             o.inputs[0].c_str(), list.c_str());
            }
            return 1;
        }
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

// Runs the job until it ends, is paused or a stop signal arrives; the
// signal pauses it at the next unit, as \stop does.
void runJobToEnd(Session& session, CliUi& ui) {
    ui.setPumpHook([&session] {
        if (stopSignalReceived() != 0 && !session.job().paused) session.buttonPauseClick();
    });
    session.runToEnd();
    ui.setPumpHook({});
    if (stopSignalReceived() != 0) ui.noteStopped();
}

// The request of the job the options describe, its action still to choose.
JobRequest jobRequest(const Options& o, const std::vector<std::string>& files,
                      const Session& session) {
    JobRequest request;
    request.files = files;
    request.streamIndex = o.stream - 1;
    request.avoidTimeRestart = o.avoidTimeRestart || session.settings().avoidTimeRestart;
    request.forcedOnly = o.forcedOnly;
    return request;
}

// The OCR policy and the matrix to start from; the exit status when they
// cannot be taken, else nullopt.
std::optional<int> prepareOcr(const Options& o, CliUi& ui, Session& session, std::FILE* err) {
    const std::string mark = utf8ToCp1252(o.markChar);
    if (mark.empty() ||
        (mark.find('?') != std::string::npos && o.markChar.find('?') == std::string::npos)) {
        std::fprintf(err,
                     "orvane-cli: the mark character must be one that Windows-1252 can hold\n");
        return 2;
    }
    OcrPolicy& policy = session.ocrPolicy();
    policy.unknown = o.unknown;
    policy.mark = mark;
    policy.useEngine = o.engine;
    policy.engineLanguage = o.language;
    session.setTextEngineFactory(tesseractEngineFactory());
    policy.textColour = o.textColour ? TextColourPolicy::Fixed : TextColourPolicy::Automatic;
    if (o.textColour) policy.fixedColour = static_cast<uint8_t>(*o.textColour);
    ui.setPrintSubtitles(true);
    session.flags().showSubPicture = false;
    session.setMatrixSearchPolicy(Session::MatrixSearchPolicy::Merge);
    // --extended adds the coordinates; the configuration may ask for them too.
    if (o.extended) session.document().settings().ovtExtended = true;
    if (o.matrix.empty()) return std::nullopt;
    // A bare name that is not in the current folder is one of the matrix folders'.
    const std::string matrix = findMatrixFile(o.matrix, session.folders());
    try {
        if (!session.loadMatrixFile(matrix, session.matrix())) return 1;
    } catch (const IoError& e) {
        std::fprintf(err, "orvane-cli: cannot read matrix '%s': %s\n", e.path().c_str(),
                     e.systemMessage().c_str());
        return 1;
    }
    return std::nullopt;
}

// --save-matrix after the job; false when the file could not be written.
bool saveLearnedMatrix(const Options& o, Session& session, bool& saved, std::FILE* err) {
    saved = false;
    if (o.saveMatrix.empty()) return true;
    if (session.matrix().empty()) {
        std::fprintf(err, "orvane-cli: the matrix is empty; nothing saved to '%s'\n",
                     o.saveMatrix.c_str());
        return true;
    }
    try {
        session.writeMatrixFile(o.saveMatrix);
        saved = true;
    } catch (const IoError& e) {
        std::fprintf(err, "orvane-cli: cannot write '%s': %s\n", e.path().c_str(),
                     e.systemMessage().c_str());
        return false;
    }
    return true;
}

// The summary of an OCR job on stderr.
void reportOcr(const Options& o, const CliUi& ui, Session& session, bool matrixSaved,
               std::FILE* err) {
    // What the saved matrix really holds: glyphs learned into it in this
    // run and entries merged in by a search.
    std::string merged;
    if (session.mergedEntries() > 0)
        merged = ", " + std::to_string(session.mergedEntries()) + " merged from a search";
    std::fprintf(
        err,
        "orvane-cli: %s%d pictures, %zu entries, %zu glyphs learned%s (matrix of %zu%s), "
        "%d unknown glyphs skipped, %d marked\n",
        ui.stopped() ? "stopped; " : "", session.job().unitsInJob, session.document().count(),
        session.learnedEntries(), merged.c_str(), session.matrix().size(),
        o.saveMatrix.empty() ? ""
        : matrixSaved        ? ", saved"
                             : ", not saved",
        ui.unknownSkipped() + session.ocrPolicyCounts().skipped, session.ocrPolicyCounts().marked);
    const OcrPolicyCounts& counts = session.ocrPolicyCounts();
    if (!session.engineFailedLanguage().empty()) {
        std::fprintf(err,
                     "orvane-cli: the OCR engine could not start (language '%s'); "
                     "unknown glyphs went by --unknown alone\n",
                     session.engineFailedLanguage().c_str());
        const std::string why = tesseractModuleError();
        if (!why.empty()) std::fprintf(err, "orvane-cli: %s\n", why.c_str());
    } else if (counts.engineLines > 0) {
        std::fprintf(err,
                     "orvane-cli: the OCR engine (%s) read %d lines: %d glyphs taken, %d of them "
                     "learned\n",
                     session.engineLanguage().c_str(), counts.engineLines, counts.engineReadings,
                     counts.engineLearned);
    }
}

int runOcr(const Options& o, const std::vector<std::string>& files, CliUi& ui, Session& session,
           std::FILE* err) {
    if (const auto status = prepareOcr(o, ui, session, err)) return *status;
    JobRequest request = jobRequest(o, files, session);
    request.action = ActionMode::Ocr;
    if (!session.startButton(request)) {
        std::fprintf(err, "orvane-cli: the job could not start\n");
        return 1;
    }
    runJobToEnd(session, ui);

    int status = ui.fileErrors() > 0 ? 1 : 0;
    bool matrixSaved = false;
    if (!saveLearnedMatrix(o, session, matrixSaved, err)) status = 1;
    if (!o.out.empty() && !saveDocumentTo(session, o.out, err)) status = 1;
    reportOcr(o, ui, session, matrixSaved, err);
    if (stopSignalReceived() != 0 && status == 0) status = 128 + stopSignalReceived();
    return status;
}

// The action of sup and bmp, and the bitmap settings of bmp; false when
// the profile cannot be read.
bool prepareFileJob(const Options& o, JobRequest& request, CliUi& ui, Session& session,
                    std::FILE* err) {
    request.action = o.command == "sup" ? ActionMode::SaveSup : ActionMode::SaveBmp;
    request.timing = o.timing;
    ui.setSaveName(o.out);
    // The entries are there for their rectangles: keep them in the file.
    if (o.timing) session.document().settings().ovtExtended = true;
    if (!o.profile.empty()) {
        // A missing or unreadable profile would silently read as the defaults.
        const IniFile probe(o.profile);
        std::string reason = probe.loadError();
        if (reason.empty() && !fileExists(o.profile)) reason = std::strerror(ENOENT);
        if (!reason.empty()) {
            std::fprintf(err, "orvane-cli: cannot open profile '%s': %s\n", o.profile.c_str(),
                         reason.c_str());
            return false;
        }
        session.bitmapSettings() = loadBitmapSettings(o.profile);
    }
    if (o.discColours) session.bitmapSettings().colours.discColours = true;
    return true;
}

// What the job wrote, on stderr, and the --text entries saved; the exit
// status.
int finishJob(const Options& o, const CliUi& ui, Session& session, std::FILE* err) {
    int status = ui.fileErrors() > 0 ? 1 : 0;
    if (o.command == "vobsub") {
        const int n = session.job().unitsInJob;
        if (n == 0)
            std::fprintf(err, "orvane-cli: no subtitles; nothing saved to '%s.idx'\n",
                         o.out.c_str());
        else
            std::fprintf(err, "orvane-cli: %d subtitle%s written to '%s.idx' and '%s.sub'\n", n,
                         n == 1 ? "" : "s", o.out.c_str(), o.out.c_str());
    } else if (o.command == "sup") {
        std::fprintf(err, "orvane-cli: %d SUP file%s written\n", ui.savedFiles(),
                     ui.savedFiles() == 1 ? "" : "s");
    } else if (o.command == "bmp") {
        std::fprintf(err, "orvane-cli: %d BMP file%s written\n", ui.savedFiles(),
                     ui.savedFiles() == 1 ? "" : "s");
    }
    if (!o.text.empty()) {
        // The adjustment's I-Author or Philips preset switches the document
        // to that format; --text is always the own format, which convert reads.
        session.document().selectFormat(OutputFormat::Orvane);
        session.document().settings().ovtExtended = true;
        if (!saveDocumentTo(session, o.text, err)) {
            status = 1;
        } else if (session.document().count() > 0) {
            std::fprintf(err, "orvane-cli: %zu entr%s saved to '%s'\n", session.document().count(),
                         session.document().count() == 1 ? "y" : "ies", o.text.c_str());
        }
    }
    return status;
}

int runJob(const Options& o, std::FILE* out, std::FILE* err, std::FILE* in) {
    std::vector<std::string> files;
    if (!resolveVobs(o, files, err)) return 1;
    if (!checkOutputs(o, files, err)) return 1;
    StopSignals signals;

    BadHeaderPolicy policy =
        o.badHeaders.value_or(::isatty(::fileno(in)) ? BadHeaderPolicy::Ask : BadHeaderPolicy::No);
    if (policy == BadHeaderPolicy::Ask && !::isatty(::fileno(in))) policy = BadHeaderPolicy::No;
    CliUi ui(policy, out, err, in);
    // On the heap: 65 KiB on the stack would be fresh pages, each a fault.
    const auto owned = std::make_unique<Session>(ui);
    Session& session = *owned;
    // No preview on a terminal; the SUP action then writes files only.
    session.flags().showSubPicture = false;
    if (o.startTime) session.setStartTime(*o.startTime);
    if (!loadCliConfiguration(session, o.config, err)) return 1;
    if (o.command == "ocr") return runOcr(o, files, ui, session, err);

    JobRequest request = jobRequest(o, files, session);
    if (o.command == "vobsub") {
        request.action = ActionMode::SaveVobSub;
        ui.setSaveName(o.out);
    } else if (o.command == "sup" || o.command == "bmp") {
        if (!prepareFileJob(o, request, ui, session, err)) return 1;
    } else {
        request.action = ActionMode::OnlyShow;
        ui.setListUnits(true);
    }
    if (!session.startButton(request)) {
        std::fprintf(err, "orvane-cli: the job could not start\n");
        return 1;
    }
    if (o.command == "scan") session.flags().progressionNonStop = true;
    runJobToEnd(session, ui);
    std::fflush(out);
    // Stopped early: what was read is still written.
    if (o.command == "vobsub") session.writeVobSubPair();
    std::fflush(out);
    int status = finishJob(o, ui, session, err);
    if (stopSignalReceived() != 0 && status == 0) status = 128 + stopSignalReceived();
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
    if (!args.empty() && args[0] != "convert" &&
        std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::fprintf(out, "%s", usage().c_str());
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
