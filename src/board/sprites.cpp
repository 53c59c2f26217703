#include "board/sprites.h"

#include <cstdio>
#include <cstdlib>

#include "board/game_state.h"
#include "board/view_sets.h"
#include "engine/image.h"
#include "engine/surfaces.h"

namespace {

constexpr int NO_SET = -1;

// The data.mkf entries of mover m's loaded families, by slot (NO_SET: empty).
void family_entries(int m, int entries[8]) {
    for (int i = 0; i < 8; ++i)
        entries[i] = NO_SET;
    const ActorAnim& a = actor_anim_table[m];
    const int walk = a.flags & ANIM_WALK_FAMILY_MASK;
    const int extra = a.flags & ANIM_EXTRA_MASK;
    if (m < PLAYER_COUNT) {
        const int base = MOVER_SPRITE_BASE + MOVER_SPRITES_PER_CHARACTER *
                                                 (player_table[m].character % CHARACTER_COUNT);
        if (walk >= 1 && walk <= 4) {
            const int t = walk - 1;
            entries[0] = base + 3 * t;
            entries[2] = base + 3 * t + 1;
            entries[4] = base + 3 * t + 2;
            if (t == TRAVEL_CONSTRUCTION) entries[6] = base + 3 * t + 3;
        } else if (walk == 5) {
            entries[0] = base + 16;
            entries[2] = base + 17;
            entries[4] = base + 2;
        }
        if (extra == ANIM_EXTRA_INDOOR) {
            entries[1] = base + 13;
            entries[3] = base + 14;
            entries[5] = base + 15;
        } else if (extra == ANIM_EXTRA_OUT) {
            entries[1] = base + 18;
        }
        // The jail and hospital overlays are loaded by sprites_load_overlay.
        return;
    }
    if (m == MOVER_ROBOT_DOLL) {
        if (walk) {
            entries[0] = DOLL_SPRITE_FIRST;
            entries[2] = DOLL_SPRITE_FIRST + 1;
        }
        return;
    }
    if (m < MOVER_THIEF || m > MOVER_SPY) return;
    const int base = WALKER_SPRITE_BASE + 4 * m;
    if (walk == 1) {
        entries[0] = base;
        entries[2] = base + 1;
    } else if (walk == 5) {
        entries[0] = base;
        entries[2] = base + 3;
    }
    if (extra == ANIM_EXTRA_INDOOR) entries[3] = base + 2;
}

void load_slot(int m, int slot, int entry) {
    FrameSet*& set = actor_anim_table[m].sprites[slot];
    // Pictures are only read for a display; which sets a mover uses is
    // decided by its flags alone.
    if (set || entry == NO_SET || !back_surface) return;
    void* block = spr_read_set(nullptr, entry);
    if (!block) {
        std::fprintf(stderr, "karvo: sprite set data.mkf %d of mover %d is missing or damaged\n",
                     entry, m);
        return;
    }
    set = static_cast<FrameSet*>(block);
}

} // namespace

void sprites_load(int m) {
    if (m < 0 || m >= MOVER_COUNT) return;
    int entries[8];
    family_entries(m, entries);
    for (int slot = 0; slot < 8; ++slot)
        load_slot(m, slot, entries[slot]);
}

void sprites_load_overlay(int p, int jail) {
    if (p < 0 || p >= PLAYER_COUNT) return;
    const int base = MOVER_SPRITE_BASE +
                     MOVER_SPRITES_PER_CHARACTER * (player_table[p].character % CHARACTER_COUNT);
    load_slot(p, 1, base + (jail ? 20 : 19));
}

void sprites_release(int m, int odd) {
    if (m < 0 || m >= MOVER_COUNT) return;
    ActorAnim& a = actor_anim_table[m];
    for (int slot = odd ? 1 : 0; slot < 8; slot += 2) {
        if (!a.sprites[slot]) continue;
        void* set = a.sprites[slot];
        spr_free_set(set);
        a.sprites[slot] = nullptr;
    }
    // A freshly read family has not been tinted.
    a.flags &= static_cast<uint8_t>(~ANIM_TINTED);
}
