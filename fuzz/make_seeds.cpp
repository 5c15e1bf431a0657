// Writes a seed corpus for each fuzz target, made with the same encoders
// the unit tests build their inputs with: make_seeds OUT_FOLDER.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ocr/char_matrix.h"
#include "subtitles/orvane_format.h"
#include "support/pack_builder.h"
#include "support/spu_encoder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void write(const fs::path& folder, const std::string& name, const Bytes& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void write(const fs::path& folder, const std::string& name, const std::string& text) {
    write(folder, name, Bytes(text.begin(), text.end()));
}

orvane::test::IndexedPicture picture(int w, int h) {
    auto pic = orvane::test::IndexedPicture::filled(w, h, 0);
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x)
            pic.set(x, y, static_cast<uint8_t>(1 + (x * 7 + y * 3) % 3));
    return pic;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const fs::path out = argv[1];
    using namespace orvane::test;

    // Sub-picture units, alone and packed into sectors with NAV packs.
    const std::vector<Bytes> units = {makeUnit(picture(20, 4), 10, 20, 100),
                                      makeUnit(picture(64, 18), 100, 400, 200, 10),
                                      makeUnit(picture(3, 1), 0, 0)};
    for (size_t i = 0; i < units.size(); ++i)
        write(out / "spu_decoder", "unit" + std::to_string(i), units[i]);
    VobBuilder vob;
    vob.nav(1);
    for (size_t i = 0; i < units.size(); ++i)
        vob.unit(units[i], 90000u * static_cast<uint32_t>(i + 1), 0x20, 700);
    fs::create_directories(out / "stream");
    vob.filler().write((out / "stream" / "vob").string());

    // Matrices of 0, 1 and 3 entries.
    for (size_t n : {0u, 1u, 3u}) {
        orvane::CharMatrix m;
        m.setComment("seed");
        for (size_t i = 0; i < n; ++i) {
            orvane::MatrixEntry e;
            e.width = static_cast<uint8_t>(5 + i);
            e.height = 9;
            e.text = std::string(i + 1, static_cast<char>('a' + i));
            for (int r = 0; r < 9; ++r) e.glyph.setRow(r, (uint64_t{1} << (r + i)) | 1u);
            m.add(e);
        }
        write(out / "matrix", "m" + std::to_string(n), m.toBytes());
    }

    // Own-format files, plain and extended, with a wide time.
    std::string ovt;
    const std::vector<orvane::SubtitleEntry> entries = {{orvane::timeCodeFromMs(1500),
                                                         orvane::timeCodeFromMs(3000),
                                                         {"Hello,", "world"},
                                                         {7, 500, 700, 540}},
                                                        {orvane::timeCodeFromMs(360000000),
                                                         orvane::timeCodeFromMs(360001000),
                                                         {"late"},
                                                         {0, 0, 0, 0}}};
    for (bool extended : {false, true}) {
        std::string text;
        for (size_t i = 0; i < entries.size(); ++i)
            for (const auto& l : orvane::orvaneEntryLines(entries[i], i + 1, extended))
                text += l + "\r\n";
        write(out / "orvane_format", extended ? "extended" : "plain", text);
    }

    // INI files: the configuration, a profile and a language file.
    const std::string ini =
        "[CONFIG]\r\nActionMode=1\r\nLanguageFileName=Fran\xE7"
        "ais\r\n\r\n[OCR SETTING]\r\n"
        "Sensibility=0x10\r\nMaxLineHeight=\"  40 \"\r\n";
    write(out / "ini", "config", ini);
    const std::string profile =
        "[BMP OUT CROPPING]\r\nCropOn=1\r\nMultipleX=4\r\n[BMP OUT COLOR]\r\nBits=8\r\n"
        "ColorPalIndex_1=3\r\n[BMP OUT POSITIONING]\r\nXPosMode=2\r\nSetTo.Y=500\r\n";
    write(out / "bitmap_profile", "profile", profile);
    write(out / "language", "lang",
          "[Form1]\r\nForm1.Form1.Caption=Orvane\r\nForm1.Button1.Caption= OK \r\n"
          "Form1.RadioGroupAction.Items1=BMP\r\n[Form1.MainMenu1]\r\nForm1.MainMenu1.Open1=&"
          "Ouvrir\r\n"
          "[Messages]\r\nMsgStr_0=Un\r\nMsgStr_1=Deux\r\n");

    // A title set IFO with a few language codes.
    Bytes ifo(2048, 0);
    const char* sig = "DVDVIDEO-VTS";
    std::copy(sig, sig + 12, ifo.begin());
    const char* codes[] = {"en", "fr", "de", "xq"};
    for (size_t k = 0; k < 4; ++k) {
        ifo[600 + 6 * k] = static_cast<uint8_t>(codes[k][0]);
        ifo[601 + 6 * k] = static_cast<uint8_t>(codes[k][1]);
    }
    write(out / "ifo", "vts", ifo);
    return 0;
}
