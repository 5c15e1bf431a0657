#include "gui/bitmap_adjustment_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <vector>

#include "app/bitmap_adjustment.h"
#include "app/session.h"
#include "gui/dialog_host.h"
#include "gui/image_convert.h"
#include "gui/qt_text.h"

#include "gui/widget_factory.h"

namespace orvane::gui {

namespace {

QLabel* label(const char* name, const char* text) {
    return named(new QLabel(text), name);
}

QSpinBox* spin(const char* name, int min, int max) {
    auto* s = named(new QSpinBox, name);
    s->setRange(min, max);
    s->setAlignment(Qt::AlignRight);
    // Room for the widest value of the range, sign included.
    const QString widest = QString::number(std::abs(min) > max ? min : max);
    s->setMinimumWidth(s->fontMetrics().horizontalAdvance(widest) + 40);
    return s;
}

// A radio group: a group box whose radio buttons are its items.
QGroupBox* radioGroup(const char* name, const char* title, std::initializer_list<const char*> items,
                      QRadioButton** buttons, QButtonGroup*& group, QWidget* owner,
                      bool horizontal = false) {
    auto* box = named(new QGroupBox(title), name);
    QBoxLayout* l = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                               : static_cast<QBoxLayout*>(new QVBoxLayout(box));
    group = new QButtonGroup(owner);
    int i = 0;
    for (const char* text : items) {
        buttons[i] = named(new QRadioButton(text), QString("%1%2").arg(name).arg(i));
        group->addButton(buttons[i], i);
        l->addWidget(buttons[i]);
        ++i;
    }
    if (horizontal) l->addStretch(1);
    return box;
}

// The two arrows of the reduce button, pointing up (full window) or down.
QIcon arrowsIcon(bool up, const QColor& colour) {
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int y0 : {1, 7}) {
        QPainterPath path;
        if (up) {
            path.moveTo(7, y0);
            path.lineTo(13, y0 + 6);
            path.lineTo(1, y0 + 6);
        } else {
            path.moveTo(1, y0);
            path.lineTo(13, y0);
            path.lineTo(7, y0 + 6);
        }
        path.closeSubpath();
        p.drawPath(path);
    }
    return QIcon(pm);
}

}  // namespace

BitmapAdjustmentDialog::BitmapAdjustmentDialog(DialogHost& host, Session& session)
    : QDialog(&host.hostWindow(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host),
      session_(session) {
    setObjectName("Form18");
    setWindowTitle("Bitmap adjustment");
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);

    PageControl1 = named(new QTabWidget, "PageControl1");
    TabSheetProfiles = buildProfilesTab();
    TabSheetCropping = buildCroppingTab();
    TabSheetColors = buildColorsTab();
    TabSheetPositioning = buildPositioningTab();
    PageControl1->addTab(TabSheetProfiles, "Profiles");
    PageControl1->addTab(TabSheetCropping, "Cropping");
    PageControl1->addTab(TabSheetColors, "Colors");
    PageControl1->addTab(TabSheetPositioning, "Positioning");
    PageControl1->setCurrentWidget(TabSheetColors);
    v->addWidget(PageControl1, 1);

    auto* bottom = new QHBoxLayout;
    ButtonReduceWindow = button("ButtonReduceWindow", "", "Reduce window size");
    ButtonReduceWindow->setIcon(arrowsIcon(true, palette().color(QPalette::ButtonText)));
    ButtonReduceWindow->setFixedSize(28, 28);
    bottom->addWidget(ButtonReduceWindow);
    bottom->addStretch(1);
    BitBtn1 = defaultButton("BitBtn1", "OK");
    ButtonSkipPict = button("ButtonSkipPict", "&Skip this Picture", "Don't save this Picture");
    for (QPushButton* b : {BitBtn1, ButtonSkipPict}) {
        b->setMinimumWidth(std::max(90, b->sizeHint().width()));
        bottom->addWidget(b);
    }
    v->addLayout(bottom);

    connect(BitBtn1, &QPushButton::clicked, this, &BitmapAdjustmentDialog::BitBtn1Click);
    connect(ButtonSkipPict, &QPushButton::clicked, this,
            &BitmapAdjustmentDialog::ButtonSkipPictClick);
    connect(ButtonReduceWindow, &QPushButton::clicked, this,
            &BitmapAdjustmentDialog::ButtonReduceWindowClick);
}

