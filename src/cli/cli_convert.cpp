#include "cli/cli_convert.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <optional>

#include "app/session.h"
#include "cli/cli_config.h"
#include "cli/cli_options.h"
#include "cli/cli_ui.h"
#include "common/io_error.h"

namespace orvane::cli {

namespace {

struct EncodingName {
    const char* name;
    TextEncoding encoding;
};
constexpr EncodingName kEncodings[] = {{"windows-1252", TextEncoding::Windows1252},
                                       {"utf-8", TextEncoding::Utf8}};

const char* encodingName(TextEncoding e) {
    for (const auto& n : kEncodings)
        if (n.encoding == e) return n.name;
    return "";
}

struct ConvertOptions {
    std::string input;
    const OutputFormatDescription* format = nullptr;
    std::optional<TextEncoding> encoding;
    std::string out;
    TimeCorrectionSettings times;
    bool splitOn = false;
    TimeCode splitStart, splitStop;
    PostOcrOptions postOcr;
    std::string dictionaryFolder;
    bool yes = false;
    std::string config;
};

bool parseNumber(const std::string& text, unsigned max, uint16_t& value) {
    unsigned v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end || text.empty() || v > max) return false;
    value = static_cast<uint16_t>(v);
    return true;
}

// "[-]hh:mm:ss,mmm" within the dialog's 0..24 h fields.
bool parseSignedTime(const std::string& text, TimeCode& time, bool& minus) {
    minus = !text.empty() && text[0] == '-';
    const auto t = parseStrictTimeCode(minus ? text.substr(1) : text);
    if (!t || t->hours > 24) return false;
    time = *t;
    return true;
}

std::optional<ConvertOptions> parse(const std::vector<std::string>& args, std::string& error) {
    ConvertOptions o;
    // The post-OCR correction does only what is asked on the command line.
    o.postOcr.repairQuotes = false;
    o.postOcr.repairIl = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return false;
            }
            v = args[++i];
            return true;
        };
        std::string v;
        if (a == "--format") {
            if (!value(v)) return std::nullopt;
            o.format = outputFormatNamed(v);
            if (!o.format) {
                error = "unknown format '" + v + "' (" + outputFormatNames(", ") + ")";
                return std::nullopt;
            }
        } else if (a == "--encoding") {
            if (!value(v)) return std::nullopt;
            for (const auto& n : kEncodings)
                if (v == n.name) o.encoding = n.encoding;
            if (!o.encoding) {
                error = "unknown encoding '" + v + "' (windows-1252 or utf-8)";
                return std::nullopt;
            }
        } else if (a == "--out") {
            if (!value(o.out)) return std::nullopt;
        } else if (a == "--offset" || a == "--stretch") {
            if (!value(v)) return std::nullopt;
            const bool offset = a == "--offset";
            if (!parseSignedTime(v, offset ? o.times.offset : o.times.stretch,
                                 offset ? o.times.minusOffset : o.times.minusStretch)) {
                error = "bad time '" + v + "' for " + a +
                        " (expected [-]hh:mm:ss,mmm, at most 24 hours)";
                return std::nullopt;
            }
        } else if (a == "--duration") {
            if (!value(v)) return std::nullopt;
            o.times.modifyDuration = true;
            bool ok = false;
            if (v.rfind("fixed:", 0) == 0) {
                o.times.durationMethod = DurationMethod::Fixed;
                ok = parseNumber(v.substr(6), 65535, o.times.fixedDuration);
            } else if (v.rfind("prop:", 0) == 0) {
                o.times.durationMethod = DurationMethod::Proportional;
                const auto colon = v.find(':', 5);
                ok = colon != std::string::npos &&
                     parseNumber(v.substr(5, colon - 5), 65535, o.times.offsetDuration) &&
                     parseNumber(v.substr(colon + 1), 65535, o.times.msPerCharacter);
            }
            if (!ok) {
                error = "bad duration '" + v + "' (expected fixed:MS or prop:OFFSET:PERCHAR)";
                return std::nullopt;
            }
        } else if (a == "--min-interval") {
            if (!value(v)) return std::nullopt;
            if (!parseNumber(v, 9999, o.times.minimumInterval)) {
                error = "bad minimum interval '" + v + "' (0..9999 ms)";
                return std::nullopt;
            }
        } else if (a == "--split") {
            if (i + 2 >= args.size()) {
                error = "option --split needs a start and a stop";
                return std::nullopt;
            }
            const auto start = parseStrictTimeCode(args[i + 1]);
            const auto stop = parseStrictTimeCode(args[i + 2]);
            if (!start || !stop) {
                error = "bad split range '" + args[i + 1] + " " + args[i + 2] +
                        "' (expected hh:mm:ss,mmm twice)";
                return std::nullopt;
            }
            o.splitOn = true;
            o.splitStart = *start;
            o.splitStop = *stop;
            i += 2;
        } else if (a == "--fix-quotes") {
            o.postOcr.repairQuotes = true;
        } else if (a == "--fix-il") {
            if (!value(v)) return std::nullopt;
            const auto lang = ilLanguageFromCode(v);
            if (!lang) {
                error = "unknown I/l rules '" + v + "' (en, fr, de or es)";
                return std::nullopt;
            }
            o.postOcr.repairIl = true;
            o.postOcr.language = *lang;
        } else if (a == "--fix-zero-o") {
            o.postOcr.repairZeroO = true;
        } else if (a == "--dictionary") {
            o.postOcr.useDictionary = true;
        } else if (a == "--dictionary-dir") {
            if (!value(o.dictionaryFolder)) return std::nullopt;
        } else if (a == "--config") {
            if (!value(o.config)) return std::nullopt;
        } else if (a == "--yes") {
            o.yes = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (o.input.empty()) {
            o.input = a;
        } else {
            error = "convert reads one file; '" + a + "' is one too many";
            return std::nullopt;
        }
    }
    if (o.input.empty())
        error = "convert needs an input file (.ovt)";
    else if (!o.format)
        error = "convert needs --format";
    else if (o.out.empty())
        error = "convert needs --out FILE";
    else if (o.encoding && !o.format->encodingChoice && *o.encoding != o.format->encoding)
        error =
            std::string(o.format->name) + " files are always " + encodingName(o.format->encoding);
    // The dictionary is the language's whose I/l rules are asked for.
    else if (o.postOcr.useDictionary && !o.postOcr.repairIl)
        error = "--dictionary needs --fix-il LANG";
    if (!error.empty()) return std::nullopt;
    return o;
}

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

}  // namespace

