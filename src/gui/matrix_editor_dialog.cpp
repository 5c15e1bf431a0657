#include "gui/matrix_editor_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/session.h"
#include "gui/dialog_host.h"
#include "gui/image_convert.h"
#include "gui/qt_text.h"
#include "gui/widget_factory.h"

namespace orvane::gui {

namespace {

constexpr int kImageSide = 90;
constexpr int kMaxTextLength = 20;

QLabel* valueLabel(const char* name) {
    auto* l = named(new QLabel("0"), name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance("00000"));
    return l;
}

}  // namespace

MatrixEditorDialog::MatrixEditorDialog(DialogHost& host, Session& session)
    : QDialog(&host.hostWindow(), Qt::Window | Qt::WindowStaysOnTopHint),
      host_(host),
      session_(session),
      editor_(session) {
    setObjectName("Form5");
    setWindowTitle("View/Edit Character Matrix");
    setModal(false);

    auto* top = new QHBoxLayout(this);

    buildListGroup(top);
    buildDetailsGroup(top);
    connectControls();

    editor_.rebuild();
    showRows();
}

void MatrixEditorDialog::buildListGroup(QHBoxLayout* top) {
    auto* left = new QVBoxLayout;
    Label7 = named(new QLabel("Characters :"), "Label7");
    left->addWidget(Label7);
    ListBoxMatrix = named(new QListWidget, "ListBoxMatrix");
    ListBoxMatrix->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ListBoxMatrix->setMinimumWidth(
        ListBoxMatrix->fontMetrics().horizontalAdvance(QString(34, '0')) + 30);
    ListBoxMatrix->setMinimumHeight(300);
    ListBoxMatrix->setUniformItemSizes(true);
    ListBoxMatrix->installEventFilter(this);
    left->addWidget(ListBoxMatrix, 1);
    RadioGroupSort = named(new QGroupBox("Sort by :"), "RadioGroupSort");
    auto* sortLayout = new QHBoxLayout(RadioGroupSort);
    auto* sortGroup = new QButtonGroup(this);
    const char* orders[] = {"Alphabetical Order", "Index Order"};
    for (int i = 0; i < 2; ++i) {
        RadioSort[i] = named(new QRadioButton(orders[i]), QString("RadioGroupSort%1").arg(i));
        sortGroup->addButton(RadioSort[i], i);
        sortLayout->addWidget(RadioSort[i]);
    }
    RadioSort[0]->setChecked(true);
    connect(sortGroup, &QButtonGroup::idClicked, this, &MatrixEditorDialog::RadioGroupSortClick);
    left->addWidget(RadioGroupSort);
    top->addLayout(left, 1);
}

void MatrixEditorDialog::buildDetailsGroup(QHBoxLayout* top) {
    // The description, the glyph and its measures.
    auto* right = new QVBoxLayout;
    Label6 = named(new QLabel("File Description :"), "Label6");
    right->addWidget(Label6);
    MemoComment = named(new QPlainTextEdit, "MemoComment");
    MemoComment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoComment->setFixedHeight(MemoComment->fontMetrics().lineSpacing() * 4 + 12);
    right->addWidget(MemoComment);

    buildGlyphRow(right);
    buildTextRow(right);
    buildButtonRows(right);
    top->addLayout(right, 1);
}

void MatrixEditorDialog::connectControls() {
    connect(ListBoxMatrix, &QListWidget::currentRowChanged, this, [this](int row) {
        editor_.selectRow(row);
        ShowSelection();
    });
    connect(ListBoxMatrix, &QListWidget::itemClicked, this, [this] { ShowSelection(); });
    connect(EditText, &QLineEdit::textChanged, this,
            [this](const QString& t) { LabelNbChar->setText(QString::number(t.size())); });
    connect(ButtonModify, &QPushButton::clicked, this, &MatrixEditorDialog::ButtonModifyClick);
    connect(ButtonDelete, &QPushButton::clicked, this, &MatrixEditorDialog::ButtonDeleteClick);
    connect(MemoComment, &QPlainTextEdit::textChanged, this,
            &MatrixEditorDialog::MemoCommentChange);
    connect(CheckBoxOnTop, &QCheckBox::clicked, this, &MatrixEditorDialog::CheckBoxOnTopClick);
    connect(ButtonOpenChMatrix, &QPushButton::clicked, this,
            &MatrixEditorDialog::ButtonOpenChMatrixClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
}

void MatrixEditorDialog::buildGlyphRow(QVBoxLayout* right) {
    auto* glyphRow = new QHBoxLayout;
    ImageChar = named(new QLabel, "ImageChar");
    ImageChar->setFixedSize(kImageSide, kImageSide);
    ImageChar->setAlignment(Qt::AlignCenter);
    ImageChar->setFrameShape(QFrame::Box);
    glyphRow->addWidget(ImageChar, 0, Qt::AlignTop);
    auto* measures = new QGridLayout;
    measures->setHorizontalSpacing(6);
    Label5 = named(new QLabel("Character Index :"), "Label5");
    LabelCharIndex = valueLabel("LabelCharIndex");
    Label1 = named(new QLabel("Top (Line top relative) :"), "Label1");
    LabelRTop = valueLabel("LabelRTop");
    Label2 = named(new QLabel("Width (Pixels) :"), "Label2");
    LabelWidth = valueLabel("LabelWidth");
    Label3 = named(new QLabel("Height (Pixels) :"), "Label3");
    LabelHeight = valueLabel("LabelHeight");
    const std::pair<QLabel*, QLabel*> rows[] = {
        {Label5, LabelCharIndex}, {Label1, LabelRTop}, {Label2, LabelWidth}, {Label3, LabelHeight}};
    int r = 0;
    for (const auto& [caption, value] : rows) {
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        measures->addWidget(caption, r, 0);
        measures->addWidget(value, r, 1);
        ++r;
    }
    measures->setColumnStretch(2, 1);
    glyphRow->addLayout(measures, 1);
    right->addLayout(glyphRow);
}

void MatrixEditorDialog::buildTextRow(QVBoxLayout* right) {
    auto* textRow = new QHBoxLayout;
    Label4 = named(new QLabel("Text :"), "Label4");
    textRow->addWidget(Label4);
    EditText = named(new QLineEdit, "EditText");
    EditText->setMaxLength(kMaxTextLength);
    textRow->addWidget(EditText, 1);
    LabelLengthText = named(new QLabel("Nb Char : "), "LabelLengthText");
    textRow->addWidget(LabelLengthText);
    LabelNbChar = named(new QLabel("0"), "LabelNbChar");
    LabelNbChar->setMinimumWidth(LabelNbChar->fontMetrics().horizontalAdvance("00"));
    textRow->addWidget(LabelNbChar);
    right->addLayout(textRow);
}

void MatrixEditorDialog::buildButtonRows(QVBoxLayout* right) {
    auto* editRow = new QHBoxLayout;
    ButtonModify = button("ButtonModify", "&Modify");
    ButtonDelete = button("ButtonDelete", "Delete This Character (Del)");
    editRow->addWidget(ButtonModify);
    editRow->addWidget(ButtonDelete);
    editRow->addStretch(1);
    right->addLayout(editRow);
    right->addStretch(1);

    CheckBoxOnTop = named(new QCheckBox("Stay on TOP"), "CheckBoxOnTop");
    CheckBoxOnTop->setChecked(true);
    right->addWidget(CheckBoxOnTop);
    auto* bottom = new QHBoxLayout;
    ButtonOpenChMatrix = button("ButtonOpenChMatrix", "Open a Matrix File");
    BitBtn1 = defaultButton("BitBtn1", "OK");
    BitBtn1->setMinimumWidth(90);
    bottom->addWidget(ButtonOpenChMatrix);
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);
    right->addLayout(bottom);
}

void MatrixEditorDialog::showRows() {
    const QSignalBlocker block(ListBoxMatrix);
    ListBoxMatrix->clear();
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(editor_.rows().size()));
    for (const std::string& row : editor_.rows()) rows << toQt(row);
    ListBoxMatrix->addItems(rows);
    showSelectedRow();
    const QSignalBlocker blockMemo(MemoComment);
    const QString memo = toQt(editor_.memoText());
    if (MemoComment->toPlainText() != memo) MemoComment->setPlainText(memo);
    setWindowTitle(toQt(editor_.caption()));
}

