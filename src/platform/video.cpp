#include "platform/video.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/files.h"
#include "platform/surface.h"

struct PlatVideo {
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    int video_index = -1;
    int audio_index = -1;
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    AVFrame* frame = nullptr;   // scratch for decoding
    AVFrame* pending = nullptr; // decoded, not yet due
    uint32_t pending_ms = 0;
    bool have_pending = false;
    AVPacket* packet = nullptr;
    uint32_t length_ms = 0;
    uint32_t frame_ms = 67; // one frame's time, for the end of a film cut short
    uint32_t decoded_end_ms = 0;
    bool flushed = false;
    bool ended = false;
    PlatRect dest{0, 0, 0, 0};
    std::vector<uint16_t> scaled; // the frame at the rectangle's size
    uint32_t shown = 0;
    // The film is read through our own descriptor, opened as a regular file
    // only: FFmpeg opening the name itself would wait on a FIFO for ever.
    int fd = -1;
    AVIOContext* io = nullptr;
};

namespace {

constexpr int MIX_RATE = 44100;
constexpr size_t SOUND_QUEUE_MAX = MIX_RATE * 4; // frames; older sound is dropped beyond

std::mutex g_sound_mutex;
std::deque<int16_t> g_sound; // interleaved stereo
std::atomic<uint64_t> g_sound_taken{0};

AVPixelFormat surface_format(PlatPixelFormat format) {
    switch (format) {
    case PLAT_RGB555:
        return AV_PIX_FMT_RGB555LE;
    case PLAT_BGR565:
        return AV_PIX_FMT_BGR565LE;
    case PLAT_RGB444:
        return AV_PIX_FMT_RGB444LE;
    case PLAT_RGB565:
    default:
        return AV_PIX_FMT_RGB565LE;
    }
}

AVCodecContext* open_decoder(AVStream* stream) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) return nullptr;
    AVCodecContext* c = avcodec_alloc_context3(codec);
    if (!c) return nullptr;
    if (avcodec_parameters_to_context(c, stream->codecpar) < 0 ||
        avcodec_open2(c, codec, nullptr) < 0) {
        avcodec_free_context(&c);
        return nullptr;
    }
    return c;
}

uint32_t to_ms(const PlatVideo* v, int64_t pts) {
    AVStream* s = v->format->streams[v->video_index];
    if (pts == AV_NOPTS_VALUE) return v->decoded_end_ms;
    int64_t start = s->start_time == AV_NOPTS_VALUE ? 0 : s->start_time;
    int64_t ms = av_rescale_q(pts - start, s->time_base, AVRational{1, 1000});
    return static_cast<uint32_t>(std::max<int64_t>(0, ms));
}