QWidget* BitmapAdjustmentDialog::buildProfilesTab() {
    auto* page = named(new QWidget, "TabSheetProfiles");
    auto* v = new QVBoxLayout(page);
    auto* current = new QHBoxLayout;
    current->addWidget(label("LabelProfile", "Current Profile :"));
    LabelCurrentProfile = label("LabelCurrentProfile", "None");
    QFont bold = LabelCurrentProfile->font();
    bold.setBold(true);
    LabelCurrentProfile->setFont(bold);
    LabelCurrentProfile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    current->addWidget(LabelCurrentProfile, 1);
    v->addLayout(current);
    ButtonSaveProfile = button("ButtonSaveProfile", "Save settings as a new Profile ...");
    ButtonLoadProfile = button("ButtonLoadProfile", "Load settings from a Profile ...");
    ButtonSaveBMP = button("ButtonSaveBMP", "Save Current BMP &As ...");
    v->addWidget(ButtonSaveProfile);
    v->addWidget(ButtonLoadProfile);
    v->addSpacing(12);
    v->addWidget(ButtonSaveBMP);
    v->addStretch(1);

    connect(ButtonSaveProfile, &QPushButton::clicked, this,
            &BitmapAdjustmentDialog::ButtonSaveProfileClick);
    connect(ButtonLoadProfile, &QPushButton::clicked, this,
            &BitmapAdjustmentDialog::ButtonLoadProfileClick);
    connect(ButtonSaveBMP, &QPushButton::clicked, this,
            &BitmapAdjustmentDialog::ButtonSaveBMPClick);
    return page;
}

QWidget* BitmapAdjustmentDialog::buildCroppingTab() {
    auto* page = named(new QWidget, "TabSheetCropping");
    auto* v = new QVBoxLayout(page);
    CheckBoxAllowBmpCropping =
        named(new QCheckBox("Allow BMP Cropping ( Only keep the text area ) :"),
              "CheckBoxAllowBmpCropping");
    v->addWidget(CheckBoxAllowBmpCropping);

    GroupBoxSizeConstraints =
        named(new QGroupBox("Size Constraints : ( Maximum size is 720 x 576 )"),
              "GroupBoxSizeConstraints");
    auto* sg = new QGridLayout(GroupBoxSizeConstraints);
    SpinEditMinX = spin("SpinEditMinX", 0, 720);
    SpinEditMinY = spin("SpinEditMinY", 0, 576);
    SpinEditDivX = spin("SpinEditDivX", 1, 32);
    SpinEditDivY = spin("SpinEditDivY", 1, 32);
    sg->addWidget(label("LabelMinX", "Minimum Width :"), 0, 0, Qt::AlignRight);
    sg->addWidget(SpinEditMinX, 0, 1);
    sg->addWidget(label("LabelMinY", "Minimum Height :"), 0, 2, Qt::AlignRight);
    sg->addWidget(SpinEditMinY, 0, 3);
    sg->addWidget(label("LabelDivX", "Width multiple of :"), 1, 0, Qt::AlignRight);
    sg->addWidget(SpinEditDivX, 1, 1);
    sg->addWidget(label("LabelDivY", "Height multiple of :"), 1, 2, Qt::AlignRight);
    sg->addWidget(SpinEditDivY, 1, 3);
    sg->setColumnStretch(4, 1);
    v->addWidget(GroupBoxSizeConstraints);

    GroupBoxCropPosition =
        named(new QGroupBox("Text position in the picture :"), "GroupBoxCropPosition");
    auto* pg = new QGridLayout(GroupBoxCropPosition);
    RadioGroupHAlignment =
        radioGroup("RadioGroupHAlignment", "Horizontal :", {"Left", "Center", "Right"},
                   RadioHAlignment, hAlign_, this);
    RadioGroupVAlignment =
        radioGroup("RadioGroupVAlignment", "Vertical :", {"Top", "Center", "Bottom"},
                   RadioVAlignment, vAlign_, this);
    SpinEditXShift = spin("SpinEditXShift", -720, 720);
    SpinEditYShift = spin("SpinEditYShift", -576, 576);
    pg->addWidget(RadioGroupHAlignment, 0, 0, 1, 2);
    pg->addWidget(RadioGroupVAlignment, 0, 2, 1, 2);
    pg->addWidget(label("LabelXShift", "X Shift :"), 1, 0, Qt::AlignRight);
    pg->addWidget(SpinEditXShift, 1, 1, Qt::AlignLeft);
    pg->addWidget(label("LabelYShift", "Y Shift :"), 1, 2, Qt::AlignRight);
    pg->addWidget(SpinEditYShift, 1, 3, Qt::AlignLeft);
    v->addWidget(GroupBoxCropPosition);
    v->addStretch(1);

    connect(CheckBoxAllowBmpCropping, &QCheckBox::toggled, this,
            &BitmapAdjustmentDialog::CroppingChange);
    for (QSpinBox* s :
         {SpinEditMinX, SpinEditMinY, SpinEditDivX, SpinEditDivY, SpinEditXShift, SpinEditYShift})
        connect(s, &QSpinBox::valueChanged, this, &BitmapAdjustmentDialog::CroppingChange);
    connect(hAlign_, &QButtonGroup::idClicked, this, &BitmapAdjustmentDialog::CroppingChange);
    connect(vAlign_, &QButtonGroup::idClicked, this, &BitmapAdjustmentDialog::CroppingChange);
    return page;
}