void MatrixEditorDialog::showSelectedRow() {
    const QSignalBlocker block(ListBoxMatrix);
    ListBoxMatrix->setCurrentRow(editor_.selectedRow());
    if (QListWidgetItem* item = ListBoxMatrix->currentItem()) ListBoxMatrix->scrollToItem(item);
}

void MatrixEditorDialog::matrixEdited() {
    host_.setMatrixName(session_.matrix());
}

void MatrixEditorDialog::matrixChanged() {
    editor_.matrixChanged();
    showRows();
    ShowSelection();
}

void MatrixEditorDialog::entryAdded(size_t k) {
    const size_t before = static_cast<size_t>(ListBoxMatrix->count());
    const int row = editor_.addRow(k, true);
    if (before + 1 == editor_.rows().size() && row >= 0) {
        const QSignalBlocker block(ListBoxMatrix);
        ListBoxMatrix->insertItem(row, toQt(editor_.rows()[static_cast<size_t>(row)]));
        showSelectedRow();
    } else {
        showRows();
    }
    ShowSelection();
}

void MatrixEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void MatrixEditorDialog::FormShow() {
    ListBoxMatrix->setFocus();
    ShowSelection();
}

void MatrixEditorDialog::ShowSelection() {
    const size_t k = editor_.selectedEntry();
    if (k == 0) return;
    const MatrixEntry& e = session_.matrix().entry(k);
    ImageChar->setPixmap(QPixmap::fromImage(toQImage(editor_.selectedPicture())));
    LabelCharIndex->setText(QString::number(k));
    LabelRTop->setText(QString::number(e.relativeTop));
    LabelWidth->setText(QString::number(e.width));
    LabelHeight->setText(QString::number(e.height));
    EditText->setText(toQt(e.text));
}

