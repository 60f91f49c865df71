#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>

#include "Dsp.h"
#include "Score.h"
#include "Sounds.h"

namespace mediagen {

namespace {

constexpr int kPianoProgram = 0;     // acoustic grand
constexpr int kStringsProgram = 49;  // slow strings
constexpr double kTailSeconds = 8.0;  // the reverb after the last bar, carried over to the start
constexpr int kBlock = 4096;

struct Synth {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_synth_t* synth = nullptr;
    ~Synth() {
        if (synth) delete_fluid_synth(synth);
        delete_fluid_settings(settings);
    }
};

void Apply(fluid_synth_t* synth, const ScoreEvent& event) {
    switch (event.type) {
        case ScoreEvent::NoteOn: fluid_synth_noteon(synth, event.channel, event.key, event.value); break;
        case ScoreEvent::NoteOff: fluid_synth_noteoff(synth, event.channel, event.key); break;
        case ScoreEvent::Control: fluid_synth_cc(synth, event.channel, event.key, event.value); break;
    }
}

}  // namespace

StereoSound MakeMusic(const std::filesystem::path& soundFont) {
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    Synth s;
    fluid_settings_setnum(s.settings, "synth.sample-rate", kRate);
    fluid_settings_setint(s.settings, "synth.cpu-cores", 1);
    fluid_settings_setint(s.settings, "synth.chorus.active", 0);
    fluid_settings_setint(s.settings, "synth.reverb.active", 1);
    fluid_settings_setnum(s.settings, "synth.reverb.room-size", 0.78);
    fluid_settings_setnum(s.settings, "synth.reverb.damp", 0.35);
    fluid_settings_setnum(s.settings, "synth.reverb.width", 0.9);
    fluid_settings_setnum(s.settings, "synth.reverb.level", 0.75);
    fluid_settings_setnum(s.settings, "synth.gain", 0.4);
    // Only the two instruments' samples are read from the font.
    fluid_settings_setint(s.settings, "synth.dynamic-sample-loading", 1);
    s.synth = new_fluid_synth(s.settings);
    if (!s.synth || fluid_synth_sfload(s.synth, soundFont.c_str(), 1) == FLUID_FAILED) {
        std::fprintf(stderr, "mediagen: cannot load the sound font %s\n", soundFont.c_str());
        return {};
    }
    fluid_synth_program_change(s.synth, 0, kPianoProgram);
    fluid_synth_program_change(s.synth, 1, kStringsProgram);

    const Score score = ComposeClockMusic();
    const size_t loop = static_cast<size_t>(score.loopSeconds * kRate);
    const size_t total = loop + static_cast<size_t>(kTailSeconds * kRate);
    StereoSound out{std::vector<float>(total, 0.0f), std::vector<float>(total, 0.0f)};
    size_t done = 0;
    auto renderTo = [&](size_t frame) {
        while (done < frame) {
            const int n = static_cast<int>(std::min<size_t>(kBlock, frame - done));
            fluid_synth_write_float(s.synth, n, out.left.data() + done, 0, 1, out.right.data() + done, 0, 1);
            done += static_cast<size_t>(n);
        }
    };
    for (const ScoreEvent& event : score.events) {
        renderTo(std::min(total, static_cast<size_t>(event.seconds * kRate)));
        Apply(s.synth, event);
    }
    renderTo(total);

    WrapTail(out.left, loop);
    WrapTail(out.right, loop);
    // Peaks at -9 dB: the music sits over the rain, lets the far ticking through between its
    // notes and leaves room for thunder.
    const float peak = std::max(Peak(out.left), Peak(out.right));
    if (peak > 0) {
        Scale(out.left, 0.355f / peak);
        Scale(out.right, 0.355f / peak);
    }
    return out;
}

}  // namespace mediagen
