#include "config/numeric_entry.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// As a window description sets a control up: value, then lower, then upper bound.
WordEntryModel word(uint16_t value, uint16_t min, uint16_t max) {
    WordEntryModel w;
    w.setValeur(value);
    w.setValMin(min);
    w.setValMax(max);
    return w;
}

IntegerEntryModel integer(int32_t value, int32_t min, int32_t max) {
    IntegerEntryModel i;
    i.setValeur(value);
    i.setValMin(min);
    i.setValMax(max);
    return i;
}

TEST(NumericEntry, CreationDefaults) {
    WordEntryModel w;
    EXPECT_TRUE(w.errorMsg());
    EXPECT_EQ(w.valeur(), 0);
    EXPECT_EQ(w.valMin(), 0);
    EXPECT_EQ(w.valMax(), 65535);
    EXPECT_EQ(w.text(), "0");
    EXPECT_EQ(w.maxLength(), 5u);

    IntegerEntryModel i;
    EXPECT_EQ(i.valeur(), 0);
    EXPECT_EQ(i.valMin(), -2147483647);  // not -2147483648
    EXPECT_EQ(i.valMax(), 2147483647);
    EXPECT_EQ(i.text(), "0");
    EXPECT_EQ(i.maxLength(), 11u);
}

TEST(NumericEntry, BoundsGiveWayToTheValueAndToEachOther) {
    WordEntryModel w = word(20, 0, 65535);
    w.setValMax(10);
    EXPECT_EQ(w.valMax(), 20);
    w.setValMin(30);
    EXPECT_EQ(w.valMin(), 20);
    EXPECT_EQ(w.valeur(), 20);

    WordEntryModel crossed = word(5, 0, 8);
    crossed.setValMin(9);  // above the upper bound: gives way to it, then to the value
    EXPECT_EQ(crossed.valMin(), 5);
    crossed.setValMin(3);
    crossed.setValMax(1);
    EXPECT_EQ(crossed.valMax(), 5);

    IntegerEntryModel i = integer(-5, -10, 45);
    i.setValMax(-20);
    EXPECT_EQ(i.valMax(), -5);
}

TEST(NumericEntry, SettingTheValuePullsItIntoTheBoundsAndWritesTheText) {
    WordEntryModel w = word(10, 1, 45);
    w.setValeur(99);
    EXPECT_EQ(w.valeur(), 45);
    EXPECT_EQ(w.text(), "45");
    w.setValeur(0);
    EXPECT_EQ(w.valeur(), 1);
    EXPECT_EQ(w.text(), "1");

    // The order of a window description matters: a lower bound above the
    // value still in place gives way to it.
    WordEntryModel early = word(0, 1, 45);
    EXPECT_EQ(early.valMin(), 0);

    IntegerEntryModel i = integer(0, -10, 45);
    i.setValeur(-2000000000);
    EXPECT_EQ(i.valeur(), -10);
    EXPECT_EQ(i.text(), "-10");
}

TEST(NumericEntry, HintAndTextLengthFollowTheBounds) {
    WordEntryModel w = word(0, 0, 59);
    EXPECT_EQ(w.hint(), "Entier entre 0 et 59");
    EXPECT_EQ(w.maxLength(), 2u);
    w.setValMax(999);
    EXPECT_EQ(w.hint(), "Entier entre 0 et 999");
    EXPECT_EQ(w.maxLength(), 3u);

    IntegerEntryModel i = integer(0, -10, 45);
    EXPECT_EQ(i.hint(), "Entier entre -10 et 45");
    EXPECT_EQ(i.maxLength(), 3u);  // "-10"
    i.setValMin(-5);
    EXPECT_EQ(i.maxLength(), 2u);
    i.setValMax(123456);
    EXPECT_EQ(i.maxLength(), 6u);
}

TEST(NumericEntry, KeyFilter) {
    WordEntryModel w;
    IntegerEntryModel i;
    for (char c = '0'; c <= '9'; ++c) {
        EXPECT_TRUE(w.acceptsKey(c));
        EXPECT_TRUE(i.acceptsKey(c));
    }
    for (char c : {'\b', '\r'}) {
        EXPECT_TRUE(w.acceptsKey(c));
        EXPECT_TRUE(i.acceptsKey(c));
    }
    EXPECT_FALSE(w.acceptsKey('-'));
    EXPECT_TRUE(i.acceptsKey('-'));
    for (char c : {'a', 'Z', ' ', '+', '.', ',', 'e', '\t', '\xE9'}) {
        EXPECT_FALSE(w.acceptsKey(c)) << int(c);
        EXPECT_FALSE(i.acceptsKey(c)) << int(c);
    }
}

