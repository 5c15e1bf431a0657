#include "gui/time_fields.h"

#include <QHBoxLayout>
#include <QLabel>

#include "gui/numeric_edit.h"

namespace orvane::gui {

TimeFields TimeFields::create(const QString& suffix, QHBoxLayout* row) {
    TimeFields f;
    const std::pair<QString, uint16_t> nameAndMax[] = {{"Word_uHour" + suffix, 24},
                                                       {"Word_uMin" + suffix, 59},
                                                       {"Word_uSec" + suffix, 59},
                                                       {"Word_uMSec" + suffix, 999}};
    WordEdit** fields[] = {&f.hour, &f.min, &f.sec, &f.msec};
    const char* separators[] = {":", ":", ",", ""};
    for (int i = 0; i < 4; ++i) {
        auto* edit = new WordEdit;
        edit->setObjectName(nameAndMax[i].first);
        edit->setValeur(0);
        edit->setValMin(0);
        edit->setValMax(nameAndMax[i].second);
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("00000") + 12);
        *fields[i] = edit;
        row->addWidget(edit);
        // The separators are captions too (a language may write "." for ",").
        if (*separators[i]) {
            auto* separator = new QLabel(separators[i]);
            separator->setObjectName(nameAndMax[i].first + "Sep");
            row->addWidget(separator);
        }
    }
    return f;
}

TimeCode TimeFields::value() const {
    TimeCode t;
    t.hours = static_cast<uint8_t>(hour->valeur());
    t.minutes = static_cast<uint8_t>(min->valeur());
    t.seconds = static_cast<uint8_t>(sec->valeur());
    t.milliseconds = msec->valeur();
    return t;
}

void TimeFields::setValue(const TimeCode& t) {
    hour->setValeur(t.hours);
    min->setValeur(t.minutes);
    sec->setValeur(t.seconds);
    msec->setValeur(t.milliseconds);
}

}  // namespace orvane::gui
