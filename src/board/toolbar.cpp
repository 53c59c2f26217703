#include "board/toolbar.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct Slot {
    bool filled = false;
    ToolbarCommandRow row{};
};

// Function-local so that registrations from other files' static
// initialisers find it constructed whatever the initialisation order.
Slot* table() {
    static Slot slots[TOOLBAR_COMMAND_COUNT] = {};
    return slots;
}

// Two modules claiming one button or one key would leave the choice to the
// linker.
[[noreturn]] void refuse(int command, const char* why) {
    std::fprintf(stderr, "toolbar command %d %s\n", command, why);
    std::abort();
}

} // namespace

bool toolbar_command_register(const ToolbarCommandRow& row) {
    if (row.command < 0 || row.command >= TOOLBAR_COMMAND_COUNT)
        refuse(row.command, "is no toolbar button");
    if (row.open == nullptr) refuse(row.command, "registered without an opener");
    if (row.hot_key != TOOLBAR_NO_HOT_KEY && (row.hot_key < 0 || row.hot_key >= HOTKEY_COUNT))
        refuse(row.command, "registered with no hot-key slot");
    if (row.hot_key != TOOLBAR_NO_HOT_KEY && toolbar_command_of_hot_key(row.hot_key) >= 0)
        refuse(row.command, "registered with a hot key another command has");
    Slot& slot = table()[row.command];
    if (slot.filled) refuse(row.command, "registered twice");
    slot = Slot{true, row};
    return true;
}

const ToolbarCommandRow* toolbar_command_row(int command) {
    if (command < 0 || command >= TOOLBAR_COMMAND_COUNT) return nullptr;
    const Slot& slot = table()[command];
    return slot.filled ? &slot.row : nullptr;
}

int toolbar_command_of_hot_key(int slot) {
    if (slot == TOOLBAR_NO_HOT_KEY) return -1;
    for (int command = 0; command < TOOLBAR_COMMAND_COUNT; ++command) {
        const Slot& s = table()[command];
        if (s.filled && s.row.hot_key == slot) return command;
    }
    return -1;
}

bool toolbar_command_open(int command) {
    const ToolbarCommandRow* row = toolbar_command_row(command);
    return row == nullptr || row->open();
}

int toolbar_command_at(int x, int y) {
    if (x < LAYOUT_TOOLBAR.left || x >= LAYOUT_TOOLBAR.right || y < LAYOUT_TOOLBAR.top ||
        y >= LAYOUT_TOOLBAR.bottom)
        return -1;
    return (x - LAYOUT_TOOLBAR.left) / TOOLBAR_BUTTON_W;
}
