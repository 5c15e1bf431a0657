#include "gui/job_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ifo_reader.h"
#include "app/program_folder.h"
#include "app/session.h"
#include "app/vob_folder.h"
#include "common/io_error.h"
#include "gui/dialog_host.h"
#include "gui/numeric_edit.h"
#include "gui/qt_text.h"
#include "gui/qt_user_interface.h"
#include "gui/time_fields.h"
#include "gui/up_down.h"

#include "gui/widget_factory.h"

namespace orvane::gui {

JobDialog::JobDialog(DialogHost& host, Session& session)
    : QDialog(&host.hostWindow()), host_(host), session_(session) {
    setObjectName("Form6");
    setWindowTitle("What To Do ?");
    auto* v = new QVBoxLayout(this);
    v->setSpacing(8);

    buildStreamGroup(v);
    buildFilesGroup(v);
    buildMatrixGroup(v);
    buildActionGroup(v);
    buildTimeCodeGroup(v);
    buildButtonPanel(v);

    // Creation: the stream list with empty names.
    for (const std::string& item : streamListItems(session_.streamNames()))
        ComboBoxLanguage->addItem(toQt(item));
    ComboBoxLanguage->setCurrentIndex(0);

    connectControls();
    RadioGroupActionClick();
}

void JobDialog::buildStreamGroup(QVBoxLayout* v) {
    auto* streamRow = new QHBoxLayout;
    streamRow->addWidget(label("LabelLanguage", "Language Stream :"));
    ComboBoxLanguage = named(new QComboBox, "ComboBoxLanguage");
    ComboBoxLanguage->setMinimumContentsLength(18);
    streamRow->addWidget(ComboBoxLanguage, 1);
    ButtonOpenIfo =
        button("ButtonOpenIfo", "Open &IFO", "View available subtitle languages from IFO");
    streamRow->addWidget(ButtonOpenIfo);
    v->addLayout(streamRow);
    LabelForcedCount = named(new QLabel, "LabelForcedCount");
    v->addWidget(LabelForcedCount);
}

void JobDialog::buildFilesGroup(QVBoxLayout* v) {
    auto* files = named(new QGroupBox("Vob(s)"), "GroupBoxVobs");
    auto* fg = new QGridLayout(files);
    LabelVobPath = named(new QLabel, "LabelVobPath");
    LabelVobPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelVobPath->setWordWrap(true);
    ButtonOpenDir = button("ButtonOpenDir", "Open &Dir");
    fg->addWidget(LabelVobPath, 0, 0);
    fg->addWidget(ButtonOpenDir, 0, 1);
    CheckListBoxVob = named(new QListWidget, "CheckListBoxVob");
    CheckListBoxVob->setToolTip("Select Vob(s) from which you want to extract subtitles.");
    CheckListBoxVob->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    CheckListBoxVob->setMinimumHeight(120);
    CheckListBoxVob->setMinimumWidth(
        CheckListBoxVob->fontMetrics().horizontalAdvance(QString(34, 'W')) + 30);
    CheckListBoxVob->installEventFilter(this);
    fg->addWidget(CheckListBoxVob, 1, 0);
    UpDownFilePose = named(new UpDown, "UpDownFilePose");
    UpDownFilePose->setToolTip("Change file position ( You can also use [Ctrl] + Up/Down keys )");
    fg->addWidget(UpDownFilePose, 1, 1, Qt::AlignTop | Qt::AlignHCenter);
    auto* note = new QLabel("!! Start with the first 1Gb VOB and use the Last Time Code !!");
    note->setObjectName("LabelNote");
    QFont bold = note->font();
    bold.setBold(true);
    note->setFont(bold);
    fg->addWidget(note, 2, 0, 1, 2, Qt::AlignHCenter);
    fg->setColumnStretch(0, 1);
    v->addWidget(files, 1);
}

void JobDialog::buildMatrixGroup(QVBoxLayout* v) {
    auto* matrixRow = new QHBoxLayout;
    matrixRow->addWidget(label("LabelCharMatrixFile", "Characters Matrix :"));
    EditCharMatrixFile = named(new QLineEdit("New File"), "EditCharMatrixFile");
    EditCharMatrixFile->setReadOnly(true);
    matrixRow->addWidget(EditCharMatrixFile, 1);
    ButtonOpenCharMatrixFile =
        button("ButtonOpenCharMatrixFile", "- - -", "Open a Characters Matrix File");
    ButtonNewMatrix = button("ButtonNewMatrix", "X", "New Characters Matrix File");
    for (QPushButton* b : {ButtonOpenCharMatrixFile, ButtonNewMatrix})
        b->setMaximumWidth(b->fontMetrics().horizontalAdvance("- - -") + 24);
    matrixRow->addWidget(ButtonOpenCharMatrixFile);
    matrixRow->addWidget(ButtonNewMatrix);
    v->addLayout(matrixRow);
}

void JobDialog::buildActionGroup(QVBoxLayout* v) {
    auto* actionRow = new QHBoxLayout;
    RadioGroupAction = named(new QGroupBox("Action"), "RadioGroupAction");
    auto* ag = new QVBoxLayout(RadioGroupAction);
    actions_ = new QButtonGroup(this);
    const char* items[] = {"SubPictures to Text via OCR", "Save SubPictures As BMP",
                           "Save SubPictures As SUP Files", "Only Show SubPictures",
                           "Save SubPictures As VobSub (.idx + .sub)"};
    for (int i = 0; i < kActionCount; ++i) {
        RadioAction[i] = new QRadioButton(items[i]);
        RadioAction[i]->setObjectName(QString("RadioGroupAction%1").arg(i));
        actions_->addButton(RadioAction[i], i);
        ag->addWidget(RadioAction[i]);
    }
    RadioAction[0]->setChecked(true);
    CheckBoxPictTiming = named(new QCheckBox("+ TC && Res."), "CheckBoxPictTiming");
    CheckBoxPictTiming->setToolTip("Get the timing and image(s) size(s) & position(s)");
    ag->addWidget(CheckBoxPictTiming);
    CheckBoxForcedOnly = named(new QCheckBox("Forced subtitles only"), "CheckBoxForcedOnly");
    CheckBoxForcedOnly->setToolTip(
        "Keep only the subtitles the disc shows even when subtitles are off");
    ag->addWidget(CheckBoxForcedOnly);
    actionRow->addWidget(RadioGroupAction, 1);
    auto* textCol = new QVBoxLayout;
    ButtonClearText =
        button("ButtonClearText", "&Clear Text File", "Clear the Subtitles Text File");
    Button1 = button("Button1", "&View Text File", "Show the Subtitles Text File");
    textCol->addWidget(ButtonClearText);
    textCol->addWidget(Button1);
    textCol->addStretch(1);
    actionRow->addLayout(textCol);
    v->addLayout(actionRow);
}

void JobDialog::buildTimeCodeGroup(QVBoxLayout* v) {
    auto* time = new QGroupBox("Last TimeCode :");
    time->setObjectName("GroupBoxTimeCode");
    auto* tg = new QGridLayout(time);
    auto* tr = new QHBoxLayout;
    const TimeFields fields = TimeFields::create("", tr);
    Word_uHour = fields.hour;
    Word_uMin = fields.min;
    Word_uSec = fields.sec;
    Word_uMSec = fields.msec;
    for (WordEdit* edit : fields)
        connect(edit, &NumericEdit::valueEdited, this, &JobDialog::timeFieldEdited);
    tr->addSpacing(8);
    ButtonResetTC = button("ButtonResetTC", "&Reset",
                           "Reset if you start working on a new DVD But keep this Code if this is "
                           "the next Vob of a DVD !");
    tr->addWidget(ButtonResetTC);
    tr->addStretch(1);
    tg->addLayout(tr, 0, 0);
    CheckBoxAvoidTimeRestart =
        named(new QCheckBox("Enable this box if time restart from 0 in the middle of the DVD"),
              "CheckBoxAvoidTimeRestart");
    tg->addWidget(CheckBoxAvoidTimeRestart, 1, 0);
    v->addWidget(time);
}

void JobDialog::buildButtonPanel(QVBoxLayout* v) {
    // The bottom panel; pressing on it moves the dialog.
    Panel5 = named(new QFrame, "Panel5");
    Panel5->setFrameShape(QFrame::StyledPanel);
    Panel5->setCursor(Qt::SizeAllCursor);
    Panel5->installEventFilter(this);
    auto* bottom = new QHBoxLayout(Panel5);
    bottom->addStretch(1);
    BitBtnStart = defaultButton("BitBtnStart", "&Start");
    BitBtnCancel = button("BitBtnCancel", "&Cancel");
    for (QPushButton* b : {BitBtnStart, BitBtnCancel}) {
        b->setCursor(Qt::ArrowCursor);
        b->setMinimumWidth(90);
        bottom->addWidget(b);
    }
    v->addWidget(Panel5);
}

void JobDialog::connectControls() {
    connect(ButtonOpenDir, &QPushButton::clicked, this, &JobDialog::ButtonOpenDirClick);
    connect(ButtonOpenIfo, &QPushButton::clicked, this, &JobDialog::ButtonOpenIfoClick);
    connect(UpDownFilePose, &UpDown::pressed, this, &JobDialog::UpDownFilePoseChangingEx);
    connect(actions_, &QButtonGroup::idClicked, this, &JobDialog::RadioGroupActionClick);
    connect(BitBtnStart, &QPushButton::clicked, this, &JobDialog::BitBtnStartClick);
    connect(BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonResetTC, &QPushButton::clicked, this, &JobDialog::ButtonResetTCClick);
    connect(ButtonClearText, &QPushButton::clicked, this, &JobDialog::ButtonClearTextClick);
    connect(Button1, &QPushButton::clicked, this, &JobDialog::Button1Click);
    connect(ButtonOpenCharMatrixFile, &QPushButton::clicked, this,
            &JobDialog::ButtonOpenCharMatrixFileClick);
    connect(ButtonNewMatrix, &QPushButton::clicked, this, &JobDialog::ButtonNewMatrixClick);
    connect(ComboBoxLanguage, &QComboBox::currentIndexChanged, this,
            &JobDialog::refreshForcedCount);
}

void JobDialog::refreshForcedCount() {
    const Session::StreamUnitCounts& c =
        session_.unitCounts(std::max(0, ComboBoxLanguage->currentIndex()));
    LabelForcedCount->setText(
        c.counted ? QString("Forced subtitles : %1 of %2").arg(c.forced).arg(c.units) : QString());
}

void JobDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void JobDialog::FormShow() {
    // The time line goes on from where the last job ended: the last time
    // code in the fields, and the next job re-based to it.
    showTimeCode(session_.carryTimeLine());
    refreshMatrixName();
    refreshForcedCount();
    RadioGroupActionClick();
}

void JobDialog::showTimeCode(const TimeCode& t) {
    Word_uHour->setValeur(t.hours);
    Word_uMin->setValeur(t.minutes);
    Word_uSec->setValeur(t.seconds);
    Word_uMSec->setValeur(t.milliseconds);
}

void JobDialog::timeFieldEdited() {
    TimeCode t;
    t.hours = static_cast<uint8_t>(Word_uHour->valeur());
    t.minutes = static_cast<uint8_t>(Word_uMin->valeur());
    t.seconds = static_cast<uint8_t>(Word_uSec->valeur());
    t.milliseconds = Word_uMSec->valeur();
    session_.setStartTime(t);
}

void JobDialog::refreshMatrixName() {
    const std::string& name = session_.matrix().fileName();
    EditCharMatrixFile->setText(name.empty() ? QString("New File") : toQt(fileNameOf(name)));
}

void JobDialog::listDirectory(const std::string& folder) {
    LabelVobPath->setText(toQt(folder));
    CheckListBoxVob->clear();
    paths_.clear();
    std::vector<VobListEntry> entries;
    try {
        entries = listVobFolder(folder);
    } catch (const IoError& e) {
        host_.ui().messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
        return;
    }
    for (const VobListEntry& e : entries) {
        auto* item = new QListWidgetItem(toQt(e.displayLine), CheckListBoxVob);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        paths_.push_back(e.path);
    }
}

void JobDialog::ButtonOpenDirClick() {
    const std::string path = host_.ui().openFile(windowTitle(), kVobFilter, 0);
    if (!path.empty()) listDirectory(folderOf(path));
}

void JobDialog::ButtonOpenIfoClick() {
    const std::string path = host_.ui().openFile(windowTitle(), kVobFilter, 1);
    if (path.empty()) return;
    loadStreamNames(path);
    listDirectory(folderOf(path));
    // A VobSub index is a job file too: it is checked, ready for Start.
    if (isVobSubIndex(path)) {
        for (size_t i = 0; i < paths_.size(); ++i)
            if (paths_[i] == path)
                CheckListBoxVob->item(static_cast<int>(i))->setCheckState(Qt::Checked);
    }
}

void JobDialog::loadStreamNames(const std::string& path) {
    try {
        const std::vector<std::string> items = session_.openIfo(path);
        const QSignalBlocker block(ComboBoxLanguage);
        ComboBoxLanguage->clear();
        for (const std::string& item : items) ComboBoxLanguage->addItem(toQt(item));
        ComboBoxLanguage->setCurrentIndex(0);
    } catch (const IoError& e) {
        // A short or unreadable IFO leaves the stream list as it was.
        host_.ui().messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
    }
}

void JobDialog::openFolder(const std::string& folder) {
    const std::string ifo = titleSetIfo(folder);
    if (!ifo.empty()) loadStreamNames(ifo);
    listDirectory(folder);
    // The VOBs of the title set with the most data are checked, ready for
    // Start.
    const std::vector<std::string> vobs = titleSetVobs(folder);
    for (size_t i = 0; i < paths_.size(); ++i)
        if (std::find(vobs.begin(), vobs.end(), paths_[i]) != vobs.end())
            CheckListBoxVob->item(static_cast<int>(i))->setCheckState(Qt::Checked);
}

void JobDialog::openFiles(const std::vector<std::string>& files) {
    if (files.empty()) return;
    const std::string dir = folderOf(files.front());
    const std::string ifo = titleSetIfo(dir);
    if (!ifo.empty()) loadStreamNames(ifo);
    listDirectory(dir);
    for (size_t i = 0; i < paths_.size(); ++i) {
        const bool dropped = std::find(files.begin(), files.end(), paths_[i]) != files.end();
        CheckListBoxVob->item(static_cast<int>(i))
            ->setCheckState(dropped ? Qt::Checked : Qt::Unchecked);
    }
}

std::string JobDialog::folder() const {
    return fromQt(LabelVobPath->text());
}

void JobDialog::selectStream(int index) {
    if (index >= 0 && index < ComboBoxLanguage->count()) ComboBoxLanguage->setCurrentIndex(index);
}

void JobDialog::setAction(int index) {
    // A stored value outside the actions selects the first.
    RadioAction[index >= 0 && index < kActionCount ? index : 0]->setChecked(true);
    RadioGroupActionClick();
}

void JobDialog::moveFile(int from, int to) {
    const int n = CheckListBoxVob->count();
    if (from < 0 || from >= n || to < 0 || to >= n) return;
    QListWidgetItem* item = CheckListBoxVob->takeItem(from);
    CheckListBoxVob->insertItem(to, item);
    std::swap(paths_[static_cast<size_t>(from)], paths_[static_cast<size_t>(to)]);
    CheckListBoxVob->setCurrentRow(to);
}

void JobDialog::UpDownFilePoseChangingEx(bool up) {
    const int row = CheckListBoxVob->currentRow();
    if (row < 0) return;
    moveFile(row, up ? row - 1 : row + 1);
}

bool JobDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CheckListBoxVob && event->type() == QEvent::KeyPress) {
        // CheckListBoxVobKeyDown: every key pressed with Ctrl is consumed.
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->modifiers() & Qt::ControlModifier) {
            if (ke->key() == Qt::Key_Up) UpDownFilePoseChangingEx(true);
            if (ke->key() == Qt::Key_Down) UpDownFilePoseChangingEx(false);
            return true;
        }
    }
    const bool mouse = event->type() == QEvent::MouseButtonPress ||
                       event->type() == QEvent::MouseMove ||
                       event->type() == QEvent::MouseButtonRelease;
    if (watched == Panel5 && mouse) {
        // Panel5MouseDown: the dialog follows the pointer.
        auto* me = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonPress && me->button() == Qt::LeftButton) {
            dragging_ = true;
            dragOffset_ = me->globalPosition().toPoint() - frameGeometry().topLeft();
            return true;
        }
        if (event->type() == QEvent::MouseMove && dragging_) {
            move(me->globalPosition().toPoint() - dragOffset_);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) dragging_ = false;
    }
    return QDialog::eventFilter(watched, event);
}

