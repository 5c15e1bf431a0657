#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "ocr/char_matrix.h"
#include "ocr/character_picture.h"
#include "ocr/segmentation.h"
#include "stream/time_code.h"
#include "subpicture/colour_ranking.h"
#include "subpicture/spu_decoder.h"
#include "subpicture/unit_times.h"
#include "subtitles/subtitle_document.h"

namespace orvane {

class BitmapAdjustment;

enum class Answer { Ok, Cancel, Yes, No, YesToAll, Ignore };
enum class MessageIcon { Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, YesNoYesToAll, CancelIgnoreYesToAll };

// Which question is asked, so that a front end without a person (the CLI,
// tests) can answer by policy. The text is always composed by the core.
enum class QuestionId {
    NoVobSelected,
    QuitUnsaved,  // close the program with unsaved subtitle text?
    BadPacketHeader,
    FileError,      // a VOB, SUP or BMP file failed during a job
    IoFailure,      // any other file error, with the system's message
    ConfirmAppend,  // the document is not empty: add to its end?
    SplitWarning,
    ClearUnsaved,     // clear a modified document?
    OpenUnsaved,      // open another file over a modified document?
    ReplaceDocument,  // the chosen file exists
    DocumentReadError,
    TimeCodeReduced,       // a minus offset brings a start to zero: go on?
    MinusStretchTooLarge,  // a minus stretch longer than the file, refused
    SplitStopBeforeStart,  // the split dialog's stop is earlier than its start
    MatrixEmpty,
    MatrixFull,
    MatrixMemory,
    MatrixInvalid,
    MatrixModified,
    ReplaceMatrix,
    MatrixSearchFound,
    MatrixSearchReplaceModified,  // the found matrix would replace unsaved changes
    MatrixSearchNone,
    SamePaletteIndex,   // the bitmap adjustment refuses a palette index twice
    DeleteMatrixEntry,  // the matrix editor's Delete
    TooManyFiles,       // more files checked than a job can hold
    StretchNoLength,    // a stretch of a document whose last entry starts at 0
    DictionaryMissing,  // the post-OCR correction's spelling dictionary is not installed
};

// A file dialog: title, filter ("Name (*.ext)|*.ext|..."), default
// extension and the proposed file name.
struct FileDialog {
    std::string title;
    std::string filter;
    std::string defaultExtension;
    std::string proposedName;
};

// What the new-character dialog shows.
struct NewCharacterView {
    const MatrixEntry& glyph;  // the candidate, built from the box
    const CharBox& box;        // in the cropped picture
    const TextLine& line;
    int lineNumber = 0;               // 1-based
    int charNumber = 0;               // j, 1-based
    const Image24& painted;           // the cropped picture in mark colours
    const Image24& characterPicture;  // 150 x 50, the character framed
    CropRect crop;                    // where the cropped picture sat in the decoded one
    DisplayArea area;                 // the sub-picture on the screen
    int32_t unitNumber = 0;           // units in job
    size_t nextEntryNumber = 0;       // the number the glyph gets when learned
    // Shown again because a matrix search found nothing: the dialog keeps
    // what was typed, as if it had stayed open.
    bool afterFailedSearch = false;
    // The glyph read as touching known glyphs (Windows-1252); empty: none.
    std::string proposal;
    // The line as read so far: its text before the glyph, and the rest
    // read ahead with the glyphs the matrix knows (unknown ones as
    // kUnknownAhead), both Windows-1252.
    std::string lineBefore{};
    std::string lineAfter{};
    static constexpr char kUnknownAhead = '_';
    size_t subtitleNumber = 0;  // the entry the picture becomes
    TimeCode start{};
    TimeCode stop{};
    // Character j enlarged, with its line's baseline and x-height drawn.
    Image24 closeUp{};
    // The glyph seems to be a piece of the character before or after it.
    PieceOf piece = PieceOf::None;
};

// The button pressed in the new-character dialog.
enum class NewCharAction {
    Accept,  // learn the glyph with the text
    SkipLine,
    SkipPicture,
    Pause,         // read this unit again after Continue
    ChangeColour,  // choose the text colour again, then read this unit again
    SearchMatrix,  // look for a matrix file that knows the glyph
    UseOnce,       // take the text for this occurrence without learning it
};

struct NewCharChoice {
    NewCharAction action = NewCharAction::Pause;
    std::string text;  // Windows-1252, for Accept and UseOnce
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
    std::span<const uint8_t> bytes;  // exactly as collected
    // Set when the action decoded the unit; its numbers and bitmap only as
    // far as it went (numbersDecoded, bitmapPainted).
    const SubPicture* picture = nullptr;
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
    // File dialogs; an empty result is Cancel.
    virtual std::string askSaveFileName(const FileDialog& dialog) = 0;
    virtual std::string askOpenFileName(const FileDialog& /*dialog*/) { return {}; }
    // The font colour selection: the colour number taken as text, or
    // nullopt for "Skip this Picture". `proposal` is the ranking the dialog
    // proposes (proposeTextColours): [1] is the colour to select.
    virtual std::optional<uint8_t> chooseTextColour(const Image24& picture,
                                                    const ColourRanking& proposal) = 0;
    // The policy chose the text colour without asking: `automatic` or the
    // fixed number; `detected` is the detector's own ranking.
    virtual void textColourChosen(uint8_t /*number*/, bool /*automatic*/,
                                  const ColourRanking& /*detected*/) {}
    // The new-character dialog; called again while a search finds nothing.
    virtual NewCharChoice newCharacter(const NewCharacterView& view) = 0;
    // The progression controller of the show-only action, shown after a picture.
    virtual ProgressionChoice progressionController(int32_t /*unitNumber*/) {
        return ProgressionChoice::NoStop;
    }

