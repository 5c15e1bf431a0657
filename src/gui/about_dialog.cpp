#include "gui/about_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/session.h"
#include "gui/widget_factory.h"

namespace orvane::gui {

QImage AboutDialog::picture() {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A dusk sky over hills: a film frame.
    QLinearGradient sky(0, 0, 0, kPictureHeight);
    sky.setColorAt(0.0, QColor(0x14, 0x1e, 0x4a));
    sky.setColorAt(0.55, QColor(0x6a, 0x3d, 0x7a));
    sky.setColorAt(1.0, QColor(0xe0, 0x8a, 0x4c));
    p.fillRect(image.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd8, 0x8a));
    p.drawEllipse(QPointF(300, 150), 34, 34);
    QPainterPath hills;
    hills.moveTo(0, 170);
    hills.cubicTo(90, 130, 160, 190, 240, 160);
    hills.cubicTo(300, 140, 350, 175, kPictureWidth, 150);
    hills.lineTo(kPictureWidth, kPictureHeight);
    hills.lineTo(0, kPictureHeight);
    hills.closeSubpath();
    p.setBrush(QColor(0x1b, 0x16, 0x2a));
    p.drawPath(hills);
    // Sprocket holes of the film strip, top and bottom.
    p.setBrush(QColor(0, 0, 0));
    p.drawRect(0, 0, kPictureWidth, 14);
    p.drawRect(0, kPictureHeight - 14, kPictureWidth, 14);
    p.setBrush(QColor(0xee, 0xee, 0xee));
    for (int x = 8; x < kPictureWidth; x += 24) {
        p.drawRoundedRect(x, 3, 12, 8, 2, 2);
        p.drawRoundedRect(x, kPictureHeight - 11, 12, 8, 2, 2);
    }
    // A subtitle's four colours: white letters, a black outline.
    QFont f("Sans", 15, QFont::Bold);
    QPainterPath text;
    text.addText(0, 0, f, "...turns into text");
    const QRectF box = text.boundingRect();
    text.translate((kPictureWidth - box.width()) / 2 - box.left(), kPictureHeight - 28);
    p.strokePath(text, QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(text, Qt::white);
    return image;
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form12");
    setWindowTitle("About Orvane");
    auto* v = new QVBoxLayout(this);
    // The texts lie over the picture: both in the same cell of a grid.
    auto* panel = named(new QWidget, "PanelAbout");
    auto* g = new QGridLayout(panel);
    g->setContentsMargins(0, 0, 0, 0);
    ImageAbout = named(new QLabel, "ImageAbout");
    ImageAbout->setPixmap(QPixmap::fromImage(picture()));
    ImageAbout->setFixedSize(kPictureWidth, kPictureHeight);
    g->addWidget(ImageAbout, 0, 0);
    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(16, 22, 16, 0);
    LabelVersion = named(new QLabel(QString::fromLatin1(Session::kCaption)), "LabelVersion");
    QFont big = LabelVersion->font();
    big.setPointSize(big.pointSize() + 10);
    big.setBold(true);
    LabelVersion->setFont(big);
    LabelPurpose = named(new QLabel("Turns the graphical subtitles of a DVD into timed text."),
                         "LabelPurpose");
    for (QLabel* l : {LabelVersion, LabelPurpose}) {
        l->setStyleSheet("color: white; background: transparent;");
        l->setAlignment(Qt::AlignHCenter);
        texts->addWidget(l);
    }
    texts->addStretch(1);
    g->addLayout(texts, 0, 0);
    v->addWidget(panel, 0, Qt::AlignHCenter);
    BitBtn1 = defaultButton("BitBtn1", "OK");
    BitBtn1->setMinimumWidth(90);
    v->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    v->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace orvane::gui
