#include "gui/new_character_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/session.h"
#include "gui/image_convert.h"
#include "gui/qt_text.h"
#include "gui/widget_factory.h"
#include "stream/time_code.h"

namespace orvane::gui {

NewCharacterDialog::NewCharacterDialog(QWidget& parent, Session& session)
    : QDialog(&parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint),
      session_(session) {
    setObjectName("Form2");
    setWindowTitle("New Character(s)");
    setAutoFillBackground(true);
    auto* v = new QVBoxLayout(this);

    buildPictureGroup(v);
    buildLineGroup(v);
    buildAnswerGroup(v);
    buildButtonGroup(v);

    TimerWakeUp = new QTimer(this);
    TimerWakeUp->setObjectName("TimerWakeUp");
    TimerWakeUp->setInterval(kWakeUpInterval);
    // The core releases the pause of "&Change Text Color" itself once the
    // reader has returned (the TimerChangeColor of the original window).

    connectControls();
}

void NewCharacterDialog::buildPictureGroup(QVBoxLayout* v) {
    LabelIndex = new QLabel("Symbol index : 1");
    LabelIndex->setObjectName("LabelIndex");
    QFont bold = LabelIndex->font();
    bold.setBold(true);
    LabelIndex->setFont(bold);
    LabelIndex->setAlignment(Qt::AlignCenter);
    v->addWidget(LabelIndex);

    LabelSubtitle = new QLabel;
    LabelSubtitle->setObjectName("LabelSubtitle");
    LabelSubtitle->setAlignment(Qt::AlignCenter);
    v->addWidget(LabelSubtitle);

    auto* pictures = new QHBoxLayout;
    ImageChar = new QLabel;
    ImageChar->setObjectName("ImageChar");
    ImageChar->setFixedSize(300, 100);
    ImageChar->setScaledContents(true);
    ImageChar->setFrameShape(QFrame::Box);
    pictures->addWidget(ImageChar, 0, Qt::AlignVCenter);
    ImageGlyph = new QLabel;
    ImageGlyph->setObjectName("ImageGlyph");
    ImageGlyph->setAlignment(Qt::AlignCenter);
    ImageGlyph->setFrameShape(QFrame::Box);
    ImageGlyph->setToolTip(
        "The character enlarged: the green line is the baseline, the yellow one the top of the "
        "small letters");
    pictures->addWidget(ImageGlyph, 0, Qt::AlignVCenter);
    v->addLayout(pictures);
}

void NewCharacterDialog::buildLineGroup(QVBoxLayout* v) {
    // The whole line as read so far, the asked glyph marked.
    LabelLine = new QLabel;
    LabelLine->setObjectName("LabelLine");
    LabelLine->setTextFormat(Qt::PlainText);
    LabelLine->setAlignment(Qt::AlignCenter);
    LabelLine->setWordWrap(true);
    QFont lineFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    lineFont.setPointSizeF(lineFont.pointSizeF() * 1.3);
    LabelLine->setFont(lineFont);
    v->addWidget(LabelLine);
    LabelPiece = new QLabel;
    LabelPiece->setObjectName("LabelPiece");
    LabelPiece->setWordWrap(true);
    LabelPiece->setAlignment(Qt::AlignCenter);
    QFont pieceFont = LabelPiece->font();
    pieceFont.setBold(true);
    LabelPiece->setFont(pieceFont);
    LabelPiece->hide();
    v->addWidget(LabelPiece);
}

void NewCharacterDialog::buildAnswerGroup(QVBoxLayout* v) {
    Label2 = new QLabel("What is (are) this (these) character(s) ?");
    Label2->setObjectName("Label2");
    v->addWidget(Label2);
    auto* textRow = new QHBoxLayout;
    EditText = new QLineEdit;
    EditText->setObjectName("EditText");
    EditText->setMaxLength(20);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(fixed.pointSizeF() * 1.4);
    EditText->setFont(fixed);
    textRow->addWidget(EditText, 1);
    Label1 = new QLabel("Nb Char :");
    Label1->setObjectName("Label1");
    LabelNbChar = new QLabel("0");
    LabelNbChar->setObjectName("LabelNbChar");
    LabelNbChar->setMinimumWidth(LabelNbChar->fontMetrics().horizontalAdvance("00"));
    textRow->addWidget(Label1);
    textRow->addWidget(LabelNbChar);
    BitBtn1 = defaultButton("BitBtn1", "OK");
    textRow->addWidget(BitBtn1);
    v->addLayout(textRow);
}

void NewCharacterDialog::buildButtonGroup(QVBoxLayout* v) {
    auto* g = new QGridLayout;
    ButtonSkipLine = button("ButtonSkipLine", "Skip This &Line");
    ButtonSkipSubPict = button("ButtonSkipSubPict", "Skip This S&ubPicture");
    ButtonPause = button("ButtonPause", "&Pause");
    ButtonChangeColor = button("ButtonChangeColor", "&Change Text Color");
    ButtonSearchMatrix =
        button("ButtonSearchMatrix", "Search for an existing Matrix that match for this Character");
    g->addWidget(ButtonSkipLine, 0, 0);
    g->addWidget(ButtonSkipSubPict, 0, 1);
    g->addWidget(ButtonPause, 1, 0);
    g->addWidget(ButtonChangeColor, 1, 1);
    // The longest caption: room around it so that it does not touch the edges.
    ButtonSearchMatrix->setMinimumWidth(
        ButtonSearchMatrix->fontMetrics().horizontalAdvance(ButtonSearchMatrix->text()) + 32);
    g->addWidget(ButtonSearchMatrix, 2, 0, 1, 2);
    v->addLayout(g);
    CheckBoxAttention = new QCheckBox("Flash and beep when left waiting");
    CheckBoxAttention->setObjectName("CheckBoxAttention");
    CheckBoxAttention->setChecked(true);
    v->addWidget(CheckBoxAttention);
}

void NewCharacterDialog::connectControls() {
    connect(BitBtn1, &QPushButton::clicked, this, &NewCharacterDialog::BitBtn1Click);
    connect(ButtonSkipLine, &QPushButton::clicked, this, &NewCharacterDialog::ButtonSkipLineClick);
    connect(ButtonSkipSubPict, &QPushButton::clicked, this,
            &NewCharacterDialog::ButtonSkipSubPictClick);
    connect(ButtonPause, &QPushButton::clicked, this, &NewCharacterDialog::ButtonPauseClick);
    connect(ButtonChangeColor, &QPushButton::clicked, this,
            &NewCharacterDialog::ButtonChangeColorClick);
    connect(ButtonSearchMatrix, &QPushButton::clicked, this,
            &NewCharacterDialog::ButtonSearchMatrixClick);
    connect(EditText, &QLineEdit::textChanged, this, &NewCharacterDialog::EditTextChange);
    connect(TimerWakeUp, &QTimer::timeout, this, &NewCharacterDialog::TimerWakeUpTimer);
    connect(CheckBoxAttention, &QCheckBox::clicked, this,
            &NewCharacterDialog::CheckBoxAttentionClick);
}

namespace {

QString subtitleCaption(const NewCharacterView& view) {
    return QString("SubTitle %1   %2 - %3   line %4")
        .arg(view.subtitleNumber)
        .arg(toQt(formatTimeCode(view.start)), toQt(formatTimeCode(view.stop)))
        .arg(view.lineNumber);
}

QString pieceNote(PieceOf piece) {
    switch (piece) {
        case PieceOf::Before:
            return "This piece seems to belong to the character before it: if so, answer with "
                   "an empty text.";
        case PieceOf::After:
            return "This piece seems to belong to the character after it: if so, type the whole "
                   "character here and answer its other piece with an empty text.";
        case PieceOf::None:
            break;
    }
    return {};
}

}  // namespace

NewCharChoice NewCharacterDialog::run(const NewCharacterView& view) {
    // Emptied each time it opens, but not when it only stands for the
    // dialog that stayed open after a search that found nothing.
    // The touching-letters reading is proposed selected: Enter takes it,
    // typing replaces it.
    if (!view.afterFailedSearch) {
        EditText->setText(toQt(view.proposal));
        EditText->selectAll();
    }
    LabelIndex->setText(QString("Symbol index : %1").arg(view.nextEntryNumber));
    ImageChar->setPixmap(QPixmap::fromImage(toQImage(view.characterPicture)));
    ImageGlyph->setPixmap(QPixmap::fromImage(toQImage(view.closeUp)));
    LabelSubtitle->setText(subtitleCaption(view));
    LabelLine->setText(toQt(view.lineBefore) + kAskedMark + toQt(view.lineAfter));
    LabelPiece->setText(pieceNote(view.piece));
    LabelPiece->setVisible(view.piece != PieceOf::None);
    CheckBoxAttention->setChecked(session_.settings().attentionSignal);
    // Closing by other means drops the picture without pausing.
    action_ = NewCharAction::SkipPicture;
    EditText->setFocus();
    setAlarmColour(false);
    alarmStep_ = 0;
    TimerWakeUp->setInterval(kWakeUpInterval);
    if (CheckBoxAttention->isChecked()) TimerWakeUp->start();
    // Keys still coming for the question before this one are held off
    // until the guard time has passed since it came up.
    shownAt_.start();
    qApp->installEventFilter(this);
    exec();
    qApp->removeEventFilter(this);
    TimerWakeUp->stop();
    return {action_, fromQt(EditText->text())};
}

void NewCharacterDialog::done(int r) {
    TimerWakeUp->stop();
    setAlarmColour(false);
    QDialog::done(r);
}

bool NewCharacterDialog::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if ((t == QEvent::KeyPress || t == QEvent::KeyRelease || t == QEvent::ShortcutOverride ||
         t == QEvent::Shortcut) &&
        shownAt_.isValid() && shownAt_.elapsed() < kKeyGuardMs) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void NewCharacterDialog::reject() {
    // A stray Escape must not drop the sub-picture's text unnoticed.
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    "Skip this SubPicture? Its text will not be read.",
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName("MessageSkipSubPict");
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() == QMessageBox::Yes) finish(NewCharAction::SkipPicture);
}