std::string convertUsage() {
    std::string utf8Only;
    for (const OutputFormatDescription& f : outputFormats()) {
        if (f.encodingChoice || f.encoding != TextEncoding::Utf8) continue;
        if (!utf8Only.empty()) utf8Only += ", ";
        utf8Only += f.name;
    }
    return "  orvane-cli convert IN.ovt --format " + outputFormatNames("|") +
           "\n"
           "                 [--encoding windows-1252|utf-8] [--offset [-]T] [--stretch [-]T]\n"
           "                 [--duration fixed:MS|prop:OFFSET:PERCHAR] [--min-interval MS]\n"
           "                 [--split START STOP] [--fix-quotes] [--fix-il en|fr|de|es]\n"
           "                 [--fix-zero-o] [--dictionary] [--dictionary-dir DIR]\n"
           "                 [--yes] [--config FILE] --out FILE\n"
           "      time correction, then post-OCR correction, then the document is saved in the\n"
           "      format with the split range; --yes answers the offset's question (a start\n"
           "      reduced to 00:00:00,000) with Yes for every entry, which a terminal asks and\n"
           "      other input answers No; --encoding is that of the own format (else the\n"
           "      input file's, else the configuration's, else Windows-1252); " +
           utf8Only +
           " files\n"
           "      are UTF-8, the others Windows-1252; --dictionary lets the --fix-il language's\n"
           "      hunspell dictionary (in DIR, default /usr/share/hunspell) choose I or l, and\n"
           "      with --fix-zero-o 0 or O, in each word it knows\n";
}

int runConvert(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
               std::FILE* in) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::fprintf(out, "usage:\n%s", convertUsage().c_str());
        return 0;
    }
    std::string error;
    const auto o = parse(args, error);
    if (!o) {
        std::fprintf(err, "orvane-cli: %s (see orvane-cli --help)\n", error.c_str());
        return 2;
    }
    ConvertUi ui(o->yes, out, err, in);
    Session session(ui);
    // The writers' settings (IAuthor colours, Philips frame rate, ...) are the GUI's.
    if (!loadCliConfiguration(session, o->config, err)) return 1;
    if (!o->dictionaryFolder.empty()) session.setDictionaryFolder(o->dictionaryFolder);
    if (o->postOcr.useDictionary) {
        // Asked for by name: a missing dictionary stops the command before
        // anything is read or written.
        std::string why;
        if (!session.spellingDictionary(o->postOcr.language, &why)) {
            std::fprintf(err, "orvane-cli: %s\n", why.c_str());
            return 1;
        }
    }
    if (!session.readOrvaneFile(o->input)) return 1;  // the reason went to stderr
    SubtitleDocument& doc = session.document();

    const TimeCorrectionReport report = session.correctTimes(o->times);
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
    session.postOcrCorrection(o->postOcr);

    if (o->encoding && o->format->encodingChoice)
        doc.settings().*o->format->encodingChoice = *o->encoding;
    doc.selectFormat(o->format->id);
    if (o->splitOn && !doc.applySplitRange(true, o->splitStart, o->splitStop)) {
        std::fprintf(err, "orvane-cli: %s\n",
                     CliUi::oneLine(session.messages().get(msg::kStopBeforeStart)).c_str());
        return 2;
    }
    if (doc.count() == 0) {
        // An empty result leaves an existing file alone.
        std::fprintf(err, "orvane-cli: no entries; nothing written to %s\n", o->out.c_str());
        return 0;
    }
    try {
        // Saved whole or not at all: converting a file onto itself is safe.
        session.writeDocument(o->out);
    } catch (const IoError& e) {
        std::fprintf(err, "orvane-cli: cannot write %s: %s\n", e.path().c_str(),
                     e.systemMessage().c_str());
        return 1;
    }
    std::fprintf(err, "orvane-cli: %zu entr%s written to %s\n", doc.count(),
                 doc.count() == 1 ? "y" : "ies", o->out.c_str());
    return 0;
}

}  // namespace orvane::cli
