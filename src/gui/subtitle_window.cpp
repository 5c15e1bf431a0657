#include "gui/subtitle_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/dialog_placement.h"
#include "gui/main_window.h"
#include "gui/output_format_dialog.h"
#include "gui/post_ocr_dialog.h"
#include "gui/qt_text.h"
#include "gui/split_dialog.h"
#include "gui/time_correction_dialog.h"
#include "gui/up_down.h"
#include "gui/widget_factory.h"
#include "subtitles/subtitle_document.h"

namespace orvane::gui {

namespace {

QToolButton* toolButton(const char* name, const char* text, const char* hint) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    return b;
}

QAction* menuAction(QMenu* menu, const char* name) {
    QAction* a = menu->menuAction();
    a->setObjectName(name);
    return a;
}

}  // namespace

SubtitleWindow::SubtitleWindow(MainWindow& main) : QMainWindow(&main, Qt::Window), main_(main) {
    setObjectName("Form3");

    buildMenus();

    auto* central = new QWidget;
    central->setObjectName("PanelSubtitles");
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(6, 4, 6, 6);
    buildToolGroup(v);

    ListBoxSubtitle = new QListWidget;
    ListBoxSubtitle->setObjectName("ListBoxSubtitle");
    ListBoxSubtitle->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ListBoxSubtitle->setUniformItemSizes(true);
    ListBoxSubtitle->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    v->addWidget(ListBoxSubtitle, 1);
    setCentralWidget(central);

    connectControls();

    resize(MainWindow::kDesignWidth, 300);
    documentChanged(main_.session().document());
}

void SubtitleWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    File1 = menuAction(file, "File1");
    Saveas1 = file->addAction("&Save As");
    Saveas1->setObjectName("Saveas1");
    Saveas1->setShortcut(QKeySequence::Save);
    OpenOrvaneFormat1 = file->addAction("&Open (Orvane Format)");
    OpenOrvaneFormat1->setObjectName("OpenOrvaneFormat1");
    Clear1 = file->addAction("&Clear");
    Clear1->setObjectName("Clear1");
    QMenu* corrections = menuBar()->addMenu(" &Corrections");
    Corrections1 = menuAction(corrections, "Corrections1");
    PostOCRCorrection1 = corrections->addAction("&Post OCR Spelling Correction");
    PostOCRCorrection1->setObjectName("PostOCRCorrection1");
    TimeCorrection1 = corrections->addAction("&Time Correction");
    TimeCorrection1->setObjectName("TimeCorrection1");
    QMenu* format = menuBar()->addMenu("&Output Format");
    OutputFormat1 = menuAction(format, "OutputFormat1");
    SetOutputFormat1 = format->addAction("Set &Output Format");
    SetOutputFormat1->setObjectName("SetOutputFormat1");
    Splitoutputfile1 = format->addAction("&Split Output File");
    Splitoutputfile1->setObjectName("Splitoutputfile1");
}

void SubtitleWindow::buildToolGroup(QVBoxLayout* v) {
    auto* top = new QHBoxLayout;
    top->addWidget(label("LabelSubTitleIndex", "SubTitle Index:"));
    LabelNbSubTitle = new QLabel("0");
    LabelNbSubTitle->setObjectName("LabelNbSubTitle");
    QFont bold = LabelNbSubTitle->font();
    bold.setBold(true);
    LabelNbSubTitle->setFont(bold);
    LabelNbSubTitle->setMinimumWidth(LabelNbSubTitle->fontMetrics().horizontalAdvance("000000"));
    top->addWidget(LabelNbSubTitle);
    top->addSpacing(8);
    CoolButtonSpellingCorrection = toolButton("CoolButtonSpellingCorrection", "Spelling",
                                              "Use to correct some wrong characters");
    CoolButtonTimeCorrection =
        toolButton("CoolButtonTimeCorrection", "Time", "Allow Timing / Speed Modifications");
    CoolButtonOutputFormat =
        toolButton("CoolButtonOutputFormat", "Format", "Choose Output Format (Dynamic conversion)");
    CoolButtonSplitText = toolButton("CoolButtonSplitText", "Split", "Split text file");
    CoolButtonSaveAs = toolButton("CoolButtonSaveAs", "Save As", "Save As");
    CoolButtonClearSub = toolButton("CoolButtonClearSub", "Clear", "Clear");
    for (QToolButton* b :
         {CoolButtonSpellingCorrection, CoolButtonTimeCorrection, CoolButtonOutputFormat,
          CoolButtonSplitText, CoolButtonSaveAs, CoolButtonClearSub})
        top->addWidget(b);
    top->addStretch(1);
    CheckBoxScrollDown = new QCheckBox("Scroll Down");
    CheckBoxScrollDown->setObjectName("CheckBoxScrollDown");
    CheckBoxScrollDown->setToolTip("Auto Scroll down to show the last subtitles ( a bit slower )");
    CheckBoxScrollDown->setChecked(true);
    top->addWidget(CheckBoxScrollDown);
    UpDown1 = new UpDown;
    UpDown1->setObjectName("UpDown1");
    UpDown1->setToolTip("Top/Bottom of the file");
    top->addWidget(UpDown1);
    v->addLayout(top);
}

