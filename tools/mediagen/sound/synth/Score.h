#pragma once
// The background piece as MIDI-like events: a slow piano melody with broken chords under it and
// a quiet string pad, in A minor, in the form A A' B A, which loops.

#include <cstdint>
#include <vector>

namespace mediagen {

struct ScoreEvent {
    enum Type : uint8_t { NoteOff = 0, Control = 1, NoteOn = 2 };
    double seconds = 0;
    Type type = NoteOn;
    uint8_t channel = 0;
    uint8_t key = 0;    // note or controller
    uint8_t value = 0;  // velocity or controller value
};

struct Score {
    double loopSeconds = 0;
    std::vector<ScoreEvent> events;  // in time order; at equal times in Type order
};

Score ComposeClockMusic();

}  // namespace mediagen
