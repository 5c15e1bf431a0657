#pragma once

#include <QDialog>
#include <optional>

#include "app/session.h"
#include "subpicture/colour_ranking.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace orvane::gui {

class DialogHost;

// "Font color selection" (TForm9): the user picks the colour number that
// carries the text, seeing it white on black in the main window's preview.
class FontColourDialog : public QDialog {
    Q_OBJECT
  public:
    FontColourDialog(DialogHost& host, Session& session);

    // Shows the dialog modally with the proposal's [1] selected; the chosen
    // colour number, or nullopt for "Skip this Picture".
    std::optional<uint8_t> run(const Image24& picture, const ColourRanking& proposal);

    void FormShow();
    void ComboBoxTextColorChange();
    void ButtonAutoDetectClick();
    void ButtonOkClick();
    void ButtonSkipPictClick();

    QLabel* Label1 = nullptr;
    QComboBox* ComboBoxTextColor = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* ButtonAutoDetect = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonSkipPict = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void selectColour(int n);

    DialogHost& host_;
    Session& session_;
    ColourRanking proposal_{0, 1, 2, 3};
    const Image24* picture_ = nullptr;
    int result_ = 2;
};

}  // namespace orvane::gui
