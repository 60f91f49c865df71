#include "platform/audio/win32/DirectSoundLibrary.h"

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/audio/ChannelHandles.h"
#include "platform/audio/VorbisDecoder.h"

namespace audio {

static_assert(BASS_3DMODE_NORMAL == DS3DMODE_NORMAL && BASS_3DMODE_RELATIVE == DS3DMODE_HEADRELATIVE &&
              BASS_3DMODE_OFF == DS3DMODE_DISABLE);

namespace {

template <class T>
void Release(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

D3DVECTOR ToDirectSound(const Vector3& v) { return D3DVECTOR{v.x, v.y, v.z}; }

}  // namespace

long GainToHundredthsDb(float gain) {
    if (!(gain > 0.0f)) return DSBVOLUME_MIN;
    const long value = std::lround(2000.0 * std::log10(static_cast<double>(std::min(gain, 1.0f))));
    return std::clamp<long>(value, DSBVOLUME_MIN, DSBVOLUME_MAX);
}

long PanToDirectSound(int pan) {
    const int p = std::clamp(pan, -100, 100);
    // A positive DirectSound pan attenuates the left side.
    if (p >= 0) return -GainToHundredthsDb(1.0f - static_cast<float>(p) / 100.0f);
    return GainToHundredthsDb(1.0f + static_cast<float>(p) / 100.0f);
}

namespace {

struct Channel {
    IDirectSoundBuffer* buffer = nullptr;
    IDirectSound3DBuffer* space = nullptr;  // 3D samples only
    uint32_t generation = 0;
    int volume = 100;
    bool played = false;
};

struct Sample {
    uint32_t flags = 0;
    uint32_t max = 1;
    WAVEFORMATEX format{};
    std::vector<int16_t> pcm;
    std::vector<Channel> channels;

    bool Is3D() const { return (flags & BASS_SAMPLE_3D) != 0; }
    bool Loops() const { return (flags & BASS_SAMPLE_LOOP) != 0; }
};

}  // namespace

struct DirectSoundLibrary::Impl {
    IDirectSound8* device = nullptr;
    IDirectSoundBuffer* primary = nullptr;
    IDirectSound3DListener* listener = nullptr;
    bool initialised = false;
    uint32_t globalVolume = 100;
    std::vector<Sample> samples;

