#include "board/choice.h"

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"

const char* const choice_facility_labels[5] = {"公  园", "旅  馆", "购物中心", "加油站", "研究所"};

int choice_research_offered(int level) {
    return level < 0 ? 0 : (level > RESEARCH_SLOTS ? RESEARCH_SLOTS : level);
}

int choice_facility_cell(int x, int y) {
    const int right = CHOICE_KIND_X + CHOICE_KIND_CELL * CHOICE_KIND_COUNT;
    if (x < CHOICE_KIND_X || x >= right || y < CHOICE_KIND_Y ||
        y >= CHOICE_KIND_Y + CHOICE_KIND_CELL)
        return -1;
    return (x - CHOICE_KIND_X) / CHOICE_KIND_CELL;
}

int choice_player_cell(int x, int y, int x0, int y0, int count) {
    if (x < x0 || y < y0 || y >= y0 + CHOICE_PLAYER_CELL_H) return -1;
    const int cell = (x - x0) / CHOICE_PLAYER_CELL_W;
    return cell < count ? cell : -1;
}

int choice_research_cell(int x, int y) {
    const PlatRect& a = CHOICE_RESEARCH_AREA;
    if (x < a.left || x >= a.right || y < a.top || y >= a.bottom) return -1;
    return (x - a.left) / CHOICE_RESEARCH_STEP;
}

int choose_facility_kind(int may_cancel) {
    const int cur = game_active_mover;
    if (may_cancel == 0) return decide_facility_kind(cur, 0);
    return decide(DecisionRequest{DECIDE_FACILITY_KIND_CANCEL, cur, nullptr, 0, 0});
}

int choose_player(int count, const int* players, const char* prompt) {
    // Strips exist for two, three and four players only.
    if (count < 2 || count > 4 || players == nullptr) return -1;
    DecisionRequest r{DECIDE_PLAYER, game_active_mover, prompt, 0, 0};
    r.list = players;
    r.list_count = count;
    return decide(r);
}

void choose_research_item(int facility) {
    if (map_facility_table == nullptr || facility < 1 || facility > map_facility_count) return;
    FacilityLot& fac = map_facility_table[facility];
    const int offered = choice_research_offered(fac.level);
    if (offered == 0) return;
    const int owner_seat = seat_of_owner(fac.owner);
    int slot;
    if (is_player_seat(owner_seat) && player_table[owner_seat].control == CTRL_HUMAN) {
        slot = decide(DecisionRequest{DECIDE_RESEARCH_SLOT, owner_seat, "请选择欲开发道具", 0,
                                      object_code(OBJ_FACILITY_BASE, facility), fac.level});
    } else {
        slot = offered - 1; // the highest offered
    }
    if (slot < 0 || slot >= offered) return;
    fac.research_item = static_cast<uint8_t>(slot + 1);
    fac.research_days = RESEARCH_DAYS;
}
