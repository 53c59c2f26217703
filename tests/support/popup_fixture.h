// A display for the pop-up tests: the headless window with a back and a
// primary surface, the stand-in data.mkf open, the text engine and the
// board's panel pictures loaded.
#pragma once

#include <cstdint>
#include <string>

#include "support/headless.h"

class PopupTest : public HeadlessTest {
  protected:
    void SetUp() override;
    void TearDown() override;

  public:
    // Pixels of the back buffer and the display at (x, y).
    static uint16_t back_at(int x, int y);
    static uint16_t screen_at(int x, int y);
    // Fills the back buffer and the display with one pixel value.
    static void paint_screen(uint16_t pixel);
    // How many display pixels of the rectangle differ from pixel.
    static int screen_differs(int left, int top, int right, int bottom, uint16_t pixel);
    // Writes the display as a 24-bit BMP named name.bmp in the test's directory.
    static std::string save_screen_bmp(const std::string& name);
    // Writes the display as name.bmp into KARVO_SHOT_DIR when that is set, for
    // looking at a window; returns the path written, "" when none was.
    static std::string save_shot(const std::string& name);
    // A new game on stand-in map 1: the human on square 1 and a computer on
    // square 4, their sprites loaded; false when the map does not load.
    static bool set_up_two_players();
};
