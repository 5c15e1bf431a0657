// What orvane-cli does with the files it reads and writes: saves that never
// leave a partial file, inputs that are no files, outputs that would replace
// inputs, and stopping by a signal.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "cli/cli_main.h"
#include "ocr/char_matrix.h"
#include "support/cli_runner.h"
#include "support/file_bytes.h"
#include "support/pack_builder.h"
#include "support/spu_encoder.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::readBytes;
using test::writeBytes;

using test::CliRun;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A matrix file of n distinct entries.
std::string writeMatrix(const test::TempDir& dir, const std::string& name, size_t n) {
    CharMatrix m;
    for (size_t i = 0; i < n; ++i) {
        MatrixEntry e;
        e.width = e.height = 10;
        e.text = "g" + std::to_string(i);
        e.glyph.setRow(static_cast<int>(i % 10), i + 1);
        m.add(e);
    }
    const std::vector<uint8_t> bytes = m.toBytes();
    writeBytes(dir.file(name), std::string(bytes.begin(), bytes.end()));
    return dir.file(name);
}

// An own-format file of n entries.
std::string writeOvt(const test::TempDir& dir, const std::string& name, size_t n) {
    std::string text;
    for (size_t i = 1; i <= n; ++i)
        text += std::to_string(i) + "\r\n00:00:01,000 --> 00:00:02,000\r\nline " +
                std::to_string(i) + "\r\n\r\n";
    writeBytes(dir.file(name), text);
    return dir.file(name);
}

// A VOB of `units` small sub-pictures of stream 1 (none: no sub-picture).
std::string writeVob(const test::TempDir& dir, const std::string& name, uint32_t units) {
    test::VobBuilder v;
    v.nav().filler();
    for (uint32_t i = 1; i <= units; ++i)
        v.picture(test::IndexedPicture::filled(20, 4, 1), 90000 * i, 10, 20);
    return v.write(dir.file(name));
}

TEST(CliFiles, AFullDiskLeavesEveryOldFileAsItWasAndSaysWhy) {
    test::TempDir dir;
    const std::string vob = writeVob(dir, "a.vob", 0);
    const std::string matrix = writeMatrix(dir, "m.sum", 100);
    const std::string oldMatrix = readBytes(matrix);
    CliRun r = test::runCliWithFileLimit(
        {"ocr", "--matrix", matrix, "--save-matrix", matrix, "--unknown", "mark", vob}, 8192);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, std::strerror(EFBIG))) << r.err;
    EXPECT_EQ(readBytes(matrix), oldMatrix);

    // Converting a file onto itself is safe too.
    const std::string doc = writeOvt(dir, "doc.ovt", 2000);
    const std::string oldDoc = readBytes(doc);
    r = test::runCliWithFileLimit({"convert", doc, "--format", "orvane", "--out", doc}, 16384);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, std::strerror(EFBIG))) << r.err;
    EXPECT_EQ(readBytes(doc), oldDoc);

    // A SUP file that cannot be written is reported as what it is, leaves
    // nothing behind and stops the job there.
    const std::string two = writeVob(dir, "two.vob", 2);
    r = test::runCliWithFileLimit({"sup", "--stream", "1", "--out", dir.file("p"), two}, 20);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, dir.file("p000001.sup") + ": " + std::strerror(EFBIG))) << r.err;
    EXPECT_FALSE(has(r.err, "crypted")) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("p000001.sup")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("p000002.sup")));
}

TEST(CliFiles, AKilledSaveLeavesTheOldFileByteForByte) {
    test::TempDir dir;
    const std::string doc = writeOvt(dir, "doc.ovt", 2000);
    const std::string oldDoc = readBytes(doc);
    CliRun r = test::runCliWithFileLimit({"convert", doc, "--format", "subviewer2", "--out", doc},
                                         16384, true);
    EXPECT_EQ(r.status, -SIGXFSZ);
    EXPECT_EQ(readBytes(doc), oldDoc);

    const std::string vob = writeVob(dir, "a.vob", 0);
    const std::string matrix = writeMatrix(dir, "m.sum", 100);
    const std::string oldMatrix = readBytes(matrix);
    r = test::runCliWithFileLimit(
        {"ocr", "--matrix", matrix, "--save-matrix", matrix, "--unknown", "mark", vob}, 8192, true);
    EXPECT_EQ(r.status, -SIGXFSZ);
    EXPECT_EQ(readBytes(matrix), oldMatrix);
}

TEST(CliFiles, FoldersFifosAndDevicesAreRefusedWithTheirReason) {
    test::TempDir dir;
    const std::string vob = writeVob(dir, "a.vob", 0);
    std::filesystem::create_directories(dir.file("folder.sum"));
    const std::string fifo = dir.file("fifo.vob");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string notRegular = "not a regular file";
    const std::string isDir = std::strerror(EISDIR);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"ocr", "--matrix", dir.file("folder.sum"), vob}, isDir},
        {{"ocr", "--matrix", "/dev/zero", vob}, notRegular},
        {{"scan", "--config", dir.file("folder.sum"), vob}, isDir},
        {{"scan", "--config", "/dev/zero", vob}, notRegular},
        {{"bmp", "--stream", "1", "--out", dir.file("b"), "--profile", "/dev/zero", vob},
         notRegular},
        {{"convert", "/dev/zero", "--format", "orvane", "--out", dir.file("x.ovt")}, notRegular},
        {{"scan", fifo}, notRegular},
        // Not "No such file": the real cause.
        {{"ocr", "--matrix", vob + "/m.sum", vob}, std::strerror(ENOTDIR)},
    };
    for (const auto& [args, reason] : cases) {
        const CliRun r = test::runCliCaptured(args);
        EXPECT_EQ(r.status, 1) << args[0] << " " << args[2];
        EXPECT_TRUE(has(r.err, reason)) << r.err;
    }
}

