#include "common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

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
    std::vector<uint8_t> data(count);
    data.resize(readUpTo(fd.get(), data.data(), count, path));
    return data;
}

void checkRegularFile(const std::string& path) {
    off_t size = 0;
    openRegular(path, size);
}

void saveFile(const std::string& path, std::span<const uint8_t> bytes) {
    std::string target = path;
    struct stat st {};
    bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) throw IoError(path, errnoText(EISDIR));
        if (!S_ISREG(st.st_mode)) return writeDirect(path, bytes);
        // Replace what a symbolic link points to, not the link.
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) target = resolved;
    } else if (errno != ENOENT) {
        throwErrno(path);
    }

    const std::string folder = folderOf(target);
    const std::string base =
        target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
    std::string temp = folder + "/." + base + ".orvane-XXXXXX";
    errno = 0;
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) throwErrno(path);
    try {
        // The new file gets the old one's permissions, or what a newly
        // created file would get.
        const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~currentUmask());
        if (::fchmod(fd.get(), mode) != 0) throwErrno(path);
        if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
            // Only possible with the rights to; otherwise the owner changes.
            [[maybe_unused]] const int ignored = ::fchown(fd.get(), st.st_uid, st.st_gid);
        }
        writeAll(fd.get(), bytes.data(), bytes.size(), path);
        if (::fsync(fd.get()) != 0) throwErrno(path);
        if (!fd.close()) throwErrno(path);
        if (::rename(temp.c_str(), target.c_str()) != 0) throwErrno(path);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    // Make the rename itself last; a failure here loses nothing.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
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
