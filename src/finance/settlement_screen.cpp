#include "finance/settlement_screen.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "engine/balloon.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/flc.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/modal.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/util.h"
#include "finance/assets.h"

namespace {

constexpr int FACE_FRAME = 1; // the pleased face of a portrait set
constexpr int AWARD_PAUSE_TICKS = 30;
constexpr int BETWEEN_AWARDS_TICKS = 11;
constexpr int CLOSING_TICKS = 10;
constexpr uint32_t INK = 0xF8F0D0, SHADOW = 0x101010, RED = 0xF03020, GOLD = 0xF8D048;

constexpr const char* TEXT_GREETING = "#0092各位客户辛苦了！\n又到了每月银行\n结算的日子。";
constexpr const char* TEXT_BONUS = "#0093卡尔沃银行将\n根据您的存款，\n加发１０％的储金利息。";
constexpr const char* TEXT_UNLUCKY = "#0095本月悲情人物是　　。";
constexpr const char* TEXT_CHEER_UP = "#0108别灰心，再加油喔！";
constexpr const char* TEXT_CHAMPION = "#0109本月冠军是　　。";
constexpr const char* TEXT_TRY_HARDER = "#0122其他人还要\n更努力喔！";

enum class StepKind { Balloon, Pause, Bonus, Picks, Reasons, Flc, HideAward, Close };

struct Step {
    StepKind kind;
    std::string text; // a balloon's words
    int value = 0;    // ticks, the FLC entry, or the award (0 unluckiest, 1 champion)
};

struct SettleScreen {
    SettleList list;
    SettlePicks picks;
    std::vector<Step> steps;
    size_t at = 0;
    int ticks = 0;        // of the running pause
    bool started = false; // the current step has begun
    bool clicked = false; // a click hurries the current step
    bool display = false; // drawn on a screen, or run at once
    bool bonus_paid = false;
    void* set = nullptr;
    ImageRecord* under_award = nullptr;
    EffectListEntry effects[SETTLE_EFFECT_COUNT + 1]{};
} ss;

// ---------------------------------------------------------------------------
// Drawing (display only)

void money_text(char* out, size_t size, const char* label, int64_t amount) {
    char digits[UTIL_THOUSANDS_BUF];
    util_format_thousands(digits, util_clamp32(amount));
    std::snprintf(out, size, "%s$%s", label, digits);
}

void draw_face(ImageRecord* back, int seat, int x, int y) {
    const void* portrait = actor_anim_table[seat].portrait;
    if (const ImageRecord* face = popup_frame(portrait, FACE_FRAME))
        popup_blit(back, face, x, y, true);
}

// One listed player's row: the face and the figures in the left column
// before the bonus, in the right column after it.
void draw_row(ImageRecord* back, int i) {
    const int seat = ss.list.seats[i];
    const PlayerRecord& r = player_table[seat];
    const int top = SETTLE_ROW_Y + SETTLE_ROW_H * i;
    const int face_x = ss.bonus_paid ? SETTLE_RIGHT_FACE_X : SETTLE_LEFT_FACE_X;
    draw_face(back, seat, face_x, top + SETTLE_FACE_DY);
    char text[64];
    popup_font(20, INK, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    money_text(text, sizeof text, "存款：", r.deposit);
    popup_text(back, text, face_x + 44, top + 12, ALIGN_LEFT_TOP);
    popup_text(back, "利息：", face_x + 44, top + 44, ALIGN_LEFT_TOP);
    if (r.loan != 0) {
        popup_font(20, RED, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
        popup_text(back, "贷款中", face_x + 104, top + 44, ALIGN_LEFT_TOP);
    } else {
        char digits[UTIL_THOUSANDS_BUF];
        util_format_thousands(digits, util_clamp32(settle_interest(seat)));
        std::snprintf(text, sizeof text, "$%s", digits);
        popup_text(back, text, face_x + 104, top + 44, ALIGN_LEFT_TOP);
    }
}

void settle_draw_panel() {
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    if (const ImageRecord* bg = popup_frame(ss.set, SETTLE_F_BACKGROUND))
        popup_blit(back, bg, 0, 0, false);
    for (int i = 0; i < ss.list.count; ++i)
        draw_row(back, i);
    popup_unlock_back();
    popup_update(screen_rect);
}

void draw_reasons(int award) {
    const int index = award == 0 ? ss.picks.unluckiest : ss.picks.champion;
    const int seat = ss.list.seats[index];
    const PlayerRecord& r = player_table[seat];
    char lines[4][64];
    if (award == 0) {
        money_text(lines[0], sizeof lines[0], "本月意外损失：", r.paid_month);
        money_text(lines[1], sizeof lines[1], "本月意外之财：", r.received_month);
        std::snprintf(lines[2], sizeof lines[2], "本月倒楣天数：%d天", r.days_lost_month);
    } else {
        money_text(lines[0], sizeof lines[0], "现金：", r.cash);
        money_text(lines[1], sizeof lines[1], "存款：", r.deposit);
        money_text(lines[2], sizeof lines[2], "总资产：", asset_net_worth(seat));
    }
    std::string all = "获奖原因：";
    for (int k = 0; k < 3; ++k)
        all += std::string("\n") + lines[k];
    shown_record(Shown::Panel, SETTLE_PANEL_ENTRY, 0, all.c_str());
    if (!ss.display) return;
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    const PlatRect box{SETTLE_AWARD_X, SETTLE_AWARD_Y, SETTLE_AWARD_X + SETTLE_AWARD_W,
                       SETTLE_AWARD_Y + SETTLE_AWARD_H};
    popup_unlock_back();
    if (!ss.under_award) ss.under_award = popup_save_area(box);
    back = popup_lock_back();
    if (const ImageRecord* board = popup_frame(ss.set, SETTLE_F_AWARD))
        popup_blit(back, board, SETTLE_AWARD_X, SETTLE_AWARD_Y, true);
    const int x = SETTLE_AWARD_X + 250, y = SETTLE_AWARD_Y + 60;
    popup_font(20, GOLD, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    popup_text(back, "获奖原因：", x, y, ALIGN_LEFT_TOP);
    popup_font(16, INK, SHADOW, TEXT_SHADOW | TEXT_BOLD, 1);
    for (int k = 0; k < 3; ++k)
        popup_text(back, lines[k], x, y + 40 + 32 * k, ALIGN_LEFT_TOP);
    popup_unlock_back();
    popup_update(box);
}

void hide_award() {
    if (!ss.under_award) return;
    popup_restore_area(ss.under_award, SETTLE_AWARD_X, SETTLE_AWARD_Y);
    ss.under_award = nullptr;
    popup_update(PlatRect{SETTLE_AWARD_X, SETTLE_AWARD_Y, SETTLE_AWARD_X + SETTLE_AWARD_W,
                          SETTLE_AWARD_Y + SETTLE_AWARD_H});
}

// ---------------------------------------------------------------------------
// The steps

void push(StepKind kind, const char* text = "", int value = 0) {
    ss.steps.push_back(Step{kind, text, value});
}

void push_name_line(int first_voice, int seat) {
    char line[64];
    settle_name_line(first_voice, player_table[seat].character, line, sizeof line);
    push(StepKind::Balloon, line);
}

// After the bonus: the awards the picks call for, then the end.
void plan_awards() {
    ss.picks.unluckiest = settle_pick_unluckiest();
    ss.picks.champion = settle_pick_champion();
    if (settings_animations() == 0) {
        push(StepKind::Pause, "", AWARD_PAUSE_TICKS);
        push(StepKind::Close);
        return;
    }
    const int u = ss.picks.unluckiest, c = ss.picks.champion;
    push(StepKind::Pause, "", AWARD_PAUSE_TICKS);
    if (u >= 0 && u != c) {
        const int seat = ss.list.seats[u];
        push(StepKind::Balloon, TEXT_UNLUCKY);
        push_name_line(SETTLE_UNLUCKY_VOICE, seat);
        push(StepKind::Reasons, "", 0);
        push(StepKind::Flc, "", settle_droop_flc(player_table[seat].character));
        push(StepKind::Balloon, TEXT_CHEER_UP);
        push(StepKind::HideAward);
        push(StepKind::Pause, "", BETWEEN_AWARDS_TICKS);
    }
    const int seat = ss.list.seats[c];
    push(StepKind::Balloon, TEXT_CHAMPION);
    push_name_line(SETTLE_CHAMPION_VOICE, seat);
    push(StepKind::Reasons, "", 1);
    push(StepKind::Flc, "", settle_cheer_flc(player_table[seat].character));
    push(StepKind::Balloon, TEXT_TRY_HARDER);
    push(StepKind::HideAward);
    push(StepKind::Pause, "", CLOSING_TICKS);
    push(StepKind::Close);
}

void plan_start() {
    ss.steps.clear();
    ss.steps.reserve(32);
    ss.at = 0;
    if (settings_animations() != 0) {
        push(StepKind::Balloon, TEXT_GREETING);
        push(StepKind::Balloon, TEXT_BONUS);
    }
    push(StepKind::Bonus);
    push(StepKind::Picks);
}

void next_step() {
    ++ss.at;
    ss.started = false;
    ss.clicked = false;
    ss.ticks = 0;
}

// Runs the current step as far as it goes this tick; true when it is done.
bool run_step(Step& s) {
    switch (s.kind) {
    case StepKind::Balloon:
        if (!ss.started) {
            balloon_show(s.text.c_str());
            ss.started = true;
            return !ss.display;
        }
        return balloon_hide(ss.clicked ? BALLOON_HIDE_NOW : 0) == 1;
    case StepKind::Pause:
        if (!ss.display || ss.clicked) return true;
        return ++ss.ticks >= s.value;
    case StepKind::Bonus:
        settle_pay_bonus();
        ss.bonus_paid = true;
        if (ss.display) settle_draw_panel();
        return true;
    case StepKind::Picks:
        plan_awards();
        return true;
    case StepKind::Reasons:
        draw_reasons(s.value);
        return true;
    case StepKind::Flc:
        if (ss.display) screen_timer_stop();
        flc_play_entry(s.value, SETTLE_FLC_X, SETTLE_FLC_Y, FLC_SKIPPABLE, -1);
        if (ss.display) screen_timer_start(SETTLE_TICK_MS);
        return true;
    case StepKind::HideAward:
        hide_award();
        return true;
    case StepKind::Close:
        return true;
    }
    return true;
}

// One tick: the steps that finish at once run on in the same tick.
bool advance() {
    while (ss.at < ss.steps.size()) {
        Step& s = ss.steps[ss.at];
        if (s.kind == StepKind::Close) return true;
        if (!run_step(ss.steps[ss.at])) return false;
        next_step();
    }
    return true;
}

int32_t settle_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        settle_draw_panel();
        screen_timer_start(SETTLE_TICK_MS);
        return 0;
    case WM_TIMER:
        if (!screen_timer_is_mine(wparam)) return 0;
        if (advance()) {
            screen_timer_stop();
            screen_close(0);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        ss.clicked = true;
        return 0;
    default:
        return popup_default_proc(window, message, wparam, lparam);
    }
}

void load_effects() {
    for (int k = 0; k < SETTLE_EFFECT_COUNT; ++k)
        ss.effects[k] = EffectListEntry{SETTLE_EFFECT_FIRST + k, nullptr};
    ss.effects[SETTLE_EFFECT_COUNT] = EffectListEntry{-1, nullptr};
    snd_effects_load(ss.effects);
}

} // namespace

SettlePicks settle_screen_run(const SettleList& list) {
    ss = SettleScreen{};
    ss.list = list;
    if (list.count == 0) return ss.picks;
    ss.display = gfx_display_open();
    shown_record(Shown::Panel, SETTLE_PANEL_ENTRY, 0, "settlement");
    plan_start();
    if (!ss.display) {
        advance();
        return ss.picks;
    }
    load_effects();
    ss.set = spr_read_set("PANEL.MKF", SETTLE_PANEL_ENTRY);
    const ImageRecord* balloon = popup_frame(ss.set, SETTLE_F_BALLOON);
    balloon_set(balloon, SETTLE_BALLOON_X, SETTLE_BALLOON_Y, 0, 0, INK, SHADOW);
    const uint8_t cursor_mode = cursor_get_mode();
    cursor_set_mode(1); // the player may click through the screen
    screen_run(settle_wndproc, 0);
    cursor_set_mode(cursor_mode);
    balloon_hide(BALLOON_HIDE_NOW | BALLOON_HIDE_NO_COPY);
    balloon_reset();
    std::free(ss.under_award);
    ss.under_award = nullptr;
    spr_free_set(ss.set);
    snd_effects_free(ss.effects);
    // Whatever ended the screen, the month's bonus and picks are made.
    if (!ss.bonus_paid) {
        settle_pay_bonus();
        ss.picks.unluckiest = settle_pick_unluckiest();
        ss.picks.champion = settle_pick_champion();
    }
    board_repaint_all();
    return ss.picks;
}

PRESENTER(settle_presenter, SettlePresenter{settle_screen_run});
