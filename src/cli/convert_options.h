#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/option_values.h"

namespace orvane::cli {

// What `orvane-cli convert` is asked to do.
struct ConvertOptions {
    std::string input;
    const OutputFormatDescription* format = nullptr;
    std::optional<TextEncoding> encoding;
    std::string out;
    TimeCorrectionSettings times;
    bool splitOn = false;
    TimeCode splitStart, splitStop;
    PostOcrOptions postOcr;
    std::string dictionaryFolder;
    bool yes = false;
    std::string config;
};

// Parses the words after "convert"; on a mistake returns nullopt and sets
// `error`.
std::optional<ConvertOptions> parseConvertOptions(const std::vector<std::string>& args,
                                                  std::string& error);

std::string convertUsage();

}  // namespace orvane::cli
