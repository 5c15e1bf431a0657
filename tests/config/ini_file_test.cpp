#include "config/ini_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::readBytes;
using test::writeBytes;

class IniFileTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string path = dir.file("Orvane.ini");
};

TEST_F(IniFileTest, SectionAndKeyNamesCompareWithoutCase) {
    writeBytes(path,
               "[Preview Cfg]\r\nzoom=1500\r\n[config]\r\nLanguageFileName=Fran\xE7"
               "ais\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("PREVIEW CFG", "Zoom", 1000), 1500);
    EXPECT_EQ(ini.readInteger("preview cfg", "ZOOM", 1000), 1500);
    EXPECT_EQ(ini.readString("CONFIG", "languagefilename", ""),
              "Fran\xE7"
              "ais");
    EXPECT_TRUE(ini.hasSection("Config"));
    EXPECT_TRUE(ini.hasKey("CONFIG", "LANGUAGEFILENAME"));
    EXPECT_FALSE(ini.hasKey("CONFIG", "Zoom"));  // keys belong to their own section

    // A write in other letter case replaces the key, it does not add one.
    ini.writeInteger("PREVIEW CFG", "Zoom", 800);
    ini.flush();
    EXPECT_EQ(readBytes(path),
              "[Preview Cfg]\r\nZoom=800\r\n[config]\r\nLanguageFileName=Fran\xE7"
              "ais\r\n");
}

TEST_F(IniFileTest, ReadsAreCutTo2047Characters) {
    const std::string longValue(3000, 'a');
    const std::string exact(2047, 'b');
    writeBytes(path, "[S]\r\nLong=" + longValue + "\r\nExact=" + exact +
                         "\r\n"
                         // The digits past the limit are not read.
                         "Number=" +
                         std::string(2047, '0') + "12\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString("S", "Long", ""), std::string(2047, 'a'));
    EXPECT_EQ(ini.readString("S", "Exact", ""), exact);
    EXPECT_EQ(ini.readInteger("S", "Number", 7), 0);
    // A default longer than the limit is cut as well.
    EXPECT_EQ(ini.readString("S", "Missing", longValue).size(), 2047u);
}

TEST_F(IniFileTest, IntegersAreDecimalOrHexAndAnythingElseGivesTheDefault) {
    struct Case {
        const char* text;
        int32_t expected;
    };
    const Case cases[] = {
        {"42", 42},
        {"  42  ", 42},
        {"-17", -17},
        {"+5", 5},
        {"0x2", 2},
        {"0X1f", 31},
        {"0x7FFFFFFF", 2147483647},
        {"0xFFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0010", 10},
        // Not integers: the default (-99).
        {"", -99},
        {"0x", -99},
        {"0X", -99},
        {"0xG1", -99},
        {"-0x2", -99},
        {"0x100000000", -99},
        {"2147483648", -99},
        {"-2147483649", -99},
        {"99999999999999999999", -99},
        {"12abc", -99},
        {"1 2", -99},
        {"yes", -99},
        {"-", -99},
        {"1.5", -99},
    };
    std::string file = "[N]\r\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        file += "K" + std::to_string(i) + "=" + cases[i].text + "\r\n";
    writeBytes(path, file);
    IniFile ini(path);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ini.readInteger("N", "K" + std::to_string(i), -99), cases[i].expected)
            << "value \"" << cases[i].text << "\"";
    EXPECT_EQ(ini.readInteger("N", "Missing", -99), -99);
    EXPECT_EQ(ini.readInteger("No Such Section", "K0", -99), -99);
}

TEST_F(IniFileTest, BooleansAreIntegersAndOnlyZeroIsFalse) {
    writeBytes(path,
               "[B]\r\nTwo=2\r\nZero=0\r\nOne=1\r\nMinus=-1\r\nYes=yes\r\nEmpty=\r\nHex=0x0\r\n");
    IniFile ini(path);
    EXPECT_TRUE(ini.readBool("B", "Two", false));
    EXPECT_TRUE(ini.readBool("B", "Minus", false));
    EXPECT_TRUE(ini.readBool("B", "One", false));
    EXPECT_FALSE(ini.readBool("B", "Zero", true));
    EXPECT_FALSE(ini.readBool("B", "Hex", true));
    // Not integers: each side keeps the default.
    EXPECT_TRUE(ini.readBool("B", "Yes", true));
    EXPECT_FALSE(ini.readBool("B", "Yes", false));
    EXPECT_TRUE(ini.readBool("B", "Empty", true));
    EXPECT_FALSE(ini.readBool("B", "Missing", false));
}

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndIsNotCreatedWithoutWrites) {
    IniFile ini(path);
    EXPECT_FALSE(ini.hasSection("CONFIG"));
    EXPECT_EQ(ini.readString("CONFIG", "X", "def"), "def");
    EXPECT_TRUE(ini.keys("CONFIG").empty());
    ini.flush();
    EXPECT_FALSE(std::ifstream(path).good());
}

