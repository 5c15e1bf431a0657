// Loading a language file grows in step with its size: the time per
// message of files of 10,000 and 100,000 messages (and as many control
// keys), measured in the same run. A ratio near 1 is linear; 10 would be
// the square of the size.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/language_file.h"

namespace {

double secondsToLoad(const std::string& path) {
    orvane::MessageTable messages;
    messages.setDefaultMessages();
    orvane::ControlNode window{orvane::ControlKind::Window, "Form1", "", {}, false, false, {}, {}};
    for (int i = 0; i < 200; ++i)
        window.children.push_back({orvane::ControlKind::Label,
                                   "Label" + std::to_string(i),
                                   "x",
                                   {},
                                   false,
                                   false,
                                   {},
                                   {}});
    std::vector<orvane::ControlNode> windows{window};
    const auto t0 = std::chrono::steady_clock::now();
    orvane::applyLanguageFile(path, windows, messages);
    const auto t1 = std::chrono::steady_clock::now();
    if (messages.size() < 1000) std::fprintf(stderr, "messages not loaded\n");
    return std::chrono::duration<double>(t1 - t0).count();
}

std::string makeFile(size_t n) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("orvane-language-bench-" + std::to_string(n) + ".lng"))
                                 .string();
    std::ofstream f(path, std::ios::binary);
    f << "[Form1]\r\n";
    for (size_t i = 0; i < n; ++i) f << "Form1.Label" << i << ".Caption=Text " << i << "\r\n";
    f << "[Messages]\r\n";
    for (size_t i = 0; i < n; ++i) f << "MsgStr_" << i << "=Message number " << i << "\r\n";
    return path;
}

}  // namespace

int main() {
    const std::string small = makeFile(10000);
    const std::string large = makeFile(100000);
    const double a = secondsToLoad(small) / 10000;
    const double b = secondsToLoad(large) / 100000;
    std::printf("load time per message: 10,000 messages %.3f us, 100,000 messages %.3f us\n",
                a * 1e6, b * 1e6);
    std::printf("ratio (100,000 / 10,000, per message): %.2f (1 = linear, 10 = quadratic)\n",
                b / a);
    std::filesystem::remove(small);
    std::filesystem::remove(large);
    return 0;
}
