#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;

namespace orvane::gui {

// The about box (TForm12): the program's name and version over a picture
// of a film frame with a subtitle, drawn in code.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPictureWidth = 400;
    static constexpr int kPictureHeight = 225;

    explicit AboutDialog(QWidget* parent);

    // The picture behind the texts.
    static QImage picture();

    QLabel* ImageAbout = nullptr;
    QLabel* LabelVersion = nullptr;
    QLabel* LabelPurpose = nullptr;
    QPushButton* BitBtn1 = nullptr;
};

}  // namespace orvane::gui
