#include "gui/main_window.h"

#include "engine/tesseract_engine.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/configuration.h"
#include "app/program_folder.h"
#include "common/io_error.h"
#include "gui/about_dialog.h"
#include "gui/bitmap_adjustment_dialog.h"
#include "gui/dialog_placement.h"
#include "gui/font_colour_dialog.h"
#include "gui/job_dialog.h"
#include "gui/language_binding.h"
#include "gui/matrix_editor_dialog.h"
#include "gui/new_character_dialog.h"
#include "gui/ocr_setup_dialog.h"
#include "gui/output_format_dialog.h"
#include "gui/post_ocr_dialog.h"
#include "gui/progression_controller.h"
#include "gui/qt_text.h"
#include "gui/split_dialog.h"
#include "gui/subtitle_window.h"
#include "gui/time_correction_dialog.h"
#include "gui/up_down.h"

#include "gui/widget_factory.h"

namespace orvane::gui {

namespace {

QLabel* valueLabel(const char* name, const QString& text, int minChars = 0) {
    auto* l = named(new QLabel(text), name);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    if (minChars > 0)
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QString(minChars, '0')));
    return l;
}

QLabel* caption(const QString& name, const QString& text) {
    auto* l = label(name, text);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui_(*this) {
    FormCreate();
    // The other windows, in the program's order of creation.
    Session& s = *session_;
    newCharacterDialog_ = new NewCharacterDialog(*this, s);
    subtitleWindow_ = new SubtitleWindow(*this);
    ocrSetupDialog_ = new OcrSetupDialog(*this, s, configPath_);
    matrixEditorDialog_ = new MatrixEditorDialog(*this, s);
    jobDialog_ = new JobDialog(*this, s);
    fontColourDialog_ = new FontColourDialog(*this, s);
    postOcrDialog_ = new PostOcrDialog(*this, s);
    progressionController_ = new ProgressionController(*this, s);
    aboutDialog_ = new AboutDialog(this);
    outputFormatDialog_ = new OutputFormatDialog(*this, s);
    splitDialog_ = new SplitDialog(*this, s);
    bitmapAdjustmentDialog_ = new BitmapAdjustmentDialog(*this, s);
    timeCorrectionDialog_ = new TimeCorrectionDialog(*this, s);
    // Every dialog of the program opens wholly on its parent's screen.
    qApp->installEventFilter(new ScreenFitter(this));
}

MainWindow::~MainWindow() = default;

void MainWindow::FormCreate() {
    setObjectName("Form1");
    setWindowTitle(QString::fromLatin1(Session::kCaption));
    session_ = std::make_unique<Session>(ui_);
    session_->setTextEngineFactory(tesseractEngineFactory());

    buildMenus();
    auto* central = new QWidget(this);
    central->setObjectName("PanelMain");
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(6, 4, 6, 6);
    v->setSpacing(4);

    v->addWidget(buildToolBar());
    v->addWidget(buildStatusPanel());
    auto* previewRow = new QHBoxLayout;
    previewRow->setSpacing(6);
    previewRow->addWidget(buildPreview(), 1);
    PanelPreviewCfg = buildPreviewPanel();
    previewRow->addWidget(PanelPreviewCfg, 0, Qt::AlignTop);
    v->addLayout(previewRow, 1);
    setCentralWidget(central);
    installDrag(central);
    installDrag(PanelPreviewCfg);
    connectToolBar();
    startTimers();
    setAcceptDrops(true);

    // The design size, shrunk to a smaller screen.
    resize(kDesignWidth, kDesignHeight);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        resize(std::min(kDesignWidth, avail.width()), std::min(kDesignHeight, avail.height()));
    }
    ui_.chapters("0");
}

