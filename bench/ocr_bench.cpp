// OCR throughput on the sample discs with the shipped matrices: sub-pictures
// read per second, each stream read several times, best run kept.
//
//   orvane-ocr-bench [--runs N]

#include <chrono>
#include <cstdio>
#include <string>

#include "subpicture/colour_ranking.h"

#include "app/session.h"

namespace {

using namespace orvane;

struct Quiet : UserInterface {
    int unknown = 0;
    Answer messageBox(QuestionId, MessageIcon, const std::string& text, Buttons) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return Answer::Ok;
    }
    std::string askSaveFileName(const FileDialog&) override { return {}; }
    std::optional<uint8_t> chooseTextColour(const Image24& p, const ColourRanking&) override {
        return robustTextColour(p, PreviewColours{});
    }
    NewCharChoice newCharacter(const NewCharacterView&) override {
        ++unknown;
        return {NewCharAction::UseOnce, "#"};
    }
};

struct Stream {
    const char* disc;
    int stream;
    const char* matrix;
};

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::stoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [--runs N]\n", argv[0]);
            return 2;
        }
    }
    const Stream streams[] = {{"pal", 1, "dejavu-sans-bold-30.sum"},
                              {"pal", 2, "liberation-sans-bold-32.sum"},
                              {"ntsc", 1, "dejavu-serif-bold-28.sum"},
                              {"ntsc", 2, "liberation-serif-bold-32.sum"}};
    int totalPictures = 0;
    double totalSeconds = 0;
    std::printf("%-6s %6s %8s %9s %12s %8s\n", "disc", "stream", "pictures", "ms each",
                "pictures/s", "unknown");
    for (const Stream& s : streams) {
        double best = 1e9;
        int pictures = 0, unknown = 0;
        for (int run = 0; run < runs; ++run) {
            Quiet ui;
            Session session(ui);
            session.flags().showSubPicture = false;
            std::string path = ORVANE_MATRICES;
            path.append("/").append(s.matrix);
            if (!session.loadMatrixFile(path, session.matrix())) return 1;
            JobRequest req;
            req.files = {std::string(ORVANE_DATA) + "/" + s.disc + "/VIDEO_TS/VTS_01_1.VOB"};
            req.streamIndex = s.stream - 1;
            req.action = ActionMode::Ocr;
            const auto t0 = std::chrono::steady_clock::now();
            session.startButton(req);
            session.runToEnd();
            const double secs =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            best = std::min(best, secs);
            pictures = session.job().unitsInJob;
            unknown = ui.unknown;
        }
        std::printf("%-6s %6d %8d %9.3f %12.0f %8d\n", s.disc, s.stream, pictures,
                    best * 1000 / pictures, pictures / best, unknown);
        totalPictures += pictures;
        totalSeconds += best;
    }
    std::printf(
        "all: %d pictures in %.3f s, %.0f pictures/s (%.3f ms each), reading the VOB included\n",
        totalPictures, totalSeconds, totalPictures / totalSeconds,
        totalSeconds * 1000 / totalPictures);
    return 0;
}
