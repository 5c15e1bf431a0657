#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/bitmap_adjustment.h"
#include "app/config_settings.h"
#include "app/extraction_job.h"
#include "app/ifo_reader.h"
#include "app/ocr_policy.h"
#include "app/program_folder.h"
#include "app/session_flags.h"
#include "app/user_interface.h"
#include "common/file_io.h"
#include "config/message_table.h"
#include "config/preview_options.h"
#include "ocr/char_matrix.h"
#include "ocr/engine_alignment.h"
#include "ocr/matcher.h"
#include "ocr/ocr_settings.h"
#include "ocr/post_ocr_correction.h"
#include "ocr/proposal_ledger.h"
#include "ocr/segmentation.h"
#include "ocr/spelling_dictionary.h"
#include "ocr/text_engine.h"
#include "ocr/touching_letters.h"
#include "stream/cell_clock.h"
#include "stream/progress.h"
#include "stream/spu_assembler.h"
#include "stream/stream_clock.h"
#include "stream/stream_reader.h"
#include "stream/vobsub.h"
#include "subpicture/bitmap_adjust.h"
#include "subpicture/disc_colours.h"
#include "subpicture/spu_decoder.h"
#include "subtitles/subtitle_document.h"
#include "subtitles/time_correction.h"

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
class Session : private PackEvents, private BitmapAdjustmentHost {
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
    // The job dialog opens: the last time code reached becomes the start
    // time of the next job (re-base armed), so its time line goes on.
    TimeCode carryTimeLine();
    // Shown in the time fields when the dialog opens.
    TimeCode lastTimeCode() const { return clock_.lastTimeCode(); }

    // Reads the stream names of a title set IFO or a VobSub index (a missing file leaves them
    // as they are) and returns the 32 stream list lines. Throws IoError.
    std::vector<std::string> openIfo(const std::string& path);
    const std::array<std::string, kStreamCount>& streamNames() const { return streamNames_; }

    // --- VobSub pairs, forced subtitles and the disc's colours -------------
    // What the job's title set IFO (or VobSub index) says: languages, video
    // standard, colour table. Read when a job starts.
    const TitleSetInfo& titleSetInfo() const { return titleSet_; }
    // The 16 colours of the job's sub-pictures, when the disc gave them.
    const std::optional<DiscColourTable>& discColourTable() const { return discColours_; }
    // The display colours of the current unit's colour numbers in the disc's
    // own colours (its first sequence's palette), when the disc gave them.
    std::optional<PreviewColours> currentDiscColours() const;
    // Units and forced units of a stream (0-based) seen by the last job
    // that read it; `counted` is false before any.
    struct StreamUnitCounts {
        bool counted = false;
        int units = 0;
        int forced = 0;
    };
    const StreamUnitCounts& unitCounts(int streamIndex) const;
    // Writes the VobSub pair of the job (save base name + ".idx" and
    // ".sub"); done at the end of a VobSub job and by a front end that
    // stops one early. False when nothing was written or a write failed
    // (reported).
    bool writeVobSubPair();
    // The stream names of a VobSub index, as the IFO's are listed. Throws
    // IoError when it cannot be read or is no index.
    static StreamNames vobSubStreamNames(const std::string& idxPath);

    // --- the driver -----------------------------------------------------
    // One 500 ms tick: starts reading the current file unless reading,
    // paused or over.
    void timerTick();
    // Pause / Continue.
    void buttonPauseClick();
    // Ticks until the job is over or paused; for front ends without a timer.
    void runToEnd();
    bool jobOver() const { return job_.files.size() < job_.currentFile; }
    // Brings the elapsed time up to now while a reader runs: the front end
    // calls it on its own clock, so the time keeps running while a dialog
    // waits for the person.
    void elapsedTick();
    // Milliseconds the running job spent waiting for the person (the
    // new-character, font colour, bitmap adjustment dialogs and the
    // progression controller): left out of the remaining-time estimate.
    uint32_t waitedMs() const { return waitedMs_; }

    // --- the progression controller ---------------------------------------
    // "Save As S&up": the unit on screen, exactly as collected, to the
    // chosen name + ".SUP" (messages 41 and 42 as the dialog's title).
    // False when cancelled or failed (a failure is reported).
    bool progressionSaveSup();
    // "Save As &Bmp": the adjusted picture on screen to the chosen name +
    // ".BMP" (messages 40 and 42 as the title); false when cancelled or
    // failed (a failure is reported).
    bool progressionSaveBmp();

