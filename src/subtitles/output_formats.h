#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_encoding.h"
#include "subtitles/subtitle_entry.h"

namespace orvane {

// Which output format; the descriptions below say everything else about it.
enum class OutputFormat : uint8_t {
    Orvane = 0,
    SubViewer1 = 1,
    SubViewer2 = 2,
    IAuthor = 3,
    Philips = 4,
    Sonic = 5,
    WebVtt = 6,
    Ass = 7,
};

// What a writer sees of the document while it renders.
struct FormatWriterInput {
    const std::vector<SubtitleEntry>& entries;  // the whole store, entry i at [i - 1]
    const OutputSettings& settings;
    const SplitRange& split;
    const std::function<std::string()>& dateTime;  // the "GENERATED ... on" stamp
};

// One output format: its name, file extension, writer, settings and
// dialog page. The document, `orvane-cli convert` and the output format
// dialog read these and never switch on a format; a new format is one more
// description (and its writer).
struct OutputFormatDescription {
    OutputFormat id = OutputFormat::Orvane;
    const char* name = "";       // what `convert --format` takes
    const char* extension = "";  // of the proposed save name, without the dot
    const char* saveFilter = "";

    // The writer. Lines before the entries (none when null); the lines of
    // entry `index` (already restricted to the split range); lines after the
    // display lines when saving (none when null); and, when set, what
    // saving writes instead of the display lines.
    std::vector<std::string> (*header)(const FormatWriterInput&) = nullptr;
    std::vector<std::string> (*entry)(const FormatWriterInput&, const SubtitleEntry&,
                                      size_t index) = nullptr;
    std::vector<std::string> (*footer)(const FormatWriterInput&) = nullptr;
    std::vector<std::string> (*script)(const FormatWriterInput&) = nullptr;
    // Showing this format switches the own format's picture coordinates on.
    bool turnsExtendedOn = false;

    // Settings. The stored ones the format owns, copied from the dialog's
    // by "&Convert to this Format" (null: none).
    void (*copyStoredSettings)(OutputSettings& to, const OutputSettings& from) = nullptr;
    // The file's encoding, or the setting that chooses it (null: fixed).
    TextEncoding encoding = TextEncoding::Windows1252;
    TextEncoding OutputSettings::*encodingChoice = nullptr;

    // The dialog page: its object name and tab caption; the heading and
    // note of a page that has no controls of its own.
    const char* pageName = "";
    const char* pageCaption = "";
    const char* pageHeading = nullptr;
    const char* pageNote = nullptr;
};

// Every format, in the order of the dialog's pages.
std::span<const OutputFormatDescription> outputFormats();
const OutputFormatDescription& outputFormat(OutputFormat id);
// By `convert --format` name; null when there is none.
const OutputFormatDescription* outputFormatNamed(std::string_view name);
// "orvane, subviewer1, ..." for messages and usage.
std::string outputFormatNames(std::string_view separator);
// The encoding a file of the format is written in with these settings.
TextEncoding encodingOf(const OutputFormatDescription& format, const OutputSettings& settings);

}  // namespace orvane
