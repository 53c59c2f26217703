#include "data/characters.h"

namespace {

constexpr std::array<const char*, CHARACTER_COUNT> CHARACTER_NAMES = {
    "柯伦恩",   "塔莫尔兹", "影丸介", "宝太太", "阿禾叔", "琳娜郡主",
    "高桥铁心", "蜜蜜",     "咕噜",   "林小芸", "小杰克", "银宝宝",
};

// Every template faces 0, walks, throws one die, is not yet on the board and
// may use cards and items; money and counters start at 0.
constexpr CharacterTemplate make_character(uint8_t index, uint32_t colour, uint8_t sex,
                                           uint8_t personality, uint8_t loan_pct, uint8_t cash_pct,
                                           uint8_t stock_pct) {
    CharacterTemplate t{};
    t.name = index;
    t.colour = colour;
    t.dice = 1;
    t.character = index;
    t.sex = sex;
    t.control = CTRL_OUT;
    t.ai_flags = 3;
    t.personality = personality;
    t.loan_pct = loan_pct;
    t.cash_pct = cash_pct;
    t.stock_pct = stock_pct;
    return t;
}

constexpr std::array<uint8_t, GOD_SLOT_COUNT> make_god_kinds() {
    std::array<uint8_t, GOD_SLOT_COUNT> kinds{};
    for (int slot = 1; slot <= 14; ++slot)
        kinds[slot] = static_cast<uint8_t>(slot);
    for (int slot = 15; slot <= 16; ++slot)
        kinds[slot] = GK_DEATH;
    for (int slot = 17; slot <= 26; ++slot)
        kinds[slot] = GK_ROADBLOCK;
    for (int slot = 27; slot <= 36; ++slot)
        kinds[slot] = GK_MINE;
    for (int slot = 37; slot <= 46; ++slot)
        kinds[slot] = GK_TIME_BOMB;
    return kinds;
}

constexpr WalkerRecord make_walker(uint8_t place) {
    WalkerRecord w{};
    w.place = place;
    return w;
}

} // namespace

const std::array<CharacterTemplate, CHARACTER_COUNT> character_table = {
    make_character(0, 0x946126, 1, PERS_CUNNING, 60, 50, 30),
    make_character(1, 0xBDC3C6, 1, PERS_NORMAL, 100, 40, 45),
    make_character(2, 0x41323B, 1, PERS_CUNNING, 0, 70, 0),
    make_character(3, 0xC626C3, 0, PERS_CUNNING, 100, 60, 30),
    make_character(4, 0xC5B830, 1, PERS_NORMAL, 50, 40, 25),
    make_character(5, 0xED9D9D, 0, PERS_NORMAL, 75, 70, 30),
    make_character(6, 0x00F038, 1, PERS_NORMAL, 100, 50, 20),
    make_character(7, 0xFFFFA0, 0, PERS_GOOD, 0, 40, 35),
    make_character(8, 0xE77C08, 0, PERS_GOOD, 0, 60, 20),
    make_character(9, 0xCC1A20, 0, PERS_GOOD, 50, 50, 0),
    make_character(10, 0x2017FE, 1, PERS_NORMAL, 30, 55, 15),
    make_character(11, 0x0EBDBD, 0, PERS_CUNNING, 80, 80, 0),
};

const char* character_name(int character) {
    if (character < 0 || character >= CHARACTER_COUNT) return "";
    return CHARACTER_NAMES[static_cast<size_t>(character)];
}

const std::array<WalkerRecord, WALKER_COUNT> walker_initial = {
    make_walker(WALKER_IN_JAIL),     // thief
    make_walker(WALKER_IN_JAIL),     // robber
    make_walker(WALKER_IN_HOSPITAL), // hooligan
    make_walker(WALKER_IN_HOSPITAL), // spy
    make_walker(WALKER_OFF_BOARD),   // robot doll
};

const std::array<uint8_t, GOD_SLOT_COUNT> god_initial_kinds = make_god_kinds();
