#include "common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "common/io_error.h"

namespace orvane {

namespace {

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd& operator=(Fd&&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded (NFS reports
    // write errors only here).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

[[noreturn]] void throwErrno(const std::string& path) {
    throw IoError::fromErrno(path);
}

std::string errnoText(int e) {
    return std::strerror(e);
}

// Opens for reading without waiting for a FIFO's writer, and refuses what
// is not a regular file. Returns the descriptor and the file's size.
Fd openRegular(const std::string& path, off_t& size) {
    errno = 0;
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) throwErrno(path);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throwErrno(path);
    if (S_ISDIR(st.st_mode)) throw IoError(path, errnoText(EISDIR));
    if (!S_ISREG(st.st_mode)) throw IoError(path, "not a regular file");
    // Regular files ignore O_NONBLOCK, but clear it all the same.
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    size = st.st_size;
    return fd;
}

// Reads up to `count` bytes; fewer only at the end of the file.
size_t readUpTo(int fd, uint8_t* out, size_t count, const std::string& path) {
    size_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(fd, out + got, count - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            throwErrno(path);
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    return got;
}

void writeAll(int fd, const uint8_t* data, size_t size, const std::string& path) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throwErrno(path);
        }
        if (n == 0) throw IoError(path, errnoText(ENOSPC));
        data += n;
        size -= static_cast<size_t>(n);
    }
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

mode_t currentUmask() {
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

// A device or FIFO has no content to lose: it is written in place.
void writeDirect(const std::string& path, std::span<const uint8_t> bytes) {
    errno = 0;
    Fd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) throwErrno(path);
    writeAll(fd.get(), bytes.data(), bytes.size(), path);
    if (!fd.close()) throwErrno(path);
}

}  // namespace

std::vector<uint8_t> readWholeFile(const std::string& path, size_t maxBytes) {
    off_t size = 0;
    Fd fd = openRegular(path, size);
    if (size < 0 || static_cast<uint64_t>(size) > maxBytes) {
        throw IoError(path, "file too large (more than " + std::to_string(maxBytes) +
                                " bytes for a file of this kind)");
    }
    // One byte more than the size, to see a file that grew meanwhile.
    std::vector<uint8_t> data(static_cast<size_t>(size) + 1);
    size_t got = readUpTo(fd.get(), data.data(), data.size(), path);
    if (got > static_cast<size_t>(size)) {
        // Still growing: read on up to the limit.
        while (got <= maxBytes) {
            data.resize(std::min(maxBytes + 1, std::max(data.size() * 2, size_t{4096})));
            const size_t n = readUpTo(fd.get(), data.data() + got, data.size() - got, path);
            got += n;
            if (got < data.size()) break;
        }
        if (got > maxBytes) {
            throw IoError(path, "file too large (more than " + std::to_string(maxBytes) +
                                    " bytes for a file of this kind)");
        }
    }
    data.resize(got);
    return data;
}

std::string readWholeFileText(const std::string& path, size_t maxBytes) {
    const std::vector<uint8_t> data = readWholeFile(path, maxBytes);
    return std::string(data.begin(), data.end());
}

std::vector<uint8_t> readFileStart(const std::string& path, size_t count) {
    off_t size = 0;
    Fd fd = openRegular(path, size);
    // Room for what the file holds (a byte more to see it grew), not for
    // `count`: a limit of megabytes would cost as much memory and time for
    // a file of kilobytes.
    const size_t known = static_cast<size_t>(std::max<off_t>(size, 0));
    std::vector<uint8_t> data(std::min(count, known + 1));
    size_t got = readUpTo(fd.get(), data.data(), data.size(), path);
    while (got == data.size() && got < count) {
        data.resize(std::min(count, std::max(got * 2, size_t{4096})));
        got += readUpTo(fd.get(), data.data() + got, data.size() - got, path);
    }
    data.resize(got);
    return data;
}

void checkRegularFile(const std::string& path) {
    off_t size = 0;
    openRegular(path, size);
}

namespace {

// Where the bytes for `path` go: the file a symbolic link names, and its
// current permissions and owner when it exists.
struct SaveTarget {
    std::string target;
    std::string folder;
    bool exists = false;
    bool direct = false;  // a device or FIFO, written in place
    struct stat st {};
};

SaveTarget resolveTarget(const std::string& path) {
    SaveTarget t;
    t.target = path;
    t.exists = ::stat(path.c_str(), &t.st) == 0;
    if (t.exists) {
        if (S_ISDIR(t.st.st_mode)) throw IoError(path, errnoText(EISDIR));
        if (!S_ISREG(t.st.st_mode)) {
            t.direct = true;
            return t;
        }
        // Replace what a symbolic link points to, not the link.
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) t.target = resolved;
    } else if (errno != ENOENT) {
        throwErrno(path);
    }
    t.folder = folderOf(t.target);
    return t;
}

// Writes `bytes` to a new temporary file beside the target, with the old
// file's permissions; returns it open, its name in `temp`. On failure it is
// removed and an IoError naming `path` is thrown.
Fd writeTemporary(const std::string& path, const SaveTarget& t, std::span<const uint8_t> bytes,
                  std::string& temp) {
    const size_t slash = t.target.rfind('/');
    const std::string base = t.target.substr(slash == std::string::npos ? 0 : slash + 1);
    temp = t.folder + "/." + base + ".orvane-XXXXXX";
    errno = 0;
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) throwErrno(path);
    try {
        // The new file gets the old one's permissions, or what a newly
        // created file would get.
        const mode_t mode = t.exists ? (t.st.st_mode & 07777) : (0666 & ~currentUmask());
        if (::fchmod(fd.get(), mode) != 0) throwErrno(path);
        if (t.exists && (t.st.st_uid != ::geteuid() || t.st.st_gid != ::getegid())) {
            // Only possible with the rights to; otherwise the owner changes.
            [[maybe_unused]] const int ignored = ::fchown(fd.get(), t.st.st_uid, t.st.st_gid);
        }
        writeAll(fd.get(), bytes.data(), bytes.size(), path);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    return fd;
}

}  // namespace

