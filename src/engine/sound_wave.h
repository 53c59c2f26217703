// Reading a RIFF WAVE image as the sound entries store it: the RIFF magic at
// 0, the PCM format block at 20, then chunks from 20 + (u32 at 16) up to the
// one named "data".
#pragma once

#include <cstdint>

#include "platform/mixer.h"

struct WaveData {
    MixerFormat format;
    const uint8_t* samples; // inside the image
    uint32_t bytes;         // the "data" size, cut to what the image holds
};

// True when the image of `size` bytes is a PCM WAVE with a "data" chunk.
// Nothing is read past `size`.
bool wave_parse(const void* wave, uint32_t size, WaveData* out);