    // --- closing ----------------------------------------------------------
    // The main window's close question: a modified matrix (Cancel keeps the
    // window), then unsaved subtitle text (messages 9 and 10; No shows the
    // subtitle window and keeps the main window). True when it may close.
    bool closeQuery();

    // --- the character matrix --------------------------------------------
    // True when the caller may go on: not modified, saved, or not wanted.
    bool confirmDiscardMatrix();
    void newMatrix();
    void openMatrix();
    // "Save": through the dialog when the matrix has no existing file.
    void saveMatrixCommand();
    bool saveMatrix(bool saveAs);
    // Loads a file into `target` (the current matrix or a scratch one).
    // A wrong magic shows message 5 and leaves the target as it was; file
    // errors are thrown as IoError. True when loaded.
    bool loadMatrixFile(const std::string& path, CharMatrix& target);
    // Writes the current matrix to `path` and names it so; throws IoError.
    void writeMatrixFile(const std::string& path);
    // Adds a learned glyph, with the full-matrix and memory messages.
    bool addMatrixEntry(const MatrixEntry& entry);
    // Looks in the program folder's ChMatrix/ for a matrix that knows the
    // glyph and offers to switch to it; the glyph's text when accepted.
    // A current matrix with unsaved changes is never replaced silently: the
    // MatrixSearchReplaceModified question asks first (Yes: save it, then
    // switch; No: switch, dropping the changes; Cancel: keep it, and learn
    // the glyph into it with the found text, `learn` set).
    struct MatrixSearchResult {
        std::string text;
        bool learn = false;  // add the glyph with `text` to the current matrix
    };
    std::optional<MatrixSearchResult> searchMatrixFolder(const MatrixEntry& glyph,
                                                         const CharBox& box);
    // Entries learned into the current matrix since it was loaded, made
    // new or replaced: what a save adds to the file it came from.
    size_t learnedEntries() const { return learnedEntries_; }
    // What an accepted search does to a current matrix that holds entries:
    // Ask (above), or Merge: keep it and append the found matrix's entries
    // that it does not hold yet, after its own (so its own still match
    // first). The CLI merges: it cannot show the question's consequences,
    // and --save-matrix must never write another file's matrix over the
    // user's.
    enum class MatrixSearchPolicy { Ask, Merge };
    MatrixSearchPolicy matrixSearchPolicy() const { return matrixSearchPolicy_; }
    void setMatrixSearchPolicy(MatrixSearchPolicy policy) { matrixSearchPolicy_ = policy; }
    // Entries the Merge policy added since the matrix was loaded.
    size_t mergedEntries() const { return mergedEntries_; }
    const CharMatrix& matrix() const { return matrix_; }
    CharMatrix& matrix() { return matrix_; }

    // --- the subtitle document ------------------------------------------
    // Whether a job that adds entries may start (messages 21 and 22).
    bool confirmAppend();
    void clearDocument();
    void saveDocument();
    // Writes what the format saves (display lines, SubViewer 1 footer,
    // IAuthor script) to `path`; throws IoError.
    void writeDocument(const std::string& path);
    // "&Open (Orvane Format)".
    void openOrvaneFile();
    // Reads an own-format file into the document (the open dialog's part
    // after the file is chosen). False when the file could not be read.
    bool readOrvaneFile(const std::string& path);
    // "&Correct Time": the time correction passes, the offset question per
    // entry through the port, then the display is rebuilt.
    TimeCorrectionReport correctTimes(const TimeCorrectionSettings& settings);
    // "Correct !" of the post-OCR correction; false when nothing was asked.
    // With the dictionary asked for and not found, the user is told why
    // (DictionaryMissing) and the rules alone decide.
    bool postOcrCorrection(const PostOcrOptions& options);
    // The spelling dictionary of a language from dictionaryFolder(), loaded
    // once; null, with the reason in `error`, when it is not there.
    const SpellingDictionary* spellingDictionary(IlLanguage language, std::string* error = nullptr);
    const std::string& dictionaryFolder() const { return dictionaryFolder_; }
    void setDictionaryFolder(std::string folder);
    // "&Convert to this Format" of the output format dialog: the stored
    // settings from the dialog's, the page as the format, the display
    // rebuilt and shown.
    void convertToFormat(OutputFormat page, const OutputSettings& dialog);
    // The split dialog's OK. With splitting on and the stop before the
    // start, message 37 is shown and nothing changes (false); otherwise the
    // range is set and the display rebuilt and shown.
    bool applySplitRange(bool enabled, const TimeCode& start, const TimeCode& stop);
    SubtitleDocument& document() { return document_; }
    const SubtitleDocument& document() const { return document_; }

