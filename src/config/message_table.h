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

// Numbers of the messages the code composes by name.
namespace msg {
inline constexpr size_t kTextNotSavedQuit = 9;
inline constexpr size_t kReallyQuit = 10;
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
inline constexpr size_t kStopBeforeStart = 37;
inline constexpr size_t kSaveBmpsTitle = 38;
inline constexpr size_t kSaveSupsTitle = 39;
inline constexpr size_t kTooManyFiles = 57;
inline constexpr size_t kStretchNoLength = 58;
inline constexpr size_t kSaveVobSubTitle = 59;
}  // namespace msg

}  // namespace orvane
