#include "subtitles/date_time_text.h"

#include <ctime>

namespace orvane {

std::string currentDateTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return {};
    char buf[64];
    const size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(buf, n);
}

}  // namespace orvane
