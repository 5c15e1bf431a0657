#include "gui/time_correction_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/session.h"
#include "gui/numeric_edit.h"

#include "gui/widget_factory.h"

namespace orvane::gui {

namespace {

WordEdit* wordEdit(const char* name, uint16_t value, uint16_t min, uint16_t max) {
    return numericEdit<WordEdit>(name, value, min, max, "000000", 12);
}

// The hourglass until the end of the scope, also when a step throws.
struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

TimeCorrectionDialog::TimeCorrectionDialog(QWidget& parent, Session& session)
    : QDialog(&parent), session_(session) {
    setObjectName("Form14");
    setWindowTitle("Time correction");
    auto* v = new QVBoxLayout(this);

    buildOffsetGroup(v);
    buildStretchGroup(v);
    buildDurationGroup(v);
    buildIntervalGroup(v);
    buildButtons(v);
    connectControls();

    settingsToControls();
    RadioGroupTimeClick();
}

void TimeCorrectionDialog::buildOffsetGroup(QVBoxLayout* v) {
    auto* offsetGroup = named(new QGroupBox("Time Offset / Start Match"), "GroupBoxOffset");
    auto* og = new QVBoxLayout(offsetGroup);
    og->addWidget(label("LabelOffset", "Add/Remove this time to/from each Subtitle Time Code"));
    og->addLayout(signedTimeRow("Offset", "", CheckBoxMinusOffset, offset, ButtonResetOffset));
    v->addWidget(offsetGroup);
}

// "Minus", the four fields and "&Reset": the offset and the stretch alike.
QHBoxLayout* TimeCorrectionDialog::signedTimeRow(const QString& part, const QString& fieldSuffix,
                                                 QCheckBox*& minus, TimeFields& fields,
                                                 QPushButton*& reset) {
    auto* row = new QHBoxLayout;
    minus = named(new QCheckBox("Minus"), "CheckBoxMinus" + part);
    row->addWidget(minus);
    row->addSpacing(8);
    fields = TimeFields::create(fieldSuffix, row);
    row->addSpacing(8);
    reset = button("ButtonReset" + part, "&Reset");
    row->addWidget(reset);
    row->addStretch(1);
    return row;
}

void TimeCorrectionDialog::buildStretchGroup(QVBoxLayout* v) {
    auto* stretchGroup = named(new QGroupBox("Time Stretch / Speed Adjust"), "GroupBoxStretch");
    auto* sg = new QVBoxLayout(stretchGroup);
    sg->addWidget(
        label("LabelStretch", "Add/Remove this time to/from the total Subtitles file duration"));
    sg->addWidget(label("LabelStretchExample",
                        "( E.g.: Use 5s minus if the subtitle is 5s longer than the film )"));
    sg->addLayout(signedTimeRow("Stretch", "S", CheckBoxMinusStretch, stretch, ButtonResetStretch));
    v->addWidget(stretchGroup);
}

void TimeCorrectionDialog::buildDurationGroup(QVBoxLayout* v) {
    auto* durationGroup = named(new QGroupBox("Subtitles Duration"), "GroupBoxDuration");
    auto* dg = new QVBoxLayout(durationGroup);
    CheckBoxSubDuration =
        named(new QCheckBox("Modify the duration of each subtitle (Not recommended) :"),
              "CheckBoxSubDuration");
    dg->addWidget(CheckBoxSubDuration);
    auto* drow = new QHBoxLayout;
    RadioGroupTime = named(
        new QGroupBox("Subtitle duration method : ( Limited by the next subtitle start-time )"),
        "RadioGroupTime");
    auto* rg = new QVBoxLayout(RadioGroupTime);
    auto* methods = new QButtonGroup(this);
    const char* items[] = {"Fixed Time", "Subtitle Length Prop. Time"};
    for (int i = 0; i < 2; ++i) {
        RadioTime[i] = new QRadioButton(items[i]);
        RadioTime[i]->setObjectName(QString("RadioGroupTime%1").arg(i));
        methods->addButton(RadioTime[i], i);
        rg->addWidget(RadioTime[i]);
    }
    RadioTime[1]->setChecked(true);
    connect(methods, &QButtonGroup::idClicked, this, &TimeCorrectionDialog::RadioGroupTimeClick);
    drow->addWidget(RadioGroupTime);

    PanelFixedTime = named(new QFrame, "PanelFixedTime");
    auto* fixed = new QHBoxLayout(PanelFixedTime);
    fixed->addWidget(label("LabelFixedDuration", "Time duration in milli Seconds :"));
    Word_uFixedDuration = wordEdit("Word_uFixedDuration", 4000, 0, 65535);
    fixed->addWidget(Word_uFixedDuration);
    fixed->addStretch(1);
    PanelProportionalTime = named(new QFrame, "PanelProportionalTime");
    auto* prop = new QHBoxLayout(PanelProportionalTime);
    prop->addWidget(label("LabelOffsetDuration", "Offset (ms) :"));
    Word_uOffsetDuration = wordEdit("Word_uOffsetDuration", 500, 0, 9999);
    prop->addWidget(Word_uOffsetDuration);
    prop->addWidget(label("LabelPlus", "+"));
    Word_uMsPerChar = wordEdit("Word_uMsPerChar", 50, 0, 99);
    prop->addWidget(Word_uMsPerChar);
    prop->addWidget(label("LabelMsPerChar", "ms x Nb. Characters."));
    prop->addStretch(1);
    auto* panels = new QVBoxLayout;
    panels->addWidget(PanelFixedTime);
    panels->addWidget(PanelProportionalTime);
    panels->addStretch(1);
    drow->addLayout(panels, 1);
    dg->addLayout(drow);
    v->addWidget(durationGroup);
}

void TimeCorrectionDialog::buildIntervalGroup(QVBoxLayout* v) {
    auto* intervalGroup =
        named(new QGroupBox("Minimum Interval between two Subtitles"), "GroupBoxMinInterval");
    auto* ig = new QHBoxLayout(intervalGroup);
    ig->addWidget(
        label("LabelMinInterval", "Force this value as minimum ms between two subtitles :"));
    Word_uMinInterval = wordEdit("Word_uMinInterval", 0, 0, 9999);
    ig->addWidget(Word_uMinInterval);
    ig->addStretch(1);
    v->addWidget(intervalGroup);
}

void TimeCorrectionDialog::buildButtons(QVBoxLayout* v) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtnModifyTC = defaultButton("BitBtnModifyTC", "&Correct Time");
    BitBtn1 = button("BitBtn1", "&Cancel");
    buttons->addWidget(BitBtnModifyTC);
    buttons->addWidget(BitBtn1);
    v->addLayout(buttons);
}

void TimeCorrectionDialog::connectControls() {
    connect(ButtonResetOffset, &QPushButton::clicked, this,
            &TimeCorrectionDialog::ButtonResetOffsetClick);
    connect(ButtonResetStretch, &QPushButton::clicked, this,
            &TimeCorrectionDialog::ButtonResetStretchClick);
    connect(BitBtnModifyTC, &QPushButton::clicked, this,
            &TimeCorrectionDialog::BitBtnModifyTCClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    for (QCheckBox* c : {CheckBoxMinusOffset, CheckBoxMinusStretch, CheckBoxSubDuration})
        connect(c, &QCheckBox::toggled, this, &TimeCorrectionDialog::controlsToSettings);
    for (const TimeFields* f : {&offset, &stretch})
        for (WordEdit* e : *f)
            connect(e, &NumericEdit::valueEdited, this, &TimeCorrectionDialog::controlsToSettings);
    for (WordEdit* e :
         {Word_uFixedDuration, Word_uOffsetDuration, Word_uMsPerChar, Word_uMinInterval})
        connect(e, &NumericEdit::valueEdited, this, &TimeCorrectionDialog::controlsToSettings);
}

void TimeCorrectionDialog::run() {
    exec();
}

void TimeCorrectionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TimeCorrectionDialog::FormShow() {
    settings_.prepareForShowing();
    settingsToControls();
    RadioGroupTimeClick();
}

void TimeCorrectionDialog::settingsToControls() {
    filling_ = true;
    CheckBoxMinusOffset->setChecked(settings_.minusOffset);
    offset.setValue(settings_.offset);
    CheckBoxMinusStretch->setChecked(settings_.minusStretch);
    stretch.setValue(settings_.stretch);
    CheckBoxSubDuration->setChecked(settings_.modifyDuration);
    RadioTime[settings_.durationMethod == DurationMethod::Fixed ? 0 : 1]->setChecked(true);
    Word_uFixedDuration->setValeur(settings_.fixedDuration);
    Word_uOffsetDuration->setValeur(settings_.offsetDuration);
    Word_uMsPerChar->setValeur(settings_.msPerCharacter);
    Word_uMinInterval->setValeur(settings_.minimumInterval);
    filling_ = false;
}

void TimeCorrectionDialog::controlsToSettings() {
    if (filling_) return;
    settings_.minusOffset = CheckBoxMinusOffset->isChecked();
    settings_.offset = offset.value();
    settings_.minusStretch = CheckBoxMinusStretch->isChecked();
    settings_.stretch = stretch.value();
    settings_.modifyDuration = CheckBoxSubDuration->isChecked();
    settings_.durationMethod =
        RadioTime[0]->isChecked() ? DurationMethod::Fixed : DurationMethod::Proportional;
    settings_.fixedDuration = Word_uFixedDuration->valeur();
    settings_.offsetDuration = Word_uOffsetDuration->valeur();
    settings_.msPerCharacter = Word_uMsPerChar->valeur();
    settings_.minimumInterval = Word_uMinInterval->valeur();
}

void TimeCorrectionDialog::ButtonResetOffsetClick() {
    offset.reset();
    controlsToSettings();
}

void TimeCorrectionDialog::ButtonResetStretchClick() {
    stretch.reset();
    controlsToSettings();
}

void TimeCorrectionDialog::RadioGroupTimeClick() {
    PanelFixedTime->hide();
    PanelProportionalTime->hide();
    if (RadioTime[0]->isChecked())
        PanelFixedTime->show();
    else
        PanelProportionalTime->show();
    controlsToSettings();
}

void TimeCorrectionDialog::BitBtnModifyTCClick() {
    // The boxes' texts as they stand, also one still being typed in.
    controlsToSettings();
    {
        const BusyCursor busy;
        session_.correctTimes(settings_);
    }
    accept();
}

}  // namespace orvane::gui
