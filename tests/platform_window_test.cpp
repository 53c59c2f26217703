// The main window on a display: SDL's offscreen driver renders in memory as
// a display would; what a window manager sees needs an X server (Xvfb). The
// graphics libraries keep allocations past exit, so the checks run in a
// child (this program again) with leak checking off.
#include <SDL.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/stop_signal.h"
#include "platform/window.h"

namespace {

bool in_child() {
    const char* child = std::getenv("KARVO_WINDOW_TEST_CHILD");
    return child && *child == '1';
}

// Runs this test again in a child, started by launch (a command line that
// ends with the program's environment); its output on failure.
void run_in_child(const char* test_name, const std::string& launch) {
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    const std::string cmd =
        launch + " KARVO_WINDOW_TEST_CHILD=1 KARVO_HEADLESS=0 ASAN_OPTIONS=detect_leaks=0 '" +
        self + "' --gtest_filter=PlatformWindow." + test_name + " 2>&1";
    FILE* f = popen(cmd.c_str(), "r");
    ASSERT_NE(f, nullptr);
    std::string out;
    char buf[1024];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, got);
    const int status = pclose(f);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
    EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
}

// SDL's offscreen driver: a display in memory.
std::string offscreen(bool windowed) {
    return std::string("env SDL_VIDEODRIVER=offscreen SDL_RENDER_DRIVER=software KARVO_WINDOWED=") +
           (windowed ? "1" : "0");
}

// An X server of the child's own, with the renderer the program picks there.
bool have_xvfb() {
    return std::system("command -v xvfb-run >/dev/null 2>&1") == 0;
}
const char* const UNDER_XVFB = "xvfb-run -a -s '-screen 0 1024x768x24' env SDL_VIDEODRIVER=x11 "
                               "KARVO_WINDOWED=1";

int32_t no_proc(PlatWindow, uint32_t, uint32_t, int32_t) {
    return 0;
}

TEST(PlatformWindow, ASmallerWindowNeverCutsThePicture) {
    if (!in_child()) return run_in_child("ASmallerWindowNeverCutsThePicture", offscreen(true));
    ASSERT_TRUE(plat_init());
    ASSERT_FALSE(plat_headless());
    ASSERT_NE(plat_create_window("Karvo", no_proc), nullptr);
    plat_show_window();
    ASSERT_TRUE(plat_display_open());
    ASSERT_TRUE(plat_display_set_mode(640, 480, 16));
    // Dragged smaller than the picture, in one direction or both.
    const int sizes[][2] = {{320, 240}, {639, 480}, {640, 200}, {100, 900}, {1280, 960}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size[0]) + " x " + std::to_string(size[1]));
        plat_window_test_resize(size[0], size[1]);
        int w = 0, h = 0;
        PlatRect picture{};
        ASSERT_TRUE(plat_window_picture_geometry(&w, &h, &picture));
        EXPECT_GE(w, 640);
        EXPECT_GE(h, 480);
        // The whole picture lies in the window, at its proportions.
        EXPECT_GE(picture.left, 0);
        EXPECT_GE(picture.top, 0);
        EXPECT_LE(picture.right, w);
        EXPECT_LE(picture.bottom, h);
        const int pw = picture.right - picture.left, ph = picture.bottom - picture.top;
        EXPECT_NEAR(pw * 3, ph * 4, 8) << pw << " x " << ph;
        EXPECT_GE(pw, 640); // never smaller than the game draws it
    }
    plat_shutdown();
}

// At start-up the sound's warning comes before the window is shown: centred
// on the screen then, since the hidden window has no place there yet.
TEST(PlatformWindow, AMessageBoxIsCentredOnTheScreenUntilTheWindowIsShown) {
    ASSERT_TRUE(plat_init());
    EXPECT_TRUE(plat_message_box_centred_on_screen());
    ASSERT_NE(plat_create_window("Karvo", no_proc), nullptr);
    EXPECT_TRUE(plat_message_box_centred_on_screen());
    plat_show_window();
    EXPECT_FALSE(plat_message_box_centred_on_screen());
    plat_shutdown();
}

// Under a window manager SDL drops the click that gives the window the
// focus back unless told to let it through.
TEST(PlatformWindow, TheClickThatFocusesTheWindowIsLetThrough) {
    ASSERT_TRUE(plat_init());
    EXPECT_TRUE(SDL_GetHintBoolean(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, SDL_FALSE));
    plat_shutdown();
}

// What a window manager is told of the window's size: the X property, as
// xprop prints it.
std::string size_hints() {
    std::string out;
    if (FILE* f = popen("xprop -name Karvo WM_NORMAL_HINTS 2>&1", "r")) {
        char buf[512];
        size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, got);
        pclose(f);
    }
    return out;
}

// Under a window manager the window can be dragged only as small as the X
// window's size hint allows: the hint is there once the display is open.
TEST(PlatformWindow, AWindowManagerIsToldTheSmallestSize) {
    if (!in_child()) {
        if (!have_xvfb() || std::system("command -v xprop >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "no xvfb-run or xprop";
        return run_in_child("AWindowManagerIsToldTheSmallestSize", UNDER_XVFB);
    }
    ASSERT_TRUE(plat_init());
    ASSERT_TRUE(plat_windowed());
    ASSERT_NE(plat_create_window("Karvo", no_proc), nullptr);
    plat_show_window();
    ASSERT_TRUE(plat_display_open());
    ASSERT_TRUE(plat_display_set_mode(640, 480, 16));
    plat_window_pump();
    const std::string hints = size_hints();
    EXPECT_NE(hints.find("minimum size: 640 by 480"), std::string::npos) << hints;
    plat_shutdown();
}

// The no-sound-card warning is a box with a loop of its own (SDL shows it
// from a forked copy of the program); SIGTERM still ends the program while
// it is up, and the box goes with it. It needs an X server: the test runs
// itself again under xvfb-run.
TEST(PlatformWindow, AStopSignalEndsTheProgramAndItsBoxWhileTheBoxIsUp) {
    if (!in_child()) {
        if (!have_xvfb()) GTEST_SKIP() << "no xvfb-run";
        return run_in_child("AStopSignalEndsTheProgramAndItsBoxWhileTheBoxIsUp", UNDER_XVFB);
    }
    const pid_t program = fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        setpgid(0, 0); // a group of its own, which the box's copy shares
        if (!plat_init()) _exit(2);
        plat_message_box("no sound card", "WARNING", MB_ICONERROR);
        // Back from the box: the signal did not end the program, or the
        // display could show no box at all.
        _exit(plat_stop_signal() ? 3 : 4);
    }
    setpgid(program, program);
    // Let the box come up (a signal before it ends the program as well).
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    kill(program, SIGTERM);
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 100 && done == 0; ++i) {
        done = waitpid(program, &status, WNOHANG);
        if (done == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // Whatever is left of the group after the program: the box's copy.
    bool box_left = true;
    for (int i = 0; i < 40 && box_left; ++i) {
        box_left = kill(-program, 0) == 0;
        if (box_left) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(-program, SIGKILL);
    if (done == 0) waitpid(program, &status, 0);
    ASSERT_NE(done, 0) << "SIGTERM left the program in its box";
    ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 4) << "this display shows no box";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_FALSE(box_left) << "the box stayed on the screen after the program";
}

} // namespace