TEST_F(IniFileTest, WritingAKeyReplacesItAndLeavesEveryOtherLineAlone) {
    const std::string before =
        "; kept comment\r\n"
        "[CONFIG]\r\n"
        "ActionMode = 3 \r\n"
        "Stray line without equals\r\n"
        "AutoScrollDown=1\r\n"
        "\r\n"
        "[OCR SETTING]\r\n"
        "Sensibility=0x3D4\r\n"
        "ActionMode=9\r\n";
    writeBytes(path, before);
    IniFile ini(path);
    ini.writeInteger("CONFIG", "ActionMode", 1);
    ini.writeBool("CONFIG", "AvoidTimeRestart", true);  // new: at the end of its section
    ini.writeString("NEW SECTION", "First", "a");
    ini.writeString("NEW SECTION", "Second", "b");
    ini.writeString("NEW SECTION", "Third", "c");
    ini.flush();
    EXPECT_EQ(readBytes(path),
              "; kept comment\r\n"
              "[CONFIG]\r\n"
              "ActionMode=1\r\n"
              "Stray line without equals\r\n"
              "AutoScrollDown=1\r\n"
              "AvoidTimeRestart=1\r\n"
              "\r\n"
              "[OCR SETTING]\r\n"
              "Sensibility=0x3D4\r\n"
              "ActionMode=9\r\n"
              "\r\n"
              "[NEW SECTION]\r\n"
              "First=a\r\n"
              "Second=b\r\n"
              "Third=c\r\n");
    EXPECT_EQ(ini.keys("new section"), (std::vector<std::string>{"First", "Second", "Third"}));

    // Another object on the same file sees the result.
    IniFile again(path);
    EXPECT_EQ(again.readInteger("OCR SETTING", "ActionMode", 0), 9);
    EXPECT_EQ(again.readInteger("OCR SETTING", "Sensibility", 0), 980);
}

TEST_F(IniFileTest, TheFirstOfTwoEqualSectionsOrKeysIsUsed) {
    writeBytes(path, "[A]\r\nK=1\r\nK=2\r\n[a]\r\nK=3\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("A", "K", 0), 1);
    ini.writeInteger("A", "K", 5);
    ini.flush();
    EXPECT_EQ(readBytes(path), "[A]\r\nK=5\r\nK=2\r\n[a]\r\nK=3\r\n");
}

TEST_F(IniFileTest, ReadsFilesWithAnyLineEnd) {
    writeBytes(path, "[A]\nX=1\n[B]\rY=2\r[C]\r\nZ=3");
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("A", "X", 0), 1);
    EXPECT_EQ(ini.readInteger("B", "Y", 0), 2);
    EXPECT_EQ(ini.readInteger("C", "Z", 0), 3);
    EXPECT_FALSE(ini.hasKey("A", "Y"));
}

TEST_F(IniFileTest, ValuesReadBackExactlyAsWritten) {
    // Blanks and quotes at the ends of a text belong to it (message texts
    // carry them), and Windows-1252 bytes pass unchanged.
    const std::vector<std::string> values = {
        "Bad Packet Header at LBA: ",
        " will be reduced to 00:00:00,000",
        "Delete character \"",
        "\" ?",
        "\"quoted\"",
        "'single'",
        "\"",
        "  ",
        "a=b=c",
        "Error at N\xB0 ",
        "; not a comment",
        "[not a section]",
        "",
    };
    {
        IniFile ini(path);
        for (size_t i = 0; i < values.size(); ++i)
            ini.writeString("Messages", "MsgStr_" + std::to_string(i), values[i]);
        ini.flush();
    }
    IniFile ini(path);
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(ini.readString("Messages", "MsgStr_" + std::to_string(i), "?"), values[i]) << i;
    // Files written elsewhere: blanks around the value go, one pair of quotes too.
    writeBytes(path, "[S]\r\nA =  spaced  \r\nB=\"  kept  \"\r\nC='x'\r\nD=\"\"\"\"\r\n");
    IniFile other(path);
    EXPECT_EQ(other.readString("S", "A", ""), "spaced");
    EXPECT_EQ(other.readString("S", "B", ""), "  kept  ");
    EXPECT_EQ(other.readString("S", "C", ""), "x");
    EXPECT_EQ(other.readString("S", "D", ""), "\"\"");
}