QWidget* BitmapAdjustmentDialog::buildColorsTab() {
    auto* page = named(new QWidget, "TabSheetColors");
    auto* v = new QVBoxLayout(page);
    auto* depthRow = new QHBoxLayout;
    depthRow->addWidget(label("LabelBitPerPixel", "Bits per pixel :"));
    ComboBoxBitPerPixel = named(new QComboBox, "ComboBoxBitPerPixel");
    ComboBoxBitPerPixel->addItems({"4 bits", "8 bits"});
    depthRow->addWidget(ComboBoxBitPerPixel);
    depthRow->addStretch(1);
    ButtonAutoSortColor = button("ButtonAutoSortColor", "Auto sort colors");
    depthRow->addWidget(ButtonAutoSortColor);
    v->addLayout(depthRow);

    buildRolesGroup(v);

    RadioGroupPresetPaletteIndex = radioGroup(
        "RadioGroupPresetPaletteIndex", "Preset Palette Index :", {"Free", "I-Author", "Philips"},
        RadioPreset, presets_, this, true);
    v->addWidget(RadioGroupPresetPaletteIndex);
    v->addStretch(1);

    connect(ComboBoxBitPerPixel, &QComboBox::currentIndexChanged, this,
            &BitmapAdjustmentDialog::ComboBoxBitPerPixelChange);
    connect(presets_, &QButtonGroup::idClicked, this,
            &BitmapAdjustmentDialog::RadioGroupPresetPaletteIndexClick);
    connect(ButtonAutoSortColor, &QPushButton::clicked, this,
            &BitmapAdjustmentDialog::ButtonAutoSortColorClick);
    return page;
}

