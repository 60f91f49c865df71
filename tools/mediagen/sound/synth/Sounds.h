#pragma once
// The saver's six sounds, each made from nothing but code (and, for the music, a General MIDI
// sound font of the distribution). All at kRate; stereo sounds as left and right.

#include <filesystem>
#include <vector>

namespace mediagen {

struct StereoSound {
    std::vector<float> left;
    std::vector<float> right;
};

// A pendulum clock's tick and tock one second apart: a two-second mono loop.
std::vector<float> MakeTicks();
// Steady rain on the panes and a roof: a seamless stereo loop.
StereoSound MakeRain();
// Thunder: 0 a near crack that rolls away, 1 a medium roll, 2 a distant rumble.
StereoSound MakeThunder(int kind);
// The background piece, rendered with FluidSynth from `soundFont`: a seamless stereo loop.
// Empty when the sound font cannot be used.
StereoSound MakeMusic(const std::filesystem::path& soundFont);

}  // namespace mediagen
