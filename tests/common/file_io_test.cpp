#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "common/file_io.h"
#include "common/io_error.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::readBytes;
using test::writeBytes;

size_t entriesIn(const std::string& folder) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// The error a call throws, as the system worded it.
template <class F>
std::string failure(F&& f) {
    try {
        f();
    } catch (const IoError& e) {
        return e.systemMessage();
    }
    return "no error";
}

// Files of this process may not grow past `bytes` until the end of the
// scope; a write beyond fails with EFBIG, as a full disk fails with ENOSPC.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit l = old_;
        l.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

TEST(SaveFile, ReplacesTheWholeFileAndKeepsItsPermissions) {
    test::TempDir dir;
    const std::string path = dir.file("doc.ovt");
    writeBytes(path, std::string(5000, 'o'));
    ::chmod(path.c_str(), 0640);
    saveFile(path, std::string_view("new"));
    EXPECT_EQ(readBytes(path), "new");
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(entriesIn(dir.path()), 1u);  // no temporary file left

    // Through a symbolic link the file it points to is replaced.
    std::filesystem::create_symlink(path, dir.file("link.ovt"));
    saveFile(dir.file("link.ovt"), std::string_view("via link"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.ovt")));
    EXPECT_EQ(readBytes(path), "via link");
}

TEST(SaveFile, AFullDiskLeavesTheOldFileAsItWasAndSaysWhy) {
    test::TempDir dir;
    const std::string path = dir.file("m.sum");
    const std::string old(3000, 'x');
    writeBytes(path, old);
    std::string reason;
    {
        FileSizeLimit limit(4096);
        reason = failure([&] { saveFile(path, std::string(10000, 'y')); });
    }
    EXPECT_EQ(reason, std::strerror(EFBIG));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(entriesIn(dir.path()), 1u);

    EXPECT_EQ(failure([&] { saveFile(dir.file("missing/x.sum"), std::string_view("y")); }),
              std::strerror(ENOENT));
    EXPECT_EQ(failure([&] { saveFile(dir.path(), std::string_view("y")); }), std::strerror(EISDIR));
}

// Runs `write` in a child process that SIGXFSZ kills once a file it writes
// reaches 4 KiB; the signal that ended the child, 0 when none did.
template <class F>
int killedPast4KiB(F write) {
    const pid_t child = ::fork();
    if (child < 0) return 0;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit l{};
        getrlimit(RLIMIT_FSIZE, &l);
        l.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &l);
        write();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

TEST(SaveFile, AKilledSaveLeavesTheOldFileByteForByte) {
    test::TempDir dir;
    const std::string path = dir.file("doc.ovt");
    std::string old;
    for (int i = 0; i < 2000; ++i) old += std::to_string(i) + "\r\n";
    writeBytes(path, old);
    // A crash in the middle of writing the new file.
    EXPECT_EQ(killedPast4KiB([&] { saveFile(path, std::string(100000, 'n')); }), SIGXFSZ);
    EXPECT_EQ(readBytes(path), old);
}

TEST(SaveBatch, TouchesNothingUntilCommittedThenSavesEveryFile) {
    test::TempDir dir;
    const std::string kept = dir.file("a.sup"), fresh = dir.file("b.sup");
    writeBytes(kept, std::string(3000, 'o'));
    ::chmod(kept.c_str(), 0640);
    {
        SaveBatch batch;
        batch.add(kept, std::string_view("new a"));
        batch.add(fresh, std::string_view("new b"));
        EXPECT_EQ(batch.size(), 2u);
        EXPECT_EQ(readBytes(kept), std::string(3000, 'o'));
        EXPECT_FALSE(std::filesystem::exists(fresh));
        batch.commit();
        EXPECT_EQ(batch.size(), 0u);
    }
    EXPECT_EQ(readBytes(kept), "new a");
    EXPECT_EQ(readBytes(fresh), "new b");
    struct stat st {};
    ::stat(kept.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(entriesIn(dir.path()), 2u);

    // A batch given up before its commit leaves the files as they were
    // and removes what it wrote.
    {
        SaveBatch batch;
        batch.add(kept, std::string_view("lost"));
        batch.add(dir.file("c.sup"), std::string_view("lost"));
    }
    EXPECT_EQ(readBytes(kept), "new a");
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}

TEST(SaveBatch, AFileThatCannotBeRenamedFailsAloneAndIsNamed) {
    test::TempDir dir;
    SaveBatch batch;
    batch.add(dir.file("1.sup"), std::string_view("one"));
    batch.add(dir.file("2.sup"), std::string_view("two"));
    batch.add(dir.file("3.sup"), std::string_view("three"));
    // Meanwhile a folder took the second file's name.
    std::filesystem::create_directories(dir.file("2.sup/inside"));
    std::string failed;
    try {
        batch.commit();
    } catch (const IoError& e) {
        failed = e.path();
    }
    EXPECT_EQ(failed, dir.file("2.sup"));
    EXPECT_EQ(readBytes(dir.file("1.sup")), "one");
    EXPECT_EQ(readBytes(dir.file("3.sup")), "three");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("2.sup")));
    EXPECT_EQ(entriesIn(dir.path()), 3u);  // no temporary file left
}

TEST(SaveBatch, AKilledJobLeavesEveryOldFileByteForByte) {
    test::TempDir dir;
    std::vector<std::string> old;
    for (int i = 0; i < 4; ++i) {
        old.push_back(std::string(2000 + i, static_cast<char>('a' + i)));
        writeBytes(dir.file(std::to_string(i)), old.back());
    }
    // A crash while writing the third file of a batch, with two files added
    // and none committed.
    ASSERT_NE(killedPast4KiB([&] {
                  SaveBatch batch;
                  batch.add(dir.file("0"), std::string(100, 'n'));
                  batch.add(dir.file("1"), std::string(100, 'n'));
                  batch.add(dir.file("2"), std::string(100000, 'n'));
                  batch.commit();
              }),
              0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(readBytes(dir.file(std::to_string(i))), old[i]);
}

TEST(ReadWholeFile, RefusesWhatIsNoRegularFileOrTooLarge) {
    test::TempDir dir;
    EXPECT_EQ(failure([&] { readWholeFile(dir.path(), 100); }), std::strerror(EISDIR));
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Refused at once: nothing waits for a writer.
    EXPECT_EQ(failure([&] { readWholeFile(fifo, 100); }), "not a regular file");
    EXPECT_EQ(failure([&] { checkRegularFile(fifo); }), "not a regular file");
    EXPECT_EQ(failure([&] { readWholeFile("/dev/zero", 100); }), "not a regular file");
    EXPECT_EQ(failure([&] { readWholeFile(dir.file("none"), 100); }), std::strerror(ENOENT));

    writeBytes(dir.file("big"), std::string(101, 'b'));
    EXPECT_NE(failure([&] { readWholeFile(dir.file("big"), 100); }).find("too large"),
              std::string::npos);
    EXPECT_EQ(readWholeFile(dir.file("big"), 101).size(), 101u);
    EXPECT_EQ(readFileStart(dir.file("big"), 10).size(), 10u);
    // A limit far above the size costs no memory beyond the file's bytes.
    const std::vector<uint8_t> start = readFileStart(dir.file("big"), size_t{16} << 20);
    EXPECT_EQ(start, std::vector<uint8_t>(101, 'b'));
    EXPECT_LT(start.capacity(), 4096u);
}

}  // namespace
}  // namespace orvane