void BitmapAdjustmentDialog::buildRolesGroup(QVBoxLayout* v) {
    auto* roles = new QGridLayout;
    roles->setHorizontalSpacing(10);
    roles->addWidget(label("LabelDVDColors", "Colors order in the original DVD :"), 0, 1,
                     Qt::AlignCenter);
    roles->addWidget(label("LabelBmpColors", "BMP Colors :"), 0, 2, Qt::AlignCenter);
    roles->addWidget(label("LabelPaletteIndex", "Palette Index :"), 0, 3, Qt::AlignCenter);
    const char* roleNames[kRoleCount] = {"- Background ->", "- Font ------------->",
                                         "- Outline --------->", "- Antialiasing --->"};
    QStringList numbers;
    for (int n = 0; n < 4; ++n) numbers << QString::number(n);
    QStringList indices;
    for (int n = 0; n < 16; ++n) indices << QString::number(n);
    for (int r = 0; r < kRoleCount; ++r) {
        roles->addWidget(named(new QLabel(roleNames[r]), QString("LabelRole%1").arg(r)), r + 1, 0);
        ComboBoxDVDColor[r] = named(new QComboBox, QString("ComboBoxDVDColor%1").arg(r));
        ComboBoxDVDColor[r]->addItems(numbers);
        roles->addWidget(ComboBoxDVDColor[r], r + 1, 1, Qt::AlignCenter);
        PanelColor[r] = named(new QFrame, QString("PanelColor%1").arg(r));
        roles->addWidget(PanelColor[r], r + 1, 2, Qt::AlignCenter);
        ComboBoxColorIndex[r] = named(new QComboBox, QString("ComboBoxColorIndex%1").arg(r));
        ComboBoxColorIndex[r]->addItems(indices);
        roles->addWidget(ComboBoxColorIndex[r], r + 1, 3, Qt::AlignCenter);
        connect(ComboBoxDVDColor[r], &QComboBox::currentIndexChanged, this,
                [this, r] { ComboBoxDVDColorChange(r); });
        connect(ComboBoxColorIndex[r], &QComboBox::currentIndexChanged, this,
                [this, r] { ComboBoxColorIndexChange(r); });
    }
    PanelUnusedColor = named(new QFrame, "PanelUnusedColor");
    roles->addWidget(label("LabelUnusedColor", "Unused Palette Colors :"), kRoleCount + 1, 0, 1, 2,
                     Qt::AlignRight);
    roles->addWidget(PanelUnusedColor, kRoleCount + 1, 2, Qt::AlignCenter);
    CheckBoxDiscColors = named(new QCheckBox("Disc colours"), "CheckBoxDiscColors");
    CheckBoxDiscColors->setToolTip(
        "Use the colours the disc gives each subtitle (from the title's IFO) instead of the "
        "colours above");
    roles->addWidget(CheckBoxDiscColors, kRoleCount + 2, 0, 1, 4);
    connect(CheckBoxDiscColors, &QCheckBox::toggled, this,
            [this](bool on) { adjustment_->setDiscColours(on); });
    roles->setColumnStretch(4, 1);
    for (QFrame* p :
         {PanelColor[0], PanelColor[1], PanelColor[2], PanelColor[3], PanelUnusedColor}) {
        p->setFrameShape(QFrame::Panel);
        p->setFrameShadow(QFrame::Sunken);
        p->setFixedSize(56, 22);
        p->setAutoFillBackground(true);
        p->setCursor(Qt::PointingHandCursor);
        p->setToolTip("Click to change the color");
        p->installEventFilter(this);
    }
    v->addLayout(roles);
}

namespace {

// One group per edge: four modes, the value of "Set to :" and a shift.
QGroupBox* edgeGroup(QObject* owner, const char* name, const char* title, QRadioButton*& keep,
                     QRadioButton*& centre, QRadioButton*& far, QRadioButton*& set,
                     const char* keepName, const char* centreName, const char* farName,
                     const char* setName, const char* farText, QSpinBox*& value, QSpinBox*& shift,
                     const char* valueName, const char* shiftName, int valueMax, int shiftMax,
                     QButtonGroup*& group) {
    auto* box = named(new QGroupBox(title), name);
    auto* g = new QGridLayout(box);
    keep = named(new QRadioButton("Keep original position"), keepName);
    centre = named(new QRadioButton("Center"), centreName);
    far = named(new QRadioButton(farText), farName);
    set = named(new QRadioButton("Set to :"), setName);
    group = new QButtonGroup(owner);
    int id = 0;
    for (QRadioButton* b : {keep, centre, far, set}) group->addButton(b, id++);
    value = spin(valueName, 0, valueMax);
    shift = spin(shiftName, -shiftMax, shiftMax);
    g->addWidget(keep, 0, 0, 1, 2);
    g->addWidget(centre, 1, 0, 1, 2);
    g->addWidget(far, 2, 0, 1, 2);
    g->addWidget(set, 3, 0);
    g->addWidget(value, 3, 1, Qt::AlignLeft);
    g->addWidget(named(new QLabel("Add :"), QString("LabelAdd%1").arg(name)), 4, 0, Qt::AlignRight);
    g->addWidget(shift, 4, 1, Qt::AlignLeft);
    g->setColumnStretch(1, 1);
    return box;
}

}  // namespace

