#pragma once

namespace orvane {

// Puts the heap that the main thread allocates from next on huge pages,
// where the C library and the system allow. A job touches a few MiB of
// heap; each 4 KiB page is a fault when first touched, and on a virtual
// machine a fault can cost ten microseconds: the faults of a short job
// cost more than its reading. Call once, first thing in main. True when
// the heap was prepared so.
bool preferHugePagesForHeap();

}  // namespace orvane
