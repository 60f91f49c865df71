// The Windows decoder (stb_vorbis) on the fuzz seeds, real files of both layouts.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/audio/VorbisDecoder.h"
#include "platform/audio/win32/VorbisCommentCheck.h"

namespace {

std::vector<uint8_t> Seed(const char* name) {
    std::ifstream in(std::string(QUELMONT_SOURCE_DIR) + "/fuzz/audio/corpus/vorbis/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The granule position of the file's last page: the stream's length in frames.
uint64_t LastGranule(const std::vector<uint8_t>& bytes) {
    for (size_t at = bytes.size() - 27; at-- > 0;) {
        if (bytes[at] == 'O' && bytes[at + 1] == 'g' && bytes[at + 2] == 'g' && bytes[at + 3] == 'S') {
            uint64_t granule = 0;
            for (int i = 7; i >= 0; --i) granule = granule << 8 | bytes[at + 6 + static_cast<size_t>(i)];
            return granule;
        }
    }
    return 0;
}

std::vector<int16_t> DecodeAll(audio::VorbisDecoder& decoder) {
    std::vector<int16_t> pcm;
    std::vector<int16_t> piece(1000 * 2);
    // Odd piece sizes: reads that end inside a decoded packet go on from there.
    while (size_t got = decoder.Read(piece.data(), 333)) {
        pcm.insert(pcm.end(), piece.begin(), piece.begin() + static_cast<long>(got) * decoder.OutputChannels());
    }
    return pcm;
}

TEST(StbVorbisDecoder, DecodesEveryFrameOfBothLayoutsAndMixesStereoToMono) {
    for (const char* name : {"mono-22k.ogg", "stereo-tenth.ogg"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = Seed(name);
        ASSERT_GT(bytes.size(), 100u);
        audio::VorbisDecoder decoder;
        ASSERT_TRUE(decoder.Open(bytes, false));
        const bool stereo = std::string(name).starts_with("stereo");
        EXPECT_EQ(decoder.OutputChannels(), stereo ? 2 : 1);
        EXPECT_EQ(decoder.Rate(), stereo ? 44100u : 22050u);
        const std::vector<int16_t> pcm = DecodeAll(decoder);
        EXPECT_EQ(pcm.size() / static_cast<size_t>(decoder.OutputChannels()), LastGranule(bytes));
        int peak = 0;
        for (int16_t v : pcm) peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GT(peak, 1000) << "a seed that decodes to silence";

        audio::VorbisDecoder mono;
        ASSERT_TRUE(mono.Open(bytes, true));
        EXPECT_EQ(mono.OutputChannels(), 1);
        const std::vector<int16_t> mixed = DecodeAll(mono);
        ASSERT_EQ(mixed.size() * static_cast<size_t>(decoder.OutputChannels()), pcm.size());
        for (size_t i = 0; stereo && i < mixed.size(); ++i) {
            ASSERT_NEAR(mixed[i], (pcm[2 * i] + pcm[2 * i + 1]) / 2.0, 1.0) << "frame " << i;
        }
    }
}

TEST(StbVorbisDecoder, RefusesFilesCutShortOrNotVorbis) {
    const std::vector<uint8_t> bytes = Seed("stereo-tenth.ogg");
    for (size_t keep : {size_t{0}, size_t{27}, bytes.size() / 2, bytes.size() - 1}) {
        audio::VorbisDecoder decoder;
        EXPECT_FALSE(decoder.Open({bytes.data(), keep}, false)) << keep << " bytes";
        int16_t out[16];
        EXPECT_EQ(decoder.Read(out, 8), 0u);
    }
    // Ogg pages of another codec: the framing is whole, the headers are not Vorbis.
    std::vector<uint8_t> other = bytes;
    for (size_t at = 0; at + 7 < other.size(); ++at) {
        if (std::string(other.begin() + static_cast<long>(at), other.begin() + static_cast<long>(at) + 6) == "vorbis") {
            other[at] = 'X';
        }
    }
    audio::VorbisDecoder decoder;
    EXPECT_FALSE(decoder.Open(other, false));
}

TEST(StbVorbisDecoder, RefusesCommentHeadersThatClaimMoreThanTheyHold) {
    const std::vector<uint8_t> bytes = Seed("stereo-tenth.ogg");
    EXPECT_TRUE(audio::CommentHeaderFits(bytes));
    const std::string text(bytes.begin(), bytes.end());
    const size_t header = text.find("\x03vorbis");
    ASSERT_NE(header, std::string::npos);
    const size_t vendor = header + 7;
    const uint32_t vendorLength = bytes[vendor] | bytes[vendor + 1] << 8 | bytes[vendor + 2] << 16;
    for (size_t field : {vendor, vendor + 4 + vendorLength}) {
        for (uint8_t top : {uint8_t{0x7F}, uint8_t{0xFF}}) {
            std::vector<uint8_t> damaged = bytes;
            damaged[field + 3] = top;  // a length of about 2 or 4 thousand million
            EXPECT_FALSE(audio::CommentHeaderFits(damaged)) << field << " " << int{top};
            audio::VorbisDecoder decoder;
            EXPECT_FALSE(decoder.Open(damaged, false));
        }
    }
}

}  // namespace
