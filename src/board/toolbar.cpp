#include "board/toolbar.h"

#include "board/view.h"
#include "cards/ai_settings.h"
#include "cards/card_use.h"
#include "cards/item_use.h"
#include "finance/assets_screen.h"
#include "finance/notice_board.h"
#include "finance/stock_screen.h"
#include "shell/app.h"
#include "shell/help.h"
#include "shell/save.h"
#include "shell/sysmenu.h"

namespace {

bool help() {
    help_show(20, 60);
    return true;
}
bool system_menu() {
    sysmenu_run(1);
    return true;
}
bool hand_over() {
    ai_panel_open();
    return true;
}
bool load() {
    // The shell may stand in its own load list (the tests record it).
    const int loaded =
        app_services.save_load_screen ? app_services.save_load_screen(1) : save_load_screen(1);
    return loaded == -1;
}
bool save() {
    save_save_screen();
    return true;
}
bool map() {
    view_minimap_screen();
    return true;
}
bool query() {
    asset_open();
    return true;
}
bool items() {
    item_use();
    return true;
}
bool cards() {
    card_use();
    return true;
}
bool trade() {
    notice_visit();
    return true;
}
bool stocks() {
    stock_open_exchange(0);
    return true;
}

} // namespace

const ToolbarHandler toolbar_handlers[TOOLBAR_COMMAND_COUNT] = {
    help, system_menu, hand_over, load, save, map, query, items, cards, trade, stocks,
};

int toolbar_command_at(int x, int y) {
    if (x < LAYOUT_TOOLBAR.left || x >= LAYOUT_TOOLBAR.right || y < LAYOUT_TOOLBAR.top ||
        y >= LAYOUT_TOOLBAR.bottom)
        return -1;
    return (x - LAYOUT_TOOLBAR.left) / TOOLBAR_BUTTON_W;
}
