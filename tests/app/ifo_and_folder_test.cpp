#include <gtest/gtest.h>

#include <fstream>

#include "app/ifo_reader.h"
#include "app/session.h"
#include "app/vob_folder.h"
#include "common/io_error.h"
#include "support/fake_ui.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::writeBytes;

std::vector<uint8_t> ifoBytes(size_t size = 2048) {
    std::vector<uint8_t> d(size, 0);
    const char* sig = "DVDVIDEO-VTS";
    std::copy(sig, sig + 12, d.begin());
    return d;
}

void setCode(std::vector<uint8_t>& d, int stream, char a, char b) {
    d[600 + 6 * (stream - 1)] = static_cast<uint8_t>(a);
    d[601 + 6 * (stream - 1)] = static_cast<uint8_t>(b);
}

TEST(IfoStreams, NamesAndListLinesFollowTheLanguageTable) {
    auto d = ifoBytes();
    setCode(d, 1, 'e', 'n');
    setCode(d, 2, 'p', 't');
    setCode(d, 3, 'f', 'r');
    setCode(d, 5, 'x', 'q');  // not in the table: the letters
    setCode(d, 10, 'h', 'i');
    setCode(d, 11, 'i', 'w');
    StreamNames names;
    ASSERT_TRUE(parseIfoStreamNames(d, names));
    EXPECT_EQ(names[0], "English");
    EXPECT_EQ(names[1], "Portugese");
    EXPECT_EQ(names[3], "");
    EXPECT_EQ(names[4], "xq");
    const auto items = streamListItems(names);
    ASSERT_EQ(items.size(), 32u);
    EXPECT_EQ(items[2], "3  - French");
    EXPECT_EQ(items[3], "4  - ");
    EXPECT_EQ(items[9], "10 - Hindi");
    EXPECT_EQ(items[10], "11 - Hebrew");
    EXPECT_EQ(items[31], "32 - ");
}

TEST(IfoStreams, AVobFindsItsStreamsLanguageInTheTitleSetsIfo) {
    test::TempDir dir;
    auto d = ifoBytes();
    setCode(d, 1, 'e', 'n');
    setCode(d, 2, 'f', 'r');
    setCode(d, 3, 0x01, 'r');
    writeBytes(dir.file("VTS_02_0.IFO"), d);
    writeBytes(dir.file("vts_03_0.ifo"), d);
    const auto language = [&](const std::string& vob, size_t k) {
        const std::string ifo = titleSetIfoOfVob(dir.file(vob));
        return ifo.empty() ? std::string("(no IFO)") : readTitleSetInfo(ifo).languageCodes[k];
    };
    EXPECT_EQ(language("VTS_02_1.VOB", 1), "fr");
    EXPECT_EQ(language("vts_03_4.vob", 0), "en");
    EXPECT_EQ(language("VTS_02_1.VOB", 2), "");  // no letters
    EXPECT_EQ(language("VTS_04_1.VOB", 0), "(no IFO)");
    EXPECT_EQ(language("film.vob", 0), "(no IFO)");
}

TEST(IfoStreams, BytesThatAreNoPrintableCharactersShowAsQuestionMarks) {
    auto d = ifoBytes();
    setCode(d, 1, '\n', '\x1B');
    setCode(d, 2, 'e', '\r');
    setCode(d, 3, '\xE9', 'x');
    StreamNames names;
    ASSERT_TRUE(parseIfoStreamNames(d, names));
    EXPECT_EQ(names[0], "??");
    EXPECT_EQ(names[1], "e?");
    EXPECT_EQ(names[2], "?x");
}

TEST(IfoStreams, AFolderWithTheIfoOfOneTitleSetButNoVobNamesIt) {
    test::TempDir dir;
    writeBytes(dir.file("VTS_03_0.IFO"), ifoBytes());
    EXPECT_EQ(titleSetIfo(dir.path()), dir.file("VTS_03_0.IFO"));
    writeBytes(dir.file("VTS_04_0.IFO"), ifoBytes());
    EXPECT_EQ(titleSetIfo(dir.path()), "");  // which one is not known
    EXPECT_EQ(titleSetsWithIfo(dir.path()), (std::vector<int>{3, 4}));
}

TEST(IfoStreams, TheTableNeeds792Bytes) {
    StreamNames names;
    EXPECT_TRUE(parseIfoStreamNames(ifoBytes(792), names));
    EXPECT_FALSE(parseIfoStreamNames(ifoBytes(791), names));
    test::TempDir dir;
    writeBytes(dir.file("short.ifo"), ifoBytes(791));
    EXPECT_THROW(readIfoStreamNames(dir.file("short.ifo")), IoError);
    EXPECT_EQ(languageName(0, 'x'), "x");  // a lone zero byte is not shown
}

