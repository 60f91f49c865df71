#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ogg/OggVorbisWriter.h"
#include "platform/audio/VorbisDecoder.h"
#include "synth/Dsp.h"
#include "synth/Score.h"
#include "synth/Sounds.h"

namespace {

struct Decoded {
    int channels = 0;
    uint32_t rate = 0;
    std::vector<float> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / static_cast<size_t>(channels) : 0; }
    double Seconds() const { return rate ? static_cast<double>(Frames()) / rate : 0; }
    float At(size_t frame, int channel) const { return samples[frame * static_cast<size_t>(channels) + static_cast<size_t>(channel)]; }
};

std::vector<uint8_t> ReadMedia(const std::string& name) {
    std::ifstream in(std::string(QUELMONT_BINARY_DIR) + "/media/tree/Media/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

Decoded Decode(const std::vector<uint8_t>& bytes) {
    Decoded out;
    audio::VorbisDecoder decoder;
    if (!decoder.Open(bytes, false)) return out;
    out.channels = decoder.OutputChannels();
    out.rate = decoder.Rate();
    std::vector<int16_t> pcm;
    size_t frames = 0;
    for (;;) {
        pcm.resize((frames + 65536) * static_cast<size_t>(out.channels));
        const size_t got = decoder.Read(pcm.data() + frames * static_cast<size_t>(out.channels), 65536);
        if (got == 0) break;
        frames += got;
    }
    pcm.resize(frames * static_cast<size_t>(out.channels));
    out.samples.assign(pcm.begin(), pcm.end());
    for (float& v : out.samples) v /= 32768.0f;
    return out;
}

float Peak(const Decoded& sound) {
    float peak = 0;
    for (float v : sound.samples) peak = std::max(peak, std::fabs(v));
    return peak;
}

// Across the loop point the wave moves no more than it usually does from one sample to the next.
void ExpectSeamless(const Decoded& sound) {
    const size_t last = sound.Frames() - 1;
    for (int c = 0; c < sound.channels; ++c) {
        // The typical step, from the second before the end.
        const size_t from = last - std::min<size_t>(last, sound.rate);
        double sum = 0;
        for (size_t i = from; i < last; ++i) sum += std::pow(sound.At(i + 1, c) - sound.At(i, c), 2);
        const double typical = std::sqrt(sum / static_cast<double>(last - from));
        EXPECT_LE(std::fabs(sound.At(0, c) - sound.At(last, c)), 4 * typical + 1e-4) << "channel " << c;
    }
}

// Energy between two times, in the first channel.
double Energy(const Decoded& sound, double from, double to) {
    double sum = 0;
    for (size_t i = static_cast<size_t>(from * sound.rate); i < static_cast<size_t>(to * sound.rate); ++i) {
        sum += sound.At(i, 0) * sound.At(i, 0);
    }
    return sum;
}

// Share of sign changes: a rough measure of how bright a stretch of sound is.
double Brightness(const Decoded& sound, double from, double to) {
    size_t changes = 0;
    const size_t begin = static_cast<size_t>(from * sound.rate), end = static_cast<size_t>(to * sound.rate);
    for (size_t i = begin + 1; i < end; ++i) changes += (sound.At(i, 0) < 0) != (sound.At(i - 1, 0) < 0);
    return static_cast<double>(changes) / static_cast<double>(end - begin);
}

TEST(SoundMedia, TicksAreAMonoLoopOfATickAndALowerTockOneSecondApart) {
    const Decoded ticks = Decode(ReadMedia("ClockTicks.ogg"));
    ASSERT_EQ(ticks.channels, 1);  // placed in space, so mono
    EXPECT_EQ(ticks.rate, 44100u);
    EXPECT_DOUBLE_EQ(ticks.Seconds(), 2.0);
    EXPECT_LT(Peak(ticks), 0.99f);
    ExpectSeamless(ticks);
    // Almost all the sound lies in the two strikes, one second apart.
    const double total = Energy(ticks, 0, 2);
    EXPECT_GT(Energy(ticks, 0.09, 0.2) + Energy(ticks, 1.09, 1.2), 0.9 * total);
    EXPECT_GT(Energy(ticks, 1.09, 1.2), 0.3 * Energy(ticks, 0.09, 0.2));
    EXPECT_LT(Brightness(ticks, 1.1, 1.15), Brightness(ticks, 0.1, 0.15));
}

TEST(SoundMedia, RainAndMusicLoopWithoutASeamAndNeverClip) {
    const Decoded rain = Decode(ReadMedia("ClockRain.ogg"));
    ASSERT_EQ(rain.channels, 2);
    EXPECT_GE(rain.Seconds(), 20.0);
    EXPECT_LE(rain.Seconds(), 40.0);
    EXPECT_LT(Peak(rain), 0.99f);
    ExpectSeamless(rain);

    const Decoded music = Decode(ReadMedia("ClockMusic.ogg"));
    ASSERT_EQ(music.channels, 2);
    EXPECT_GE(music.Seconds(), 120.0);
    EXPECT_LT(Peak(music), 0.99f);
    ExpectSeamless(music);
    // Never silent for long: every two seconds have sound.
    for (double t = 0; t + 2 <= music.Seconds(); t += 2) EXPECT_GT(Energy(music, t, t + 2), 1.0) << t;
}

TEST(SoundMedia, ThunderGoesFromANearCrackToADistantRumble) {
    std::array<Decoded, 3> thunder;
    for (int i = 0; i < 3; ++i) {
        thunder[i] = Decode(ReadMedia("ClockGrom" + std::to_string(i + 1) + ".ogg"));
        ASSERT_GT(thunder[i].channels, 0);
        EXPECT_GE(thunder[i].Seconds(), 4.0);
        EXPECT_LE(thunder[i].Seconds(), 8.0);
        EXPECT_LT(Peak(thunder[i]), 0.99f);
        // It ends in silence, not cut off.
        EXPECT_LT(Energy(thunder[i], thunder[i].Seconds() - 0.05, thunder[i].Seconds()), 1e-4);
    }
    // The near one cracks at once; the distant one swells slowly.
    EXPECT_GT(Energy(thunder[0], 0, 0.3), 0.1 * Energy(thunder[0], 0, thunder[0].Seconds()));
    EXPECT_LT(Energy(thunder[2], 0, 0.3), 0.02 * Energy(thunder[2], 0, thunder[2].Seconds()));
    EXPECT_GT(Brightness(thunder[0], 0, 3), Brightness(thunder[1], 0, 3));
    EXPECT_GT(Brightness(thunder[1], 0, 3), Brightness(thunder[2], 0, 3));
}

TEST(SoundMedia, TheSameSourceMakesTheSameBytes) {
    const std::vector<float> ticks = mediagen::MakeTicks();
    const std::array<std::span<const float>, 1> mono{ticks};
    const std::vector<uint8_t> encoded = mediagen::EncodeOggVorbis(mono, mediagen::kRate, 0.5f);
    EXPECT_EQ(encoded, mediagen::EncodeOggVorbis(mono, mediagen::kRate, 0.5f));
    EXPECT_EQ(encoded, ReadMedia("ClockTicks.ogg"));

    const mediagen::StereoSound thunder = mediagen::MakeThunder(1);
    const std::array<std::span<const float>, 2> stereo{thunder.left, thunder.right};
    EXPECT_EQ(mediagen::EncodeOggVorbis(stereo, mediagen::kRate, 0.5f), ReadMedia("ClockGrom2.ogg"));

    const mediagen::Score first = mediagen::ComposeClockMusic(), second = mediagen::ComposeClockMusic();
    ASSERT_EQ(first.events.size(), second.events.size());
    for (size_t i = 0; i < first.events.size(); ++i) {
        EXPECT_EQ(first.events[i].seconds, second.events[i].seconds);
        EXPECT_EQ(first.events[i].key, second.events[i].key);
    }
}

TEST(SoundMedia, TheMusicHasItsFormAndStaysInItsKey) {
    const mediagen::Score score = mediagen::ComposeClockMusic();
    const double phrase = score.loopSeconds / 4;
    // Melody: the loudest piano notes. The last section repeats the first note for note, and the
    // second starts like the first.
    auto melody = [&](int section) {
        std::vector<int> keys;
        for (const auto& e : score.events) {
            if (e.type == mediagen::ScoreEvent::NoteOn && e.channel == 0 && e.value >= 48 && e.seconds >= section * phrase &&
                e.seconds < (section + 1) * phrase) {
                keys.push_back(e.key);
            }
        }
        return keys;
    };
    const std::vector<int> a = melody(0), a2 = melody(1), b = melody(2), last = melody(3);
    ASSERT_GE(a.size(), 12u);
    EXPECT_EQ(a, last);
    EXPECT_TRUE(std::equal(a.begin(), a.begin() + 6, a2.begin()));
    EXPECT_NE(a, a2);
    EXPECT_NE(a, b);
    EXPECT_EQ(a.back() % 12, 9);  // ends on A
    // A minor, with G sharp only as the leading tone.
    for (const auto& e : score.events) {
        if (e.type != mediagen::ScoreEvent::NoteOn) continue;
        const int pc = e.key % 12;
        EXPECT_TRUE(pc == 9 || pc == 11 || pc == 0 || pc == 2 || pc == 4 || pc == 5 || pc == 7 || pc == 8) << int(e.key);
    }
    EXPECT_GE(score.loopSeconds, 120.0);
}

}  // namespace
