#include "platform/audio/SoundLibrary.h"
#include "support/win32/Missing.h"

namespace audio {

SoundLibrary& GetSoundLibrary() { MissingOnWindows("audio::SoundLibrary"); }

}  // namespace audio