TEST(IfoTitleSet, LanguageCodesVideoStandardAndTheTitlesColourTable) {
    std::vector<uint8_t> d = ifoBytes(3 * 2048);
    setCode(d, 1, 'e', 'n');
    setCode(d, 2, 'F', 'R');  // not a code a VobSub index can carry
    d[0x200] = 0x53;          // PAL
    d[0xCF] = 1;              // the title's program chains from sector 1
    d[2048 + 1] = 1;          // one chain
    d[2048 + 8 + 7] = 0x10;   // at 0x10 into the table
    const size_t clut = 2048 + 0x10 + 0xA4;
    for (size_t i = 0; i < 16; ++i) d[clut + 4 * i + 1] = static_cast<uint8_t>(i + 1);
    d[clut + 4 * 15 + 2] = 0x92;
    d[clut + 4 * 15 + 3] = 0x10;
    TitleSetInfo info;
    ASSERT_TRUE(parseTitleSetInfo(d, info));
    EXPECT_EQ(info.names[0], "English");
    EXPECT_EQ(info.languageCodes[0], "en");
    EXPECT_EQ(info.languageCodes[1], "");
    EXPECT_TRUE(info.pal);
    ASSERT_TRUE(info.hasColourTable);
    EXPECT_EQ(info.colourTable[0], 0x010000u);
    EXPECT_EQ(info.colourTable[15], 0x109210u);

    // NTSC; a chain pointer past the end of the file: no colour table, the
    // rest still read.
    d[0x200] = 0x43;
    d[2048 + 8 + 6] = 0x7F;
    ASSERT_TRUE(parseTitleSetInfo(d, info));
    EXPECT_FALSE(info.pal);
    EXPECT_FALSE(info.hasColourTable);
    EXPECT_EQ(info.names[0], "English");
    // A table sector beyond the file, or no chain at all.
    d[2048 + 8 + 6] = 0;
    d[0xCF] = 9;
    ASSERT_TRUE(parseTitleSetInfo(d, info));
    EXPECT_FALSE(info.hasColourTable);
    d[0xCF] = 1;
    d[2048 + 1] = 0;
    ASSERT_TRUE(parseTitleSetInfo(d, info));
    EXPECT_FALSE(info.hasColourTable);
    // Too short for the stream table: nothing.
    EXPECT_FALSE(parseTitleSetInfo(std::span<const uint8_t>(d.data(), 791), info));
}

TEST(IfoStreams, SessionKeepsTheNamesWhenTheFileIsMissingOrShort) {
    test::TempDir dir;
    auto d = ifoBytes();
    setCode(d, 2, 'd', 'e');
    writeBytes(dir.file("VTS_01_0.IFO"), d);
    writeBytes(dir.file("short.IFO"), ifoBytes(100));
    test::FakeUi ui;
    Session s(ui);
    EXPECT_EQ(s.openIfo(dir.file("VTS_01_0.IFO"))[1], "2  - German");
    EXPECT_EQ(s.openIfo(dir.file("missing.IFO"))[1], "2  - German");
    EXPECT_THROW(s.openIfo(dir.file("short.IFO")), IoError);
    EXPECT_EQ(s.streamNames()[1], "German");
}

TEST(VobFolder, ListsVobFilesSortedWithoutRegardToCase) {
    test::TempDir dir;
    writeBytes(dir.file("vts_01_2.vob"), std::vector<uint8_t>(5000));
    writeBytes(dir.file("VTS_01_1.VOB"), std::vector<uint8_t>(2048));
    writeBytes(dir.file("VTS_01_0.IFO"), std::vector<uint8_t>(10));
    writeBytes(dir.file("a.Vob"), "");
    writeBytes(dir.file("vob"), "");
    const auto list = listVobFolder(dir.path());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].name, "a.Vob");
    EXPECT_EQ(list[1].name, "VTS_01_1.VOB");
    EXPECT_EQ(list[2].name, "vts_01_2.vob");
    EXPECT_EQ(list[2].sizeKiB, 4u);
    EXPECT_EQ(list[1].path, dir.file("VTS_01_1.VOB"));
    EXPECT_EQ(list[1].displayLine, "VTS_01_1.VOB  [_______2 Kb]");
    EXPECT_THROW(listVobFolder(dir.file("nope")), IoError);
}

TEST(VobFolder, DisplayLinePadsNameAndSize) {
    EXPECT_EQ(vobDisplayLine("VTS_01_1.VOB", 1048574), "VTS_01_1.VOB  [_1048574 Kb]");
    EXPECT_EQ(vobDisplayLine("A_VERY_LONG_NAME.VOB", 123456789),
              "A_VERY_LONG_NAME.VOB[123456789 Kb]");
}

TEST(VobFolder, TitleSetPartsInOrderAndTheLargestByDefault) {
    test::TempDir dir;
    writeBytes(dir.file("VTS_01_0.VOB"), std::vector<uint8_t>(100));
    writeBytes(dir.file("VTS_01_1.VOB"), std::vector<uint8_t>(100));
    writeBytes(dir.file("VTS_02_0.IFO"), std::vector<uint8_t>(1));
    writeBytes(dir.file("vts_02_2.vob"), std::vector<uint8_t>(300));
    writeBytes(dir.file("VTS_02_1.VOB"), std::vector<uint8_t>(300));
    EXPECT_EQ(titleSetVobs(dir.path()),
              (std::vector<std::string>{dir.file("VTS_02_1.VOB"), dir.file("vts_02_2.vob")}));
    EXPECT_EQ(titleSetVobs(dir.path(), 1), (std::vector<std::string>{dir.file("VTS_01_1.VOB")}));
    EXPECT_TRUE(titleSetVobs(dir.path(), 3).empty());
    EXPECT_EQ(titleSetIfo(dir.path()), dir.file("VTS_02_0.IFO"));
    EXPECT_EQ(titleSetIfo(dir.path(), 1), "");
}

}  // namespace
}  // namespace orvane
