#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvane {

// The numbered user messages. Texts are Windows-1252 bytes; leading and
// trailing blanks belong to the text.
class MessageTable {
  public:
    static constexpr size_t kBuiltInCount = 60;

    // Fills the table with the built-in English texts, replacing any content.
    void setDefaultMessages();

    // Message n, or an empty text when the table has no such entry.
    const std::string& get(size_t n) const;
    // Replaces message n; a number past the end is ignored.
    bool replace(size_t n, std::string text);
    void append(std::string text) { messages_.push_back(std::move(text)); }

    size_t size() const { return messages_.size(); }
    void clear() { messages_.clear(); }

    // The built-in text of message n (n < kBuiltInCount).
    static const char* builtIn(size_t n);

  private:
    std::vector<std::string> messages_;
};

// The message numbers by name: code never fetches a message by its bare number.
namespace msg {
inline constexpr size_t kMaxCharactersReached = 0;
inline constexpr size_t kMatrixPerDvd = 1;
inline constexpr size_t kMatrixEmpty = 2;
inline constexpr size_t kMatrixFileWord = 3;
inline constexpr size_t kMatrixExistsReplace = 4;
inline constexpr size_t kNotAMatrixFile = 5;
inline constexpr size_t kCharacterMatrixWord = 6;
inline constexpr size_t kHasBeenModified = 7;
inline constexpr size_t kWantToSaveIt = 8;
inline constexpr size_t kTextNotSavedQuit = 9;
inline constexpr size_t kReallyQuit = 10;
inline constexpr size_t kTextFileWord = 11;
inline constexpr size_t kTextExistsReplace = 12;
inline constexpr size_t kTextNotSavedOpen = 13;
inline constexpr size_t kReallyOpenAnother = 14;
inline constexpr size_t kErrorAtSubtitle = 15;
inline constexpr size_t kIgnoreAndContinue = 16;
inline constexpr size_t kTextNotSavedClear = 17;
inline constexpr size_t kReallyClearText = 18;
inline constexpr size_t kDeleteCharacter = 19;
inline constexpr size_t kDeleteCharacterEnd = 20;
inline constexpr size_t kTextNotEmpty = 21;
inline constexpr size_t kAddToEndOfFile = 22;
inline constexpr size_t kSplitOutputEnabled = 23;
inline constexpr size_t kSplitMightHideNew = 24;
inline constexpr size_t kNoVobSelected = 25;
inline constexpr size_t kBadPacketHeader = 26;
inline constexpr size_t kWantToContinue = 27;
inline constexpr size_t kCantOpenFile = 28;
inline constexpr size_t kMightBeCrypted = 29;
inline constexpr size_t kTryToDecrypt = 30;
inline constexpr size_t kTimeCodeWarning = 31;
inline constexpr size_t kReducedToZero = 32;
inline constexpr size_t kContinueNoUndo = 33;
inline constexpr size_t kMinusStretch = 34;
inline constexpr size_t kStretchLargerThanFile = 35;
inline constexpr size_t kSamePaletteIndex = 36;
inline constexpr size_t kStopBeforeStart = 37;
inline constexpr size_t kSaveBmpsTitle = 38;
inline constexpr size_t kSaveSupsTitle = 39;
inline constexpr size_t kSaveAsBmpUnit = 40;
inline constexpr size_t kSaveAsSupUnit = 41;
inline constexpr size_t kEnterFileNameStart = 42;
inline constexpr size_t kSaveCurrentBmpTitle = 43;
inline constexpr size_t kSaveProfileTitle = 44;
inline constexpr size_t kLoadProfileTitle = 45;
inline constexpr size_t kLoadBackgroundTitle = 46;
inline constexpr size_t kNoMemoryForCharacter = 47;
inline constexpr size_t kNoMemoryForMatrix = 48;
inline constexpr size_t kMatrixSizeInBytes = 49;
inline constexpr size_t kFoundFileWord = 50;
inline constexpr size_t kContainCharacter = 51;
inline constexpr size_t kSeemsToMatch = 52;
inline constexpr size_t kOpenThisMatrix = 53;
inline constexpr size_t kNoMatchingMatrix = 54;
inline constexpr size_t kPlaceMatrixFilesIn = 55;
inline constexpr size_t kTryNextCharacter = 56;
inline constexpr size_t kTooManyFiles = 57;
inline constexpr size_t kStretchNoLength = 58;
inline constexpr size_t kSaveVobSubTitle = 59;
inline constexpr size_t kCount = 60;
static_assert(kCount == MessageTable::kBuiltInCount);
}  // namespace msg

}  // namespace orvane
