// The grid game's rules: the board, the walk, the pieces and the endings.
#include "board/minigame_grid.h"

#include <cstdlib>

#include "board/minigames.h"
#include "engine/random.h"

// clang-format off
const GridPoint grid_points[GRID_SIDE][GRID_SIDE] = {
    {{0, 0}, {0, 0}, {0, 0}, {80, 153}, {128, 129}, {176, 105}, {224, 81}, {0, 0}, {0, 0}},
    {{0, 0}, {32, 225}, {80, 201}, {128, 177}, {176, 153}, {224, 129}, {272, 105}, {320, 81}, {0, 0}},
    {{0, 0}, {80, 249}, {128, 225}, {176, 201}, {224, 177}, {272, 153}, {320, 129}, {368, 105}, {416, 81}},
    {{80, 297}, {128, 273}, {176, 249}, {224, 225}, {272, 201}, {320, 177}, {368, 153}, {416, 129}, {464, 105}},
    {{128, 321}, {176, 297}, {224, 273}, {272, 249}, {0, 0}, {368, 201}, {416, 177}, {464, 153}, {512, 129}},
    {{176, 345}, {224, 321}, {272, 297}, {320, 273}, {368, 249}, {416, 225}, {464, 201}, {512, 177}, {560, 153}},
    {{224, 369}, {272, 345}, {320, 321}, {368, 297}, {416, 273}, {464, 249}, {512, 225}, {560, 201}, {0, 0}},
    {{0, 0}, {320, 369}, {368, 345}, {416, 321}, {464, 297}, {512, 273}, {560, 249}, {608, 225}, {0, 0}},
    {{0, 0}, {0, 0}, {416, 369}, {464, 345}, {512, 321}, {560, 297}, {0, 0}, {0, 0}, {0, 0}},
};
// clang-format on

EffectListEntry grid_sounds[9] = {{11, nullptr}, {12, nullptr}, {13, nullptr},
                                  {14, nullptr}, {16, nullptr}, {17, nullptr},
                                  {18, nullptr}, {15, nullptr}, {-1, nullptr}};

