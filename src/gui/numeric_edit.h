#pragma once

#include <QLineEdit>

#include "config/numeric_entry.h"

namespace orvane::gui {

// The edit box of whole numbers within bounds (TWord_u, TInteger_u): a thin
// view over the numeric-entry model, which holds the rules. Keys are
// filtered as typed; leaving the box checks it, shows the model's warning
// and takes the focus back when the value was corrected.
class NumericEdit : public QLineEdit {
    Q_OBJECT
  public:
    // The warning box's title.
    static constexpr const char* kWarningTitle = "Orvane";

    NumericEntryModel& model() { return model_; }
    // Copies the model's text, hint and length into the box.
    void refresh();
    // The focus-loss check, also callable directly; true when acceptable.
    bool runCheck();

  signals:
    // The value changed by typing (not by the program's own filling).
    void valueEdited();

  protected:
    explicit NumericEdit(NumericEntryModel& model, QWidget* parent);
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    NumericEntryModel& model_;
    bool checking_ = false;
};

class WordEdit : public NumericEdit {
    Q_OBJECT
  public:
    explicit WordEdit(QWidget* parent = nullptr);
    uint16_t valeur() {
        word_.setText(text().toStdString());
        return word_.valeur();
    }
    void setValeur(uint16_t v);
    void setValMin(uint16_t v);
    void setValMax(uint16_t v);

  private:
    WordEntryModel word_;
};

class IntegerEdit : public NumericEdit {
    Q_OBJECT
  public:
    explicit IntegerEdit(QWidget* parent = nullptr);
    int32_t valeur() {
        integer_.setText(text().toStdString());
        return integer_.valeur();
    }
    void setValeur(int32_t v);
    void setValMin(int32_t v);
    void setValMax(int32_t v);

  private:
    IntegerEntryModel integer_;
};

}  // namespace orvane::gui