int JobDialog::actionIndex() const {
    return std::max(0, actions_->checkedId());
}

void JobDialog::RadioGroupActionClick() {
    const int a = actionIndex();
    CheckBoxPictTiming->setEnabled(a == 1 || a == 2);
}

JobRequest JobDialog::request() const {
    JobRequest r;
    for (int i = 0; i < CheckListBoxVob->count(); ++i)
        if (CheckListBoxVob->item(i)->checkState() == Qt::Checked)
            r.files.push_back(paths_[static_cast<size_t>(i)]);
    r.streamIndex = std::max(0, ComboBoxLanguage->currentIndex());
    r.action = static_cast<ActionMode>(actionIndex() + 1);
    r.timing = CheckBoxPictTiming->isChecked();
    r.avoidTimeRestart = CheckBoxAvoidTimeRestart->isChecked();
    r.forcedOnly = CheckBoxForcedOnly->isChecked();
    return r;
}

void JobDialog::BitBtnStartClick() {
    // The core asks the questions (no file, append, save names, split) and
    // starts the job; the dialog closes when it did.
    if (session_.startButton(request())) accept();
}

void JobDialog::ButtonResetTCClick() {
    session_.resetTimeCode();
    showTimeCode(TimeCode{});
}

void JobDialog::ButtonClearTextClick() {
    session_.clearDocument();
}

void JobDialog::Button1Click() {
    reject();
    host_.subtitleView().showNormal();
    host_.subtitleView().raise();
}

void JobDialog::ButtonOpenCharMatrixFileClick() {
    host_.openMatrixCommand();
    refreshMatrixName();
}

void JobDialog::ButtonNewMatrixClick() {
    host_.newMatrixCommand();
    refreshMatrixName();
}

}  // namespace orvane::gui
