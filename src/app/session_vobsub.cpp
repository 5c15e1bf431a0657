#include "app/ifo_format.h"
#include "app/session.h"
#include "app/vob_folder.h"
#include "common/file_io.h"
#include "common/io_error.h"
#include "stream/mpeg_ps_format.h"

namespace orvane {

namespace {

// An index lists a few lines per unit; a film's is some hundred KiB.
constexpr size_t kMaxIndexSize = size_t{64} << 20;

vobsub::Index readIndex(const std::string& path) {
    vobsub::Index index;
    std::string error;
    if (!vobsub::parseIndex(readWholeFileText(path, kMaxIndexSize), index, error))
        throw IoError(path, error);
    return index;
}

}  // namespace

StreamNames Session::vobSubStreamNames(const std::string& idxPath) {
    const vobsub::Index index = readIndex(idxPath);
    StreamNames names;
    for (const vobsub::IndexStream& s : index.streams) {
        const auto at = static_cast<size_t>(s.index);
        const std::string& l = s.language;
        names[at] = l.size() == 2
                        ? languageName(static_cast<uint8_t>(l[0]), static_cast<uint8_t>(l[1]))
                        : l.substr(0, ifo::kMaxStreamNameLength);
    }
    return names;
}

void Session::loadTitleSetOf(const std::string& firstFile) {
    titleSet_ = TitleSetInfo{};
    discColours_.reset();
    inputIndex_.reset();
    if (isVobSubIndex(firstFile)) {
        try {
            inputIndex_ = readIndex(firstFile);
        } catch (const IoError&) {
            return;  // reported when the file is read
        }
        titleSet_.pal = inputIndex_->height != 480;
        for (const vobsub::IndexStream& s : inputIndex_->streams)
            titleSet_.languageCodes[static_cast<size_t>(s.index)] = s.language;
        discColours_ = discColoursFromRgb(inputIndex_->palette);
        return;
    }
    const std::string ifo = titleSetIfoOfVob(firstFile);
    if (ifo.empty()) return;
    try {
        titleSet_ = readTitleSetInfo(ifo);
    } catch (const IoError&) {
        // Without its IFO a title still reads; only its colours are not known.
        titleSet_ = TitleSetInfo{};
        return;
    }
    if (titleSet_.hasColourTable) discColours_ = discColoursFromYCrCb(titleSet_.colourTable);
}

std::optional<PreviewColours> Session::currentDiscColours() const {
    if (!discColours_ || picture_.sequences.empty()) return std::nullopt;
    return unitDiscColours(picture_.sequences.front().palette, *discColours_);
}

const Session::StreamUnitCounts& Session::unitCounts(int streamIndex) const {
    static const StreamUnitCounts kNone;
    if (streamIndex < 0 || streamIndex >= kStreamCount) return kNone;
    return unitCounts_[static_cast<size_t>(streamIndex)];
}

std::string Session::openVobSubIndex(const std::string& idxPath) {
    vobsub::Index index;
    try {
        index = readIndex(idxPath);
    } catch (const IoError& e) {
        reportIoError(e);
        return {};
    }
    if (const vobsub::IndexStream* s = index.stream(job_.selectedStream - 0x20)) {
        for (const vobsub::IndexEntry& e : s->entries) indexTimes_.emplace(e.filePos, e.ms);
    }
    const std::string sub = vobSubDataFile(idxPath);
    if (!fileExists(sub)) {
        reportFileError(sub);
        return {};
    }
    return sub;
}

void Session::addVobSubUnit(const UnitReport& report) {
    const int64_t ms = timeCodeToMs(report.unitStart);
    const auto pts = static_cast<uint32_t>(msToTicks(ms));
    // One stream per pair: index 0, sub-stream 0x20.
    const uint64_t pos = vobSubData_.addUnit(report.bytes, mpeg_ps::kFirstSubPictureStream, pts);
    vobSubEntries_.entries.push_back({ms, pos});
}

bool Session::writeVobSubPair() {
    if (!vobSubPending_) return false;
    vobSubPending_ = false;
    // An empty result leaves an existing pair alone.
    if (vobSubEntries_.entries.empty()) return false;
    vobsub::Index index;
    index.width = 720;
    index.height = titleSet_.pal ? 576 : 480;
    if (inputIndex_) {
        index.width = inputIndex_->width;
        index.height = inputIndex_->height;
    }
    if (discColours_) {
        index.palette = rgbOfDiscColours(*discColours_);
    } else {
        // No colour table known: the preview's greys, repeated.
        for (size_t i = 0; i < index.palette.size(); ++i)
            index.palette[i] = PreviewColours{}[i & 3] & 0xFFFFFF;
    }
    vobsub::IndexStream stream = std::move(vobSubEntries_);
    vobSubEntries_ = {};
    stream.index = 0;
    stream.language = titleSet_.languageCodes[job_.selectedStream & 0x1F];
    index.streams.push_back(std::move(stream));
    try {
        saveFile(saveBaseName_ + ".sub", std::span<const uint8_t>(vobSubData_.bytes()));
        saveFile(saveBaseName_ + ".idx", vobsub::indexText(index));
    } catch (const IoError& e) {
        reportIoError(e);
        return false;
    }
    vobSubData_.clear();
    return true;
}

}  // namespace orvane
