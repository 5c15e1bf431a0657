#include "gui/split_dialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/session.h"
#include "gui/numeric_edit.h"
#include "gui/qt_text.h"
#include "subtitles/split_range.h"

#include "gui/widget_factory.h"

namespace orvane::gui {

namespace {

// Rows of the bar panel.
constexpr int kTopRow = 0;
constexpr int kRowHeight = 18;
constexpr int kBarTop = kRowHeight + 4;
constexpr int kBarHeight = 16;
constexpr int kBottomRow = kBarTop + kBarHeight + 4;

}  // namespace

SplitDialog::SplitDialog(QWidget& parent, Session& session)
    : QDialog(&parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      session_(session) {
    setObjectName("Form17");
    setWindowTitle("Split Text File");
    auto* v = new QVBoxLayout(this);

    buildHeaderGroup(v);
    buildTimesGroup(v);
    buildBarGroup(v);
    buildExampleGroup(v);
    buildButtons(v);
    connectControls();
    CheckBoxSplitClick();
}

void SplitDialog::buildHeaderGroup(QVBoxLayout* v) {
    auto* warning = new QLabel(
        "SAVE THIS PART OF THE FILE ( THE REST WILL NOT BE DELETED UNTIL YOU QUIT OR OPEN ANOTHER "
        "FILE )");
    warning->setObjectName("LabelWarning");
    warning->setWordWrap(true);
    QFont bold = warning->font();
    bold.setBold(true);
    warning->setFont(bold);
    v->addWidget(warning);

    CheckBoxSplit = named(new QCheckBox("Split Output File :"), "CheckBoxSplit");
    v->addWidget(CheckBoxSplit);
}

// One end of the range: its caption, its four fields and its button, on a
// panel named after it.
QFrame* SplitDialog::timeRow(const QString& end, const char* caption, const QString& fieldSuffix,
                             QLabel*& captionLabel, TimeFields& fields, QPushButton*& action,
                             const char* actionName, const char* actionText) {
    auto* panel = named(new QFrame, "Panel" + end + "Split");
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    captionLabel = label("Label" + end + "At", caption);
    row->addWidget(captionLabel);
    fields = TimeFields::create(fieldSuffix, row);
    action = button(actionName, actionText);
    row->addWidget(action);
    row->addStretch(1);
    return panel;
}

void SplitDialog::buildTimesGroup(QVBoxLayout* v) {
    auto* times = new QHBoxLayout;
    auto* panels = new QVBoxLayout;
    QLabel* startCaption = nullptr;
    QLabel* stopCaption = nullptr;
    PanelStartSplit = timeRow("Start", "Start at :", "1", startCaption, start,
                              ButtonResetStartSplit, "ButtonResetStartSplit", "&Reset");
    PanelStopSplit = timeRow("Stop", "Stop at :", "2", stopCaption, stop, ButtonEndOfFile,
                             "ButtonEndOfFile", "&Last Sub.");
    // The two captions share one width, so the fields line up.
    const int captionWidth =
        std::max(startCaption->sizeHint().width(), stopCaption->sizeHint().width());
    startCaption->setFixedWidth(captionWidth);
    stopCaption->setFixedWidth(captionWidth);
    const int buttonWidth =
        std::max(ButtonResetStartSplit->sizeHint().width(), ButtonEndOfFile->sizeHint().width());
    for (QPushButton* b : {ButtonResetStartSplit, ButtonEndOfFile}) b->setFixedWidth(buttonWidth);
    panels->addWidget(PanelStartSplit);
    panels->addWidget(PanelStopSplit);
    times->addLayout(panels, 1);
    // Copies the stop up into the start: the next part begins where this
    // one ends.
    SpeedButtonCopyStopToStart = named(new QToolButton, "SpeedButtonCopyStopToStart");
    SpeedButtonCopyStopToStart->setArrowType(Qt::UpArrow);
    SpeedButtonCopyStopToStart->setAutoRaise(true);
    SpeedButtonCopyStopToStart->setMinimumSize(26, 44);
    times->addWidget(SpeedButtonCopyStopToStart, 0, Qt::AlignVCenter);
    v->addLayout(times);
}

void SplitDialog::buildBarGroup(QVBoxLayout* v) {
    // The bar: placed by hand, its geometry follows the times.
    PanelBar = named(new QWidget, "PanelBar");
    PanelBar->setMinimumHeight(kBottomRow + kRowHeight);
    PanelBar->setMinimumWidth(420);
    ShapeFullFile = named(new QFrame(PanelBar), "ShapeFullFile");
    ShapeFullFile->setToolTip("Full file");
    ShapeFullFile->setFrameShape(QFrame::Box);
    ShapeFullFile->setStyleSheet(
        "QFrame#ShapeFullFile { background: white; border: 1px solid gray; }");
    ShapeSplitFill = named(new QFrame(PanelBar), "ShapeSplitFill");
    ShapeSplitFill->setToolTip("Part of the file that will be saved");
    ShapeSplitFill->setStyleSheet("QFrame#ShapeSplitFill { background: #3070c0; }");
    LabelBarStart = named(new QLabel("|", PanelBar), "LabelBarStart");
    LabelBarStop = named(new QLabel("|", PanelBar), "LabelBarStop");
    for (QLabel* l : {LabelBarStart, LabelBarStop}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
    }
    LabelBeginOfFile = named(new QLabel("0", PanelBar), "LabelBeginOfFile");
    LabelEndOfFile = named(new QLabel("00:00:00,000", PanelBar), "LabelEndOfFile");
    LabelEndOfFile->setToolTip("Time of the last Subtitle of the Full File");
    LabelStartSplit = named(new QLabel("00:00:00,000", PanelBar), "LabelStartSplit");
    LabelStartSplit->setToolTip("Start Time of the Splitted File");
    LabelStopSplit = named(new QLabel("00:00:00,000", PanelBar), "LabelStopSplit");
    LabelStopSplit->setToolTip("Stop Time of the Splitted File");
    PanelBar->installEventFilter(this);
    v->addWidget(PanelBar);
}

void SplitDialog::buildExampleGroup(QVBoxLayout* v) {
    // One label per line: a language file holds no line breaks.
    auto* example = new QVBoxLayout;
    example->setSpacing(0);
    example->addWidget(label("LabelExample", "Example for 2 CDs :"));
    example->addWidget(
        label("LabelExample1",
              "1. Start at 00:00:00,000 and stop at the end of the first CD, save as file 1."));
    example->addWidget(label(
        "LabelExample2",
        "2. Start at the end of the first CD and stop at the last subtitle, save as file 2."));
    v->addLayout(example);
}

void SplitDialog::buildButtons(QVBoxLayout* v) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtn1 = defaultButton("BitBtn1", "OK");
    BitBtn1->setMinimumWidth(90);
    buttons->addWidget(BitBtn1);
    v->addLayout(buttons);
}

void SplitDialog::connectControls() {
    connect(CheckBoxSplit, &QCheckBox::clicked, this, &SplitDialog::CheckBoxSplitClick);
    for (const TimeFields* f : {&start, &stop})
        for (WordEdit* e : *f)
            connect(e, &QLineEdit::textChanged, this, &SplitDialog::Word_uHour1Change);
    connect(ButtonResetStartSplit, &QPushButton::clicked, this,
            &SplitDialog::ButtonResetStartSplitClick);
    connect(ButtonEndOfFile, &QPushButton::clicked, this, &SplitDialog::ButtonEndOfFileClick);
    connect(SpeedButtonCopyStopToStart, &QToolButton::clicked, this,
            &SplitDialog::SpeedButtonCopyStopToStartClick);
    connect(BitBtn1, &QPushButton::clicked, this, &SplitDialog::BitBtn1Click);
}

void SplitDialog::run() {
    exec();
}

void SplitDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void SplitDialog::FormShow() {
    const SubtitleDocument& doc = session_.document();
    endOfFile_ = splitEndOfFile(doc.entries());
    const SplitRange& range = doc.splitRange();
    CheckBoxSplit->setChecked(range.enabled);
    start.setValue(range.start);
    stop.setValue(range.stop);
    CheckBoxSplitClick();
}

void SplitDialog::CheckBoxSplitClick() {
    const bool on = CheckBoxSplit->isChecked();
    PanelStartSplit->setEnabled(on);
    PanelStopSplit->setEnabled(on);
    SpeedButtonCopyStopToStart->setEnabled(on);
    redrawBar();
}

void SplitDialog::Word_uHour1Change() {
    redrawBar();
}

void SplitDialog::redrawBar() {
    if (CheckBoxSplit->isChecked())
        drawBar(start.value(), stop.value());
    else
        drawBar(TimeCode{}, endOfFile_);
}

void SplitDialog::drawBar(const TimeCode& a, const TimeCode& b) {
    LabelEndOfFile->setText(toQt(formatTimeCode(endOfFile_)));
    const int beginWidth = LabelBeginOfFile->sizeHint().width();
    const int endWidth = LabelEndOfFile->sizeHint().width();
    const int fullLeft = beginWidth + 6;
    const int fullWidth = std::max(10, PanelBar->width() - fullLeft - endWidth - 6);
    ShapeFullFile->setGeometry(fullLeft, kBarTop, fullWidth, kBarHeight);
    LabelBeginOfFile->setGeometry(0, kBarTop, beginWidth, kBarHeight);
    LabelEndOfFile->setGeometry(fullLeft + fullWidth + 6, kBarTop, endWidth, kBarHeight);

    const SplitBar bar = splitBar(a, b, endOfFile_, fullLeft, fullWidth);
    const int left = static_cast<int>(bar.fillLeft);
    const int right = static_cast<int>(bar.fillLeft + bar.fillWidth);
    ShapeSplitFill->setGeometry(left, kBarTop + 1, static_cast<int>(bar.fillWidth), kBarHeight - 2);
    const int markWidth = LabelBarStart->sizeHint().width();
    LabelBarStart->setGeometry(static_cast<int>(centredLabelLeft(left, markWidth)), kBarTop - 3,
                               markWidth, kBarHeight + 6);
    LabelBarStop->setGeometry(static_cast<int>(centredLabelLeft(right, markWidth)), kBarTop - 3,
                              markWidth, kBarHeight + 6);
    LabelBarStart->raise();
    LabelBarStop->raise();

    // The start time above the bar, the stop time below, each centred on
    // its edge and kept inside the panel.
    LabelStartSplit->setText(toQt(bar.startText));
    LabelStopSplit->setText(toQt(bar.stopText));
    const auto place = [this](QLabel* label, int edge, int top) {
        const int w = label->sizeHint().width();
        const int x = static_cast<int>(centredLabelLeft(edge, w));
        label->setGeometry(std::clamp(x, 0, std::max(0, PanelBar->width() - w)), top, w,
                           kRowHeight);
    };
    place(LabelStartSplit, left, kTopRow);
    place(LabelStopSplit, right, kBottomRow);
}

bool SplitDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PanelBar && event->type() == QEvent::Resize) redrawBar();
    return QDialog::eventFilter(watched, event);
}

void SplitDialog::ButtonResetStartSplitClick() {
    start.reset();
}

void SplitDialog::ButtonEndOfFileClick() {
    stop.setValue(endOfFile_);
}

void SplitDialog::SpeedButtonCopyStopToStartClick() {
    start.setValue(stop.value());
}

void SplitDialog::BitBtn1Click() {
    // Message 37 keeps the dialog open when the stop is before the start.
    if (!session_.applySplitRange(CheckBoxSplit->isChecked(), start.value(), stop.value())) return;
    accept();
}

}  // namespace orvane::gui