void queue_sound(PlatVideo* v, AVFrame* f) {
    if (!v->resampler) {
        AVChannelLayout out_layout;
        av_channel_layout_default(&out_layout, 2);
        if (swr_alloc_set_opts2(&v->resampler, &out_layout, AV_SAMPLE_FMT_S16, MIX_RATE,
                                &v->audio->ch_layout, v->audio->sample_fmt, v->audio->sample_rate,
                                0, nullptr) < 0 ||
            swr_init(v->resampler) < 0) {
            swr_free(&v->resampler);
            return;
        }
    }
    int out_count = swr_get_out_samples(v->resampler, f->nb_samples);
    if (out_count <= 0) return;
    std::vector<int16_t> out(static_cast<size_t>(out_count) * 2);
    uint8_t* planes[1] = {reinterpret_cast<uint8_t*>(out.data())};
    int got = swr_convert(v->resampler, planes, out_count,
                          const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
    if (got <= 0) return;
    std::lock_guard<std::mutex> lock(g_sound_mutex);
    g_sound.insert(g_sound.end(), out.begin(), out.begin() + got * 2);
    while (g_sound.size() > SOUND_QUEUE_MAX * 2)
        g_sound.pop_front();
}

void decode_sound(PlatVideo* v, const AVPacket* p) {
    if (!v->audio || avcodec_send_packet(v->audio, p) < 0) return;
    while (avcodec_receive_frame(v->audio, v->frame) == 0) {
        queue_sound(v, v->frame);
        av_frame_unref(v->frame);
    }
}

// The next decoded picture into v->pending; false when there is none (the
// end of the file, or data that cannot be read or decoded).
bool next_picture(PlatVideo* v) {
    for (;;) {
        int r = avcodec_receive_frame(v->video, v->pending);
        if (r == 0) {
            v->pending_ms = to_ms(v, v->pending->best_effort_timestamp);
            v->decoded_end_ms = std::max(v->decoded_end_ms, v->pending_ms + v->frame_ms);
            return true;
        }
        if (r != AVERROR(EAGAIN) || v->flushed) return false;
        r = av_read_frame(v->format, v->packet);
        if (r < 0) {
            // Out of data: let the decoder give up what it still holds.
            v->flushed = true;
            avcodec_send_packet(v->video, nullptr);
            continue;
        }
        if (v->packet->stream_index == v->video_index) {
            r = avcodec_send_packet(v->video, v->packet);
            av_packet_unref(v->packet);
            if (r < 0 && r != AVERROR(EAGAIN)) return false; // damaged picture data
        } else {
            if (v->packet->stream_index == v->audio_index) decode_sound(v, v->packet);
            av_packet_unref(v->packet);
        }
    }
}

void show(PlatVideo* v, const AVFrame* f) {
    PlatSurface* primary = plat_primary_surface();
    int w = v->dest.right - v->dest.left, h = v->dest.bottom - v->dest.top;
    if (!primary || w <= 0 || h <= 0) return;
    v->scaler = sws_getCachedContext(
        v->scaler, f->width, f->height, static_cast<AVPixelFormat>(f->format), w, h,
        surface_format(primary->format), SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!v->scaler) return;
    v->scaled.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    uint8_t* dst[1] = {reinterpret_cast<uint8_t*>(v->scaled.data())};
    int dst_pitch[1] = {w * 2};
    sws_scale(v->scaler, f->data, f->linesize, 0, f->height, dst, dst_pitch);
    // The part of the rectangle that lies on the surface.
    int x0 = std::max(0, v->dest.left), y0 = std::max(0, v->dest.top);
    int x1 = std::min(primary->width, v->dest.right),
        y1 = std::min(primary->height, v->dest.bottom);
    if (x0 >= x1 || y0 >= y1) return;
    int32_t pitch = 0;
    uint16_t* pixels = plat_surface_lock(primary, &pitch);
    for (int y = y0; y < y1; ++y) {
        const uint16_t* from =
            v->scaled.data() + static_cast<size_t>(y - v->dest.top) * w + (x0 - v->dest.left);
        uint16_t* to = pixels + static_cast<size_t>(y) * (pitch / 2) + x0;
        std::memcpy(to, from, static_cast<size_t>(x1 - x0) * 2);
    }
    plat_surface_unlock(primary);
    ++v->shown;
}

int read_file(void* opaque, uint8_t* buf, int size) {
    auto* v = static_cast<PlatVideo*>(opaque);
    for (;;) {
        const ssize_t n = ::read(v->fd, buf, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return AVERROR(errno);
        return n == 0 ? AVERROR_EOF : static_cast<int>(n);
    }
}

int64_t seek_file(void* opaque, int64_t offset, int whence) {
    auto* v = static_cast<PlatVideo*>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat st;
        return ::fstat(v->fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : AVERROR(errno);
    }
    const off_t at = ::lseek(v->fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : static_cast<int64_t>(at);
}

std::string av_error_text(int code) {
    char text[128] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

} // namespace

PlatVideo* video_open(const std::string& path, std::string* problem) {
    std::string why;
    if (!problem) problem = &why;
    problem->clear();
    if (path.empty()) {
        *problem = "not found";
        return nullptr;
    }
    av_log_set_level(AV_LOG_QUIET);
    auto* v = new PlatVideo;
    v->fd = plat_open_regular_fd(path, problem);
    constexpr int IO_BUFFER = 32768;
    bool ok = v->fd >= 0;
    if (ok) {
        auto* buffer = static_cast<uint8_t*>(av_malloc(IO_BUFFER));
        v->io = buffer ? avio_alloc_context(buffer, IO_BUFFER, 0, v, read_file, nullptr, seek_file)
                       : nullptr;
        if (!v->io) av_free(buffer);
        v->format = v->io ? avformat_alloc_context() : nullptr;
        ok = v->format != nullptr;
        if (!ok) *problem = "unreadable: out of memory";
    }
    if (ok) {
        v->format->pb = v->io;
        v->format->flags |= AVFMT_FLAG_CUSTOM_IO;
        const int r = avformat_open_input(&v->format, path.c_str(), nullptr, nullptr);
        ok = r == 0;
        if (!ok) *problem = "damaged: not a film that can be read (" + av_error_text(r) + ")";
    }
    if (ok && avformat_find_stream_info(v->format, nullptr) < 0) {
        ok = false;
        *problem = "damaged: its streams cannot be read";
    }
    if (ok) {
        v->video_index = av_find_best_stream(v->format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        ok = v->video_index >= 0 && (v->video = open_decoder(v->format->streams[v->video_index]));
        if (!ok)
            *problem = v->video_index >= 0 ? "damaged: its pictures cannot be decoded"
                                           : "damaged: it holds no video stream";
    }
    if (ok) {
        v->audio_index = av_find_best_stream(v->format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (v->audio_index >= 0) v->audio = open_decoder(v->format->streams[v->audio_index]);
        if (!v->audio) v->audio_index = -1;
        v->frame = av_frame_alloc();
        v->pending = av_frame_alloc();
        v->packet = av_packet_alloc();
        ok = v->frame && v->pending && v->packet;
        if (!ok) *problem = "unreadable: out of memory";
    }
    if (!ok) {
        video_close(v);
        return nullptr;
    }
    AVStream* s = v->format->streams[v->video_index];
    AVRational rate = s->avg_frame_rate.num ? s->avg_frame_rate : s->r_frame_rate;
    if (rate.num > 0 && rate.den > 0)
        v->frame_ms = static_cast<uint32_t>(1000 * rate.den / rate.num);
    int64_t length = 0;
    if (v->format->duration > 0)
        length = av_rescale(v->format->duration, 1000, AV_TIME_BASE);
    else if (s->duration > 0)
        length = av_rescale_q(s->duration, s->time_base, AVRational{1, 1000});
    v->length_ms = static_cast<uint32_t>(std::clamp<int64_t>(length, 0, 24 * 3600 * 1000));
    v->dest = {0, 0, v->video->width, v->video->height};
    video_sound_clear();
    return v;
}

void video_close(PlatVideo* v) {
    if (!v) return;
    sws_freeContext(v->scaler);
    swr_free(&v->resampler);
    av_frame_free(&v->frame);
    av_frame_free(&v->pending);
    av_packet_free(&v->packet);
    avcodec_free_context(&v->video);
    avcodec_free_context(&v->audio);
    avformat_close_input(&v->format); // leaves our own reader
    if (v->io) av_freep(&v->io->buffer);
    avio_context_free(&v->io);
    if (v->fd >= 0) ::close(v->fd);
    delete v;
    video_sound_clear();
}

uint32_t video_length_ms(const PlatVideo* v) {
    return v ? v->length_ms : 0;
}
int video_width(const PlatVideo* v) {
    return v && v->video ? v->video->width : 0;
}
int video_height(const PlatVideo* v) {
    return v && v->video ? v->video->height : 0;
}
bool video_has_sound(const PlatVideo* v) {
    return v && v->audio;
}

void video_set_destination(PlatVideo* v, const PlatRect& rect) {
    if (v) v->dest = rect;
}

bool video_advance(PlatVideo* v, uint32_t position_ms) {
    if (!v || v->ended) return false;
    bool due = false;
    AVFrame* latest = av_frame_alloc();
    for (;;) {
        if (!v->have_pending) {
            if (!next_picture(v)) {
                v->ended = true;
                break;
            }
            v->have_pending = true;
        }
        if (v->pending_ms > position_ms) break;
        // Due: keep it as the one to show, unless a later one is due too.
        av_frame_unref(latest);
        av_frame_move_ref(latest, v->pending);
        v->have_pending = false;
        due = true;
    }
    if (due) show(v, latest);
    av_frame_free(&latest);
    return !v->ended;
}

void video_rewind(PlatVideo* v) {
    if (!v) return;
    AVStream* s = v->format->streams[v->video_index];
    int64_t start = s->start_time == AV_NOPTS_VALUE ? 0 : s->start_time;
    av_seek_frame(v->format, v->video_index, start, AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(v->video);
    if (v->audio) avcodec_flush_buffers(v->audio);
    av_frame_unref(v->pending);
    v->have_pending = false;
    v->flushed = false;
    v->ended = false;
    v->decoded_end_ms = 0;
    video_sound_clear();
}

uint32_t video_next_due_ms(const PlatVideo* v) {
    if (!v) return 0;
    if (v->ended || !v->have_pending) return v->decoded_end_ms;
    return v->pending_ms;
}

uint32_t video_frames_shown(const PlatVideo* v) {
    return v ? v->shown : 0;
}

size_t video_sound_mix(int16_t* out, size_t frames) {
    std::lock_guard<std::mutex> lock(g_sound_mutex);
    size_t n = std::min(frames, g_sound.size() / 2);
    g_sound_taken += n;
    for (size_t i = 0; i < n * 2; ++i) {
        int s = out[i] + g_sound.front();
        g_sound.pop_front();
        out[i] = static_cast<int16_t>(std::clamp(s, -32768, 32767));
    }
    return n;
}

void video_sound_skip(size_t frames) {
    std::lock_guard<std::mutex> lock(g_sound_mutex);
    size_t n = std::min(frames * 2, g_sound.size());
    g_sound_taken += n / 2;
    g_sound.erase(g_sound.begin(), g_sound.begin() + static_cast<long>(n));
}

uint64_t video_sound_frames_taken() {
    return g_sound_taken;
}

void video_sound_clear() {
    std::lock_guard<std::mutex> lock(g_sound_mutex);
    g_sound.clear();
}

size_t video_sound_queued() {
    std::lock_guard<std::mutex> lock(g_sound_mutex);
    return g_sound.size() / 2;
}
