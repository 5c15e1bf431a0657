#pragma once

#include <QDialog>

#include "app/matrix_editor.h"
#include "app/session.h"

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace orvane::gui {

class DialogHost;

// The character matrix editor "View/Edit Character Matrix" (TForm5), a
// modeless window over the current matrix. It mirrors the rows of the
// core's MatrixEditor and passes clicks and keys on to it.
class MatrixEditorDialog : public QDialog {
    Q_OBJECT
  public:
    MatrixEditorDialog(DialogHost& host, Session& session);

    MatrixEditor& editor() { return editor_; }

    // Called by the UI port: the matrix was opened, made new, replaced or
    // saved; and entry k was learned while reading.
    void matrixChanged();
    void entryAdded(size_t k);

    // Handlers.
    void FormShow();
    void ShowSelection();
    void ButtonModifyClick();
    void ButtonDeleteClick();
    void MemoCommentChange();
    void RadioGroupSortClick();
    void CheckBoxOnTopClick();
    void ButtonOpenChMatrixClick();

    QLabel* Label7 = nullptr;
    QListWidget* ListBoxMatrix = nullptr;
    QGroupBox* RadioGroupSort = nullptr;
    QRadioButton* RadioSort[2] = {};
    QLabel* Label6 = nullptr;
    QPlainTextEdit* MemoComment = nullptr;
    QLabel* ImageChar = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* LabelCharIndex = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* LabelRTop = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* LabelWidth = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* LabelHeight = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* EditText = nullptr;
    QLabel* LabelLengthText = nullptr;
    QLabel* LabelNbChar = nullptr;
    QPushButton* ButtonModify = nullptr;
    QPushButton* ButtonDelete = nullptr;
    QCheckBox* CheckBoxOnTop = nullptr;
    QPushButton* ButtonOpenChMatrix = nullptr;
    QPushButton* BitBtn1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildListGroup(QHBoxLayout* top);
    void buildDetailsGroup(QHBoxLayout* top);
    void connectControls();
    void buildGlyphRow(QVBoxLayout* right);
    void buildTextRow(QVBoxLayout* right);
    void buildButtonRows(QVBoxLayout* right);
    // The list widget from the editor's rows, the selection with them.
    void showRows();
    void showSelectedRow();
    void matrixEdited();

    DialogHost& host_;
    Session& session_;
    MatrixEditor editor_;
};

}  // namespace orvane::gui
