#include "platform/audio/OpenAlSoundLibrary.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <alsa/asoundlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/ChannelHandles.h"
#include "platform/audio/VorbisDecoder.h"

namespace audio {

namespace {

// A quarter of a second decodes at once, enough to start the sound (under the fade-in's first
// near-silent moments) and to refuse a file without sound; the rest follows on the worker.
constexpr uint32_t kFirstPieceDivisor = 4;  // of a second
constexpr uint32_t kPieceSeconds = 1;
constexpr int kWorkerNice = 10;

// The engine is left-handed (z forward), OpenAL right-handed (-z forward): z changes sign here
// and nowhere else.
void ToOpenAl(const Vector3& v, float scale, ALfloat out[3]) {
    out[0] = v.x * scale;
    out[1] = v.y * scale;
    out[2] = -v.z * scale;
}

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// A machine without sound is an ordinary case for a screensaver: keep the back ends from printing
// their failures, which a desktop host may show over the saver. A log level the user set wins.
void QuietBackendLogs() {
    static const bool quiet = [] {
        setenv("ALSOFT_LOGLEVEL", "0", 0);
        snd_lib_error_set_handler(IgnoreAlsaError);
        return true;
    }();
    (void)quiet;
}

}  // namespace

struct Channel {
    ALuint source = 0;
    uint32_t generation = 0;
    bool played = false;
};

struct Sample {
    uint32_t flags = 0;
    uint32_t max = 1;
    ALenum format = AL_FORMAT_MONO16;
    ALsizei rate = 0;
    bool mono = true;
    std::vector<ALuint> buffers;    // decoded pieces in order; the worker appends under the mutex
    std::vector<Channel> channels;  // grown by the main thread under the mutex

    bool Is3D() const { return (flags & BASS_SAMPLE_3D) != 0; }
};

struct DecodeJob {
    uint32_t sample = 0;
    std::unique_ptr<uint8_t[]> bytes;  // declared before the decoder, which reads them
    std::unique_ptr<VorbisDecoder> decoder;
    size_t decoded = 0;  // frames

    // Less sound ready to play than `other`, so its next piece is needed sooner.
    bool Behind(const DecodeJob& other) const {
        return decoded * other.decoder->Rate() < other.decoded * decoder->Rate();
    }
};

struct OpenAlSoundLibrary::Impl {
    Output output;
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr;
    bool initialised = false;
    bool silent = false;  // the no-sound device: calls succeed, nothing plays
    bool detectsDisconnect = false;  // ALC_EXT_disconnect: the device says when it has gone
    bool disconnectSimulated = false;
    bool lost = false;
    uint32_t rate = 0;
    float distanceFactor = 1.0f;
    float rolloff = 1.0f;

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<DecodeJob> jobs;
    bool busy = false;
    bool stopping = false;
    std::thread worker;
    std::vector<std::unique_ptr<Sample>> samples;
    std::vector<float> mix;

    explicit Impl(Output out) : output(out) {}

    bool OpenDevice(uint32_t frequency);
    void AppendPiece(Sample& sample, const int16_t* pcm, size_t frames);
    void Work();
    void StopWorker();
    // Lets go of every sample, the context and the device.
    void Release();
    void SetSourceDefaults(const Sample& sample, ALuint source) const;
    Sample* FindSample(Handle handle) const;
    // The channel behind a handle that is still current, with its sample.
    Channel* FindChannel(Handle handle, Sample** sample = nullptr) const;
};

bool OpenAlSoundLibrary::Impl::OpenDevice(uint32_t frequency) {
    const ALCint hz = static_cast<ALCint>(frequency);
    if (output == Output::Device) {
        QuietBackendLogs();
        device = alcOpenDevice(nullptr);
        if (!device) return false;
        const ALCint attributes[] = {ALC_FREQUENCY, hz, 0};
        context = alcCreateContext(device, attributes);
    } else {
        auto openLoopback =
            reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        if (!openLoopback) return false;
        device = openLoopback(nullptr);
        if (!device) return false;
        renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(device, "alcRenderSamplesSOFT"));
        // Float out, converted by us: no dither, no limiter, the same bytes every run.
        const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                                     ALC_FREQUENCY, hz, ALC_HRTF_SOFT, ALC_FALSE, 0};
        if (renderSamples) context = alcCreateContext(device, attributes);
    }
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) alcDestroyContext(context);
        alcCloseDevice(device);
        context = nullptr;
        device = nullptr;
        return false;
    }
    rate = frequency;
    detectsDisconnect = alcIsExtensionPresent(device, "ALC_EXT_disconnect") == ALC_TRUE;
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alListenerf(AL_GAIN, 1.0f);
    return true;
}

