#include "Score.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "Dsp.h"

namespace mediagen {

namespace {

constexpr double kBeatSeconds = 60.0 / 60.0;
constexpr int kBeatsPerBar = 4;
constexpr int kBarsPerPhrase = 8;
constexpr uint8_t kPiano = 0;
constexpr uint8_t kStrings = 1;

struct Chord {
    int root;                // pitch class
    std::vector<int> tones;  // pitch classes
};

const Chord kAm{9, {9, 0, 4}};
const Chord kF{5, {5, 9, 0}};
const Chord kC{0, {0, 4, 7}};
const Chord kG{7, {7, 11, 2}};
const Chord kDm{2, {2, 5, 9}};
const Chord kE{4, {4, 8, 11}};
const Chord kE7{4, {4, 8, 11, 2}};

using Progression = std::array<const Chord*, kBarsPerPhrase>;
const Progression kHarmonyA{&kAm, &kF, &kC, &kG, &kAm, &kDm, &kE7, &kAm};
const Progression kHarmonyA2{&kAm, &kF, &kC, &kG, &kDm, &kAm, &kF, &kE};
const Progression kHarmonyB{&kF, &kG, &kC, &kAm, &kDm, &kG, &kC, &kE7};

// Rhythms of one bar in beats; a negative length is a rest.
const std::vector<std::vector<double>> kRhythms{
    {2, 1, 1}, {3, 1}, {1, 1, 2}, {1.5, 0.5, 2}, {-1, 1, 2}, {2, 2}, {-1, 1, 1, 1}, {1, 0.5, 0.5, 2},
};

struct MelodyNote {
    double beat;  // from the start of the phrase
    double length;
    int key;
    int velocity;
};

bool Contains(const std::vector<int>& tones, int pitchClass) {
    return std::find(tones.begin(), tones.end(), pitchClass) != tones.end();
}

// A natural minor, with the leading tone G# wherever the chord holds it.
bool InScale(int key, const Chord& chord) {
    const int pc = key % 12;
    if (pc == 7 && Contains(chord.tones, 8)) return false;
    if (pc == 8) return Contains(chord.tones, 8);
    return pc == 9 || pc == 11 || pc == 0 || pc == 2 || pc == 4 || pc == 5 || pc == 7;
}

int NearestChordTone(int around, const Chord& chord) {
    for (int d = 0; d < 12; ++d) {
        if (Contains(chord.tones, (around + d) % 12)) return around + d;
        if (Contains(chord.tones, (around - d + 120) % 12)) return around - d;
    }
    return around;
}

// The next scale tone above (direction 1) or below (-1).
int Step(int key, int direction, const Chord& chord) {
    do key += direction;
    while (!InScale(key, chord));
    return key;
}

class MelodyWriter {
public:
    MelodyWriter(uint64_t seed, int low, int high) : random_(seed), low_(low), high_(high) {}

    // One phrase; `keep` bars are taken from `model` unchanged (a varied repeat). The last bar is
    // one long note on a tone of its chord: the tonic when the chord is the tonic.
    std::vector<MelodyNote> Phrase(const Progression& harmony, const std::vector<MelodyNote>& model, int keep) {
        std::vector<MelodyNote> notes;
        for (const MelodyNote& note : model) {
            if (note.beat < keep * kBeatsPerBar) notes.push_back(note);
        }
        int previous = notes.empty() ? (low_ + high_) / 2 : notes.back().key;
        // Bars 1-2 set a motif whose rhythm bars 3-4 and 6 echo.
        const int first = random_.Below(static_cast<int>(kRhythms.size()));
        const int second = random_.Below(static_cast<int>(kRhythms.size()));
        const std::array<int, kBarsPerPhrase - 1> rhythm{first, second, first, random_.Below(static_cast<int>(kRhythms.size())),
                                                         random_.Below(static_cast<int>(kRhythms.size())), first, 1};
        for (int bar = keep; bar < kBarsPerPhrase; ++bar) {
            const Chord& chord = *harmony[bar];
            // An arch: the line climbs to the sixth bar and settles.
            const float arch = std::sin(kPi * (bar + 0.5f) / kBarsPerPhrase);
            const int centre = low_ + static_cast<int>((high_ - low_) * (0.15f + 0.75f * arch));
            if (bar == kBarsPerPhrase - 1) {
                const int target = Contains(chord.tones, 9) ? NearestTonic(previous) : NearestChordTone(previous, chord);
                notes.push_back({bar * 4.0, 4.0, target, Velocity(bar, 0)});
                break;
            }
            double beat = 0;
            bool firstNote = true;
            for (double length : kRhythms[rhythm[bar]]) {
                if (length < 0) {
                    beat -= length;
                    continue;
                }
                int key;
                if (firstNote || std::fmod(beat, 2.0) == 0.0) {
                    key = NearestChordTone((previous + centre) / 2 + random_.Below(7) - 3, chord);
                    // A strong beat moves on rather than sounding the last note again.
                    if (key == previous) key = NearestChordTone(previous + (previous < centre ? 3 : -3), chord);
                } else {
                    const int direction = previous < centre ? 1 : (previous > centre ? -1 : (random_.Below(2) ? 1 : -1));
                    key = Step(previous, random_.Below(4) == 0 ? -direction : direction, chord);
                }
                // No leap wider than a sixth: a singer could follow the line.
                while (key - previous > 9) key -= 12;
                while (previous - key > 9) key += 12;
                key = std::clamp(key, low_, high_);
                while (!InScale(key, chord)) key = Step(key, -1, chord);
                notes.push_back({bar * 4.0 + beat, length, key, Velocity(bar, beat)});
                previous = key;
                beat += length;
                firstNote = false;
            }
        }
        return notes;
    }

private:
    int NearestTonic(int around) const {
        int best = 57;
        for (int key = 57; key <= 93; key += 12) {
            if (std::abs(key - around) < std::abs(best - around)) best = key;
        }
        return best;
    }
    int Velocity(int bar, double beat) {
        const int accent = beat == 0 ? 6 : 0;
        const int swell = static_cast<int>(8 * std::sin(kPi * (bar + 0.5) / kBarsPerPhrase));
        return 52 + accent + swell + random_.Below(7) - 3;
    }