namespace {

// The five positions behind the central obstacle, (row, column).
constexpr int BEHIND[5][2] = {{3, 3}, {3, 4}, {3, 5}, {4, 5}, {5, 5}};
constexpr int32_t ONE = 0x10000, HALF = 0x8000;

int sign_or_one(int32_t v) {
    return v < 0 ? -1 : 1;
}

void play(int element, int flags = 0) {
    snd_effect_play(&grid_sounds[element], flags);
}
void stop(int element) {
    snd_effect_stop(&grid_sounds[element]);
}

// The direction the figure faces for a step of dc columns and dr rows.
int facing_of(int dc, int dr) {
    if (dc > 0) return 3 - dr;
    if (dc == 0) return dr <= 0 ? 5 : 1;
    return (dr + 7) & 7;
}

// Puts the walk's position at the centre of the current cell and aims it at
// the target: the major axis moves one cell a step.
void aim(GridGame& g) {
    g.pos_x = g.column * ONE + HALF;
    g.pos_y = g.row * ONE + HALF;
    const int dx = g.target_column - g.column, dy = g.target_row - g.row;
    const int steps = std::abs(dx) > std::abs(dy) ? std::abs(dx) : std::abs(dy);
    g.step_x = steps ? dx * ONE / steps : 0;
    g.step_y = steps ? dy * ONE / steps : 0;
}

void set_next(GridGame& g, int column, int row) {
    g.next_column = static_cast<int8_t>(column);
    g.next_row = static_cast<int8_t>(row);
    g.facing = facing_of(column - g.column, row - g.row);
}

void stop_walk(GridGame& g) {
    stop(GRID_SND_WALK);
    g.state = GRID_IDLE;
    g.sub = 0;
}

void to_final(GridGame& g) {
    g.phase = MG_FINAL;
    g.wait_ticks = GRID_FINAL_TICKS;
    minigame_points = minigame_grid_score(g);
}

void end_by_score(GridGame& g) {
    stop(GRID_SND_WALK);
    const int32_t score = minigame_grid_score(g);
    g.phase = MG_ENDING;
    g.sub = 0;
    g.ending_plays = 0;
    if (score < GRID_MIDDLE_FROM) {
        g.state = GRID_BAD_END;
        play(GRID_SND_BAD, 1);
    } else if (score < GRID_GOOD_FROM) {
        g.state = GRID_MIDDLE_END;
        g.wait_ticks = GRID_REACTION_TICKS;
    } else {
        g.state = GRID_GOOD_END;
        play(GRID_SND_GOOD, 1);
    }
}

void take_piece(GridGame& g) {
    uint16_t& cell = g.cells[g.row][g.column];
    const int kind = cell & GRID_PIECE_MASK;
    cell = static_cast<uint16_t>(cell & ~GRID_PIECE_MASK);
    g.state = GRID_IDLE;
    g.sub = 0;
    if (kind == 0) return;
    g.fly_kind = static_cast<int8_t>(kind);
    g.fly_column = g.column;
    g.fly_row = g.row;
    g.fly_frame = 0;
    if (kind == GRID_BOMB) {
        play(GRID_SND_BOMB);
        g.state = GRID_BOMBED;
        g.phase = MG_ENDING;
        g.wait_ticks = GRID_REACTION_TICKS;
        return;
    }
    play(kind == 2 ? GRID_SND_PIECE_SMALL : kind == 5 ? GRID_SND_PIECE_BIG : GRID_SND_PIECE_MIDDLE);
    ++g.counts[kind];
    g.score_changed = 1;
    minigame_points = minigame_grid_score(g);
}

void walk_tick(GridGame& g) {
    if (++g.sub < GRID_QUARTERS) return;
    g.sub = 0;
    g.column = g.next_column;
    g.row = g.next_row;
    if (g.column == g.target_column && g.row == g.target_row) {
        stop(GRID_SND_WALK);
        play(GRID_SND_ARRIVE);
        g.state = GRID_PICKING;
        return;
    }
    minigame_grid_slide(g);
}

void ending_tick(GridGame& g) {
    switch (g.state) {
    case GRID_GOOD_END:
    case GRID_BAD_END: {
        const bool good = g.state == GRID_GOOD_END;
        const int frames =
            (good ? g.good_frames : g.bad_frames) > 0 ? (good ? g.good_frames : g.bad_frames) : 1;
        if (++g.sub < frames) return;
        g.sub = 0;
        if (++g.ending_plays < GRID_ENDING_PLAYS) return;
        stop(good ? GRID_SND_GOOD : GRID_SND_BAD);
        to_final(g);
        return;
    }
    default:
        ++g.sub;
        if (--g.wait_ticks <= 0) to_final(g);
    }
}

} // namespace

bool grid_exists(int column, int row) {
    return column >= 0 && column < GRID_SIDE && row >= 0 && row < GRID_SIDE &&
           grid_points[row][column].x != 0;
}

bool grid_cell_of_hit(uint8_t byte, int* column, int* row) {
    if (byte >= GRID_SIDE * GRID_SIDE) return false;
    if (!grid_exists(byte % GRID_SIDE, byte / GRID_SIDE)) return false;
    *column = byte % GRID_SIDE;
    *row = byte / GRID_SIDE;
    return true;
}

uint8_t grid_hit_at(const uint8_t* image, uint32_t size, int x, int y) {
    if (!image || x < 0 || y < 0 || x >= GRID_HIT_W || y >= GRID_HIT_H) return GRID_HIT_NONE;
    const uint32_t at = static_cast<uint32_t>(y) * GRID_HIT_W + static_cast<uint32_t>(x);
    return at < size ? image[at] : GRID_HIT_NONE;
}

void minigame_grid_setup(GridGame& g) {
    for (auto& row : g.cells)
        for (uint16_t& cell : row)
            cell = 0;
    for (const auto& b : BEHIND)
        g.cells[b[0]][b[1]] = 1 << GRID_BEHIND_SHIFT;
    int free_count = GRID_POSITIONS;
    for (int kind = 1; kind < GRID_KINDS; ++kind)
        for (int n = 0; n < GRID_PIECES_OF_KIND[kind]; ++n) {
            const int r = (free_count * game_rand()) >> 15;
            int seen = 0;
            for (int row = 0; row < GRID_SIDE; ++row)
                for (int column = 0; column < GRID_SIDE; ++column) {
                    uint16_t& cell = g.cells[row][column];
                    if (!grid_exists(column, row) || (cell & GRID_PIECE_MASK)) continue;
                    if (seen++ == r) cell = static_cast<uint16_t>(cell | kind);
                }
            --free_count;
        }
}

