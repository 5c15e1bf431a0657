#include "gui/image_convert.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
}

namespace orvane::gui {

QImage toQImage(const Image24& image) {
    QImage out(image.width(), image.height(), QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(out.scanLine(y), image.row(y), static_cast<size_t>(image.width()) * 3);
    return out;
}

QImage toQImageTransparent(const Image24& image, Colour transparent) {
    QImage out(image.width(), image.height(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const Colour c = image.pixel(x, y);
            line[x] = c == transparent ? qRgba(0, 0, 0, 0)
                                       : qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        }
    }
    return out;
}

QColor toQColor(Colour c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

Colour fromQColor(const QColor& c) {
    return rgbColour(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                     static_cast<uint8_t>(c.blue()));
}

namespace {

struct JpegError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void jpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void jpegSilent(j_common_ptr) {}

// Decodes into `out` (already allocated by the caller after the header).
// Kept free of objects with destructors between setjmp and longjmp.
bool decodeJpeg(std::FILE* file, QImage* out) {
    jpeg_decompress_struct info;
    JpegError err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = jpegErrorExit;
    err.base.output_message = jpegSilent;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width == 0 || info.output_height == 0 ||
        info.output_width > 16384 || info.output_height > 16384) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    *out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                  QImage::Format_RGB888);
    if (out->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

QImage loadJpeg(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {};
    QImage img;
    const bool ok = decodeJpeg(f, &img);
    std::fclose(f);
    return ok ? img : QImage();
}

QImage loadBackgroundImage(const std::string& path) {
    QFile f(QString::fromLocal8Bit(path.c_str()));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray head = f.read(3);
    f.close();
    if (head.size() == 3 && static_cast<unsigned char>(head[0]) == 0xFF &&
        static_cast<unsigned char>(head[1]) == 0xD8)
        return loadJpeg(path);
    return QImage(QString::fromLocal8Bit(path.c_str()));
}

}  // namespace orvane::gui
