// Save games: six slots SAVE0.DAT (the autosave) to SAVE5.DAT in the save
// directory, each a little-endian image of the whole game state, the map
// block and the seats' time-machine snapshots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int32_t SAVE_FORMAT_VERSION = 36;
inline constexpr int SAVE_SLOTS = 6;

// Byte offsets of the blocks of a save file (S the map block's size).
enum SaveOffset : size_t {
    SAVE_VERSION = 0,
    SAVE_DATE = 4,
    SAVE_MAP = 8,
    SAVE_PLAYER_COUNT = 12,
    SAVE_PLAYERS = 16,
    SAVE_HUMAN_COUNT = 432,
    SAVE_WALKERS = 436,
    SAVE_GODS = 516, // slots 1..46
    SAVE_CARDS = 1620,
    SAVE_ITEMS = 1680,
    SAVE_CARD_STOCK = 1740,
    SAVE_ITEM_STOCK = 1770,
    SAVE_HISTORY_DAY = 1778,
    SAVE_HISTORY = 1782,
    SAVE_HOLDINGS = 8694,
    SAVE_STOCKS = 9078,
    SAVE_NOTICES = 9510,
    SAVE_GAME_VALUES = 9846, // thirteen 4-byte values
    SAVE_CAMPAIGN = 9898,
    SAVE_CHARACTERS = 9902,
    SAVE_JACKPOT = 9914,
    SAVE_LOTTO_OWNERS = 9918,
    SAVE_JAIL = 9954,
    SAVE_HOSPITAL = 9962,
    SAVE_DECKS = 9970, // news and fate cursors, then both decks
    SAVE_ROTATION = 10051,
    SAVE_MAP_SIZE = 10055,
    SAVE_MAP_BLOCK = 10059,
};
inline constexpr size_t SAVE_SNAPSHOT_SIZE = 10008;
// The size of a file of `players` seats around a map block of `map_size`.
constexpr uint64_t save_file_size(uint64_t map_size, int players) {
    return SAVE_MAP_BLOCK + map_size +
           static_cast<uint64_t>(players) * (SAVE_SNAPSHOT_SIZE + map_size);
}

// The running game's image. Pointer fields (the players' and stocks' name
// handles, the snapshots' map pointers) are written 0; the reader rebinds
// them.
std::vector<uint8_t> save_image_encode();
// Checks a whole image before anything of it is used: the version, the size,
// and every field used as an index, count, code or bound. False with the
// reason in `error`.
bool save_image_check(const uint8_t* image, size_t size, std::string* error);
// Checks an image and takes its saved blocks after a world reset, without
// the load's own steps (no map graphics, no reseed, no wait). A refused image
// changes nothing.
bool save_image_decode(const uint8_t* image, size_t size, std::string* error);
// Replaces the running game by a checked image: the world reset, the saved
// blocks, then the load's own steps (save_load_own_steps). A refused image
// changes nothing (false, the reason in `error`).
bool save_image_commit(const uint8_t* image, size_t size, uint32_t picture_shown_at,
                       std::string* error);
// The load's own steps after the saved blocks are in place: every value a
// save does not hold goes back to what a new world holds, the map's graphics
// and links are set up again, the active mover needs a fresh turn step, the
// random generator is reseeded from the clock, and the load lasts until 1000
// ms after `picture_shown_at` without taking a message.
void save_load_own_steps(uint32_t picture_shown_at);

// The file name of a slot, "SAVE<slot>.DAT".
std::string save_slot_name(int slot);
// Writes the running game to the slot, atomically: false (with the reason in
// `error`, if given) when it could not, and the old file stays.
bool save_write_slot(int slot, std::string* error = nullptr);
// Reads and validates the slot's whole file before anything is shown or
// changed; then shows the loading picture and loads it. 1 loaded, 0 refused
// (no file, a damaged one: the reason on stderr and in `error`), nothing changed.
int save_read_slot(int slot, std::string* error = nullptr);
// The head the slot lists show, from a file that passes the whole check. A
// file that is there but fails it is named on stderr with the reason, once
// until the reason changes; a slot without a file says nothing.
struct SaveSlotHead {
    uint32_t date = 0;
    int32_t map = 0;
    int32_t players = 0;
    uint8_t characters[4] = {};
};
bool save_slot_head(int slot, SaveSlotHead* head);
// The autosave after a new day: slot 0, a failure only a line on stderr.
void save_autosave();

// The load list: -1 when nothing was loaded (no loadable slot, cancelled, or
// the chosen slot's read was refused), else 1.
int save_load_screen(int over_game);
// The save list over the running game (slots 1 to 5).
void save_save_screen();
// Draws the save list's panel and rows into the back surface.
void save_draw_slots();
