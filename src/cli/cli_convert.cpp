#include "cli/cli_convert.h"

#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "app/session.h"
#include "cli/cli_config.h"
#include "cli/cli_ui.h"
#include "cli/convert_options.h"
#include "common/io_error.h"

namespace orvane::cli {

namespace {

// The offset pass asks for every start that would reach zero: --yes answers
// Yes, a terminal is asked, other input answers No (the pass stops there).
class ConvertUi : public CliUi {
  public:
    ConvertUi(bool yes, std::FILE* out, std::FILE* err, std::FILE* in)
        : CliUi(BadHeaderPolicy::No, out, err, in), yes_(yes), in_(in), err_(err) {}

    Answer messageBox(QuestionId id, MessageIcon icon, const std::string& text,
                      Buttons buttons) override {
        if (id == QuestionId::DocumentReadError) {
            // One line for the first block that cannot be read; the others
            // are skipped as it is, without a line each.
            std::fprintf(err_, "orvane-cli: %s Ignore (and every further error)\n",
                         oneLine(text).c_str());
            return Answer::YesToAll;
        }
        if (id != QuestionId::TimeCodeReduced) return CliUi::messageBox(id, icon, text, buttons);
        if (yes_) return Answer::Yes;
        if (!::isatty(::fileno(in_))) {
            std::fprintf(err_, "orvane-cli: %s No (--yes goes on)\n", oneLine(text).c_str());
            return Answer::No;
        }
        std::fprintf(err_, "%s [y]es/[n]o? ", oneLine(text).c_str());
        std::fflush(err_);
        char line[64];
        if (!std::fgets(line, sizeof line, in_)) return Answer::No;
        return line[0] == 'y' || line[0] == 'Y' ? Answer::Yes : Answer::No;
    }

  private:
    bool yes_;
    std::FILE* in_;
    std::FILE* err_;
};

// The settings and the dictionary convert works with; false when one of
// them cannot be had (the reason went to stderr).
bool prepareSession(const ConvertOptions& o, Session& session, std::FILE* err) {
    // The writers' settings (IAuthor colours, Philips frame rate, ...) are the GUI's.
    if (!loadCliConfiguration(session, o.config, err)) return false;
    if (!o.dictionaryFolder.empty()) session.setDictionaryFolder(o.dictionaryFolder);
    if (o.postOcr.useDictionary) {
        // Asked for by name: a missing dictionary stops the command before
        // anything is read or written.
        std::string why;
        if (!session.spellingDictionary(o.postOcr.language, &why)) {
            std::fprintf(err, "orvane-cli: %s\n", why.c_str());
            return false;
        }
    }
    return true;
}

// The time correction, then the post-OCR correction, telling what the
// time correction refused.
void correctDocument(const ConvertOptions& o, Session& session, std::FILE* err) {
    const TimeCorrectionReport report = session.correctTimes(o.times);
    if (report.offset.stoppedAt > 0)
        std::fprintf(err,
                     "orvane-cli: offset stopped at entry %zu; it and the entries after it keep "
                     "their times\n",
                     report.offset.stoppedAt);
    // A stretch refused for a document whose last entry starts at 0 was
    // told through the message table, as the GUI tells it.
    if (report.stretch == StretchResult::MinusTooLarge)
        std::fprintf(
            err, "orvane-cli: stretch refused: the minus stretch is larger than the last start\n");
    session.postOcrCorrection(o.postOcr);
}

// Saves the document in the chosen format with the split range; the exit
// status.
int writeConverted(const ConvertOptions& o, Session& session, std::FILE* err) {
    SubtitleDocument& doc = session.document();
    if (o.encoding && o.format->encodingChoice)
        doc.settings().*o.format->encodingChoice = *o.encoding;
    doc.selectFormat(o.format->id);
    if (o.splitOn && !doc.applySplitRange(true, o.splitStart, o.splitStop)) {
        std::fprintf(err, "orvane-cli: %s\n",
                     CliUi::oneLine(session.messages().get(msg::kStopBeforeStart)).c_str());
        return 2;
    }
    if (doc.count() == 0) {
        // An empty result leaves an existing file alone.
        std::fprintf(err, "orvane-cli: no entries; nothing written to %s\n", o.out.c_str());
        return 0;
    }
    try {
        // Saved whole or not at all: converting a file onto itself is safe.
        session.writeDocument(o.out);
    } catch (const IoError& e) {
        std::fprintf(err, "orvane-cli: cannot write %s: %s\n", e.path().c_str(),
                     e.systemMessage().c_str());
        return 1;
    }
    std::fprintf(err, "orvane-cli: %zu entr%s written to %s\n", doc.count(),
                 doc.count() == 1 ? "y" : "ies", o.out.c_str());
    return 0;
}

}  // namespace

int runConvert(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
               std::FILE* in) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::fprintf(out, "usage:\n%s", convertUsage().c_str());
        return 0;
    }
    std::string error;
    const auto o = parseConvertOptions(args, error);
    if (!o) {
        std::fprintf(err, "orvane-cli: %s (see orvane-cli --help)\n", error.c_str());
        return 2;
    }
    ConvertUi ui(o->yes, out, err, in);
    const auto owned = std::make_unique<Session>(ui);  // 65 KiB: not on the stack
    Session& session = *owned;
    if (!prepareSession(*o, session, err)) return 1;
    if (!session.readOrvaneFile(o->input)) return 1;  // the reason went to stderr
    correctDocument(*o, session, err);
    return writeConverted(*o, session, err);
}

}  // namespace orvane::cli
