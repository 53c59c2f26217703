// The target picker: a human chooses an object on the board with the mouse.
// Rules never call it directly; they ask through board/decisions
// (DECIDE_TARGET with the picker's argument as the request's param), and the
// picker's window is that kind's default source.
#pragma once

#include <cstdint>

// Kinds accepted (bits 0-7 of the argument).
inline constexpr uint32_t PICK_SQUARES = 0x01;    // path squares, codes 1..1999
inline constexpr uint32_t PICK_LOTS = 0x02;       // plots, 2001..3999
inline constexpr uint32_t PICK_FACILITIES = 0x04; // facilities, 4001..5999
inline constexpr uint32_t PICK_NO_CANCEL = 0x08;  // the right button does not cancel
inline constexpr uint32_t PICK_MOVERS = 0x10;     // a square's occupants
inline constexpr uint32_t PICK_OBJECTS = 0x20;    // a square's god or placed object
inline constexpr uint32_t PICK_ALL = 0x40;        // every kind (0x37), keeping PICK_SCROLL
inline constexpr uint32_t PICK_SCROLL = 0x80;     // the view scrolls at its edges

// Acceptance modes (bits 8-15), tested after the kinds.
enum PickMode : uint32_t {
    PICK_ANY = 0,
    PICK_OWN_PROPERTY = 1,
    PICK_SAME_KIND = 2,
    PICK_NOTHING = 3,
    PICK_OTHER_PLAYER = 4,
    PICK_OTHERS_BUILT = 5,
    PICK_OTHERS_BUILT_OR_HAZARD = 6,
    PICK_NOT_SELF = 7,
    PICK_UNOWNED = 8,
};

// The picker's argument: kinds, mode, the first cursor frame over an
// acceptable target and the number of frames.
constexpr uint32_t target_pick_param(uint32_t kinds, uint32_t mode, uint32_t first_frame,
                                     uint32_t frame_count) {
    return (kinds & 0xFF) | ((mode & 0xFF) << 8) | ((first_frame & 0xFF) << 16) |
           (((frame_count - 1) & 0xFF) << 24);
}

// Runs the picker over the board; the object code clicked, 0 when cancelled.
int target_pick(uint32_t param);

// ---------------------------------------------------------------------------
// The picker's rules, shared by its window and the check of answers given
// for it by a script or an answerer. Pure: they read the board, change nothing.

// The kinds the argument accepts (PICK_ALL widened to every kind, keeping
// only PICK_SCROLL).
uint32_t target_pick_kinds(uint32_t param);
inline constexpr uint32_t target_pick_mode(uint32_t param) {
    return (param >> 8) & 0xFF;
}
inline constexpr int target_pick_first_frame(uint32_t param) {
    return static_cast<int>((param >> 16) & 0xFF);
}
inline constexpr int target_pick_frame_count(uint32_t param) {
    return static_cast<int>((param >> 24) & 0xFF) + 1;
}
// True when the code is of a kind the argument accepts and its acceptance
// mode takes it for user (0..3).
bool target_pick_accepts(uint32_t param, int user, int code);
// True when the code names something on the board now: a square, plot or
// facility of the loaded map, or occupants (players in the game and shown,
// free walkers, a god standing or held) who all stand on one square.
bool target_pick_names_board_object(int code);

// Edge scrolling: edges top 1, left 2, bottom 3, right 4 (0 none).
inline constexpr int PICK_EDGE_NONE = 0, PICK_EDGE_TOP = 1, PICK_EDGE_LEFT = 2,
                     PICK_EDGE_BOTTOM = 3, PICK_EDGE_RIGHT = 4;
inline constexpr int PICK_SCROLL_START_SPEED = 8;
inline constexpr int PICK_SCROLL_MIN = 220, PICK_SCROLL_MAX = 2084;
// The edge a screen point touches (nothing inside the view).
int target_pick_edge_at(int x, int y);
// One 50 ms tick of a held edge: the speed rises by 4 while it is at most 64,
// then the position moves that far in the edge's direction under the view's
// rotation, each coordinate clamped to 220..2084. True when it moved.
bool target_pick_scroll_tick(int edge, int rotation, int* speed, int* x, int* y);