void OpenAlSoundLibrary::Impl::AppendPiece(Sample& sample, const int16_t* pcm, size_t frames) {
    ALuint buffer = 0;
    alGetError();
    alGenBuffers(1, &buffer);
    const size_t bytes = frames * (sample.mono ? 1 : 2) * sizeof(int16_t);
    alBufferData(buffer, sample.format, pcm, static_cast<ALsizei>(bytes), sample.rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return;
    }
    sample.buffers.push_back(buffer);
    for (const Channel& channel : sample.channels) alSourceQueueBuffers(channel.source, 1, &buffer);
}

// One piece at a time for the sample with the least sound ready, so that a long piece of music
// decoding does not keep the rain or the ticks from their next second.
void OpenAlSoundLibrary::Impl::Work() {
    // Decoding runs well ahead of playback: it yields to the start-up and the frames (on Linux the
    // nice value is the thread's own).
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNice);
    std::vector<int16_t> pcm;
    for (;;) {
        DecodeJob job;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return stopping || !jobs.empty(); });
            if (stopping) return;
            const auto next = std::min_element(jobs.begin(), jobs.end(),
                                               [](const DecodeJob& a, const DecodeJob& b) { return a.Behind(b); });
            job = std::move(*next);
            jobs.erase(next);
            busy = true;
        }
        const size_t piece = static_cast<size_t>(job.decoder->Rate()) * kPieceSeconds;
        pcm.resize(piece * static_cast<size_t>(job.decoder->OutputChannels()));
        const size_t frames = job.decoder->Read(pcm.data(), piece);
        std::lock_guard lock(mutex);
        if (frames != 0 && !stopping) {
            AppendPiece(*samples[job.sample], pcm.data(), frames);
            job.decoded += frames;
            jobs.push_back(std::move(job));
        }
        busy = false;
        if (jobs.empty()) idle.notify_all();
    }
}

void OpenAlSoundLibrary::Impl::StopWorker() {
    if (!worker.joinable()) return;
    {
        std::lock_guard lock(mutex);
        stopping = true;
        jobs.clear();
    }
    wake.notify_all();
    worker.join();
    stopping = false;
    busy = false;
}

