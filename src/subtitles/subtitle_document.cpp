#include "subtitles/subtitle_document.h"

#include <algorithm>

#include "subtitles/date_time_text.h"
#include "subtitles/iauthor_writer.h"
#include "subtitles/orvane_format.h"
#include "subtitles/philips_writer.h"
#include "subtitles/sonic_writer.h"
#include "subtitles/split_range.h"
#include "subtitles/subviewer_writer.h"

namespace orvane {

namespace {

constexpr char kNewFile[] = "New File";

std::string baseNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = base.find_last_of('.');
    if (dot != std::string::npos && dot > 0) base.resize(dot);
    return base;
}

}  // namespace

SubtitleDocument::SubtitleDocument() : dateTimeText_(currentDateTimeText) {
    setDocumentName(kNewFile);
}

SubtitleDocument::AppendResult SubtitleDocument::appendEntry(std::vector<std::string> lines,
                                                             bool render, const DisplayArea& rect,
                                                             const TimeCode& stop,
                                                             const TimeCode& start) {
    if (lines.empty()) return AppendResult::NoLines;
    if (entries_.size() >= kMaxEntries) return AppendResult::Full;
    if (lines.size() > SubtitleEntry::kMaxLines) {
        for (size_t i = SubtitleEntry::kMaxLines; i < lines.size(); ++i) {
            lines[SubtitleEntry::kMaxLines - 1] += ' ' + lines[i];
        }
        lines.resize(SubtitleEntry::kMaxLines);
    }
    entries_.push_back(SubtitleEntry{start, stop, std::move(lines), rect});
    if (render) renderEntry(entries_.size(), true);
    return AppendResult::Appended;
}

void SubtitleDocument::renderEntry(size_t index, bool scroll) {
    if (index == 0 || index > entries_.size()) return;
    modified_ = true;
    const std::optional<SubtitleEntry> e = restrictToSplitRange(split_, entries_[index - 1]);
    lastRenderLines_ = 0;
    if (e) {
        const auto lines = entryLines(*e, index);
        display_.insert(display_.end(), lines.begin(), lines.end());
        lastRenderLines_ = lines.size();
    }
    scrollRequested_ = scroll;
    shownIndex_ = index;
}

std::vector<std::string> SubtitleDocument::entryLines(const SubtitleEntry& e, size_t index) const {
    switch (format_) {
        case OutputFormat::Orvane:
        case OutputFormat::IAuthor:
            // The IAuthor display shows the own format; its script is made
            // only when saving.
            return orvaneEntryLines(e, size_t{settings_.indexOffset} + index, extendedChoice());
        case OutputFormat::SubViewer1: {
            // The gap before this entry is measured from the previous entry's
            // stop in the same time base; one the split range leaves out
            // writes nothing here, so it gets no gap either.
            std::optional<TimeCode> previousStop;
            if (index > 1) {
                if (const auto p = restrictToSplitRange(split_, entries_[index - 2])) {
                    previousStop = p->stop;
                }
            }
            return subViewer1EntryLines(e, previousStop, settings_.subViewer1);
        }
        case OutputFormat::SubViewer2:
            return subViewer2EntryLines(e);
        case OutputFormat::Philips:
            return {philipsListLine(e, settings_)};
        case OutputFormat::Sonic:
            return sonicEntryLines(e, index, settings_);
    }
    return {};
}

std::vector<std::string> SubtitleDocument::headerLines() {
    switch (format_) {
        case OutputFormat::SubViewer1:
            return subViewer1HeaderLines(settings_.subViewer1);
        case OutputFormat::SubViewer2:
            return subViewer2HeaderLines(settings_.subViewer2);
        case OutputFormat::IAuthor:
            // No header, but the display shows the picture rectangles.
            settings_.ovtExtended = true;
            return {};
        case OutputFormat::Philips:
            return philipsHeaderLines(settings_, dateTimeText_());
        case OutputFormat::Orvane:
        case OutputFormat::Sonic:
            break;
    }
    return {};
}

void SubtitleDocument::rebuildDisplay() {
    display_ = headerLines();
    lastRenderLines_ = 0;
    for (size_t i = 1; i <= entries_.size(); ++i) renderEntry(i, false);
    shownIndex_ = entries_.size();
    // Not per entry, but once at the end: the window goes to the last line.
    scrollRequested_ = true;
}

void SubtitleDocument::replaceLastRendering() {
    // Exactly the lines the last rendering added: an entry that the split
    // range left out removes nothing.
    const size_t n = std::min(lastRenderLines_, display_.size());
    display_.resize(display_.size() - n);
    lastRenderLines_ = 0;
}

