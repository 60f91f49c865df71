#pragma once

namespace gfx::gl {

// Keeps freed heap memory in the process instead of handing it back to the kernel; once per
// process, before the first frame is drawn.
void KeepFreedHeapMemory();

}  // namespace gfx::gl
