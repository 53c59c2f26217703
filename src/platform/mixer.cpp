#include "platform/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

int16_t clamp16(int32_t v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

// Keeps a push stream's queue from growing without bound once played through.
void compact(MixerStream& st) {
    if (st.queue_head > 0 && st.queue_head * 2 >= st.queue.size()) {
        st.queue.erase(st.queue.begin(), st.queue.begin() + static_cast<long>(st.queue_head));
        st.queue_head = 0;
    }
}

} // namespace

bool mixer_format_supported(const MixerFormat& f) {
    return (f.channels == 1 || f.channels == 2) &&
           (f.bits_per_sample == 8 || f.bits_per_sample == 16) && f.samples_per_sec >= 8000 &&
           f.samples_per_sec <= 48000;
}

int32_t mixer_gain_from_hundredths_db(int32_t v) {
    if (v >= 0) return 0x10000;
    if (v <= -10000) return 0;
    return static_cast<int32_t>(std::lround(65536.0 * std::pow(10.0, v / 2000.0)));
}

MixerSound* Mixer::create_sound(const MixerFormat& f, const void* data, uint32_t bytes) {
    if (!mixer_format_supported(f) || !data) return nullptr;
    uint32_t frame_bytes = f.channels * (f.bits_per_sample / 8u);
    uint32_t frames = bytes / frame_bytes;
    if (frames == 0) return nullptr;
    auto s = std::make_unique<MixerSound>();
    s->frames = frames;
    s->channels = f.channels;
    s->rate = f.samples_per_sec;
    s->step = (uint64_t{f.samples_per_sec} << 32) / MIXER_RATE;
    s->pcm.resize(size_t{frames} * f.channels);
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (f.bits_per_sample == 8) {
        for (size_t i = 0; i < s->pcm.size(); ++i)
            s->pcm[i] = static_cast<int16_t>((p[i] - 128) * 256);
    } else {
        for (size_t i = 0; i < s->pcm.size(); ++i)
            s->pcm[i] = static_cast<int16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    }
    sounds_.push_back(std::move(s));
    return sounds_.back().get();
}

void Mixer::release_sound(MixerSound* sound) {
    auto it = std::find_if(sounds_.begin(), sounds_.end(),
                           [sound](const auto& p) { return p.get() == sound; });
    if (it != sounds_.end()) sounds_.erase(it);
}

MixerStream* Mixer::create_stream(MixerStreamFill fill, void* user) {
    auto s = std::make_unique<MixerStream>();
    s->fill = fill;
    s->user = user;
    streams_.push_back(std::move(s));
    return streams_.back().get();
}

void Mixer::release_stream(MixerStream* stream) {
    auto it = std::find_if(streams_.begin(), streams_.end(),
                           [stream](const auto& p) { return p.get() == stream; });
    if (it != streams_.end()) streams_.erase(it);
}

size_t Mixer::playing_count() const {
    return static_cast<size_t>(
        std::count_if(sounds_.begin(), sounds_.end(), [](const auto& s) { return s->playing; }));
}

void Mixer::release_all() {
    sounds_.clear();
    streams_.clear();
}

// The same position arithmetic as rendering, without the samples, so a
// stretch passed unheard ends and loops exactly where it would have sounded.
void Mixer::skip_sound(MixerSound& s, uint32_t frames) {
    uint64_t end = uint64_t{s.frames} << 32;
    s.position += s.step * frames;
    if (s.position < end) return;
    if (s.looping) {
        s.position %= end;
    } else {
        s.position = end;
        s.playing = false;
    }
}

void Mixer::render(int16_t* out, uint32_t frames) {
    if (!out) {
        for (auto& sp : sounds_)
            if (sp->playing) skip_sound(*sp, frames);
        for (auto& st : streams_) {
            if (!st->playing) continue;
            if (st->fill) {
                st->fill(st->user, nullptr, frames);
            } else {
                size_t left = (st->queue.size() - st->queue_head) / 2;
                st->queue_head += 2 * std::min<size_t>(left, frames);
                compact(*st);
            }
            st->frames_played += frames;
        }
        return;
    }
    accum_.assign(size_t{frames} * 2, 0);
    int32_t* acc = accum_.data();
    for (auto& sp : sounds_) {
        MixerSound& s = *sp;
        if (!s.playing) continue;
        const uint64_t end = uint64_t{s.frames} << 32;
        const int16_t* pcm = s.pcm.data();
        const int64_t gain = s.gain;
        for (uint32_t i = 0; i < frames; ++i) {
            uint32_t idx = static_cast<uint32_t>(s.position >> 32);
            // 64-bit: a full-scale step times the fraction passes 32 bits.
            int64_t frac = static_cast<int64_t>((s.position >> 16) & 0xFFFF);
            // The sample after the last is the first again when looping,
            // else the last itself (no click into silence).
            uint32_t next = idx + 1 < s.frames ? idx + 1 : (s.looping ? 0 : idx);
            if (s.channels == 1) {
                int32_t a = pcm[idx], b = pcm[next];
                int32_t v = a + static_cast<int32_t>(((b - a) * frac) >> 16);
                int32_t g = static_cast<int32_t>((v * gain) >> 16);
                acc[2 * i] += g;
                acc[2 * i + 1] += g;
            } else {
                for (int c = 0; c < 2; ++c) {
                    int32_t a = pcm[2 * idx + c], b = pcm[2 * next + c];
                    int32_t v = a + static_cast<int32_t>(((b - a) * frac) >> 16);
                    acc[2 * i + c] += static_cast<int32_t>((v * gain) >> 16);
                }
            }
            s.position += s.step;
            if (s.position >= end) {
                if (s.looping) {
                    s.position %= end;
                } else {
                    s.position = end;
                    s.playing = false;
                    break;
                }
            }
        }
    }
    for (auto& sp : streams_) {
        MixerStream& st = *sp;
        if (!st.playing) continue;
        stream_buf_.assign(size_t{frames} * 2, 0);
        if (st.fill) {
            st.fill(st.user, stream_buf_.data(), frames);
        } else {
            size_t left = (st.queue.size() - st.queue_head) / 2;
            size_t n = std::min<size_t>(left, frames);
            std::memcpy(stream_buf_.data(), st.queue.data() + st.queue_head,
                        n * 2 * sizeof(int16_t));
            st.queue_head += 2 * n;
        }
        if (!st.fill) compact(st);
        const int64_t gain = st.gain;
        for (size_t i = 0; i < stream_buf_.size(); ++i)
            acc[i] += static_cast<int32_t>((stream_buf_[i] * gain) >> 16);
        st.frames_played += frames;
    }
    for (size_t i = 0; i < size_t{frames} * 2; ++i)
        out[i] = clamp16(acc[i]);
}
