#include "shell/stage_end.h"

#include "board/game_state.h"
#include "board/speech.h"
#include "board/turn_steps.h"
#include "engine/film.h"
#include "shell/app.h"
#include "shell/stage_end_layout.h"

uint8_t campaign_maps_cleared[4] = {};

namespace {

constexpr int COMPANION_WALK[2][6] = {{0, 1, 2, 3, 5, 6}, {12, 13, 14, 15, 17, 18}};
constexpr int CONTINUE_LINE = 26;

} // namespace

int stage_mark_cleared(int map) {
    if (map >= 0 && map < 4) campaign_maps_cleared[map] = 1;
    int n = 0;
    for (uint8_t c : campaign_maps_cleared)
        n += c ? 1 : 0;
    return n;
}

int stage_running_frame(int count, int direction, int step) {
    // Frames 5 .. count - 1 hold the two directions' blocks; an even count
    // leaves one frame over, never read.
    const int per_direction = count > 5 ? (count - 5) / 2 : 0;
    if (per_direction <= 0) return 0;
    return 5 + direction * per_direction + step % per_direction;
}

int stage_companion_frame(int direction, int step) {
    return COMPANION_WALK[direction ? 1 : 0][step % 6];
}

int stage_chooser_row(int x, int y) {
    if (x < STAGE_CHOOSER_LEFT || x > STAGE_CHOOSER_RIGHT) return -1;
    if (y <= STAGE_CHOOSER_TOP || y >= STAGE_CHOOSER_TOP + STAGE_CHOOSER_ROW_H * STAGE_CHOOSER_ROWS)
        return -1;
    return (y - STAGE_CHOOSER_TOP) / STAGE_CHOOSER_ROW_H;
}

void stage_won() {
    if (stage_mark_cleared(game_map) == 4) {
        avi_play("END.AVI", &screen_rect, 0);
        avi_play("OVER.AVI", &screen_rect, 0);
        app_quit = 1;
        return;
    }
    stage_won_screen();
}

uint8_t stage_offer_continue(int over_board) {
    if (!stage_countdown_screen(over_board)) return END_TO_TITLE;
    const int p = game_active_mover;
    speech_bubble(
        p | SPEECH_NO_SCROLL, 3,
        speech_line(player_table[static_cast<size_t>(p) % PLAYER_COUNT].character, CONTINUE_LINE));
    if (over_board == 0) stage_cheer_over_board();
    // The opponents may be chosen again in the next setup (seats past the
    // game's count hold no one).
    for (int s = 1; s < game_player_count && s < PLAYER_COUNT; ++s) {
        const int c = player_table[static_cast<size_t>(s)].character;
        if (c >= 0 && c < CHARACTER_COUNT && c != player_table[0].character)
            character_state[static_cast<size_t>(c)] = 0;
    }
    player_table[0].control = CTRL_HUMAN;
    return END_LOAD_GAME;
}

StampOrigin stage_stamp_origin(int target_w, int target_h, int w, int h, int x, int y) {
    auto inside = [](int at, int size, int room) {
        if (at > room - size) at = room - size;
        return at < 0 ? 0 : at;
    };
    return {inside(x, w, target_w), inside(y, h, target_h)};
}

TURN_STEP(TURN_STEP_CONTINUE_OFFER,
          [](int over_board) { game_end_code = stage_offer_continue(over_board); })
