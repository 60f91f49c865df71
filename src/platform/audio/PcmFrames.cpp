#include "platform/audio/PcmFrames.h"

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

int16_t ToPcm(float value) {
    const float scaled = std::nearbyint(std::clamp(value, -1.0f, 1.0f) * 32767.0f);
    return static_cast<int16_t>(scaled);
}

}  // namespace

void ToPcmFrames(const float* const* pcm, int fileChannels, int outputChannels, size_t count, int16_t* out) {
    for (size_t i = 0; i < count; ++i) {
        if (outputChannels == 1) {
            float sum = 0;
            for (int c = 0; c < fileChannels; ++c) sum += pcm[c][i];
            *out++ = ToPcm(sum / static_cast<float>(fileChannels));
        } else {
            *out++ = ToPcm(pcm[0][i]);
            *out++ = ToPcm(pcm[1][i]);
        }
    }
}

}  // namespace audio