QFrame* MainWindow::buildToolBar() {
    auto* tools = named(new QFrame, "PanelTools");
    tools->setFrameShape(QFrame::StyledPanel);
    auto* th = new QHBoxLayout(tools);
    th->setContentsMargins(4, 2, 4, 2);
    CoolButtonOpenVob = named(new QToolButton, "CoolButtonOpenVob");
    CoolButtonOpenVob->setText("Open Vob(s)");
    CoolButtonOpenVob->setToolTip("Open Decrypted Vob(s)");
    CoolButtonShowSubtitleText = named(new QToolButton, "CoolButtonShowSubtitleText");
    CoolButtonShowSubtitleText->setText("Subtitles");
    CoolButtonShowSubtitleText->setToolTip("Show/Hide subtitles text window");
    ButtonPreviewOption = named(new QToolButton, "ButtonPreviewOption");
    ButtonPreviewOption->setText("Display");
    ButtonPreviewOption->setToolTip("Preview Options");
    ButtonPreviewOption->setCheckable(true);
    for (QToolButton* b : {CoolButtonOpenVob, CoolButtonShowSubtitleText, ButtonPreviewOption}) {
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(true);
        th->addWidget(b);
    }
    th->addSpacing(12);
    ButtonPause = button("ButtonPause", "");
    setPauseCaption(QString::fromLatin1(kPauseCaption));
    ButtonPause->setToolTip("Pause / Continue Vob scanning");
    ButtonPause->setEnabled(false);
    ButtonPause->setMinimumWidth(ButtonPause->fontMetrics().horizontalAdvance("Continue >") + 24);
    th->addWidget(ButtonPause);
    CheckBoxShowSubPict = named(new QCheckBox("Show Pict."), "CheckBoxShowSubPict");
    CheckBoxShowSubPict->setChecked(true);
    th->addWidget(CheckBoxShowSubPict);
    th->addStretch(1);
    // "Save Lang" writes the template language file; it is not shown.
    Button1 = button("Button1", "Save Lang");
    Button1->hide();
    th->addWidget(Button1);
    LabelMatrix = valueLabel("LabelMatrix", "New File");
    LabelMatrix->setToolTip("Characters Matrix in use");
    th->addWidget(label("LabelMatrixCaption", "Matrix :"));
    th->addWidget(LabelMatrix);
    installDrag(tools);
    return tools;
}

void MainWindow::connectToolBar() {
    connect(CoolButtonOpenVob, &QToolButton::clicked, this, &MainWindow::OpenVob1Click);
    connect(CoolButtonShowSubtitleText, &QToolButton::clicked, this,
            &MainWindow::CoolButtonShowSubtitleTextClick);
    connect(ButtonPreviewOption, &QToolButton::clicked, this,
            &MainWindow::ButtonPreviewOptionClick);
    connect(ButtonPause, &QPushButton::clicked, this, &MainWindow::ButtonPauseClick);
    connect(Button1, &QPushButton::clicked, this, &MainWindow::Button1Click);
    connect(CheckBoxShowSubPict, &QCheckBox::toggled, this,
            [this](bool on) { session_->flags().showSubPicture = on; });
}

void MainWindow::startTimers() {
    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    Timer1->start();
    TimerElapsed = named(new QTimer(this), "TimerElapsed");
    TimerElapsed->setInterval(1000);
    connect(TimerElapsed, &QTimer::timeout, this, &MainWindow::TimerElapsedTimer);
    TimerElapsed->start();
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    QMenu* file = bar->addMenu("&File");
    File1 = file->menuAction();
    File1->setObjectName("File1");
    OpenVob1 = named(file->addAction("&Open Vob(s)"), "OpenVob1");
    OpenVob1->setShortcut(QKeySequence::Open);
    SaveSubtitles1 = named(file->addAction("&Save Subtitles"), "SaveSubtitles1");
    SaveSubtitles1->setShortcut(QKeySequence::Save);
    file->addSeparator();
    Quit1 = named(file->addAction("&Quit"), "Quit1");

    QMenu* matrix = bar->addMenu("&Characters Matrix");
    CharacterMatrix1 = matrix->menuAction();
    CharacterMatrix1->setObjectName("CharacterMatrix1");
    NewCharaterMatrix1 = named(matrix->addAction("&New Charaters Matrix"), "NewCharaterMatrix1");
    OpenCharacterMatrix1 =
        named(matrix->addAction("&Open Characters Matrix File"), "OpenCharacterMatrix1");
    SaveCharacterMatrix1 =
        named(matrix->addAction("&Save Characters Matrix File"), "SaveCharacterMatrix1");
    SaveCharacterMatrixAs1 =
        named(matrix->addAction("Save Characters Matrix File &As"), "SaveCharacterMatrixAs1");
    matrix->addSeparator();
    EditCharMatrix1 = named(matrix->addAction("&Edit/View Characters Matrix"), "EditCharMatrix1");
    OCRAdvancedSetup1 = named(matrix->addAction("&OCR Advanced Setup"), "OCRAdvancedSetup1");

    // The language files fill this menu at the first showing.
    QMenu* lang = bar->addMenu("GUI &Language");
    LanguageMenu = lang;
    GUILanguage1 = lang->menuAction();
    GUILanguage1->setObjectName("GUILanguage1");

    About1 = named(bar->addAction("&About"), "About1");
    About1->setShortcut(QKeySequence(Qt::Key_F1));
    // An action of the menu bar alone is not reached by its shortcut.
    addAction(About1);

    connect(OpenVob1, &QAction::triggered, this, &MainWindow::OpenVob1Click);
    connect(Quit1, &QAction::triggered, this, &MainWindow::Quit1Click);
    connect(SaveSubtitles1, &QAction::triggered, this, &MainWindow::SaveSubtitles1Click);
    connect(NewCharaterMatrix1, &QAction::triggered, this, &MainWindow::NewCharaterMatrix1Click);
    connect(OpenCharacterMatrix1, &QAction::triggered, this,
            &MainWindow::OpenCharacterMatrix1Click);
    connect(SaveCharacterMatrix1, &QAction::triggered, this,
            &MainWindow::SaveCharacterMatrix1Click);
    connect(SaveCharacterMatrixAs1, &QAction::triggered, this,
            &MainWindow::SaveCharacterMatrixAs1Click);
    connect(EditCharMatrix1, &QAction::triggered, this, &MainWindow::EditCharMatrix1Click);
    connect(OCRAdvancedSetup1, &QAction::triggered, this, &MainWindow::OCRAdvancedSetup1Click);
    connect(About1, &QAction::triggered, this, &MainWindow::About1Click);
}