QWidget* BitmapAdjustmentDialog::buildPositioningTab() {
    auto* page = named(new QWidget, "TabSheetPositioning");
    auto* v = new QVBoxLayout(page);
    CheckBoxAllowPositionChange =
        named(new QCheckBox("Allow BMP position change :"), "CheckBoxAllowPositionChange");
    v->addWidget(CheckBoxAllowPositionChange);

    GroupBoxLeftPosition = edgeGroup(
        this, "GroupBoxLeftPosition", "Left ( X1 ) :", RadioButtonOriginalLeftPos,
        RadioButtonCenterLeftPos, RadioButtonRightLeftPos, RadioButtonSetLeftPos,
        "RadioButtonOriginalLeftPos", "RadioButtonCenterLeftPos", "RadioButtonRightLeftPos",
        "RadioButtonSetLeftPos", "Right ( X1= 720 - Width )", SpinEditLeftPosition,
        SpinEditAddLeftPos, "SpinEditLeftPosition", "SpinEditAddLeftPos", 719, 720, leftModes_);
    GroupBoxTopPosition = edgeGroup(
        this, "GroupBoxTopPosition", "Top ( Y1 ) :", RadioButtonOriginalTopPos,
        RadioButtonCenterTopPos, RadioButtonBottomTopPos, RadioButtonSetTopPos,
        "RadioButtonOriginalTopPos", "RadioButtonCenterTopPos", "RadioButtonBottomTopPos",
        "RadioButtonSetTopPos", "Bottom ( Y1= 576 - Height )", SpinEditTopPosition,
        SpinEditAddTopPos, "SpinEditTopPosition", "SpinEditAddTopPos", 575, 576, topModes_);
    auto* row = new QHBoxLayout;
    row->addWidget(GroupBoxLeftPosition);
    row->addWidget(GroupBoxTopPosition);
    v->addLayout(row);
    v->addStretch(1);

    connect(CheckBoxAllowPositionChange, &QCheckBox::toggled, this,
            &BitmapAdjustmentDialog::PositioningChange);
    for (QSpinBox* s :
         {SpinEditLeftPosition, SpinEditAddLeftPos, SpinEditTopPosition, SpinEditAddTopPos})
        connect(s, &QSpinBox::valueChanged, this, &BitmapAdjustmentDialog::PositioningChange);
    connect(leftModes_, &QButtonGroup::idClicked, this, &BitmapAdjustmentDialog::PositioningChange);
    connect(topModes_, &QButtonGroup::idClicked, this, &BitmapAdjustmentDialog::PositioningChange);
    return page;
}

// ------------------------------------------------------------------ showing

void BitmapAdjustmentDialog::run(BitmapAdjustment& adjustment) {
    adjustment_ = &adjustment;
    // Beside the main window, so that the preview stays in sight; at the
    // screen's right edge when there is no room beside it.
    const QRect m = host_.hostWindow().frameGeometry();
    if (!testAttribute(Qt::WA_Resized)) adjustSize();
    const QSize own = size();
    int x = m.right() + 10;
    if (const QScreen* screen = host_.hostWindow().screen()) {
        const int right = screen->availableGeometry().right();
        if (x + own.width() > right) x = std::max(0, right - own.width());
    }
    move(x, m.top() + 80);
    exec();
    adjustment_ = nullptr;
}

void BitmapAdjustmentDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void BitmapAdjustmentDialog::FormShow() {
    QWidget& text = host_.subtitleView();
    subtitleWasVisible_ = text.isVisible();
    text.hide();
    // The session has set the save flag, sorted the colours, applied the
    // preset and shown the adjusted picture; the controls follow.
    fillControls();
    BitBtn1->setFocus();
}

void BitmapAdjustmentDialog::done(int result) {
    // The subtitle window comes back however the dialog is left: with Skip
    // it would otherwise stay hidden for good, the next showing taking the
    // hidden state as the one to restore.
    if (subtitleWasVisible_) host_.subtitleView().show();
    subtitleWasVisible_ = false;
    QDialog::done(result);
}