void OpenAlSoundLibrary::Impl::SetSourceDefaults(const Sample& sample, ALuint source) const {
    alSourcef(source, AL_GAIN, 1.0f);
    alSourcef(source, AL_PITCH, 1.0f);
    alSourcei(source, AL_LOOPING, (sample.flags & BASS_SAMPLE_LOOP) ? AL_TRUE : AL_FALSE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSource3f(source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    if (sample.Is3D()) {
        alSourcei(source, AL_SOURCE_RELATIVE, AL_FALSE);
        alSourcef(source, AL_REFERENCE_DISTANCE, 1.0f);
        alSourcef(source, AL_MAX_DISTANCE, FLT_MAX);
        alSourcef(source, AL_ROLLOFF_FACTOR, rolloff);
        alSourcef(source, AL_CONE_INNER_ANGLE, 360.0f);
        alSourcef(source, AL_CONE_OUTER_ANGLE, 360.0f);
        alSourcef(source, AL_CONE_OUTER_GAIN, 1.0f);
    } else {
        // Plain channels sit on the listener and never fade with distance.
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    }
}

Sample* OpenAlSoundLibrary::Impl::FindSample(Handle handle) const {
    const long index = SampleIndex(handle, samples.size());
    return index < 0 ? nullptr : samples[static_cast<size_t>(index)].get();
}

Channel* OpenAlSoundLibrary::Impl::FindChannel(Handle handle, Sample** sampleOut) const {
    ChannelRef ref;
    if (!ReadChannelHandle(handle, ref) || ref.sample >= samples.size()) return nullptr;
    Sample& sample = *samples[ref.sample];
    if (ref.slot >= sample.channels.size()) return nullptr;
    Channel& channel = sample.channels[ref.slot];
    if ((channel.generation & kGenerationMask) != ref.generation) return nullptr;
    if (sampleOut) *sampleOut = &sample;
    return &channel;
}

OpenAlSoundLibrary::OpenAlSoundLibrary(Output output) : impl_(std::make_unique<Impl>(output)) {}

OpenAlSoundLibrary::~OpenAlSoundLibrary() { Free(); }

bool OpenAlSoundLibrary::Init(int device, uint32_t frequency, uint32_t, uintptr_t, const void*) {
    Impl& s = *impl_;
    if (s.initialised || frequency == 0) return false;
    if (device == kNoSoundDevice) {
        s.silent = true;
    } else if (device != kDefaultDevice || !s.OpenDevice(frequency)) {
        return false;
    }
    s.initialised = true;
    s.distanceFactor = 1.0f;
    s.rolloff = 1.0f;
    if (!s.silent) s.worker = std::thread([&s] { s.Work(); });
    return true;
}

void OpenAlSoundLibrary::Impl::Release() {
    StopWorker();
    for (auto& sample : samples) {
        for (Channel& channel : sample->channels) {
            alSourceStop(channel.source);
            alDeleteSources(1, &channel.source);
        }
        if (!sample->buffers.empty()) alDeleteBuffers(static_cast<ALsizei>(sample->buffers.size()), sample->buffers.data());
    }
    samples.clear();
    if (context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        alcCloseDevice(device);
    }
    context = nullptr;
    device = nullptr;
    renderSamples = nullptr;
}

bool OpenAlSoundLibrary::Free() {
    Impl& s = *impl_;
    if (!s.initialised) return false;
    s.Release();
    s.initialised = false;
    s.silent = false;
    s.lost = false;
    s.disconnectSimulated = false;
    return true;
}

bool OpenAlSoundLibrary::Set3DFactors(float distance, float rolloff, float doppler) {
    Impl& s = *impl_;
    if (!s.initialised) return false;
    if (distance > 0.0f) s.distanceFactor = distance;
    if (rolloff >= 0.0f) {
        s.rolloff = std::min(rolloff, 10.0f);
        if (s.context) {
            for (auto& sample : s.samples) {
                if (!sample->Is3D()) continue;
                for (Channel& channel : sample->channels) alSourcef(channel.source, AL_ROLLOFF_FACTOR, s.rolloff);
            }
        }
    }
    if (doppler >= 0.0f && s.context) alDopplerFactor(std::min(doppler, 10.0f));
    return true;
}

// OpenAL applies every change at once, so there is nothing left to apply.
void OpenAlSoundLibrary::Apply3D() {}

bool OpenAlSoundLibrary::SetConfig(uint32_t option, uint32_t value) {
    Impl& s = *impl_;
    if (option != BASS_CONFIG_GVOL_SAMPLE || !s.initialised) return false;
    // Every sound of ours is a sample, so the listener's gain is the global sample volume.
    if (s.context) alListenerf(AL_GAIN, static_cast<float>(std::min<uint32_t>(value, 100)) / 100.0f);
    return true;
}

Handle OpenAlSoundLibrary::SampleLoad(bool fromMemory, const void* file, uint64_t offset, uint32_t length,
                                      uint32_t max, uint32_t flags) {
    Impl& s = *impl_;
    if (!s.context || !fromMemory || !file || length == 0 || offset >= length || s.samples.size() >= kMaxSamples) {
        return 0;
    }
    DecodeJob job;
    const size_t size = length - offset;
    job.bytes = std::make_unique<uint8_t[]>(size);
    std::memcpy(job.bytes.get(), static_cast<const uint8_t*>(file) + offset, size);
    job.decoder = std::make_unique<VorbisDecoder>();
    // OpenAL places only mono sounds in space.
    const bool mono = (flags & (BASS_SAMPLE_MONO | BASS_SAMPLE_3D)) != 0;
    if (!job.decoder->Open({job.bytes.get(), size}, mono)) return 0;

    auto sample = std::make_unique<Sample>();
    sample->flags = flags;
    sample->max = std::clamp<uint32_t>(max, 1, kMaxChannelsPerSample);
    sample->mono = job.decoder->OutputChannels() == 1;
    sample->format = sample->mono ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    sample->rate = static_cast<ALsizei>(job.decoder->Rate());

    const size_t first = job.decoder->Rate() / kFirstPieceDivisor;
    std::vector<int16_t> pcm(first * static_cast<size_t>(job.decoder->OutputChannels()));
    const size_t frames = job.decoder->Read(pcm.data(), first);
    if (frames == 0) return 0;
    std::lock_guard lock(s.mutex);
    s.AppendPiece(*sample, pcm.data(), frames);
    if (sample->buffers.empty()) return 0;
    s.samples.push_back(std::move(sample));
    const uint32_t index = static_cast<uint32_t>(s.samples.size() - 1);
    if (frames == first) {
        job.sample = index;
        job.decoded = frames;
        s.jobs.push_back(std::move(job));
        s.wake.notify_one();
    }
    return index + 1;
}

Handle OpenAlSoundLibrary::SampleGetChannel(Handle handle, bool onlyNew) {
    Impl& s = *impl_;
    Sample* sample = s.FindSample(handle);
    if (!sample) return 0;
    const uint32_t index = handle - 1;
    auto handleOf = [index](const Channel& channel, size_t slot) {
        return ChannelHandle(index, channel.generation, slot);
    };
    auto reuse = [&](size_t slot) {
        Channel& channel = sample->channels[slot];
        alSourceRewind(channel.source);
        s.SetSourceDefaults(*sample, channel.source);
        ++channel.generation;
        channel.played = false;
        return handleOf(channel, slot);
    };
    // A channel that has played to its end is free again.
    for (size_t slot = 0; slot < sample->channels.size(); ++slot) {
        ALint state = AL_PLAYING;
        alGetSourcei(sample->channels[slot].source, AL_SOURCE_STATE, &state);
        if (sample->channels[slot].played && state == AL_STOPPED) return reuse(slot);
    }
    if (sample->channels.size() < sample->max) {
        Channel channel;
        alGetError();
        alGenSources(1, &channel.source);
        if (alGetError() != AL_NO_ERROR) return 0;
        s.SetSourceDefaults(*sample, channel.source);
        std::lock_guard lock(s.mutex);
        alSourceQueueBuffers(channel.source, static_cast<ALsizei>(sample->buffers.size()), sample->buffers.data());
        sample->channels.push_back(channel);
        return handleOf(sample->channels.back(), sample->channels.size() - 1);
    }
    if (onlyNew) return 0;
    // Override the channel that has played longest.
    size_t oldest = 0;
    ALint oldestOffset = -1;
    for (size_t slot = 0; slot < sample->channels.size(); ++slot) {
        ALint offset = 0;
        alGetSourcei(sample->channels[slot].source, AL_SAMPLE_OFFSET, &offset);
        if (offset > oldestOffset) {
            oldest = slot;
            oldestOffset = offset;
        }
    }
    return reuse(oldest);
}

bool OpenAlSoundLibrary::ChannelPlay(Handle handle, bool restart) {
    Channel* channel = impl_->FindChannel(handle);
    if (!channel) return false;
    ALint state = AL_INITIAL;
    alGetSourcei(channel->source, AL_SOURCE_STATE, &state);
    if (restart) alSourceRewind(channel->source);
    if (restart || state != AL_PLAYING) alSourcePlay(channel->source);
    channel->played = true;
    return true;
}

bool OpenAlSoundLibrary::ChannelSetAttributes(Handle handle, int frequency, int volume, int pan) {
    Sample* sample = nullptr;
    Channel* channel = impl_->FindChannel(handle, &sample);
    if (!channel) return false;
    if (frequency > 0) alSourcef(channel->source, AL_PITCH, static_cast<float>(frequency) / sample->rate);
    if (volume >= 0) alSourcef(channel->source, AL_GAIN, static_cast<float>(std::min(volume, 100)) / 100.0f);
    // Panning moves a plain mono channel around the listener; space places 3D channels, and
    // stereo channels keep their own image.
    if (pan != kPanUnchanged && pan >= -100 && pan <= 100 && sample->mono && !sample->Is3D()) {
        const float x = static_cast<float>(pan) / 100.0f;
        alSource3f(channel->source, AL_POSITION, x, 0.0f, -std::sqrt(1.0f - x * x));
    }
    return true;
}

bool OpenAlSoundLibrary::ChannelSet3DAttributes(Handle handle, int mode, float minDistance, float maxDistance,
                                                int insideAngle, int outsideAngle, int outsideVolume) {
    Sample* sample = nullptr;
    Channel* channel = impl_->FindChannel(handle, &sample);
    if (!channel || !sample->Is3D()) return false;
    const ALuint source = channel->source;
    if (mode == BASS_3DMODE_NORMAL) alSourcei(source, AL_SOURCE_RELATIVE, AL_FALSE);
    if (mode == BASS_3DMODE_RELATIVE) alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    if (mode == BASS_3DMODE_OFF) {
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    }
    if (minDistance > 0.0f) alSourcef(source, AL_REFERENCE_DISTANCE, minDistance * impl_->distanceFactor);
    if (maxDistance > 0.0f) alSourcef(source, AL_MAX_DISTANCE, maxDistance * impl_->distanceFactor);
    if (insideAngle >= 0) alSourcef(source, AL_CONE_INNER_ANGLE, static_cast<float>(std::min(insideAngle, 360)));
    if (outsideAngle >= 0) alSourcef(source, AL_CONE_OUTER_ANGLE, static_cast<float>(std::min(outsideAngle, 360)));
    if (outsideVolume >= 0) {
        alSourcef(source, AL_CONE_OUTER_GAIN, static_cast<float>(std::min(outsideVolume, 100)) / 100.0f);
    }
    return true;
}

bool OpenAlSoundLibrary::ChannelSet3DPosition(Handle handle, const Vector3* position, const Vector3* orientation,
                                              const Vector3* velocity) {
    Sample* sample = nullptr;
    Channel* channel = impl_->FindChannel(handle, &sample);
    if (!channel || !sample->Is3D()) return false;
    ALfloat v[3];
    if (position) {
        ToOpenAl(*position, impl_->distanceFactor, v);
        alSourcefv(channel->source, AL_POSITION, v);
    }
    if (orientation) {
        ToOpenAl(*orientation, 1.0f, v);
        alSourcefv(channel->source, AL_DIRECTION, v);
    }
    if (velocity) {
        ToOpenAl(*velocity, impl_->distanceFactor, v);
        alSourcefv(channel->source, AL_VELOCITY, v);
    }
    return true;
}

bool OpenAlSoundLibrary::Set3DPosition(const Vector3* position, const Vector3* velocity, const Vector3* front,
                                       const Vector3* top) {
    Impl& s = *impl_;
    if (!s.initialised) return false;
    if (!s.context) return true;
    ALfloat v[3];
    if (position) {
        ToOpenAl(*position, s.distanceFactor, v);
        alListenerfv(AL_POSITION, v);
    }
    if (velocity) {
        ToOpenAl(*velocity, s.distanceFactor, v);
        alListenerfv(AL_VELOCITY, v);
    }
    if (front || top) {
        ALfloat orientation[6];
        alGetListenerfv(AL_ORIENTATION, orientation);
        if (front) ToOpenAl(*front, 1.0f, orientation);
        if (top) ToOpenAl(*top, 1.0f, orientation + 3);
        alListenerfv(AL_ORIENTATION, orientation);
    }
    return true;
}

bool OpenAlSoundLibrary::DeviceLost() {
    Impl& s = *impl_;
    if (s.lost || !s.context) return s.lost;
    ALCint connected = ALC_TRUE;
    if (s.detectsDisconnect) alcGetIntegerv(s.device, ALC_CONNECTED, 1, &connected);
    if (connected == ALC_TRUE && !s.disconnectSimulated) return false;
    // A disconnected OpenAL device has stopped every source and mixes no more; what is left to
    // do is to let it go and answer from now on as the no-sound device.
    s.Release();
    s.silent = true;
    s.lost = true;
    return true;
}

void OpenAlSoundLibrary::SimulateDisconnect() { impl_->disconnectSimulated = true; }

void OpenAlSoundLibrary::Render(int16_t* out, uint32_t frames) {
    Impl& s = *impl_;
    if (!s.renderSamples) {
        std::fill(out, out + static_cast<size_t>(frames) * 2, int16_t{0});
        return;
    }
    {
        std::unique_lock lock(s.mutex);
        s.idle.wait(lock, [&s] { return s.jobs.empty() && !s.busy; });
    }
    s.mix.resize(static_cast<size_t>(frames) * 2);
    s.renderSamples(s.device, s.mix.data(), static_cast<ALCsizei>(frames));
    for (size_t i = 0; i < s.mix.size(); ++i) {
        out[i] = static_cast<int16_t>(std::nearbyint(std::clamp(s.mix[i], -1.0f, 1.0f) * 32767.0f));
    }
}

}  // namespace audio
