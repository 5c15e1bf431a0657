#include "gui/dialog_placement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <algorithm>

namespace orvane::gui {

QWidget* ownerWindow(QWidget* fallback) {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return fallback;
}

void belongTo(QDialog& dialog, QWidget* opener) {
    QWidget* owner = opener ? opener->window() : nullptr;
    if (!owner || owner == &dialog || dialog.parentWidget() == owner) return;
    const Qt::WindowFlags flags = dialog.windowFlags();
    dialog.setParent(owner, flags);
}

void fitOnScreen(QWidget& window) {
    const QWidget* parent = window.parentWidget();
    QScreen* screen = parent ? parent->window()->screen() : window.screen();
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    // The frame (title bar, borders) counts: it is what must stay on screen.
    QRect frame = window.frameGeometry();
    const QSize margins = frame.size() - window.geometry().size();
    const QSize room = avail.size() - margins;
    if (window.width() > room.width() || window.height() > room.height()) {
        window.resize(std::min(window.width(), room.width()),
                      std::min(window.height(), room.height()));
        frame = window.frameGeometry();
    }
    const int x = std::clamp(frame.left(), avail.left(),
                             std::max(avail.left(), avail.right() - frame.width() + 1));
    const int y = std::clamp(frame.top(), avail.top(),
                             std::max(avail.top(), avail.bottom() - frame.height() + 1));
    if (x != frame.left() || y != frame.top()) window.move(x, y);
}

bool ScreenFitter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow()) fitOnScreen(*dialog);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace orvane::gui
