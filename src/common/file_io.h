#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

// How large a whole-file read of each kind may be. Anything bigger is not a
// file of that kind, and reading it would only exhaust memory.
namespace file_limits {
// The largest matrix the format can describe: 280 + 277 x 65535 bytes.
inline constexpr size_t kMatrix = 280 + 277 * size_t{65535};
// Orvane.ini and bitmap settings profiles hold a few kilobytes.
inline constexpr size_t kSettings = size_t{4} << 20;
// Language files: every window's texts and the messages, with room to spare.
inline constexpr size_t kLanguage = size_t{64} << 20;
// Own-format subtitle files: 65535 entries of ten long lines each.
inline constexpr size_t kSubtitleText = size_t{256} << 20;
}  // namespace file_limits

// Reads a whole regular file. Folders, FIFOs, devices and files larger than
// `maxBytes` are refused with an IoError naming the file; a FIFO is never
// waited on.
std::vector<uint8_t> readWholeFile(const std::string& path, size_t maxBytes);
std::string readWholeFileText(const std::string& path, size_t maxBytes);

// Reads at most `count` bytes from the start of a regular file (refusing
// what readWholeFile refuses, whatever its size).
std::vector<uint8_t> readFileStart(const std::string& path, size_t count);

// Throws IoError unless `path` names a regular file that can be opened for
// reading, without blocking on a FIFO.
void checkRegularFile(const std::string& path);

// Saves `bytes` as the whole content of `path` without ever leaving a
// partial file there: the bytes go to a temporary file in the same folder,
// which is flushed to the disk and then renamed over the target, keeping
// the target's permissions. On any failure the old file is left exactly as
// it was, the temporary file is removed, and an IoError carries the
// system's reason. A symbolic link is followed and its target replaced.
// Devices and FIFOs (/dev/null, /dev/stdout) are written directly.
void saveFile(const std::string& path, std::span<const uint8_t> bytes);
void saveFile(const std::string& path, std::string_view bytes);

// Saves many files as saveFile does each, with one wait for the disk for
// all of them instead of two per file. add() writes a file's bytes to a
// temporary file beside it and touches nothing else; commit() flushes every
// temporary file to the disk, then renames each over its target, then
// flushes the folders. A crash at any point leaves each target either as it
// was or whole with its new bytes, never partly written; what was added but
// not committed is lost as a hidden temporary file at worst. Destroying a
// batch removes the temporary files it did not commit.
class SaveBatch {
  public:
    SaveBatch() = default;
    ~SaveBatch();
    SaveBatch(const SaveBatch&) = delete;
    SaveBatch& operator=(const SaveBatch&) = delete;

    // Writes the bytes for `path`; throws IoError as saveFile does, nothing
    // added then. Devices and FIFOs are written at once.
    void add(const std::string& path, std::span<const uint8_t> bytes);
    void add(const std::string& path, std::string_view bytes);
    // Saves everything added. Every file that can be saved is; the others
    // keep their old content, and the first failure is thrown as an IoError
    // naming its file. The batch is empty afterwards either way.
    void commit();
    // Files added and not yet committed.
    size_t size() const { return staged_.size(); }

  private:
    struct Staged {
        std::string path;    // as given, for messages
        std::string target;  // what is replaced (a symbolic link followed)
        std::string temp;
        std::string folder;
    };
    std::vector<Staged> staged_;
    // Each folder written to, open since before its first file was written.
    std::vector<std::pair<std::string, int>> folders_;
    void forget();
};

// Whether two paths name the same existing file (hard links and symbolic
// links included).
bool sameFile(const std::string& a, const std::string& b);

}  // namespace orvane
