// The BMP and SUP actions of the driver and the bitmap adjustment dialog's
// logic, on small VOB files built in code.

#include <gtest/gtest.h>

#include <cstring>

#include <filesystem>
#include <functional>

#include "app/bitmap_adjustment.h"
#include "app/session.h"
#include "subpicture/bitmap_profile.h"
#include "support/bmp_reader.h"
#include "support/fake_ui.h"
#include "support/file_bytes.h"
#include "support/pack_builder.h"
#include "support/spu_encoder.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::FakeUi;

// A 40 x 6 sub-picture: a 30-pixel outline row (colour 2) over three body
// rows (colour 3), from column 5, row 1.
test::IndexedPicture outlinedText() {
    test::IndexedPicture pic = test::IndexedPicture::filled(40, 6);
    for (int x = 5; x < 35; ++x) {
        pic.set(x, 1, 2);
        for (int y = 2; y <= 4; ++y) pic.set(x, y, 3);
    }
    return pic;
}

const test::IndexedPicture kText = outlinedText();

JobRequest bmpJob(const std::string& vob, bool timing, ActionMode mode = ActionMode::SaveBmp) {
    JobRequest r;
    r.files = {vob};
    r.action = mode;
    r.timing = timing;
    return r;
}

// The outlined text cropped with the default settings: 30 x 4 on a 32 x 50
// canvas at (1, 23), its screen position kept.
constexpr DisplayArea kCroppedArea{104, 478, 135, 527};

TEST(BmpAction, WritesOneBmpPerPictureAndTimingEntriesNamingThem) {
    test::TempDir dir;
    test::VobBuilder()
        .nav()
        .picture(kText, 90000)
        .picture(kText, 270000, 100, 500, 0)
        .picture(kText, 450000)
        .write(dir.file("a.vob"));
    FakeUi ui;
    ui.saveName = dir.file("pic_");
    Session s(ui);
    s.showSubPicture = false;
    ASSERT_TRUE(s.startButton(bmpJob(dir.file("a.vob"), true)));
    EXPECT_EQ(ui.saveTitles,
              (std::vector<std::string>{"Save BMPs : Enter beginning of File Name"}));
    s.runToEnd();

    // The dialog came once, before the first picture; its OK under the
    // default I-Author preset brings the IAuthor output format along.
    EXPECT_EQ(ui.adjustmentDialogs, 1);
    EXPECT_EQ(ui.outputFormatsShown, (std::vector<OutputFormat>{OutputFormat::IAuthor}));
    EXPECT_EQ(s.document().format(), OutputFormat::IAuthor);
    EXPECT_FALSE(s.showBeforeNextPicture);
    ASSERT_EQ(ui.units.size(), 3u);

    const SubtitleDocument& doc = s.document();
    ASSERT_EQ(doc.count(), 3u);
    for (size_t i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        const std::string name = "pic_00000" + std::to_string(i) + ".bmp";
        EXPECT_EQ(ui.units[i - 1].savedFile, dir.file(name));
        EXPECT_EQ(doc.entry(i).lines, (std::vector<std::string>{name}));
        EXPECT_EQ(doc.entry(i).rect, kCroppedArea);
        EXPECT_EQ(doc.entry(i).start, ui.units[i - 1].start);

        const test::BmpProbe bmp = test::probeBmp(dir.file(name));
        ASSERT_TRUE(bmp.ok) << bmp.error;
        EXPECT_EQ(bmp.width, 32);
        EXPECT_EQ(bmp.height, 50);
        EXPECT_EQ(bmp.bits, 4);
        // Black background, white font, blue outline, grey antialiasing,
        // the other entries the unused colour (black).
        ASSERT_EQ(bmp.palette.size(), 16u);
        EXPECT_EQ(std::vector<uint32_t>(bmp.palette.begin(), bmp.palette.begin() + 4),
                  (std::vector<uint32_t>{0x000000, 0xFFFFFF, 0x0000FF, 0x808080}));
        for (size_t e = 4; e < 16; ++e) EXPECT_EQ(bmp.palette[e], 0u);
        // The outline row holds the outline's index, the body the font's.
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool text = x >= 1 && x <= 30 && y >= 23 && y <= 26;
                const int want = !text ? 0 : y == 23 ? 2 : 1;
                ASSERT_EQ(bmp.rows[y][x], want) << x << "," << y;
            }
    }
    // The second unit had no stop: the third one's start closed it.
    EXPECT_EQ(doc.entry(2).stop, ui.units[2].start);
    EXPECT_EQ(doc.entry(1).stop, ui.units[0].stop);
    EXPECT_NE(doc.entry(1).stop, TimeCode{});
    EXPECT_FALSE(std::filesystem::exists(dir.file("pic_000004.bmp")));
}

