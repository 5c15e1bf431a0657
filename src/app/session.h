#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/extraction_job.h"
#include "app/user_interface.h"
#include "config/message_table.h"
#include "stream/cell_clock.h"
#include "stream/progress.h"
#include "stream/spu_assembler.h"
#include "stream/stream_clock.h"
#include "stream/stream_reader.h"
#include "subpicture/spu_decoder.h"

namespace orvane {

enum class StartResult {
    Started,
    Busy,           // a file is being read: the new job must wait until it stops
    TooManyFiles,   // more than 1024 files
    InvalidStream,  // stream index outside 0..31
};

// Everything the main window owns: the job and its driver, the clocks, the
// unit assembler, the decoded sub-picture and the message table. The Qt
// main window, the CLI and the tests each hold one.
class Session : private PackEvents {
  public:
    static constexpr const char* kCaption = "Orvane 0.97b";
    static constexpr int kStreamCount = 32;

    explicit Session(UserInterface& ui);

    // --- the job dialog -------------------------------------------------
    // The dialog's Start: checks, questions and save names, then the start
    // of the job. True when the dialog closes.
    bool startButton(const JobRequest& request);
    // The start of a job proper (files, stream, counters, flags).
    StartResult startJob(const JobRequest& request);
    // "&Reset": re-base to 00:00:00,000 and clear the NAV clock.
    void resetTimeCode();
    // A change of the dialog's start time fields re-bases the next job.
    void setStartTime(const TimeCode& t) { clock_.setStartTime(t); }
    // Shown in the time fields when the dialog opens.
    TimeCode lastTimeCode() const { return clock_.lastTimeCode(); }

    // Reads the stream names of a title set IFO (a missing file leaves them
    // as they are) and returns the 32 stream list lines. Throws IoError.
    std::vector<std::string> openIfo(const std::string& path);
    const std::array<std::string, kStreamCount>& streamNames() const { return streamNames_; }

    // --- the driver -----------------------------------------------------
    // One 500 ms tick: starts reading the current file unless reading,
    // paused or over.
    void timerTick();
    // Pause / Continue.
    void buttonPauseClick();
    // Ticks until the job is over or paused; for front ends without a timer.
    void runToEnd();
    bool jobOver() const { return job_.files.size() < job_.currentFile; }

    // --- state ----------------------------------------------------------
    ExtractionJob& job() { return job_; }
    const ExtractionJob& job() const { return job_; }
    StreamClock& clock() { return clock_; }
    CellClock& cellClock() { return cells_; }
    SpuAssembler& assembler() { return assembler_; }
    const SubPicture& picture() const { return picture_; }
    MessageTable& messages() { return messages_; }
    const PreviewColours& previewColours() const { return previewColours_; }

    void setSaveBaseName(std::string base) { saveBaseName_ = std::move(base); }
    const std::string& saveBaseName() const { return saveBaseName_; }
    // "Show Pict." of the main window.
    bool showSubPicture = true;
    // The progression controller's non-stop flag.
    bool progressionNonStop = false;
    // The bitmap adjustment dialog's show-before-next-picture flag.
    bool showBeforeNextPicture = false;

  private:
    // PackEvents
    void onProgress(int64_t sector, bool estimateRemaining) override;
    bool onBadPackHeader(int64_t sector) override;
    void onScr(uint32_t scr) override { clock_.updateScr(scr, job_.avoidTimeRestart); }
    void onNavPack(const uint8_t* sector) override;
    void onSubPicturePacket(const SubPicturePacket& packet, int64_t sector) override;
    bool onPausePoint() override { return job_.paused && !assembler_.collecting(); }

    void readFile(const std::string& path);
    void endOfFile();
    void reportFileError(const std::string& path);
    void completeUnit(int64_t sector);
    void dispatchUnit(UnitReport& report);
    void decodeUnit(UnitReport& report);
    void progressUpdate(int64_t sector);
    void remainingEstimate(int64_t sector);

    UserInterface& ui_;
    ExtractionJob job_;
    StreamClock clock_;
    CellClock cells_;
    SpuAssembler assembler_;
    StreamReader reader_;
    SubPicture picture_;
    MessageTable messages_;
    PreviewColours previewColours_;
    std::array<std::string, kStreamCount> streamNames_;
    std::string saveBaseName_;

    // Progress clocks of the current reader run.
    uint64_t sizeBeforeCurrentKiB_ = 0;
    uint32_t lastElapsedTick_ = 0;
    RemainingTimeEstimator estimator_;
};

}  // namespace orvane
