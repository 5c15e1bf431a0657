// The main window's preview: the frame standing for the video frame, the
// background behind the picture, the "Display Options" panel and the
// window drag.

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/preview_layout.h"
#include "app/vob_folder.h"
#include "gui/image_convert.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/widget_factory.h"
#include "subpicture/colour_ranking.h"

namespace orvane::gui {

QWidget* MainWindow::buildPreview() {
    ScrollPreview = new QScrollArea;
    ScrollPreview->setObjectName("ScrollPreview");
    ScrollPreview->setFrameShape(QFrame::NoFrame);
    ScrollPreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* holder = new QWidget;
    holder->setObjectName("PanelPreview");
    BevelScreen = new QFrame(holder);
    BevelScreen->setObjectName("BevelScreen");
    BevelScreen->setFrameShape(QFrame::Box);
    BevelScreen->setFrameShadow(QFrame::Sunken);
    BevelScreen->setLineWidth(2);
    ImageBack = new QLabel(BevelScreen);
    ImageBack->setObjectName("ImageBack");
    ImageBack->setScaledContents(true);
    Image1 = new QLabel(BevelScreen);
    Image1->setObjectName("Image1");
    Image1->setScaledContents(true);
    Image1->setAttribute(Qt::WA_TranslucentBackground);
    ScrollPreview->setWidget(holder);
    installDrag(holder);
    installDrag(ImageBack);
    installDrag(Image1);
    return ScrollPreview;
}

QFrame* MainWindow::buildPreviewPanel() {
    auto* panel = new QFrame;
    panel->setObjectName("PanelPreviewCfg");
    panel->setFrameShape(QFrame::StyledPanel);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(8, 6, 8, 8);
    auto* title = label("LabelDisplayOptions", "Display Options");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    v->addWidget(title);

    buildZoomGroup(v);
    buildBackgroundGroup(v);

    auto* colours = new QHBoxLayout;
    PanelBorderColor = button("PanelBorderColor", "Border", "Border color");
    PanelInnerColor = button("PanelInnerColor", "Inner", "Inner color");
    colours->addWidget(PanelBorderColor);
    colours->addWidget(PanelInnerColor);
    v->addLayout(colours);
    v->addStretch(1);
    panel->hide();

    connectPreviewPanel();
    return panel;
}

void MainWindow::buildZoomGroup(QVBoxLayout* v) {
    CheckBoxTruePos = new QCheckBox("Show at true position");
    CheckBoxTruePos->setObjectName("CheckBoxTruePos");
    CheckBoxTruePos->setToolTip("Show picture at its true position ( Only work in BMP mode )");
    CheckBoxTransparentBkGrd = new QCheckBox("Transparent SubPicture Bkgrd");
    CheckBoxTransparentBkGrd->setObjectName("CheckBoxTransparentBkGrd");
    v->addWidget(CheckBoxTruePos);
    v->addWidget(CheckBoxTransparentBkGrd);

    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(label("LabelZoom", "Zoom :"));
    SpinEditZoom = new QSpinBox;
    SpinEditZoom->setObjectName("SpinEditZoom");
    SpinEditZoom->setRange(10, 200);
    SpinEditZoom->setValue(100);
    zoomRow->addWidget(SpinEditZoom);
    zoomRow->addWidget(label("LabelZoomPercent", "%"));
    CheckBoxAutoZoom = new QCheckBox("Auto");
    CheckBoxAutoZoom->setObjectName("CheckBoxAutoZoom");
    zoomRow->addWidget(CheckBoxAutoZoom);
    zoomRow->addStretch(1);
    v->addLayout(zoomRow);
}

void MainWindow::buildBackgroundGroup(QVBoxLayout* v) {
    RadioGroupPreviewBack = new QGroupBox("Background : ");
    RadioGroupPreviewBack->setObjectName("RadioGroupPreviewBack");
    auto* g = new QGridLayout(RadioGroupPreviewBack);
    auto* group = new QButtonGroup(RadioGroupPreviewBack);
    const char* items[] = {"None ( Speed up )", "Preset :", "Free :", "Image :"};
    for (int i = 0; i < 4; ++i) {
        RadioPreviewBack[i] = new QRadioButton(items[i]);
        RadioPreviewBack[i]->setObjectName(QString("RadioGroupPreviewBack%1").arg(i));
        group->addButton(RadioPreviewBack[i], i);
        g->addWidget(RadioPreviewBack[i], i, 0);
    }
    ComboBoxAspectRatio = new QComboBox;
    ComboBoxAspectRatio->setObjectName("ComboBoxAspectRatio");
    ComboBoxAspectRatio->addItems({"16/9 - 1.77:1", "1.85:1", "2.35:1"});
    g->addWidget(ComboBoxAspectRatio, 1, 1, 1, 2);
    SpinEditAspectRatio = new QSpinBox;
    SpinEditAspectRatio->setObjectName("SpinEditAspectRatio");
    SpinEditAspectRatio->setRange(0, 288);
    g->addWidget(SpinEditAspectRatio, 2, 1);
    PanelRatio = new QLabel;
    PanelRatio->setObjectName("PanelRatio");
    PanelRatio->setFrameShape(QFrame::Panel);
    PanelRatio->setFrameShadow(QFrame::Sunken);
    PanelRatio->setAlignment(Qt::AlignCenter);
    PanelRatio->setMinimumWidth(PanelRatio->fontMetrics().horizontalAdvance("00.00:1") + 8);
    g->addWidget(PanelRatio, 2, 2);
    ButtonImgBack = button("ButtonImgBack", "Load Img.");
    g->addWidget(ButtonImgBack, 3, 1, 1, 2);
    connect(group, &QButtonGroup::idClicked, this, &MainWindow::optionsChanged);
    v->addWidget(RadioGroupPreviewBack);
}

void MainWindow::connectPreviewPanel() {
    connect(CheckBoxTruePos, &QCheckBox::toggled, this, &MainWindow::optionsChanged);
    connect(CheckBoxTransparentBkGrd, &QCheckBox::toggled, this, &MainWindow::optionsChanged);
    connect(CheckBoxAutoZoom, &QCheckBox::toggled, this, &MainWindow::optionsChanged);
    connect(SpinEditZoom, &QSpinBox::valueChanged, this, &MainWindow::zoomChanged);
    connect(ComboBoxAspectRatio, &QComboBox::activated, this,
            &MainWindow::ComboBoxAspectRatioChange);
    connect(SpinEditAspectRatio, &QSpinBox::valueChanged, this,
            &MainWindow::SpinEditAspectRatioChange);
    connect(ButtonImgBack, &QPushButton::clicked, this, &MainWindow::ButtonImgBackClick);
    connect(PanelBorderColor, &QPushButton::clicked, this, &MainWindow::PanelBorderColorClick);
    connect(PanelInnerColor, &QPushButton::clicked, this, &MainWindow::PanelInnerColorClick);
}

void MainWindow::setColourButton(QPushButton* b, Colour c) {
    const QColor q = toQColor(c);
    b->setStyleSheet(QString("background-color: %1; color: %2;")
                         .arg(q.name(), q.lightness() < 128 ? "white" : "black"));
}

void MainWindow::fillPreviewPanel() {
    const PreviewOptions& o = previewOptions();
    CheckBoxTruePos->setChecked(o.atTruePosition);
    CheckBoxTransparentBkGrd->setChecked(o.transparentBackground);
    SpinEditZoom->setValue(o.zoom / 10);
    CheckBoxAutoZoom->setChecked(o.autoZoom);
    SpinEditZoom->setEnabled(!o.autoZoom);
    if (o.backMode < 4) RadioPreviewBack[o.backMode]->setChecked(true);
    ComboBoxAspectRatio->setCurrentIndex(o.aspectRatioMode < 3 ? o.aspectRatioMode : 0);
    SpinEditAspectRatio->setValue(o.freeBandHeight);
    PanelRatio->setText(QString::fromStdString(
        preview::freeRatioText(o.freeBandHeight, QLocale().decimalPoint().at(0).toLatin1())));
    setColourButton(PanelBorderColor, o.borderColour);
    setColourButton(PanelInnerColor, o.innerColour);
}

void MainWindow::ButtonPreviewOptionClick() {
    const bool show = !PanelPreviewCfg->isVisible();
    PanelPreviewCfg->setVisible(show);
    ButtonPreviewOption->setChecked(show);
    if (show) {
        handlersActive_ = false;
        fillPreviewPanel();
        handlersActive_ = true;
    }
}

void MainWindow::optionsChanged() {
    PreviewOptions& o = previewOptions();
    if (handlersActive_) {
        o.atTruePosition = CheckBoxTruePos->isChecked();
        o.transparentBackground = CheckBoxTransparentBkGrd->isChecked();
        o.zoom = static_cast<int16_t>(SpinEditZoom->value() * 10);
        o.autoZoom = CheckBoxAutoZoom->isChecked();
        for (int i = 0; i < 4; ++i)
            if (RadioPreviewBack[i]->isChecked()) o.backMode = static_cast<uint8_t>(i);
        o.aspectRatioMode = static_cast<uint8_t>(std::max(0, ComboBoxAspectRatio->currentIndex()));
        o.freeBandHeight = static_cast<int16_t>(SpinEditAspectRatio->value());
    }
    SpinEditZoom->setEnabled(!o.autoZoom);
    buildBackground();
}

void MainWindow::zoomChanged() {
    if (handlersActive_) previewOptions().zoom = static_cast<int16_t>(SpinEditZoom->value() * 10);
    if (previewOptions().autoZoom) {
        windowResized();
    } else {
        layoutFrame(previewOptions().zoom);
    }
}

void MainWindow::windowResized() {
    if (!previewOptions().autoZoom || !ScrollPreview) return;
    // The window's size less what lies around the preview: the same rule
    // as a window that is all preview, so that the frame fits its place.
    const QSize view = ScrollPreview->viewport()->size();
    layoutFrame(preview::autoZoom(view.width() + preview::kWindowExtraWidth - 2,
                                  view.height() + preview::kWindowExtraHeight - 2));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    windowResized();
}

void MainWindow::layoutFrame(int zoom) {
    zoom_ = zoom;
    const preview::Size f = preview::frameSize(zoom);
    const preview::Size b = preview::backgroundSize(zoom);
    BevelScreen->setGeometry(0, 0, f.width, f.height);
    BevelScreen->parentWidget()->setFixedSize(f.width, f.height);
    ImageBack->setGeometry(preview::kFrameInset, preview::kFrameInset, b.width, b.height);
    placePicture();
}

void MainWindow::buildBackground() {
    const PreviewOptions& o = previewOptions();
    switch (o.backMode) {
        case PreviewOptions::None:
            ImageBack->hide();
            break;
        case PreviewOptions::Preset:
            background_ = toQImage(preview::bandedBackground(
                preview::presetBandHeight(o.aspectRatioMode), o.borderColour, o.innerColour));
            break;
        case PreviewOptions::Free:
            background_ = toQImage(
                preview::bandedBackground(o.freeBandHeight, o.borderColour, o.innerColour));
            break;
        case PreviewOptions::Image:
            // A file that has gone leaves the background as it was.
            if (fileExists(o.backImageName)) {
                QImage img = loadBackgroundImage(o.backImageName);
                if (!img.isNull()) background_ = img;
            }
            break;
        default:
            break;
    }
    if (o.backMode != PreviewOptions::None) {
        ImageBack->setPixmap(QPixmap::fromImage(background_));
        ImageBack->show();
    }
    zoomChanged();
}

void MainWindow::SpinEditAspectRatioChange() {
    const int v = SpinEditAspectRatio->value();
    PanelRatio->setText(QString::fromStdString(
        preview::freeRatioText(v, QLocale().decimalPoint().at(0).toLatin1())));
    if (handlersActive_) {
        RadioPreviewBack[PreviewOptions::Free]->setChecked(true);
        optionsChanged();
    }
}

void MainWindow::ComboBoxAspectRatioChange() {
    RadioPreviewBack[PreviewOptions::Preset]->setChecked(true);
    optionsChanged();
}

void MainWindow::ButtonImgBackClick() {
    const std::string start = previewOptions().backImageName.empty()
                                  ? session_->folders().documents
                                  : previewOptions().backImageName;
    FileDialog d{session_->messages().get(msg::kLoadBackgroundTitle),
                 "Image File (*.bmp;*.jpg)|*.bmp;*.jpg|All|*.*",
                 {},
                 start};
    const std::string path = ui_.askOpenFileName(d);
    if (path.empty()) return;
    RadioPreviewBack[PreviewOptions::Image]->setChecked(true);
    previewOptions().backImageName = path;
    optionsChanged();
}

void MainWindow::PanelBorderColorClick() {
    const QColor c =
        QColorDialog::getColor(toQColor(previewOptions().borderColour), this, "Border color");
    if (!c.isValid()) return;
    previewOptions().borderColour = fromQColor(c);
    setColourButton(PanelBorderColor, previewOptions().borderColour);
    optionsChanged();
}

void MainWindow::PanelInnerColorClick() {
    const QColor c =
        QColorDialog::getColor(toQColor(previewOptions().innerColour), this, "Inner color");
    if (!c.isValid()) return;
    previewOptions().innerColour = fromQColor(c);
    setColourButton(PanelInnerColor, previewOptions().innerColour);
    optionsChanged();
}

// ---------------------------------------------------------------- picture

void MainWindow::showPicture(const Image24& bitmap, const DisplayArea& area, bool useZoom) {
    picture_ = bitmap;
    pictureArea_ = area;
    pictureUsesZoom_ = useZoom;
    placePicture();
    LabelX1->setText(QString::number(area.x1));
    LabelY1->setText(QString::number(area.y1));
    LabelX2->setText(QString::number(area.x2));
    LabelY2->setText(QString::number(area.y2));
    LabelWidth->setText(QString::number(bitmap.width()));
    LabelHeight->setText(QString::number(bitmap.height()));
    Image1->repaint();
}

void MainWindow::placePicture() {
    if (picture_.empty()) {
        Image1->hide();
        return;
    }
    const int z = pictureUsesZoom_ ? zoom_ : 1000;
    QImage img;
    if (previewOptions().transparentBackground) {
        // The picture's background: in OCR its most frequent colour; the
        // other actions show the adjusted picture, whose background is the
        // export colour of role 0.
        Colour transparent;
        if (session_->job().actionMode == ActionMode::Ocr) {
            const PreviewColours& pc = session_->previewColours();
            transparent = pc[autoDetectColours(picture_, pc)[0]];
        } else {
            transparent = session_->bitmapSettings().colours.roleColour[0];
        }
        img = toQImageTransparent(picture_, transparent);
    } else {
        img = toQImage(picture_);
    }
    const preview::Rect r =
        preview::picturePlacement(z, picture_.width(), picture_.height(), pictureArea_.x1,
                                  pictureArea_.y1, previewOptions().atTruePosition);
    Image1->setPixmap(QPixmap::fromImage(img));
    Image1->setGeometry(r.left, r.top, std::max(1, r.width), std::max(1, r.height));
    Image1->show();
    Image1->raise();
}

// ------------------------------------------------------------ window drag

void MainWindow::installDrag(QWidget* w) {
    w->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove) {
        auto* me = static_cast<QMouseEvent*>(event);
        // Only presses on the background itself, not on the controls on it.
        if (qobject_cast<QWidget*>(watched) && (me->buttons() & Qt::LeftButton)) {
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            const QPoint pos = me->globalPosition().toPoint();
            if (event->type() == QEvent::MouseButtonPress) {
                dragPos_ = pos;
                dragTick_ = now;
            } else if (dragTick_ >= 0 && now - dragTick_ < 2000) {
                move(this->pos() + (pos - dragPos_));
                dragPos_ = pos;
                dragTick_ = now;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace orvane::gui