    Random random_;
    int low_, high_;
};

class ScoreBuilder {
public:
    explicit ScoreBuilder(uint64_t seed) : random_(seed) {}

    void AddNote(uint8_t channel, double seconds, double length, int key, int velocity) {
        score_.events.push_back({seconds, ScoreEvent::NoteOn, channel, static_cast<uint8_t>(key), static_cast<uint8_t>(velocity)});
        score_.events.push_back({seconds + length, ScoreEvent::NoteOff, channel, static_cast<uint8_t>(key), 0});
    }
    void Control(uint8_t channel, double seconds, int controller, int value) {
        score_.events.push_back({seconds, ScoreEvent::Control, channel, static_cast<uint8_t>(controller), static_cast<uint8_t>(value)});
    }

    void Melody(const std::vector<MelodyNote>& notes, double start) {
        for (const auto& note : notes) {
            // A player is never exactly on the grid.
            const double late = random_.Range(0.0f, 0.018f);
            AddNote(kPiano, start + note.beat * kBeatSeconds + late, note.length * kBeatSeconds * 0.98, note.key, note.velocity);
        }
    }

    // Broken chords in the left hand, quarters (or eighths in the middle section), under the pedal.
    void Accompaniment(const Progression& harmony, double start, bool eighths) {
        for (int bar = 0; bar < kBarsPerPhrase; ++bar) {
            const Chord& chord = *harmony[bar];
            const double at = start + bar * kBeatsPerBar * kBeatSeconds;
            Control(kPiano, at, 64, 0);
            Control(kPiano, at + 0.06, 64, 110);
            const int bass = 40 + (chord.root - 40 % 12 + 12) % 12;  // E2 .. D#3
            const int third = bass + 12 + (chord.tones[1] - bass % 12 + 12) % 12;  // a tenth above
            const int fifth = NearestChordTone(bass + 7, chord);
            const std::array<int, 4> pattern{bass, fifth, third, fifth};
            const int steps = eighths ? 8 : 4;
            const double step = kBeatsPerBar * kBeatSeconds / steps;
            for (int i = 0; i < steps; ++i) {
                const int key = eighths && i % 4 == 0 && i > 0 ? bass + 12 : pattern[i % 4];
                const int velocity = (i == 0 ? 44 : 34) + random_.Below(5) - 2 - (eighths ? 4 : 0);
                AddNote(kPiano, at + i * step + random_.Range(0.0f, 0.012f), step * 1.5, key, velocity);
            }
        }
    }

    // Sustained chords in the strings, held over bars that keep the same chord.
    void Pad(const Progression& harmony, double start, int expression) {
        Control(kStrings, start, 11, expression);
        for (int bar = 0; bar < kBarsPerPhrase;) {
            int bars = 1;
            while (bar + bars < kBarsPerPhrase && harmony[bar + bars] == harmony[bar]) ++bars;
            const Chord& chord = *harmony[bar];
            const double at = start + bar * kBeatsPerBar * kBeatSeconds;
            for (int pc : chord.tones) {
                const int key = 55 + (pc - 55 % 12 + 12) % 12;  // G3 .. F#4
                AddNote(kStrings, at, bars * kBeatsPerBar * kBeatSeconds - 0.05, key, 46);
            }
            bar += bars;
        }
    }

    Score Finish(double loopSeconds) {
        score_.loopSeconds = loopSeconds;
        std::stable_sort(score_.events.begin(), score_.events.end(), [](const ScoreEvent& a, const ScoreEvent& b) {
            return a.seconds != b.seconds ? a.seconds < b.seconds : a.type < b.type;
        });
        return std::move(score_);
    }

private:
    Random random_;
    Score score_;
};

}  // namespace

Score ComposeClockMusic() {
    const double phrase = kBarsPerPhrase * kBeatsPerBar * kBeatSeconds;
    MelodyWriter lower(1, 64, 79);   // E4 .. G5
    MelodyWriter second(2, 64, 79);
    MelodyWriter upper(3, 67, 84);   // G4 .. C6
    const std::vector<MelodyNote> a = lower.Phrase(kHarmonyA, {}, 0);
    const std::vector<MelodyNote> a2 = second.Phrase(kHarmonyA2, a, 4);
    const std::vector<MelodyNote> b = upper.Phrase(kHarmonyB, {}, 0);

    ScoreBuilder builder(4);
    builder.Control(kPiano, 0, 91, 72);   // reverb send
    builder.Control(kPiano, 0, 7, 100);
    builder.Control(kStrings, 0, 91, 100);
    builder.Control(kStrings, 0, 7, 62);
    const std::array<const std::vector<MelodyNote>*, 4> melodies{&a, &a2, &b, &a};
    const std::array<const Progression*, 4> harmonies{&kHarmonyA, &kHarmonyA2, &kHarmonyB, &kHarmonyA};
    const std::array<int, 4> expression{72, 88, 104, 80};
    for (int section = 0; section < 4; ++section) {
        const double start = section * phrase;
        builder.Melody(*melodies[section], start);
        builder.Accompaniment(*harmonies[section], start, section == 2);
        builder.Pad(*harmonies[section], start, expression[section]);
    }
    return builder.Finish(4 * phrase);
}

}  // namespace mediagen
