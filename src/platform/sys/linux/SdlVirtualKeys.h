#pragma once
#include <SDL.h>

#include <cstdint>

namespace sys {
// The virtual-key code of an SDL key: letters and digits by the key's meaning in the user's
// layout, everything else by position. 0 when the key has no virtual-key code.
uint32_t VirtualKeyFromSdl(const SDL_Keysym& key);
}  // namespace sys
