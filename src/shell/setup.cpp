#include "shell/setup.h"

#include <algorithm>

#include "board/game_state.h"
#include "board/world_reset.h"
#include "engine/random.h"
#include "shell/new_game.h"

SetupRules setup_rules;

namespace {

constexpr NewGameSettings INITIAL_CHOICE = {2, 1, 0, 0, 0, 0, 0};
constexpr int CHOICE_ROWS[6] = {3, 6, 3, 6, 6, 6};
constexpr int MAP_CHOICES = 4;

// The row of value in a table, or the initial choice when it has none.
template <typename Table> int32_t row_of(const Table& table, int32_t value, int32_t otherwise) {
    const auto it = std::find(table.begin(), table.end(), value);
    return it == table.end() ? otherwise : static_cast<int32_t>(it - table.begin());
}

int32_t within(int32_t value, int rows, int32_t otherwise) {
    return value >= 0 && value < rows ? value : otherwise;
}

void add_runner(int character, bool computer) {
    SetupRunner& r = setup_runners[static_cast<size_t>(setup_rules.chosen++)];
    r.character = static_cast<uint32_t>(character) | (computer ? SETUP_COMPUTER_SEAT : 0u);
    r.frame = 0;
    r.sprite = nullptr;
    character_state[static_cast<size_t>(character)] = CHAR_TAKEN;
}

// Gives runner k back: its character is free again, the later ones move up.
void remove_runner(int k) {
    const int character = static_cast<int>(setup_runners[static_cast<size_t>(k)].character & 0xFF);
    if (character < CHARACTER_COUNT) character_state[static_cast<size_t>(character)] = CHAR_FREE;
    for (int i = k; i + 1 < setup_rules.chosen; ++i)
        setup_runners[static_cast<size_t>(i)] = setup_runners[static_cast<size_t>(i + 1)];
    setup_runners[static_cast<size_t>(--setup_rules.chosen)] = SetupRunner{};
}

} // namespace

void setup_begin(int continuing) {
    setup_rules = SetupRules{};
    setup_rules.continuing = continuing ? 1 : 0;
    setup_runners = {};
    if (!continuing) {
        game_map = 0;
        character_state.fill(CHAR_FREE);
        setup_choice = INITIAL_CHOICE;
    } else {
        setup_choice[SETUP_PLAYERS] = within(game_player_count - 2, 3, INITIAL_CHOICE[0]);
        setup_choice[SETUP_MONEY] =
            row_of(setup_money_table, game_start_money, INITIAL_CHOICE[SETUP_MONEY]);
        setup_choice[SETUP_TRAVEL] = within(game_travel_mode, 3, INITIAL_CHOICE[SETUP_TRAVEL]);
        setup_choice[SETUP_LAND_TERM] = within(game_land_term, 6, INITIAL_CHOICE[SETUP_LAND_TERM]);
        setup_choice[SETUP_GAME_TIME] =
            row_of(setup_days_table, game_day_limit, INITIAL_CHOICE[SETUP_GAME_TIME]);
        const int32_t multiple = game_start_money > 0 ? game_asset_target / game_start_money : 0;
        setup_choice[SETUP_VICTORY] =
            row_of(setup_victory_table, multiple, INITIAL_CHOICE[SETUP_VICTORY]);
        const int human = player_table[0].character;
        if (human >= 0 && human < CHARACTER_COUNT) add_runner(human, false);
    }
    setup_choice[SETUP_MAP] = within(game_map, MAP_CHOICES, 0);
}

int setup_player_count() {
    return setup_choice[SETUP_PLAYERS] + 2;
}

int setup_free_count() {
    return static_cast<int>(std::count(character_state.begin(), character_state.end(), CHAR_FREE));
}

void setup_lower_player_count() {
    const int free = setup_free_count();
    if (free < setup_player_count() - 1) setup_choice[SETUP_PLAYERS] = std::max(0, free + 1 - 2);
}

bool setup_grid_click(int character) {
    if (character < 0 || character >= CHARACTER_COUNT) return false;
    const uint8_t mark = character_state[static_cast<size_t>(character)];
    if (mark == CHAR_FREE) {
        if (setup_rules.chosen >= setup_player_count()) return false;
        add_runner(character, false);
        return true;
    }
    if (mark == CHAR_TAKEN) {
        for (int k = 0; k < setup_rules.chosen; ++k)
            if (static_cast<int>(setup_runners[static_cast<size_t>(k)].character & 0xFF) ==
                character) {
                remove_runner(k);
                return true;
            }
    }
    return false;
}

int setup_choice_rows(int setting) {
    return setting >= 0 && setting < 6 ? CHOICE_ROWS[setting] : 0;
}

bool setup_set_choice(int setting, int row) {
    if (row < 0 || row >= setup_choice_rows(setting)) return false;
    const int32_t before = setup_choice[static_cast<size_t>(setting)];
    setup_choice[static_cast<size_t>(setting)] = row;
    if (setting == SETUP_PLAYERS)
        while (setup_rules.chosen > setup_player_count())
            remove_runner(setup_rules.chosen - 1);
    return setting == SETUP_TRAVEL && before != row;
}

bool setup_choose_map(int map) {
    if (map < 0 || map >= MAP_CHOICES || map == setup_choice[SETUP_MAP]) return false;
    setup_choice[SETUP_MAP] = map;
    game_map = map;
    return true;
}

bool setup_play_with_the_chosen() {
    if (setup_rules.chosen < 2) return false;
    setup_choice[SETUP_PLAYERS] = setup_rules.chosen - 2;
    return true;
}

int setup_computer_pick() {
    const int free = setup_free_count();
    if (free == 0 || setup_rules.chosen >= PLAYER_COUNT) return -1;
    int n = game_rand() % free;
    for (int c = 0; c < CHARACTER_COUNT; ++c) {
        if (character_state[static_cast<size_t>(c)] != CHAR_FREE) continue;
        if (n-- == 0) {
            add_runner(c, true);
            return c;
        }
    }
    return -1;
}

bool setup_all_chosen() {
    return setup_rules.chosen >= setup_player_count();
}

bool setup_finish(int result, std::string* error) {
    bool ok = true;
    if (result == 1) {
        // A new game starts from a clean world; what lives across the games
        // of a run stays.
        const uint32_t date = game_date;
        const auto marks = character_state;
        const int32_t rotation = view_rotation;
        game_world_reset();
        game_date = date;
        character_state = marks;
        view_rotation = rotation;
        ok = new_game_init(error);
    }
    setup_rewrite_character_state();
    return ok;
}
