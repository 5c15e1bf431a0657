#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "subtitles/subtitle_entry.h"

namespace orvane {

// The store of timed subtitles and its rendering into display lines in the
// current output format. Entries are numbered from 1.
class SubtitleDocument {
  public:
    // The store grows past the classic 15000 entries up to the 16-bit count;
    // an append beyond that is refused.
    static constexpr size_t kMaxEntries = 65535;

    enum class AppendResult { Appended, NoLines, Full };

    SubtitleDocument();

    // Adds one entry (nothing for an empty list). More than 10 lines are
    // kept by joining the extra ones into the tenth with a blank.
    AppendResult appendEntry(std::vector<std::string> lines, bool render, const DisplayArea& rect,
                             const TimeCode& stop, const TimeCode& start);
    // Appends the display lines of entry `index` (split range applied).
    void renderEntry(size_t index, bool scroll);
    // Clears the display lines and renders the header and every entry.
    void rebuildDisplay();
    // Removes the display lines that the last entry's rendering produced.
    void replaceLastRendering();
    // When the last entry's stop is still open: it becomes `stop`, and the
    // entry's display lines are rendered again. True when it closed one.
    bool closeOpenStop(const TimeCode& stop);
    // The state part of "Clear": empty, unmodified, named "New File".
    void clear();

    void setDocumentName(const std::string& path);
    const std::string& documentName() const { return name_; }
    // "Subtitles - <base> -"
    std::string caption() const;
    // The save dialog's proposed name: base + extension of the format.
    std::string proposedFileName() const;
    // The save dialog's filter and default extension for the format.
    std::string saveFilter() const;
    std::string defaultExtension() const;

    size_t count() const { return entries_.size(); }
    const SubtitleEntry& entry(size_t index) const { return entries_[index - 1]; }
    SubtitleEntry& entry(size_t index) { return entries_[index - 1]; }
    const std::vector<SubtitleEntry>& entries() const { return entries_; }

    const std::vector<std::string>& displayLines() const { return display_; }
    bool modified() const { return modified_; }
    void setModified(bool m) { modified_ = m; }
    OutputFormat format() const { return format_; }
    OutputSettings& settings() { return settings_; }
    const OutputSettings& settings() const { return settings_; }
    SplitRange& splitRange() { return split_; }
    // What LabelNbSubTitle shows.
    size_t shownIndex() const { return shownIndex_; }
    // Whether the last rendering asked to scroll to the end.
    bool scrollRequested() const { return scrollRequested_; }

  private:
    bool extendedChoice() const {
        return settings_.ovtExtended || format_ == OutputFormat::IAuthor;
    }

    std::vector<SubtitleEntry> entries_;
    std::vector<std::string> display_;
    size_t lastRenderLines_ = 0;  // display lines of the last entry rendered
    bool modified_ = false;
    std::string name_;
    OutputFormat format_ = OutputFormat::Orvane;
    OutputSettings settings_;
    SplitRange split_;
    size_t shownIndex_ = 0;
    bool scrollRequested_ = false;
};

}  // namespace orvane
