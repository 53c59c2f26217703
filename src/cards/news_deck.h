// The news and fate decks: shuffled once per game, read in order and never
// reshuffled, saved with the game and copied by the time machine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr int NEWS_EVENT_COUNT = 36; // cards of the news deck, events 0..35
inline constexpr int FATE_SLOT_COUNT = 37;  // cards of the fate deck, slots 0..36
inline constexpr int FATE_ROW_COUNT = 49;   // fate rows, the jail slots taking one row per map

extern std::array<uint8_t, NEWS_EVENT_COUNT> news_deck; // a permutation of 0..35
extern int32_t news_cursor;                             // the next card, 0..35
extern std::array<uint8_t, FATE_SLOT_COUNT> fate_deck;  // a permutation of 0..36
extern int32_t fate_cursor;                             // the next card, 0..36

// Fills deck[0..n) with a random permutation of 0..n-1: card k is the
// (r+1)-th number not yet taken, r = rand() % (n - k).
void deck_shuffle(uint8_t* deck, int n);
// Shuffles the deck and puts its cursor on the first card.
void news_shuffle();
void fate_shuffle();

// The one check of a deck read from a file: the n bytes are a permutation of
// 0..n-1 and the cursor lies in 0..n-1.
bool deck_valid(const uint8_t* deck, int n, int32_t cursor);

// Both decks as saves and snapshots store them: news_cursor, fate_cursor
// (32-bit little-endian), news_deck, fate_deck.
inline constexpr size_t DECKS_BLOCK_SIZE = 4 + 4 + NEWS_EVENT_COUNT + FATE_SLOT_COUNT;
void decks_write(uint8_t* out);
// True when both decks of the block pass deck_valid.
bool decks_block_valid(const uint8_t* in);
// Takes both decks from the block; a block that fails the check is refused
// whole (false) and the decks stay as they were.
bool decks_read(const uint8_t* in);
// The check of a time-machine snapshot slot's image: a slot whose valid word
// (its first 4 bytes) is 0 holds zeros and passes unchecked; a valid slot's
// decks, at SNAPSHOT_DECKS_OFFSET, must pass decks_block_valid.
inline constexpr size_t SNAPSHOT_DECKS_OFFSET = 9920;
bool decks_snapshot_slot_valid(const uint8_t* slot);

// The events shown since the last take, in order: news event e as e, fate
// row r as FATE_SHOWN_BASE + r (at most EVENTS_SHOWN_MAX kept; not saved).
inline constexpr int FATE_SHOWN_BASE = 100;
inline constexpr size_t EVENTS_SHOWN_MAX = 256;
void events_note_shown(int code);
std::vector<int> events_take_shown();

// Both decks in order (0, 1, 2, ...), cursors 0, nothing noted as shown.
void decks_reset();
