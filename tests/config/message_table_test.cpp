#include "config/message_table.h"

#include <gtest/gtest.h>

#include "common/text_encoding.h"

namespace orvane {
namespace {

TEST(MessageTable, HoldsTheBuiltInTextsExactly) {
    MessageTable t;
    EXPECT_EQ(t.size(), 0u);
    t.setDefaultMessages();
    ASSERT_EQ(t.size(), MessageTable::kBuiltInCount);
    EXPECT_EQ(t.get(57), "At most 1024 VOB files can be read in one job. Files checked : ");
    EXPECT_EQ(t.get(0), "Maximum Number of Characters reached : ");
    EXPECT_EQ(t.get(26), "Bad Packet Header at LBA: ");
    EXPECT_EQ(t.get(32), " will be reduced to 00:00:00,000");
    EXPECT_EQ(t.get(19), "Delete character \"");
    EXPECT_EQ(t.get(20), "\" ?");
    EXPECT_EQ(t.get(15), "Error in file at Subtitle N\xB0 ");
    EXPECT_EQ(t.get(40), "Save as BMP Subpicture N\xB0 ");
    EXPECT_EQ(t.get(29), " ,it might be crypted");
    EXPECT_EQ(t.get(56),
              "You should try again on the next character, if still not found then you must create "
              "a new Matrix.");
    EXPECT_EQ(t.get(58), "Time Stretch refused: the last subtitle starts at 00:00:00,000.");
    EXPECT_EQ(t.get(59), "Save VobSub : Enter File Name (.idx and .sub are added)");
    EXPECT_EQ(t.get(60), "");
    // Separate entries with the same text: each can be translated alone.
    EXPECT_EQ(t.get(9), t.get(13));
    EXPECT_EQ(t.get(13), t.get(17));
    t.replace(13, "Texte non sauv\xE9 !");
    EXPECT_EQ(t.get(9), "Text NOT Saved !");
    EXPECT_EQ(t.get(17), "Text NOT Saved !");
    EXPECT_FALSE(t.replace(60, "x"));
    t.append("extra");
    EXPECT_EQ(t.get(60), "extra");
    t.setDefaultMessages();
    EXPECT_EQ(t.size(), MessageTable::kBuiltInCount);
    EXPECT_EQ(t.get(13), "Text NOT Saved !");
}

TEST(TextEncoding, Windows1252RoundTripsThroughUtf8) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(cp1252ToUtf8("N\xB0 \x80 \x9C"), "N\xC2\xB0 \xE2\x82\xAC \xC5\x93");
    EXPECT_EQ(utf8ToCp1252("\xC3\xA9t\xC3\xA9 \xE2\x80\x9E\xE2\x80\x9C"), "\xE9t\xE9 \x84\x93");
    EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD"), "?");  // not in Windows-1252
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");        // cut sequence
}

}  // namespace
}  // namespace orvane
