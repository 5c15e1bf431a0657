// Scan throughput against plain reading of the same file, both from the
// page cache, and the CLI's peak memory on a small and a large file.
//
//   orvane-scan-bench [--source VOB] [--size-mib N] [--file PATH] [--keep] [--cli PATH]

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/session.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// Moves the sub-picture packets of a copy to sub-streams no job selects,
// as the other subtitle languages of a disc are.
std::vector<char> withoutSubtitles(std::vector<char> data) {
    for (size_t at = 0; at + 2048 <= data.size(); at += 2048) {
        auto* s = reinterpret_cast<uint8_t*>(&data[at]);
        if (s[14] == 0 && s[15] == 0 && s[16] == 1 && s[17] == 0xBD) {
            uint8_t& id = s[23 + s[22]];
            if (id >= 0x20 && id < 0x40) id = static_cast<uint8_t>(0x3F - (id & 0x0F));
        }
    }
    return data;
}

// Repeats the sectors of `source` until `path` holds at least `bytes`;
// only every `keepEvery`th copy keeps its subtitles.
void makeBigFile(const std::string& source, const std::string& path, uint64_t bytes,
                 int keepEvery) {
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) >= bytes && !ec) return;
    std::ifstream in(source, std::ios::binary);
    std::vector<char> data{std::istreambuf_iterator<char>(in), {}};
    data.resize(data.size() / 2048 * 2048);
    if (data.empty()) {
        std::fprintf(stderr, "cannot read %s\n", source.c_str());
        std::exit(1);
    }
    const std::vector<char> quiet = withoutSubtitles(data);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    uint64_t written = 0;
    for (int copy = 0; written < bytes; ++copy) {
        const std::vector<char>& d = copy % keepEvery == 0 ? data : quiet;
        out.write(d.data(), static_cast<std::streamsize>(d.size()));
        written += d.size();
    }
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

uint64_t plainRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::vector<char> buf(1 << 20);
    uint64_t total = 0;
    ssize_t n;
    while ((n = ::read(fd, buf.data(), buf.size())) > 0) total += static_cast<uint64_t>(n);
    ::close(fd);
    return total;
}

struct QuietUi : orvane::UserInterface {
    int units = 0;
    orvane::Answer messageBox(orvane::QuestionId, orvane::MessageIcon, const std::string& text,
                              orvane::Buttons) override {
        std::fprintf(stderr, "unexpected question: %s\n", text.c_str());
        return orvane::Answer::YesToAll;
    }
    std::string askSaveFileName(const orvane::FileDialog&) override { return {}; }
    std::optional<uint8_t> chooseTextColour(const orvane::Image24&,
                                            const orvane::ColourRanking& p) override {
        return p[1];
    }
    orvane::NewCharChoice newCharacter(const orvane::NewCharacterView&) override {
        return {orvane::NewCharAction::SkipPicture, {}};
    }
    void unitCompleted(const orvane::UnitReport&) override { ++units; }
};

// The reader's own work for one stream: every pack through the clocks,
// NAV packs through the cell clock, the stream's packets into complete
// units; the units are counted, not decoded.
struct ParserOnly : orvane::PackEvents {
    orvane::StreamClock clock;
    orvane::CellClock cells;
    orvane::SpuAssembler assembler;
    int units = 0;
    void onProgress(int64_t, bool) override {}
    bool onBadPackHeader(int64_t) override { return true; }
    void onScr(uint32_t scr) override { clock.updateScr(scr, false); }
    void onNavPack(const uint8_t* sector) override { cells.onNavPack(sector); }
    void onSubPicturePacket(const orvane::SubPicturePacket& p, int64_t sector) override {
        if (assembler.addPacket(p, sector, clock).complete) {
            ++units;
            assembler.clear();
        }
    }
    bool onPausePoint() override { return false; }
};

int parse(const std::string& path) {
    orvane::StreamReader reader;
    ParserOnly events;
    events.clock.reset();
    reader.readFile(path, 0, 0x20, events);
    return events.units;
}

int scan(const std::string& path) {
    QuietUi ui;
    orvane::Session session(ui);
    orvane::JobRequest req;
    req.files = {path};
    req.action = orvane::ActionMode::OnlyShow;
    session.startJob(req);
    session.progressionNonStop = true;
    session.runToEnd();
    return ui.units;
}