void saveFile(const std::string& path, std::span<const uint8_t> bytes) {
    const SaveTarget t = resolveTarget(path);
    if (t.direct) return writeDirect(path, bytes);
    std::string temp;
    Fd fd = writeTemporary(path, t, bytes, temp);
    try {
        if (::fsync(fd.get()) != 0) throwErrno(path);
        if (!fd.close()) throwErrno(path);
        if (::rename(temp.c_str(), t.target.c_str()) != 0) throwErrno(path);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    // Make the rename itself last; a failure here loses nothing.
    Fd dir(::open(t.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

SaveBatch::~SaveBatch() {
    forget();
}

void SaveBatch::forget() {
    for (const Staged& s : staged_) ::unlink(s.temp.c_str());
    staged_.clear();
    for (const auto& [folder, fd] : folders_) ::close(fd);
    folders_.clear();
}

void SaveBatch::add(const std::string& path, std::span<const uint8_t> bytes) {
    const SaveTarget t = resolveTarget(path);
    if (t.direct) return writeDirect(path, bytes);
    // The folder is opened before the first file in it is written, so that
    // syncing its file system through it reports any write-back error of
    // this batch's files.
    auto folder = std::find_if(folders_.begin(), folders_.end(),
                               [&](const auto& f) { return f.first == t.folder; });
    if (folder == folders_.end()) {
        errno = 0;
        const int fd = ::open(t.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) throwErrno(path);
        folders_.emplace_back(t.folder, fd);
    }
    std::string temp;
    Fd fd = writeTemporary(path, t, bytes, temp);
    if (!fd.close()) {
        const IoError e = IoError::fromErrno(path);
        ::unlink(temp.c_str());
        throw e;
    }
    staged_.push_back({path, t.target, temp, t.folder});
}

void SaveBatch::add(const std::string& path, std::string_view bytes) {
    add(path,
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

void SaveBatch::commit() {
    std::optional<IoError> failure;
    auto fail = [&](const Staged& s, int error) {
        ::unlink(s.temp.c_str());
        if (!failure) failure.emplace(s.path, errnoText(error));
    };
    // One flush of each file system written to instead of one per file:
    // every temporary file is on the disk before any of them is renamed.
    std::vector<int> syncErrors(folders_.size(), 0);
    for (size_t f = 0; f < folders_.size(); ++f) {
        if (::syncfs(folders_[f].second) != 0) syncErrors[f] = errno;
    }
    std::vector<bool> renamed(folders_.size(), false);
    for (const Staged& s : staged_) {
        size_t f = 0;
        while (folders_[f].first != s.folder) ++f;
        if (syncErrors[f] != 0) {
            fail(s, syncErrors[f]);
        } else if (::rename(s.temp.c_str(), s.target.c_str()) != 0) {
            fail(s, errno);
        } else {
            renamed[f] = true;
        }
    }
    staged_.clear();
    // Make the renames last; a failure here loses nothing.
    for (size_t f = 0; f < folders_.size(); ++f) {
        if (renamed[f]) ::fsync(folders_[f].second);
    }
    forget();
    if (failure) throw *failure;
}

void saveFile(const std::string& path, std::string_view bytes) {
    saveFile(path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()),
                                            bytes.size()));
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace orvane
