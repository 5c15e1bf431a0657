#include "gui/output_format_dialog.h"

#include <algorithm>
#include <string_view>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/session.h"
#include "gui/image_convert.h"
#include "gui/qt_text.h"

#include "gui/widget_factory.h"

namespace orvane::gui {

namespace {

QLabel* heading(const QString& name, const QString& text) {
    auto* l = label(name, text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setWordWrap(true);
    return l;
}

QLabel* note(const QString& name, const QString& text) {
    auto* l = label(name, text);
    l->setWordWrap(true);
    return l;
}

QSpinBox* spin(const QString& name, int min, int max, int value) {
    auto* s = named(new QSpinBox, name);
    s->setRange(min, max);
    s->setValue(value);
    return s;
}

QComboBox* frameRateCombo(const char* name) {
    auto* c = named(new QComboBox, name);
    c->addItems({"PAL     25 Fps", "NTSC  30 Fps"});
    c->setToolTip(
        "!! Be careful : if you choose NTSC and movie is PAL some Subtitles may not appear !!");
    c->setCurrentIndex(0);
    return c;
}

const char* const kIAuthorColourCaptions[4] = {
    "Primary Color 0 (Background) :", "Primary Color 1 (Font) :", "Primary Color 2 (Outline) :",
    "Primary Color 3 (Antialiasing) :"};
const char* const kPhilipsColourCaptions[4] = {"Color 0 (Background) :", "Color 1 (Font) :",
                                               "Color 2 (Outline) :", "Color 3 (Antialiasing) :"};
// The colours and blends of the layout, replaced at show time.
const ColourRef kLayoutColours[4] = {0x000000, 0x000000, 0xFFFFFF, 0x808080};
const int kLayoutLevels[4] = {0, 15, 15, 15};

const char kBmpOnlyWarning[] = "!! Only use with the \"Save As BMP\" Mode ( Without OCR ) !!";

}  // namespace

OutputFormatDialog::OutputFormatDialog(QWidget& parent, Session& session)
    : QDialog(&parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session) {
    setObjectName("Form13");
    setWindowTitle("Output Format");
    auto* v = new QVBoxLayout(this);
    PageControlOrvane = named(new QTabWidget, "PageControlOrvane");
    // Every page's tab in sight: the dialog is as wide as its tabs.
    PageControlOrvane->setUsesScrollButtons(false);
    // One page per format, in the formats' order; the page knows its format.
    for (const OutputFormatDescription& f : outputFormats()) {
        PageControlOrvane->addTab(buildPage(f), f.pageCaption);
        pageFormats_.push_back(f.id);
    }
    v->addWidget(PageControlOrvane, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtnConvert = defaultButton("BitBtnConvert", "&Convert to this Format");
    BitBtn1 = button("BitBtn1", "&Cancel");
    buttons->addWidget(BitBtnConvert);
    buttons->addWidget(BitBtn1);
    v->addLayout(buttons);

    connect(BitBtnConvert, &QPushButton::clicked, this, &OutputFormatDialog::BitBtnConvertClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonSubviewer2Font, &QPushButton::clicked, this,
            &OutputFormatDialog::ButtonSubviewer2FontClick);
    for (int i = 0; i < 4; ++i) {
        for (QPushButton* panel : {PanelPColor[i], PanelPhilipsColor[i]})
            connect(panel, &QPushButton::clicked, this,
                    [this, panel] { PanelPColor0Click(panel); });
    }
    connect(ComboBoxPhilipsFrameRate, &QComboBox::currentIndexChanged, this,
            &OutputFormatDialog::ComboBoxPhilipsFrameRateChange);
    connect(ComboBoxSonicFrameRate, &QComboBox::currentIndexChanged, this,
            &OutputFormatDialog::ComboBoxSonicFrameRateChange);
    connect(CheckBoxPhilipsUseBmpColor, &QCheckBox::toggled, this,
            &OutputFormatDialog::CheckBoxPhilipsUseBmpColorClick);
    // The live fields.
    for (QLineEdit* e :
         {EditSubviewerTitle, EditSubviewerAuthor, EditSubviewerSource, EditSubviewerProgram,
          EditSubviewerFilePath, EditSubviewer2Title, EditSubviewer2Author, EditSubviewer2Source,
          EditSubviewer2Program, EditSubviewer2FilePath, EditSubviewer2Comment, EditPhilipsTitle})
        connect(e, &QLineEdit::textChanged, this, &OutputFormatDialog::liveFieldChanged);
    for (QSpinBox* s : {SpinEditOrvaneOffset, SpinEditSubViewerDelay, SpinEditSubViewer2Delay,
                        SpinEditSubViewer2CDTrack})
        connect(s, &QSpinBox::valueChanged, this, &OutputFormatDialog::liveFieldChanged);
    for (QCheckBox* c : {CheckBox2LineMax, CheckBoxRoundTC})
        connect(c, &QCheckBox::toggled, this, &OutputFormatDialog::liveFieldChanged);

    // The live fields start as the document holds them (the Source fields
    // with the program's version).
    liveFieldsToControls();
}

QWidget* OutputFormatDialog::buildPage(const OutputFormatDescription& f) {
    // The pages with controls of their own; any other format gets its
    // description's heading and note.
    struct Custom {
        const char* name;
        QWidget* (OutputFormatDialog::*build)();
        QWidget* OutputFormatDialog::*member;
    };
    static constexpr Custom kCustom[] = {
        {"TabSheetOrvane", &OutputFormatDialog::buildOrvanePage,
         &OutputFormatDialog::TabSheetOrvane},
        {"TabSheetSubviewer", &OutputFormatDialog::buildSubViewerPage,
         &OutputFormatDialog::TabSheetSubviewer},
        {"TabSheetSubviewer2", &OutputFormatDialog::buildSubViewer2Page,
         &OutputFormatDialog::TabSheetSubviewer2},
        {"TabSheetIAuthor", &OutputFormatDialog::buildIAuthorPage,
         &OutputFormatDialog::TabSheetIAuthor},
        {"TabSheetPhilips", &OutputFormatDialog::buildPhilipsPage,
         &OutputFormatDialog::TabSheetPhilips},
        {"TabSheetSonic", &OutputFormatDialog::buildSonicPage, &OutputFormatDialog::TabSheetSonic},
    };
    for (const Custom& c : kCustom) {
        if (std::string_view(c.name) == f.pageName) return this->*c.member = (this->*c.build)();
    }
    const QString stem = QString(f.pageName).remove("TabSheet");
    auto* page = named(new QWidget, f.pageName);
    auto* v = new QVBoxLayout(page);
    if (f.pageHeading) v->addWidget(heading("Label" + stem + "Heading", f.pageHeading));
    if (f.pageNote) v->addWidget(note("Label" + stem + "Note", f.pageNote));
    v->addStretch(1);
    return page;
}

QWidget* OutputFormatDialog::buildOrvanePage() {
    auto* page = named(new QWidget, "TabSheetOrvane");
    auto* v = new QVBoxLayout(page);
    v->addWidget(
        heading("LabelOrvaneHeading", "Orvane Own Format ( To re-open and modify later )"));
    CheckBoxOvtExtended = named(new QCheckBox("Extended Format (With Picture(s) Coordinates) :"),
                                "CheckBoxOvtExtended");
    CheckBoxOvtExtended->setLayoutDirection(Qt::RightToLeft);  // caption left of the box
    CheckBoxOvtExtended->setToolTip("Deactivate to keep compatibility with older Orvane Format");
    CheckBoxOvtExtended->setChecked(true);
    v->addWidget(CheckBoxOvtExtended, 0, Qt::AlignLeft);
    auto* row = new QHBoxLayout;
    row->addWidget(
        label("LabelOrvaneOffset", "Subtitle Index Offset (To combine with another file) :"));
    SpinEditOrvaneOffset = spin("SpinEditOrvaneOffset", 0, 65535, 0);
    row->addWidget(SpinEditOrvaneOffset);
    row->addStretch(1);
    v->addLayout(row);
    auto* encoding = new QHBoxLayout;
    encoding->addWidget(label("LabelOvtEncoding", "Text Encoding :"));
    ComboBoxOvtEncoding = named(new QComboBox, "ComboBoxOvtEncoding");
    // Items in the order of TextEncoding.
    ComboBoxOvtEncoding->addItems({"Windows-1252 (ANSI)", "UTF-8"});
    ComboBoxOvtEncoding->setToolTip(
        "Windows-1252 keeps compatibility with older Orvane Format; files in either are re-opened");
    encoding->addWidget(ComboBoxOvtEncoding);
    encoding->addStretch(1);
    v->addLayout(encoding);
    v->addStretch(1);
    return page;
}

QWidget* OutputFormatDialog::buildSubViewerPage() {
    auto* page = named(new QWidget, "TabSheetSubviewer");
    auto* v = new QVBoxLayout(page);
    v->addWidget(heading("LabelSubviewerHeading", "For displaying with SubViewer 1 or Vendrak 1"));
    auto* f = new QFormLayout;
    EditSubviewerTitle = named(new QLineEdit, "EditSubviewerTitle");
    EditSubviewerAuthor = named(new QLineEdit, "EditSubviewerAuthor");
    EditSubviewerSource =
        named(new QLineEdit("Subtitles captured by Orvane"), "EditSubviewerSource");
    EditSubviewerProgram = named(new QLineEdit, "EditSubviewerProgram");
    EditSubviewerFilePath = named(new QLineEdit, "EditSubviewerFilePath");
    SpinEditSubViewerDelay = spin("SpinEditSubViewerDelay", -65535, 65535, 0);
    f->addRow(label("LabelSubviewerTitle", "Title :"), EditSubviewerTitle);
    f->addRow(label("LabelSubviewerAuthor", "Author :"), EditSubviewerAuthor);
    f->addRow(label("LabelSubviewerSource", "Source :"), EditSubviewerSource);
    f->addRow(label("LabelSubviewerProgram", "Program :"), EditSubviewerProgram);
    f->addRow(label("LabelSubviewerFilePath", "File path :"), EditSubviewerFilePath);
    auto* delay = new QHBoxLayout;
    delay->addWidget(SpinEditSubViewerDelay);
    delay->addWidget(
        note("LabelSubviewerDelayNote",
             "Can be smaller than 0 to speed up the start of reading  ( Only with Vendrak )"),
        1);
    f->addRow(label("LabelSubviewerDelay", "Delay :"), delay);
    v->addLayout(f);
    CheckBox2LineMax =
        named(new QCheckBox("If more than 2 lines, add next lines to the 2nd"), "CheckBox2LineMax");
    CheckBox2LineMax->setChecked(true);
    CheckBoxRoundTC =
        named(new QCheckBox("Round Time Code \"ms\" to nearest \"s\" (Recommended !)"),
              "CheckBoxRoundTC");
    CheckBoxRoundTC->setChecked(true);
    v->addWidget(CheckBox2LineMax);
    v->addWidget(CheckBoxRoundTC);
    v->addStretch(1);
    return page;
}

QWidget* OutputFormatDialog::buildSubViewer2Page() {
    auto* page = named(new QWidget, "TabSheetSubviewer2");
    auto* v = new QVBoxLayout(page);
    v->addWidget(heading("LabelSubviewer2Heading", "For displaying with SubViewer 2.x"));
    auto* h = new QHBoxLayout;
    auto* f = new QFormLayout;
    EditSubviewer2Title = named(new QLineEdit, "EditSubviewer2Title");
    EditSubviewer2Author = named(new QLineEdit, "EditSubviewer2Author");
    EditSubviewer2Source =
        named(new QLineEdit("Subtitles captured by Orvane"), "EditSubviewer2Source");
    EditSubviewer2Program = named(new QLineEdit, "EditSubviewer2Program");
    EditSubviewer2FilePath = named(new QLineEdit, "EditSubviewer2FilePath");
    SpinEditSubViewer2Delay = spin("SpinEditSubViewer2Delay", 0, 65535, 0);
    SpinEditSubViewer2CDTrack = spin("SpinEditSubViewer2CDTrack", 0, 255, 0);
    EditSubviewer2Comment = named(new QLineEdit, "EditSubviewer2Comment");
    f->addRow(label("LabelSubviewer2Title", "Title :"), EditSubviewer2Title);
    f->addRow(label("LabelSubviewer2Author", "Author :"), EditSubviewer2Author);
    f->addRow(label("LabelSubviewer2Source", "Source :"), EditSubviewer2Source);
    f->addRow(label("LabelSubviewer2Program", "Program :"), EditSubviewer2Program);
    f->addRow(label("LabelSubviewer2FilePath", "File path :"), EditSubviewer2FilePath);
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(SpinEditSubViewer2Delay);
    numbers->addSpacing(12);
    numbers->addWidget(label("LabelSubviewer2CDTrack", "CD Track :"));
    numbers->addWidget(SpinEditSubViewer2CDTrack);
    numbers->addStretch(1);
    f->addRow(label("LabelSubviewer2Delay", "Delay :"), numbers);
    f->addRow(label("LabelSubviewer2Comment", "Comment :"), EditSubviewer2Comment);
    h->addLayout(f, 1);
    auto* fontColumn = new QVBoxLayout;
    PanelSubViewer2Font = named(new QLabel("FONT Sample"), "PanelSubViewer2Font");
    PanelSubViewer2Font->setAlignment(Qt::AlignCenter);
    PanelSubViewer2Font->setFrameShape(QFrame::Panel);
    PanelSubViewer2Font->setFrameShadow(QFrame::Sunken);
    PanelSubViewer2Font->setMinimumSize(170, 70);
    PanelSubViewer2Font->setAutoFillBackground(true);
    ButtonSubviewer2Font = button("ButtonSubviewer2Font", "Change Font");
    fontColumn->addWidget(PanelSubViewer2Font);
    fontColumn->addWidget(ButtonSubviewer2Font);
    fontColumn->addStretch(1);
    h->addLayout(fontColumn);
    v->addLayout(h);
    v->addStretch(1);
    return page;
}

QWidget* OutputFormatDialog::buildIAuthorPage() {
    auto* page = named(new QWidget, "TabSheetIAuthor");
    auto* v = new QVBoxLayout(page);
    v->addWidget(
        heading("LabelIAuthorHeading", "To create an SVCD with Subtitles using I-Author 1.0"));
    v->addWidget(heading("LabelIAuthorBmpOnly", kBmpOnlyWarning));
    auto* g = new QGridLayout;
    g->addWidget(label("LabelIAuthorBlend", "Blend (0=invisible)"), 0, 2);
    for (int i = 0; i < 4; ++i) {
        auto* caption = label(QString("LabelIAuthorColor%1").arg(i), kIAuthorColourCaptions[i]);
        PanelPColor[i] = named(new QPushButton, QString("PanelPColor%1").arg(i));
        PanelPColor[i]->setFixedSize(48, 22);
        PanelPColor[i]->setAutoDefault(false);
        setPanelColour(PanelPColor[i], kLayoutColours[i]);
        SpinEditBlendPColor[i] =
            spin(QString("SpinEditBlendPColor%1").arg(i), 0, 15, kLayoutLevels[i]);
        g->addWidget(caption, i + 1, 0);
        g->addWidget(PanelPColor[i], i + 1, 1);
        g->addWidget(SpinEditBlendPColor[i], i + 1, 2);
    }
    g->setColumnStretch(3, 1);
    v->addLayout(g);
    v->addWidget(note("LabelIAuthorHighlightNote",
                      "The highlight colors are fixed (not used by the subtitles)."));
    auto* interval = new QHBoxLayout;
    interval->addWidget(
        label("LabelIAuthorInterval", "Minimum ms between two subtitles ( Avoid problems ) :"));
    SpinEditMinimumInterval = spin("SpinEditMinimumInterval", 0, 999, 10);
    interval->addWidget(SpinEditMinimumInterval);
    interval->addStretch(1);
    v->addLayout(interval);
    v->addWidget(note("LabelIAuthorSizeNote",
                      "!! Because of the large size of the resulting text file, it will not be "
                      "showed but converted at the \"Save As\" stage !!"));
    v->addStretch(1);
    return page;
}

QWidget* OutputFormatDialog::buildPhilipsPage() {
    auto* page = named(new QWidget, "TabSheetPhilips");
    auto* v = new QVBoxLayout(page);
    v->addWidget(heading("LabelPhilipsHeading",
                         "To create an SVCD with Subtitles using Philips SVCD Designer 1.5 or 2"));
    v->addWidget(heading("LabelPhilipsBmpOnly", kBmpOnlyWarning));
    auto* top = new QGridLayout;
    EditPhilipsTitle = named(new QLineEdit, "EditPhilipsTitle");
    ComboBoxPhilipsFrameRate = frameRateCombo("ComboBoxPhilipsFrameRate");
    CheckBoxPhilipsDropFrame =
        named(new QCheckBox("DropFrame ( 29,97 Fps )"), "CheckBoxPhilipsDropFrame");
    top->addWidget(label("LabelPhilipsTitle", "Title :"), 0, 0);
    top->addWidget(EditPhilipsTitle, 0, 1, 1, 2);
    top->addWidget(label("LabelPhilipsFrameRate", "FrameRate :"), 1, 0);
    top->addWidget(ComboBoxPhilipsFrameRate, 1, 1);
    top->addWidget(CheckBoxPhilipsDropFrame, 1, 2);
    top->setColumnStretch(2, 1);
    v->addLayout(top);
    CheckBoxPhilipsUseBmpColor =
        named(new QCheckBox("Use colors from bitmap"), "CheckBoxPhilipsUseBmpColor");
    CheckBoxPhilipsUseBmpColor->setToolTip(
        "You must enable this option for SVCD Designer 1.5 since it don't support other palette.");
    v->addWidget(CheckBoxPhilipsUseBmpColor);
    auto* g = new QGridLayout;
    LabelPhilipsColor = named(new QLabel("Color"), "LabelPhilipsColor");
    g->addWidget(LabelPhilipsColor, 0, 1, Qt::AlignHCenter);
    g->addWidget(label("LabelPhilipsContrast", "Contrast"), 0, 2);
    for (int i = 0; i < 4; ++i) {
        PanelPhilipsColor[i] = named(new QPushButton, QString("PanelPhilipsColor%1").arg(i));
        PanelPhilipsColor[i]->setFixedSize(48, 22);
        PanelPhilipsColor[i]->setAutoDefault(false);
        // Hidden panels keep their place, so the contrasts do not move.
        QSizePolicy keep = PanelPhilipsColor[i]->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        PanelPhilipsColor[i]->setSizePolicy(keep);
        setPanelColour(PanelPhilipsColor[i], kLayoutColours[i]);
        SpinEditPhilipsContrast[i] =
            spin(QString("SpinEditPhilipsContrast%1").arg(i), 0, 15, kLayoutLevels[i]);
        g->addWidget(label(QString("LabelPhilipsColorName%1").arg(i), kPhilipsColourCaptions[i]),
                     i + 1, 0);
        g->addWidget(PanelPhilipsColor[i], i + 1, 1);
        g->addWidget(SpinEditPhilipsContrast[i], i + 1, 2);
    }
    g->setColumnStretch(3, 1);
    v->addLayout(g);
    v->addWidget(note("LabelPhilipsBitsNote",
                      "With SVCD Designer 1.5 you must use 8 bits bitmap !  It don't support 4 "
                      "bits despite what the help file say :-("));
    v->addStretch(1);
    return page;
}

QWidget* OutputFormatDialog::buildSonicPage() {
    auto* page = named(new QWidget, "TabSheetSonic");
    auto* v = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    ComboBoxSonicFrameRate = frameRateCombo("ComboBoxSonicFrameRate");
    CheckBoxSonicDropFrame =
        named(new QCheckBox("DropFrame ( 29,97 Fps )"), "CheckBoxSonicDropFrame");
    row->addWidget(label("LabelSonicFrameRate", "FrameRate :"));
    row->addWidget(ComboBoxSonicFrameRate);
    row->addWidget(CheckBoxSonicDropFrame);
    row->addStretch(1);
    v->addLayout(row);
    v->addStretch(1);
    return page;
}

// ------------------------------------------------------------------ showing

void OutputFormatDialog::run() {
    exec();
}

void OutputFormatDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void OutputFormatDialog::FormShow() {
    const SubtitleDocument& doc = session_.document();
    const OutputSettings& s = doc.settings();
    {
        filling_ = true;
        const QSignalBlocker b1(ComboBoxPhilipsFrameRate), b2(ComboBoxSonicFrameRate),
            b3(CheckBoxPhilipsUseBmpColor);
        for (int i = 0; i < 4; ++i) {
            setPanelColour(PanelPColor[i], s.iauthorColour[i]);
            SpinEditBlendPColor[i]->setValue(s.iauthorBlend[i]);
            setPanelColour(PanelPhilipsColor[i], s.philipsColour[i]);
            SpinEditPhilipsContrast[i]->setValue(s.philipsContrast[i]);
        }
        SpinEditMinimumInterval->setValue(s.iauthorMinimumInterval);
        ComboBoxPhilipsFrameRate->setCurrentIndex(s.philipsFrameRate == 1 ? 1 : 0);
        CheckBoxPhilipsDropFrame->setChecked(s.philipsDropFrame);
        CheckBoxPhilipsUseBmpColor->setChecked(s.philipsUseBmpColour);
        ComboBoxSonicFrameRate->setCurrentIndex(s.sonicFrameRate == 1 ? 1 : 0);
        CheckBoxSonicDropFrame->setChecked(s.sonicDropFrame);
        CheckBoxOvtExtended->setChecked(s.ovtExtended);
        ComboBoxOvtEncoding->setCurrentIndex(s.ovtEncoding == TextEncoding::Utf8 ? 1 : 0);
        filling_ = false;
    }
    liveFieldsToControls();
    ComboBoxPhilipsFrameRateChange();
    CheckBoxPhilipsUseBmpColorClick();
    ComboBoxSonicFrameRateChange();
    PageControlOrvane->setCurrentIndex(pageOf(doc.format()));
}

int OutputFormatDialog::pageOf(OutputFormat format) const {
    const auto at = std::find(pageFormats_.begin(), pageFormats_.end(), format);
    return at == pageFormats_.end() ? 0 : static_cast<int>(at - pageFormats_.begin());
}

void OutputFormatDialog::liveFieldsToControls() {
    const OutputSettings& s = session_.document().settings();
    filling_ = true;
    SpinEditOrvaneOffset->setValue(s.indexOffset);
    EditSubviewerTitle->setText(toQt(s.subViewer1.title));
    EditSubviewerAuthor->setText(toQt(s.subViewer1.author));
    EditSubviewerSource->setText(toQt(s.subViewer1.source));
    EditSubviewerProgram->setText(toQt(s.subViewer1.program));
    EditSubviewerFilePath->setText(toQt(s.subViewer1.filePath));
    SpinEditSubViewerDelay->setValue(s.subViewer1.delay);
    CheckBox2LineMax->setChecked(s.subViewer1.joinLinesBeyondSecond);
    CheckBoxRoundTC->setChecked(s.subViewer1.roundToSeconds);
    EditSubviewer2Title->setText(toQt(s.subViewer2.title));
    EditSubviewer2Author->setText(toQt(s.subViewer2.author));
    EditSubviewer2Source->setText(toQt(s.subViewer2.source));
    EditSubviewer2Program->setText(toQt(s.subViewer2.program));
    EditSubviewer2FilePath->setText(toQt(s.subViewer2.filePath));
    EditSubviewer2Comment->setText(toQt(s.subViewer2.comment));
    SpinEditSubViewer2Delay->setValue(s.subViewer2.delay);
    SpinEditSubViewer2CDTrack->setValue(s.subViewer2.cdTrack);
    EditPhilipsTitle->setText(toQt(s.philipsTitle));
    showFont(s.subViewer2.font);
    filling_ = false;
}

void OutputFormatDialog::liveFieldChanged() {
    if (filling_) return;
    OutputSettings& s = session_.document().settings();
    s.indexOffset = static_cast<uint16_t>(SpinEditOrvaneOffset->value());
    s.subViewer1.title = fromQt(EditSubviewerTitle->text());
    s.subViewer1.author = fromQt(EditSubviewerAuthor->text());
    s.subViewer1.source = fromQt(EditSubviewerSource->text());
    s.subViewer1.program = fromQt(EditSubviewerProgram->text());
    s.subViewer1.filePath = fromQt(EditSubviewerFilePath->text());
    s.subViewer1.delay = SpinEditSubViewerDelay->value();
    s.subViewer1.joinLinesBeyondSecond = CheckBox2LineMax->isChecked();
    s.subViewer1.roundToSeconds = CheckBoxRoundTC->isChecked();
    s.subViewer2.title = fromQt(EditSubviewer2Title->text());
    s.subViewer2.author = fromQt(EditSubviewer2Author->text());
    s.subViewer2.source = fromQt(EditSubviewer2Source->text());
    s.subViewer2.program = fromQt(EditSubviewer2Program->text());
    s.subViewer2.filePath = fromQt(EditSubviewer2FilePath->text());
    s.subViewer2.comment = fromQt(EditSubviewer2Comment->text());
    s.subViewer2.delay = static_cast<uint16_t>(SpinEditSubViewer2Delay->value());
    s.subViewer2.cdTrack = static_cast<uint8_t>(SpinEditSubViewer2CDTrack->value());
    s.philipsTitle = fromQt(EditPhilipsTitle->text());
}

// ------------------------------------------------------------------ convert

OutputSettings OutputFormatDialog::controlsToSettings() const {
    OutputSettings s = session_.document().settings();
    s.ovtExtended = CheckBoxOvtExtended->isChecked();
    s.ovtEncoding = static_cast<TextEncoding>(ComboBoxOvtEncoding->currentIndex() == 1 ? 1 : 0);
    for (int i = 0; i < 4; ++i) {
        s.iauthorColour[i] = panelColour(PanelPColor[i]);
        s.iauthorBlend[i] = static_cast<uint8_t>(SpinEditBlendPColor[i]->value());
        s.philipsColour[i] = panelColour(PanelPhilipsColor[i]);
        s.philipsContrast[i] = static_cast<uint8_t>(SpinEditPhilipsContrast[i]->value());
    }
    s.iauthorMinimumInterval = static_cast<uint16_t>(SpinEditMinimumInterval->value());
    s.philipsFrameRate = static_cast<uint8_t>(ComboBoxPhilipsFrameRate->currentIndex());
    s.philipsDropFrame = CheckBoxPhilipsDropFrame->isChecked();
    s.philipsUseBmpColour = CheckBoxPhilipsUseBmpColor->isChecked();
    s.sonicFrameRate = static_cast<uint8_t>(ComboBoxSonicFrameRate->currentIndex());
    s.sonicDropFrame = CheckBoxSonicDropFrame->isChecked();
    return s;
}

void OutputFormatDialog::convert() {
    const int page = PageControlOrvane->currentIndex();
    session_.convertToFormat(pageFormats_[page < 0 ? 0 : static_cast<size_t>(page)],
                             controlsToSettings());
}

void OutputFormatDialog::BitBtnConvertClick() {
    // The document is rebuilt after the dialog has closed.
    accept();
    convert();
}

void OutputFormatDialog::selectFormat(OutputFormat format) {
    FormShow();
    PageControlOrvane->setCurrentIndex(pageOf(format));
    convert();
}

// ------------------------------------------------------------ page handlers

void OutputFormatDialog::ComboBoxPhilipsFrameRateChange() {
    CheckBoxPhilipsDropFrame->setEnabled(ComboBoxPhilipsFrameRate->currentIndex() == 1);
}

void OutputFormatDialog::ComboBoxSonicFrameRateChange() {
    CheckBoxSonicDropFrame->setEnabled(ComboBoxSonicFrameRate->currentIndex() == 1);
}

void OutputFormatDialog::CheckBoxPhilipsUseBmpColorClick() {
    const bool fromBitmap = CheckBoxPhilipsUseBmpColor->isChecked();
    for (QPushButton* panel : PanelPhilipsColor) panel->setVisible(!fromBitmap);
    LabelPhilipsColor->setEnabled(!fromBitmap);
}

void OutputFormatDialog::PanelPColor0Click(QPushButton* panel) {
    QColorDialog dialog(toQColor(panelColour(panel)), this);
    dialog.setObjectName("ColorDialog");
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid()) return;
    setPanelColour(panel, fromQColor(dialog.selectedColor()));
}

void OutputFormatDialog::ButtonSubviewer2FontClick() {
    FontDescription& font = session_.document().settings().subViewer2.font;
    QFont start(toQt(font.face));
    start.setPointSize(font.sizePoints);
    start.setBold(font.bold);
    start.setItalic(font.italic);
    start.setUnderline(font.underline);
    start.setStrikeOut(font.strikeOut);
    QFontDialog fonts(start, this);
    fonts.setOption(QFontDialog::DontUseNativeDialog, true);
    if (fonts.exec() != QDialog::Accepted) return;
    const QFont chosen = fonts.selectedFont();
    // Qt's font dialog has no colour; the colour dialog follows it.
    QColorDialog colours(toQColor(font.colour), this);
    colours.setOption(QColorDialog::DontUseNativeDialog, true);
    colours.setWindowTitle("Font color");
    ColourRef colour = font.colour;
    if (colours.exec() == QDialog::Accepted && colours.selectedColor().isValid())
        colour = fromQColor(colours.selectedColor());
    font.face = fromQt(chosen.family());
    font.sizePoints = chosen.pointSize() > 0 ? chosen.pointSize() : font.sizePoints;
    font.bold = chosen.bold();
    font.italic = chosen.italic();
    font.underline = chosen.underline();
    font.strikeOut = chosen.strikeOut();
    font.colour = colour;
    showFont(font);
}

void OutputFormatDialog::showFont(const FontDescription& font) {
    QFont f(toQt(font.face));
    // The sample keeps the dialog's size whatever the point size.
    f.setPointSize(std::min(font.sizePoints, 24));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    PanelSubViewer2Font->setFont(f);
    QPalette p = PanelSubViewer2Font->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, toQColor(font.colour));
    PanelSubViewer2Font->setPalette(p);
}

void OutputFormatDialog::setPanelColour(QPushButton* panel, ColourRef colour) {
    panel->setProperty("colour", static_cast<uint>(colour & 0xFFFFFF));
    panel->setStyleSheet(
        QString("QPushButton { background-color: %1; border: 1px solid palette(dark); }")
            .arg(toQColor(colour).name()));
}

ColourRef OutputFormatDialog::panelColour(const QPushButton* panel) const {
    return static_cast<ColourRef>(panel->property("colour").toUInt());
}

}  // namespace orvane::gui
