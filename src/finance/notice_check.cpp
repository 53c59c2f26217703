#include <string>

#include "board/map.h"
#include "finance/notice_board.h"
#include "finance/stock_types.h"

bool notice_board_valid(
    const std::array<std::array<NoticeOffer, NOTICE_SLOTS>, PLAYER_COUNT>& board, int lots,
    int facilities, std::string* error) {
    auto fail = [error](int p, int k, const std::string& why) {
        if (error)
            *error = "bulletin board: player " + std::to_string(p) + " offer " + std::to_string(k) +
                     " " + why;
        return false;
    };
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        bool ended = false;
        for (int k = 0; k < NOTICE_SLOTS; ++k) {
            const NoticeOffer& o = board[p][k];
            if (o.type == NOTICE_EMPTY) {
                ended = true;
                continue;
            }
            if (o.type > NOTICE_CARD) return fail(p, k, "has type " + std::to_string(o.type));
            if (ended) return fail(p, k, "follows an empty slot");
            bool named = false;
            switch (o.type) {
            case NOTICE_SHARES:
                named = o.object < STOCK_COUNT && o.count >= 1 && o.count <= STOCK_TOTAL_SHARES;
                break;
            case NOTICE_LAND:
                named = object_in(o.object, OBJ_LOT_BASE, lots) ||
                        object_in(o.object, OBJ_FACILITY_BASE, facilities);
                break;
            case NOTICE_ITEM:
                named = o.object >= 1 && o.object <= 13;
                break;
            default:
                named = o.object >= 1 && o.object <= 30;
                break;
            }
            if (!named) return fail(p, k, "names object " + std::to_string(o.object));
            if (o.asking < 0) return fail(p, k, "asks " + std::to_string(o.asking));
        }
    }
    return true;
}
