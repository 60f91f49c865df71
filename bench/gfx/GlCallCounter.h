#pragma once

#include <cstdint>

namespace bench {

// OpenGL calls made in this process so far.
uint64_t GlCalls();

}  // namespace bench
