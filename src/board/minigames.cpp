#include "board/minigames.h"

#include <cstdio>

#include "board/game_state.h"
#include "board/map.h"
#include "board/minigame_common.h"
#include "board/money.h"
#include "board/speech.h"
#include "board/square_kinds.h"
#include "engine/message.h"
#include "engine/music.h"
#include "engine/options.h"
#include "engine/random.h"

int32_t minigame_points = 0;

namespace {

bool open_no_window(MinigameKind, int) {
    return false;
}
void no_window(MinigameKind) {}

} // namespace

constinit PresenterSlot<MinigamePresenter> minigame_presenter{MinigamePresenter{
    .open = open_no_window,
    .run = no_window,
    .close = no_window,
}};

namespace {

constexpr uint32_t SCORE_MESSAGE_MS = 2000;

int current_player() {
    return game_active_mover >= 0 && game_active_mover < PLAYER_COUNT ? game_active_mover : -1;
}

// The game's window with its pictures and sounds, over its event tune.
int play(MinigameKind kind, int tune) {
    const int p = current_player();
    if (p < 0) return minigame_points = 0;
    if (!minigame_played_by_hand(p)) return minigame_fallback_score(p);
    minigame_points = 0;
    if (!minigame_presenter().open(kind, p)) return 0;
    music_play_event(tune);
    minigame_presenter().run(kind);
    music_resume();
    minigame_presenter().close(kind);
    return minigame_points;
}

} // namespace

bool minigame_played_by_hand(int player) {
    return player >= 0 && player < PLAYER_COUNT && player_table[player].control == CTRL_HUMAN &&
           settings_animations() != 0;
}

int minigame_fallback_score(int player) {
    const int score = game_rand() % 20 + 50;
    char text[32];
    std::snprintf(text, sizeof text, "得点卷%d点", score);
    msg_show(text, SCORE_MESSAGE_MS);
    const int character = player >= 0 && player < PLAYER_COUNT ? player_table[player].character : 0;
    speech_bubble(player, 0, speech_line(character, game_rand() & 1));
    minigame_points = score;
    return score;
}

int minigame_play_grid() {
    return play(MINIGAME_GRID, MINIGAME_TUNE_GRID);
}
int minigame_play_targets() {
    return play(MINIGAME_TARGETS, MINIGAME_TUNE_TARGETS);
}
int minigame_play_steer() {
    return play(MINIGAME_STEER, MINIGAME_TUNE_STEER);
}

int32_t minigame_double(int32_t score) {
    if (score > INT32_MAX / 2) return INT32_MAX;
    if (score < INT32_MIN / 2) return INT32_MIN;
    return score * 2;
}

void minigame_panel_digits(int32_t value, int digits[3]) {
    if (value < 0) value = 0;
    if (value > MG_PANEL_MAX) value = MG_PANEL_MAX;
    digits[0] = value / 100;
    digits[1] = value / 10 % 10;
    digits[2] = value % 10;
}

int minigame_score_digits(int32_t score, int digits[10]) {
    uint32_t v = score < 0 ? 0u : static_cast<uint32_t>(score);
    int reversed[10];
    int n = 0;
    do {
        reversed[n++] = static_cast<int>(v % 10);
        v /= 10;
    } while (v != 0 && n < 10);
    for (int i = 0; i < n; ++i)
        digits[i] = reversed[n - 1 - i];
    return n;
}

void minigame_final_digit_x(int n, int digit_width, int xs[10]) {
    constexpr int MARGIN = 8, SCREEN = 640;
    if (n <= 0) return;
    int dx = MG_FINAL_DX;
    if ((n - 1) * dx + digit_width > SCREEN - 2 * MARGIN)
        dx = n > 1 ? (SCREEN - 2 * MARGIN - digit_width) / (n - 1) : dx;
    const int width = (n - 1) * dx + digit_width;
    int left = MG_FINAL_CENTRE_X - width / 2;
    if (left < MARGIN) left = MARGIN;
    if (left + width > SCREEN - MARGIN) left = SCREEN - MARGIN - width;
    for (int i = 0; i < n; ++i)
        xs[i] = left + i * dx;
}

namespace {
uint8_t land_minigame_grid(int cur, int, int) {
    player_add_points(cur, minigame_play_grid());
    return LAND_WAIT_OTHER;
}
uint8_t land_minigame_targets(int cur, int, int) {
    player_add_points(cur, minigame_play_targets());
    return LAND_WAIT_OTHER;
}
uint8_t land_minigame_steer(int cur, int, int) {
    player_add_points(cur, minigame_play_steer());
    return LAND_WAIT_OTHER;
}
} // namespace
SQUARE_KIND(SQ_MINIGAME_GRID, land_minigame_grid, SQUARE_SOUND_VISIT)
SQUARE_KIND(SQ_MINIGAME_TARGETS, land_minigame_targets, SQUARE_SOUND_VISIT)
SQUARE_KIND(SQ_MINIGAME_STEER, land_minigame_steer, SQUARE_SOUND_VISIT)