void NewCharacterDialog::CheckBoxAttentionClick() {
    const bool on = CheckBoxAttention->isChecked();
    session_.settings().attentionSignal = on;
    if (on) {
        alarmStep_ = 0;
        TimerWakeUp->setInterval(kWakeUpInterval);
        if (isVisible()) TimerWakeUp->start();
    } else {
        TimerWakeUp->stop();
        setAlarmColour(false);
    }
}

void NewCharacterDialog::finish(NewCharAction action) {
    action_ = action;
    accept();
}

void NewCharacterDialog::BitBtn1Click() {
    finish(NewCharAction::Accept);
}
void NewCharacterDialog::ButtonSkipLineClick() {
    finish(NewCharAction::SkipLine);
}
void NewCharacterDialog::ButtonSkipSubPictClick() {
    finish(NewCharAction::SkipPicture);
}
void NewCharacterDialog::ButtonPauseClick() {
    finish(NewCharAction::Pause);
}
void NewCharacterDialog::ButtonChangeColorClick() {
    finish(NewCharAction::ChangeColour);
}
// The core runs the search and shows this dialog again when nothing was
// accepted.
void NewCharacterDialog::ButtonSearchMatrixClick() {
    finish(NewCharAction::SearchMatrix);
}

void NewCharacterDialog::EditTextChange() {
    LabelNbChar->setText(QString::number(EditText->text().size()));
    // Typing restarts the current interval; it does not stop a flashing.
    if (TimerWakeUp->isActive()) TimerWakeUp->start();
}

void NewCharacterDialog::setAlarmColour(bool red) {
    red_ = red;
    QPalette p = palette();
    p.setColor(QPalette::Window,
               red ? QColor(255, 0, 0) : QApplication::palette().color(QPalette::Window));
    setPalette(p);
}

void NewCharacterDialog::TimerWakeUpTimer() {
    if (alarmStep_ == 0) {
        TimerWakeUp->setInterval(kFlashInterval);
        alarmStep_ = 1;
    } else if (alarmStep_ <= 24) {
        if (alarmStep_ % 8 == 7) QApplication::beep();
        setAlarmColour(!red_);
        ++alarmStep_;
    } else {
        TimerWakeUp->setInterval(kWakeUpInterval);
        alarmStep_ = 0;
        setAlarmColour(false);
    }
}

}  // namespace orvane::gui