TEST(BmpAction, WithoutTimingNoEntriesAndShowPictShowsTheAdjustedPicture) {
    test::TempDir dir;
    test::VobBuilder().nav().picture(kText, 90000).write(dir.file("a.vob"));
    FakeUi ui;
    ui.saveName = dir.file("x");
    Session s(ui);
    ASSERT_TRUE(s.startButton(bmpJob(dir.file("a.vob"), false)));
    s.runToEnd();
    EXPECT_TRUE(std::filesystem::exists(dir.file("x000001.bmp")));
    EXPECT_EQ(s.document().count(), 0u);
    // The dialog's preview, then "Show Pict." of the saved picture.
    EXPECT_EQ(ui.shownAreas, (std::vector<DisplayArea>{kCroppedArea, kCroppedArea}));
}

TEST(BmpAction, SkipLeavesThePictureUnsavedAndTheDialogComesBack) {
    test::TempDir dir;
    test::VobBuilder()
        .nav()
        .picture(kText, 90000)
        .picture(kText, 180000)
        .picture(kText, 270000)
        .write(dir.file("a.vob"));
    FakeUi ui;
    ui.saveName = dir.file("p");
    int shown = 0;
    ui.onBitmapAdjustment = [&](BitmapAdjustment& d) {
        if (++shown == 1)
            d.skip();
        else
            d.ok();
    };
    Session s(ui);
    ASSERT_TRUE(s.startButton(bmpJob(dir.file("a.vob"), true)));
    s.runToEnd();
    EXPECT_EQ(ui.adjustmentDialogs, 2);  // skipped once, OK the second time
    EXPECT_FALSE(std::filesystem::exists(dir.file("p000001.bmp")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("p000002.bmp")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("p000003.bmp")));
    ASSERT_EQ(s.document().count(), 2u);
    EXPECT_EQ(s.document().entry(1).lines[0], "p000002.bmp");
    EXPECT_EQ(ui.units[0].savedFile, "");
}

TEST(BmpAction, AFailedWriteIsReportedAndAddsNoEntry) {
    test::TempDir dir;
    test::VobBuilder().nav().picture(kText, 90000).write(dir.file("a.vob"));
    FakeUi ui;
    ui.saveName = dir.file("missing/p");
    Session s(ui);
    ASSERT_TRUE(s.startButton(bmpJob(dir.file("a.vob"), true)));
    s.runToEnd();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::IoFailure);
    EXPECT_EQ(ui.questions[0].text, dir.file("missing/p000001.bmp") + ": " + std::strerror(ENOENT));
    EXPECT_EQ(s.document().count(), 0u);
    EXPECT_TRUE(s.job().paused);  // on that picture, to write it again
}

TEST(BmpAction, AnIAuthorProfileWithEightBitsIsUsedWithFourBitsAndIndicesZeroToThree) {
    test::TempDir dir;
    test::writeBytes(dir.file("p.ini"),
                     "[BMP OUT COLOR]\r\nBitPerPixel=8\r\nPresetColorPalIndex=1\r\n"
                     "ColorPalIndex_0=12\r\nColorPalIndex_1=13\r\nColorPalIndex_2=14\r\n"
                     "ColorPalIndex_3=15\r\n");
    test::VobBuilder().nav().picture(kText, 90000).write(dir.file("a.vob"));
    FakeUi ui;
    ui.saveName = dir.file("p");
    Session s(ui);
    s.bitmapSettings() = loadBitmapSettings(dir.file("p.ini"));
    BitmapColours shown;
    ui.onBitmapAdjustment = [&](BitmapAdjustment& d) {
        shown = d.settings().colours;
        EXPECT_FALSE(d.indexBoxesEnabled());
        d.ok();
    };
    ASSERT_TRUE(s.startButton(bmpJob(dir.file("a.vob"), false)));
    s.runToEnd();
    EXPECT_EQ(shown.bitsPerPixel, 4);
    EXPECT_EQ(shown.paletteIndex, (std::array<uint8_t, 4>{0, 1, 2, 3}));
    const test::BmpProbe bmp = test::probeBmp(dir.file("p000001.bmp"));
    ASSERT_TRUE(bmp.ok) << bmp.error;
    EXPECT_EQ(bmp.bits, 4);
    EXPECT_EQ(bmp.rows[25][5], 1);  // body pixels: the font's index
}

