#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <vector>

#include "AudioTestSignals.h"
#include "platform/audio/VorbisDecoder.h"
#include "platform/audio/VorbisMemory.h"

namespace {

using audio::MemoryFile;
using audio::VorbisDecoder;

size_t DecodeAll(std::span<const uint8_t> bytes, bool mono, int* channels = nullptr, std::vector<int16_t>* pcm = nullptr) {
    VorbisDecoder decoder;
    if (!decoder.Open(bytes, mono)) return 0;
    if (channels) *channels = decoder.OutputChannels();
    std::vector<int16_t> block(4096 * 2);
    size_t total = 0;
    while (const size_t got = decoder.Read(block.data(), 4096)) {
        if (pcm) pcm->insert(pcm->end(), block.begin(), block.begin() + static_cast<long>(got) * decoder.OutputChannels());
        total += got;
    }
    return total;
}

TEST(VorbisMemory, SeeksStayInsideTheBytesAndCountFromTheRightPlace) {
    std::vector<uint8_t> bytes(100);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    MemoryFile file{bytes, 0};
    // From the end the offset counts back from the size; a wrong origin here hangs the opener.
    EXPECT_EQ(audio::MemorySeek(&file, -10, SEEK_END), 0);
    EXPECT_EQ(audio::MemoryTell(&file), 90);
    EXPECT_EQ(audio::MemorySeek(&file, 0, SEEK_END), 0);
    EXPECT_EQ(audio::MemoryTell(&file), 100);
    EXPECT_EQ(audio::MemorySeek(&file, 1, SEEK_END), -1);
    EXPECT_EQ(audio::MemorySeek(&file, -101, SEEK_END), -1);
    EXPECT_EQ(audio::MemoryTell(&file), 100);  // a refused seek leaves the position
    EXPECT_EQ(audio::MemorySeek(&file, 20, SEEK_SET), 0);
    EXPECT_EQ(audio::MemorySeek(&file, -5, SEEK_CUR), 0);
    EXPECT_EQ(audio::MemoryTell(&file), 15);
    EXPECT_EQ(audio::MemorySeek(&file, 86, SEEK_CUR), -1);
    EXPECT_EQ(audio::MemorySeek(&file, -1, SEEK_SET), -1);
    EXPECT_EQ(audio::MemorySeek(&file, 0, 7), -1);
}

TEST(VorbisMemory, ReadsStopAtTheEndAndCountWholeItems) {
    std::vector<uint8_t> bytes(10);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    MemoryFile file{bytes, 0};
    uint8_t out[16] = {};
    EXPECT_EQ(audio::MemoryRead(out, 4, 2, &file), 2u);
    EXPECT_EQ(out[7], 7);
    EXPECT_EQ(audio::MemoryRead(out, 4, 2, &file), 0u);  // 2 bytes left: not a whole item
    EXPECT_EQ(audio::MemoryRead(out, 1, 16, &file), 2u);
    EXPECT_EQ(out[1], 9);
    EXPECT_EQ(audio::MemoryRead(out, 1, 16, &file), 0u);
}

TEST(VorbisDecoder, DecodesEveryFrameAndMixesDownOnRequest) {
    const std::vector<uint8_t> mono = audio_test::SineOgg(440, 1.5f, 1);
    int channels = 0;
    EXPECT_EQ(DecodeAll(mono, false, &channels), 66150u);
    EXPECT_EQ(channels, 1);

    // Right = -left: kept apart as stereo, they cancel when mixed to mono.
    const std::vector<uint8_t> opposite = audio_test::SineOgg(440, 1.0f, 2, -1.0f);
    std::vector<int16_t> stereo, mixed;
    EXPECT_EQ(DecodeAll(opposite, false, &channels, &stereo), 44100u);
    EXPECT_EQ(channels, 2);
    EXPECT_GT(audio_test::Rms(stereo, 0, 1000, 40000), 0.3);
    EXPECT_GT(audio_test::Rms(stereo, 1, 1000, 40000), 0.3);
    EXPECT_EQ(DecodeAll(opposite, true, &channels, &mixed), 44100u);
    EXPECT_EQ(channels, 1);
    double peak = 0;
    for (int16_t v : mixed) peak = std::max(peak, std::abs(v / 32768.0));
    EXPECT_LT(peak, 0.02);
}

TEST(VorbisDecoder, DamagedFilesNeverReadOutsideTheirBytes) {
    const std::vector<uint8_t> file = audio_test::SineOgg(330, 2.0f, 2);
    EXPECT_FALSE(VorbisDecoder().Open({}, false));
    const std::vector<uint8_t> text = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    EXPECT_FALSE(VorbisDecoder().Open(text, false));
    // Cut anywhere, even between two pages: not a whole file, so not played.
    for (size_t cut = 0; cut < file.size(); cut += 97) {
        EXPECT_FALSE(VorbisDecoder().Open(std::span(file).first(cut), false)) << cut;
    }
    for (size_t page = 4; page + 4 < file.size(); ++page) {
        if (std::equal(file.begin() + static_cast<long>(page), file.begin() + static_cast<long>(page) + 4, "OggS")) {
            EXPECT_FALSE(VorbisDecoder().Open(std::span(file).first(page), false)) << page;
        }
    }
    // The end zeroed out (the page frame survives): damage inside, decoded without a fault.
    std::vector<uint8_t> zeroed(file.begin(), file.end() - 300);
    zeroed.resize(file.size(), 0);
    EXPECT_LE(DecodeAll(zeroed, false), 88200u);
    // Bytes flipped in the middle of the sound: decoding goes on or stops, never faults.
    std::vector<uint8_t> flipped = file;
    for (size_t i = file.size() / 3; i < file.size(); i += 61) flipped[i] ^= 0x5A;
    EXPECT_LE(DecodeAll(flipped, true), 88200u);
}

}  // namespace
