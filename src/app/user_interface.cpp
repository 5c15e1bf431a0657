#include "app/user_interface.h"

#include <chrono>

#include "app/bitmap_adjustment.h"

namespace orvane {

uint32_t UserInterface::tickCount() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void UserInterface::bitmapAdjustment(BitmapAdjustment& dialog) {
    dialog.ok();
}

}  // namespace orvane