TEST_F(IniFileTest, ExactModeKeepsEverythingAfterTheEqualsSign) {
    const std::string longText(3000, 'x');
    writeBytes(path, "[Messages]\r\nMsgStr_4= existe d\xE9j\xE0 ! \r\n  msgstr_5 =\"q\"\r\nLong=" +
                         longText + "\r\n");
    IniFile ini(path, IniFile::Values::Exact);
    EXPECT_EQ(ini.readString("MESSAGES", "MsgStr_4", ""), " existe d\xE9j\xE0 ! ");
    EXPECT_EQ(ini.readString("Messages", "MsgStr_5", ""), "\"q\"");
    EXPECT_EQ(ini.readString("Messages", "Long", ""), longText);
    ini.writeString("Messages", "MsgStr_6", " both ends ");
    ini.writeString("Messages", "MsgStr_7", "'x'");
    ini.flush();
    EXPECT_NE(readBytes(path).find("MsgStr_6= both ends \r\nMsgStr_7='x'\r\n"), std::string::npos);
    IniFile back(path, IniFile::Values::Exact);
    EXPECT_EQ(back.readString("Messages", "MsgStr_6", ""), " both ends ");
    EXPECT_EQ(back.readString("Messages", "MsgStr_7", ""), "'x'");
}

TEST_F(IniFileTest, LineBreaksInAValueCannotAddLines) {
    IniFile ini(path);
    ini.writeString("CONFIG", "SaveDialogText", "/tmp/a\r\n[OCR SETTING]\nSensibility=1/");
    ini.flush();
    IniFile back(path);
    EXPECT_FALSE(back.hasSection("OCR SETTING"));
    EXPECT_EQ(back.readString("CONFIG", "SaveDialogText", ""),
              "/tmp/a  [OCR SETTING] Sensibility=1/");
}

TEST_F(IniFileTest, NamesThatWouldReadBackAsSomethingElseAreRefused) {
    IniFile ini(path);
    EXPECT_THROW(ini.writeString("S", "a=b", "v"), std::invalid_argument);
    EXPECT_THROW(ini.writeString("S", "", "v"), std::invalid_argument);
    EXPECT_THROW(ini.writeString("S", "[x", "v"), std::invalid_argument);
    EXPECT_THROW(ini.writeString("S", ";x", "v"), std::invalid_argument);
    EXPECT_THROW(ini.writeString("S", "a\nb", "v"), std::invalid_argument);
    EXPECT_THROW(ini.writeString("a]b", "k", "v"), std::invalid_argument);
    EXPECT_THROW(ini.writeString("", "k", "v"), std::invalid_argument);
    EXPECT_TRUE(ini.lines().empty());
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNeverWrittenOver) {
    // A folder (or FIFO, or a file of gigabytes) where the file belongs
    // reads as empty, says why, and is not replaced by what was not read.
    std::filesystem::create_directories(path);
    IniFile ini(path);
    EXPECT_EQ(ini.loadError(), std::strerror(EISDIR));
    ini.writeInteger("CONFIG", "ActionMode", 1);
    EXPECT_THROW(ini.flush(), IniWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(IniFile("/dev/zero").loadError(), "not a regular file");
    EXPECT_EQ(IniFile(dir.file("missing.ini")).loadError(), "");
}

TEST_F(IniFileTest, AFailedWriteNamesTheFileInWindows1252) {
    const std::string bad = dir.file("no such folder/Orvane.ini");
    IniFile ini(bad);
    ini.writeInteger("CONFIG", "ActionMode", 1);
    try {
        ini.flush();
        FAIL() << "flush into a missing folder succeeded";
    } catch (const IniWriteError& e) {
        // The system's reason follows the message.
        EXPECT_EQ(std::string(e.what()),
                  "Impossible d'\xE9"
                  "crire dans " +
                      bad + " (" + std::strerror(ENOENT) + ")");
        EXPECT_EQ(e.path(), bad);
    }
    // Nothing was lost: the values are still there for another try.
    EXPECT_EQ(ini.readInteger("CONFIG", "ActionMode", 0), 1);
}

TEST_F(IniFileTest, RandomBytesNeverBreakTheReader) {
    std::mt19937 rng(4711);
    const char alphabet[] = "[]=;\r\n \t0xXaAbB\"'\xE9\x00-9";
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int n = static_cast<int>(rng() % 400);
        for (int i = 0; i < n; ++i)
            bytes += (rng() % 4 == 0) ? static_cast<char>(rng() & 0xFF)
                                      : alphabet[rng() % (sizeof alphabet - 1)];
        writeBytes(path, bytes);
        IniFile ini(path, round % 2 ? IniFile::Values::Exact : IniFile::Values::Profile);
        for (const auto& section : {"", "a", "A", "b]", "0x"}) {
            for (const auto& key : ini.keys(section)) {
                (void)ini.readString(section, key, "");
                (void)ini.readInteger(section, key, 0);
            }
        }
        // Writing into whatever was there keeps the file readable and the key found.
        ini.writeString("a", "key", "v" + std::to_string(round));
        ini.flush();
        IniFile back(path, round % 2 ? IniFile::Values::Exact : IniFile::Values::Profile);
        EXPECT_EQ(back.readString("a", "key", ""), "v" + std::to_string(round));
    }
}

}  // namespace
}  // namespace orvane