QWidget* MainWindow::buildStatusPanel() {
    auto* panel = named(new QFrame, "PanelStatus");
    panel->setFrameShape(QFrame::StyledPanel);
    installDrag(panel);
    auto* g = new QGridLayout(panel);
    g->setContentsMargins(8, 4, 8, 4);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(2);

    createStatusLabels();
    buildFileRows(g);
    buildCountRows(g);
    buildTimeRows(g);
    buildAreaRow(g);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    return panel;
}

void MainWindow::createStatusLabels() {
    LabelVobFile = valueLabel("LabelVobFile", "-");
    LabelVobNum = valueLabel("LabelVobNum", "0");
    LabelVobNb = valueLabel("LabelVobNb", "0");
    LabelPos = valueLabel("LabelPos", "0/0 MB (0%)");
    ProgressBar1 = named(new QProgressBar, "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    LabelNbSup = valueLabel("LabelNbSup", "0", 5);
    LabelTotalNbSup = valueLabel("LabelTotalNbSup", "0", 5);
    LabelTimeElapsed = valueLabel("LabelTimeElapsed", "00:00:00");
    LabelTimeRemaining = valueLabel("LabelTimeRemaining", "00:00:00");
    LabelTime = valueLabel("LabelTime", "00:00:00,000");
    LabelTime7 = valueLabel("LabelTime7", "00:00:00,000");
    LabelChapters = valueLabel("LabelChapters", "0", 3);
    LabelFPS = valueLabel("LabelFPS", "");
    LabelX1 = valueLabel("LabelX1", "0", 3);
    LabelY1 = valueLabel("LabelY1", "0", 3);
    LabelX2 = valueLabel("LabelX2", "0", 3);
    LabelY2 = valueLabel("LabelY2", "0", 3);
    LabelWidth = valueLabel("LabelWidth", "0", 3);
    LabelHeight = valueLabel("LabelHeight", "0", 3);
}

void MainWindow::buildFileRows(QGridLayout* g) {
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(LabelVobFile);
    fileRow->addSpacing(8);
    fileRow->addWidget(label("LabelVobOpen", "("));
    fileRow->addWidget(LabelVobNum);
    fileRow->addWidget(label("LabelVobOf", "/"));
    fileRow->addWidget(LabelVobNb);
    fileRow->addWidget(label("LabelVobClose", ")"));
    fileRow->addStretch(1);
    g->addWidget(caption("LabelVobFileCaption", "Vob File :"), 0, 0);
    g->addLayout(fileRow, 0, 1);
    g->addWidget(caption("LabelPosCaption", "Position :"), 0, 2);
    g->addWidget(LabelPos, 0, 3);

    g->addWidget(ProgressBar1, 1, 0, 1, 4);
}

void MainWindow::buildCountRows(QGridLayout* g) {
    auto* supRow = new QHBoxLayout;
    supRow->addWidget(label("LabelNbSupCaption", "in file :"));
    supRow->addWidget(LabelNbSup);
    supRow->addSpacing(8);
    supRow->addWidget(label("LabelTotalNbSupCaption", "in job :"));
    supRow->addWidget(LabelTotalNbSup);
    supRow->addStretch(1);
    g->addWidget(caption("LabelSubPicturesCaption", "SubPictures :"), 2, 0);
    g->addLayout(supRow, 2, 1);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(LabelTimeElapsed);
    timeRow->addSpacing(12);
    timeRow->addWidget(label("LabelTimeRemainingCaption", "Remaining :"));
    timeRow->addWidget(LabelTimeRemaining);
    timeRow->addStretch(1);
    g->addWidget(caption("LabelTimeElapsedCaption", "Elapsed :"), 2, 2);
    g->addLayout(timeRow, 2, 3);
}

void MainWindow::buildTimeRows(QGridLayout* g) {
    g->addWidget(caption("LabelTimeCaption", "Nav Packet Time ( Bad ) :"), 3, 0);
    auto* navRow = new QHBoxLayout;
    navRow->addWidget(LabelTime);
    navRow->addSpacing(12);
    navRow->addWidget(label("LabelChaptersCaption", "Chapters :"));
    navRow->addWidget(LabelChapters);
    navRow->addStretch(1);
    g->addLayout(navRow, 3, 1);
    g->addWidget(caption("LabelTime7Caption", "Time Code :"), 3, 2);
    auto* tcRow = new QHBoxLayout;
    tcRow->addWidget(LabelTime7);
    tcRow->addSpacing(12);
    tcRow->addWidget(LabelFPS);
    tcRow->addStretch(1);
    g->addLayout(tcRow, 3, 3);
}

void MainWindow::buildAreaRow(QGridLayout* g) {
    auto* areaRow = new QHBoxLayout;
    const std::pair<const char*, QLabel*> coords[] = {
        {"X1:", LabelX1}, {"Y1:", LabelY1},       {"X2:", LabelX2},
        {"Y2:", LabelY2}, {"Width:", LabelWidth}, {"Height:", LabelHeight}};
    for (const auto& [text, value] : coords) {
        areaRow->addWidget(label(value->objectName() + "Caption", text));
        areaRow->addWidget(value);
        areaRow->addSpacing(10);
    }
    areaRow->addStretch(1);
    g->addWidget(caption("LabelSubPictureCaption", "SubPicture :"), 4, 0);
    g->addLayout(areaRow, 4, 1, 1, 3);
}

// ------------------------------------------------------------------ showing

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void MainWindow::FormShow() {
    startUp();
    // With the preview's handlers off: the frame at the stored zoom and the
    // background.
    handlersActive_ = false;
    layoutFrame(previewOptions().zoom);
    buildBackground();
    handlersActive_ = true;
    // Room for the whole frame at the stored zoom, as far as the screen
    // allows (the preview scrolls beyond that).
    if (!previewOptions().autoZoom) {
        const QSize need = BevelScreen->size() - ScrollPreview->viewport()->size();
        QSize size = this->size() + QSize(std::max(0, need.width()), std::max(0, need.height()));
        if (const QScreen* screen = this->screen())
            size = size.boundedTo(screen->availableGeometry().size() - QSize(0, 30));
        resize(size);
    }
    if (!startFolder_.empty()) {
        // The start argument: the folder ready in the job dialog, opened
        // once the main window is up.
        const QFileInfo info(toQt(startFolder_));
        const std::string folder = info.isDir() ? fromQt(info.absoluteFilePath()) + "/"
                                                : fromQt(info.absolutePath()) + "/";
        jobDialog_->openFolder(folder);
        QTimer::singleShot(0, this, &MainWindow::OpenVob1Click);
    }
}

std::vector<QWidget*> MainWindow::languageWindows() {
    return {this,
            newCharacterDialog_,
            subtitleWindow_,
            ocrSetupDialog_,
            matrixEditorDialog_,
            jobDialog_,
            fontColourDialog_,
            postOcrDialog_,
            progressionController_,
            aboutDialog_,
            outputFormatDialog_,
            timeCorrectionDialog_,
            splitDialog_,
            bitmapAdjustmentDialog_};
}

void MainWindow::startUp() {
    // The OCR defaults, the configuration, the bitmap export settings, the
    // built-in messages, the language list and the stored language, as the
    // core orders them; the windows' texts go there and back as trees.
    configPath_ = defaultConfigurationPath(session_->programFolder());
    const std::vector<QWidget*> windows = languageWindows();
    std::vector<ControlNode> trees = controlTrees(windows);
    startUpConfiguration(*session_, configPath_, trees);
    rebuildLanguageMenu(trees);
    applyControlTrees(windows, trees);
    setPauseCaption(ButtonPause->text());
    settingsToControls();
}

void MainWindow::rebuildLanguageMenu(std::vector<ControlNode>& trees) {
    LanguageMenu->clear();
    for (ControlNode& t : trees) {
        if (t.name != objectName().toStdString()) continue;
        const ControlNode* menu = findControl(t, "GUILanguage1");
        if (!menu) return;
        for (const ControlNode& item : menu->children) {
            QAction* a = LanguageMenu->addAction(toQt(item.text));
            a->setObjectName(QString::fromStdString(item.name));
            a->setCheckable(true);
            a->setChecked(item.checked);
            const std::string name = item.name;
            connect(a, &QAction::triggered, this, [this, name] { switchLanguageClick(name); });
        }
    }
}

void MainWindow::switchLanguageClick(const std::string& name) {
    const std::vector<QWidget*> windows = languageWindows();
    std::vector<ControlNode> trees = controlTrees(windows);
    switchLanguage(*session_, trees, name);
    applyControlTrees(windows, trees);
    setPauseCaption(ButtonPause->text());
}

void MainWindow::Button1Click() {
    try {
        writeLanguageTemplate(*session_, controlTrees(languageWindows()));
    } catch (const std::exception& e) {
        ui_.messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
    }
}

void MainWindow::settingsToControls() {
    const ConfigSettings& c = session_->settings();
    // The job dialog as it was left: folder, stream and matrix (a start
    // folder given to the program takes the folder's place).
    if (!c.jobMatrix.empty() && QFileInfo(toQt(c.jobMatrix)).isFile()) {
        try {
            if (session_->loadMatrixFile(c.jobMatrix, session_->matrix()))
                setMatrixName(session_->matrix());
        } catch (const IoError&) {
            // A matrix that cannot be read any more leaves a new one.
        }
    }
    if (startFolder_.empty() && !c.jobFolder.empty() && QFileInfo(toQt(c.jobFolder)).isDir()) {
        jobDialog_->openFolder(c.jobFolder);
        jobDialog_->selectStream(c.jobStream);
    }
    jobDialog_->setAction(c.actionMode);
    jobDialog_->CheckBoxAvoidTimeRestart->setChecked(c.avoidTimeRestart);
    jobDialog_->CheckBoxPictTiming->setChecked(c.pictTiming);
    subtitleWindow_->CheckBoxScrollDown->setChecked(c.autoScrollDown);
}

void MainWindow::controlsToSettings() {
    ConfigSettings& c = session_->settings();
    if (!jobDialog_->folder().empty()) {
        c.jobFolder = jobDialog_->folder();
        c.jobStream = jobDialog_->request().streamIndex;
    }
    c.jobMatrix = session_->matrix().fileName();
    c.actionMode = static_cast<int32_t>(jobDialog_->request().action) - 1;
    c.avoidTimeRestart = jobDialog_->CheckBoxAvoidTimeRestart->isChecked();
    c.pictTiming = jobDialog_->CheckBoxPictTiming->isChecked();
    c.autoScrollDown = subtitleWindow_->CheckBoxScrollDown->isChecked();
}

void MainWindow::OpenVob1Click() {
    jobDialog_->exec();
}

void MainWindow::SaveSubtitles1Click() {
    subtitleWindow_->Saveas1Click();
}

namespace {

// The local paths of a drag that Orvane can open: folders and VOB files.
QStringList droppablePaths(const QMimeData* mime) {
    QStringList paths;
    if (!mime || !mime->hasUrls()) return paths;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) continue;
        const QFileInfo info(url.toLocalFile());
        if (info.isDir() || info.suffix().compare("vob", Qt::CaseInsensitive) == 0)
            paths << info.absoluteFilePath();
    }
    return paths;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (OpenVob1->isEnabled() && !droppablePaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QStringList paths = droppablePaths(event->mimeData());
    if (paths.isEmpty() || !OpenVob1->isEnabled()) return;
    event->acceptProposedAction();
    // The job dialog opens after the drop has returned to the source.
    QTimer::singleShot(0, this, [this, paths] {
        if (openDropped(paths)) OpenVob1Click();
    });
}

bool MainWindow::openDropped(const QStringList& paths) {
    std::vector<std::string> vobs;
    for (const QString& p : paths) {
        const QFileInfo info(p);
        if (info.isDir()) {
            // A disc's folder holding VIDEO_TS stands for it.
            QDir dir(info.absoluteFilePath());
            const QString inner = dir.filePath("VIDEO_TS");
            const QString folder = QFileInfo(inner).isDir() ? inner : dir.absolutePath();
            jobDialog_->openFolder(fromQt(folder) + "/");
            return true;
        }
        vobs.push_back(fromQt(info.absoluteFilePath()));
    }
    if (vobs.empty()) return false;
    jobDialog_->openFiles(vobs);
    return true;
}

void MainWindow::CoolButtonShowSubtitleTextClick() {
    if (subtitleWindow_->isVisible()) {
        subtitleWindow_->hide();
    } else {
        subtitleWindow_->showNormal();
        subtitleWindow_->raise();
    }
}

void MainWindow::About1Click() {
    aboutDialog_->exec();
}

void MainWindow::Timer1Timer() {
    try {
        session_->timerTick();
    } catch (const std::exception& e) {
        // Nothing may leave an event handler; the reader has reset its
        // running state before passing this on.
        ui_.messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
    }
}

void MainWindow::TimerElapsedTimer() {
    session_->elapsedTick();
}

void MainWindow::ButtonPauseClick() {
    session_->buttonPauseClick();
}

void MainWindow::setPauseCaption(const QString& caption) {
    // The caption's character 0x7F has no glyph in today's fonts (it shows
    // as a box); the pause sign stands in for it on screen.
    QString shown = caption;
    shown.replace(QChar(0x7F), QChar(0x2016));
    ButtonPause->setText(shown);
}

void MainWindow::setReadingControls(bool pauseEnabled, bool openVobEnabled) {
    ButtonPause->setEnabled(pauseEnabled);
    OpenVob1->setEnabled(openVobEnabled);
    // The tool button follows the menu entry, so that no new job can be
    // started while a reader is still on the stack.
    CoolButtonOpenVob->setEnabled(openVobEnabled);
}

void MainWindow::setMatrixName(const CharMatrix& matrix) {
    const std::string name = matrix.fileName().empty() ? "New File" : fileNameOf(matrix.fileName());
    LabelMatrix->setText(toQt(name) + (matrix.modified() ? " *" : ""));
}

// ------------------------------------------------------------------ closing

bool MainWindow::FormCloseQuery() {
    return session_->closeQuery();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_ || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void MainWindow::FormClose() {
    closing_ = true;
    // Pauses a running reader, then saves the configuration and the bitmap
    // export settings; a failed save is reported and the closing goes on.
    // A window never shown has read no configuration to write back.
    if (!configPath_.empty()) {
        controlsToSettings();
        closeDownConfiguration(*session_, configPath_);
    } else if (session_->job().running && !session_->job().paused) {
        ButtonPauseClick();
    }
    Timer1->stop();
    TimerElapsed->stop();
    subtitleWindow_->close();
    closing_ = false;
}

void MainWindow::Quit1Click() {
    close();
}

// ------------------------------------------------------- character matrix

QWidget& MainWindow::subtitleView() {
    return *subtitleWindow_;
}

void MainWindow::focusReading() {
    CheckBoxShowSubPict->setFocus();
}

void MainWindow::NewCharaterMatrix1Click() {
    session_->newMatrix();
    setMatrixName(session_->matrix());
}

void MainWindow::OpenCharacterMatrix1Click() {
    session_->openMatrix();
    setMatrixName(session_->matrix());
}

void MainWindow::SaveCharacterMatrix1Click() {
    session_->saveMatrixCommand();
    setMatrixName(session_->matrix());
}

void MainWindow::SaveCharacterMatrixAs1Click() {
    session_->saveMatrix(true);
    setMatrixName(session_->matrix());
}

void MainWindow::EditCharMatrix1Click() {
    // Modeless: it stays open beside the reading and follows the matrix.
    matrixEditorDialog_->show();
    matrixEditorDialog_->raise();
    matrixEditorDialog_->activateWindow();
}

// -------------------------------------------------------------- OCR setup

void MainWindow::OCRAdvancedSetup1Click() {
    ocrSetupDialog_->exec();
}

}  // namespace orvane::gui