void BitmapAdjustmentDialog::fillControls() {
    if (!adjustment_) return;
    std::vector<QSignalBlocker> blockers;
    for (QWidget* w : findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
            blockers.emplace_back(w);
    const BitmapExportSettings& s = adjustment_->settings();

    const BitmapCropping& c = s.cropping;
    CheckBoxAllowBmpCropping->setChecked(c.enabled);
    SpinEditMinX->setValue(c.minWidth);
    SpinEditMinY->setValue(c.minHeight);
    SpinEditDivX->setValue(c.widthMultiple);
    SpinEditDivY->setValue(c.heightMultiple);
    if (c.alignX < 3) RadioHAlignment[c.alignX]->setChecked(true);
    if (c.alignY < 3) RadioVAlignment[c.alignY]->setChecked(true);
    SpinEditXShift->setValue(c.shiftX);
    SpinEditYShift->setValue(c.shiftY);

    const BitmapPositioning& p = s.positioning;
    CheckBoxAllowPositionChange->setChecked(p.enabled);
    if (QAbstractButton* b = leftModes_->button(p.leftMode)) b->setChecked(true);
    if (QAbstractButton* b = topModes_->button(p.topMode)) b->setChecked(true);
    SpinEditLeftPosition->setValue(p.leftValue);
    SpinEditAddLeftPos->setValue(p.leftShift);
    SpinEditTopPosition->setValue(p.topValue);
    SpinEditAddTopPos->setValue(p.topShift);

    fillColourControls();
    LabelCurrentProfile->setText(toQt(adjustment_->currentProfile()));
    updateEnabled();
}

void BitmapAdjustmentDialog::fillColourControls() {
    std::vector<QSignalBlocker> blockers;
    for (QComboBox* b : ComboBoxDVDColor) blockers.emplace_back(b);
    for (QComboBox* b : ComboBoxColorIndex) blockers.emplace_back(b);
    blockers.emplace_back(ComboBoxBitPerPixel);
    blockers.emplace_back(CheckBoxDiscColors);
    const BitmapColours& c = adjustment_->settings().colours;
    CheckBoxDiscColors->setChecked(c.discColours);
    const ColourRanking& roles = adjustment_->colourRoles();
    ComboBoxBitPerPixel->setCurrentIndex(c.bitsPerPixel == 8 ? 1 : 0);
    for (size_t r = 0; r < kRoleCount; ++r) {
        ComboBoxDVDColor[r]->setCurrentIndex(roles[r] < 4 ? roles[r] : 0);
        ComboBoxColorIndex[r]->setCurrentIndex(c.paletteIndex[r] < 16 ? c.paletteIndex[r] : 0);
        setPanelColour(PanelColor[r], c.roleColour[r]);
        ComboBoxColorIndex[r]->setEnabled(adjustment_->indexBoxesEnabled());
    }
    setPanelColour(PanelUnusedColor, c.unusedColour);
    if (QAbstractButton* b = presets_->button(static_cast<int>(c.preset))) b->setChecked(true);
}

void BitmapAdjustmentDialog::updateEnabled() {
    GroupBoxSizeConstraints->setEnabled(CheckBoxAllowBmpCropping->isChecked());
    GroupBoxCropPosition->setEnabled(CheckBoxAllowBmpCropping->isChecked());
    GroupBoxLeftPosition->setEnabled(CheckBoxAllowPositionChange->isChecked());
    GroupBoxTopPosition->setEnabled(CheckBoxAllowPositionChange->isChecked());
}

void BitmapAdjustmentDialog::setPanelColour(QFrame* panel, Colour c) {
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, toQColor(c));
    panel->setPalette(pal);
    panel->setProperty("colour", static_cast<uint>(c));
}

// ------------------------------------------------------ cropping, position

void BitmapAdjustmentDialog::CroppingChange() {
    if (!adjustment_) return;
    BitmapCropping c;
    c.enabled = CheckBoxAllowBmpCropping->isChecked();
    c.minWidth = static_cast<uint16_t>(SpinEditMinX->value());
    c.minHeight = static_cast<uint16_t>(SpinEditMinY->value());
    c.widthMultiple = static_cast<uint16_t>(SpinEditDivX->value());
    c.heightMultiple = static_cast<uint16_t>(SpinEditDivY->value());
    c.alignX = static_cast<uint8_t>(std::max(0, hAlign_->checkedId()));
    c.alignY = static_cast<uint8_t>(std::max(0, vAlign_->checkedId()));
    c.shiftX = SpinEditXShift->value();
    c.shiftY = SpinEditYShift->value();
    updateEnabled();
    adjustment_->setCropping(c);
}

void BitmapAdjustmentDialog::PositioningChange() {
    if (!adjustment_) return;
    BitmapPositioning p;
    p.enabled = CheckBoxAllowPositionChange->isChecked();
    p.leftMode = static_cast<uint8_t>(std::max(0, leftModes_->checkedId()));
    p.leftValue = SpinEditLeftPosition->value();
    p.leftShift = SpinEditAddLeftPos->value();
    p.topMode = static_cast<uint8_t>(std::max(0, topModes_->checkedId()));
    p.topValue = SpinEditTopPosition->value();
    p.topShift = SpinEditAddTopPos->value();
    updateEnabled();
    adjustment_->setPositioning(p);
}

// ------------------------------------------------------------------ colours

void BitmapAdjustmentDialog::ComboBoxBitPerPixelChange() {
    if (!adjustment_) return;
    adjustment_->setBitsPerPixel(ComboBoxBitPerPixel->currentIndex() == 1 ? 8 : 4);
}