bool SubtitleDocument::closeOpenStop(const TimeCode& stop) {
    if (entries_.empty() || !entries_.back().stop.isZero()) return false;
    replaceLastRendering();
    entries_.back().stop = stop;
    renderEntry(entries_.size(), true);
    return true;
}

void SubtitleDocument::clear() {
    modified_ = false;
    setDocumentName(kNewFile);
    entries_.clear();
    shownIndex_ = 0;
    display_.clear();
    rebuildDisplay();
}

std::vector<std::string> SubtitleDocument::savedLines() const {
    if (format_ == OutputFormat::IAuthor) {
        std::vector<std::string> out =
            iauthorScriptLines(entries_, split_, settings_, dateTimeText_());
        out.emplace_back();
        return out;
    }
    std::vector<std::string> out = display_;
    if (format_ == OutputFormat::SubViewer1) {
        const auto footer = subViewer1FooterLines();
        out.insert(out.end(), footer.begin(), footer.end());
    }
    return out;
}

void SubtitleDocument::convertToFormat(OutputFormat page, const OutputSettings& dialog) {
    // Each stored field from its own control; the live fields are already
    // the document's.
    settings_.ovtExtended = dialog.ovtExtended;
    std::copy(std::begin(dialog.iauthorColour), std::end(dialog.iauthorColour),
              std::begin(settings_.iauthorColour));
    std::copy(std::begin(dialog.iauthorBlend), std::end(dialog.iauthorBlend),
              std::begin(settings_.iauthorBlend));
    settings_.iauthorMinimumInterval = dialog.iauthorMinimumInterval;
    settings_.philipsFrameRate = dialog.philipsFrameRate;
    settings_.philipsDropFrame = dialog.philipsDropFrame;
    settings_.philipsUseBmpColour = dialog.philipsUseBmpColour;
    std::copy(std::begin(dialog.philipsColour), std::end(dialog.philipsColour),
              std::begin(settings_.philipsColour));
    std::copy(std::begin(dialog.philipsContrast), std::end(dialog.philipsContrast),
              std::begin(settings_.philipsContrast));
    settings_.sonicFrameRate = dialog.sonicFrameRate;
    settings_.sonicDropFrame = dialog.sonicDropFrame;

    format_ = page;
    if (page == OutputFormat::IAuthor) settings_.ovtExtended = true;
    setDocumentName(name_);
    rebuildDisplay();
}

void SubtitleDocument::selectFormat(OutputFormat format) {
    const OutputSettings unchanged = settings_;
    convertToFormat(format, unchanged);
}

bool SubtitleDocument::applySplitRange(bool enabled, const TimeCode& start, const TimeCode& stop) {
    if (enabled && timeCodeToMs(stop) < timeCodeToMs(start)) return false;
    split_ = {enabled, start, stop};
    rebuildDisplay();
    return true;
}

void SubtitleDocument::setDocumentName(const std::string& path) {
    name_ = path;
}

std::string SubtitleDocument::caption() const {
    return "Subtitles - " + baseNameOf(name_) + " -";
}

std::string SubtitleDocument::proposedFileName() const {
    switch (format_) {
        case OutputFormat::Orvane:
            return baseNameOf(name_) + ".ovt";
        case OutputFormat::SubViewer1:
        case OutputFormat::SubViewer2:
        case OutputFormat::Philips:
            return baseNameOf(name_) + ".sub";
        case OutputFormat::IAuthor:
        case OutputFormat::Sonic:
            return baseNameOf(name_) + ".txt";
    }
    return baseNameOf(name_);
}

std::string SubtitleDocument::saveFilter() const {
    switch (format_) {
        case OutputFormat::Orvane:
            return "Orvane File (*.ovt)|*.ovt|Text File (*.txt)|*.txt|All|*.*";
        case OutputFormat::SubViewer1:
            return "SubViewer File (*.sub)|*.sub|Text File (*.txt)|*.txt|All|*.*";
        case OutputFormat::SubViewer2:
            return "SubViewer 2 File (*.sub)|*.sub|Text File (*.txt)|*.txt|All|*.*";
        case OutputFormat::IAuthor:
            return "IAuthor OGT File (*.txt)|*.txt|All|*.*";
        case OutputFormat::Philips:
            return "Philips SVCD Designer (*.sub)|*.sub|All|*.*";
        case OutputFormat::Sonic:
            return "Sonic DVD Creator (*.txt)|*.txt|All|*.*";
    }
    return {};
}

std::string SubtitleDocument::defaultExtension() const {
    const std::string name = proposedFileName();
    return name.substr(name.find_last_of('.') + 1);
}

}  // namespace orvane
