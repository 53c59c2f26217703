#include "board/speech.h"

#include <cstring>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/map.h"
#include "data/speech_lines.h"
#include "engine/message_draw.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "engine/sound.h"

const char* speech_last_text = nullptr;

namespace {

constexpr int BUBBLE_FRAME = 6; // of the board's panel set
constexpr int BUBBLE_X = 220, BUBBLE_Y = 130;
constexpr int FACE_X = 170, FACE_Y = 130;
constexpr int PICTURE_X = 240, PICTURE_Y = 130;
constexpr int TEXT_X = 200, TEXT_Y = 130;
constexpr uint32_t BUBBLE_MIN_MS = 1000;

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool valid_player(int p) {
    return p >= 0 && p < PLAYER_COUNT;
}

int64_t scaled(int32_t amount) {
    return price_scaled(amount);
}

// Shows row of the player's character with an expression.
void say(int player, int expression, int row) {
    if (!valid_player(player)) return;
    speech_bubble(player, expression, speech_line(player_table[player].character, row));
}

// Row first, or one of first and first + 1 by a random bit.
int row_or_next(int first) {
    return first + (game_rand() & 1);
}

} // namespace

int speech_voice_marker(const char* text, const char** rest) {
    if (rest) *rest = text;
    if (!text || text[0] != '#') return -1;
    for (int i = 1; i <= 4; ++i)
        if (!is_digit(text[i])) return -1; // also stops at the end of a short text
    if (rest) *rest = text + 5;
    return (text[1] - '0') * 1000 + (text[2] - '0') * 100 + (text[3] - '0') * 10 + (text[4] - '0');
}

const char* speech_line(int character, int row) {
    if (character < 0 || character >= SPEECH_CHARACTERS || row < 0 || row >= SPEECH_ROWS)
        return nullptr;
    return speech_lines[character][row];
}

void speech_say_line(int p, int row) {
    speech_bubble(p, 2, speech_line(player_table[p].character, row));
}

void speech_bubble(int player, int expression, const char* text) {
    shown_record(Shown::Speech, player & ~SPEECH_NO_SCROLL, 0, text);
    if (text == speech_last_text) return;
    speech_last_text = text;
    const int p = player & ~SPEECH_NO_SCROLL;
    if (!valid_player(p) || !text) return;
    const PlayerRecord& r = player_table[p];
    if (r.away_days || r.hibernation_days || r.sleepwalk_days) return;
    if (!popup_lock_back()) return; // no display
    popup_unlock_back();
    if (!(player & SPEECH_NO_SCROLL)) board_view_refresh(r.x, r.y, 0);

    popup_font(16, 0x101010, 0, 2, 1);
    const PlatRect area{SPEECH_AREA_LEFT, SPEECH_AREA_TOP, SPEECH_AREA_RIGHT, SPEECH_AREA_BOTTOM};
    ImageRecord* saved = popup_save_area(area);
    ImageRecord* back = popup_lock_back();
    popup_blit(back, popup_frame(board_panel_set, BUBBLE_FRAME), BUBBLE_X, BUBBLE_Y, true);
    const ActorAnim& anim = actor_anim_table[p];
    popup_blit(back, popup_frame(anim.portrait, expression + 1), FACE_X, FACE_Y, true);
    const char* rest = text;
    const int voice = speech_voice_marker(text, &rest);
    if (rest[0] == '@' && is_digit(rest[1]) && is_digit(rest[2])) {
        // A picture instead of words; "@00" names none.
        const int n = (rest[1] - '0') * 10 + (rest[2] - '0');
        popup_blit(back, popup_frame(board_picture_set, n - 1), PICTURE_X, PICTURE_Y, true);
        if (voice >= 0) snd_voice_play(voice);
    } else {
        popup_text(nullptr, text, TEXT_X, TEXT_Y, 5);
    }
    popup_unlock_back();
    popup_update(area);
    snd_voice_wait(BUBBLE_MIN_MS);
    popup_restore_area(saved, SPEECH_AREA_LEFT, SPEECH_AREA_TOP);
}

void speech_react_percent(int player, int32_t value) {
    if (value > 100)
        say(player, 0, 0);
    else if (value > 50)
        say(player, 0, row_or_next(0));
    else if (value != 0)
        say(player, 0, 2);
}

void speech_react_count(int player, int32_t count) {
    if (count >= 7)
        say(player, 2, 3);
    else if (count >= 4)
        say(player, 2, row_or_next(3));
    else if (count != 0)
        say(player, 2, 5);
}

void speech_react_gain(int player, int32_t amount) {
    const int64_t a = amount;
    if (a >= scaled(9000))
        say(player, 3, 6);
    else if (a >= scaled(5000))
        say(player, 3, row_or_next(6));
    else if (a >= scaled(2000))
        say(player, 3, 8);
}

void speech_react_pay(int player, int32_t amount) {
    const int64_t a = amount;
    if (a >= scaled(9000))
        say(player, 2, 9);
    else if (a >= scaled(5000))
        say(player, 2, row_or_next(9));
    else if (a > 0)
        say(player, 2, 11);
}

void speech_react_spared(int player, int32_t amount) {
    const int64_t a = amount;
    if (a >= scaled(9000))
        say(player, 3, 12);
    else if (a >= scaled(5000))
        say(player, 3, row_or_next(12));
    else if (a > 0)
        say(player, 3, 14);
}

int speech_react_rival_pays(int player, int payee, int32_t amount) {
    if (!valid_player(player) || payee != player_most_hated(player)) return 0;
    if (int64_t{amount} < scaled(5000) || (game_rand() & 1) != 1) return 0;
    say(player, 1, 18);
    return 1;
}

void speech_react_lot_group(const char* group_name, int chance) {
    const int p = game_active_mover;
    if (!group_name || !valid_player(p) || !map_lot_table) return;
    int owned = 0;
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& lot = map_lot_table[i];
        if (lot.owner == p + 1 && std::strncmp(lot.street, group_name, sizeof lot.street) == 0)
            ++owned;
    }
    if (owned < 3) return;
    if (chance == 0)
        say(p, 0, 16);
    else if (game_rand() % 3 == 0)
        say(p, 0, 17);
}
