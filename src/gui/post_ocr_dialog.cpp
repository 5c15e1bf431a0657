#include "gui/post_ocr_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/session.h"

#include "gui/widget_factory.h"

namespace orvane::gui {

namespace {}  // namespace

PostOcrDialog::PostOcrDialog(QWidget& parent, Session& session)
    : QDialog(&parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session) {
    setObjectName("Form10");
    setWindowTitle("Post OCR Correction");
    auto* v = new QVBoxLayout(this);
    CheckBoxCorrectTwiceAp =
        named(new QCheckBox("Replace double ' by a \"  AND \"\" by \" (Recommended)"),
              "CheckBoxCorrectTwiceAp");
    CheckBoxCorrectTwiceAp->setChecked(true);
    v->addWidget(CheckBoxCorrectTwiceAp);
    CheckBoxCorrectIl = named(new QCheckBox("Try to correct I and l  (Use if they are confused)"),
                              "CheckBoxCorrectIl");
    v->addWidget(CheckBoxCorrectIl);
    CheckBoxCorrectZeroO =
        named(new QCheckBox("Try to correct 0 and O in words and numbers"), "CheckBoxCorrectZeroO");
    v->addWidget(CheckBoxCorrectZeroO);
    RadioGroupCorrectIlLanguage = named(new QGroupBox, "RadioGroupCorrectIlLanguage");
    auto* rg = new QVBoxLayout(RadioGroupCorrectIlLanguage);
    auto* languages = new QButtonGroup(this);
    const char* items[] = {"English (May work with other languages)", "Fran\u00e7ais ( French )",
                           "Deutsch ( German )", "Espa\u00f1ol ( Spanish )"};
    for (int i = 0; i < 4; ++i) {
        RadioLanguage[i] = new QRadioButton(QString::fromUtf8(items[i]));
        RadioLanguage[i]->setObjectName(QString("RadioGroupCorrectIlLanguage%1").arg(i));
        languages->addButton(RadioLanguage[i], i);
        rg->addWidget(RadioLanguage[i]);
    }
    CheckBoxUseDictionary =
        named(new QCheckBox("Check words in the language's spelling dictionary"),
              "CheckBoxUseDictionary");
    rg->addWidget(CheckBoxUseDictionary);
    RadioLanguage[0]->setChecked(true);
    RadioGroupCorrectIlLanguage->setEnabled(false);
    auto* indent = new QHBoxLayout;
    indent->addSpacing(20);
    indent->addWidget(RadioGroupCorrectIlLanguage, 1);
    v->addLayout(indent);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtnCorrect = defaultButton("BitBtnCorrect", "Correct !");
    BitBtn2 = button("BitBtn2", "Cancel");
    for (QPushButton* b : {BitBtnCorrect, BitBtn2}) {
        b->setMinimumWidth(90);
        buttons->addWidget(b);
    }
    v->addLayout(buttons);

    // A click and the keyboard's toggle both come through toggled.
    connect(CheckBoxCorrectIl, &QCheckBox::toggled, this, &PostOcrDialog::CheckBoxCorrectIlClick);
    connect(CheckBoxCorrectZeroO, &QCheckBox::toggled, this,
            &PostOcrDialog::CheckBoxCorrectIlClick);
    connect(BitBtnCorrect, &QPushButton::clicked, this, &PostOcrDialog::BitBtnCorrectClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void PostOcrDialog::run() {
    exec();
}

void PostOcrDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen.
    if (const QScreen* screen = this->screen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

PostOcrOptions PostOcrDialog::options() const {
    PostOcrOptions o;
    o.repairQuotes = CheckBoxCorrectTwiceAp->isChecked();
    o.repairIl = CheckBoxCorrectIl->isChecked();
    o.language = RadioLanguage[3]->isChecked()   ? IlLanguage::Spanish
                 : RadioLanguage[2]->isChecked() ? IlLanguage::German
                 : RadioLanguage[1]->isChecked() ? IlLanguage::French
                                                 : IlLanguage::English;
    o.repairZeroO = CheckBoxCorrectZeroO->isChecked();
    o.useDictionary = CheckBoxUseDictionary->isChecked();
    return o;
}

void PostOcrDialog::CheckBoxCorrectIlClick() {
    // The language (and its dictionary) serve both the I/l and the 0/O repair.
    RadioGroupCorrectIlLanguage->setEnabled(CheckBoxCorrectIl->isChecked() ||
                                            CheckBoxCorrectZeroO->isChecked());
}

void PostOcrDialog::BitBtnCorrectClick() {
    const PostOcrOptions o = options();
    if (o.any()) {
        // The hourglass while the document is worked through, restored
        // also when a step fails.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            session_.postOcrCorrection(o);
        } catch (...) {
            QGuiApplication::restoreOverrideCursor();
            throw;
        }
        QGuiApplication::restoreOverrideCursor();
    }
    accept();
}

}  // namespace orvane::gui
