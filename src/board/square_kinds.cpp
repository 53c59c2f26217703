#include "board/square_kinds.h"

#include <cstdio>
#include <cstdlib>

#include "board/map.h"

namespace {

struct Slot {
    bool filled = false;
    SquareKindRow row{};
};

// Function-local so that registrations from other files' static
// initialisers find it constructed whatever the initialisation order.
Slot* table() {
    static Slot slots[SQUARE_TYPE_COUNT] = {};
    return slots;
}

// Two modules claiming one kind would leave the choice to the linker.
[[noreturn]] void refuse(int kind, const char* why) {
    std::fprintf(stderr, "square kind %d %s\n", kind, why);
    std::abort();
}

} // namespace

bool square_kind_register(const SquareKindRow& row) {
    if (row.kind < 0 || row.kind >= SQUARE_TYPE_COUNT) refuse(row.kind, "is no square type");
    if (row.handler == nullptr) refuse(row.kind, "registered without a handler");
    Slot& slot = table()[row.kind];
    if (slot.filled) refuse(row.kind, "registered twice");
    slot = Slot{true, row};
    return true;
}

const SquareKindRow* square_kind_row(int kind) {
    if (kind < 0 || kind >= SQUARE_TYPE_COUNT) return nullptr;
    const Slot& slot = table()[kind];
    return slot.filled ? &slot.row : nullptr;
}
