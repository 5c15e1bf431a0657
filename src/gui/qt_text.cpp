#include "gui/qt_text.h"

#include "common/text_encoding.h"

namespace orvane::gui {

QString toQt(const std::string& cp1252) {
    return QString::fromStdString(cp1252ToUtf8(cp1252));
}

std::string fromQt(const QString& text) {
    return utf8ToCp1252(text.toStdString());
}

QString messageText(const std::string& cp1252) {
    QString s = toQt(cp1252);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

}  // namespace orvane::gui