    // --- OCR ------------------------------------------------------------
    // Recognises one decoded unit (its colour numbers; the 24-bit picture
    // is painted only for the font colour question) and appends its text
    // to the document.
    void recogniseSubPicture(SubPicture& picture, const TimeCode& start, const TimeCode& stop,
                             const DisplayArea& area);
    OcrSettings& ocrSettings() { return ocrSettings_; }
    // The unknown-glyph and text-colour policies the front end chose.
    OcrPolicy& ocrPolicy() { return ocrPolicy_; }
    const OcrPolicy& ocrPolicy() const { return ocrPolicy_; }
    const OcrPolicyCounts& ocrPolicyCounts() const { return ocrCounts_; }
    // The second engine for glyphs the matrix cannot read; without one (the
    // default) every unknown glyph goes by the policy alone. The engine is
    // started at the first line that needs it and kept while the language
    // stays the same.
    void setTextEngineFactory(TextEngineFactory factory) { engineFactory_ = std::move(factory); }
    // The engine's language for this job (its own code), once it has started;
    // empty before, or when it could not start.
    const std::string& engineLanguage() const { return engineOpenLanguage_; }
    // The language the job asked the engine for, when it could not start.
    const std::string& engineFailedLanguage() const { return engineFailedLanguage_; }
    Colour textColour() const { return textColour_; }
    const LineTable& lineTable() const { return lines_; }
    // The folder with ChMatrix/ (ends with '/').
    const std::string& programFolder() const { return programFolder_; }
    // Where the program's files are kept and looked for, from the program
    // folder (a portable copy keeps everything in it).
    const ProgramFolders& folders() const override { return folders_; }
    void setProgramFolder(std::string folder);
    void setProgramFolders(ProgramFolders folders);

    // --- bitmap export --------------------------------------------------
    BitmapExportSettings& bitmapSettings() override { return bitmapSettings_; }
    const BitmapExportSettings& bitmapSettings() const { return bitmapSettings_; }
    // The roles' colour numbers (background, font, outline, antialiasing).
    ColourRanking& colourRoles() override { return colourRoles_; }
    const ColourRanking& colourRoles() const { return colourRoles_; }
    // Adjusts the current decoded picture with the bitmap settings.
    void adjustCurrentPicture();
    // The decoded picture as the preview shows it: in the disc's colours
    // when the bitmap settings choose them and the disc has them.
    const Image24& shownBitmap();
    // Adjusts it and shows the result at its adjusted rectangle.
    void refreshPreview() override;
    const AdjustedPicture& adjustedPicture() const { return adjusted_.picture; }
    const DisplayArea& adjustedArea() const { return adjusted_.area; }
    // Writes the adjusted picture to `path` (extension included); throws IoError.
    void saveAdjustedBmp(const std::string& path) override;
    // Shows the bitmap adjustment dialog modally (also "Change &Colors");
    // afterwards flags().saveThisPicture tells whether the picture is to be saved.
    void showAdjustmentDialog();
    BitmapAdjustment& bitmapAdjustment() { return bitmapDialog_; }

    // --- state ----------------------------------------------------------
    ExtractionJob& job() { return job_; }
    const ExtractionJob& job() const { return job_; }
    StreamClock& clock() { return clock_; }
    CellClock& cellClock() { return cells_; }
    SpuAssembler& assembler() { return assembler_; }
    const SubPicture& picture() const { return picture_; }
    MessageTable& messages() { return messages_; }
    const PreviewColours& previewColours() const { return previewColours_; }
    UserInterface& ui() { return ui_; }

    // Settings kept in the configuration file (the OCR limits and the
    // writers' settings are above and in the document).
    ConfigSettings& settings() { return settings_; }
    const ConfigSettings& settings() const { return settings_; }
    PreviewOptions& previewOptions() { return previewOptions_; }
    const PreviewOptions& previewOptions() const { return previewOptions_; }

    void setSaveBaseName(std::string base) { saveBaseName_ = std::move(base); }
    const std::string& saveBaseName() const { return saveBaseName_; }
    // The switches of the front end and the reading dialogs.
    SessionFlags& flags() override { return flags_; }
    const SessionFlags& flags() const { return flags_; }

  private:
    // PackEvents
    void onProgress(int64_t sector, bool estimateRemaining) override;
    bool onBadPackHeader(int64_t sector) override;
    void onScr(uint32_t scr) override { clock_.updateScr(scr, job_.avoidTimeRestart); }
    void onNavPack(const uint8_t* sector) override;
    void onSubPicturePacket(const SubPicturePacket& packet, int64_t sector) override;
    bool onPausePoint() override { return job_.paused && !assembler_.collecting(); }

