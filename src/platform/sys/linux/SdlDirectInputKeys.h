#pragma once
#include <SDL.h>

#include <cstdint>

namespace sys {
// The input library's key code for a key position, 0 for a key it has no code for.
uint32_t DirectInputKeyFromScancode(SDL_Scancode scancode);
}  // namespace sys
