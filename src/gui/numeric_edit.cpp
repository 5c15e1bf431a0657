#include "gui/numeric_edit.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

namespace orvane::gui {

NumericEdit::NumericEdit(NumericEntryModel& model, QWidget* parent)
    : QLineEdit(parent), model_(model) {
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
        model_.setText(t.toStdString());
        emit valueEdited();
    });
}

void NumericEdit::refresh() {
    setMaxLength(static_cast<int>(model_.maxLength()));
    setText(QString::fromStdString(model_.text()));
    setToolTip(QString::fromStdString(model_.hint()));
}

void NumericEdit::keyPressEvent(QKeyEvent* event) {
    const QString t = event->text();
    // Editing and navigation keys carry no printable text and pass; every
    // printable character the model refuses is dropped.
    if (t.size() == 1 && t[0].unicode() >= 0x20 && t[0].unicode() != 0x7F &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const char16_t c = t[0].unicode();
        if (c > 0x7F || !model_.acceptsKey(static_cast<char>(c))) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

bool NumericEdit::runCheck() {
    model_.setText(text().toStdString());
    const NumericEntryModel::CheckResult r = model_.check();
    const QString corrected = QString::fromStdString(model_.text());
    if (text() != corrected) setText(corrected);
    if (r.warning)
        QMessageBox::warning(window(), kWarningTitle, QString::fromStdString(*r.warning));
    if (r.takeFocusBack()) {
        // Made the window's focus widget now, so that it has the focus when
        // the window is active again, and once more after the widget that
        // took the focus is done with its own handling.
        setFocus(Qt::OtherFocusReason);
        QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
        emit valueEdited();
    }
    return r.acceptable;
}

void NumericEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The warning box takes the focus itself; no second check meanwhile.
    if (checking_ || event->reason() == Qt::PopupFocusReason) return;
    checking_ = true;
    runCheck();
    checking_ = false;
}

WordEdit::WordEdit(QWidget* parent) : NumericEdit(word_, parent) {
    refresh();
}

void WordEdit::setValeur(uint16_t v) {
    word_.setValeur(v);
    refresh();
}
void WordEdit::setValMin(uint16_t v) {
    word_.setValMin(v);
    refresh();
}
void WordEdit::setValMax(uint16_t v) {
    word_.setValMax(v);
    refresh();
}

IntegerEdit::IntegerEdit(QWidget* parent) : NumericEdit(integer_, parent) {
    refresh();
}

void IntegerEdit::setValeur(int32_t v) {
    integer_.setValeur(v);
    refresh();
}
void IntegerEdit::setValMin(int32_t v) {
    integer_.setValMin(v);
    refresh();
}
void IntegerEdit::setValMax(int32_t v) {
    integer_.setValMax(v);
    refresh();
}

}  // namespace orvane::gui
