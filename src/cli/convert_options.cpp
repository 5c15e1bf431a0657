#include "cli/convert_options.h"

#include <charconv>

#include "cli/cli_options.h"

namespace orvane::cli {

namespace {

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

// One option of convert: its name, how many values follow it, its words in
// the usage (a line ends after a '\n'), and what it does with its values;
// that returns the mistake, empty when there is none.
struct ConvertOptionRow {
    const char* name;
    int values;
    const char* help;
    std::string (*set)(ConvertOptions& o, const std::string* values);
    const char* missing = "a value";  // for "option NAME needs ..."
};

std::string setFormat(ConvertOptions& o, const std::string* v) {
    o.format = outputFormatNamed(*v);
    if (!o.format) return "unknown format '" + *v + "' (" + outputFormatNames(", ") + ")";
    return {};
}

std::string setEncoding(ConvertOptions& o, const std::string* v) {
    o.encoding = valueNamed(textEncodingNames(), *v);
    if (!o.encoding)
        return "unknown encoding '" + *v + "' (" + nameList(textEncodingNames(), ", ", " or ") +
               ")";
    return {};
}

std::string badTime(const std::string& v, const char* option) {
    return "bad time '" + v + "' for " + option + " (expected [-]hh:mm:ss,mmm, at most 24 hours)";
}

std::string setOffset(ConvertOptions& o, const std::string* v) {
    if (!parseSignedTime(*v, o.times.offset, o.times.minusOffset)) return badTime(*v, "--offset");
    return {};
}

std::string setStretch(ConvertOptions& o, const std::string* v) {
    if (!parseSignedTime(*v, o.times.stretch, o.times.minusStretch))
        return badTime(*v, "--stretch");
    return {};
}

std::string setDuration(ConvertOptions& o, const std::string* value) {
    const std::string& v = *value;
    TimeCorrectionSettings& t = o.times;
    t.modifyDuration = true;
    bool ok = false;
    if (v.rfind("fixed:", 0) == 0) {
        t.durationMethod = DurationMethod::Fixed;
        ok = parseNumber(v.substr(6), 65535, t.fixedDuration);
    } else if (v.rfind("prop:", 0) == 0) {
        t.durationMethod = DurationMethod::Proportional;
        const auto colon = v.find(':', 5);
        ok = colon != std::string::npos &&
             parseNumber(v.substr(5, colon - 5), 65535, t.offsetDuration) &&
             parseNumber(v.substr(colon + 1), 65535, t.msPerCharacter);
    }
    if (!ok) return "bad duration '" + v + "' (expected fixed:MS or prop:OFFSET:PERCHAR)";
    return {};
}

std::string setMinInterval(ConvertOptions& o, const std::string* v) {
    if (!parseNumber(*v, 9999, o.times.minimumInterval))
        return "bad minimum interval '" + *v + "' (0..9999 ms)";
    return {};
}

std::string setSplit(ConvertOptions& o, const std::string* v) {
    const auto start = parseStrictTimeCode(v[0]);
    const auto stop = parseStrictTimeCode(v[1]);
    if (!start || !stop)
        return "bad split range '" + v[0] + " " + v[1] + "' (expected hh:mm:ss,mmm twice)";
    o.splitOn = true;
    o.splitStart = *start;
    o.splitStop = *stop;
    return {};
}

std::string setFixIl(ConvertOptions& o, const std::string* v) {
    const auto lang = ilLanguageFromCode(*v);
    if (!lang) return "unknown I/l rules '" + *v + "' (en, fr, de or es)";
    o.postOcr.repairIl = true;
    o.postOcr.language = *lang;
    return {};
}

template <bool ConvertOptions::*flag>
std::string setFlag(ConvertOptions& o, const std::string*) {
    o.*flag = true;
    return {};
}

template <bool PostOcrOptions::*flag>
std::string setRepair(ConvertOptions& o, const std::string*) {
    o.postOcr.*flag = true;
    return {};
}

template <std::string ConvertOptions::*field>
std::string setString(ConvertOptions& o, const std::string* v) {
    o.*field = *v;
    return {};
}

// In the order of the usage; --format is named on its first line.
const ConvertOptionRow kConvertOptions[] = {
    {"--format", 1, "", setFormat},
    {"--encoding", 1, "[--encoding windows-1252|utf-8] ", setEncoding},
    {"--offset", 1, "[--offset [-]T] ", setOffset},
    {"--stretch", 1, "[--stretch [-]T]\n", setStretch},
    {"--duration", 1, "[--duration fixed:MS|prop:OFFSET:PERCHAR] ", setDuration},
    {"--min-interval", 1, "[--min-interval MS]\n", setMinInterval},
    {"--split", 2, "[--split START STOP] ", setSplit, "a start and a stop"},
    {"--fix-quotes", 0, "[--fix-quotes] ", setRepair<&PostOcrOptions::repairQuotes>},
    {"--fix-il", 1, "[--fix-il en|fr|de|es]\n", setFixIl},
    {"--fix-zero-o", 0, "[--fix-zero-o] ", setRepair<&PostOcrOptions::repairZeroO>},
    {"--dictionary", 0, "[--dictionary] ", setRepair<&PostOcrOptions::useDictionary>},
    {"--dictionary-dir", 1, "[--dictionary-dir DIR]\n",
     setString<&ConvertOptions::dictionaryFolder>},
    {"--yes", 0, "[--yes] ", setFlag<&ConvertOptions::yes>},
    {"--config", 1, "[--config FILE] ", setString<&ConvertOptions::config>},
    {"--out", 1, "--out FILE", setString<&ConvertOptions::out>},
};

const ConvertOptionRow* convertOptionNamed(const std::string& name) {
    for (const ConvertOptionRow& row : kConvertOptions)
        if (name == row.name) return &row;
    return nullptr;
}

// What convert needs once every word is read; the mistake, empty when there
// is none.
std::string missingForConvert(const ConvertOptions& o) {
    if (o.input.empty()) return "convert needs an input file (.ovt)";
    if (!o.format) return "convert needs --format";
    if (o.out.empty()) return "convert needs --out FILE";
    if (o.encoding && !o.format->encodingChoice && *o.encoding != o.format->encoding)
        return std::string(o.format->name) + " files are always " +
               textEncodingName(o.format->encoding);
    // The dictionary is the language's whose I/l rules are asked for.
    if (o.postOcr.useDictionary && !o.postOcr.repairIl) return "--dictionary needs --fix-il LANG";
    return {};
}

}  // namespace

std::optional<ConvertOptions> parseConvertOptions(const std::vector<std::string>& args,
                                                  std::string& error) {
    ConvertOptions o;
    // The post-OCR correction does only what is asked on the command line.
    o.postOcr.repairQuotes = false;
    o.postOcr.repairIl = false;
    std::string mistake;
    for (size_t i = 0; i < args.size() && mistake.empty(); ++i) {
        const std::string& a = args[i];
        if (const ConvertOptionRow* row = convertOptionNamed(a)) {
            const auto values = static_cast<size_t>(row->values);
            if (values > 0 && i + values >= args.size())
                mistake = "option " + a + " needs " + row->missing;
            else
                mistake = row->set(o, args.data() + i + 1);
            i += values;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            mistake = "unknown option " + a;
        } else if (o.input.empty()) {
            o.input = a;
        } else {
            mistake = "convert reads one file; '" + a + "' is one too many";
        }
    }
    if (mistake.empty()) mistake = missingForConvert(o);
    if (!mistake.empty()) {
        error = std::move(mistake);
        return std::nullopt;
    }
    return o;
}

std::string convertUsage() {
    std::string utf8Only;
    for (const OutputFormatDescription& f : outputFormats()) {
        if (f.encodingChoice || f.encoding != TextEncoding::Utf8) continue;
        if (!utf8Only.empty()) utf8Only += ", ";
        utf8Only += f.name;
    }
    std::string text = "  orvane-cli convert IN.ovt --format " + outputFormatNames("|") + "\n";
    const std::string indent(17, ' ');
    text += indent;
    for (const ConvertOptionRow& row : kConvertOptions) {
        text += row.help;
        if (text.back() == '\n') text += indent;
    }
    return text +
           "\n"
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

}  // namespace orvane::cli