TEST(BmpAction, TheShowOnlyActionShowsTheAdjustedPictureAtItsPlacedRectangle) {
    test::TempDir dir;
    test::VobBuilder().nav().picture(kText, 90000, 300, 100).write(dir.file("a.vob"));
    FakeUi ui;
    Session s(ui);
    s.bitmapSettings().positioning.enabled = true;
    s.bitmapSettings().positioning.topMode = 2;  // bottom
    ASSERT_TRUE(s.startButton(bmpJob(dir.file("a.vob"), false, ActionMode::OnlyShow)));
    s.runToEnd();
    ASSERT_FALSE(ui.shownAreas.empty());
    EXPECT_EQ(ui.shownAreas.back(), (DisplayArea{304, 526, 335, 575}));
    EXPECT_EQ(ui.controllerShown.size(), 1u);
}

TEST(SupAction, TimingEntriesNameTheFilesWithTheDecodedArea) {
    test::TempDir dir;
    test::VobBuilder()
        .nav()
        .picture(kText, 90000, 100, 500, 0)
        .picture(kText, 180000, 200, 20)
        .write(dir.file("a.vob"));
    FakeUi ui;
    ui.saveName = dir.file("s_");
    Session s(ui);
    s.showSubPicture = false;
    ASSERT_TRUE(s.startButton(bmpJob(dir.file("a.vob"), true, ActionMode::SaveSup)));
    s.runToEnd();
    EXPECT_EQ(ui.adjustmentDialogs, 0);
    const SubtitleDocument& doc = s.document();
    ASSERT_EQ(doc.count(), 2u);
    EXPECT_EQ(doc.entry(1).lines, (std::vector<std::string>{"s_000001.sup"}));
    EXPECT_EQ(doc.entry(1).rect, (DisplayArea{100, 500, 139, 505}));
    EXPECT_EQ(doc.entry(2).lines, (std::vector<std::string>{"s_000002.sup"}));
    EXPECT_EQ(doc.entry(2).rect, (DisplayArea{200, 20, 239, 25}));
    // The first unit had no stop: the second's start is its stop.
    EXPECT_EQ(doc.entry(1).start, ui.units[0].start);
    EXPECT_EQ(doc.entry(1).stop, ui.units[1].start);
    // Timing decodes and shows the picture also with "Show Pict." off.
    EXPECT_EQ(ui.shownAreas.size(), 2u);
    EXPECT_EQ(ui.added, (std::vector<size_t>{1, 2}));
}

// ------------------------------------------------------------ the dialog

class AdjustmentDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        test::VobBuilder().nav().picture(kText, 90000).write(dir.file("a.vob"));
        ui.saveName = dir.file("p");
    }
    // Runs a BMP job whose dialog does `script` and then OK.
    void run(std::function<void(BitmapAdjustment&)> script) {
        ui.onBitmapAdjustment = [script](BitmapAdjustment& d) {
            script(d);
            d.ok();
        };
        ASSERT_TRUE(s.startButton(bmpJob(dir.file("a.vob"), false)));
        s.runToEnd();
    }
    test::TempDir dir;
    FakeUi ui;
    Session s{ui};
};

TEST_F(AdjustmentDialog, APaletteIndexTakenByAnotherRoleIsRefusedWithMessage36) {
    run([&](BitmapAdjustment& d) {
        d.choosePreset(PalettePreset::Free);
        EXPECT_TRUE(d.indexBoxesEnabled());
        EXPECT_FALSE(d.changePaletteIndex(1, 0));
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.questions[0].id, QuestionId::SamePaletteIndex);
        EXPECT_EQ(ui.questions[0].text, "You can't select the same Palette Index twice !!");
        EXPECT_EQ(d.settings().colours.paletteIndex, (std::array<uint8_t, 4>{0, 1, 2, 3}));
        EXPECT_TRUE(d.changePaletteIndex(1, 9));
        EXPECT_EQ(d.settings().colours.paletteIndex, (std::array<uint8_t, 4>{0, 9, 2, 3}));
    });
    // Free: OK brings no output format along; the body is written with index 9.
    EXPECT_TRUE(ui.outputFormatsShown.empty());
    const test::BmpProbe bmp = test::probeBmp(dir.file("p000001.bmp"));
    ASSERT_TRUE(bmp.ok) << bmp.error;
    EXPECT_EQ(bmp.rows[25][5], 9);
    EXPECT_EQ(bmp.palette[9], 0xFFFFFFu);
    EXPECT_EQ(bmp.palette[1], 0u);  // unused now
}

