#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/surface.h"
#include "support/headless.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint32_t> g_tick_times;
void record_tick() {
    g_tick_times.push_back(plat_tick_count());
}

class VirtualClock : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        g_tick_times.clear();
    }
};

TEST_F(VirtualClock, RaisesTheTickAtEveryTwentyMillisecondsCrossed) {
    plat_clock_advance_to(7);
    plat_tick_start(record_tick);
    plat_clock_advance_to(26);
    EXPECT_TRUE(g_tick_times.empty());
    plat_clock_advance_to(68);
    EXPECT_EQ(g_tick_times, (std::vector<uint32_t>{27, 47, 67}));
    EXPECT_EQ(plat_tick_count(), 68u);
    plat_clock_advance_to(50); // never backwards
    EXPECT_EQ(plat_tick_count(), 68u);
    plat_tick_stop();
    plat_clock_advance_to(200);
    EXPECT_EQ(g_tick_times.size(), 3u);
}

TEST_F(VirtualClock, IdleWaitsEndAtTheNextTick) {
    plat_script_set_close_at_end(false);
    plat_tick_start(record_tick);
    for (int i = 0; i < 5; ++i)
        plat_idle(PLAT_WAIT_FOREVER);
    EXPECT_EQ(g_tick_times, (std::vector<uint32_t>{20, 40, 60, 80, 100}));
}

// The same script replays the same messages at the same times.
std::vector<std::string> replay_once() {
    plat_clock_reset(true);
    plat_queue_reset();
    plat_script_reset();
    std::string error;
    EXPECT_TRUE(plat_script_parse("# a short session\n"
                                  "10 move 100 200\n"
                                  "35 ldown\n"
                                  "35 lup 101 201\n"
                                  "90 keydown 0x41\n"
                                  "91 keydown 65\n"
                                  "120 keyup 65\n",
                                  &error))
        << error;
    plat_set_timer(3, 25);
    std::vector<std::string> seen;
    for (int guard = 0; guard < 100 && plat_tick_count() < 130; ++guard) {
        PlatMessage m;
        if (plat_peek_message(&m, true))
            seen.push_back(std::to_string(m.time) + ":" + std::to_string(m.message) + ":" +
                           std::to_string(m.lparam));
        else
            plat_idle(PLAT_WAIT_FOREVER);
    }
    return seen;
}

TEST_F(VirtualClock, AScriptedRunReplaysExactly) {
    auto first = replay_once();
    auto second = replay_once();
    EXPECT_EQ(first, second);
    ASSERT_GE(first.size(), 10u);
    EXPECT_EQ(first[0], "10:512:" + std::to_string(plat_pack_point(100, 200)));
    EXPECT_EQ(first[1], "25:275:0");
}

TEST(Script, BadLinesAreRefusedWithTheirNumberAndText) {
    plat_script_reset();
    const char* bad[] = {"10 jump", "x move 1 2", "10 move 1", "10 keydown 300",
                         "10 close now please", "-5 close",
                         // Nothing wraps at 32 bits, nothing is negative, no base but ten and 0x.
                         "4294967296 close", "2147483648 close", "10 keydown 4294967328",
                         "10 move -1 5", "10 move 1 32768", "10 activate 2", "+10 close",
                         "0x close", "1e3 close", "10 ldown 5", "10 keyup 0x", "10 move 0b1 2"};
    for (const char* text : bad) {
        std::string error;
        EXPECT_FALSE(plat_script_parse(std::string("5 nothing\n") + text + "\n", &error)) << text;
        EXPECT_EQ(error, std::string("script line 2: cannot read \"") + text + "\"");
        uint32_t t = 0;
        EXPECT_FALSE(plat_script_next_time(&t)) << "a refused script adds nothing: " << text;
    }
}

