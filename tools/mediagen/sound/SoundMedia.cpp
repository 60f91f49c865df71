// The "sound" kind of the media generator: the six Ogg Vorbis files of the clock room.
#include <array>
#include <cstdio>

#include "synth/Dsp.h"
#include "MediaGenerator.h"
#include "synth/Sounds.h"
#include "ogg/OggVorbisWriter.h"

namespace mediagen {

namespace {

// Stereo ambience narrows at lower qualities.
constexpr float kQuality = 0.5f;

bool Write(const std::filesystem::path& path, std::span<const std::span<const float>> channels) {
    return WriteMediaFile(path, EncodeOggVorbis(channels, kRate, kQuality));
}

bool Write(const std::filesystem::path& path, const StereoSound& sound) {
    if (sound.left.empty()) return false;
    const std::array<std::span<const float>, 2> channels{sound.left, sound.right};
    return Write(path, channels);
}

std::filesystem::path SoundFont() {
    for (const char* path : {QUELMONT_SOUND_FONT, "/usr/share/sounds/sf3/MuseScore_General.sf3"}) {
        if (std::filesystem::exists(path)) return path;
    }
    return QUELMONT_SOUND_FONT;
}

bool GenerateSounds(const std::filesystem::path& media) {
    const std::vector<float> ticks = MakeTicks();
    const std::array<std::span<const float>, 1> mono{ticks};
    bool ok = Write(media / "ClockTicks.ogg", mono);
    ok = ok && Write(media / "ClockRain.ogg", MakeRain());
    for (int kind = 0; ok && kind < 3; ++kind) {
        char name[32];
        std::snprintf(name, sizeof name, "ClockGrom%d.ogg", kind + 1);
        ok = Write(media / name, MakeThunder(kind));
    }
    return ok && Write(media / "ClockMusic.ogg", MakeMusic(SoundFont()));
}

const MediaGeneratorRegistration registration({"sound", GenerateSounds});

}  // namespace

}  // namespace mediagen
