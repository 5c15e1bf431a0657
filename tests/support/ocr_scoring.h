#pragma once

#include <string>
#include <vector>

namespace orvane::test {

// Lines joined with '\n'.
std::string joinLines(const std::vector<std::string>& lines);

// Levenshtein distance between two byte strings; with `iAndL` a capital I
// and a small l count as the same character.
int editDistance(const std::string& a, const std::string& b, bool iAndL);

// Character errors summed over subtitles (spaces and line breaks count).
struct CharacterErrors {
    int errors = 0;
    int characters = 0;
    void add(const std::vector<std::string>& reference, const std::vector<std::string>& recognised,
             bool iAndL) {
        const std::string r = joinLines(reference);
        errors += editDistance(r, joinLines(recognised), iAndL);
        characters += static_cast<int>(r.size());
    }
    double rate() const { return characters == 0 ? 0.0 : static_cast<double>(errors) / characters; }
};

}  // namespace orvane::test
