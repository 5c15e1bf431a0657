#pragma once

#include <QWidget>

class QToolButton;

namespace orvane::gui {

// An up-down control whose position never changes: it only reports which
// half was pressed.
class UpDown : public QWidget {
    Q_OBJECT
  public:
    explicit UpDown(QWidget* parent = nullptr);
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

  signals:
    void pressed(bool up);

  private:
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace orvane::gui
