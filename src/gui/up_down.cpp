#include "gui/up_down.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace orvane::gui {

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(1);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setObjectName("Up");
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setObjectName("Down");
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFixedSize(22, 16);
        l->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { emit pressed(true); });
    connect(down_, &QToolButton::clicked, this, [this] { emit pressed(false); });
}

}  // namespace orvane::gui
