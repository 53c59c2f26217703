// Small sound synthesis for the stand-in effects and the WAVE container the
// game reads (RIFF, 16-byte PCM format block, "data").
#pragma once

#include "mkf_writer.h"

#include <cstdint>
#include <vector>

// Unsigned 8-bit mono samples at `rate`, written as a PCM WAVE image.
Bytes wave_image_u8(const std::vector<uint8_t>& samples, uint32_t rate);

// Signal pieces, in samples of -1..1 at `rate`.
struct Synth {
    uint32_t rate = 22050;
    std::vector<double> out;

    // A tone gliding from f0 to f1 Hz over ms with a shape: 0 sine, 1 square,
    // 2 saw; an exponential fade of `decay` per second (0 = none).
    void tone(double f0, double f1, int ms, int shape, double amp, double decay);
    // Noise filtered by a one-pole low-pass (0..1, smaller is darker).
    void noise(int ms, double amp, double lowpass, double decay);
    void silence(int ms);
    // The samples as unsigned 8-bit, with short fades at both ends so that
    // loops and stops do not click.
    std::vector<uint8_t> u8() const;
};
