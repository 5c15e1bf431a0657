#include "gui/ocr_setup_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/configuration.h"
#include "app/session.h"
#include "config/ini_file.h"
#include "gui/numeric_edit.h"

#include "gui/widget_factory.h"

namespace orvane::gui {

namespace {

template <typename Edit, typename V>
Edit* numeric(const char* name, V value, V min, V max) {
    return numericEdit<Edit>(name, value, min, max, "-00000", 14);
}

// One labelled row of a group.
void addRow(QGridLayout* g, int row, const char* labelName, const char* text, QWidget* field) {
    auto* l = named(new QLabel(text), labelName);
    l->setBuddy(field);
    g->addWidget(l, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    g->addWidget(field, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace

OcrSetupDialog::OcrSetupDialog(QWidget& parent, Session& session,
                               const std::string& configurationPath)
    : QDialog(&parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session),
      configurationPath_(configurationPath) {
    setObjectName("Form4");
    setWindowTitle("OCR Advanced Setup");
    const OcrSettings d;
    auto* groups = new QGridLayout;
    groups->addWidget(buildLineGroup(d), 0, 0);
    groups->addWidget(buildCharGroup(d), 1, 0);
    groups->addWidget(buildSpaceGroup(d), 0, 1);
    groups->addWidget(buildEngineGroup(d), 2, 0, 1, 2);
    // The space group beside the first two; what is left below it stays empty.
    groups->addWidget(new QWidget, 1, 1);
    auto* v = new QVBoxLayout(this);
    v->addLayout(groups);
    v->addLayout(buildButtons());
    connectControls();
}

QGroupBox* OcrSetupDialog::buildLineGroup(const OcrSettings& d) {
    auto* lineGroup = named(new QGroupBox("Line Setup"), "GroupBoxLineSetup");
    auto* lg = new QGridLayout(lineGroup);
    Word_uLineMinHeight =
        numeric<WordEdit, uint16_t>("Word_uLineMinHeight", d.minLineHeight, 0, 45);
    Word_uMinInterLine = numeric<WordEdit, uint16_t>("Word_uMinInterLine", d.minInterLine, 1, 50);
    Word_uLineMaxHeight =
        numeric<WordEdit, uint16_t>("Word_uLineMaxHeight", d.maxLineHeight, 0, 45);
    addRow(lg, 0, "LabelLineMinHeight", "Min. Line Exploration Height :", Word_uLineMinHeight);
    addRow(lg, 1, "LabelMinInterLine", "Min. Inter Line Height :", Word_uMinInterLine);
    addRow(lg, 2, "LabelLineMaxHeight", "Max. Line Height :", Word_uLineMaxHeight);
    lg->setColumnStretch(2, 1);
    return lineGroup;
}

QGroupBox* OcrSetupDialog::buildCharGroup(const OcrSettings& d) {
    auto* charGroup = named(new QGroupBox("Character Setup"), "GroupBoxCharSetup");
    auto* cg = new QGridLayout(charGroup);
    Word_uCharMinWidth = numeric<WordEdit, uint16_t>("Word_uCharMinWidth", d.minCharWidth, 1, 45);
    Word_uCharMinHeight =
        numeric<WordEdit, uint16_t>("Word_uCharMinHeight", d.minCharHeight, 1, 45);
    CheckBoxDetachedChar = named(new QCheckBox("Check For Detached Char."), "CheckBoxDetachedChar");
    CheckBoxDetachedChar->setToolTip("For thin characters");
    addRow(cg, 0, "LabelCharMinWidth", "Min. Char. Width :", Word_uCharMinWidth);
    addRow(cg, 1, "LabelCharMinHeight", "Min. Char. Height :", Word_uCharMinHeight);
    cg->addWidget(CheckBoxDetachedChar, 2, 0, 1, 2, Qt::AlignLeft);
    cg->setColumnStretch(2, 1);
    return charGroup;
}

QGroupBox* OcrSetupDialog::buildSpaceGroup(const OcrSettings& d) {
    auto* spaceGroup = named(new QGroupBox("Space Width Setup"), "GroupBoxSpaceSetup");
    auto* sg = new QGridLayout(spaceGroup);
    Integer_uMinSpaceWidth =
        numeric<IntegerEdit, int32_t>("Integer_uMinSpaceWidth", d.spaceWidth, -10, 45);
    Integer_uMinItaSpaceWidth =
        numeric<IntegerEdit, int32_t>("Integer_uMinItaSpaceWidth", d.itaSpaceWidth, -10, 45);
    Integer_uDetectItaWidth =
        numeric<IntegerEdit, int32_t>("Integer_uDetectItaWidth", d.detectItaWidth, -10, 10);
    addRow(sg, 0, "LabelMinSpaceWidth", "Normal Char. :", Integer_uMinSpaceWidth);
    addRow(sg, 1, "LabelMinItaSpaceWidth", "Italic Char.:", Integer_uMinItaSpaceWidth);
    addRow(sg, 2, "LabelDetectItaWidth", "Italic Detection Width :", Integer_uDetectItaWidth);
    sg->setColumnStretch(2, 1);
    return spaceGroup;
}

QGroupBox* OcrSetupDialog::buildEngineGroup(const OcrSettings& d) {
    auto* engineGroup = named(new QGroupBox("OCR Engine Setup"), "GroupBoxOcrEngine");
    auto* eg = new QGridLayout(engineGroup);
    // The label is fixed text; it does not follow the value.
    auto* sensLabel =
        named(new QLabel("Sensibility on Character Difference : 980"), "LabelSensibility");
    Word_uSensibility = numeric<WordEdit, uint16_t>("Word_uSensibility", d.sensibility, 0, 1000);
    TrackBarSensibility = named(new QSlider(Qt::Horizontal), "TrackBarSensibility");
    TrackBarSensibility->setRange(0, 1000);
    TrackBarSensibility->setTickInterval(10);
    TrackBarSensibility->setSingleStep(1);
    TrackBarSensibility->setPageStep(10);
    TrackBarSensibility->setTickPosition(QSlider::TicksBelow);
    TrackBarSensibility->setValue(d.sensibility);
    TrackBarSensibility->setMinimumWidth(260);
    eg->addWidget(sensLabel, 0, 0, 1, 2);
    auto* sensRow = new QHBoxLayout;
    sensRow->addWidget(TrackBarSensibility, 1);
    sensRow->addWidget(Word_uSensibility);
    eg->addLayout(sensRow, 1, 0, 1, 2);
    Word_uOcrWidthDiff =
        numeric<WordEdit, uint16_t>("Word_uOcrWidthDiff", d.maxCharDiffWidth, 0, 45);
    Word_uOcrHeightDiff =
        numeric<WordEdit, uint16_t>("Word_uOcrHeightDiff", d.maxCharDiffHeight, 0, 45);
    Word_uOcrTopDiff = numeric<WordEdit, uint16_t>("Word_uOcrTopDiff", d.maxCharDiffTop, 0, 45);
    addRow(eg, 2, "LabelOcrWidthDiff",
           "Max Char. Width Difference to be the Same Charater :", Word_uOcrWidthDiff);
    addRow(eg, 3, "LabelOcrHeightDiff",
           "Max Char. Height Difference to be the Same Charater :", Word_uOcrHeightDiff);
    addRow(
        eg, 4, "LabelOcrTopDiff",
        "Max Char. Top  Difference (Line Top Relative) to be the Same Char. :", Word_uOcrTopDiff);

    CheckBoxOcrEngine =
        named(new QCheckBox("Read Unknown Characters with a Second OCR Engine (Tesseract)"),
              "CheckBoxOcrEngine");
    CheckBoxOcrEngine->setToolTip(
        "Proposes the text of characters the matrix does not know, and learns it once read "
        "the same way twice");
    eg->addWidget(CheckBoxOcrEngine, 5, 0, 1, 2, Qt::AlignLeft);
    eg->setColumnStretch(2, 1);
    return engineGroup;
}

QHBoxLayout* OcrSetupDialog::buildButtons() {
    ButtonDefaultValues = button("ButtonDefaultValues", "Reload Default Values");
    ButtonSaveValues = button("ButtonSaveValues", "Save these Values");
    BitBtnOk = defaultButton("BitBtnOk", "OK");
    BitBtnCancel = button("BitBtnCancel", "Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonDefaultValues);
    buttons->addWidget(ButtonSaveValues);
    buttons->addStretch(1);
    for (QPushButton* b : {BitBtnOk, BitBtnCancel}) {
        b->setMinimumWidth(90);
        buttons->addWidget(b);
    }
    return buttons;
}

void OcrSetupDialog::connectControls() {
    connect(TrackBarSensibility, &QSlider::valueChanged, this,
            &OcrSetupDialog::TrackBarSensibilityChange);
    connect(Word_uSensibility, &NumericEdit::valueEdited, this,
            &OcrSetupDialog::Word_uSensibilityChange);
    connect(BitBtnOk, &QPushButton::clicked, this, &OcrSetupDialog::BitBtnOkClick);
    connect(BitBtnCancel, &QPushButton::clicked, this, &OcrSetupDialog::BitBtnCancelClick);
    connect(ButtonDefaultValues, &QPushButton::clicked, this,
            &OcrSetupDialog::ButtonDefaultValuesClick);
    connect(ButtonSaveValues, &QPushButton::clicked, this, &OcrSetupDialog::ButtonSaveValuesClick);
}

OcrSettings& OcrSetupDialog::settings() {
    return session_.ocrSettings();
}

void OcrSetupDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void OcrSetupDialog::FormShow() {
    settingsToControls();
    BitBtnCancel->setEnabled(true);
    BitBtnOk->setFocus();
}

void OcrSetupDialog::settingsToControls() {
    const OcrSettings& s = settings();
    Word_uLineMinHeight->setValeur(s.minLineHeight);
    Word_uMinInterLine->setValeur(s.minInterLine);
    Word_uLineMaxHeight->setValeur(s.maxLineHeight);
    Word_uCharMinWidth->setValeur(s.minCharWidth);
    Word_uCharMinHeight->setValeur(s.minCharHeight);
    CheckBoxDetachedChar->setChecked(s.checkDetachedChar);
    Integer_uMinSpaceWidth->setValeur(s.spaceWidth);
    Integer_uMinItaSpaceWidth->setValeur(s.itaSpaceWidth);
    Integer_uDetectItaWidth->setValeur(s.detectItaWidth);
    Word_uSensibility->setValeur(s.sensibility);
    {
        const QSignalBlocker block(TrackBarSensibility);
        TrackBarSensibility->setValue(Word_uSensibility->valeur());
    }
    Word_uOcrWidthDiff->setValeur(s.maxCharDiffWidth);
    Word_uOcrHeightDiff->setValeur(s.maxCharDiffHeight);
    Word_uOcrTopDiff->setValeur(s.maxCharDiffTop);
    CheckBoxOcrEngine->setChecked(session_.ocrPolicy().useEngine);
}

void OcrSetupDialog::controlsToSettings() {
    // A field still holding an out-of-range text (its check runs when it
    // loses the focus) is corrected first, with its warning, so that no
    // value beyond the field's range reaches the narrower setting.
    for (NumericEdit* e : findChildren<NumericEdit*>()) e->runCheck();
    OcrSettings& s = settings();
    s.minLineHeight = static_cast<uint8_t>(Word_uLineMinHeight->valeur());
    s.minInterLine = static_cast<uint8_t>(Word_uMinInterLine->valeur());
    s.maxLineHeight = static_cast<uint8_t>(Word_uLineMaxHeight->valeur());
    s.minCharWidth = static_cast<uint8_t>(Word_uCharMinWidth->valeur());
    s.minCharHeight = static_cast<uint8_t>(Word_uCharMinHeight->valeur());
    s.checkDetachedChar = CheckBoxDetachedChar->isChecked();
    s.spaceWidth = Integer_uMinSpaceWidth->valeur();
    s.itaSpaceWidth = Integer_uMinItaSpaceWidth->valeur();
    s.detectItaWidth = Integer_uDetectItaWidth->valeur();
    s.sensibility = Word_uSensibility->valeur();
    s.maxCharDiffWidth = static_cast<uint8_t>(Word_uOcrWidthDiff->valeur());
    s.maxCharDiffHeight = static_cast<uint8_t>(Word_uOcrHeightDiff->valeur());
    s.maxCharDiffTop = static_cast<uint8_t>(Word_uOcrTopDiff->valeur());
    session_.ocrPolicy().useEngine = CheckBoxOcrEngine->isChecked();
}

void OcrSetupDialog::TrackBarSensibilityChange() {
    Word_uSensibility->setValeur(static_cast<uint16_t>(TrackBarSensibility->value()));
}

void OcrSetupDialog::Word_uSensibilityChange() {
    const QSignalBlocker block(TrackBarSensibility);
    TrackBarSensibility->setValue(Word_uSensibility->valeur());
}

void OcrSetupDialog::BitBtnOkClick() {
    controlsToSettings();
    accept();
}

void OcrSetupDialog::BitBtnCancelClick() {
    settingsToControls();
    QDialog::reject();
}

void OcrSetupDialog::reject() {
    if (BitBtnCancel->isEnabled()) BitBtnCancelClick();
}

void OcrSetupDialog::ButtonDefaultValuesClick() {
    setOcrDefaults(session_);
    settingsToControls();
    BitBtnCancel->setEnabled(false);
}

void OcrSetupDialog::ButtonSaveValuesClick() {
    controlsToSettings();
    Session& session = session_;
    const std::string path = configurationPath_.empty()
                                 ? defaultConfigurationPath(session.programFolder())
                                 : configurationPath_;
    try {
        saveOcrSettings(session, path);
    } catch (const IniWriteError& e) {
        session.ui().messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
    }
    BitBtnCancel->setEnabled(false);
}

}  // namespace orvane::gui
