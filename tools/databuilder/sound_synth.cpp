#include "sound_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double PI = 3.14159265358979323846;

void put_u32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put_u16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put_id(Bytes& b, const char* id) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(id[i]));
}

} // namespace

Bytes wave_image_u8(const std::vector<uint8_t>& samples, uint32_t rate) {
    Bytes b;
    uint32_t n = static_cast<uint32_t>(samples.size());
    b.reserve(44 + n + 1);
    put_id(b, "RIFF");
    put_u32(b, 36 + n + (n & 1));
    put_id(b, "WAVE");
    put_id(b, "fmt ");
    put_u32(b, 16);
    put_u16(b, 1); // PCM
    put_u16(b, 1); // mono
    put_u32(b, rate);
    put_u32(b, rate); // bytes per second
    put_u16(b, 1);    // block align
    put_u16(b, 8);
    put_id(b, "data");
    put_u32(b, n);
    b.insert(b.end(), samples.begin(), samples.end());
    if (n & 1) b.push_back(0x80);
    return b;
}

void Synth::tone(double f0, double f1, int ms, int shape, double amp, double decay) {
    size_t count = static_cast<size_t>(rate) * static_cast<size_t>(ms) / 1000;
    double phase = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / rate;
        double f = f0 + (f1 - f0) * static_cast<double>(i) / static_cast<double>(count);
        phase += f / rate;
        phase -= std::floor(phase);
        double v = 0;
        if (shape == 0)
            v = std::sin(2 * PI * phase);
        else if (shape == 1)
            v = phase < 0.5 ? 0.8 : -0.8;
        else
            v = 2 * phase - 1;
        out.push_back(v * amp * std::exp(-decay * t));
    }
}

void Synth::noise(int ms, double amp, double lowpass, double decay) {
    size_t count = static_cast<size_t>(rate) * static_cast<size_t>(ms) / 1000;
    // A fixed linear congruential sequence: the data set is the same on every build.
    uint32_t seed = static_cast<uint32_t>(out.size() * 2654435761u + 12345u);
    double y = 0;
    for (size_t i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        double x = static_cast<double>((seed >> 16) & 0x7FFF) / 16384.0 - 1.0;
        y += lowpass * (x - y);
        double t = static_cast<double>(i) / rate;
        out.push_back(y * amp * std::exp(-decay * t));
    }
}

void Synth::silence(int ms) {
    out.insert(out.end(), static_cast<size_t>(rate) * static_cast<size_t>(ms) / 1000, 0.0);
}

std::vector<uint8_t> Synth::u8() const {
    std::vector<uint8_t> s(out.size());
    size_t fade = std::min<size_t>(out.size() / 4, rate / 200);
    for (size_t i = 0; i < out.size(); ++i) {
        double g = 1.0;
        if (fade) {
            if (i < fade) g = static_cast<double>(i) / fade;
            if (out.size() - 1 - i < fade) g = static_cast<double>(out.size() - 1 - i) / fade;
        }
        double v = std::clamp(out[i] * g, -1.0, 1.0);
        s[i] = static_cast<uint8_t>(std::lround(128 + v * 127));
    }
    return s;
}
