#include "config/numeric_entry.h"

#include <algorithm>

namespace orvane {

NumericEntryModel::NumericEntryModel(int64_t typeMin, int64_t typeMax, int64_t valMin,
                                     int64_t valMax, size_t maxLength, bool signedValues)
    : typeMin_(typeMin),
      typeMax_(typeMax),
      signed_(signedValues),
      min_(valMin),
      max_(valMax),
      maxLength_(maxLength) {}

WordEntryModel::WordEntryModel() : NumericEntryModel(0, 65535, 0, 65535, 5, false) {}

IntegerEntryModel::IntegerEntryModel()
    : NumericEntryModel(INT32_MIN, INT32_MAX, -2147483647, 2147483647, 11, true) {}

void NumericEntryModel::setValMinWide(int64_t v) {
    min_ = std::clamp(v, typeMin_, typeMax_);
    if (max_ < min_) min_ = max_;
    if (value_ < min_) min_ = value_;
    updateHint();
    if (signed_) updateMaxLength();
}

void NumericEntryModel::setValMaxWide(int64_t v) {
    max_ = std::clamp(v, typeMin_, typeMax_);
    if (max_ < min_) max_ = min_;
    if (max_ < value_) max_ = value_;
    updateHint();
    updateMaxLength();
}

void NumericEntryModel::setValeurWide(int64_t v) {
    value_ = v;
    if (value_ > max_) value_ = max_;
    if (value_ < min_) value_ = min_;
    text_ = std::to_string(value_);
}

void NumericEntryModel::setText(std::string text) {
    text_ = std::move(text);
    const std::optional<int64_t> v = parsedText();
    value_ = v ? std::clamp(*v, min_, max_) : min_;
}

void NumericEntryModel::updateHint() {
    hint_ = "Entier entre " + std::to_string(min_) + " et " + std::to_string(max_);
}

void NumericEntryModel::updateMaxLength() {
    // TWord_u takes as many digits as its upper bound has; TInteger_u as
    // many characters as the longer bound, sign included.
    const size_t upper = std::to_string(max_).size();
    maxLength_ = signed_ ? std::max(std::to_string(min_).size(), upper) : upper;
}

bool NumericEntryModel::acceptsKey(char c) const {
    if (c >= '0' && c <= '9') return true;
    if (c == '\b' || c == '\r') return true;
    return signed_ && c == '-';
}

std::optional<int64_t> NumericEntryModel::parsedText() const {
    size_t i = 0;
    const bool negative = !text_.empty() && text_[0] == '-';
    if (negative) ++i;
    if (i == text_.size()) return std::nullopt;
    // Compared with the bounds before any narrowing: a number past the
    // type's range is simply too large (or too small).
    constexpr int64_t kSaturate = int64_t{1} << 40;
    int64_t v = 0;
    for (; i < text_.size(); ++i) {
        const char c = text_[i];
        if (c < '0' || c > '9') return std::nullopt;
        v = std::min(v * 10 + (c - '0'), kSaturate);
    }
    return negative ? -v : v;
}

NumericEntryModel::CheckResult NumericEntryModel::check() {
    CheckResult r;
    auto warn = [&](std::string text) {
        r.acceptable = false;
        if (errorMsg_) r.warning = std::move(text);
    };
    const std::optional<int64_t> v = parsedText();
    if (!v) {
        // Empty, or not a number (pasted text, a minus sign in the middle):
        // corrected like an empty text, so that the box never shows a text
        // other than the value that is used.
        warn("Valeur comprise entre " + std::to_string(min_) + " et " + std::to_string(max_) +
             " attendue.");
        setValeurWide(min_);
    } else if (*v < min_) {
        warn("Valeur trop petite : Valeur minimum = " + std::to_string(min_));
        setValeurWide(min_);
    } else if (*v > max_) {
        warn("Valeur trop grande : Valeur maximum = " + std::to_string(max_));
        setValeurWide(max_);
    } else {
        value_ = *v;
    }
    return r;
}

}  // namespace orvane
