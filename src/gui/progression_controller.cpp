#include "gui/progression_controller.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>

#include "app/session.h"
#include "gui/dialog_host.h"
#include "gui/widget_factory.h"

namespace orvane::gui {

ProgressionController::ProgressionController(DialogHost& host, Session& session)
    : QDialog(&host.hostWindow(), Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host),
      session_(session) {
    setObjectName("Form11");
    setWindowTitle("Progression Controller");
    auto* g = new QGridLayout(this);
    ButtonPause = button("ButtonPause", "&Pause ||");
    ButtonNext = button("ButtonNext", "&Next >");
    ButtonNoStop = button("ButtonNoStop", "No &Stop >>");
    ButtonSaveAsBmp = button("ButtonSaveAsBmp", "Save As &Bmp");
    ButtonSaveAsSup = button("ButtonSaveAsSup", "Save As S&up");
    ButtonChangeColor = button("ButtonChangeColor", "Change &Colors");
    g->addWidget(ButtonPause, 0, 0);
    g->addWidget(ButtonNext, 0, 1);
    g->addWidget(ButtonNoStop, 0, 2);
    g->addWidget(ButtonSaveAsBmp, 1, 0);
    g->addWidget(ButtonSaveAsSup, 1, 1);
    g->addWidget(ButtonChangeColor, 1, 2);

    connect(ButtonPause, &QPushButton::clicked, this, &ProgressionController::ButtonPauseClick);
    connect(ButtonNext, &QPushButton::clicked, this, &ProgressionController::ButtonNextClick);
    connect(ButtonNoStop, &QPushButton::clicked, this, &ProgressionController::ButtonNoStopClick);
    connect(ButtonSaveAsBmp, &QPushButton::clicked, this,
            &ProgressionController::ButtonSaveAsBmpClick);
    connect(ButtonSaveAsSup, &QPushButton::clicked, this,
            &ProgressionController::ButtonSaveAsSupClick);
    connect(ButtonChangeColor, &QPushButton::clicked, this,
            &ProgressionController::ButtonChangeColorClick);
}

ProgressionChoice ProgressionController::run(int32_t) {
    // Closing by other means lets the reader go on, like Next.
    choice_ = ProgressionChoice::Next;
    // Placed beside the main window the first time only: afterwards it keeps
    // its place (wherever the person moved it), so that repeated clicks on
    // "&Next >" land on the button.
    if (!placed_) {
        adjustSize();
        const QRect m = host_.hostWindow().frameGeometry();
        move(m.right() - width() - 40, m.top() + 120);
        placed_ = true;
    }
    exec();
    if (choice_ == ProgressionChoice::Next) host_.focusReading();
    return choice_;
}

void ProgressionController::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    host_.subtitleView().hide();
    ButtonNext->setFocus();
}

void ProgressionController::finish(ProgressionChoice c) {
    choice_ = c;
    accept();
}

void ProgressionController::ButtonPauseClick() {
    finish(ProgressionChoice::Pause);
}
void ProgressionController::ButtonNextClick() {
    finish(ProgressionChoice::Next);
}
void ProgressionController::ButtonNoStopClick() {
    finish(ProgressionChoice::NoStop);
}
void ProgressionController::ButtonSaveAsBmpClick() {
    // The controller stays open after a save.
    session_.progressionSaveBmp();
}
void ProgressionController::ButtonSaveAsSupClick() {
    // The controller stays open after a save.
    session_.progressionSaveSup();
}
void ProgressionController::ButtonChangeColorClick() {
    // The adjustment shows its result in the preview; the controller stays.
    session_.showAdjustmentDialog();
}

}  // namespace orvane::gui
