#include "modal_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtDebug>

namespace orvane::test {

ModalScript::ModalScript() {
    timer_.setInterval(20);
    connect(&timer_, &QTimer::timeout, this, &ModalScript::poll);
    timer_.start();
}

void ModalScript::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    // Boxes on the stack may reuse an address: each is marked once seen.
    if (auto* box = qobject_cast<QMessageBox*>(modal); box && !box->property("seen").toBool()) {
        box->setProperty("seen", true);
        messages << box->text();
    }
    if (modal && modal != lastModal_) {
        lastModal_ = modal;
        qDebug() << "modal" << modal->metaObject()->className() << modal->windowTitle();
    }
    if (!steps_.empty()) {
        if (steps_.front()(modal)) {
            steps_.pop_front();
            qDebug("step %d done", ++stepsDone_);
        }
        return;
    }
    if (fallback_) fallback_(modal);
}

void ModalScript::onDialog(QWidget* dialog, std::function<void()> act) {
    add([dialog, act = std::move(act)](QWidget* modal) {
        if (modal != dialog) return false;
        act();
        return true;
    });
}

void later(std::function<void()> f) {
    QTimer::singleShot(0, qApp, std::move(f));
}

void clickLater(QAbstractButton* button) {
    QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
}

void acceptLater(QWidget* dialog) {
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
}

bool pressMessageButton(QWidget* modal, const QString& text) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) return false;
    for (QAbstractButton* b : box->buttons()) {
        if (b->text() == text) {
            clickLater(b);
            return true;
        }
    }
    return false;
}

bool pressStandard(QWidget* modal, int standardButton) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) return false;
    QAbstractButton* b = box->button(static_cast<QMessageBox::StandardButton>(standardButton));
    if (!b) return false;
    clickLater(b);
    return true;
}

bool answerFileDialog(QWidget* modal, const QString& path) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return false;
    // Typed into the name field, as a person would; the folder listing
    // fills in the background and need not be ready.
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!edit) return false;
    edit->setText(path);
    acceptLater(dialog);
    return true;
}

}  // namespace orvane::test