void BitmapAdjustmentDialog::ComboBoxDVDColorChange(int role) {
    if (!adjustment_) return;
    const int number = ComboBoxDVDColor[static_cast<size_t>(role)]->currentIndex();
    if (number < 0) return;
    adjustment_->changeRoleNumber(role, static_cast<uint8_t>(number));
    // The role that held the number has taken the one set free.
    fillColourControls();
}

void BitmapAdjustmentDialog::ComboBoxColorIndexChange(int role) {
    if (!adjustment_) return;
    QComboBox* box = ComboBoxColorIndex[static_cast<size_t>(role)];
    if (box->currentIndex() < 0) return;
    if (!adjustment_->changePaletteIndex(role, static_cast<uint8_t>(box->currentIndex()))) {
        // Refused (message 36): the box goes back to its role's index.
        const QSignalBlocker block(box);
        box->setCurrentIndex(
            adjustment_->settings().colours.paletteIndex[static_cast<size_t>(role)]);
    }
}

void BitmapAdjustmentDialog::RadioGroupPresetPaletteIndexClick() {
    if (!adjustment_) return;
    const int id = presets_->checkedId();
    if (id < 0 || id > 2) return;
    adjustment_->choosePreset(static_cast<PalettePreset>(id));
    fillColourControls();
}

void BitmapAdjustmentDialog::ButtonAutoSortColorClick() {
    if (!adjustment_) return;
    adjustment_->autoSortColours();
    fillColourControls();
}

bool BitmapAdjustmentDialog::chooseColour(Colour& c) {
    QColorDialog dialog(toQColor(c), this);
    dialog.setObjectName("ColorDialog1");
    // Qt's own dialog in full mode, the same on every desktop.
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid()) return false;
    c = fromQColor(dialog.selectedColor());
    return true;
}

void BitmapAdjustmentDialog::PanelColorClick(int role) {
    if (!adjustment_ || role < 0 || role >= kRoleCount) return;
    Colour c = adjustment_->settings().colours.roleColour[static_cast<size_t>(role)];
    if (!chooseColour(c)) return;
    adjustment_->setRoleColour(role, c);
    setPanelColour(PanelColor[static_cast<size_t>(role)], c);
}

void BitmapAdjustmentDialog::PanelUnusedColorClick() {
    if (!adjustment_) return;
    Colour c = adjustment_->settings().colours.unusedColour;
    if (!chooseColour(c)) return;
    adjustment_->setUnusedColour(c);
    setPanelColour(PanelUnusedColor, c);
}

bool BitmapAdjustmentDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int r = 0; r < kRoleCount; ++r) {
            if (watched == PanelColor[static_cast<size_t>(r)]) {
                PanelColorClick(r);
                return true;
            }
        }
        if (watched == PanelUnusedColor) {
            PanelUnusedColorClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ----------------------------------------------------------------- profiles

void BitmapAdjustmentDialog::ButtonSaveProfileClick() {
    if (!adjustment_) return;
    adjustment_->saveProfile();
    LabelCurrentProfile->setText(toQt(adjustment_->currentProfile()));
}

void BitmapAdjustmentDialog::ButtonLoadProfileClick() {
    if (!adjustment_) return;
    // The core has applied the preset and shown the result; a cancelled
    // dialog leaves everything as it was.
    if (adjustment_->loadProfile()) fillControls();
}

void BitmapAdjustmentDialog::ButtonSaveBMPClick() {
    if (!adjustment_) return;
    adjustment_->saveCurrentBmp();
}

// ------------------------------------------------------------ OK, Skip, size

void BitmapAdjustmentDialog::BitBtn1Click() {
    if (adjustment_) adjustment_->ok();
    accept();
}

void BitmapAdjustmentDialog::ButtonSkipPictClick() {
    if (adjustment_) adjustment_->skip();
    reject();
}

void BitmapAdjustmentDialog::ButtonReduceWindowClick() {
    reduced_ = !reduced_;
    // Everything but the reduce button goes away in the small window.
    PageControl1->setVisible(!reduced_);
    BitBtn1->setVisible(!reduced_);
    ButtonSkipPict->setVisible(!reduced_);
    ButtonReduceWindow->setIcon(arrowsIcon(!reduced_, palette().color(QPalette::ButtonText)));
    if (reduced_) {
        fullSize_ = size();
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    } else {
        layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (fullSize_.isValid()) resize(fullSize_);
    }
}

}  // namespace orvane::gui