void minigame_grid_start(GridGame& g) {
    g = GridGame{};
    minigame_grid_setup(g);
    g.column = g.next_column = g.target_column = GRID_START_COLUMN;
    g.row = g.next_row = g.target_row = GRID_START_ROW;
    g.facing = 1;
    g.good_frames = g.bad_frames = 1;
    g.time = GRID_TIME_TICKS;
    g.phase = MG_COUNTDOWN;
    g.wait_ticks = GRID_COUNTDOWN_TICKS;
    minigame_points = 0;
}

void minigame_grid_begin(GridGame& g) {
    if (g.phase == MG_OPENING) g.phase = MG_RUNNING;
}

int minigame_grid_pick_cell(GridGame& g, int column, int row) {
    if (column == g.column && row == g.row) return 0;
    if (!grid_exists(column, row)) return 0;
    g.target_column = static_cast<int8_t>(column);
    g.target_row = static_cast<int8_t>(row);
    aim(g);
    play(GRID_SND_WALK, 1);
    g.state = GRID_WALKING;
    g.sub = 0;
    minigame_grid_slide(g);
    return 1;
}

void minigame_grid_slide(GridGame& g) {
    const int32_t x = g.pos_x + g.step_x, y = g.pos_y + g.step_y;
    const int column = x >> 16, row = y >> 16;
    if (grid_exists(column, row)) {
        g.pos_x = x;
        g.pos_y = y;
        set_next(g, column, row);
        return;
    }
    // The hole: one cell on the major axis only; when that is the blocked
    // cell again, one across as well, the way the step leans.
    int c = g.column, r = g.row;
    if (std::abs(g.step_x) >= std::abs(g.step_y)) {
        c += sign_or_one(g.step_x);
        if (r == row) r += sign_or_one(g.step_y);
    } else {
        r += sign_or_one(g.step_y);
        if (c == column) c += sign_or_one(g.step_x);
    }
    if (!grid_exists(c, r)) {
        // Nowhere to go round: the figure stops where it stands.
        g.target_column = g.column;
        g.target_row = g.row;
        stop_walk(g);
        return;
    }
    set_next(g, c, r);
    const int8_t here_c = g.column, here_r = g.row;
    g.column = static_cast<int8_t>(c);
    g.row = static_cast<int8_t>(r);
    aim(g);
    g.column = here_c;
    g.row = here_r;
}

void minigame_grid_click(GridGame& g, uint8_t hit) {
    if (g.phase == MG_FINAL) {
        g.close_asked = 1;
        return;
    }
    if (g.phase != MG_RUNNING || g.state != GRID_IDLE) return;
    int column = 0, row = 0;
    if (grid_cell_of_hit(hit, &column, &row)) minigame_grid_pick_cell(g, column, row);
}

void minigame_grid_frame(GridGame& g) {
    if (g.fly_kind && ++g.fly_frame >= GRID_FLY_FRAMES) g.fly_kind = 0;
    switch (g.phase) {
    case MG_COUNTDOWN:
        if (--g.wait_ticks <= 0) g.phase = MG_OPENING;
        return;
    case MG_RUNNING:
        if (--g.time <= 0) {
            g.time = 0;
            end_by_score(g);
            return;
        }
        if (g.state == GRID_WALKING) {
            walk_tick(g);
        } else if (g.state == GRID_PICKING) {
            if (++g.sub >= GRID_PICK_TICKS) take_piece(g);
        }
        return;
    case MG_ENDING:
        ending_tick(g);
        return;
    case MG_FINAL:
        if (g.close_asked || --g.wait_ticks <= 0) g.phase = MG_CLOSED;
        return;
    default:
        return;
    }
}

int32_t minigame_grid_score(const GridGame& g) {
    int32_t score = 0;
    for (int kind = 2; kind < GRID_KINDS; ++kind)
        score += GRID_POINTS_OF_KIND[kind] * g.counts[kind];
    return score;
}
