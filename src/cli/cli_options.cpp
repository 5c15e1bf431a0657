#include "cli/cli_options.h"

#include <algorithm>
#include <cctype>

#include "cli/convert_options.h"

namespace orvane::cli {

namespace {

bool parseInt(const std::string& s, int lo, int hi, int& out) {
    if (s.empty() || s.size() > 9) return false;
    int v = 0;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        v = v * 10 + (c - '0');
    }
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

constexpr uint8_t kMaxStartHours = 24;

// The commands as bits, for the set of commands that take an option.
enum CommandBit : unsigned {
    kStreams = 1u << 0,
    kScan = 1u << 1,
    kSup = 1u << 2,
    kBmp = 1u << 3,
    kOcr = 1u << 4,
    kVobsub = 1u << 5,
};
constexpr unsigned kReading = kScan | kSup | kBmp | kOcr | kVobsub;  // they read a stream

constexpr NamedValue<unsigned> kCommands[] = {{"streams", kStreams}, {"scan", kScan},
                                              {"sup", kSup},         {"ocr", kOcr},
                                              {"bmp", kBmp},         {"vobsub", kVobsub}};

constexpr NamedValue<BadHeaderPolicy> kBadHeaderPolicies[] = {
    {"ask", BadHeaderPolicy::Ask},
    {"yes", BadHeaderPolicy::Yes},
    {"yes-to-all", BadHeaderPolicy::YesToAll},
    {"no", BadHeaderPolicy::No}};

// What the options have said so far.
struct Parsing {
    Options options;
    bool streamGiven = false;
};

// One option: its name, whether a value follows it, the commands that take
// it (another command's option is a mistake, not something to ignore
// silently), its lines in --help, and what it does with its value; that
// returns the mistake, empty when there is none. A row without a name is
// --help text between the options.
struct OptionRow {
    const char* name;
    bool takesValue;
    unsigned commands;
    const char* help;
    std::string (*set)(Parsing& p, const std::string& value);
};

std::string setStream(Parsing& p, const std::string& v) {
    if (!parseInt(v, 1, 32, p.options.stream))
        return "bad stream number '" + v + "' (streams are numbered 1 to 32)";
    p.streamGiven = true;
    return {};
}

std::string setStartTime(Parsing& p, const std::string& v) {
    auto& start = p.options.startTime;
    start = parseStrictTimeCode(v);
    // The job dialog's hour field goes to 24: later start times would run
    // past the time codes' 255 hours within a disc.
    if (!start || start->hours > kMaxStartHours)
        return "bad start time '" + v + "' (expected hh:mm:ss,mmm, at most " +
               std::to_string(kMaxStartHours) + " hours)";
    return {};
}

std::string setBadHeaders(Parsing& p, const std::string& v) {
    p.options.badHeaders = valueNamed(kBadHeaderPolicies, v);
    if (!p.options.badHeaders)
        return "bad value '" + v + "' for --bad-headers (" +
               nameList(kBadHeaderPolicies, ", ", " or ") + ")";
    return {};
}

std::string setTitle(Parsing& p, const std::string& v) {
    if (!parseInt(v, 1, 99, p.options.titleSet))
        return "bad title set number '" + v + "' (1 to 99)";
    return {};
}

std::string setOut(Parsing& p, const std::string& v) {
    p.options.out = v;
    return v.empty() ? "--out needs a non-empty base name" : "";
}

std::string setText(Parsing& p, const std::string& v) {
    p.options.text = v;
    return v.empty() ? "--text needs a file name" : "";
}

std::string setTextColour(Parsing& p, const std::string& v) {
    int n = 0;
    if (!parseInt(v, 0, 3, n)) return "bad text colour '" + v + "' (0 to 3)";
    p.options.textColour = n;
    return {};
}

std::string setUnknown(Parsing& p, const std::string& v) {
    const auto policy = valueNamed(unknownGlyphPolicyNames(), v);
    if (!policy)
        return "bad value '" + v + "' for --unknown (" +
               nameList(unknownGlyphPolicyNames(), ", ", " or ") + ")";
    p.options.unknown = *policy;
    return {};
}

std::string setLanguage(Parsing& p, const std::string& v) {
    if (!isEngineLanguage(v))
        return "unknown language '" + v +
               "' (a two-letter code such as en, or the OCR engine's own such as eng)";
    p.options.language = v;
    return {};
}

template <bool Options::*flag, bool value = true>
std::string setFlag(Parsing& p, const std::string&) {
    p.options.*flag = value;
    return {};
}

template <std::string Options::*field>
std::string setString(Parsing& p, const std::string& v) {
    p.options.*field = v;
    return {};
}

// In the order of --help.
const OptionRow kOptions[] = {
    {"--stream", true, kReading,
     "  --stream N     subtitle stream 1..32 (sub-stream id 0x20 + N - 1), default 1\n", setStream},
    {"--start-time", true, kReading,
     "  --start-time   program time of the first pack read (default 00:00:00,000)\n", setStartTime},
    {"--avoid-time-restart", false, kReading,
     "  --avoid-time-restart  carry the time line on when the stream clock restarts\n",
     setFlag<&Options::avoidTimeRestart>},
    {"--bad-headers", true, kReading,
     "  --bad-headers  answer to \"Bad Packet Header\": ask (on a terminal), yes,\n"
     "                 yes-to-all or no (the default when not on a terminal)\n",
     setBadHeaders},
    {"--title", true, kStreams | kReading,
     "  --title N      with a VIDEO_TS folder: title set N (default: the largest)\n", setTitle},
    {"--forced-only", false, kReading,
     "  --forced-only  only the forced subtitles (units with a forced start); the\n"
     "                 others are passed over as if the stream did not hold them\n",
     setFlag<&Options::forcedOnly>},
    {"--config", true, kStreams | kReading,
     "  --config FILE  settings as the GUI keeps them (OCR limits, writers, bitmap\n"
     "                 export, job options); default: Orvane.ini in the program folder\n"
     "                 (~/.config/orvane/ for an installed copy)\n",
     setString<&Options::config>},
    {"--out", true, kSup | kBmp | kOcr | kVobsub,
     "  --out BASE     sup, bmp: files are written as BASE000001.sup (.bmp), "
     "BASE000002.sup, ...\n",
     setOut},
    {nullptr, false, 0,
     "\n"
     "Every command that reads a stream also reads a VobSub pair: give FILE.idx (its\n"
     "FILE.sub beside it) instead of VOB files; --stream N is the index's stream\n"
     "'index: N-1', and the index's timestamps time the units.\n"
     "vobsub writes BASE.idx and BASE.sub: every unit of the stream as collected,\n"
     "with its time, the title's colour table (from the title set IFO) and language.\n"
     "scan ends the line of a forced unit with ' forced'.\n"
     "\n"
     "bmp saves each sub-picture as a BMP file adjusted by the bitmap settings\n"
     "(cropping, colours and palette, positioning):\n",
     nullptr},
    {"--profile", true, kBmp,
     "  --profile FILE.ini  the settings of a profile saved by the bitmap adjustment\n"
     "                      dialog (default: the built-in settings)\n",
     setString<&Options::profile>},
    {"--disc-colours", false, kBmp,
     "  --disc-colours      each role in the disc's own colour of its colour number\n"
     "                      (the title's colour table from its IFO, or the VobSub\n"
     "                      index's palette) instead of the role colours\n",
     setFlag<&Options::discColours>},
    {"--timing", false, kSup | kBmp,
     "  --timing --text OUT.ovt  also save one entry per file, its name as the text,\n"
     "                      with its times and screen rectangle (Orvane format with\n"
     "                      picture coordinates); sup accepts them as well\n",
     setFlag<&Options::timing>},
    {"--text", true, kSup | kBmp, "", setText},  // told with --timing
    {nullptr, false, 0,
     "\n"
     "ocr reads the stream's sub-pictures into text with a character matrix and prints\n"
     "each subtitle as it is added; a summary goes to stderr at the end.\n",
     nullptr},
    {"--matrix", true, kOcr,
     "  --matrix FILE.sum       start from this matrix (default: an empty one); a name\n"
     "                          without a folder that is not in the current folder is\n"
     "                          looked for in the matrix folders (the user's ChMatrix/,\n"
     "                          then the shipped one)\n",
     setString<&Options::matrix>},
    {"--save-matrix", true, kOcr,
     "  --save-matrix FILE.sum  save the matrix there at the end (also after \\stop)\n",
     setString<&Options::saveMatrix>},
    // --out, above, as ocr takes it.
    {nullptr, false, 0,
     "  --out FILE.ovt          save the subtitles in Orvane's format at the end\n", nullptr},
    {"--extended", false, kOcr,
     "  --extended              with picture coordinates on the time lines\n",
     setFlag<&Options::extended>},
    {"--text-colour", true, kOcr,
     "  --text-colour N         take colour number N (0..3) as the text; by default the\n"
     "                          background is the colour of the picture's border and the\n"
     "                          text the most frequent other colour not met first from\n"
     "                          the top (the choice is printed)\n",
     setTextColour},
    {"--unknown", true, kOcr,
     "  --unknown POLICY        what to do with a glyph the matrix does not know:\n"
     "     ask (default)        unless the OCR engine reads it surely (see auto): show\n"
     "                          it on stderr and read one answer line from stdin\n"
     "                          (a terminal or not, so learning can be scripted):\n"
     "                          first a line 'glyph picture=P line=L char=J box=X1,Y1,X2,Y2'\n"
     "                          (the glyph's box on the 720 x 576 screen; it ends with\n"
     "                          ' proposal=TEXT' when the glyph reads as touching known\n"
     "                          glyphs or as the OCR engine doubtfully reads it), then\n"
     "                          the line\n"
     "                          drawn as text ('#' the glyph, '+' other characters, '.'\n"
     "                          background, the glyph framed), then the prompt. The\n"
     "                          answer is the glyph's text, taken literally (at most 20\n"
     "                          characters, UTF-8, that Windows-1252 can hold; empty: the\n"
     "                          glyph reads as nothing), except for a line starting with a\n"
     "                          backslash, which is a command:\n"
     "                            \\accept         take the proposal\n"
     "                            \\skip-line      skip the rest of this line\n"
     "                            \\skip-picture   skip this sub-picture\n"
     "                            \\search         look for a matrix in the matrix folders\n"
     "                                            that knows the glyph\n"
     "                            \\stop           stop here and save what was learned\n"
     "                          and '\\\\' at the start stands for one backslash. At the end\n"
     "                          of input every further unknown glyph skips its picture.\n"
     "     auto                 never stop: read the glyph as touching known glyphs,\n"
     "                          else as the OCR engine (Tesseract) reads it in its\n"
     "                          line, else write the mark character; a glyph the engine\n"
     "                          read the same way on two lines is learned\n"
     "     skip-line, skip-picture   answer every unknown glyph so\n"
     "     mark                 never stop: read the glyph as touching known glyphs, else\n"
     "                          write the mark character instead; learn nothing\n",
     setUnknown},
    {"--mark-char", true, kOcr, "  --mark-char C           the mark character (default '#')\n",
     setString<&Options::markChar>},
    {"--no-engine", false, kOcr,
     "  --no-engine             no OCR engine for unknown glyphs: ask asks about every\n"
     "                          one, auto marks them\n",
     setFlag<&Options::engine, false>},
    {"--language", true, kOcr,
     "  --language CODE         the OCR engine's language (en, fr, de, es... or the\n"
     "                          engine's eng, fra...); default: the stream's language\n"
     "                          in the title set's IFO, else English\n",
     setLanguage},
};

const OptionRow* optionNamed(const std::string& name) {
    for (const OptionRow& row : kOptions)
        if (row.name && name == row.name) return &row;
    return nullptr;
}

// What a command needs besides its options, and options that only make
// sense together; the mistake, empty when there is none.
std::string missingForCommand(const Parsing& p) {
    const Options& o = p.options;
    if (o.inputs.empty())
        return o.command == "streams" ? "no IFO or VobSub index given" : "no VOB file given";
    if (o.command == "streams" && o.inputs.size() != 1) return "streams takes one IFO file";
    if (o.command == "vobsub" || o.command == "sup" || o.command == "bmp") {
        if (!p.streamGiven) return o.command + " needs --stream N";
        if (o.out.empty()) return o.command + " needs --out BASE";
    }
    // The entries are only worth making when they are saved.
    if ((o.command == "sup" || o.command == "bmp") && o.timing != !o.text.empty())
        return o.timing ? "--timing needs --text OUT.ovt" : "--text needs --timing";
    if ((o.timing || !o.text.empty()) && o.command != "sup" && o.command != "bmp")
        return "--timing and --text are for bmp and sup only";
    if (!o.profile.empty() && o.command != "bmp") return "--profile is for bmp only";
    return {};
}

}  // namespace

std::optional<TimeCode> parseStrictTimeCode(const std::string& text) {
    // h+:mm:ss,mmm
    const auto c1 = text.find(':');
    if (c1 == std::string::npos || c1 == 0) return std::nullopt;
    int h, m, s, ms;
    if (!parseInt(text.substr(0, c1), 0, 255, h)) return std::nullopt;
    const std::string rest = text.substr(c1 + 1);
    if (rest.size() != 9 || rest[2] != ':' || (rest[5] != ',' && rest[5] != '.'))
        return std::nullopt;
    if (!parseInt(rest.substr(0, 2), 0, 59, m) || !parseInt(rest.substr(3, 2), 0, 59, s) ||
        !parseInt(rest.substr(6, 3), 0, 999, ms)) {
        return std::nullopt;
    }
    return TimeCode{static_cast<uint8_t>(h), static_cast<uint8_t>(m), static_cast<uint8_t>(s),
                    static_cast<uint16_t>(ms)};
}

std::string usage() {
    std::string text =
        "usage:\n"
        "  orvane-cli streams VTS_xx_0.IFO|VIDEO_TS|FILE.idx\n"
        "  orvane-cli ocr [--stream N] [--matrix FILE.sum] [--save-matrix FILE.sum] [--out "
        "FILE.ovt]\n"
        "                 [--extended] [--text-colour 0..3] [--unknown " +
        nameList(unknownGlyphPolicyNames(), "|", "|") +
        "]\n"
        "                 [--mark-char C] [--no-engine] [--language CODE] [--start-time T] "
        "[--avoid-time-restart] "
        "[--bad-headers ...]\n"
        "                 [--title N] FILE.VOB...|VIDEO_TS\n"
        "  orvane-cli scan [--stream N] [--start-time hh:mm:ss,mmm] [--avoid-time-restart]\n"
        "                  [--bad-headers " +
        nameList(kBadHeaderPolicies, "|", "|") +
        "] [--title N] "
        "FILE.VOB...|VIDEO_TS\n"
        "  orvane-cli sup --stream N --out BASE [--start-time T] [--avoid-time-restart]\n"
        "                 [--bad-headers ...] [--title N] FILE.VOB...|VIDEO_TS\n"
        "  orvane-cli bmp --stream N --out BASE [--profile FILE.ini] [--disc-colours]\n"
        "                 [--timing --text OUT.ovt]\n"
        "                 [--start-time T] [--avoid-time-restart] [--bad-headers ...] "
        "[--title N]\n"
        "                 FILE.VOB...|VIDEO_TS\n"
        "  orvane-cli vobsub --stream N --out BASE [--start-time T] [--avoid-time-restart]\n"
        "                 [--bad-headers ...] [--title N] FILE.VOB...|VIDEO_TS\n" +
        convertUsage() + "\n";
    for (const OptionRow& row : kOptions) text += row.help;
    return text;
}

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error) {
    if (args.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    Parsing p;
    Options& o = p.options;
    o.command = args[0];
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        o.help = true;
        return o;
    }
    const auto command = valueNamed(kCommands, o.command);
    if (!command) {
        error = "unknown command '" + o.command + "'";
        return std::nullopt;
    }
    std::vector<const OptionRow*> given;  // checked against the command once all are read
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const OptionRow* row = optionNamed(a);
        if (!row) {
            if (a.size() > 1 && a[0] == '-' && a != "-") {
                error = "unknown option '" + a + "'";
                return std::nullopt;
            }
            o.inputs.push_back(a);
            continue;
        }
        given.push_back(row);
        if (row->takesValue && i + 1 >= args.size()) {
            error = "option " + a + " needs a value";
            return std::nullopt;
        }
        std::string mistake = row->set(p, row->takesValue ? args[++i] : std::string());
        if (!mistake.empty()) {
            error = std::move(mistake);
            return std::nullopt;
        }
    }
    for (const OptionRow* row : given) {
        if (!(row->commands & *command)) {
            error = "option " + std::string(row->name) + " is not an option of " + o.command;
            return std::nullopt;
        }
    }
    error = missingForCommand(p);
    if (!error.empty()) return std::nullopt;
    return o;
}

}  // namespace orvane::cli