    // BitmapAdjustmentHost (the rest is public above)
    ColourRanking sortedColourRoles() const override;
    void selectOutputFormat(OutputFormat format) override { document_.selectFormat(format); }
    const std::string& message(size_t id) const override { return messages_.get(id); }

    struct NewCharOutcome {
        int result = 3;  // 0 accept, 1 skip line, 2 skip picture, 3 pause, 5 text from elsewhere
        std::string text;
    };
    NewCharOutcome runNewCharacterDialog(const NewCharacterView& view);
    // Reading a picture's text, step by step.
    struct PictureRead;
    enum class GlyphStep { Next, SkipLine, DropPicture };
    // The text-colour labels of the picture and their crop, shown; nullopt
    // when it holds no text (the whole picture is shown then).
    std::optional<CropRect> textCrop(SubPicture& picture);
    const Image24& paintedCrop(PictureRead& p);
    // Line l (1-based) as text, empty when skipped; false when the picture
    // is dropped.
    bool readTextLine(PictureRead& p, int l, std::string& out);
    // Glyph j of line l by the matrix, the engine, a cut or the policy.
    GlyphStep readGlyph(PictureRead& p, const TextLine& line, int l, int j, bool engineRead,
                        const std::vector<std::string>& pieces, std::string& piece,
                        bool& wordsRead);
    GlyphStep askNewGlyph(PictureRead& p, const TextLine& line, int l, int j, MatrixEntry& glyph,
                          const std::string& proposal, const std::vector<std::string>& pieces,
                          std::string& piece);
    // The rest of a line after character j, read with the known glyphs.
    std::string readAhead(const TextLine& line, int j);
    void chooseDefaultColourRoles();
    // The text colour by the policy; false when the picture is skipped.
    bool chooseTextColour(const Image24& picture);
    // The second engine's readings of the unknown glyphs of line `l`
    // (1-based), one per character (nullopt: none); empty when the engine
    // is off or every glyph is read by the matrix. Fills matches_, cuts_
    // and wordBreaks_.
    void readLineByEngine(const TextLine& line, int l);
    // The engine's symbols of a line, in columns of the cropped picture.
    std::vector<EngineSymbol> engineSymbols(TextEngine& engine, const TextLine& line);
    // Whether a word of a line's text is two words of the job's language
    // run together.
    bool lostSpaceIn(const std::string& text);
    // wordBreaks_ of a line the engine reads for its word breaks alone.
    bool spaceLineByEngine(const TextLine& line);
    TextEngine* lineEngine();
    // The text of a line some of whose glyphs took a word the engine read
    // whole (readings_), each such word as one piece.
    std::string assembleWithWordsWhole(const TextLine& line,
                                       const std::vector<std::string>& pieces);
    // An engine reading used without a question: recorded, and learned
    // once confirmed.
    std::string takeEngineReading(MatrixEntry& glyph, const CharBox& box, const std::string& text,
                                  int64_t lineId);
    // The dialog's pause: the unit now on screen is read again after Continue.
    void pauseToReadUnitAgain();
    // The folder of a chosen matrix file becomes both matrix dialogs' start.
    void shareMatrixFolder(const std::string& chosen);
    void reportIoError(const std::exception& e);

    void readFile(const std::string& path);
    // The job's state and the window's controls as a file starts; the
    // sector to start from.
    int64_t startReadingFile();
    // Where the reader stopped: the file's end, a decline or a pause.
    void readerStopped(const ReadResult& result);
    // The title set of the job's first file, its languages and colours.
    void loadTitleSetOf(const std::string& firstFile);
    // For a VobSub index: its .sub (returned), the times of the selected
    // stream's units by file position. Empty when it cannot be read (reported).
    std::string openVobSubIndex(const std::string& idxPath);
    // The VobSub output of the current unit.
    void addVobSubUnit(const UnitReport& report);
    void endOfFile();
    void reportFileError(const std::string& path);
    void completeUnit(int64_t sector);
    void dispatchUnit(UnitReport& report);
    // The unit by the job's action.
    void saveSupUnit(UnitReport& report);
    void showUnit(UnitReport& report);
    void saveBmpUnit(UnitReport& report);
    // How far a unit is decoded: the control sequences (times, area), the
    // colour numbers (OCR), or the 24-bit picture (shown or saved).
    enum class DecodeDepth { Control, Numbers, Picture };
    void decodeUnit(UnitReport& report, DecodeDepth depth);
    // With timing on: the entry naming a saved BMP or SUP file.
    void appendFileEntry(const std::string& file, const DisplayArea& area, const UnitTimes& times);
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

