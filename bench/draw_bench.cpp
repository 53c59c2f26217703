// One 640 x 480 frame drawn the way a busy screen draws it: the clear, 50
// keyed sprites of 32 to 64 pixels, 10 lines of text, the screen update;
// beside memcpy of one frame. The frame benchmark reports its time as a
// ratio to the memcpy (goal: the frame under 1 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/draw.h"
#include "engine/random.h"
#include "engine/text.h"
#include "platform/surface.h"

namespace {

struct Scene {
    std::vector<ImageRecord*> sprites;
    struct Place {
        int sprite, x, y;
    };
    std::vector<Place> places;

    Scene() {
        plat_surface_reset();
        gfx_set_pixel_format(PIXEL_RGB565);
        back_surface = plat_surface_create(SCREEN_W, SCREEN_H, false);
        primary_surface = plat_surface_create(SCREEN_W, SCREEN_H, true);
        text_init();
        // Sprites of 32 to 64 pixels: a disc on a transparent square.
        game_srand(7);
        auto next = [] { return static_cast<uint32_t>(game_rand()); };
        for (int i = 0; i < 50; ++i) {
            int side = 32 + static_cast<int>(next() % 33);
            ImageRecord* img = image_new(side, side, side / 2, side / 2);
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    int dx = 2 * x - side, dy = 2 * y - side;
                    img->pixels[y * side + x] = dx * dx + dy * dy < side * side
                                                    ? static_cast<uint16_t>(0x1000 + i * 97)
                                                    : 0;
                }
            sprites.push_back(img);
            places.push_back(
                {i, static_cast<int>(next() % SCREEN_W), static_cast<int>(next() % SCREEN_H)});
        }
    }
    ~Scene() {
        for (ImageRecord* s : sprites)
            std::free(s);
        text_shutdown();
        back_surface = nullptr;
        primary_surface = nullptr;
        plat_surface_reset();
    }

    void frame() {
        uint16_t* back = gfx_lock_back();
        std::memset(back, 0, SCREEN_W * SCREEN_H * 2);
        for (const Place& p : places)
            blit_key(back, sprites[p.sprite], p.x, p.y);
        text_set_font(16, 0xFFFFFF, 0x101010, TEXT_SHADOW, 1);
        for (int line = 0; line < 10; ++line)
            text_draw(nullptr, "现金 123,456 元　存款 78,900 元", 20, 30 + line * 40, 0);
        gfx_screen_update(PlatRect{0, 0, SCREEN_W, SCREEN_H});
    }
};

std::vector<uint16_t> copy_src(SCREEN_W*SCREEN_H, 0x1234), copy_dst(SCREEN_W*SCREEN_H);

void frame_copy() {
    std::memcpy(copy_dst.data(), copy_src.data(), copy_dst.size() * 2);
    benchmark::DoNotOptimize(copy_dst.data());
    benchmark::ClobberMemory();
}

void BM_FrameMemcpy(benchmark::State& state) {
    for (auto _ : state)
        frame_copy();
}
BENCHMARK(BM_FrameMemcpy);

void BM_Frame(benchmark::State& state) {
    Scene scene;
    scene.frame(); // fonts and glyphs cached before timing
    double frame_s = 0, copy_s = 0;
    using clock = std::chrono::steady_clock;
    for (auto _ : state) {
        auto t0 = clock::now();
        scene.frame();
        auto t1 = clock::now();
        frame_copy();
        auto t2 = clock::now();
        frame_s += std::chrono::duration<double>(t1 - t0).count();
        copy_s += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["frame_ms"] = frame_s * 1000 / static_cast<double>(state.iterations());
    state.counters["ratio_to_memcpy"] = copy_s > 0 ? frame_s / copy_s : 0;
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMicrosecond);

} // namespace