TEST(NumericEntryCheck, TooLargeAndTooSmallAreCorrectedWithAWarning) {
    WordEntryModel w = word(0, 0, 59);
    w.setText("75");
    auto r = w.check();
    EXPECT_FALSE(r.acceptable);
    EXPECT_TRUE(r.takeFocusBack());
    EXPECT_EQ(r.warning, "Valeur trop grande : Valeur maximum = 59");
    EXPECT_EQ(w.text(), "59");
    EXPECT_EQ(w.valeur(), 59);

    IntegerEntryModel i = integer(0, -10, 45);
    i.setText("-12");
    r = i.check();
    EXPECT_FALSE(r.acceptable);
    EXPECT_EQ(r.warning, "Valeur trop petite : Valeur minimum = -10");
    EXPECT_EQ(i.text(), "-10");
    EXPECT_EQ(i.valeur(), -10);
}

TEST(NumericEntryCheck, AcceptedTextsKeepTheirValue) {
    WordEntryModel w = word(0, 0, 59);
    for (const char* t : {"0", "59", "7", "007"}) {
        w.setText(t);
        const auto r = w.check();
        EXPECT_TRUE(r.acceptable) << t;
        EXPECT_FALSE(r.warning) << t;
        EXPECT_EQ(w.text(), t);
    }
    EXPECT_EQ(w.valeur(), 7);
}

TEST(NumericEntryCheck, NumbersBeyondTheTypeAreTooLargeNotWrapped) {
    // 70000 read as 16 bits would be 4464, inside the bounds.
    WordEntryModel w = word(0, 0, 65535);
    w.setText("70000");
    EXPECT_EQ(w.check().warning, "Valeur trop grande : Valeur maximum = 65535");
    EXPECT_EQ(w.valeur(), 65535);

    IntegerEntryModel i;
    i.setText("99999999999");
    EXPECT_EQ(i.check().warning, "Valeur trop grande : Valeur maximum = 2147483647");
    i.setText("-2147483648");
    EXPECT_EQ(i.check().warning, "Valeur trop petite : Valeur minimum = -2147483647");
    EXPECT_EQ(i.valeur(), -2147483647);
    i.setText("-99999999999999999999999999");
    EXPECT_EQ(i.check().warning, "Valeur trop petite : Valeur minimum = -2147483647");
}

TEST(NumericEntryCheck, EmptyOrNonNumericTextGetsTheRangeWarningAndTheLowerBound) {
    WordEntryModel w = word(10, 1, 45);
    w.setText("");
    auto r = w.check();
    EXPECT_FALSE(r.acceptable);
    EXPECT_EQ(r.warning, "Valeur comprise entre 1 et 45 attendue.");
    EXPECT_EQ(w.text(), "1");
    EXPECT_EQ(w.valeur(), 1);

    // Pasted text, or a minus sign in the middle: the box must not go on
    // showing a text other than the value used.
    IntegerEntryModel i = integer(10, -10, 45);
    for (const char* t : {"1-2", "-", "abc", " 5", "--3", "4e1"}) {
        i.setText(t);
        EXPECT_EQ(i.valeur(), -10) << t;  // what such a text stands for
        r = i.check();
        EXPECT_FALSE(r.acceptable) << t;
        EXPECT_EQ(r.warning, "Valeur comprise entre -10 et 45 attendue.") << t;
        EXPECT_EQ(i.text(), "-10") << t;
    }
}

TEST(NumericEntryCheck, WithoutErrorMsgCorrectionsAreSilent) {
    WordEntryModel w = word(0, 0, 59);
    w.setErrorMsg(false);
    w.setText("75");
    auto r = w.check();
    EXPECT_FALSE(r.acceptable);
    EXPECT_FALSE(r.warning);
    EXPECT_EQ(w.text(), "59");
    w.setText("");
    r = w.check();
    EXPECT_FALSE(r.acceptable);
    EXPECT_FALSE(r.warning);
    EXPECT_EQ(w.text(), "0");
}

TEST(NumericEntry, TheValueFollowsTheTextBeforeTheCheck) {
    // A dialog's default button can be pressed with Enter while the box
    // still has the focus: the value is then read from the text.
    WordEntryModel w = word(0, 0, 999);
    w.setText("250");
    EXPECT_EQ(w.valeur(), 250);
    w.setText("1500");
    EXPECT_EQ(w.valeur(), 999);  // never outside the bounds
    w.setText("");
    EXPECT_EQ(w.valeur(), 0);
    EXPECT_EQ(w.text(), "");  // the text stays as typed until the check
}

}  // namespace
}  // namespace orvane
