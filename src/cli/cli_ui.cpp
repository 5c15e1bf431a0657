#include "cli/cli_ui.h"

#include <cstdio>

#include "config/text_encoding.h"

namespace orvane::cli {

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
    return buf;
}

Answer CliUi::messageBox(QuestionId id, MessageIcon, const std::string& text, Buttons) {
    switch (id) {
        case QuestionId::BadPacketHeader: {
            BadHeaderPolicy p = badHeaders_;
            if (p == BadHeaderPolicy::Ask) {
                std::fprintf(err_, "%s [y]es/[n]o/[a]ll? ", oneLine(text).c_str());
                std::fflush(err_);
                char line[64];
                if (!std::fgets(line, sizeof line, in_)) return Answer::No;
                if (line[0] == 'y' || line[0] == 'Y') return Answer::Yes;
                if (line[0] == 'a' || line[0] == 'A') return Answer::YesToAll;
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
            ++fileErrors_;
            std::fprintf(err_, "orvane-cli: %s\n", oneLine(text).c_str());
            return Answer::Ok;
        case QuestionId::NoVobSelected:
            std::fprintf(err_, "orvane-cli: %s\n", oneLine(text).c_str());
            return Answer::Ok;
    }
    return Answer::Ok;
}

std::string CliUi::askSaveFileName(const std::string&) {
    return saveName_;
}

void CliUi::unitCompleted(const UnitReport& report) {
    ++units_;
    if (listUnits_) std::fprintf(out_, "%s\n", unitLine(report).c_str());
}

}  // namespace orvane::cli
