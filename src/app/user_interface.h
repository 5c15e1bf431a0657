#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "stream/time_code.h"
#include "subpicture/spu_decoder.h"
#include "subpicture/unit_times.h"

namespace orvane {

enum class Answer { Ok, Cancel, Yes, No, YesToAll, Ignore };
enum class MessageIcon { Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, YesNoYesToAll };

// Which question is asked, so that a front end without a person (the CLI,
// tests) can answer by policy. The text is always composed by the core.
enum class QuestionId {
    NoVobSelected,
    BadPacketHeader,
    FileError,
};

enum class ProgressionChoice { Next, NoStop, Pause };

// The progress bar, application title and position label. Empty texts
// (at the start of a file) leave the title and the label as they are.
struct ProgressDisplay {
    uint8_t percent = 0;
    std::string title;          // application title
    std::string positionLabel;  // LabelPos
};

// One completed unit as the dispatch saw it.
struct UnitReport {
    int32_t unitsInJob = 0;
    int32_t unitsInFile = 0;
    int64_t startSector = 0;
    std::span<const uint8_t> bytes;       // exactly as collected
    const SubPicture* picture = nullptr;  // set when the action decoded the unit
    TimeCode unitStart;
    UnitTimes times;        // valid when picture is set
    std::string savedFile;  // the SUP or BMP file written, if any
};

// Everything the core needs from a person or a screen. The Qt GUI answers
// with windows, the CLI with the terminal, tests with a scripted fake.
class UserInterface {
  public:
    virtual ~UserInterface() = default;

    // A modal message box; returns the button pressed.
    virtual Answer messageBox(QuestionId id, MessageIcon icon, const std::string& text,
                              Buttons buttons) = 0;
    // A save-file dialog; an empty result is Cancel.
    virtual std::string askSaveFileName(const std::string& title) = 0;
    // The progression controller of the show-only action, shown after a picture.
    virtual ProgressionChoice progressionController(int32_t unitNumber) {
        (void)unitNumber;
        return ProgressionChoice::NoStop;
    }

    // Lets queued user events run (button clicks of the GUI).
    virtual void pump() {}
    // Milliseconds of a monotonic clock, for the elapsed and remaining time.
    virtual uint32_t tickCount();

    // Main window state.
    virtual void fileLabels(const std::string& fileName, int index, int count) {
        (void)fileName;
        (void)index;
        (void)count;
    }
    virtual void readingControls(bool pauseEnabled, bool openVobEnabled) {
        (void)pauseEnabled;
        (void)openVobEnabled;
    }
    virtual void pauseCaption(const std::string& caption) { (void)caption; }
    virtual void progress(const ProgressDisplay& p) { (void)p; }
    virtual void unitCounters(int32_t inFile, int32_t inJob) {
        (void)inFile;
        (void)inJob;
    }
    virtual void elapsedTime(const std::string& text) { (void)text; }
    virtual void remainingTime(const std::string& text) { (void)text; }
    // Per NAV pack: the accumulated cell time and offset + SCR time.
    virtual void navTimes(const TimeCode& navTotal, const TimeCode& streamTime) {
        (void)navTotal;
        (void)streamTime;
    }
    virtual void chapters(const std::string& text) { (void)text; }
    virtual void frameRate(const std::string& label) { (void)label; }
    virtual void showSubtitleWindow() {}
    virtual void showPicture(const Image24& bitmap, const DisplayArea& area, bool useZoom) {
        (void)bitmap;
        (void)area;
        (void)useZoom;
    }
    virtual void unitCompleted(const UnitReport& report) { (void)report; }
};

}  // namespace orvane
