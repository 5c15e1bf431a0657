// Match time per glyph for the fast matcher and the written-out reference,
// against matrices of 100, 1000 and 10000 entries built from the glyphs of
// the sample discs. The fast matcher is timed on glyphs it has not met
// (a fresh matcher each run) and again on the same glyphs, which its memo
// answers.
//
//   orvane-matcher-bench [--queries N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "ocr/matcher.h"
#include "ocr/segmentation.h"
#include "stream/spu_assembler.h"
#include "stream/stream_reader.h"
#include "subpicture/colour_ranking.h"
#include "subpicture/spu_decoder.h"
#include "support/reference_matcher.h"

namespace {

using namespace orvane;
using Clock = std::chrono::steady_clock;

struct Sample {
    MatrixEntry glyph;
    CharBox box;
};

// Every character of every sub-picture of a VOB's first two streams, cut
// as the OCR cuts them.
struct Collector : PackEvents {
    StreamClock clock;
    SpuAssembler assembler;
    SubPicture picture;
    Segmenter segmenter;
    LineTable lines;
    std::vector<Sample>* out = nullptr;
    void onProgress(int64_t, bool) override {}
    bool onBadPackHeader(int64_t) override { return true; }
    void onScr(uint32_t) override {}
    void onNavPack(const uint8_t*) override {}
    bool onPausePoint() override { return false; }
    void onSubPicturePacket(const SubPicturePacket& p, int64_t sector) override {
        if (!assembler.addPacket(p, sector, clock).complete) return;
        decodeSubPicture(assembler.unit(), picture);
        assembler.clear();
        const uint8_t text = robustTextColour(picture.bitmap, PreviewColours{});
        if (text > 3) return;
        const Colour c = PreviewColours{}[text];
        if (!cropToContent(picture.bitmap, CropMode::Text, c)) return;
        segmenter.segment(picture.bitmap, c, OcrSettings{}, lines);
        for (int l = 0; l < lines.count; ++l)
            for (int j = 1; j <= lines.lines[static_cast<size_t>(l)].count; ++j) {
                const CharBox& b =
                    lines.lines[static_cast<size_t>(l)].chars[static_cast<size_t>(j - 1)];
                out->push_back({buildGlyph(picture.bitmap, b, j), b});
            }
    }
};

double nsPerGlyph(Clock::duration d, size_t n) {
    return std::chrono::duration<double, std::nano>(d).count() / static_cast<double>(n);
}

}  // namespace

int main(int argc, char** argv) {
    size_t queries = 2000;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--queries" && i + 1 < argc)
            queries = std::stoul(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [--queries N]\n", argv[0]);
            return 2;
        }
    }
    std::vector<Sample> samples;
    for (const char* disc : {"pal", "ntsc"}) {
        for (uint8_t stream : {0x20, 0x21}) {
            Collector c;
            c.out = &samples;
            StreamReader reader;
            std::string path = ORVANE_DATA;
            path.append("/").append(disc).append("/VIDEO_TS/VTS_01_1.VOB");
            reader.readFile(path, 0, stream, c);
        }
    }
    std::printf("%zu glyphs cut from the sample discs\n", samples.size());
    std::mt19937 rng(7);
    const OcrSettings settings;
    std::printf("%8s %14s %14s %14s %8s %10s\n", "entries", "fast ns/glyph", "again ns/glyph",
                "ref ns/glyph", "ratio", "matched");
    for (size_t size : {100u, 1000u, 10000u}) {
        // The matrix: sample glyphs with a few pixels changed, in random
        // order, as a long learning session leaves them.
        CharMatrix m;
        while (m.size() < size) {
            Sample s = samples[rng() % samples.size()];
            const int flips = static_cast<int>(rng() % 6);
            for (int f = 0; f < flips; ++f) {
                const int c = static_cast<int>(rng() % s.glyph.width),
                          r = static_cast<int>(rng() % s.glyph.height);
                s.glyph.glyph.set(c, r, !s.glyph.glyph.bit(c, r));
            }
            s.glyph.text = "x";
            m.add(s.glyph);
        }
        std::vector<const Sample*> q;
        for (size_t i = 0; i < queries; ++i) q.push_back(&samples[rng() % samples.size()]);
        // Best of three runs each, measured in turn.
        size_t found = 0, agree = 0;
        std::vector<size_t> fastResults(q.size());
        Clock::duration bestFast = Clock::duration::max(), bestAgain = Clock::duration::max(),
                        bestRef = Clock::duration::max();
        for (int run = 0; run < 3; ++run) {
            Matcher fast;
            fast.match(q[0]->glyph, q[0]->box, m, settings);  // builds the index
            const auto t0 = Clock::now();
            for (size_t i = 0; i < q.size(); ++i)
                fastResults[i] = fast.match(q[i]->glyph, q[i]->box, m, settings);
            const auto tAgain = Clock::now();
            size_t same = 0;
            for (size_t i = 0; i < q.size(); ++i)
                same += fast.match(q[i]->glyph, q[i]->box, m, settings) == fastResults[i];
            bestAgain = std::min(bestAgain, Clock::now() - tAgain);
            if (same != q.size()) std::printf("the memo's answers differ!\n");
            const auto t1 = Clock::now();
            found = agree = 0;
            for (size_t i = 0; i < q.size(); ++i) {
                const size_t r = test::referenceMatch(q[i]->glyph, q[i]->box, m, settings);
                agree += r == fastResults[i];
                found += r != 0;
            }
            const auto t2 = Clock::now();
            bestFast = std::min(bestFast, tAgain - t0);
            bestRef = std::min(bestRef, t2 - t1);
        }
        const double f = nsPerGlyph(bestFast, q.size()), a = nsPerGlyph(bestAgain, q.size()),
                     r = nsPerGlyph(bestRef, q.size());
        std::printf("%8zu %14.0f %14.0f %14.0f %7.1fx %9zu%%%s\n", size, f, a, r, r / f,
                    found * 100 / q.size(), agree == q.size() ? "" : "  (results differ!)");
    }
    return 0;
}
