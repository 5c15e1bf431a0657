#pragma once

#include <cstdio>
#include <string>

#include "app/user_interface.h"
#include "cli/cli_options.h"

namespace orvane::cli {

// The terminal side of the UI port: questions are answered by policy or at
// a prompt, errors go to stderr, units are listed on stdout.
class CliUi : public UserInterface {
  public:
    CliUi(BadHeaderPolicy badHeaders, std::FILE* out, std::FILE* err, std::FILE* in)
        : badHeaders_(badHeaders), out_(out), err_(err), in_(in) {}

    Answer messageBox(QuestionId id, MessageIcon icon, const std::string& text,
                      Buttons buttons) override;
    std::string askSaveFileName(const std::string& title) override;
    void unitCompleted(const UnitReport& report) override;

    void setSaveName(std::string name) { saveName_ = std::move(name); }
    void setListUnits(bool on) { listUnits_ = on; }
    int fileErrors() const { return fileErrors_; }
    int units() const { return units_; }

    // "000001 00:00:02,060 00:00:04,540 area=162,507,557,540 sequences=2 size=1756"
    static std::string unitLine(const UnitReport& report);
    // One line: the message's pieces joined with blanks instead of line breaks.
    static std::string oneLine(const std::string& text);

  private:
    BadHeaderPolicy badHeaders_;
    std::FILE* out_;
    std::FILE* err_;
    std::FILE* in_;
    std::string saveName_;
    bool listUnits_ = false;
    int fileErrors_ = 0;
    int units_ = 0;
};

}  // namespace orvane::cli