// A refused line is quoted short and escaped: a huge line does not flood the
// error, and bytes one cannot see (a NUL, a byte-order mark) are shown.
TEST(Script, ARefusedLineIsQuotedAsAShortEscapedPrefix) {
    const std::string huge = "10 move " + std::string(10 * 1024 * 1024, '7');
    const struct {
        std::string line;
        std::string quoted;
    } cases[] = {
        {std::string("10 cl\0ose", 9), "\"10 cl\\x00ose\""},
        {"\xEF\xBB\xBF"
         "10 close",
         "\"\\xEF\\xBB\\xBF10 close\""},
        {"10 say \"hi\" \\ \t", "\"10 say \\\"hi\\\" \\\\ \\x09\""},
        {huge,
         "\"10 move " + std::string(40, '7') + "\"... (" + std::to_string(huge.size()) + " bytes)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quoted);
        plat_script_reset();
        std::string error;
        EXPECT_FALSE(plat_script_parse("5 nothing\n" + c.line + "\n", &error));
        if (error.size() > 200) {
            ADD_FAILURE() << "an error of " << error.size() << " bytes";
            continue;
        }
        EXPECT_EQ(error, "script line 2: cannot read " + c.quoted);
    }
}

TEST(Script, NumbersAreDecimalOrHexadecimalAfter0x) {
    const struct {
        const char* line;
        uint32_t time;
    } cases[] = {{"010 close", 10},
                 {"08 close", 8},
                 {"0x20 close", 32},
                 {"0X1f close", 31},
                 {"2147483647 close", 2147483647u},
                 {"7 keydown 0xFF", 7},
                 {"7 move 32767 0", 7}};
    for (const auto& c : cases) {
        plat_script_reset();
        std::string error;
        EXPECT_TRUE(plat_script_parse(std::string(c.line) + "\r\n", &error)) << c.line << error;
        uint32_t t = 0;
        ASSERT_TRUE(plat_script_next_time(&t)) << c.line;
        EXPECT_EQ(t, c.time) << c.line;
    }
    plat_script_reset();
}

// Loads path in a child (a script that blocks would hang it, not the tests);
// the child's status: 0 loaded, 1 refused with `message` in the error, 2 a
// refusal saying something else, -1 stuck.
int load_in_child(const std::string& path, const std::string& message) {
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(10);
        std::string error;
        if (plat_script_load(path.c_str(), &error)) _exit(0);
        _exit(error.find(message) != std::string::npos && error.find(path) != std::string::npos
                  ? 1
                  : 2);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Script, OnlyARegularFileOfAtMost16MiBIsReadAndNothingWaits) {
    const fs::path dir = fs::temp_directory_path() / ("karvo_script_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string fifo = (dir / "session.fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string big = (dir / "big.txt").string();
    std::ofstream(big) << "10 nothing\n";
    fs::resize_file(big, (16u << 20) + 1);
    const struct {
        std::string path;
        std::string message;
        int status;
    } cases[] = {
        {fifo, "not a regular file", 1},
        {dir.string(), "not a regular file", 1},
        {"/dev/zero", "not a regular file", 1},
        {big, "larger than 16 MiB", 1},
        {(dir / "none.txt").string(), "not found", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(load_in_child(c.path, c.message), c.status) << c.path;
    fs::remove_all(dir);
}

TEST_F(VirtualClock, AScriptLoadsInTimeOrderKeepingTheOrderOfEqualTimes) {
    // One already there, then a script written out of order.
    at(50, SCRIPT_KEY_DOWN, 'A');
    std::string error;
    ASSERT_TRUE(plat_script_parse("50 keyup 65\n"
                                  "10 move 1 2\n"
                                  "50 keydown 66\n"
                                  "30 keydown 67\n"
                                  "50 keyup 66\n",
                                  &error))
        << error;
    plat_script_set_close_at_end(false);
    std::vector<std::string> seen;
    for (int guard = 0; guard < 20 && plat_tick_count() < 60; ++guard) {
        PlatMessage m;
        if (plat_peek_message(&m, true))
            seen.push_back(std::to_string(m.time) + ":" + std::to_string(m.message) + ":" +
                           std::to_string(m.wparam));
        else
            plat_idle(PLAT_WAIT_FOREVER);
    }
    const std::string move = std::to_string(WM_MOUSEMOVE), down = std::to_string(WM_KEYDOWN),
                      up = std::to_string(WM_KEYUP);
    EXPECT_EQ(seen, (std::vector<std::string>{"10:" + move + ":0", "30:" + down + ":67",
                                              "50:" + down + ":65", "50:" + up + ":65",
                                              "50:" + down + ":66", "50:" + up + ":66"}));
}

TEST(RealClock, TheTickRunsOnItsOwnThread) {
    plat_clock_reset(false);
    static std::atomic<int> ticks{0};
    static std::atomic<bool> other_thread{false};
    static std::thread::id main_id;
    main_id = std::this_thread::get_id();
    ticks = 0;
    plat_tick_start([] {
        if (std::this_thread::get_id() != main_id) other_thread = true;
        ++ticks;
    });
    for (int i = 0; i < 500 && ticks < 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    plat_tick_stop();
    int after_stop = ticks;
    EXPECT_GE(after_stop, 3);
    EXPECT_TRUE(other_thread);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(ticks, after_stop); // stopped means stopped
}

struct FormatCase {
    PlatPixelFormat format;
    uint32_t red, green, blue;
};

TEST(Surfaces, ReportTheChosenPixelFormat) {
    plat_surface_reset();
    EXPECT_EQ(plat_pixel_format(), PLAT_RGB565); // the default
    const FormatCase cases[] = {
        {PLAT_RGB555, 0x7C00, 0x03E0, 0x001F},
        {PLAT_RGB565, 0xF800, 0x07E0, 0x001F},
        {PLAT_BGR565, 0x001F, 0x07E0, 0xF800},
        {PLAT_RGB444, 0x0F00, 0x00F0, 0x000F},
    };
    for (const FormatCase& c : cases) {
        plat_set_pixel_format(c.format);
        uint32_t r, g, b;
        plat_surface_masks(nullptr, &r, &g, &b);
        EXPECT_EQ(r, c.red);
        EXPECT_EQ(g, c.green);
        EXPECT_EQ(b, c.blue);
    }
    plat_surface_reset();
}

// A surface made in one format keeps it when the display's format changes
// later or when its maker says it holds another: its masks and its shot
// follow the surface, not the display.
TEST(Surfaces, EachSurfaceReportsAndIsSavedInItsOwnFormat) {
    plat_surface_reset();
    plat_set_pixel_format(PLAT_RGB565);
    PlatSurface* made565 = plat_surface_create(2, 1, false);
    PlatSurface* told555 = plat_surface_create(2, 1, false);
    plat_surface_set_format(told555, PLAT_RGB555);
    plat_set_pixel_format(PLAT_BGR565);
    uint32_t r = 0, g = 0, b = 0;
    plat_surface_masks(made565, &r, &g, &b);
    EXPECT_EQ(r, 0xF800u);
    plat_surface_masks(told555, &r, &g, &b);
    EXPECT_EQ(r, 0x7C00u);
    EXPECT_EQ(g, 0x03E0u);
    plat_surface_masks(nullptr, &r, &g, &b);
    EXPECT_EQ(r, 0x001Fu); // the display's
    // Pure red and pure green in each surface's own format come out as such.
    made565->pixels[0] = 0xF800, made565->pixels[1] = 0x07E0;
    told555->pixels[0] = 0x7C00, told555->pixels[1] = 0x03E0;
    for (PlatSurface* s : {made565, told555}) {
        ASSERT_TRUE(plat_surface_save_bmp(s, "surface_format.bmp"));
        std::FILE* f = std::fopen("surface_format.bmp", "rb");
        ASSERT_NE(f, nullptr);
        uint8_t bmp[54 + 8] = {};
        EXPECT_EQ(std::fread(bmp, 1, sizeof bmp, f), sizeof bmp);
        std::fclose(f);
        // One row of two pixels, blue, green, red each.
        EXPECT_EQ(bmp[54 + 0], 0);
        EXPECT_EQ(bmp[54 + 1], 0);
        EXPECT_EQ(bmp[54 + 2], 255);
        EXPECT_EQ(bmp[54 + 3], 0);
        EXPECT_EQ(bmp[54 + 4], 255);
        EXPECT_EQ(bmp[54 + 5], 0);
    }
    std::remove("surface_format.bmp");
    plat_surface_reset();
}

TEST(Surfaces, FastCopiesAreCutAtBothSurfacesEdges) {
    plat_surface_reset();
    PlatSurface* back = plat_surface_create(640, 480, false);
    PlatSurface* primary = plat_surface_create(640, 480, true);
    ASSERT_TRUE(back && primary);
    EXPECT_EQ(back->pitch, 1280);
    EXPECT_TRUE(plat_take_primary_changed()); // a new primary surface gets shown
    EXPECT_FALSE(plat_take_primary_changed());
    int32_t pitch = 0;
    uint16_t* px = plat_surface_lock(back, &pitch);
    for (int i = 0; i < 640 * 480; ++i)
        px[i] = static_cast<uint16_t>(i % 640 + 1);
    plat_surface_unlock(back);
    EXPECT_FALSE(plat_take_primary_changed());

    PlatRect r{630, 0, 650, 2}; // runs past the source's right edge
    plat_blt_fast(primary, 635, 478, back, &r);
    EXPECT_TRUE(plat_take_primary_changed());
    EXPECT_EQ(primary->pixels[478 * 640 + 635], 631);
    EXPECT_EQ(primary->pixels[479 * 640 + 639], 635); // cut at the target's corner
    EXPECT_EQ(primary->pixels[477 * 640 + 635], 0);
    EXPECT_EQ(primary->pixels[478 * 640 + 634], 0);

    PlatRect left{0, 0, 10, 1};
    plat_blt_fast(primary, -5, 0, back, &left); // starts left of the target
    EXPECT_EQ(primary->pixels[0], 6);
    EXPECT_EQ(primary->pixels[4], 10);
    EXPECT_EQ(primary->pixels[5], 0);
    plat_surface_release(back);
    plat_surface_release(primary);
    EXPECT_EQ(plat_primary_surface(), nullptr);
}

} // namespace
