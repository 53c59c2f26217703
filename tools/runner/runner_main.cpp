// karvo_runner SEED MAP PLAYERS DAYS [--animations] [--messages] [CHOICES]
// karvo_runner SEED MAP PLAYERS DAYS --human [--animations] [--script FILE] [--shot FILE.bmp]
//              [CHOICES]
// CHOICES, rows of the set-up screen's tables: --money 0-5 (default 3, 50000),
// --travel 0-2, --land-term 0-5, --victory 0-5 (default 0 each).
// Plays a computer-only game headless and prints one line per game day and
// a final line with the end code and the leader. Exit status 4 when an
// invariant broke on some day (the line says which), 3 when the game stalled,
// 128 + the signal when SIGINT or SIGTERM stopped it. With --human a human
// plays seat 0 on the board screen instead.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/world_reset.h"
#include "platform/clock.h"
#include "runner_game.h"
#include "shell/save.h"

namespace {

int32_t checked_price_index = 1;
bool invariant_broken = false;
bool print_messages = false;
long roundtrip_day = -1;    // --roundtrip-at: save, reset and load after this day's line
long reload_steps_day = -1; // --reload-steps-at: only the load's own steps there
bool save_failed = false;

// After day D's line: the game goes through slot 1 and on (or through the
// load's own steps alone, which a load ends with).
void pass_through_a_save(long day) {
    if (day == roundtrip_day) {
        std::string error;
        if (!save_write_slot(1, &error) || (game_world_reset(), save_read_slot(1, &error) != 1)) {
            std::printf("invariant broken: the round trip through slot 1 failed: %s\n",
                        error.c_str());
            save_failed = true;
        }
    }
    if (day == reload_steps_day) save_load_own_steps(plat_tick_count());
}

void print_pending_messages() {
    if (print_messages) std::fputs(runner_shown_messages().c_str(), stdout);
}

// Prints the day and checks the market's invariants after it.
void print_day(void*) {
    print_pending_messages();
    std::printf("%s\n", runner_day_line().c_str());
    const std::string broken = runner_stock_check(&checked_price_index);
    if (!broken.empty()) {
        std::printf("invariant broken: %s\n", broken.c_str());
        invariant_broken = true;
    }
    const std::string money_broken = runner_money_check();
    if (!money_broken.empty()) {
        std::printf("invariant broken: %s\n", money_broken.c_str());
        invariant_broken = true;
    }
    const std::string bank_broken = runner_bank_check();
    if (!bank_broken.empty()) {
        std::printf("invariant broken: %s\n", bank_broken.c_str());
        invariant_broken = true;
    }
    const std::string card_broken = runner_card_check();
    if (!card_broken.empty()) {
        std::printf("invariant broken: %s\n", card_broken.c_str());
        invariant_broken = true;
    }
    const std::string item_broken = runner_item_check();
    if (!item_broken.empty()) {
        std::printf("invariant broken: %s\n", item_broken.c_str());
        invariant_broken = true;
    }
    for (const std::string& finance_broken : {runner_lottery_check(), runner_auction_check(),
                                              runner_shop_check(), runner_settlement_check()}) {
        if (finance_broken.empty()) continue;
        std::printf("invariant broken: %s\n", finance_broken.c_str());
        invariant_broken = true;
    }
    const std::string board_broken = god_board_check();
    if (!board_broken.empty()) {
        std::printf("invariant broken: %s\n", board_broken.c_str());
        invariant_broken = true;
    }
    pass_through_a_save(game_days_elapsed);
}

// The runner's settings and saves live in a fresh directory of its own,
// removed at the end, and its games start on 1 January 1998, so that what it
// prints never depends on the files or the day it runs on.
std::string temporary_home;

void remove_temporary_home() {
    if (temporary_home.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(temporary_home, ignored);
    temporary_home.clear();
}

bool make_home(const char* save_dir) {
    setenv("KARVO_TODAY", "1998-01-01", 1);
    if (save_dir) {
        setenv("KARVO_HOME", save_dir, 1);
        return true;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/karvo-runner-XXXXXX";
    if (!mkdtemp(pattern.data())) return false;
    temporary_home = pattern;
    std::atexit(remove_temporary_home);
    setenv("KARVO_HOME", temporary_home.c_str(), 1);
    return true;
}

bool parse_int(const char* text, long min, long max, long* out) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!end || *end != '\0' || end == text || v < min || v > max) return false;
    *out = v;
    return true;
}

} // namespace

// A set-up choice "--NAME ROW" at argv[*a]: true when it is one, with *ok
// false for a repeated choice or a row outside 0..max.
struct Choice {
    const char* name;
    long max;
    long value;
    bool given;
};

bool take_choice(Choice* choices, int count, int argc, char** argv, int* a, bool* ok) {
    for (int c = 0; c < count; ++c) {
        if (std::strcmp(argv[*a], choices[c].name) != 0) continue;
        if (choices[c].given || *a + 1 >= argc ||
            !parse_int(argv[*a + 1], 0, choices[c].max, &choices[c].value))
            *ok = false;
        choices[c].given = true;
        ++*a;
        return true;
    }
    return false;
}

