#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// The rules of the numeric entry controls TWord_u (unsigned 16-bit) and
// TInteger_u (signed 32-bit), without any widget: the GUI's edit boxes hold
// one of these, feed it the typed text and show what it returns. Texts are
// French and fixed; they do not come from the message table.
//
// Invariant: valMin() <= valeur() <= valMax(). Setting a bound never moves
// the value; the bound gives way instead.
class NumericEntryModel {
  public:
    // Outcome of the focus-loss check.
    struct CheckResult {
        bool acceptable = true;
        // The warning to show (one OK button), when a value was corrected
        // and errorMsg() is on.
        std::optional<std::string> warning;
        // A correction puts the focus back into the control.
        bool takeFocusBack() const { return !acceptable; }
    };

    bool errorMsg() const { return errorMsg_; }
    void setErrorMsg(bool on) { errorMsg_ = on; }

    int64_t valMin() const { return min_; }
    int64_t valMax() const { return max_; }
    // The value that the text stands for (always within the bounds).
    int64_t valeurWide() const { return value_; }

    // The edit box's text, as typed or pasted. The value follows it: a text
    // that is not a number stands for valMin(), a number beyond a bound for
    // that bound; the text itself is left as it is.
    void setText(std::string text);
    const std::string& text() const { return text_; }

    // "Entier entre <min> et <max>", once a bound has been set.
    const std::string& hint() const { return hint_; }
    // The longest text the box takes.
    size_t maxLength() const { return maxLength_; }

    // Whether a typed character gets through: digits, backspace (8) and
    // Enter (13); TInteger_u also takes the minus sign.
    bool acceptsKey(char c) const;

    // Run when the box loses the focus: an empty text, a text that is not
    // a number, or a number beyond a bound is corrected to the nearest
    // bound, with a warning.
    CheckResult check();

  protected:
    NumericEntryModel(int64_t typeMin, int64_t typeMax, int64_t valMin, int64_t valMax,
                      size_t maxLength, bool signedValues);

    void setValMinWide(int64_t v);
    void setValMaxWide(int64_t v);
    void setValeurWide(int64_t v);

  private:
    // The whole text as a decimal number, beyond the type's range too (a
    // huge number saturates); nullopt when it is not a number.
    std::optional<int64_t> parsedText() const;
    void updateHint();
    void updateMaxLength();

    const int64_t typeMin_, typeMax_;
    const bool signed_;
    bool errorMsg_ = true;
    int64_t value_ = 0;
    int64_t min_, max_;
    std::string text_ = "0";
    std::string hint_;
    size_t maxLength_;
};

// TWord_u: 0..65535, bounds 0..65535 by default, 5 characters.
class WordEntryModel : public NumericEntryModel {
  public:
    WordEntryModel();
    uint16_t valeur() const { return static_cast<uint16_t>(valeurWide()); }
    void setValeur(uint16_t v) { setValeurWide(v); }
    void setValMin(uint16_t v) { setValMinWide(v); }
    void setValMax(uint16_t v) { setValMaxWide(v); }
};

// TInteger_u: signed 32-bit, bounds -2147483647..2147483647 by default
// (not -2147483648), 11 characters.
class IntegerEntryModel : public NumericEntryModel {
  public:
    IntegerEntryModel();
    int32_t valeur() const { return static_cast<int32_t>(valeurWide()); }
    void setValeur(int32_t v) { setValeurWide(v); }
    void setValMin(int32_t v) { setValMinWide(v); }
    void setValMax(int32_t v) { setValMaxWide(v); }
};

}  // namespace orvane
