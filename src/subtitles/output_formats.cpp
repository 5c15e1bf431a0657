#include "subtitles/output_formats.h"

#include <algorithm>
#include <optional>

#include "subtitles/ass_writer.h"
#include "subtitles/iauthor_writer.h"
#include "subtitles/orvane_format.h"
#include "subtitles/philips_writer.h"
#include "subtitles/sonic_writer.h"
#include "subtitles/split_range.h"
#include "subtitles/subviewer_writer.h"
#include "subtitles/webvtt_writer.h"

namespace orvane {

namespace {

using Lines = std::vector<std::string>;

Lines orvaneEntry(const FormatWriterInput& in, const SubtitleEntry& e, size_t index) {
    return orvaneEntryLines(e, size_t{in.settings.indexOffset} + index, in.settings.ovtExtended);
}

// The IAuthor display shows the own format with the picture rectangles; its
// script is made only when saving.
Lines iauthorEntry(const FormatWriterInput& in, const SubtitleEntry& e, size_t index) {
    return orvaneEntryLines(e, size_t{in.settings.indexOffset} + index, true);
}

Lines iauthorScript(const FormatWriterInput& in) {
    Lines out = iauthorScriptLines(in.entries, in.split, in.settings, in.dateTime());
    out.emplace_back();
    return out;
}

Lines subViewer1Entry(const FormatWriterInput& in, const SubtitleEntry& e, size_t index) {
    // The gap before this entry is measured from the previous entry's stop
    // in the same time base; one the split range leaves out writes nothing
    // here, so it gets no gap either.
    std::optional<TimeCode> previousStop;
    if (index > 1) {
        if (const auto p = restrictToSplitRange(in.split, in.entries[index - 2]))
            previousStop = p->stop;
    }
    return subViewer1EntryLines(e, previousStop, in.settings.subViewer1);
}

template <typename T, size_t N>
void copyArray(T (&to)[N], const T (&from)[N]) {
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

const OutputFormatDescription kFormats[] = {
    {.id = OutputFormat::Orvane,
     .name = "orvane",
     .extension = "ovt",
     .saveFilter = "Orvane File (*.ovt)|*.ovt|Text File (*.txt)|*.txt|All|*.*",
     .entry = orvaneEntry,
     .copyStoredSettings =
         [](OutputSettings& to, const OutputSettings& from) {
             to.ovtExtended = from.ovtExtended;
             to.ovtEncoding = from.ovtEncoding;
         },
     .encodingChoice = &OutputSettings::ovtEncoding,
     .pageName = "TabSheetOrvane",
     .pageCaption = "Orvane (*.ovt)"},
    {.id = OutputFormat::SubViewer1,
     .name = "subviewer1",
     .extension = "sub",
     .saveFilter = "SubViewer File (*.sub)|*.sub|Text File (*.txt)|*.txt|All|*.*",
     .header =
         [](const FormatWriterInput& in) { return subViewer1HeaderLines(in.settings.subViewer1); },
     .entry = subViewer1Entry,
     .footer = [](const FormatWriterInput&) { return subViewer1FooterLines(); },
     .pageName = "TabSheetSubviewer",
     .pageCaption = "Subviewer (*.sub)"},
    {.id = OutputFormat::SubViewer2,
     .name = "subviewer2",
     .extension = "sub",
     .saveFilter = "SubViewer 2 File (*.sub)|*.sub|Text File (*.txt)|*.txt|All|*.*",
     .header =
         [](const FormatWriterInput& in) { return subViewer2HeaderLines(in.settings.subViewer2); },
     .entry = [](const FormatWriterInput&, const SubtitleEntry& e,
                 size_t) { return subViewer2EntryLines(e); },
     .pageName = "TabSheetSubviewer2",
     .pageCaption = "Subviewer 2 (*.sub)"},
    {.id = OutputFormat::IAuthor,
     .name = "iauthor",
     .extension = "txt",
     .saveFilter = "IAuthor OGT File (*.txt)|*.txt|All|*.*",
     .entry = iauthorEntry,
     .script = iauthorScript,
     .turnsExtendedOn = true,
     .copyStoredSettings =
         [](OutputSettings& to, const OutputSettings& from) {
             copyArray(to.iauthorColour, from.iauthorColour);
             copyArray(to.iauthorBlend, from.iauthorBlend);
             to.iauthorMinimumInterval = from.iauthorMinimumInterval;
         },
     .pageName = "TabSheetIAuthor",
     .pageCaption = "IAuthor (*.txt)"},
    {.id = OutputFormat::Philips,
     .name = "philips",
     .extension = "sub",
     .saveFilter = "Philips SVCD Designer (*.sub)|*.sub|All|*.*",
     .header =
         [](const FormatWriterInput& in) { return philipsHeaderLines(in.settings, in.dateTime()); },
     .entry = [](const FormatWriterInput& in, const SubtitleEntry& e,
                 size_t) { return Lines{philipsListLine(e, in.settings)}; },
     .copyStoredSettings =
         [](OutputSettings& to, const OutputSettings& from) {
             to.philipsFrameRate = from.philipsFrameRate;
             to.philipsDropFrame = from.philipsDropFrame;
             to.philipsUseBmpColour = from.philipsUseBmpColour;
             copyArray(to.philipsColour, from.philipsColour);
             copyArray(to.philipsContrast, from.philipsContrast);
         },
     .pageName = "TabSheetPhilips",
     .pageCaption = "Philips SVCD Designer (*.sub)"},
    {.id = OutputFormat::Sonic,
     .name = "sonic",
     .extension = "txt",
     .saveFilter = "Sonic DVD Creator (*.txt)|*.txt|All|*.*",
     .entry = [](const FormatWriterInput& in, const SubtitleEntry& e,
                 size_t index) { return sonicEntryLines(e, index, in.settings); },
     .copyStoredSettings =
         [](OutputSettings& to, const OutputSettings& from) {
             to.sonicFrameRate = from.sonicFrameRate;
             to.sonicDropFrame = from.sonicDropFrame;
         },
     .pageName = "TabSheetSonic",
     .pageCaption = "Sonic DVD Creator (*.txt)"},
    {.id = OutputFormat::WebVtt,
     .name = "webvtt",
     .extension = "vtt",
     .saveFilter = "WebVTT File (*.vtt)|*.vtt|All|*.*",
     .header = [](const FormatWriterInput&) { return webVttHeaderLines(); },
     .entry = [](const FormatWriterInput&, const SubtitleEntry& e,
                 size_t index) { return webVttCueLines(e, index); },
     .encoding = TextEncoding::Utf8,
     .pageName = "TabSheetWebVtt",
     .pageCaption = "WebVTT (*.vtt)",
     .pageHeading = "For web browsers and video players ( HTML5 <track> )",
     .pageNote = "Written in UTF-8. Each subtitle is placed at the top or at the bottom of the "
                 "screen, where its picture was."},
    {.id = OutputFormat::Ass,
     .name = "ass",
     .extension = "ass",
     .saveFilter = "Advanced SubStation Alpha (*.ass)|*.ass|All|*.*",
     .header = [](const FormatWriterInput&) { return assHeaderLines(); },
     .entry = [](const FormatWriterInput&, const SubtitleEntry& e,
                 size_t) { return Lines{assDialogueLine(e)}; },
     .encoding = TextEncoding::Utf8,
     .pageName = "TabSheetAss",
     .pageCaption = "ASS (*.ass)",
     .pageHeading =
         "Advanced SubStation Alpha, for video players and muxers ( mpv, VLC, MKVToolNix )",
     .pageNote = "Written in UTF-8 with one style (white Arial, black outline). A subtitle whose "
                 "picture was in the upper half of the screen is placed at the top. The OCR does "
                 "not tell italics apart, so none are marked."},
};

}  // namespace

std::span<const OutputFormatDescription> outputFormats() {
    return kFormats;
}

const OutputFormatDescription& outputFormat(OutputFormat id) {
    for (const OutputFormatDescription& f : kFormats)
        if (f.id == id) return f;
    return kFormats[0];
}

const OutputFormatDescription* outputFormatNamed(std::string_view name) {
    for (const OutputFormatDescription& f : kFormats)
        if (name == f.name) return &f;
    return nullptr;
}

std::string outputFormatNames(std::string_view separator) {
    std::string out;
    for (const OutputFormatDescription& f : kFormats) {
        if (!out.empty()) out += separator;
        out += f.name;
    }
    return out;
}

TextEncoding encodingOf(const OutputFormatDescription& format, const OutputSettings& settings) {
    return format.encodingChoice ? settings.*format.encodingChoice : format.encoding;
}

}  // namespace orvane