void SubtitleWindow::connectControls() {
    connect(Saveas1, &QAction::triggered, this, &SubtitleWindow::Saveas1Click);
    connect(CoolButtonSaveAs, &QToolButton::clicked, this, &SubtitleWindow::Saveas1Click);
    connect(OpenOrvaneFormat1, &QAction::triggered, this, &SubtitleWindow::OpenOrvaneFormat1Click);
    connect(Clear1, &QAction::triggered, this, &SubtitleWindow::Clear1Click);
    connect(CoolButtonClearSub, &QToolButton::clicked, this, &SubtitleWindow::Clear1Click);
    connect(SetOutputFormat1, &QAction::triggered, this, &SubtitleWindow::SetOutputFormat1Click);
    connect(CoolButtonOutputFormat, &QToolButton::clicked, this,
            &SubtitleWindow::SetOutputFormat1Click);
    connect(TimeCorrection1, &QAction::triggered, this, &SubtitleWindow::TimeCorrection1Click);
    connect(CoolButtonTimeCorrection, &QToolButton::clicked, this,
            &SubtitleWindow::TimeCorrection1Click);
    connect(Splitoutputfile1, &QAction::triggered, this, &SubtitleWindow::Splitoutputfile1Click);
    connect(CoolButtonSplitText, &QToolButton::clicked, this,
            &SubtitleWindow::Splitoutputfile1Click);
    connect(PostOCRCorrection1, &QAction::triggered, this,
            &SubtitleWindow::PostOCRCorrection1Click);
    connect(CoolButtonSpellingCorrection, &QToolButton::clicked, this,
            &SubtitleWindow::PostOCRCorrection1Click);
    connect(UpDown1, &UpDown::pressed, this, &SubtitleWindow::UpDown1Click);
}

void SubtitleWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The main window's width and left edge, bottoms aligned.
    const QRect m = main_.frameGeometry();
    const int frameExtra = frameGeometry().height() - geometry().height();
    const int h = std::min(height(), std::max(150, m.height() - frameExtra));
    setGeometry(m.left() + (geometry().left() - frameGeometry().left()),
                m.bottom() + 1 - h - (geometry().top() - frameGeometry().top()) -
                    (frameGeometry().bottom() - geometry().bottom()),
                m.width() - (frameGeometry().width() - geometry().width()), h);
}

void SubtitleWindow::Saveas1Click() {
    main_.session().saveDocument();
}

void SubtitleWindow::OpenOrvaneFormat1Click() {
    main_.session().openOrvaneFile();
}

void SubtitleWindow::Clear1Click() {
    main_.session().clearDocument();
}

// The subtitle window's dialogs belong to it: opening one keeps this window
// on top of the main window instead of bringing the main window over it.
void SubtitleWindow::SetOutputFormat1Click() {
    belongTo(main_.outputFormatDialog(), this);
    main_.outputFormatDialog().run();
}

void SubtitleWindow::TimeCorrection1Click() {
    belongTo(main_.timeCorrectionDialog(), this);
    main_.timeCorrectionDialog().run();
}

void SubtitleWindow::Splitoutputfile1Click() {
    belongTo(main_.splitDialog(), this);
    main_.splitDialog().run();
}

void SubtitleWindow::PostOCRCorrection1Click() {
    belongTo(main_.postOcrDialog(), this);
    main_.postOcrDialog().run();
}

void SubtitleWindow::UpDown1Click(bool up) {
    const int n = ListBoxSubtitle->count();
    if (n == 0) return;
    ListBoxSubtitle->setCurrentRow(up ? 0 : n - 1);
}

void SubtitleWindow::documentChanged(const SubtitleDocument& doc) {
    const std::vector<std::string>& lines = doc.displayLines();
    // Renderings change the end of the list; only what differs is redone.
    size_t same = 0;
    const size_t common = std::min(lines.size(), shown_.size());
    while (same < common && lines[same] == shown_[same]) ++same;
    while (static_cast<size_t>(ListBoxSubtitle->count()) > same)
        delete ListBoxSubtitle->takeItem(ListBoxSubtitle->count() - 1);
    shown_.resize(same);
    QStringList added;
    for (size_t i = same; i < lines.size(); ++i) {
        added << toQt(lines[i]);
        shown_.push_back(lines[i]);
    }
    ListBoxSubtitle->addItems(added);
    LabelNbSubTitle->setText(QString::number(doc.shownIndex()));
    setWindowTitle(toQt(doc.caption()));
    if (doc.scrollRequested() && CheckBoxScrollDown->isChecked() && isVisible() &&
        ListBoxSubtitle->count() > 0) {
        ListBoxSubtitle->setCurrentRow(ListBoxSubtitle->count() - 1);
        ListBoxSubtitle->scrollToBottom();
    }
}

}  // namespace orvane::gui