void MatrixEditorDialog::ButtonModifyClick() {
    if (!editor_.modifySelected(fromQt(EditText->text()))) return;
    showRows();
    ShowSelection();
    matrixEdited();
    ListBoxMatrix->setFocus();
}

void MatrixEditorDialog::ButtonDeleteClick() {
    if (!editor_.deleteSelected()) return;
    showRows();
    ShowSelection();
    matrixEdited();
}

void MatrixEditorDialog::MemoCommentChange() {
    const std::string typed = fromQt(MemoComment->toPlainText());
    const std::string fits = editor_.setCommentFromMemo(typed);
    if (fits != typed) {
        // Past 255 characters: what does not fit is not taken.
        const QSignalBlocker block(MemoComment);
        MemoComment->setPlainText(toQt(fits));
        MemoComment->moveCursor(QTextCursor::End);
    }
    matrixEdited();
}

void MatrixEditorDialog::RadioGroupSortClick() {
    editor_.setSortOrder(RadioSort[0]->isChecked() ? MatrixEditor::SortOrder::Alphabetical
                                                   : MatrixEditor::SortOrder::Index);
    showRows();
    ShowSelection();
}

void MatrixEditorDialog::CheckBoxOnTopClick() {
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, CheckBoxOnTop->isChecked());
    // Changing a window flag hides the window; it is shown again as it was.
    if (wasVisible) show();
}

void MatrixEditorDialog::ButtonOpenChMatrixClick() {
    // The main window's Open, with its save question; the UI port brings
    // the new rows back here.
    host_.openMatrixCommand();
}

bool MatrixEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBoxMatrix && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            ButtonDeleteClick();
            ShowSelection();
            return true;
        }
        const Qt::KeyboardModifiers commands =
            Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        const std::string typed = fromQt(key->text());
        if (!(key->modifiers() & commands) && typed.size() == 1 &&
            static_cast<unsigned char>(typed[0]) >= 0x20) {
            // Typing selects by the entry's text, case-sensitive, instead
            // of the list's own search.
            editor_.findTyped(typed[0]);
            showSelectedRow();
            ShowSelection();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvane::gui
