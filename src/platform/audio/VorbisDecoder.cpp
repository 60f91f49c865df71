#include "platform/audio/VorbisDecoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

constexpr uint32_t kMaxRate = 192000;
// Holes (lost pages) are skipped; this many in a row means the rest is not worth reading.
constexpr int kMaxHolesInRow = 64;

int Seek(void* source, ogg_int64_t offset, int whence) { return MemorySeek(source, offset, whence); }

// The file must end with the last page of its stream, complete: otherwise it was cut short, and
// a sound that stops part way is worse than none.
bool EndsWithLastPage(std::span<const uint8_t> bytes) {
    constexpr size_t kHeader = 27;
    constexpr size_t kLongestPage = kHeader + 255 + 255 * 255;
    if (bytes.size() < kHeader) return false;
    const size_t lowest = bytes.size() > kLongestPage ? bytes.size() - kLongestPage : 0;
    for (size_t at = bytes.size() - kHeader + 1; at-- > lowest;) {
        const uint8_t* page = bytes.data() + at;
        if (page[0] != 'O' || page[1] != 'g' || page[2] != 'g' || page[3] != 'S' || page[4] != 0) continue;
        const size_t segments = page[26];
        if (at + kHeader + segments > bytes.size()) continue;
        size_t end = at + kHeader + segments;
        for (size_t i = 0; i < segments; ++i) end += page[kHeader + i];
        if (end == bytes.size()) return (page[5] & 0x04) != 0;  // end-of-stream flag
    }
    return false;
}

int16_t ToPcm(float value) {
    const float scaled = std::nearbyint(std::clamp(value, -1.0f, 1.0f) * 32767.0f);
    return static_cast<int16_t>(scaled);
}

}  // namespace

struct VorbisDecoder::State {
    OggVorbis_File file;
};

VorbisDecoder::VorbisDecoder() : state_(std::make_unique<State>()) {}

VorbisDecoder::~VorbisDecoder() {
    if (open_) ov_clear(&state_->file);
}

bool VorbisDecoder::Open(std::span<const uint8_t> bytes, bool mixToMono) {
    if (open_ || !EndsWithLastPage(bytes)) return false;
    file_ = MemoryFile{bytes, 0};
    const ov_callbacks callbacks{MemoryRead, Seek, nullptr, MemoryTell};
    if (ov_open_callbacks(&file_, &state_->file, nullptr, 0, callbacks) != 0) return false;
    open_ = true;
    const vorbis_info* info = ov_info(&state_->file, -1);
    if (!info || info->channels < 1 || info->rate <= 0 || info->rate > static_cast<long>(kMaxRate)) return false;
    fileChannels_ = info->channels;
    rate_ = static_cast<uint32_t>(info->rate);
    outputChannels_ = mixToMono || fileChannels_ == 1 ? 1 : 2;
    return true;
}

size_t VorbisDecoder::Read(int16_t* out, size_t frames) {
    if (!open_ || rate_ == 0 || ended_) return 0;
    size_t done = 0;
    int holes = 0;
    while (done < frames) {
        float** pcm = nullptr;
        int section = 0;
        const long want = static_cast<long>(std::min<size_t>(frames - done, 4096));
        const long got = ov_read_float(&state_->file, &pcm, static_cast<int>(want), &section);
        if (got == OV_HOLE && ++holes < kMaxHolesInRow) continue;
        if (got <= 0) {
            ended_ = true;
            break;
        }
        holes = 0;
        // A chained file may change its layout; what does not match ours ends the sound.
        const vorbis_info* info = ov_info(&state_->file, section);
        if (!info || info->channels != fileChannels_) {
            ended_ = true;
            break;
        }
        int16_t* to = out + done * outputChannels_;
        for (long i = 0; i < got; ++i) {
            if (outputChannels_ == 1) {
                float sum = 0;
                for (int c = 0; c < fileChannels_; ++c) sum += pcm[c][i];
                *to++ = ToPcm(sum / static_cast<float>(fileChannels_));
            } else {
                *to++ = ToPcm(pcm[0][i]);
                *to++ = ToPcm(pcm[1][i]);
            }
        }
        done += static_cast<size_t>(got);
    }
    return done;
}

}  // namespace audio
