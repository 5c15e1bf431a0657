#include "cli/cli_ui.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>

#include "common/text_encoding.h"
#include "subpicture/unit_times.h"
#include "subtitles/orvane_format.h"

namespace orvane::cli {

namespace {

volatile std::sig_atomic_t stopSignal = 0;
constexpr std::array<int, 3> kStopSignals = {SIGTERM, SIGINT, SIGHUP};

extern "C" void onStopSignal(int sig) {
    stopSignal = sig;
}

}  // namespace

StopSignals::StopSignals() {
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no SA_RESTART: a pending read of an answer ends
    stopSignal = 0;
    for (size_t i = 0; i < kStopSignals.size(); ++i) sigaction(kStopSignals[i], &sa, &old_[i]);
}

StopSignals::~StopSignals() {
    for (size_t i = 0; i < kStopSignals.size(); ++i) sigaction(kStopSignals[i], &old_[i], nullptr);
}

int stopSignalReceived() {
    return stopSignal;
}

namespace {
constexpr size_t kMaxGlyphText = 20;
}

std::string CliUi::oneLine(const std::string& text) {
    std::string s = cp1252ToUtf8(text);
    for (char& c : s) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return s;
}

std::string CliUi::unitLine(const UnitReport& r) {
    char buf[256];
    const DisplayArea a = r.picture ? r.picture->area : DisplayArea{};
    const size_t sequences = r.picture ? r.picture->sequences.size() : 0;
    std::snprintf(buf, sizeof buf, "%06d %s %s area=%d,%d,%d,%d sequences=%zu size=%zu",
                  r.unitsInJob, formatTimeCode(r.times.start).c_str(),
                  formatTimeCode(r.times.stop).c_str(), a.x1, a.y1, a.x2, a.y2, sequences,
                  r.bytes.size());
    std::string line = buf;
    if (r.picture && isForcedUnit(*r.picture)) line += " forced";
    return line;
}

bool CliUi::readLine(std::string& line) {
    line.clear();
    if (inputEnded_) return false;
    int c;
    bool any = false;
    while ((c = std::fgetc(in_)) != EOF) {
        any = true;
        if (c == '\n') break;
        line += static_cast<char>(c);
    }
    if (!any) {
        inputEnded_ = true;
        return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

Answer CliUi::messageBox(QuestionId id, MessageIcon, const std::string& text, Buttons buttons) {
    switch (id) {
        case QuestionId::BadPacketHeader: {
            BadHeaderPolicy p = badHeaders_;
            if (p == BadHeaderPolicy::Ask) {
                std::fprintf(err_, "%s [y]es/[n]o/[a]ll? ", oneLine(text).c_str());
                std::fflush(err_);
                std::string line;
                if (!readLine(line)) return Answer::No;
                if (!line.empty() && (line[0] == 'y' || line[0] == 'Y')) return Answer::Yes;
                if (!line.empty() && (line[0] == 'a' || line[0] == 'A')) return Answer::YesToAll;
                return Answer::No;
            }
            std::fprintf(err_, "orvane-cli: %s %s\n", oneLine(text).c_str(),
                         p == BadHeaderPolicy::No
                             ? "No (file skipped; --bad-headers yes-to-all goes on)"
                         : p == BadHeaderPolicy::Yes ? "Yes"
                                                     : "Yes to all");
            return p == BadHeaderPolicy::No    ? Answer::No
                   : p == BadHeaderPolicy::Yes ? Answer::Yes
                                               : Answer::YesToAll;
        }
        case QuestionId::FileError:
        case QuestionId::IoFailure:
            ++fileErrors_;
            std::fprintf(err_, "orvane-cli: %s\n", oneLine(text).c_str());
            return Answer::Ok;
        case QuestionId::MatrixSearchFound: {
            std::fprintf(err_, "%s [y]es/[n]o? ", oneLine(text).c_str());
            std::fflush(err_);
            std::string line;
            if (readLine(line) && !line.empty() && (line[0] == 'y' || line[0] == 'Y'))
                return Answer::Yes;
            return Answer::No;
        }
        default:
            // Notices (and questions no CLI flow asks) are shown and taken
            // with the button that changes nothing.
            std::fprintf(err_, "orvane-cli: %s\n", oneLine(text).c_str());
            switch (buttons) {
                case Buttons::YesNo:
                case Buttons::YesNoCancel:
                case Buttons::YesNoYesToAll:
                    return Answer::No;
                case Buttons::CancelIgnoreYesToAll:
                    return Answer::Ignore;
                default:
                    return Answer::Ok;
            }
    }
}

std::string CliUi::askSaveFileName(const FileDialog&) {
    return saveName_;
}

std::optional<uint8_t> CliUi::chooseTextColour(const Image24&, const ColourRanking& proposal) {
    // The CLI sets a colour policy that needs no person; take the proposal.
    return proposal[1];
}

void CliUi::textColourChosen(uint8_t n, bool automatic, const ColourRanking& detected) {
    if (colourReported_) return;
    colourReported_ = true;
    std::fprintf(err_, "orvane-cli: text colour %u (%s; the font colour dialog would propose %u)\n",
                 unsigned{n}, automatic ? "automatic" : "--text-colour", unsigned{detected[1]});
}

std::string CliUi::glyphHeader(const NewCharacterView& v) {
    const int x1 = v.area.x1 + v.crop.left + v.box.left;
    const int y1 = v.area.y1 + v.crop.top + v.box.top;
    char buf[160];
    std::snprintf(buf, sizeof buf, "glyph picture=%d line=%d char=%d box=%d,%d,%d,%d", v.unitNumber,
                  v.lineNumber, v.charNumber, x1, y1, x1 + v.box.width - 1, y1 + v.box.height - 1);
    std::string header = buf;
    if (!v.proposal.empty()) header += " proposal=" + cp1252ToUtf8(v.proposal);
    return header;
}

std::string CliUi::drawBand(const NewCharacterView& v) {
    const CharBox& b = v.box;
    const Colour mark = markColourOf(v.charNumber);
    // A window of at most 78 columns around the glyph, one more cell each
    // side for the frame.
    const int centre = b.left + b.width / 2;
    const int half = std::max(39, b.width / 2 + 2);
    const int x0 = std::max(0, centre - half);
    const int x1 = std::min(v.painted.width() - 1, centre + half);
    const int y0 = std::min<int>(v.line.top, b.top);
    const int y1 = std::max<int>(v.line.bottom, b.bottom());
    std::string out;
    for (int y = y0 - 1; y <= y1 + 1; ++y) {
        for (int x = x0 - 1; x <= x1 + 1; ++x) {
            const bool onFrameRow =
                (y == b.top - 1 || y == b.bottom() + 1) && x >= b.left - 1 && x <= b.right() + 1;
            const bool onFrameCol =
                (x == b.left - 1 || x == b.right() + 1) && y >= b.top - 1 && y <= b.bottom() + 1;
            char c = ' ';
            if (onFrameRow && onFrameCol) {
                c = '+';
            } else if (onFrameRow) {
                c = '-';
            } else if (onFrameCol) {
                c = '|';
            } else if (x >= 0 && y >= 0 && x < v.painted.width() && y < v.painted.height()) {
                const Colour p = v.painted.pixel(x, y);
                const bool inBox = x >= b.left && x <= b.right() && y >= b.top && y <= b.bottom();
                if (p == mark && inBox)
                    c = '#';
                else if (p == kMarkColourA || p == kMarkColourB)
                    c = '+';
                else
                    c = '.';
            }
            out += c;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        out += '\n';
    }
    return out;
}

std::optional<NewCharChoice> CliUi::parseAnswer(const std::string& line, std::FILE* err,
                                                const std::string& proposal) {
    NewCharChoice choice;
    std::string text = line;
    if (!line.empty() && line[0] == '\\') {
        if (line.size() > 1 && line[1] == '\\') {
            text = line.substr(1);
        } else if (line == "\\skip-line") {
            return NewCharChoice{NewCharAction::SkipLine, {}};
        } else if (line == "\\skip-picture") {
            return NewCharChoice{NewCharAction::SkipPicture, {}};
        } else if (line == "\\search") {
            return NewCharChoice{NewCharAction::SearchMatrix, {}};
        } else if (line == "\\stop") {
            return NewCharChoice{NewCharAction::Pause, {}};
        } else if (line == "\\accept") {
            if (!proposal.empty()) return NewCharChoice{NewCharAction::Accept, proposal};
            std::fprintf(err, "no proposal for this glyph; type its text\n");
            return std::nullopt;
        } else {
            std::fprintf(err,
                         "unknown command '%s' (\\accept, \\skip-line, \\skip-picture, \\search, "
                         "\\stop; '\\\\' for a backslash)\n",
                         line.c_str());
            return std::nullopt;
        }
    }
    const std::string cp = utf8ToCp1252(text);
    // '?' in the result that the answer did not hold is a character
    // Windows-1252 lacks (or broken UTF-8).
    if (std::count(cp.begin(), cp.end(), '?') != std::count(text.begin(), text.end(), '?')) {
        std::fprintf(err, "'%s' holds a character that Windows-1252 cannot hold; type it again\n",
                     text.c_str());
        return std::nullopt;
    }
    // A zero byte would end the text in the matrix file; other control
    // bytes have no glyph.
    if (std::any_of(cp.begin(), cp.end(), [](char c) { return static_cast<uint8_t>(c) < 0x20; })) {
        std::fprintf(err, "the answer holds a control character; type it again\n");
        return std::nullopt;
    }
    if (cp.size() > kMaxGlyphText) {
        std::fprintf(err, "at most %zu characters; type it again\n", kMaxGlyphText);
        return std::nullopt;
    }
    choice.action = NewCharAction::Accept;
    choice.text = cp;
    return choice;
}

NewCharChoice CliUi::newCharacter(const NewCharacterView& v) {
    if (stopSignalReceived() != 0) {
        stopped_ = true;
        return {NewCharAction::Pause, {}};
    }
    if (inputEnded_) {
        ++unknownSkipped_;
        return {NewCharAction::SkipPicture, {}};
    }
    std::fprintf(err_, "%s\n%s", glyphHeader(v).c_str(), drawBand(v).c_str());
    while (true) {
        std::fprintf(err_,
                     "text for the framed glyph (entry %zu; %s\\skip-line \\skip-picture \\search "
                     "\\stop): ",
                     v.nextEntryNumber, v.proposal.empty() ? "" : "\\accept ");
        std::fflush(err_);
        std::string line;
        if (!readLine(line)) {
            std::fprintf(err_, "\n");
            if (stopSignalReceived() != 0) {
                stopped_ = true;
                return {NewCharAction::Pause, {}};
            }
            ++unknownSkipped_;
            return {NewCharAction::SkipPicture, {}};
        }
        if (auto choice = parseAnswer(line, err_, v.proposal)) {
            switch (choice->action) {
                case NewCharAction::Accept:
                    ++learned_;
                    break;
                case NewCharAction::SkipLine:
                case NewCharAction::SkipPicture:
                    ++unknownSkipped_;
                    break;
                case NewCharAction::Pause:
                    stopped_ = true;
                    break;
                default:
                    break;
            }
            return *choice;
        }
    }
}

void CliUi::unitCompleted(const UnitReport& report) {
    ++units_;
    if (!report.savedFile.empty()) ++savedFiles_;
    if (listUnits_) std::fprintf(out_, "%s\n", unitLine(report).c_str());
}

namespace {

// Someone may be reading the subtitles as they come: a terminal, a pipe or
// a socket (or a stream that is no file at all). A file, or /dev/null, is
// written in whole blocks: a write per subtitle costs a thousand system
// calls a film.
bool readAsWritten(std::FILE* f) {
    const int fd = ::fileno(f);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) return true;
    return ::isatty(fd) != 0 || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode);
}

}  // namespace

CliUi::CliUi(BadHeaderPolicy badHeaders, std::FILE* out, std::FILE* err, std::FILE* in)
    : badHeaders_(badHeaders),
      out_(out),
      err_(err),
      in_(in),
      flushEachSubtitle_(readAsWritten(out)) {}

void CliUi::subtitleAdded(const SubtitleDocument& doc, size_t index) {
    if (!printSubtitles_) return;
    const auto lines = orvaneEntryLines(
        doc.entry(index), size_t{doc.settings().indexOffset} + index, doc.settings().ovtExtended);
    for (const std::string& l : lines) std::fprintf(out_, "%s\n", cp1252ToUtf8(l).c_str());
    if (flushEachSubtitle_) std::fflush(out_);
}

}  // namespace orvane::cli
