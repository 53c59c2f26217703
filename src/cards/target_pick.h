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
