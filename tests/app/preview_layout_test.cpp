// The preview's zoom, frame, band and ratio arithmetic, and the close
// question of the main window.

#include <gtest/gtest.h>

#include "app/preview_layout.h"
#include "app/session.h"
#include "support/fake_ui.h"

namespace orvane {
namespace {

using namespace preview;

TEST(PreviewZoom, DesignSizeGivesFullScaleAndTinyWindowsGiveOne) {
    // The main window's design size, 743 x 686, is exactly 100 %.
    EXPECT_EQ(autoZoom(743, 686), 1000);
    EXPECT_EQ(autoZoom(23, 686), 1);
    EXPECT_EQ(autoZoom(743, 110), 1);
    // The smaller ratio wins; no upper limit (the spin box stops at 200 %).
    EXPECT_EQ(autoZoom(743 + 720, 686), 1000);
    EXPECT_EQ(autoZoom(23 + 3 * 720, 110 + 3 * 576), 3000);
    EXPECT_EQ(autoZoom(383, 686), 500);
    // Just above the limits the division gives 0; the frame never vanishes.
    EXPECT_EQ(autoZoom(24, 686), 1);
}

TEST(PreviewZoom, FrameAndBackgroundFollowTheZoomWithIntegerDivision) {
    EXPECT_EQ(frameSize(1000), (Size{724, 580}));
    EXPECT_EQ(backgroundSize(1000), (Size{720, 576}));
    EXPECT_EQ(frameSize(333), (Size{239 + 4, 191 + 4}));
    EXPECT_EQ(frameSize(1), (Size{4, 4}));
}

TEST(PreviewZoom, PicturePlacementScalesSizeAndTruePosition) {
    EXPECT_EQ(picturePlacement(1000, 421, 36, 148, 494, true), (Rect{150, 496, 421, 36}));
    EXPECT_EQ(picturePlacement(500, 421, 36, 148, 494, true), (Rect{76, 249, 210, 18}));
    EXPECT_EQ(picturePlacement(500, 421, 36, 148, 494, false), (Rect{2, 2, 210, 18}));
}

TEST(PreviewBackground, PresetBandsAndFreeBandsColourTheRightRows) {
    EXPECT_EQ(presetBandHeight(0), 85);
    EXPECT_EQ(presetBandHeight(1), 94);
    EXPECT_EQ(presetBandHeight(2), 135);
    const Colour border = 7171979, inner = 13089467;
    const Image24 img = bandedBackground(85, border, inner);
    ASSERT_EQ(img.width(), 720);
    ASSERT_EQ(img.height(), 576);
    EXPECT_EQ(img.pixel(0, 84), border);
    EXPECT_EQ(img.pixel(719, 85), inner);
    EXPECT_EQ(img.pixel(5, 490), inner);
    EXPECT_EQ(img.pixel(5, 491), border);
    EXPECT_EQ(img.pixel(5, 575), border);
    // No band: every row inner; 288 or more: every row border.
    const Image24 none = bandedBackground(0, border, inner);
    EXPECT_EQ(none.pixel(0, 0), inner);
    EXPECT_EQ(none.pixel(0, 575), inner);
    const Image24 full = bandedBackground(288, border, inner);
    for (int y : {0, 287, 288, 575}) EXPECT_EQ(full.pixel(300, y), border) << y;
}

TEST(PreviewBackground, FreeRatioTextInShortestForm) {
    EXPECT_EQ(freeRatioText(85), "1.77:1");
    EXPECT_EQ(freeRatioText(0), "1.25:1");
    EXPECT_EQ(freeRatioText(30), "1.4:1");
    EXPECT_EQ(freeRatioText(288), "*");
    EXPECT_EQ(freeRatioText(30, ','), "1,4:1");
    // 72000 / 288 = 250: a whole number shows no separator.
    EXPECT_EQ(freeRatioText(144), "2.5:1");
    EXPECT_EQ(freeRatioText(276), "30:1");
    // Exact halves round to even: 562.5 -> 562, 187.5 -> 188.
    EXPECT_EQ(freeRatioText(224), "5.62:1");
    EXPECT_EQ(freeRatioText(96), "1.88:1");
}

TEST(CloseQuestion, ModifiedMatrixThenUnsavedText) {
    test::FakeUi ui;
    Session s(ui);
    // Nothing modified: no question.
    EXPECT_TRUE(s.closeQuery());
    EXPECT_TRUE(ui.questions.empty());

    s.document().appendEntry({"Hello"}, true, {}, timeCodeFromMs(2000), timeCodeFromMs(1000));
    ASSERT_TRUE(s.document().modified());
    ui.answers = {Answer::No};
    EXPECT_FALSE(s.closeQuery());
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::QuitUnsaved);
    EXPECT_EQ(ui.questions[0].text, "Text NOT Saved !\rDo you really want to quit ?");
    EXPECT_EQ(ui.questions[0].buttons, Buttons::YesNo);
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(s.closeQuery());

    // A modified matrix is asked about first; Cancel keeps the window
    // without the text question.
    MatrixEntry e;
    e.width = 3;
    e.height = 3;
    e.text = "a";
    s.matrix().add(e);
    ASSERT_TRUE(s.matrix().modified());
    ui.questions.clear();
    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(s.closeQuery());
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::MatrixModified);
    // No to the matrix, Yes to the text: the window closes.
    ui.questions.clear();
    ui.answers = {Answer::No, Answer::Yes};
    EXPECT_TRUE(s.closeQuery());
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].id, QuestionId::QuitUnsaved);
}

}  // namespace
}  // namespace orvane
