#include "subtitles/subtitle_document.h"

#include <algorithm>

#include "subtitles/date_time_text.h"
#include "subtitles/split_range.h"
#include "subtitles/text_file.h"

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

FormatWriterInput SubtitleDocument::writerInput() const {
    return {entries_, settings_, split_, dateTimeText_};
}

std::vector<std::string> SubtitleDocument::entryLines(const SubtitleEntry& e, size_t index) const {
    return outputFormat(format_).entry(writerInput(), e, index);
}

std::vector<std::string> SubtitleDocument::headerLines() {
    const OutputFormatDescription& f = outputFormat(format_);
    if (f.turnsExtendedOn) settings_.ovtExtended = true;
    return f.header ? f.header(writerInput()) : std::vector<std::string>{};
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
    const OutputFormatDescription& f = outputFormat(format_);
    if (f.script) return f.script(writerInput());
    std::vector<std::string> out = display_;
    if (f.footer) {
        const auto footer = f.footer(writerInput());
        out.insert(out.end(), footer.begin(), footer.end());
    }
    return out;
}

std::string SubtitleDocument::savedText() const {
    const std::string text = joinTextLines(savedLines());
    return encodingOf(outputFormat(format_), settings_) == TextEncoding::Utf8 ? cp1252ToUtf8(text)
                                                                              : text;
}

void SubtitleDocument::convertToFormat(OutputFormat page, const OutputSettings& dialog) {
    // Each stored field from its own control; the live fields are already
    // the document's.
    for (const OutputFormatDescription& f : outputFormats())
        if (f.copyStoredSettings) f.copyStoredSettings(settings_, dialog);
    format_ = page;
    if (outputFormat(page).turnsExtendedOn) settings_.ovtExtended = true;
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
    return baseNameOf(name_) + "." + outputFormat(format_).extension;
}

std::string SubtitleDocument::saveFilter() const {
    return outputFormat(format_).saveFilter;
}

std::string SubtitleDocument::defaultExtension() const {
    return outputFormat(format_).extension;
}

}  // namespace orvane
