#include "config/message_table.h"

#include <array>

namespace orvane {

namespace {

// Windows-1252: "\xB0" is the degree sign of "N°".
constexpr std::array<const char*, MessageTable::kBuiltInCount> kBuiltIn{
    "Maximum Number of Characters reached : ",
    "You have to use a different char. matrix for each DVD.",
    "The Character Matrix is Empty !",
    "File ",
    " already exists ! Replace ?",
    "This is NOT a valid Char Matrix File !",
    "Character Matrix ",
    " has been modified.",
    "Do you want to Save it ?",
    "Text NOT Saved !",
    "Do you really want to quit ?",
    "File ",
    " already exists ! Replace file ?",
    "Text NOT Saved !",
    "Do you really want to open another file ?",
    "Error in file at Subtitle N\xB0 ",
    "Ignore and Continue ?",
    "Text NOT Saved !",
    "Do you really want to clear all text ?",
    "Delete character \"",
    "\" ?",
    "Subtitles text file isn't empty.",
    "Add to the end of file ?",
    "Warning: Split Output File function is enabled",
    "The new Subtitles might NOT appear until you disable it !",
    "No VOB selected !!",
    "Bad Packet Header at LBA: ",
    "Do you want to continue ?",
    "Can't open file ",
    " ,it might be crypted",
    "You can try to decrypt it with DVD Decrypter, DECSS or VOBDec",
    "Warning : Time Code ",
    " will be reduced to 00:00:00,000",
    "Do you want to continue ? ( No undo ! )",
    "You can't make a minus time Stretch with a time",
    "that is larger than the total file time !",
    "You can't select the same Palette Index twice !!",
    "The Stop time is smaller than the Start time !",
    "Save BMPs : Enter beginning of File Name",
    "Save SUPs : Enter beginning of File Name",
    "Save as BMP Subpicture N\xB0 ",
    "Save as SUP Subpicture N\xB0 ",
    " , enter the beginning of File Name",
    "Save current BMP",
    "Save current BMP Settings as a Profile file",
    "Load BMP Settings from a Profile file",
    "Load a Background Image",
    "Warning: Not enough memory to add this character to the Matrix !",
    "Warning: Not enough memory to load this character Matrix !",
    "Size of the Matrix in Byte : ",
    "File",
    "contain character",
    "it seem to match with the current one.",
    "Do you want to open this Char Matrix File ?",
    "Can't find any matching Char Matrix File.",
    "Be sure to place all matrix file in",
    "You should try again on the next character, if still not found then you must create a new "
    "Matrix.",
    // Orvane's own additions after the classic table.
    "At most 1024 VOB files can be read in one job. Files checked : ",
    "Time Stretch refused: the last subtitle starts at 00:00:00,000.",
    "Save VobSub : Enter File Name (.idx and .sub are added)",
};

const std::string kEmpty;

}  // namespace

void MessageTable::setDefaultMessages() {
    messages_.assign(kBuiltIn.begin(), kBuiltIn.end());
}

const std::string& MessageTable::get(size_t n) const {
    return n < messages_.size() ? messages_[n] : kEmpty;
}

bool MessageTable::replace(size_t n, std::string text) {
    if (n >= messages_.size()) return false;
    messages_[n] = std::move(text);
    return true;
}

const char* MessageTable::builtIn(size_t n) {
    return n < kBuiltIn.size() ? kBuiltIn[n] : "";
}

}  // namespace orvane