    bool OpenDevice(uint32_t frequency, uintptr_t window);
    void Release();
    IDirectSoundBuffer* MakeBuffer(const Sample& sample) const;
    void ApplyVolume(const Channel& channel) const;
    void SetDefaults(const Sample& sample, Channel& channel) const;
    Sample* FindSample(Handle handle);
    Channel* FindChannel(Handle handle, Sample** sample = nullptr);
};

bool DirectSoundLibrary::Impl::OpenDevice(uint32_t frequency, uintptr_t window) {
    if (FAILED(DirectSoundCreate8(nullptr, &device, nullptr))) {
        device = nullptr;
        return false;
    }
    // A window is needed for the cooperative level; the buffers play whichever has the focus.
    HWND owner = window ? reinterpret_cast<HWND>(window) : GetDesktopWindow();
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;
    if (FAILED(device->SetCooperativeLevel(owner, DSSCL_PRIORITY)) ||
        FAILED(device->CreateSoundBuffer(&description, &primary, nullptr)) ||
        FAILED(primary->QueryInterface(IID_IDirectSound3DListener, reinterpret_cast<void**>(&listener)))) {
        Release();
        return false;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = frequency;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = frequency * 4;
    primary->SetFormat(&format);  // a mixer that keeps its own rate still plays
    return true;
}

void DirectSoundLibrary::Impl::Release() {
    for (Sample& sample : samples) {
        for (Channel& channel : sample.channels) {
            if (channel.buffer) channel.buffer->Stop();
            audio::Release(channel.space);
            audio::Release(channel.buffer);
        }
    }
    samples.clear();
    audio::Release(listener);
    audio::Release(primary);
    audio::Release(device);
}

IDirectSoundBuffer* DirectSoundLibrary::Impl::MakeBuffer(const Sample& sample) const {
    const size_t bytes = sample.pcm.size() * sizeof(int16_t);
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY | DSBCAPS_GETCURRENTPOSITION2 |
                          DSBCAPS_GLOBALFOCUS | (sample.Is3D() ? DSBCAPS_CTRL3D : DSBCAPS_CTRLPAN) |
                          ((sample.flags & BASS_SAMPLE_SOFTWARE) ? DSBCAPS_LOCSOFTWARE : 0);
    description.dwBufferBytes = static_cast<DWORD>(bytes);
    description.lpwfxFormat = const_cast<WAVEFORMATEX*>(&sample.format);
    description.guid3DAlgorithm = DS3DALG_DEFAULT;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(device->CreateSoundBuffer(&description, &buffer, nullptr))) return nullptr;
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    if (FAILED(buffer->Lock(0, static_cast<DWORD>(bytes), &first, &firstBytes, &second, &secondBytes, 0))) {
        buffer->Release();
        return nullptr;
    }
    std::memcpy(first, sample.pcm.data(), std::min<size_t>(firstBytes, bytes));
    buffer->Unlock(first, firstBytes, second, secondBytes);
    return buffer;
}

void DirectSoundLibrary::Impl::ApplyVolume(const Channel& channel) const {
    const float gain = static_cast<float>(channel.volume) / 100.0f * static_cast<float>(globalVolume) / 100.0f;
    channel.buffer->SetVolume(GainToHundredthsDb(gain));
}

void DirectSoundLibrary::Impl::SetDefaults(const Sample& sample, Channel& channel) const {
    channel.buffer->Stop();
    channel.buffer->SetCurrentPosition(0);
    channel.buffer->SetFrequency(DSBFREQUENCY_ORIGINAL);
    channel.volume = 100;
    ApplyVolume(channel);
    if (!sample.Is3D()) {
        channel.buffer->SetPan(DSBPAN_CENTER);
        return;
    }
    IDirectSound3DBuffer* space = channel.space;
    space->SetMode(DS3DMODE_NORMAL, DS3D_DEFERRED);
    space->SetPosition(0.0f, 0.0f, 0.0f, DS3D_DEFERRED);
    space->SetVelocity(0.0f, 0.0f, 0.0f, DS3D_DEFERRED);
    space->SetMinDistance(DS3D_DEFAULTMINDISTANCE, DS3D_DEFERRED);
    space->SetMaxDistance(DS3D_DEFAULTMAXDISTANCE, DS3D_DEFERRED);
    space->SetConeAngles(DS3D_DEFAULTCONEANGLE, DS3D_DEFAULTCONEANGLE, DS3D_DEFERRED);
    space->SetConeOutsideVolume(DSBVOLUME_MAX, DS3D_DEFERRED);
}

Sample* DirectSoundLibrary::Impl::FindSample(Handle handle) {
    const long index = SampleIndex(handle, samples.size());
    return index < 0 ? nullptr : &samples[static_cast<size_t>(index)];
}

Channel* DirectSoundLibrary::Impl::FindChannel(Handle handle, Sample** sampleOut) {
    ChannelRef ref;
    if (!ReadChannelHandle(handle, ref) || ref.sample >= samples.size()) return nullptr;
    Sample& sample = samples[ref.sample];
    if (ref.slot >= sample.channels.size()) return nullptr;
    Channel& channel = sample.channels[ref.slot];
    if ((channel.generation & kGenerationMask) != ref.generation) return nullptr;
    if (sampleOut) *sampleOut = &sample;
    return &channel;
}

DirectSoundLibrary::DirectSoundLibrary() : impl_(std::make_unique<Impl>()) {}

DirectSoundLibrary::~DirectSoundLibrary() { Free(); }

bool DirectSoundLibrary::Init(int device, uint32_t frequency, uint32_t, uintptr_t window, const void*) {
    Impl& s = *impl_;
    if (s.initialised || frequency == 0) return false;
    // Device 0 is the no-sound device: no DirectSound behind it, every call succeeds.
    if (device != kNoSoundDevice && (device != kDefaultDevice || !s.OpenDevice(frequency, window))) return false;
    s.initialised = true;
    s.globalVolume = 100;
    return true;
}

bool DirectSoundLibrary::Free() {
    Impl& s = *impl_;
    if (!s.initialised) return false;
    s.Release();
    s.initialised = false;
    return true;
}

bool DirectSoundLibrary::Set3DFactors(float distance, float rolloff, float doppler) {
    Impl& s = *impl_;
    if (!s.initialised) return false;
    if (!s.listener) return true;
    if (distance > 0.0f) s.listener->SetDistanceFactor(distance, DS3D_DEFERRED);
    if (rolloff >= 0.0f) s.listener->SetRolloffFactor(std::min(rolloff, DS3D_MAXROLLOFFFACTOR), DS3D_DEFERRED);
    if (doppler >= 0.0f) s.listener->SetDopplerFactor(std::min(doppler, DS3D_MAXDOPPLERFACTOR), DS3D_DEFERRED);
    return true;
}

void DirectSoundLibrary::Apply3D() {
    if (impl_->listener) impl_->listener->CommitDeferredSettings();
}

bool DirectSoundLibrary::SetConfig(uint32_t option, uint32_t value) {
    Impl& s = *impl_;
    if (option != BASS_CONFIG_GVOL_SAMPLE || !s.initialised) return false;
    const uint32_t volume = std::min<uint32_t>(value, 100);
    if (volume == s.globalVolume) return true;
    s.globalVolume = volume;
    for (const Sample& sample : s.samples) {
        for (const Channel& channel : sample.channels) s.ApplyVolume(channel);
    }
    return true;
}

Handle DirectSoundLibrary::SampleLoad(bool fromMemory, const void* file, uint64_t offset, uint32_t length,
                                      uint32_t max, uint32_t flags) {
    Impl& s = *impl_;
    if (!s.device || !fromMemory || !file || length == 0 || offset >= length || s.samples.size() >= kMaxSamples) {
        return 0;
    }
    VorbisDecoder decoder;
    const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(file) + offset, length - offset);
    // DirectSound places only mono buffers in space.
    if (!decoder.Open(bytes, (flags & (BASS_SAMPLE_MONO | BASS_SAMPLE_3D)) != 0)) return 0;
    Sample sample;
    sample.flags = flags;
    sample.max = std::clamp<uint32_t>(max, 1, kMaxChannelsPerSample);
    const size_t channels = static_cast<size_t>(decoder.OutputChannels());
    const size_t piece = decoder.Rate();
    for (;;) {
        const size_t at = sample.pcm.size();
        if ((at + piece * channels) * sizeof(int16_t) > DSBSIZE_MAX) return 0;
        sample.pcm.resize(at + piece * channels);
        const size_t got = decoder.Read(sample.pcm.data() + at, piece);
        sample.pcm.resize(at + got * channels);
        if (got < piece) break;
    }
    if (sample.pcm.size() * sizeof(int16_t) < DSBSIZE_MIN) return 0;
    sample.pcm.shrink_to_fit();
    WAVEFORMATEX& format = sample.format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = decoder.Rate();
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(channels * sizeof(int16_t));
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    s.samples.push_back(std::move(sample));
    return static_cast<Handle>(s.samples.size());
}

Handle DirectSoundLibrary::SampleGetChannel(Handle handle, bool onlyNew) {
    Impl& s = *impl_;
    Sample* sample = s.FindSample(handle);
    if (!sample) return 0;
    const uint32_t index = handle - 1;
    auto reuse = [&](size_t slot) {
        Channel& channel = sample->channels[slot];
        s.SetDefaults(*sample, channel);
        ++channel.generation;
        channel.played = false;
        return ChannelHandle(index, channel.generation, slot);
    };
    // A channel that has played to its end is free again.
    for (size_t slot = 0; slot < sample->channels.size(); ++slot) {
        DWORD status = 0;
        sample->channels[slot].buffer->GetStatus(&status);
        if (sample->channels[slot].played && !(status & DSBSTATUS_PLAYING)) return reuse(slot);
    }
    if (sample->channels.size() < sample->max) {
        Channel channel;
        channel.buffer = s.MakeBuffer(*sample);
        if (!channel.buffer) return 0;
        if (sample->Is3D() &&
            FAILED(channel.buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&channel.space)))) {
            channel.buffer->Release();
            return 0;
        }
        s.SetDefaults(*sample, channel);
        sample->channels.push_back(channel);
        return ChannelHandle(index, 0, sample->channels.size() - 1);
    }
    if (onlyNew) return 0;
    // Override the channel that has played longest.
    size_t oldest = 0;
    DWORD oldestPosition = 0;
    for (size_t slot = 0; slot < sample->channels.size(); ++slot) {
        DWORD position = 0;
        sample->channels[slot].buffer->GetCurrentPosition(&position, nullptr);
        if (slot == 0 || position > oldestPosition) {
            oldest = slot;
            oldestPosition = position;
        }
    }
    return reuse(oldest);
}

