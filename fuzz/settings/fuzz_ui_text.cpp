// Any bytes as the UI-text file: loaded, then looked up by keys that are and are not in it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "shell/UiText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    UiText text;
    text.Load(std::span<const uint8_t>(data, size));
    for (const char* key : {"", "#", "screensaver_configuration", "SCREENSAVER_CONFIGURATION", "x#y"}) text.GetUiText(key);
    return 0;
}
