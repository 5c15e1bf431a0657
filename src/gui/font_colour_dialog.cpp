#include "gui/font_colour_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/session.h"
#include "gui/dialog_host.h"
#include "gui/widget_factory.h"

namespace orvane::gui {

FontColourDialog::FontColourDialog(DialogHost& host, Session& session)
    : QDialog(&host.hostWindow(), Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host),
      session_(session) {
    setObjectName("Form9");
    setWindowTitle("Font color selection");
    auto* g = new QGridLayout(this);
    Label1 = new QLabel("Select color to see white text on black background :");
    Label1->setObjectName("Label1");
    g->addWidget(Label1, 0, 0, 1, 2);
    ComboBoxTextColor = new QComboBox;
    ComboBoxTextColor->setObjectName("ComboBoxTextColor");
    ComboBoxTextColor->addItems({"Color 0", "Color 1", "Color 2", "Color 3"});
    ComboBoxTextColor->setCurrentIndex(2);
    g->addWidget(ComboBoxTextColor, 1, 0);
    Label2 = new QLabel("( Not Outlined ! )");
    Label2->setObjectName("Label2");
    g->addWidget(Label2, 1, 1);
    ButtonAutoDetect = button("ButtonAutoDetect", "Try &Auto Detect.", "Detect Font Color");
    g->addWidget(ButtonAutoDetect, 2, 0, 1, 2);
    ButtonOk = defaultButton("ButtonOk", "OK");
    ButtonSkipPict = button("ButtonSkipPict", "&Skip this Picture",
                            "Jump to the next Picture (Use in case this one has no text)");
    g->addWidget(ButtonOk, 3, 0);
    g->addWidget(ButtonSkipPict, 3, 1);

    connect(ComboBoxTextColor, &QComboBox::currentIndexChanged, this,
            &FontColourDialog::ComboBoxTextColorChange);
    connect(ButtonAutoDetect, &QPushButton::clicked, this,
            &FontColourDialog::ButtonAutoDetectClick);
    connect(ButtonOk, &QPushButton::clicked, this, &FontColourDialog::ButtonOkClick);
    connect(ButtonSkipPict, &QPushButton::clicked, this, &FontColourDialog::ButtonSkipPictClick);
}

std::optional<uint8_t> FontColourDialog::run(const Image24& picture,
                                             const ColourRanking& proposal) {
    proposal_ = proposal;
    QWidget& text = host_.subtitleView();
    const bool textVisible = text.isVisible();
    text.hide();
    picture_ = &picture;
    host_.showPicture(picture, DisplayArea{}, true);
    // Beside the main window's preview, not over it.
    const QRect m = host_.hostWindow().frameGeometry();
    move(m.right() - width() - 40, m.top() + 120);
    // Closing the dialog by other means skips the picture, like its button.
    const bool ok = exec() == QDialog::Accepted && result_ == 0;
    picture_ = nullptr;
    if (!ok) return std::nullopt;
    if (textVisible) text.show();
    return static_cast<uint8_t>(ComboBoxTextColor->currentIndex());
}

void FontColourDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void FontColourDialog::FormShow() {
    result_ = 0;
    selectColour(proposal_[1]);
    if (picture_) {
        // Room for the whole picture in the main window.
        host_.hostWindow().resize(std::max(host_.hostWindow().width(), picture_->width() + 23),
                                  std::max(host_.hostWindow().height(), picture_->height() + 110));
    }
    ButtonOk->setFocus();
}

void FontColourDialog::ButtonAutoDetectClick() {
    if (!picture_) return;
    proposal_ = proposeTextColours(*picture_, session_.previewColours());
    selectColour(proposal_[1]);
}

void FontColourDialog::selectColour(int n) {
    if (!picture_) return;
    if (ComboBoxTextColor->currentIndex() == n) {
        ComboBoxTextColorChange();
    } else {
        ComboBoxTextColor->setCurrentIndex(n);
    }
}

void FontColourDialog::ComboBoxTextColorChange() {
    if (!picture_) return;
    const int n = ComboBoxTextColor->currentIndex();
    if (n < 0) return;
    host_.showPicture(
        recolourForTextChoice(*picture_, session_.previewColours(), static_cast<uint8_t>(n)),
        DisplayArea{}, true);
}

void FontColourDialog::ButtonOkClick() {
    result_ = 0;
    accept();
}

void FontColourDialog::ButtonSkipPictClick() {
    result_ = 2;
    reject();
}

}  // namespace orvane::gui
