#include "platform/audio/SoundLibrary.h"

#ifdef _WIN32
#include "platform/audio/win32/DirectSoundLibrary.h"
#else
#include "platform/audio/OpenAlSoundLibrary.h"
#endif

namespace audio {

namespace {
SoundLibrary* replacement = nullptr;
}

SoundLibrary& GetSoundLibrary() {
#ifdef _WIN32
    static DirectSoundLibrary platform;
#else
    static OpenAlSoundLibrary platform;
#endif
    return replacement ? *replacement : platform;
}

void SetSoundLibrary(SoundLibrary* library) { replacement = library; }

}  // namespace audio
