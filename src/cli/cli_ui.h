#pragma once

#include <array>
#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "app/user_interface.h"
#include "cli/cli_options.h"

namespace orvane::cli {

// SIGTERM, SIGINT and SIGHUP, while an object of this class lives, stop the
// job at the next unit or pending answer, as \stop does, so that what was
// learned and read is still saved.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    std::array<struct sigaction, 3> old_{};
};
// The stop signal received (0: none).
int stopSignalReceived();

// The terminal side of the UI port: questions are answered by policy or at
// a prompt (the OCR policies are the session's), errors and the learning dialogue go to stderr,
// units and subtitles are listed on stdout.
class CliUi : public UserInterface {
  public:
    CliUi(BadHeaderPolicy badHeaders, std::FILE* out, std::FILE* err, std::FILE* in);

    Answer messageBox(QuestionId id, MessageIcon icon, const std::string& text,
                      Buttons buttons) override;
    std::string askSaveFileName(const FileDialog& dialog) override;
    std::optional<uint8_t> chooseTextColour(const Image24& picture,
                                            const ColourRanking& proposal) override;
    void textColourChosen(uint8_t number, bool automatic, const ColourRanking& detected) override;
    NewCharChoice newCharacter(const NewCharacterView& view) override;
    void unitCompleted(const UnitReport& report) override;
    // A terminal shows no pictures.
    bool showsPictures() const override { return false; }
    void subtitleAdded(const SubtitleDocument& doc, size_t index) override;

    void pump() override {
        if (pumpHook_) pumpHook_();
    }
    void setPumpHook(std::function<void()> hook) { pumpHook_ = std::move(hook); }
    void noteStopped() { stopped_ = true; }
    void setSaveName(std::string name) { saveName_ = std::move(name); }
    void setListUnits(bool on) { listUnits_ = on; }
    void setPrintSubtitles(bool on) { printSubtitles_ = on; }

    int fileErrors() const { return fileErrors_; }
    int units() const { return units_; }
    int savedFiles() const { return savedFiles_; }
    int learned() const { return learned_; }
    int unknownSkipped() const { return unknownSkipped_; }
    bool stopped() const { return stopped_; }

    // "000001 00:00:02,060 00:00:04,540 area=162,507,557,540 sequences=2 size=1756"
    static std::string unitLine(const UnitReport& report);
    // One line: the message's pieces joined with blanks instead of line breaks.
    static std::string oneLine(const std::string& text);
    // The header line and the band drawing shown for an unknown glyph.
    static std::string glyphHeader(const NewCharacterView& view);
    static std::string drawBand(const NewCharacterView& view);
    // Reads an answer line: the choice, or nullopt to ask again (the reason
    // is written to `err`). `\accept` takes the proposal (Windows-1252).
    static std::optional<NewCharChoice> parseAnswer(const std::string& utf8Line, std::FILE* err,
                                                    const std::string& proposal = {});

  private:
    bool readLine(std::string& line);

    BadHeaderPolicy badHeaders_;
    std::FILE* out_;
    std::FILE* err_;
    std::FILE* in_;
    std::string saveName_;
    bool listUnits_ = false;
    bool printSubtitles_ = false;
    bool flushEachSubtitle_ = true;
    bool inputEnded_ = false;
    bool colourReported_ = false;
    int fileErrors_ = 0;
    int units_ = 0;
    int savedFiles_ = 0;
    int learned_ = 0;
    int unknownSkipped_ = 0;
    bool stopped_ = false;
    std::function<void()> pumpHook_;
};

}  // namespace orvane::cli
