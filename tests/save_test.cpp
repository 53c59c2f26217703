// Save games: the file's blocks, its sizes, the whole check before anything
// is changed, atomic writes and the round trip through a slot.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "cards/time_machine.h"
#include "engine/record_io.h"
#include "finance/lottery.h"
#include "finance/notice_board.h"
#include "finance/stock.h"
#include "runner_game.h"
#include "shell/save.h"

namespace fs = std::filesystem;

namespace {

class SaveGame : public ::testing::Test {
  protected:
    void SetUp() override {
        home = fs::temp_directory_path() / ("karvo_save_" + std::to_string(::getpid()));
        fs::remove_all(home);
        fs::create_directories(home);
        setenv("KARVO_HOME", home.c_str(), 1);
    }
    void TearDown() override {
        runner_close();
        fs::remove_all(home);
    }
    // A new game of `players` on `map`, its map loaded, with a human in seat 0
    // whose snapshot has been taken and a few values set apart from a new game.
    void start(int players, int map = 1) {
        RunnerOptions o;
        o.seed = 11;
        o.players = players;
        o.map = map;
        o.days = 30;
        std::string error;
        ASSERT_TRUE(runner_setup(o, &error)) << error;
        player_table[0].control = CTRL_HUMAN;
        game_active_mover = 0;
        snapshot_take();
        player_table[1].cash = 123456;
        player_cards[2][0] = 7;
        lotto_owners[4] = owner_of_seat(1);
        view_rotation = 3;
        game_date = 0x07CF0A1F; // 31 October 1999
    }
    std::vector<uint8_t> file(int slot) {
        std::ifstream in(home / save_slot_name(slot), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void put(int slot, const std::vector<uint8_t>& bytes) {
        std::ofstream out(home / save_slot_name(slot), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    fs::path home;
};

int32_t i32(const std::vector<uint8_t>& v, size_t at) {
    return static_cast<int32_t>(le_get32(v.data() + at));
}

} // namespace

TEST_F(SaveGame, EveryBlockLiesAtItsOffset) {
    start(3);
    const std::vector<uint8_t> image = save_image_encode();
    const uint32_t s = map_data_size;
    EXPECT_EQ(i32(image, 0), 36);
    EXPECT_EQ(le_get32(image.data() + 4), 0x07CF0A1Fu);
    EXPECT_EQ(i32(image, 8), 1);
    EXPECT_EQ(i32(image, 12), 3);
    EXPECT_EQ(i32(image, 16 + 104 * 1 + 28), 123456);
    EXPECT_EQ(image[16 + 104 * 2 + 19], player_table[2].character);
    EXPECT_EQ(i32(image, 16), 0); // name handles are written as 0
    EXPECT_EQ(i32(image, 432), game_human_count);
    EXPECT_EQ(image[516 + 24 * 4], god_table[5].kind); // slot 5, as slot 1 is first
    EXPECT_EQ(image[1620 + 15 * 2], 7);
    std::vector<uint8_t> price(4);
    RecordPut{price.data()}(stock_table[2].price, 0);
    EXPECT_TRUE(std::equal(price.begin(), price.end(), image.begin() + 9078 + 36 * 2 + 20));
    EXPECT_EQ(i32(image, 9846), game_active_mover);
    EXPECT_EQ(i32(image, 9846 + 24), game_price_index);
    EXPECT_EQ(image[9918 + 4], 2);
    EXPECT_EQ(i32(image, 10051), 3);
    EXPECT_EQ(le_get32(image.data() + 10055), s);
    std::vector<uint8_t> block(s);
    map_data_write(block.data());
    EXPECT_TRUE(std::equal(block.begin(), block.end(), image.begin() + 10059));
    // Seat 0's snapshot follows the map, then its own copy of the map.
    EXPECT_EQ(i32(image, 10059 + s), 1);
    EXPECT_EQ(i32(image, 10059 + s + 10004), 0);     // the map pointer
    EXPECT_EQ(i32(image, 10059 + s + 10008 + s), 0); // seat 1 took no snapshot
}

TEST_F(SaveGame, AFileHoldsOneSnapshotAndMapCopyPerPlayer) {
    for (int n = 2; n <= 4; ++n) {
        start(n);
        const std::vector<uint8_t> image = save_image_encode();
        EXPECT_EQ(image.size(), 10059 + map_data_size + n * (10008 + map_data_size)) << n;
        std::string error;
        EXPECT_TRUE(save_image_check(image.data(), image.size(), &error)) << n << error;
        runner_close();
    }
}

TEST_F(SaveGame, ALoadedGameSavedAgainGivesItsBytes) {
    start(4, 2);
    ASSERT_TRUE(save_write_slot(1));
    const std::vector<uint8_t> saved = file(1);
    EXPECT_EQ(saved, save_image_encode());
    game_world_reset();
    ASSERT_EQ(save_read_slot(1), 1);
    EXPECT_EQ(player_table[1].cash, 123456);
    EXPECT_EQ(game_date, 0x07CF0A1Fu);
    EXPECT_TRUE(map_data_loaded());
    EXPECT_NE(actor_anim_table[game_active_mover].flags & ANIM_NEEDS_STEP, 0);
    EXPECT_STREQ(player_name(1), player_name(1)); // rebound, readable
    EXPECT_EQ(save_image_encode(), saved);
}

TEST_F(SaveGame, ADamagedFileIsRefusedAndTheRunningGameStaysAsItWas) {
    start(3);
    const std::vector<uint8_t> good = save_image_encode();
    const size_t s = map_data_size;
    const size_t p1 = 16 + 104;
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
    } cases[] = {
        {"a byte short", [](auto& v) { v.pop_back(); }},
        {"a byte long", [](auto& v) { v.push_back(0); }},
        {"version 35", [](auto& v) { le_put32(v.data(), 35); }},
        {"one player", [](auto& v) { le_put32(v.data() + 12, 1); }},
        {"five players", [](auto& v) { le_put32(v.data() + 12, 5); }},
        {"map 4", [](auto& v) { le_put32(v.data() + 8, 4); }},
        {"wrong map size",
         [s](auto& v) { le_put32(v.data() + 10055, static_cast<uint32_t>(s + 1)); }},
        {"a repeated news card", [](auto& v) { v[9978 + 1] = v[9978]; }},
        {"character 12", [p1](auto& v) { v[p1 + 19] = 12; }},
        {"god slot 47", [p1](auto& v) { v[p1 + 63] = 47; }},
        {"mover 9", [](auto& v) { le_put32(v.data() + 9846, 9); }},
        {"a NaN price", [](auto& v) { RecordPut{v.data()}(std::nanf(""), 9078 + 20); }},
        {"a day that is no date", [](auto& v) { le_put32(v.data() + 4, 0x07CE021E); }},
        {"a fourth seat in play", [](auto& v) { v[16 + 104 * 3 + 21] = 1; }},
        {"more humans than players", [](auto& v) { le_put32(v.data() + 432, 4); }},
        {"negative cash", [p1](auto& v) { le_put32(v.data() + p1 + 28, 0xFFFFFFFF); }},
        {"a lottery owner beyond the players", [](auto& v) { v[9918] = 4; }},
        {"ten of an item", [](auto& v) { v[1680] = 10; }},
        {"a god of another slot's kind", [](auto& v) { v[516] = 2; }},
        {"a history price of 0.5", [](auto& v) { RecordPut{v.data()}(0.5f, 1782); }},
        {"an offer of type 5", [](auto& v) { v[9510] = 5; }},
        {"a damaged map block", [](auto& v) { le_put32(v.data() + 10059, 0x7FFFFFFF); }},
        {"a damaged snapshot", [s](auto& v) { le_put32(v.data() + 10059 + s, 2); }},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = good;
        c.damage(bad);
        std::string error;
        EXPECT_FALSE(save_image_check(bad.data(), bad.size(), &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        put(2, bad);
        EXPECT_EQ(save_read_slot(2), 0) << c.what;
        EXPECT_EQ(save_image_encode(), good) << c.what;
        SaveSlotHead head;
        EXPECT_FALSE(save_slot_head(2, &head)) << c.what;
    }
    EXPECT_EQ(save_read_slot(5), 0); // no file at all
    EXPECT_EQ(save_image_encode(), good);
}

TEST_F(SaveGame, AFailedSaveKeepsTheOldFile) {
    start(2);
    ASSERT_TRUE(save_write_slot(3));
    const std::vector<uint8_t> before = file(3);
    player_table[0].cash = 1;
    struct rlimit old_limit;
    getrlimit(RLIMIT_FSIZE, &old_limit);
    struct rlimit small = old_limit;
    small.rlim_cur = 4096;
    auto old_handler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    const bool ok = save_write_slot(3, &error);
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(file(3), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(home), fs::directory_iterator()), 1);
}

TEST_F(SaveGame, TheListsReadTheHeadOfAFileThatPassesTheCheck) {
    start(3, 2);
    ASSERT_TRUE(save_write_slot(4));
    SaveSlotHead head;
    ASSERT_TRUE(save_slot_head(4, &head));
    EXPECT_EQ(head.date, 0x07CF0A1Fu);
    EXPECT_EQ(head.map, 2);
    EXPECT_EQ(head.players, 3);
    EXPECT_EQ(head.characters[2], player_table[2].character);
    EXPECT_FALSE(save_slot_head(1, &head));
}

// A file is checked against its own player count, not the running game's: a
// snapshot holding the third seat's lottery number and offer loads from the
// title, over a game of fewer seats and over one of more, and comes back
// byte for byte; one naming a seat beyond the file's count never loads.
TEST_F(SaveGame, AFileIsCheckedAgainstItsOwnPlayerCount) {
    start(3);
    lotto_owners[9] = owner_of_seat(2);
    ASSERT_EQ(notice_post(2, NOTICE_SHARES, 1, 900, 30), 1);
    snapshot_take();
    ASSERT_TRUE(save_write_slot(1));
    const std::vector<uint8_t> saved = file(1);
    const size_t snap = SAVE_MAP_BLOCK + map_data_size;
    ASSERT_EQ(saved[snap + SNAP_LOTTO_OWNERS + 9], owner_of_seat(2));
    std::vector<uint8_t> beyond = saved;
    beyond[snap + SNAP_LOTTO_OWNERS + 9] = owner_of_seat(3);
    put(2, beyond);
    std::vector<uint8_t> offer_beyond = saved;
    offer_beyond[snap + SNAP_NOTICES + NOTICE_OFFER_SIZE * NOTICE_SLOTS * 3] = NOTICE_ITEM;
    put(3, offer_beyond);
    const struct {
        const char* over;
        int players; // 0: the title, no game running
    } cases[] = {{"the title", 0}, {"a 2-player game", 2}, {"a 4-player game", 4}};
    for (const auto& c : cases) {
        runner_close();
        start(c.players ? c.players : 2);
        if (c.players == 0) game_world_reset();
        ASSERT_EQ(game_player_count, c.players) << c.over;
        SaveSlotHead head;
        EXPECT_TRUE(save_slot_head(1, &head)) << c.over;
        EXPECT_FALSE(save_slot_head(2, &head)) << c.over;
        EXPECT_FALSE(save_slot_head(3, &head)) << c.over;
        EXPECT_EQ(save_read_slot(2), 0) << c.over;
        EXPECT_EQ(save_read_slot(3), 0) << c.over;
        ASSERT_EQ(save_read_slot(1), 1) << c.over;
        EXPECT_EQ(game_player_count, 3) << c.over;
        EXPECT_EQ(snapshot_slots[0].valid, 1) << c.over;
        EXPECT_EQ(save_image_encode(), saved) << c.over;
    }
}

// A slot whose file is there but cannot be used is named on stderr with the
// reason when the lists read it, once however often they are drawn; an empty
// slot says nothing.
TEST_F(SaveGame, TheListsTellWhyAFileThereIsNotListed) {
    start(2);
    std::vector<uint8_t> bad = save_image_encode();
    bad.pop_back();
    put(3, bad);
    SaveSlotHead head;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(save_slot_head(3, &head));
    EXPECT_FALSE(save_slot_head(3, &head));
    EXPECT_FALSE(save_slot_head(4, &head));
    const std::string told = ::testing::internal::GetCapturedStderr();
    const std::string path = (home / "SAVE3.DAT").string();
    ASSERT_NE(told.find(path), std::string::npos) << told;
    EXPECT_NE(told.find("bytes where 2 players"), std::string::npos) << told;
    EXPECT_EQ(told.find(path), told.rfind(path)) << "told once: " << told;
    EXPECT_EQ(told.find("SAVE4"), std::string::npos) << told;
}
