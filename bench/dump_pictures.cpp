// Writes the decoded sub-pictures of one stream as PGM files for another
// OCR engine: the text colour black on white (the other colours white),
// with a margin, as such engines expect printed text.
//
//   orvane-dump-pictures FILE.VOB STREAM OUT_DIR

#include <cstdio>
#include <string>

#include "stream/spu_assembler.h"
#include "stream/stream_reader.h"
#include "subpicture/colour_ranking.h"
#include "subpicture/spu_decoder.h"

namespace {

using namespace orvane;

struct Dumper : PackEvents {
    StreamClock clock;
    SpuAssembler assembler;
    SubPicture picture;
    std::string dir;
    int count = 0;
    int textNumber = -1;  // chosen on the first picture, like a job does
    void onProgress(int64_t, bool) override {}
    bool onBadPackHeader(int64_t) override { return true; }
    void onScr(uint32_t) override {}
    void onNavPack(const uint8_t*) override {}
    bool onPausePoint() override { return false; }
    void onSubPicturePacket(const SubPicturePacket& p, int64_t sector) override {
        if (!assembler.addPacket(p, sector, clock).complete) return;
        decodeSubPicture(assembler.unit(), picture);
        assembler.clear();
        if (textNumber < 0) textNumber = robustTextColour(picture.bitmap, PreviewColours{});
        const Colour text = PreviewColours{}[static_cast<size_t>(textNumber & 3)];
        constexpr int kMargin = 10;
        const int w = picture.bitmap.width() + 2 * kMargin,
                  h = picture.bitmap.height() + 2 * kMargin;
        char name[64];
        std::snprintf(name, sizeof name, "/%06d.pgm", ++count);
        FILE* f = std::fopen((dir + name).c_str(), "wb");
        if (!f) return;
        std::fprintf(f, "P5\n%d %d\n255\n", w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int sx = x - kMargin, sy = y - kMargin;
                const bool ink = sx >= 0 && sy >= 0 && sx < picture.bitmap.width() &&
                                 sy < picture.bitmap.height() &&
                                 picture.bitmap.pixel(sx, sy) == text;
                std::fputc(ink ? 0 : 255, f);
            }
        std::fclose(f);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FILE.VOB STREAM OUT_DIR\n", argv[0]);
        return 2;
    }
    Dumper d;
    d.dir = argv[3];
    StreamReader reader;
    reader.readFile(argv[1], 0, static_cast<uint8_t>(0x20 + std::stoi(argv[2]) - 1), d);
    std::printf("%d\n", d.count);
    return 0;
}