    // The bitmap adjustment dialog, modal, its settings filled and the
    // preview refreshed. The view drives `dialog` and closes with its ok()
    // or skip(). Without a person the settings are taken as they are (OK).
    virtual void bitmapAdjustment(BitmapAdjustment& dialog);
    // The output format dialog's show-and-convert with `format` selected
    // (OK of the bitmap adjustment under the I-Author or Philips preset).
    virtual void showOutputFormat(OutputFormat /*format*/) {}

    // Lets queued user events run (button clicks of the GUI).
    virtual void pump() {}
    // Milliseconds of a monotonic clock, for the elapsed and remaining time.
    virtual uint32_t tickCount();

    // Main window state.
    virtual void fileLabels(const std::string& /*fileName*/, int /*index*/, int /*count*/) {}
    virtual void readingControls(bool /*pauseEnabled*/, bool /*openVobEnabled*/) {}
    virtual void pauseCaption(const std::string& /*caption*/) {}
    virtual void progress(const ProgressDisplay& /*p*/) {}
    virtual void unitCounters(int32_t /*inFile*/, int32_t /*inJob*/) {}
    virtual void elapsedTime(const std::string& /*text*/) {}
    // The last file of the job has been read.
    virtual void jobEnded(const std::string& /*text*/) {}
    virtual void remainingTime(const std::string& /*text*/) {}
    // Per NAV pack: the accumulated cell time and offset + SCR time.
    virtual void navTimes(const TimeCode& /*navTotal*/, const TimeCode& /*streamTime*/) {}
    virtual void chapters(const std::string& /*text*/) {}
    virtual void frameRate(const std::string& /*label*/) {}
    virtual void showSubtitleWindow() {}
    // Whether showPicture displays anything. A front end without a preview
    // (the terminal) lets the core skip the pictures nobody would see.
    virtual bool showsPictures() const { return true; }
    virtual void showPicture(const Image24& /*bitmap*/, const DisplayArea& /*area*/,
                             bool /*useZoom*/) {}
    virtual void unitCompleted(const UnitReport& /*report*/) {}
    // The document's display lines changed (an entry added or closed, a
    // rebuild, a clear).
    virtual void documentChanged(const SubtitleDocument& /*doc*/) {}
    // The OCR added entry `index`.
    virtual void subtitleAdded(const SubtitleDocument& /*doc*/, size_t /*index*/) {}
    // The current matrix was replaced, renamed or saved.
    virtual void matrixChanged(const CharMatrix& /*matrix*/) {}
    // Entry k was learned (appended) while reading.
    virtual void matrixEntryAdded(const CharMatrix& /*matrix*/, size_t /*k*/) {}
};

}  // namespace orvane
