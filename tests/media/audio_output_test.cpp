// Without a usable audio device the output says so once per run, whatever
// the number of attempts, and each attempt fails cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/media/audio_output.h"
#include "platform/media/audio_ring.h"

namespace {

TEST(AudioOutput, NoDeviceIsNotedInOneLineForAllAttempts)
{
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string kept = previous ? previous : "";
    setenv("SDL_AUDIODRIVER", "velmora-no-such-driver", 1);
    testing::internal::CaptureStderr();
    media::AudioRing ring(4096);
    for (int attempt = 0; attempt < 3; ++attempt) {
        media::AudioOutput output;
        std::string error;
        EXPECT_FALSE(output.Open(ring, error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(output.IsOpen());
        output.SetPaused(false);  // harmless on a closed output
    }
    const std::string said = testing::internal::GetCapturedStderr();
    if (previous)
        setenv("SDL_AUDIODRIVER", kept.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("sound is off"), std::string::npos) << said;
}

}  // namespace