    BitmapExportSettings bitmapSettings_;
    ColourRanking colourRoles_{0, 1, 2, 3};
    AdjustResult adjusted_;
    SessionFlags flags_;
    BitmapAdjustment bitmapDialog_{*this, ui_};

    SubtitleDocument document_;
    void mergeMatrix(const CharMatrix& other);
    // Runs a BMP or SUP save of the job; on failure reports it and pauses.
    bool saveJobOutput(const std::function<void()>& save);
    // The job's BMP and SUP files, saved together when the reader stops
    // and every kSavesPerCommit files: one wait for the disk, not two per
    // file.
    static constexpr size_t kSavesPerCommit = 500;
    SaveBatch jobSaves_;
    void commitJobSaves();

    CharMatrix matrix_;
    size_t learnedEntries_ = 0;
    size_t mergedEntries_ = 0;
    MatrixSearchPolicy matrixSearchPolicy_ = MatrixSearchPolicy::Ask;
    Matcher matcher_;
    Segmenter segmenter_;
    LineTable lines_;
    OcrSettings ocrSettings_;
    OcrPolicy ocrPolicy_;
    OcrPolicyCounts ocrCounts_;
    Colour textColour_ = 0xFFFFFF;
    // The second engine and what it has read.
    TextEngineFactory engineFactory_;
    std::unique_ptr<TextEngine> engine_;
    std::string jobEngineLanguage_;  // what the job wants
    std::string engineRequested_;    // the language engine_ was made for
    std::string engineOpenLanguage_;
    std::string engineFailedLanguage_;
    ProposalLedger ledger_;
    EngineLinePicture engineLine_;
    TextLine wordLine_;  // a line with the words read whole as one piece each
    // Per character of the line being read: the glyph, its match and its
    // touching-letters reading as readLineByEngine found them, valid while
    // the matrix generation is matchedGeneration_.
    std::vector<MatrixEntry> glyphs_;
    std::vector<size_t> matches_;
    std::vector<std::optional<TouchingReading>> cuts_;
    std::vector<std::optional<EngineReading>> readings_;
    // In auto mode, where the engine placed the line's word breaks (empty:
    // the engine did not read the line).
    std::vector<WordBreak> wordBreaks_;
    const SpellingDictionary* runTogetherDictionary_ = nullptr;
    bool runTogetherDictionaryTried_ = false;  // this job
    uint64_t matchedGeneration_ = 0;
    std::string dictionaryFolder_ = kDefaultDictionaryFolder;
    std::array<std::unique_ptr<SpellingDictionary>, 4> dictionaries_;  // by IlLanguage
    // The OCR's working pictures, kept from unit to unit.
    Image8 ocrLabels_;
    Image24 ocrPicture_;
    std::string programFolder_;
    ProgramFolders folders_;
    ConfigSettings settings_;
    PreviewOptions previewOptions_;
    // After "Change Text Color": release the pause once the reader returns.
    bool resumeWhenReaderStops_ = false;

    TitleSetInfo titleSet_;
    std::optional<DiscColourTable> discColours_;
    Image24 discBitmap_;
    std::optional<vobsub::Index> inputIndex_;           // of the job's first VobSub file
    std::unordered_map<uint64_t, int64_t> indexTimes_;  // file position -> ms, of the file read
    std::array<StreamUnitCounts, kStreamCount> unitCounts_{};
    vobsub::SubFileWriter vobSubData_;
    vobsub::IndexStream vobSubEntries_;
    bool vobSubPending_ = false;

    // Progress clocks of the current reader run.
    uint64_t sizeBeforeCurrentKiB_ = 0;
    uint32_t lastElapsedTick_ = 0;
    uint32_t waitedMs_ = 0;
    // The clock of the estimate: time spent working, waits left out.
    uint32_t workTick() { return ui_.tickCount() - waitedMs_; }
    // Runs a dialog that waits for the person, its time counted as waiting.
    template <class F>
    auto waitFor(F&& dialog) {
        const uint32_t begin = ui_.tickCount();
        struct Count {
            Session& s;
            uint32_t begin;
            ~Count() { s.waitedMs_ += s.ui_.tickCount() - begin; }
        } count{*this, begin};
        return dialog();
    }
    RemainingTimeEstimator estimator_;
};

}  // namespace orvane