bool DirectSoundLibrary::ChannelPlay(Handle handle, bool restart) {
    Sample* sample = nullptr;
    Channel* channel = impl_->FindChannel(handle, &sample);
    if (!channel) return false;
    if (restart) channel->buffer->SetCurrentPosition(0);
    if (FAILED(channel->buffer->Play(0, 0, sample->Loops() ? DSBPLAY_LOOPING : 0))) return false;
    channel->played = true;
    return true;
}

bool DirectSoundLibrary::ChannelSetAttributes(Handle handle, int frequency, int volume, int pan) {
    Sample* sample = nullptr;
    Channel* channel = impl_->FindChannel(handle, &sample);
    if (!channel) return false;
    if (frequency > 0) {
        const int hz = std::clamp<int>(frequency, DSBFREQUENCY_MIN, DSBFREQUENCY_MAX);
        channel->buffer->SetFrequency(static_cast<DWORD>(hz));
    }
    if (volume >= 0) {
        channel->volume = std::min(volume, 100);
        impl_->ApplyVolume(*channel);
    }
    // Space places 3D channels; panning moves the others.
    if (pan != kPanUnchanged && pan >= -100 && pan <= 100 && !sample->Is3D()) {
        channel->buffer->SetPan(PanToDirectSound(pan));
    }
    return true;
}

