#include "platform/gfx/gl/HeapThresholds.h"

#include <malloc.h>

#include <mutex>

namespace gfx::gl {

// The software rasterizer allocates and frees about 13 MB of bins every frame. With glibc's
// defaults the freed top of the heap is trimmed back to the kernel, and large blocks are mapped
// and unmapped, so every frame faults the same memory in again page by page: thousands of page
// faults and tens of brk calls per frame. Fixed thresholds well above a frame's needs keep that
// memory mapped, at the price of holding up to a frame's worth of freed memory. Setting them
// also stops glibc from adjusting them itself, so they hold for the whole run.
void KeepFreedHeapMemory() {
    static std::once_flag once;
    std::call_once(once, [] {
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
        mallopt(M_MMAP_THRESHOLD, 32 << 20);  // glibc's largest
    });
}

}  // namespace gfx::gl
