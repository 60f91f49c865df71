#include "platform/audio/VorbisDecoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>

#include "platform/audio/OggFileEnd.h"
#include "platform/audio/PcmFrames.h"

namespace audio {

namespace {

// Holes (lost pages) are skipped; this many in a row means the rest is not worth reading.
constexpr int kMaxHolesInRow = 64;

int Seek(void* source, ogg_int64_t offset, int whence) { return MemorySeek(source, offset, whence); }

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
    if (!info || info->channels < 1 || info->rate <= 0 || info->rate > static_cast<long>(kMaxVorbisRate)) return false;
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
        ToPcmFrames(pcm, fileChannels_, outputChannels_, static_cast<size_t>(got), out + done * outputChannels_);
        done += static_cast<size_t>(got);
    }
    return done;
}

}  // namespace audio