bool DirectSoundLibrary::ChannelSet3DAttributes(Handle handle, int mode, float minDistance, float maxDistance,
                                                int insideAngle, int outsideAngle, int outsideVolume) {
    Channel* channel = impl_->FindChannel(handle);
    if (!channel || !channel->space) return false;
    IDirectSound3DBuffer* space = channel->space;
    if (mode >= BASS_3DMODE_NORMAL && mode <= BASS_3DMODE_OFF) {
        space->SetMode(static_cast<DWORD>(mode), DS3D_DEFERRED);
    }
    if (minDistance > 0.0f) space->SetMinDistance(minDistance, DS3D_DEFERRED);
    if (maxDistance > 0.0f) space->SetMaxDistance(maxDistance, DS3D_DEFERRED);
    if (insideAngle >= 0 || outsideAngle >= 0) {
        DWORD inside = DS3D_DEFAULTCONEANGLE;
        DWORD outside = DS3D_DEFAULTCONEANGLE;
        space->GetConeAngles(&inside, &outside);
        if (insideAngle >= 0) inside = static_cast<DWORD>(std::min(insideAngle, 360));
        if (outsideAngle >= 0) outside = static_cast<DWORD>(std::min(outsideAngle, 360));
        space->SetConeAngles(inside, outside, DS3D_DEFERRED);
    }
    if (outsideVolume >= 0) {
        space->SetConeOutsideVolume(GainToHundredthsDb(static_cast<float>(std::min(outsideVolume, 100)) / 100.0f),
                                    DS3D_DEFERRED);
    }
    return true;
}

bool DirectSoundLibrary::ChannelSet3DPosition(Handle handle, const Vector3* position, const Vector3* orientation,
                                              const Vector3* velocity) {
    Channel* channel = impl_->FindChannel(handle);
    if (!channel || !channel->space) return false;
    IDirectSound3DBuffer* space = channel->space;
    if (position) space->SetPosition(position->x, position->y, position->z, DS3D_DEFERRED);
    if (orientation) space->SetConeOrientation(orientation->x, orientation->y, orientation->z, DS3D_DEFERRED);
    if (velocity) space->SetVelocity(velocity->x, velocity->y, velocity->z, DS3D_DEFERRED);
    return true;
}

bool DirectSoundLibrary::Set3DPosition(const Vector3* position, const Vector3* velocity, const Vector3* front,
                                       const Vector3* top) {
    Impl& s = *impl_;
    if (!s.initialised) return false;
    IDirectSound3DListener* listener = s.listener;
    if (!listener) return true;
    if (position) listener->SetPosition(position->x, position->y, position->z, DS3D_DEFERRED);
    if (velocity) listener->SetVelocity(velocity->x, velocity->y, velocity->z, DS3D_DEFERRED);
    if (front || top) {
        D3DVECTOR forward{0.0f, 0.0f, 1.0f};
        D3DVECTOR up{0.0f, 1.0f, 0.0f};
        listener->GetOrientation(&forward, &up);
        if (front) forward = ToDirectSound(*front);
        if (top) up = ToDirectSound(*top);
        listener->SetOrientation(forward.x, forward.y, forward.z, up.x, up.y, up.z, DS3D_DEFERRED);
    }
    return true;
}

}  // namespace audio