TEST_F(AdjustmentDialog, ColourBoxesSwapRolesAndEveryChangeRefreshesThePreview) {
    run([&](BitmapAdjustment& d) {
        // Filled by the automatic sort: background 0, body 3, outline 2.
        EXPECT_EQ(d.colourRoles(), (ColourRanking{0, 3, 2, 1}));
        const size_t before = ui.shownAreas.size();
        d.changeRoleNumber(1, 2);  // the font role takes the outline's number
        EXPECT_EQ(d.colourRoles(), (ColourRanking{0, 2, 3, 1}));
        d.setRoleColour(2, 0x0000FF);  // red outline
        d.setUnusedColour(0x00FF00);
        EXPECT_EQ(ui.shownAreas.size(), before + 3);
        d.autoSortColours();
        EXPECT_EQ(d.colourRoles(), (ColourRanking{0, 3, 2, 1}));
        d.changeRoleNumber(1, 2);
    });
    const test::BmpProbe bmp = test::probeBmp(dir.file("p000001.bmp"));
    ASSERT_TRUE(bmp.ok) << bmp.error;
    EXPECT_EQ(bmp.rows[23][5], 1);  // the outline row now plays the font
    EXPECT_EQ(bmp.rows[25][5], 2);
    EXPECT_EQ(bmp.palette[2], 0xFF0000u);
    EXPECT_EQ(bmp.palette[4], 0x00FF00u);
}

TEST_F(AdjustmentDialog, CroppingAndPositioningTabsChangeThePreviewAndTheFile) {
    run([&](BitmapAdjustment& d) {
        BitmapCropping c = d.settings().cropping;
        c.enabled = false;
        d.setCropping(c);
        EXPECT_EQ(ui.shownAreas.back(), (DisplayArea{100, 500, 139, 505}));
        BitmapPositioning p;
        p.enabled = true;
        p.leftMode = 3;
        p.leftValue = 700;
        d.setPositioning(p);
        EXPECT_EQ(ui.shownAreas.back(), (DisplayArea{680, 500, 719, 505}));
        d.choosePreset(PalettePreset::Philips);
    });
    EXPECT_EQ(ui.outputFormatsShown, (std::vector<OutputFormat>{OutputFormat::Philips}));
    const test::BmpProbe bmp = test::probeBmp(dir.file("p000001.bmp"));
    ASSERT_TRUE(bmp.ok) << bmp.error;
    EXPECT_EQ(bmp.width, 40);
    EXPECT_EQ(bmp.height, 6);
    EXPECT_EQ(bmp.bits, 8);
}

TEST_F(AdjustmentDialog, ProfilesAreSavedAndLoadedThroughFileDialogs) {
    run([&](BitmapAdjustment& d) {
        EXPECT_EQ(d.currentProfile(), "None");
        d.choosePreset(PalettePreset::Free);
        d.setBitsPerPixel(8);
        ui.saveName = dir.file("mine.ini");
        ASSERT_TRUE(d.saveProfile());
        EXPECT_EQ(ui.saveDialogs.back().title, "Save current BMP Settings as a Profile file");
        EXPECT_EQ(ui.saveDialogs.back().filter, "Orvane BMP Settings File (*.ini)|*.ini|All|*.*");
        EXPECT_EQ(ui.saveDialogs.back().defaultExtension, "ini");
        // Profiles start in the program folder.
        EXPECT_EQ(ui.saveDialogs.back().proposedName, s.programFolder());
        EXPECT_EQ(d.currentProfile(), "mine.ini");

        d.choosePreset(PalettePreset::IAuthor);
        ui.openName = "";  // cancelled
        EXPECT_FALSE(d.loadProfile());
        EXPECT_EQ(d.settings().colours.bitsPerPixel, 4);
        ui.openName = dir.file("mine.ini");
        ASSERT_TRUE(d.loadProfile());
        EXPECT_EQ(ui.openDialogs.back().title, "Load BMP Settings from a Profile file");
        EXPECT_EQ(ui.openDialogs.back().proposedName, s.programFolder());
        EXPECT_EQ(d.settings().colours.preset, PalettePreset::Free);
        EXPECT_EQ(d.settings().colours.bitsPerPixel, 8);

        // A failed write is reported and the dialog stays.
        ui.saveName = dir.file("no/such/folder/x.ini");
        EXPECT_FALSE(d.saveProfile());
        ASSERT_FALSE(ui.questions.empty());
        EXPECT_EQ(ui.questions.back().id, QuestionId::IoFailure);
        EXPECT_EQ(d.currentProfile(), "mine.ini");

        ui.saveName = dir.file("now.bmp");
        ASSERT_TRUE(d.saveCurrentBmp());
        EXPECT_EQ(ui.saveDialogs.back().title, "Save current BMP");
        ui.saveName = dir.file("p");
    });
    const test::BmpProbe now = test::probeBmp(dir.file("now.bmp"));
    ASSERT_TRUE(now.ok) << now.error;
    EXPECT_EQ(now.bits, 8);
    EXPECT_EQ(now.width, 32);
}

}  // namespace
}  // namespace orvane
