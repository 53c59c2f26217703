#include <gtest/gtest.h>

#include <signal.h>

#include <string>

#include "support/runner_process.h"

namespace {

int count_lines(const std::string& s, const char* prefix) {
    int n = 0;
    size_t at = 0;
    while (at < s.size()) {
        size_t end = s.find('\n', at);
        if (end == std::string::npos) end = s.size();
        if (s.compare(at, std::char_traits<char>::length(prefix), prefix) == 0) ++n;
        at = end + 1;
    }
    return n;
}

TEST(Runner, SameArgumentsGiveTheSameOutputByteForByte) {
    RunOutput a = run_runner("11 1 3 45");
    RunOutput b = run_runner("11 1 3 45");
    ASSERT_EQ(a.status, 0) << a.out;
    EXPECT_EQ(a.out, b.out);
    EXPECT_EQ(count_lines(a.out, "end code="), 1);
    EXPECT_GT(count_lines(a.out, "day "), 10);
    EXPECT_NE(a.out.find("| P2 "), std::string::npos);
    EXPECT_EQ(a.out.find("| P3 "), std::string::npos); // three players only
}

TEST(Runner, DayLimitEndsTheGameAndAnotherSeedPlaysAnotherGame) {
    RunOutput a = run_runner("3 0 2 12");
    RunOutput b = run_runner("4 0 2 12");
    ASSERT_EQ(a.status, 0) << a.out;
    ASSERT_EQ(b.status, 0) << b.out;
    EXPECT_NE(a.out, b.out);
    // Two computer players rarely go bankrupt in twelve days: the limit ends it.
    EXPECT_NE(a.out.find("days=12"), std::string::npos) << a.out;
    EXPECT_NE(a.out.find("day 11 1998-01-12"), std::string::npos) << a.out;
}

TEST(Runner, BadArgumentsAreRefused) {
    EXPECT_EQ(run_runner("1 0 5 10").status, 2);
    EXPECT_EQ(run_runner("1 4 2 10").status, 2);
    EXPECT_EQ(run_runner("x 0 2 10").status, 2);
    EXPECT_EQ(run_runner("1 0 2").status, 2);
    EXPECT_EQ(run_runner("1 0 2 10 --loud").status, 2);
    EXPECT_EQ(run_runner("1 0 2 10 --messages --messages").status, 2);
}

TEST(Runner, SetUpChoicesOutsideTheirTablesOrRepeatedAreRefused) {
    for (const char* extra : {"--money 6", "--travel 3", "--land-term -1", "--victory 6",
                              "--money 1 --money 2", "--travel", "--victory x"}) {
        SCOPED_TRACE(extra);
        EXPECT_EQ(run_runner(std::string("1 0 2 10 ") + extra).status, 2);
    }
}

TEST(Runner, SetUpChoicesReplayByteForByteAndEveryDayShowsTheLoans) {
    const char* args = "9 2 4 60 --money 0 --travel 2 --land-term 3 --victory 4";
    const RunOutput a = run_runner(args);
    const RunOutput b = run_runner(args);
    ASSERT_EQ(a.status, 0) << a.out;
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, run_runner("9 2 4 60").out);
    const int days = count_lines(a.out, "day ");
    size_t columns = 0;
    for (size_t at = a.out.find(" sf="); at != std::string::npos; at = a.out.find(" sf=", at + 1))
        ++columns;
    EXPECT_GE(columns, static_cast<size_t>(days) * 3) << "a loan column per player in the game";
    EXPECT_NE(a.out.find(" loan=0 sf=0 due=- "), std::string::npos);
}

TEST(Runner, MessagesFlagAddsWhatWasShownBetweenTheLinesAndChangesNothingElse) {
    const RunOutput plain = run_runner("1 0 4 30");
    const RunOutput told = run_runner("1 0 4 30 --messages");
    const RunOutput both = run_runner("1 0 4 30 --animations --messages");
    ASSERT_EQ(told.status, 0) << told.out;
    ASSERT_EQ(both.status, 0) << both.out;
    std::string rest;
    size_t at = 0;
    while (at < told.out.size()) {
        size_t end = told.out.find('\n', at);
        if (end == std::string::npos) end = told.out.size() - 1;
        if (told.out.compare(at, 11, "  message: ") != 0) rest += told.out.substr(at, end - at + 1);
        at = end + 1;
    }
    EXPECT_EQ(rest, plain.out);
    // Landing on the points squares and paying tolls shows messages within 30 days.
    EXPECT_GT(count_lines(told.out, "  message: "), 5);
    EXPECT_EQ(count_lines(plain.out, "  message: "), 0);
    EXPECT_GT(count_lines(both.out, "  message: "), 5);
}

TEST(Runner, SigtermStopsALongGameAtOnceWithItsOwnStatus) {
    // Seed 5 on map 0 with two players lasts some 660 days: the signal comes
    // after the first day's line, long before the end.
    const RunOutput r =
        run_and_signal({runner_path(), "5", "0", "2", "100000"}, {}, true, 0, SIGTERM);
    EXPECT_EQ(r.status, 128 + SIGTERM) << r.out;
    EXPECT_NE(r.out.find("stopped by signal 15 on day "), std::string::npos) << r.out;
    EXPECT_EQ(count_lines(r.out, "end code=0"), 1) << r.out;
}

// A few of the seeded three-year games tools/runner/games.sh plays in the
// hundreds: each ends by its own rules, every invariant holding every day.
TEST(Runner, ThreeYearGamesOnEveryMapEndWithEveryInvariantHolding) {
    for (int map = 0; map < 4; ++map) {
        for (int seed : {1, 2}) {
            const std::string args = std::to_string(seed) + " " + std::to_string(map) + " " +
                                     std::to_string(2 + seed % 3) + " 1095";
            SCOPED_TRACE(args);
            const RunOutput r = run_runner(args);
            EXPECT_EQ(r.status, 0) << r.out.substr(r.out.size() > 2000 ? r.out.size() - 2000 : 0);
            EXPECT_EQ(r.out.find("invariant broken"), std::string::npos);
            EXPECT_EQ(count_lines(r.out, "end code="), 1);
            EXPECT_EQ(r.out.find("end code=0 "), std::string::npos);
        }
    }
}

} // namespace
