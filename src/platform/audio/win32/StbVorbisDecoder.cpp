// The Windows VorbisDecoder, on stb_vorbis (no Windows build of libvorbis is packaged). The same
// checks as the Linux decoder: a whole file, a layout we play, damage ending the sound.
#include <algorithm>

#include "platform/audio/OggFileEnd.h"
#include "platform/audio/PcmFrames.h"
#include "platform/audio/VorbisDecoder.h"
#include "platform/audio/win32/StbVorbisMemory.h"
#include "platform/audio/win32/VorbisCommentCheck.h"

#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace audio {

namespace {
// stb_vorbis's own limit (STB_VORBIS_MAX_CHANNELS, set in its implementation): it refuses files
// with more.
constexpr int kMaxChannels = 16;
}  // namespace

struct VorbisDecoder::State {
    StbVorbisPool pool;  // declared first: it outlives the decoder's blocks
    stb_vorbis* vorbis = nullptr;
    // The frame being handed out: stb_vorbis decodes a whole packet at a time.
    float** frame = nullptr;
    size_t frameLength = 0;
    size_t frameUsed = 0;
};

VorbisDecoder::VorbisDecoder() : state_(std::make_unique<State>()) {}

VorbisDecoder::~VorbisDecoder() {
    const StbVorbisPool::Use use(state_->pool);
    if (state_->vorbis) stb_vorbis_close(state_->vorbis);
}

bool VorbisDecoder::Open(std::span<const uint8_t> bytes, bool mixToMono) {
    if (open_ || !EndsWithLastPage(bytes) || !CommentHeaderFits(bytes) || bytes.size() > static_cast<size_t>(INT32_MAX)) {
        return false;
    }
    int error = 0;
    const StbVorbisPool::Use use(state_->pool);
    state_->vorbis = stb_vorbis_open_memory(bytes.data(), static_cast<int>(bytes.size()), &error, nullptr);
    if (!state_->vorbis) return false;
    open_ = true;
    const stb_vorbis_info info = stb_vorbis_get_info(state_->vorbis);
    if (info.channels < 1 || info.channels > kMaxChannels || info.sample_rate == 0 ||
        info.sample_rate > kMaxVorbisRate) {
        return false;
    }
    fileChannels_ = info.channels;
    rate_ = info.sample_rate;
    outputChannels_ = mixToMono || fileChannels_ == 1 ? 1 : 2;
    return true;
}

size_t VorbisDecoder::Read(int16_t* out, size_t frames) {
    if (!open_ || rate_ == 0 || ended_) return 0;
    State& s = *state_;
    const StbVorbisPool::Use use(s.pool);
    size_t done = 0;
    while (done < frames) {
        if (s.frameUsed == s.frameLength) {
            int channels = 0;
            const int got = stb_vorbis_get_frame_float(s.vorbis, &channels, &s.frame);
            // 0 at the end and on damage it cannot step over.
            if (got <= 0 || channels != fileChannels_) {
                ended_ = true;
                break;
            }
            s.frameLength = static_cast<size_t>(got);
            s.frameUsed = 0;
        }
        const size_t count = std::min(frames - done, s.frameLength - s.frameUsed);
        const float* from[kMaxChannels];
        for (int c = 0; c < fileChannels_; ++c) from[c] = s.frame[c] + s.frameUsed;
        ToPcmFrames(from, fileChannels_, outputChannels_, count, out + done * outputChannels_);
        s.frameUsed += count;
        done += count;
    }
    return done;
}

}  // namespace audio
