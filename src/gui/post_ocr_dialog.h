#pragma once

#include <QDialog>

#include "ocr/post_ocr_correction.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace orvane::gui {

class MainWindow;

// "Post OCR Correction" (TForm10): the quote repair and the I/l repair of
// the whole document, with the I/l rules' language; the 0/O repair and the
// spelling dictionary of that language on request.
class PostOcrDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PostOcrDialog(MainWindow& main);

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
    MainWindow& main_;
};

}  // namespace orvane::gui
