#include "app/session.h"

#include "app/ifo_reader.h"
#include "app/program_folder.h"
#include "app/vob_folder.h"
#include "common/io_error.h"
#include "stream/mpeg_ps_format.h"
#include "subpicture/bmp_file.h"
#include "subpicture/sup_file.h"
#include "subpicture/unit_times.h"

namespace orvane {

namespace {

constexpr char kPauseCaption[] = "&Pause \x7F";
constexpr char kContinueCaption[] = "&Continue >";
constexpr char kLineBreak = '\r';

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Clears the assembler when the dispatch of a unit ends, also when it ends
// with an error, so that a failed unit is never dispatched twice.
struct ClearOnExit {
    SpuAssembler& assembler;
    ~ClearOnExit() { assembler.clear(); }
};

}  // namespace

Session::Session(UserInterface& ui)
    : ui_(ui), programFolder_(defaultProgramFolder()), folders_(programFolders(programFolder_)) {
    messages_.setDefaultMessages();
    resetTimeCode();
}

void Session::setProgramFolder(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    programFolder_ = std::move(folder);
    folders_ = programFolders(programFolder_);
}

void Session::setProgramFolders(ProgramFolders folders) {
    programFolder_ = folders.program;
    folders_ = std::move(folders);
}

void Session::reportIoError(const std::exception& e) {
    ui_.messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
}

// ---------------------------------------------------------------- job dialog

bool Session::startButton(const JobRequest& request) {
    if (request.files.empty()) {
        ui_.messageBox(QuestionId::NoVobSelected, MessageIcon::Warning,
                       messages_.get(msg::kNoVobSelected), Buttons::Ok);
        return false;
    }
    if (request.files.size() > ExtractionJob::kMaxFiles) {
        // A job holds 1024 files; say so rather than start nothing silently.
        ui_.messageBox(QuestionId::TooManyFiles, MessageIcon::Warning,
                       messages_.get(msg::kTooManyFiles) + std::to_string(request.files.size()),
                       Buttons::Ok);
        return false;
    }
    switch (request.action) {
        case ActionMode::SaveBmp:
        case ActionMode::SaveSup: {
            const bool bmp = request.action == ActionMode::SaveBmp;
            if (request.timing && !confirmAppend()) return false;
            const std::string name = ui_.askSaveFileName(
                {messages_.get(bmp ? msg::kSaveBmpsTitle : msg::kSaveSupsTitle), {}, {}, {}});
            if (name.empty()) return false;
            saveBaseName_ = name;
            if (bmp) flags_.showBeforeNextPicture = true;
            ui_.showSubtitleWindow();
            break;
        }
        case ActionMode::SaveVobSub: {
            const std::string name =
                ui_.askSaveFileName({messages_.get(msg::kSaveVobSubTitle), {}, {}, {}});
            if (name.empty()) return false;
            // "film.idx" names the pair as well as "film" does.
            saveBaseName_ = isVobSubIndex(name) ? name.substr(0, name.size() - 4) : name;
            break;
        }
        case ActionMode::OnlyShow:
            flags_.showBeforeNextPicture = true;
            flags_.progressionNonStop = false;
            break;
        case ActionMode::Ocr:
            if (!confirmAppend()) return false;
            ui_.showSubtitleWindow();
            break;
    }
    // The split range hides new entries; shown and VobSub jobs add none.
    if (request.action != ActionMode::OnlyShow && request.action != ActionMode::SaveVobSub &&
        document_.splitRange().enabled) {
        ui_.messageBox(QuestionId::SplitWarning, MessageIcon::Information,
                       messages_.get(msg::kSplitOutputEnabled) + kLineBreak +
                           messages_.get(msg::kSplitMightHideNew),
                       Buttons::Ok);
    }
    return startJob(request) == StartResult::Started;
}

StartResult Session::startJob(const JobRequest& request) {
    // The reader in progress must stop before a new job begins; the caller
    // pauses it and starts again once it has returned.
    if (job_.running) return StartResult::Busy;
    if (request.files.size() > ExtractionJob::kMaxFiles) return StartResult::TooManyFiles;
    if (request.streamIndex < 0 || request.streamIndex >= kStreamCount)
        return StartResult::InvalidStream;

    job_.actionMode = request.action;
    job_.timingAndPosition = request.timing;
    job_.unitsInJob = 0;
    job_.files.clear();
    job_.fileSizes.fill(0);
    job_.totalSize = 0;
    job_.selectedStream = static_cast<uint8_t>(0x20 + request.streamIndex);
    job_.forcedOnly = request.forcedOnly;
    for (const std::string& f : request.files) {
        job_.files.push_back(f);
        // A VobSub index is read through its .sub, which tells the progress.
        const uint32_t kib =
            static_cast<uint32_t>(fileSizeKiB(isVobSubIndex(f) ? vobSubDataFile(f) : f));
        job_.fileSizes[job_.files.size()] = kib;
        job_.totalSize += kib;
    }
    job_.currentFile = 1;
    job_.resumeSector = 0;
    job_.unitStartSector = 0;
    job_.ignoreBadHeaders = false;
    job_.avoidTimeRestart = request.avoidTimeRestart;
    // A unit left half collected by the previous job never runs into the
    // first unit of this one.
    assembler_.clear();
    cells_.rearmFrameRate();
    job_.textColourIndex = 255;
    job_.running = false;
    unitCounts_[static_cast<size_t>(request.streamIndex)] = {true, 0, 0};
    // A VobSub job left paused keeps what it read.
    if (vobSubPending_) writeVobSubPair();
    vobSubData_.clear();
    vobSubEntries_ = {};
    vobSubPending_ = request.action == ActionMode::SaveVobSub;
    loadTitleSetOf(request.files.empty() ? std::string{} : request.files.front());
    // The second engine's language: the option, else the stream's in the
    // title set's IFO or the VobSub index, else English. Readings waiting
    // for confirmation belong to a job.
    {
        std::string code = ocrPolicy_.engineLanguage;
        if (code.empty() && request.streamIndex >= 0 && request.streamIndex < kStreamCount)
            code = titleSet_.languageCodes[static_cast<size_t>(request.streamIndex)];
        jobEngineLanguage_ = engineLanguageCode(code);
        if (jobEngineLanguage_.empty()) jobEngineLanguage_ = "eng";
        engineFailedLanguage_.clear();
        ledger_.clear();
        runTogetherDictionaryTried_ = false;
    }
    if (job_.paused) buttonPauseClick();
    return StartResult::Started;
}

TimeCode Session::carryTimeLine() {
    const TimeCode t = clock_.lastTimeCode();
    clock_.setStartTime(t);
    return t;
}

void Session::resetTimeCode() {
    clock_.reset();
    cells_.reset();
    ui_.chapters("0");
}

std::vector<std::string> Session::openIfo(const std::string& path) {
    if (fileExists(path))
        streamNames_ = isVobSubIndex(path) ? vobSubStreamNames(path) : readIfoStreamNames(path);
    return streamListItems(streamNames_);
}

// -------------------------------------------------------------------- driver

void Session::timerTick() {
    if (job_.running || job_.paused) return;
    if (jobOver()) return;
    const std::string& path = job_.files[job_.currentFile - 1];
    ui_.fileLabels(baseName(path), job_.currentFile, static_cast<int>(job_.files.size()));
    if (job_.currentFile == 1 && job_.resumeSector == 0) job_.elapsed = {};
    readFile(path);
}

void Session::runToEnd() {
    while (!jobOver() && !job_.paused && !job_.running) timerTick();
}

void Session::buttonPauseClick() {
    flags_.progressionNonStop = false;
    job_.paused = !job_.paused;
    ui_.pauseCaption(job_.paused ? kContinueCaption : kPauseCaption);
}

void Session::readFile(const std::string& path) {
    // A file that has gone since the job began is reported like one that
    // cannot be opened, and the job moves on instead of stalling on it.
    if (!fileExists(path)) {
        reportFileError(path);
        endOfFile();
        return;
    }
    const int64_t first = startReadingFile();

    std::string dataFile = path;
    indexTimes_.clear();
    if (isVobSubIndex(path)) {
        dataFile = openVobSubIndex(path);
        if (dataFile.empty()) {
            endOfFile();
            return;
        }
    }
    ReadResult result;
    try {
        result = reader_.readFile(dataFile, first, job_.selectedStream, *this);
    } catch (const IoError& e) {
        commitJobSaves();
        reportFileError(e.path());
        endOfFile();
        return;
    } catch (...) {
        job_.running = false;
        ui_.readingControls(false, true);
        commitJobSaves();
        throw;
    }
    // What the reader saved is on the disk before the job pauses or moves on.
    commitJobSaves();
    readerStopped(result);
}

int64_t Session::startReadingFile() {
    job_.running = true;
    ui_.readingControls(true, false);
    const uint32_t now = ui_.tickCount();
    lastElapsedTick_ = now;
    estimator_.start(workTick());
    sizeBeforeCurrentKiB_ = job_.sizeBeforeCurrent();
    if (job_.resumeSector == 0) {
        job_.unitsInFile = 0;
        ui_.progress(ProgressDisplay{});
        ui_.unitCounters(0, job_.unitsInJob);
    }
    const int64_t first = job_.resumeSector;
    job_.resumeSector = 0;
    return first;
}

void Session::readerStopped(const ReadResult& result) {
    switch (result.end) {
        case ReadEnd::EndOfFile:
            progressUpdate(result.nextSector);
            endOfFile();
            break;
        case ReadEnd::Declined:
            endOfFile();
            break;
        case ReadEnd::Paused:
            ui_.readingControls(true, true);
            job_.running = false;
            // A set ResumeSector comes from a pause that wants the unit on
            // screen read again.
            if (job_.resumeSector == 0) job_.resumeSector = static_cast<int32_t>(result.nextSector);
            break;
    }
    if (resumeWhenReaderStops_) {
        // After "Change Text Color": the reader has returned, so the pause
        // is released and the same unit is read again with a new colour.
        resumeWhenReaderStops_ = false;
        if (job_.paused) buttonPauseClick();
    }
}

void Session::endOfFile() {
    elapsedTick();
    job_.running = false;
    ui_.readingControls(false, true);
    job_.resumeSector = 0;
    job_.unitStartSector = 0;
    ++job_.currentFile;
    if (jobOver() && vobSubPending_) writeVobSubPair();
    if (jobOver()) {
        ui_.remainingTime(formatShortTimeCode(TimeCode{}));
        ui_.jobEnded("Job finished: " + std::to_string(job_.unitsInJob) + " SubPictures in " +
                     formatShortTimeCode(job_.elapsed));
    }
}

void Session::reportFileError(const std::string& path) {
    const std::string text = messages_.get(msg::kCantOpenFile) + path +
                             messages_.get(msg::kMightBeCrypted) + kLineBreak +
                             messages_.get(msg::kTryToDecrypt);
    ui_.messageBox(QuestionId::FileError, MessageIcon::Warning, text, Buttons::Ok);
}

// ----------------------------------------------------------- reader events

void Session::onProgress(int64_t sector, bool) {
    progressUpdate(sector);
    // Every MiB rather than every 20: a title of small files (or the
    // minutes of one spent teaching glyphs) would otherwise keep the first
    // estimate for the whole job.
    remainingEstimate(sector);
}

bool Session::onBadPackHeader(int64_t sector) {
    if (job_.ignoreBadHeaders) return true;
    const std::string text = messages_.get(msg::kBadPacketHeader) + std::to_string(sector) +
                             kLineBreak + messages_.get(msg::kWantToContinue);
    switch (ui_.messageBox(QuestionId::BadPacketHeader, MessageIcon::Warning, text,
                           Buttons::YesNoYesToAll)) {
        case Answer::Yes:
            return true;
        case Answer::YesToAll:
            job_.ignoreBadHeaders = true;
            return true;
        default:
            return false;
    }
}

void Session::onNavPack(const uint8_t* sector) {
    const CellClock::Update u = cells_.onNavPack(sector);
    if (u.rateDetected) ui_.frameRate(cells_.rateLabel());
    if (u.newCell) ui_.chapters(std::to_string(cells_.cellCounter()));
    ui_.navTimes(cells_.totalTimeCode(), clock_.lastTimeCode());
}

void Session::onSubPicturePacket(const SubPicturePacket& packet, int64_t sector) {
    const SpuAssembler::Step step = assembler_.addPacket(packet, sector, clock_);
    if (step.began) job_.unitStartSector = static_cast<int32_t>(sector);
    if (step.complete) completeUnit(sector);
}

void Session::completeUnit(int64_t sector) {
    // The control sequences tell whether the unit is forced; a job of
    // forced subtitles passes over the others as if they were not there.
    parseSubPictureControl(assembler_.unit(), picture_);
    const bool forced = isForcedUnit(picture_);
    StreamUnitCounts& counts = unitCounts_[job_.selectedStream & 0x1F];
    ++counts.units;
    if (forced) ++counts.forced;
    if (job_.forcedOnly && !forced) {
        assembler_.clear();
        progressUpdate(sector + 1);
        return;
    }
    ++job_.unitsInFile;
    ++job_.unitsInJob;
    {
        ClearOnExit clear{assembler_};
        UnitReport report;
        report.unitsInJob = job_.unitsInJob;
        report.unitsInFile = job_.unitsInFile;
        report.startSector = assembler_.unitStartSector();
        report.bytes = assembler_.unit();
        report.unitStart = assembler_.unitStartTime();
        // A VobSub index times its units itself, by their place in the .sub.
        if (!indexTimes_.empty()) {
            const auto t =
                indexTimes_.find(static_cast<uint64_t>(report.startSector) * mpeg_ps::kSectorSize);
            if (t != indexTimes_.end())
                report.unitStart = addTimeCodes(clock_.startTime(), timeCodeFromMs(t->second));
        }
        ui_.unitCounters(job_.unitsInFile, job_.unitsInJob);
        dispatchUnit(report);
        ui_.unitCompleted(report);
    }
    progressUpdate(sector + 1);
}

void Session::decodeUnit(UnitReport& report, DecodeDepth depth) {
    // A front end with a preview may show the picture at any time.
    if (ui_.showsPictures()) depth = DecodeDepth::Picture;
    switch (depth) {
        case DecodeDepth::Control:
            parseSubPictureControl(report.bytes, picture_);
            break;
        case DecodeDepth::Numbers:
            decodeSubPictureArea(report.bytes, picture_);
            break;
        case DecodeDepth::Picture:
            decodeSubPicture(report.bytes, picture_, previewColours_);
            break;
    }
    const UnitTimes times = computeUnitTimes(report.unitStart, picture_);
    picture_.unitStart = report.unitStart;
    picture_.start = times.start;
    picture_.stop = times.stop;
    report.picture = &picture_;
    report.times = times;
}

void Session::dispatchUnit(UnitReport& report) {
    switch (job_.actionMode) {
        case ActionMode::SaveVobSub:
            decodeUnit(report, DecodeDepth::Control);
            addVobSubUnit(report);
            if (flags_.showSubPicture) ui_.showPicture(shownBitmap(), picture_.area, true);
            break;
        case ActionMode::SaveSup:
            saveSupUnit(report);
            break;
        case ActionMode::OnlyShow:
            showUnit(report);
            break;
        case ActionMode::Ocr:
            decodeUnit(report, DecodeDepth::Numbers);
            // The start of this unit ends a subtitle whose own unit had no
            // stop command.
            if (document_.closeOpenStop(report.times.start)) ui_.documentChanged(document_);
            if (passesDisplayFilter(picture_)) {
                recogniseSubPicture(picture_, report.times.start, report.times.stop, picture_.area);
            }
            break;
        case ActionMode::SaveBmp:
            saveBmpUnit(report);
            break;
    }
}

void Session::saveSupUnit(UnitReport& report) {
    report.savedFile = numberedFileName(saveBaseName_, job_.unitsInJob, ".sup");
    if (!saveJobOutput([&] { saveSupFile(jobSaves_, report.savedFile, report.bytes); })) {
        report.savedFile.clear();
        return;
    }
    if (!flags_.showSubPicture && !job_.timingAndPosition) return;
    decodeUnit(report, flags_.showSubPicture ? DecodeDepth::Picture : DecodeDepth::Control);
    if (job_.timingAndPosition) appendFileEntry(report.savedFile, picture_.area, report.times);
    ui_.showPicture(shownBitmap(), picture_.area, true);
}

void Session::showUnit(UnitReport& report) {
    if (!ui_.showsPictures() && !flags_.showBeforeNextPicture && flags_.progressionNonStop) {
        // Nothing shows the picture and no dialog follows: the times and the
        // area are all this unit gives.
        decodeUnit(report, DecodeDepth::Control);
        return;
    }
    decodeUnit(report, DecodeDepth::Picture);
    if (flags_.showBeforeNextPicture) showAdjustmentDialog();
    chooseDefaultColourRoles();
    adjustCurrentPicture();
    ui_.showPicture(toImage24(adjusted_.picture), adjusted_.area, true);
    if (flags_.progressionNonStop) return;
    switch (waitFor([&] { return ui_.progressionController(job_.unitsInJob); })) {
        case ProgressionChoice::NoStop:
            flags_.progressionNonStop = true;
            break;
        case ProgressionChoice::Pause:
            buttonPauseClick();
            break;
        case ProgressionChoice::Next:
            break;
    }
}

void Session::saveBmpUnit(UnitReport& report) {
    const std::string file = numberedFileName(saveBaseName_, job_.unitsInJob, ".bmp");
    decodeUnit(report, DecodeDepth::Picture);
    if (flags_.showBeforeNextPicture) showAdjustmentDialog();
    chooseDefaultColourRoles();
    adjustCurrentPicture();
    if (!flags_.saveThisPicture) return;
    // Written before the entry naming it, so that a failed write leaves no
    // entry for a file that does not exist.
    if (!saveJobOutput([&] { saveBmpFile(jobSaves_, file, adjusted_.picture); })) return;
    report.savedFile = file;
    if (job_.timingAndPosition) appendFileEntry(file, adjusted_.area, report.times);
    if (flags_.showSubPicture) ui_.showPicture(toImage24(adjusted_.picture), adjusted_.area, true);
}

bool Session::saveJobOutput(const std::function<void()>& save) {
    try {
        save();
        if (jobSaves_.size() >= kSavesPerCommit) commitJobSaves();
        return true;
    } catch (const IoError& e) {
        // A write that failed is no trouble with the VOB being read: say
        // what the system said, and pause on this unit, so that Continue
        // (after making room, say) writes it again and nothing is skipped.
        reportIoError(e);
        pauseToReadUnitAgain();
        return false;
    }
}

void Session::commitJobSaves() {
    // A failure here comes after the units were read: it is said, and the
    // files that could be saved are there.
    try {
        jobSaves_.commit();
    } catch (const IoError& e) {
        reportIoError(e);
    }
}

void Session::appendFileEntry(const std::string& file, const DisplayArea& area,
                              const UnitTimes& times) {
    // The start of this unit ends an entry that had no stop time.
    if (document_.closeOpenStop(times.start)) ui_.documentChanged(document_);
    if (document_.appendEntry({baseName(file)}, true, area, times.stop, times.start) ==
        SubtitleDocument::AppendResult::Appended) {
        ui_.subtitleAdded(document_, document_.count());
        ui_.documentChanged(document_);
    }
}

// ------------------------------------------------------------ bitmap export

ColourRanking Session::sortedColourRoles() const {
    return robustColourRoles(picture_.bitmap, previewColours_);
}

void Session::chooseDefaultColourRoles() {
    if (flags_.colourRolesSet) return;
    colourRoles_ = sortedColourRoles();
    flags_.colourRolesSet = true;
}

void Session::adjustCurrentPicture() {
    const std::optional<PreviewColours> disc =
        bitmapSettings_.colours.discColours ? currentDiscColours() : std::nullopt;
    if (!disc) {
        adjusted_ =
            adjustPicture(picture_.bitmap, picture_.area, bitmapSettings_,
                          roleDisplayColours(colourRoles_, previewColours_), previewColours_[0]);
        return;
    }
    // Each role is written in the disc's colour of its colour number; a
    // number the disc shows fully transparent keeps the role's colour.
    BitmapExportSettings settings = bitmapSettings_;
    const uint16_t contrast = picture_.sequences.front().contrast;
    for (int r = 0; r < kRoleCount; ++r) {
        const unsigned n = colourRoles_[r] & 3u;
        if (!transparentNumber(contrast, n)) settings.colours.roleColour[r] = (*disc)[n];
    }
    adjusted_ =
        adjustPicture(picture_.bitmap, picture_.area, settings,
                      roleDisplayColours(colourRoles_, previewColours_), previewColours_[0]);
}

const Image24& Session::shownBitmap() {
    const std::optional<PreviewColours> disc =
        bitmapSettings_.colours.discColours ? currentDiscColours() : std::nullopt;
    if (!disc || !picture_.numbersDecoded) return picture_.bitmap;
    // What the disc never shows is painted as the preview's background.
    PreviewColours shown = *disc;
    for (unsigned n = 0; n < 4; ++n)
        if (transparentNumber(picture_.sequences.front().contrast, n))
            shown.colour[n] = previewColours_[0];
    paintInColours(picture_, shown, discBitmap_);
    return discBitmap_;
}

void Session::refreshPreview() {
    adjustCurrentPicture();
    ui_.showPicture(toImage24(adjusted_.picture), adjusted_.area, true);
}

void Session::saveAdjustedBmp(const std::string& path) {
    saveBmpFile(path, adjusted_.picture);
}

void Session::showAdjustmentDialog() {
    flags_.saveThisPicture = true;
    bitmapDialog_.fill();
    refreshPreview();
    waitFor([&] { ui_.bitmapAdjustment(bitmapDialog_); });
}

void Session::progressUpdate(int64_t sector) {
    const uint64_t pos = jobPositionKiB(sector, sizeBeforeCurrentKiB_);
    ProgressDisplay p;
    p.percent = progressPercent(pos, job_.totalSize);
    p.title = progressTitle(kCaption, p.percent);
    p.positionLabel = progressPositionLabel(pos, job_.totalSize, p.percent);
    ui_.progress(p);
    ui_.pump();
    elapsedTick();
}

void Session::elapsedTick() {
    if (!job_.running) return;
    const uint32_t now = ui_.tickCount();
    job_.elapsed =
        addTimeCodes(job_.elapsed, timeCodeFromMs(static_cast<uint32_t>(now - lastElapsedTick_)));
    ui_.elapsedTime(formatShortTimeCode(job_.elapsed));
    lastElapsedTick_ = now;
}

void Session::remainingEstimate(int64_t sector) {
    const uint64_t pos = jobPositionKiB(sector, sizeBeforeCurrentKiB_);
    const int64_t ms = estimator_.update(workTick(), pos, job_.totalSize);
    ui_.remainingTime(formatShortTimeCode(timeCodeFromMs(ms)));
}

// ------------------------------------------------- progression controller

bool Session::progressionSaveBmp() {
    const std::string title = messages_.get(msg::kSaveAsBmpUnit) + std::to_string(job_.unitsInJob) +
                              messages_.get(msg::kEnterFileNameStart);
    const std::string name = ui_.askSaveFileName({title, {}, {}, {}});
    if (name.empty()) return false;
    try {
        saveAdjustedBmp(name + ".BMP");
    } catch (const IoError& e) {
        reportIoError(e);
        return false;
    }
    return true;
}

bool Session::progressionSaveSup() {
    const std::string title = messages_.get(msg::kSaveAsSupUnit) + std::to_string(job_.unitsInJob) +
                              messages_.get(msg::kEnterFileNameStart);
    const std::string name = ui_.askSaveFileName({title, {}, {}, {}});
    if (name.empty()) return false;
    try {
        saveSupFile(name + ".SUP", assembler_.unit());
    } catch (const IoError& e) {
        reportIoError(e);
        return false;
    }
    return true;
}

}  // namespace orvane
