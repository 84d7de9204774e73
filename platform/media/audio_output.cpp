#include "platform/media/audio_output.h"

#include <SDL.h>
#include <dlfcn.h>

#include <atomic>
#include <cstring>
#include <iostream>

#include "platform/media/decoder.h"

namespace media {

namespace {

extern "C" void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card, ALSA writes a block of errors to stderr at every
// attempt to open a device. Its messages go nowhere instead: a failure
// reaches the caller, and NoteSoundOff says it once.
void SilenceAlsa()
{
    static const bool silenced = [] {
        void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);  // kept loaded, as SDL keeps it
        if (!alsa) return false;
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
        return set && set(&IgnoreAlsaMessage) == 0;
    }();
    (void)silenced;
}

// One line for the whole run, however many players try a device.
void NoteSoundOff(const std::string& reason)
{
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) std::cerr << "velmora: sound is off (" << reason << ")" << std::endl;
}

}  // namespace

AudioOutput::~AudioOutput() { Close(); }

bool AudioOutput::Open(AudioRing& ring, std::string& error)
{
    Close();
    SilenceAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        NoteSoundOff(error);
        return false;
    }
    subsystem_ = true;
    ring_ = &ring;
    played_ = 0;
    SDL_AudioSpec wanted{};
    wanted.freq = kOutputRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kOutputChannels;
    wanted.samples = 1024;
    wanted.callback = &AudioOutput::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No format changes allowed: SDL converts for the hardware.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        error = SDL_GetError();
        NoteSoundOff(error);
        Close();
        return false;
    }
    return true;
}

void AudioOutput::Close()
{
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);  // waits for a running callback
        device_ = 0;
    }
    if (subsystem_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
    }
    ring_ = nullptr;
}

void AudioOutput::SetPaused(bool paused)
{
    if (device_ != 0) SDL_PauseAudioDevice(device_, paused ? 1 : 0);
}

void AudioOutput::Callback(void* self, uint8_t* stream, int length)
{
    auto* output = static_cast<AudioOutput*>(self);
    const size_t frame_bytes = sizeof(int16_t) * kOutputChannels;
    const size_t wanted = static_cast<size_t>(length) / frame_bytes;
    const size_t got = output->ring_->Pop(reinterpret_cast<int16_t*>(stream), wanted);
    if (output->muted_) std::memset(stream, 0, got * frame_bytes);
    std::memset(stream + got * frame_bytes, 0, static_cast<size_t>(length) - got * frame_bytes);
    output->played_ += static_cast<int64_t>(got);
}

}  // namespace media
