#include "cli/cli_options.h"

#include "cli/cli_convert.h"
#include "ocr/text_engine.h"

#include <algorithm>
#include <cctype>

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

// Which command takes which option; one that another command takes is a
// mistake, not something to ignore silently.
bool optionBelongsTo(const std::string& option, const std::string& command) {
    static const char* const kJob[] = {"--stream",      "--start-time", "--avoid-time-restart",
                                       "--bad-headers", "--title",      "--config",
                                       "--forced-only"};
    static const char* const kFiles[] = {"--out", "--timing", "--text"};
    static const char* const kOcr[] = {"--matrix",    "--save-matrix", "--out",
                                       "--extended",  "--text-colour", "--unknown",
                                       "--mark-char", "--no-engine",   "--language"};
    auto in = [&](const auto& list) {
        for (const char* o : list)
            if (option == o) return true;
        return false;
    };
    if (command == "streams") return option == "--title" || option == "--config";
    if (in(kJob)) return true;
    if (command == "sup") return in(kFiles);
    if (command == "bmp") return in(kFiles) || option == "--profile" || option == "--disc-colours";
    if (command == "ocr") return in(kOcr);
    if (command == "vobsub") return option == "--out";
    return false;  // scan
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
    return "usage:\n"
           "  orvane-cli streams VTS_xx_0.IFO|VIDEO_TS|FILE.idx\n"
           "  orvane-cli ocr [--stream N] [--matrix FILE.sum] [--save-matrix FILE.sum] [--out "
           "FILE.ovt]\n"
           "                 [--extended] [--text-colour 0..3] [--unknown "
           "ask|auto|skip-line|skip-picture|mark]\n"
           "                 [--mark-char C] [--no-engine] [--language CODE] [--start-time T] "
           "[--avoid-time-restart] "
           "[--bad-headers ...]\n"
           "                 [--title N] FILE.VOB...|VIDEO_TS\n"
           "  orvane-cli scan [--stream N] [--start-time hh:mm:ss,mmm] [--avoid-time-restart]\n"
           "                  [--bad-headers ask|yes|yes-to-all|no] [--title N] "
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
           convertUsage() +
           "\n"
           "  --stream N     subtitle stream 1..32 (sub-stream id 0x20 + N - 1), default 1\n"
           "  --start-time   program time of the first pack read (default 00:00:00,000)\n"
           "  --avoid-time-restart  carry the time line on when the stream clock restarts\n"
           "  --bad-headers  answer to \"Bad Packet Header\": ask (on a terminal), yes,\n"
           "                 yes-to-all or no (the default when not on a terminal)\n"
           "  --title N      with a VIDEO_TS folder: title set N (default: the largest)\n"
           "  --forced-only  only the forced subtitles (units with a forced start); the\n"
           "                 others are passed over as if the stream did not hold them\n"
           "  --config FILE  settings as the GUI keeps them (OCR limits, writers, bitmap\n"
           "                 export, job options); default: Orvane.ini in the program folder\n"
           "                 (~/.config/orvane/ for an installed copy)\n"
           "  --out BASE     sup, bmp: files are written as BASE000001.sup (.bmp), "
           "BASE000002.sup, ...\n"
           "\n"
           "Every command that reads a stream also reads a VobSub pair: give FILE.idx (its\n"
           "FILE.sub beside it) instead of VOB files; --stream N is the index's stream\n"
           "'index: N-1', and the index's timestamps time the units.\n"
           "vobsub writes BASE.idx and BASE.sub: every unit of the stream as collected,\n"
           "with its time, the title's colour table (from the title set IFO) and language.\n"
           "scan ends the line of a forced unit with ' forced'.\n"
           "\n"
           "bmp saves each sub-picture as a BMP file adjusted by the bitmap settings\n"
           "(cropping, colours and palette, positioning):\n"
           "  --profile FILE.ini  the settings of a profile saved by the bitmap adjustment\n"
           "                      dialog (default: the built-in settings)\n"
           "  --disc-colours      each role in the disc's own colour of its colour number\n"
           "                      (the title's colour table from its IFO, or the VobSub\n"
           "                      index's palette) instead of the role colours\n"
           "  --timing --text OUT.ovt  also save one entry per file, its name as the text,\n"
           "                      with its times and screen rectangle (Orvane format with\n"
           "                      picture coordinates); sup accepts them as well\n"
           "\n"
           "ocr reads the stream's sub-pictures into text with a character matrix and prints\n"
           "each subtitle as it is added; a summary goes to stderr at the end.\n"
           "  --matrix FILE.sum       start from this matrix (default: an empty one); a name\n"
           "                          without a folder that is not in the current folder is\n"
           "                          looked for in the matrix folders (the user's ChMatrix/,\n"
           "                          then the shipped one)\n"
           "  --save-matrix FILE.sum  save the matrix there at the end (also after \\stop)\n"
           "  --out FILE.ovt          save the subtitles in Orvane's format at the end\n"
           "  --extended              with picture coordinates on the time lines\n"
           "  --text-colour N         take colour number N (0..3) as the text; by default the\n"
           "                          background is the colour of the picture's border and the\n"
           "                          text the most frequent other colour not met first from\n"
           "                          the top (the choice is printed)\n"
           "  --unknown POLICY        what to do with a glyph the matrix does not know:\n"
           "     ask (default)        unless the OCR engine reads it surely (see auto): show\n"
           "                          it on stderr and read one answer line from stdin\n"
           "                          (a terminal or not, so learning can be scripted):\n"
           "                          first a line 'glyph picture=P line=L char=J "
           "box=X1,Y1,X2,Y2'\n"
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
           "                            \\search         look for a matrix in the matrix "
           "folders\n"
           "                                            that knows the glyph\n"
           "                            \\stop           stop here and save what was learned\n"
           "                          and '\\\\' at the start stands for one backslash. At the "
           "end\n"
           "                          of input every further unknown glyph skips its picture.\n"
           "     auto                 never stop: read the glyph as touching known glyphs,\n"
           "                          else as the OCR engine (Tesseract) reads it in its\n"
           "                          line, else write the mark character; a glyph the engine\n"
           "                          read the same way on two lines is learned\n"
           "     skip-line, skip-picture   answer every unknown glyph so\n"
           "     mark                 never stop: read the glyph as touching known glyphs, else\n"
           "                          write the mark character instead; learn nothing\n"
           "  --mark-char C           the mark character (default '#')\n"
           "  --no-engine             no OCR engine for unknown glyphs: ask asks about every\n"
           "                          one, auto marks them\n"
           "  --language CODE         the OCR engine's language (en, fr, de, es... or the\n"
           "                          engine's eng, fra...); default: the stream's language\n"
           "                          in the title set's IFO, else English\n";
}

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    if (args.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    o.command = args[0];
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        o.help = true;
        return o;
    }
    if (o.command != "streams" && o.command != "scan" && o.command != "sup" && o.command != "ocr" &&
        o.command != "bmp" && o.command != "vobsub") {
        error = "unknown command '" + o.command + "'";
        return std::nullopt;
    }
    bool streamGiven = false;
    std::vector<std::string> given;  // the options used, to check them against the command
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) given.push_back(a);
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--stream") {
            if (!value(v)) return std::nullopt;
            if (!parseInt(v, 1, 32, o.stream)) {
                error = "bad stream number '" + v + "' (streams are numbered 1 to 32)";
                return std::nullopt;
            }
            streamGiven = true;
        } else if (a == "--start-time") {
            if (!value(v)) return std::nullopt;
            o.startTime = parseStrictTimeCode(v);
            // The job dialog's hour field goes to 24: later start times
            // would run past the time codes' 255 hours within a disc.
            if (!o.startTime || o.startTime->hours > kMaxStartHours) {
                error = "bad start time '" + v + "' (expected hh:mm:ss,mmm, at most " +
                        std::to_string(kMaxStartHours) + " hours)";
                return std::nullopt;
            }
        } else if (a == "--avoid-time-restart") {
            o.avoidTimeRestart = true;
        } else if (a == "--forced-only") {
            o.forcedOnly = true;
        } else if (a == "--bad-headers") {
            if (!value(v)) return std::nullopt;
            if (v == "ask")
                o.badHeaders = BadHeaderPolicy::Ask;
            else if (v == "yes")
                o.badHeaders = BadHeaderPolicy::Yes;
            else if (v == "yes-to-all")
                o.badHeaders = BadHeaderPolicy::YesToAll;
            else if (v == "no")
                o.badHeaders = BadHeaderPolicy::No;
            else {
                error = "bad value '" + v + "' for --bad-headers (ask, yes, yes-to-all or no)";
                return std::nullopt;
            }
        } else if (a == "--out") {
            if (!value(o.out)) return std::nullopt;
            if (o.out.empty()) {
                error = "--out needs a non-empty base name";
                return std::nullopt;
            }
        } else if (a == "--matrix") {
            if (!value(o.matrix)) return std::nullopt;
        } else if (a == "--save-matrix") {
            if (!value(o.saveMatrix)) return std::nullopt;
        } else if (a == "--extended") {
            o.extended = true;
        } else if (a == "--text-colour") {
            if (!value(v)) return std::nullopt;
            int n = 0;
            if (!parseInt(v, 0, 3, n)) {
                error = "bad text colour '" + v + "' (0 to 3)";
                return std::nullopt;
            }
            o.textColour = n;
        } else if (a == "--unknown") {
            if (!value(v)) return std::nullopt;
            if (v == "ask")
                o.unknown = UnknownGlyphPolicy::Ask;
            else if (v == "skip-line")
                o.unknown = UnknownGlyphPolicy::SkipLine;
            else if (v == "skip-picture")
                o.unknown = UnknownGlyphPolicy::SkipPicture;
            else if (v == "mark")
                o.unknown = UnknownGlyphPolicy::Mark;
            else if (v == "auto")
                o.unknown = UnknownGlyphPolicy::Auto;
            else {
                error = "bad value '" + v +
                        "' for --unknown (ask, auto, skip-line, skip-picture or mark)";
                return std::nullopt;
            }
        } else if (a == "--mark-char") {
            if (!value(o.markChar)) return std::nullopt;
        } else if (a == "--no-engine") {
            o.engine = false;
        } else if (a == "--language") {
            if (!value(v)) return std::nullopt;
            if (engineLanguageCode(v).empty()) {
                error = "unknown language '" + v +
                        "' (a two-letter code such as en, or the "
                        "OCR engine's own such as eng)";
                return std::nullopt;
            }
            o.language = v;
        } else if (a == "--config") {
            if (!value(o.config)) return std::nullopt;
        } else if (a == "--disc-colours") {
            o.discColours = true;
        } else if (a == "--profile") {
            if (!value(o.profile)) return std::nullopt;
        } else if (a == "--timing") {
            o.timing = true;
        } else if (a == "--text") {
            if (!value(o.text)) return std::nullopt;
            if (o.text.empty()) {
                error = "--text needs a file name";
                return std::nullopt;
            }
        } else if (a == "--title") {
            if (!value(v)) return std::nullopt;
            if (!parseInt(v, 1, 99, o.titleSet)) {
                error = "bad title set number '" + v + "' (1 to 99)";
                return std::nullopt;
            }
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            error = "unknown option '" + a + "'";
            return std::nullopt;
        } else {
            o.inputs.push_back(a);
        }
    }
    for (const std::string& a : given) {
        if (!optionBelongsTo(a, o.command)) {
            error = "option " + a + " is not an option of " + o.command;
            return std::nullopt;
        }
    }
    if (o.inputs.empty()) {
        error = o.command == "streams" ? "no IFO or VobSub index given" : "no VOB file given";
        return std::nullopt;
    }
    if (o.command == "streams" && o.inputs.size() != 1) {
        error = "streams takes one IFO file";
        return std::nullopt;
    }
    if (o.command == "vobsub") {
        if (!streamGiven) {
            error = "vobsub needs --stream N";
            return std::nullopt;
        }
        if (o.out.empty()) {
            error = "vobsub needs --out BASE";
            return std::nullopt;
        }
    }
    if (o.command == "sup" || o.command == "bmp") {
        if (!streamGiven) {
            error = o.command + " needs --stream N";
            return std::nullopt;
        }
        if (o.out.empty()) {
            error = o.command + " needs --out BASE";
            return std::nullopt;
        }
        // The entries are only worth making when they are saved.
        if (o.timing != !o.text.empty()) {
            error = o.timing ? "--timing needs --text OUT.ovt" : "--text needs --timing";
            return std::nullopt;
        }
    }
    if ((o.timing || !o.text.empty()) && o.command != "sup" && o.command != "bmp") {
        error = "--timing and --text are for bmp and sup only";
        return std::nullopt;
    }
    if (!o.profile.empty() && o.command != "bmp") {
        error = "--profile is for bmp only";
        return std::nullopt;
    }
    return o;
}

}  // namespace orvane::cli
