// Arbitrary bytes as a sound file: the decoder behind every sample load.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio/VorbisDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (bool mono : {false, true}) {
        audio::VorbisDecoder decoder;
        if (!decoder.Open({data, size}, mono)) continue;
        std::vector<int16_t> pcm(4096 * 2);
        // A tiny file may claim hours of silence: stop after a second's worth. Past that the
        // same reads and conversions repeat, and they cost most of an input's time.
        size_t total = 0;
        while (total < 44100) {
            const size_t got = decoder.Read(pcm.data(), 4096);
            if (got == 0) break;
            total += got;
        }
    }
    return 0;
}
