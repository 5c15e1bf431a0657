#pragma once

#include <QImage>
#include <string>

#include "subpicture/image.h"

namespace orvane::gui {

QImage toQImage(const Image24& image);
// The same picture with every pixel of `transparent` see-through.
QImage toQImageTransparent(const Image24& image, Colour transparent);
QColor toQColor(Colour c);
Colour fromQColor(const QColor& c);
// A JPEG file decoded with libjpeg; a null image when it cannot be read.
QImage loadJpeg(const std::string& path);
// A background image: JPEG through libjpeg, BMP (and what else Qt reads)
// through Qt's readers. Null when the file cannot be read.
QImage loadBackgroundImage(const std::string& path);

}  // namespace orvane::gui
