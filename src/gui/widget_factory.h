#pragma once

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace orvane::gui {

// Controls are found by name (language files, tests), so every window names
// them as it makes them.
template <typename T>
T* named(T* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

// A caption, named so that language files reach it.
inline QLabel* label(const QString& name, const QString& text) {
    return named(new QLabel(text), name);
}

// A push button that Enter does not press unless it is the default one;
// the hint, when given, is its tool tip.
inline QPushButton* button(const QString& name, const char* text, const char* hint = nullptr) {
    auto* b = named(new QPushButton(text), name);
    if (hint) b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

// The button Enter presses wherever the focus is in its dialog.
inline QPushButton* defaultButton(const QString& name, const char* text) {
    auto* b = named(new QPushButton(text), name);
    b->setDefault(true);
    b->setAutoDefault(true);
    return b;
}

// A numeric field as window descriptions set it up: the value, then the
// lower bound, then the upper one; wide enough for `sample` plus `padding`.
template <typename Edit, typename V>
Edit* numericEdit(const char* name, V value, V min, V max, const char* sample, int padding) {
    auto* e = named(new Edit, name);
    e->setValeur(value);
    e->setValMin(min);
    e->setValMax(max);
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(sample) + padding);
    return e;
}

}  // namespace orvane::gui