// Peak resident memory (KiB) of `orvane-cli scan FILE`.
long cliPeakKiB(const std::string& cli, const std::string& file) {
    std::vector<std::string> args{cli, "scan", "--bad-headers", "yes-to-all", file};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    if (posix_spawn(&pid, cli.c_str(), &fa, nullptr, argv.data(), environ) != 0) return -1;
    posix_spawn_file_actions_destroy(&fa);
    int status = 0;
    struct rusage ru {};
    if (wait4(pid, &status, 0, &ru) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return ru.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    std::string source = ORVANE_SAMPLE_VOB;
    std::string file = (std::filesystem::temp_directory_path() / "orvane-scan-bench.vob").string();
    std::string cli = ORVANE_CLI_PATH;
    uint64_t sizeMiB = 1024;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--source" && i + 1 < argc)
            source = argv[++i];
        else if (a == "--size-mib" && i + 1 < argc)
            sizeMiB = std::stoull(argv[++i]);
        else if (a == "--file" && i + 1 < argc)
            file = argv[++i];
        else if (a == "--cli" && i + 1 < argc)
            cli = argv[++i];
        else if (a == "--keep")
            keep = true;
        else {
            std::fprintf(
                stderr,
                "usage: %s [--source VOB] [--size-mib N] [--file PATH] [--keep] [--cli PATH]\n",
                argv[0]);
            return 2;
        }
    }
    makeBigFile(source, file, sizeMiB << 20, 1);
    const std::string sparse = file + ".film";
    makeBigFile(source, sparse, sizeMiB << 20, 40);
    plainRead(sparse);
    const uint64_t bytes = std::filesystem::file_size(file);
    plainRead(file);  // into the page cache
    scan(file);

    // Best of five, the three measured in turn so that they share the
    // machine's state.
    double bestRead = 1e9, bestParse = 1e9, bestScan = 1e9;
    int units = 0, parsedUnits = 0;
    for (int round = 0; round < 5; ++round) {
        auto t0 = Clock::now();
        plainRead(file);
        auto t1 = Clock::now();
        parsedUnits = parse(file);
        auto t2 = Clock::now();
        units = scan(file);
        auto t3 = Clock::now();
        bestRead = std::min(bestRead, seconds(t0, t1));
        bestParse = std::min(bestParse, seconds(t1, t2));
        bestScan = std::min(bestScan, seconds(t2, t3));
    }
    double bestFilm = 1e9, bestFilmRead = 1e9;
    int filmUnits = 0;
    for (int round = 0; round < 5; ++round) {
        auto t0 = Clock::now();
        plainRead(sparse);
        auto t1 = Clock::now();
        filmUnits = scan(sparse);
        auto t2 = Clock::now();
        bestFilmRead = std::min(bestFilmRead, seconds(t0, t1));
        bestFilm = std::min(bestFilm, seconds(t1, t2));
    }
    const double gib = static_cast<double>(bytes) / (1 << 30);
    std::printf(
        "file: %s, %.2f GiB, %d sub-picture units of stream 1 (%.0f per GiB; a feature film has\n"
        "      about 1500 in 5 GiB, 300 per GiB)\n",
        file.c_str(), gib, units, units / gib);
    if (parsedUnits != units) std::printf("warning: the parser counted %d units\n", parsedUnits);
    std::printf("plain read() in 1 MiB blocks:        %.3f s  %6.2f GB/s\n", bestRead,
                bytes / bestRead / 1e9);
    std::printf(
        "stream reader (packs, clocks, units): %.3f s  %6.2f GB/s  ratio to read %.2f (target >= "
        "0.80)\n",
        bestParse, bytes / bestParse / 1e9, bestRead / bestParse);
    std::printf("full scan (every unit decoded):       %.3f s  %6.2f GB/s  ratio to read %.2f\n",
                bestScan, bytes / bestScan / 1e9, bestRead / bestScan);
    std::printf(
        "full scan, one copy in 40 keeping its subtitles (%d units, film density):\n"
        "                                      %.3f s  %6.2f GB/s  ratio to read %.2f\n",
        filmUnits, bestFilm, bytes / bestFilm / 1e9, bestFilmRead / bestFilm);

    const long small = cliPeakKiB(cli, source);
    const long large = cliPeakKiB(cli, file);
    std::printf("orvane-cli scan peak RSS: %ld KiB on %s (%.1f MiB), %ld KiB on %.2f GiB\n", small,
                source.c_str(), std::filesystem::file_size(source) / 1048576.0, large, gib);
    if (!keep) {
        std::filesystem::remove(file);
        std::filesystem::remove(sparse);
    }
    return 0;
}
