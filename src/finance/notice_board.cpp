#include "finance/notice_board.h"

#include "board/world_reset.h"
#include "engine/record_io.h"

std::array<std::array<NoticeOffer, NOTICE_SLOTS>, PLAYER_COUNT> notice_board{};

namespace {

template <typename Io, typename Rec> void notice_offer_fields(const Io& io, Rec& r) {
    io(r.type, 0);
    io(r.age, 1);
    io(r.object, 2);
    io(r.asking, 4);
    io(r.count, 8);
    io(r.land_kind, 10);
    io(r.land_level, 11);
}

} // namespace

void notice_offer_write(const NoticeOffer& r, uint8_t* out) {
    notice_offer_fields(RecordPut{out}, r);
}

NoticeOffer notice_offer_read(const uint8_t* in) {
    NoticeOffer r{};
    notice_offer_fields(RecordGet{in}, r);
    return r;
}

void notice_board_clear() {
    notice_board = {};
}

// The bulletin board's visits are not built yet: they return at once.
void notice_visit() {}
void notice_age_offers() {}

WORLD_RESET(WORLD_RESET_NOTICE, notice_board_clear)
