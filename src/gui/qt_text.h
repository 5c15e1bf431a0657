#pragma once

#include <QString>
#include <string>

namespace orvane::gui {

// The one place where Orvane's Windows-1252 texts meet Qt's strings.
QString toQt(const std::string& cp1252);
std::string fromQt(const QString& text);
// A message composed by the core: its CR line breaks become Qt's.
QString messageText(const std::string& cp1252);

}  // namespace orvane::gui
