// The news and fate panel on a display: the panel over the board area, the
// event's picture and a face on it, the strip restored from it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "board/game_state.h"
#include "board/world_reset.h"
#include "cards/news.h"
#include "cards/news_screen.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "platform/surface.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0842;

class NewsScreenTest : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        game_player_count = 2;
        player_table[0].control = CTRL_COMPUTER;
        player_table[0].character = 3;
        const int slot = mkf_open("MAP.MKF");
        ASSERT_GE(slot, 0);
        portrait_ = mkf_read(slot, 15 + 3, nullptr, nullptr);
        mkf_close(slot);
        ASSERT_NE(portrait_, nullptr);
        actor_anim_table[0].portrait = static_cast<FrameSet*>(portrait_);
        paint_screen(BACKGROUND);
    }
    void TearDown() override {
        event_panel_close();
        actor_anim_table[0].portrait = nullptr;
        spr_unlink(portrait_);
        std::free(portrait_);
        PopupTest::TearDown();
    }
    void* portrait_ = nullptr;
};

TEST_F(NewsScreenTest, ThePanelCoversTheBoardAreaWithThePictureAndTheFace) {
    event_panel_open(EVENT_PANEL_NEWS);
    ASSERT_NE(event_panel_image(), nullptr);
    event_panel_picture(NEWS_PICTURE_BASE + 8);
    event_panel_font(EVENT_FONT);
    event_panel_text(news_category_names[1], EVENT_TEXT_X, 8);
    event_panel_text("#0157公开表扬第一大地主\n小明获得10000元奖励", EVENT_TEXT_X, 310);
    event_panel_face(0, 4, EVENT_FACE_X, 328);
    event_panel_show();
    save_screen_bmp("news_panel");

    // The picture's pixels in its place, as stored (converted on reading).
    uint32_t size = 0;
    auto* picture =
        static_cast<uint16_t*>(mkf_read(data_archive, NEWS_PICTURE_BASE + 8, nullptr, &size));
    ASSERT_NE(picture, nullptr);
    ASSERT_GE(size, 2u * EVENT_PICTURE_W * EVENT_PICTURE_H);
    constexpr int RIGHT = EVENT_PICTURE_W - 1, BOTTOM = EVENT_PICTURE_H - 1;
    for (const auto& [x, y] :
         {std::pair{0, 0}, std::pair{RIGHT, 0}, std::pair{EVENT_PICTURE_W / 2, EVENT_PICTURE_H / 2},
          std::pair{0, BOTTOM}, std::pair{RIGHT, BOTTOM}})
        EXPECT_EQ(screen_at(EVENT_PICTURE_X + x, EVENT_PICTURE_Y + y),
                  picture[y * EVENT_PICTURE_W + x])
            << x << "," << y;
    std::free(picture);

    // The face: frame 4 of the portrait set with its hot spot where it was drawn.
    const ImageRecord* face = spr_frame(portrait_, 4);
    ASSERT_NE(face, nullptr);
    int matched = 0, lit = 0;
    for (int y = 0; y < face->height; ++y)
        for (int x = 0; x < face->width; ++x) {
            const uint16_t px = face->pixels[y * face->width + x];
            if (px == 0) continue;
            ++lit;
            matched += screen_at(EVENT_FACE_X - face->hot_x + x, 328 - face->hot_y + y) == px;
        }
    EXPECT_GT(lit, 100);
    EXPECT_EQ(matched, lit);

    // The panel fills its rectangle and nothing beyond.
    const PlatRect& p = EVENT_PANEL_RECT;
    EXPECT_EQ(screen_differs(p.left, p.top, p.right, p.bottom, BACKGROUND),
              EVENT_PANEL_W * EVENT_PANEL_H);
    EXPECT_EQ(screen_differs(p.right, 0, SCREEN_W, SCREEN_H, BACKGROUND), 0);
    // Closing gives the board area and the toolbar back to the board.
    shown_clear();
    event_panel_close();
    EXPECT_EQ(shown_count(Shown::BoardRefresh, 3), 1u);
    event_panel_close();
    EXPECT_EQ(shown_count(Shown::BoardRefresh), 1u);
}

TEST_F(NewsScreenTest, TheStripLineIsShownAndThenRestoredFromTheFatePanel) {
    event_panel_open(EVENT_PANEL_FATE);
    event_panel_show();
    const PlatRect& r = EVENT_STRIP_RECT;
    uint16_t strip[EVENT_STRIP_H][EVENT_PANEL_W];
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            strip[y - r.top][x - r.left] = screen_at(x, y);
    event_panel_strip_text("向小明收一张卡片");
    int changed = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            changed += screen_at(x, y) != strip[y - r.top][x - r.left];
    EXPECT_GT(changed, 50);
    event_panel_restore_strip();
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            ASSERT_EQ(screen_at(x, y), strip[y - r.top][x - r.left]) << x << "," << y;
}

TEST_F(NewsScreenTest, AMissingPictureLeavesThePanelAsItIs) {
    event_panel_open(EVENT_PANEL_NEWS);
    const ImageRecord* panel = event_panel_image();
    ASSERT_NE(panel, nullptr);
    const uint16_t before = panel->pixels[EVENT_PICTURE_Y * panel->width + EVENT_PICTURE_X + 10];
    event_panel_picture(9999); // no such entry
    EXPECT_EQ(panel->pixels[EVENT_PICTURE_Y * panel->width + EVENT_PICTURE_X + 10], before);
}

// The rules draw an event only through the presenter, which the panel's
// window fills with its own functions.
TEST(NewsPresenterRows, AreThePanelsOwnFunctions) {
    ASSERT_TRUE(news_presenter.installed());
    const NewsPresenter& rows = news_presenter();
    const struct {
        const char* name;
        bool window_row;
    } cases[] = {
        {"open", rows.open == event_panel_open},
        {"picture", rows.picture == event_panel_picture},
        {"font", rows.font == event_panel_font},
        {"text", rows.text == event_panel_text},
        {"face", rows.face == event_panel_face},
        {"show", rows.show == event_panel_show},
        {"strip_text", rows.strip_text == event_panel_strip_text},
        {"restore_strip", rows.restore_strip == event_panel_restore_strip},
        {"close", rows.close == event_panel_close},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(c.window_row) << c.name;
}

} // namespace
