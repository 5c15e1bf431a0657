#pragma once

#include <QDialog>

#include "app/session.h"
#include "ocr/post_ocr_correction.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace orvane::gui {

// "Post OCR Correction" (TForm10): the quote repair and the I/l repair of
// the whole document, with the I/l rules' language; the 0/O repair and the
// spelling dictionary of that language on request.
class PostOcrDialog : public QDialog {
    Q_OBJECT
  public:
    PostOcrDialog(QWidget& parent, Session& session);

    void run();
    // The choices as the controls hold them.
    PostOcrOptions options() const;

    // Handlers.
    void CheckBoxCorrectIlClick();
    void BitBtnCorrectClick();

    QCheckBox* CheckBoxCorrectTwiceAp = nullptr;
    QCheckBox* CheckBoxCorrectIl = nullptr;
    QGroupBox* RadioGroupCorrectIlLanguage = nullptr;
    QRadioButton* RadioLanguage[4] = {};
    // Beyond the I/l rules: 0/O, and the language's spelling dictionary
    // deciding the words it knows.
    QCheckBox* CheckBoxCorrectZeroO = nullptr;
    QCheckBox* CheckBoxUseDictionary = nullptr;
    QPushButton* BitBtnCorrect = nullptr;
    QPushButton* BitBtn2 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Session& session_;
};

}  // namespace orvane::gui
