#include "subtitles/subtitle_document.h"

#include <algorithm>

#include "subtitles/orvane_format.h"

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

SubtitleDocument::SubtitleDocument() {
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
    modified_ = true;
    SubtitleEntry e = entries_[index - 1];
    bool shown = true;
    if (split_.enabled) {
        const int64_t s = timeCodeToMs(e.start);
        shown = timeCodeToMs(split_.start) <= s && s < timeCodeToMs(split_.stop);
        if (shown) {
            if (timeCodeToMs(e.stop) > timeCodeToMs(split_.stop)) e.stop = split_.stop;
            if (!split_.start.isZero()) {
                const int64_t shift = timeCodeToMs(split_.start);
                e.start = timeCodeFromMs(timeCodeToMs(e.start) - shift);
                e.stop = timeCodeFromMs(timeCodeToMs(e.stop) - shift);
            }
        }
    }
    lastRenderLines_ = 0;
    if (shown) {
        // Formats 0 and 3 show the own format; the other writers come with
        // their output formats.
        const auto lines =
            orvaneEntryLines(e, size_t{settings_.indexOffset} + index, extendedChoice());
        display_.insert(display_.end(), lines.begin(), lines.end());
        lastRenderLines_ = lines.size();
    }
    scrollRequested_ = scroll;
    shownIndex_ = index;
}

void SubtitleDocument::rebuildDisplay() {
    display_.clear();
    lastRenderLines_ = 0;
    for (size_t i = 1; i <= entries_.size(); ++i) renderEntry(i, false);
    shownIndex_ = entries_.size();
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
