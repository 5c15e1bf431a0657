#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QAbstractButton;
class QWidget;

namespace orvane::test {

// Answers the windows that come up modally, one scripted step at a time:
// every 20 ms the first step sees the active modal widget (or none) and
// returns true once it has dealt with it. Steps never block: buttons are
// pressed through the event queue, so that nested dialogs can be answered
// by the following steps.
class ModalScript : public QObject {
    Q_OBJECT
  public:
    using Step = std::function<bool(QWidget* modal)>;
    ModalScript();
    void add(Step step) { steps_.push_back(std::move(step)); }
    // A step for one dialog: once `dialog` is the modal widget, `act` deals
    // with it (and should close it, through the event queue).
    void onDialog(QWidget* dialog, std::function<void()> act);
    // Answers modal widgets when no step is left or the first step
    // passes: a fallback for windows that may or may not come.
    void setFallback(Step fallback) { fallback_ = std::move(fallback); }
    bool done() const { return steps_.empty(); }
    size_t left() const { return steps_.size(); }
    // Texts of every message box seen.
    QStringList messages;

  private:
    void poll();
    std::deque<Step> steps_;
    Step fallback_;
    QTimer timer_;
    QWidget* lastMessageBox_ = nullptr;
    int stepsDone_ = 0;
    QWidget* lastModal_ = nullptr;
};

// Runs `f` from the event loop, so that a modal window it opens can be
// answered by the script's next step.
void later(std::function<void()> f);
void clickLater(QAbstractButton* button);
void acceptLater(QWidget* dialog);
// Presses the message box's button with this text (standard buttons by
// their text: "&Yes", "&No", "OK", ...). False when it has none.
bool pressMessageButton(QWidget* box, const QString& text);
// Presses a standard button of a message box.
bool pressStandard(QWidget* box, int standardButton);
// Selects the file in a Qt file dialog and accepts it.
bool answerFileDialog(QWidget* modal, const QString& path);

}  // namespace orvane::test
