#include "app/matrix_editor.h"

#include <gtest/gtest.h>

#include "app/session.h"
#include "support/fake_ui.h"

namespace orvane {
namespace {

using test::FakeUi;

// A session whose matrix holds entries with these texts, numbered 1..n,
// each glyph a single set pixel at (k mod width, 0).
struct EditorFixture : ::testing::Test {
    FakeUi ui;
    Session session{ui};
    MatrixEditor editor{session};

    void fill(const std::vector<std::string>& texts) {
        for (const std::string& t : texts) {
            MatrixEntry e;
            e.text = t;
            e.width = 3;
            e.height = 2;
            e.relativeTop = 4;
            e.glyph.set(static_cast<int>(session.matrix().size() % 3), 0);
            session.matrix().add(e);
        }
        session.matrix().setModified(false);
        editor.rebuild();
    }
    std::string selectedText() const {
        const size_t k = editor.selectedEntry();
        return k ? session.matrix().entry(k).text : "<none>";
    }
};

TEST(MatrixEditorRows, ReadTheQuotedTextAndTheFiveDigitNumber) {
    MatrixEntry e;
    e.text = "e";
    EXPECT_EQ(MatrixEditor::rowText(e, 12), "\"e\"    00012");
    e.text.clear();
    EXPECT_EQ(MatrixEditor::rowText(e, 7), "\"\"    00007");
    EXPECT_EQ(MatrixEditor::entryNumberOfRow("\"\"    00007"), 7u);
    EXPECT_EQ(MatrixEditor::entryNumberOfRow("\"12345\"    65535"), 65535u);
    EXPECT_EQ(MatrixEditor::entryNumberOfRow("123"), 0u);
}

// Texts equal but for case stay in entry number order.
TEST_F(EditorFixture, SortsAlphabeticallyIgnoringCaseOrByIndex) {
    fill({"b", "a", "B", "", "\xC9t\xE9", "a", "ab"});
    EXPECT_EQ(editor.rows(),
              (std::vector<std::string>{"\"\"    00004", "\"a\"    00002", "\"a\"    00006",
                                        "\"ab\"    00007", "\"b\"    00001", "\"B\"    00003",
                                        "\"\xC9t\xE9\"    00005"}));
    EXPECT_EQ(editor.selectedRow(), 0);
    editor.selectRow(3);
    editor.setSortOrder(MatrixEditor::SortOrder::Index);
    ASSERT_EQ(editor.rows().size(), 7u);
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(MatrixEditor::entryNumberOfRow(editor.rows()[i]), i + 1);
    EXPECT_EQ(editor.selectedRow(), 0);
    EXPECT_EQ(editor.caption(), "View/Edit Character Matrix -  -");
}

TEST_F(EditorFixture, TypingFindsTheFirstTextBeginningWithTheCharacterExactly) {
    // More than a thousand entries; the wanted ones near the end.
    std::vector<std::string> texts(1200, "m");
    texts[1100] = "Q";
    texts[1150] = "q";
    texts[5] = "";
    fill(texts);
    ASSERT_TRUE(editor.findTyped('q'));
    EXPECT_EQ(editor.selectedEntry(), 1151u);
    ASSERT_TRUE(editor.findTyped('Q'));
    EXPECT_EQ(editor.selectedEntry(), 1101u);
    // Nothing begins with 'z', and an empty text is never found.
    EXPECT_FALSE(editor.findTyped('z'));
    EXPECT_FALSE(editor.findTyped('\0'));
    EXPECT_EQ(editor.selectedEntry(), 1101u);
}

TEST_F(EditorFixture, ModifyChangesTheTextAndKeepsTheEntrySelected) {
    fill({"a", "m", "x"});
    editor.selectRow(editor.rowOfEntry(1));
    ASSERT_TRUE(editor.modifySelected("z"));
    EXPECT_EQ(editor.rows().back(), "\"z\"    00001");  // moved to its place
    EXPECT_EQ(editor.selectedEntry(), 1u);
    EXPECT_TRUE(session.matrix().modified());
    ASSERT_TRUE(editor.modifySelected(std::string(25, 'w')));
    EXPECT_EQ(session.matrix().entry(1).text, std::string(20, 'w'));
    editor.selectRow(MatrixEditor::kNoRow);
    EXPECT_FALSE(editor.modifySelected("q"));
    EXPECT_FALSE(editor.deleteSelected());
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(EditorFixture, DeleteAsksAndTheLastEntryTakesTheNumber) {
    fill({"a", "b", "c", "d", "e"});
    editor.selectRow(1);  // "b", entry 2
    ui.answers = {Answer::No};
    EXPECT_FALSE(editor.deleteSelected());
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::DeleteMatrixEntry);
    EXPECT_EQ(ui.questions[0].text, "Delete character \"b\" ?");
    EXPECT_EQ(ui.questions[0].buttons, Buttons::YesNo);
    EXPECT_EQ(session.matrix().size(), 5u);
    EXPECT_FALSE(session.matrix().modified());

    ui.answers = {Answer::Yes};
    ASSERT_TRUE(editor.deleteSelected());
    EXPECT_EQ(session.matrix().entry(2).text, "e");
    EXPECT_TRUE(session.matrix().modified());
    EXPECT_EQ(editor.rows(), (std::vector<std::string>{"\"a\"    00001", "\"c\"    00003",
                                                       "\"d\"    00004", "\"e\"    00002"}));
    EXPECT_EQ(editor.selectedRow(), 1);  // the same place, the next row
    EXPECT_EQ(selectedText(), "c");
    // The last row deleted: the new last row is selected.
    editor.selectRow(3);
    ui.answers = {Answer::Yes};
    ASSERT_TRUE(editor.deleteSelected());
    EXPECT_EQ(editor.selectedRow(), 2);
    EXPECT_EQ(selectedText(), "d");
}

TEST_F(EditorFixture, TheDescriptionHoldsAtMost255CharactersWithCrLfLines) {
    fill({"a"});
    EXPECT_EQ(editor.setCommentFromMemo("first\nsecond"), "first\nsecond");
    EXPECT_EQ(session.matrix().comment(), "first\r\nsecond");
    EXPECT_EQ(editor.memoText(), "first\nsecond");
    EXPECT_TRUE(session.matrix().modified());
    EXPECT_EQ(editor.setCommentFromMemo(std::string(300, 'x')), std::string(255, 'x'));
    EXPECT_EQ(session.matrix().comment().size(), 255u);
    // A line break that would not fit whole is left out.
    const std::string memo = std::string(254, 'y') + "\nz";
    EXPECT_EQ(editor.setCommentFromMemo(memo), std::string(254, 'y'));
}

TEST_F(EditorFixture, ALearnedGlyphShowsUpAtOnceSelectedInEitherOrder) {
    fill({"b", "d"});
    MatrixEntry e;
    e.text = "c";
    ASSERT_TRUE(session.addMatrixEntry(e));
    EXPECT_EQ(ui.learned, std::vector<size_t>{3});
    EXPECT_EQ(editor.addRow(3, true), 1);
    EXPECT_EQ(editor.rows()[1], "\"c\"    00003");
    EXPECT_EQ(editor.selectedEntry(), 3u);

    editor.setSortOrder(MatrixEditor::SortOrder::Index);
    e.text = "a";
    session.addMatrixEntry(e);
    EXPECT_EQ(editor.addRow(4, true), 3);
    EXPECT_EQ(editor.selectedEntry(), 4u);
    // Rows out of step with the matrix are built again.
    session.matrix().add(e);
    session.matrix().add(e);
    EXPECT_EQ(editor.addRow(6, true), 5);
    EXPECT_EQ(editor.rows().size(), 6u);
}

TEST_F(EditorFixture, OpeningAnotherMatrixRebuildsButSavingKeepsTheRows) {
    fill({"b", "a"});
    editor.selectRow(1);
    session.matrix().setFileName("/m/font.sum");
    editor.matrixChanged();  // a save: same entries
    EXPECT_EQ(editor.selectedRow(), 1);
    EXPECT_EQ(editor.caption(), "View/Edit Character Matrix - font.sum -");
    session.matrix().clear();
    editor.matrixChanged();
    EXPECT_TRUE(editor.rows().empty());
    EXPECT_EQ(editor.selectedRow(), MatrixEditor::kNoRow);
    EXPECT_TRUE(editor.selectedPicture().empty());
}

TEST_F(EditorFixture, TheGlyphIsShownAtDoubleSize) {
    fill({"a"});
    const Image24 p = editor.selectedPicture();
    ASSERT_EQ(p.width(), 6);
    ASSERT_EQ(p.height(), 4);
    // Entry 1 has its pixel at column 0 of row 0.
    EXPECT_EQ(p.pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(p.pixel(1, 1), 0xFFFFFFu);
    EXPECT_EQ(p.pixel(2, 0), 0u);
    EXPECT_EQ(p.pixel(0, 2), 0u);
}

}  // namespace
}  // namespace orvane