TEST(CliFiles, OutputsAreCheckedBeforeTheJobAndNeverReplaceAnInput) {
    test::TempDir dir;
    const std::string vob = writeVob(dir, "a.vob", 1);
    const std::string oldVob = readBytes(vob);
    const std::string matrix = writeMatrix(dir, "m.sum", 3);
    const std::vector<std::vector<std::string>> refused = {
        {"ocr", "--unknown", "mark", "--out", vob, vob},
        {"ocr", "--unknown", "mark", "--matrix", matrix, "--out", matrix, vob},
        {"ocr", "--unknown", "mark", "--out", dir.file("x.ovt"), "--save-matrix", dir.file("x.ovt"),
         vob},
        {"ocr", "--unknown", "mark", "--save-matrix", dir.file("missing/x.sum"), vob},
        {"sup", "--stream", "1", "--out", dir.file("missing/p"), vob},
    };
    for (const auto& args : refused) {
        const CliRun r = test::runCliCaptured(args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_FALSE(has(r.err, "pictures")) << "the job ran: " << r.err;
    }
    EXPECT_EQ(readBytes(vob), oldVob);
    // Saving the matrix that was read is what --save-matrix is for.
    EXPECT_EQ(test::runCliCaptured(
                  {"ocr", "--unknown", "mark", "--matrix", matrix, "--save-matrix", matrix, vob})
                  .status,
              0);
}

TEST(CliFiles, AnEmptyResultLeavesAnExistingFileAlone) {
    test::TempDir dir;
    const std::string vob = writeVob(dir, "a.vob", 0);
    writeBytes(dir.file("old.ovt"), "1\r\n00:00:01,000 --> 00:00:02,000\r\nkept\r\n\r\n");
    const CliRun r = test::runCliCaptured({"ocr", "--out", dir.file("old.ovt"), vob});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(has(r.err, "nothing saved")) << r.err;
    EXPECT_EQ(readBytes(dir.file("old.ovt")), "1\r\n00:00:01,000 --> 00:00:02,000\r\nkept\r\n\r\n");
}

TEST(CliFiles, ConvertRefusesBinaryAndOverfullFilesInOneLine) {
    test::TempDir dir;
    static constexpr char kBinary[] = "1\r\n\0\x01\x02garbage";
    writeBytes(dir.file("bin.ovt"),
               std::string(kBinary, sizeof kBinary - 1) + std::string(50000, '\x07'));
    CliRun r = test::runCliCaptured(
        {"convert", dir.file("bin.ovt"), "--format", "orvane", "--out", dir.file("o.ovt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(test::lineCount(r.err), 1u) << r.err;
    EXPECT_TRUE(has(r.err, "binary")) << r.err;

    // More entries than a document holds: refused, not cut short.
    writeOvt(dir, "big.ovt", 70000);
    writeBytes(dir.file("o.ovt"), "old");
    r = test::runCliCaptured(
        {"convert", dir.file("big.ovt"), "--format", "orvane", "--out", dir.file("o.ovt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "holds 70000 entries")) << r.err;
    EXPECT_EQ(readBytes(dir.file("o.ovt")), "old");
}

TEST(CliFiles, SigtermWhileLearningSavesWhatWasLearned) {
    test::TempDir dir;
    const std::string matrix = dir.file("learned.sum");
    const std::string doc = dir.file("out.ovt");
    int toChild[2], fromChild[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ASSERT_EQ(::pipe(fromChild), 0);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(toChild[1]);
        ::close(fromChild[0]);
        std::FILE* in = ::fdopen(toChild[0], "r");
        std::FILE* err = ::fdopen(fromChild[1], "w");
        std::FILE* out = std::fopen("/dev/null", "w");
        std::setvbuf(err, nullptr, _IONBF, 0);
        ::_exit(cli::runCli({"ocr", "--no-engine", "--stream", "1", "--save-matrix", matrix,
                             "--out", doc, std::string(ORVANE_TEST_DATA) + "/pal/VIDEO_TS"},
                            out, err, in));
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    // Answer two glyphs, then send SIGTERM while the third is asked.
    std::string err;
    int prompts = 0, answered = 0;
    char buf[4096];
    ssize_t n;
    while (prompts < 3 && (n = ::read(fromChild[0], buf, sizeof buf)) > 0) {
        err.append(buf, static_cast<size_t>(n));
        prompts = 0;
        for (size_t at = 0; (at = err.find("text for the framed glyph", at)) != std::string::npos;
             ++at)
            ++prompts;
        if (prompts > answered && answered < 2) {
            ASSERT_EQ(::write(toChild[1], answered == 0 ? "A\n" : "B\n", 2), 2);
            ++answered;
        }
    }
    ASSERT_EQ(prompts, 3) << err;
    ::usleep(200000);  // let the child reach the read of its answer
    ::kill(child, SIGTERM);
    while ((n = ::read(fromChild[0], buf, sizeof buf)) > 0) err.append(buf, static_cast<size_t>(n));
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(toChild[1]);
    ::close(fromChild[0]);
    ASSERT_TRUE(WIFEXITED(status)) << err;
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
    EXPECT_TRUE(has(err, "stopped; ")) << err;
    EXPECT_TRUE(has(err, "2 glyphs learned")) << err;
    // Both learned glyphs are in the saved matrix: 280 + 2 x 277 bytes.
    EXPECT_EQ(readBytes(matrix).size(), 834u);
}

}  // namespace
}  // namespace orvane
