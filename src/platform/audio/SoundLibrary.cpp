#include "platform/audio/SoundLibrary.h"

#include "platform/audio/OpenAlSoundLibrary.h"

namespace audio {

namespace {
SoundLibrary* replacement = nullptr;
}

SoundLibrary& GetSoundLibrary() {
    static OpenAlSoundLibrary platform;
    return replacement ? *replacement : platform;
}

void SetSoundLibrary(SoundLibrary* library) { replacement = library; }

}  // namespace audio