int main(int argc, char** argv) {
    long seed = 0, map = 0, players = 0, days = 0;
    bool animations = false, human = false;
    const char* script = nullptr;
    const char* shot = nullptr;
    const char* save_dir = nullptr;
    bool autosave = false;
    Choice choices[] = {{"--money", 5, 3, false},
                        {"--travel", 2, 0, false},
                        {"--land-term", 5, 0, false},
                        {"--victory", 5, 0, false}};
    bool options_ok = argc >= 5;
    for (int a = 5; a < argc && options_ok; ++a) {
        if (take_choice(choices, 4, argc, argv, &a, &options_ok)) continue;
        if (std::strcmp(argv[a], "--animations") == 0 && !animations)
            animations = true;
        else if (std::strcmp(argv[a], "--messages") == 0 && !print_messages)
            print_messages = true;
        else if (std::strcmp(argv[a], "--human") == 0 && !human)
            human = true;
        else if (std::strcmp(argv[a], "--script") == 0 && !script && a + 1 < argc)
            script = argv[++a];
        else if (std::strcmp(argv[a], "--shot") == 0 && !shot && a + 1 < argc)
            shot = argv[++a];
        else if (std::strcmp(argv[a], "--save-dir") == 0 && !save_dir && a + 1 < argc)
            save_dir = argv[++a];
        else if (std::strcmp(argv[a], "--autosave") == 0 && !autosave)
            autosave = true;
        else if (std::strcmp(argv[a], "--roundtrip-at") == 0 && roundtrip_day < 0 && a + 1 < argc)
            options_ok = parse_int(argv[++a], 1, 100000, &roundtrip_day);
        else if (std::strcmp(argv[a], "--reload-steps-at") == 0 && reload_steps_day < 0 &&
                 a + 1 < argc)
            options_ok = parse_int(argv[++a], 1, 100000, &reload_steps_day);
        else
            options_ok = false;
    }
    // A script and a shot need the human's window; the messages are the
    // computer-only game's printout.
    if ((script || shot) && !human) options_ok = false;
    if (human && print_messages) options_ok = false;
    if (human && (roundtrip_day >= 0 || reload_steps_day >= 0)) options_ok = false;
    if (!options_ok || !parse_int(argv[1], 0, 0xFFFFFFFFL, &seed) ||
        !parse_int(argv[2], 0, 3, &map) || !parse_int(argv[3], 2, 4, &players) ||
        !parse_int(argv[4], 1, 100000, &days)) {
        std::fprintf(stderr, "usage: karvo_runner SEED MAP(0-3) PLAYERS(2-4) DAYS [--animations] "
                             "[--messages] [SAVES] [CHOICES]\n"
                             "       karvo_runner SEED MAP(0-3) PLAYERS(2-4) DAYS --human "
                             "[--animations] [--script FILE] [--shot FILE.bmp] [--save-dir DIR] "
                             "[--autosave] [CHOICES]\n"
                             "SAVES: [--save-dir DIR] [--autosave] [--roundtrip-at DAY] "
                             "[--reload-steps-at DAY]\n"
                             "CHOICES: [--money 0-5] [--travel 0-2] [--land-term 0-5] "
                             "[--victory 0-5]\n");
        return 2;
    }
    if (!make_home(save_dir)) {
        std::fprintf(stderr, "karvo_runner: cannot make a temporary directory\n");
        return 1;
    }
    RunnerOptions options;
    options.seed = static_cast<uint32_t>(seed);
    options.map = static_cast<int>(map);
    options.players = static_cast<int>(players);
    options.days = static_cast<int>(days);
    options.animations = animations;
    options.autosave = autosave;
    options.money = static_cast<int>(choices[0].value);
    options.travel = static_cast<int>(choices[1].value);
    options.land_term = static_cast<int>(choices[2].value);
    options.victory = static_cast<int>(choices[3].value);
    if (human) {
        std::string error;
        const int status = runner_human_session(options, script, shot, &error);
        if (status != 0) std::fprintf(stderr, "karvo_runner: %s\n", error.c_str());
        return status;
    }
    // One line at a time, so that a reader sees each day as it is played.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string error;
    if (!runner_setup(options, &error)) {
        std::fprintf(stderr, "karvo_runner: %s\n", error.c_str());
        return 1;
    }
    runner_watch_cards();
    runner_watch_items();
    runner_watch_lottery();
    runner_watch_auctions();
    runner_watch_settlements();
    RunnerResult result = runner_play(options, print_day, nullptr);
    runner_close();
    print_pending_messages();
    const std::string stop = runner_stop_line(result);
    if (!stop.empty()) std::printf("%s\n", stop.c_str());
    std::printf("%s\n", runner_final_line(result).c_str());
    return runner_exit_status(result, invariant_broken || save_failed);
}
