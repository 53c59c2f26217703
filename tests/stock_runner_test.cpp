// Whole computer-only games through the runner: the players trade shares,
// the same seed trades the same way, and the market's invariants (shares of
// each company conserved, prices within their limits, a price index that
// never falls) hold on every day.
#include <gtest/gtest.h>

#include <string>

#include "support/runner_process.h"

namespace {

// Lines on which some player holds shares.
int lines_with_holdings(const std::string& out) {
    int n = 0;
    size_t at = 0;
    while (at < out.size()) {
        size_t end = out.find('\n', at);
        if (end == std::string::npos) end = out.size();
        const std::string line = out.substr(at, end - at);
        for (size_t h = line.find(" h="); h != std::string::npos; h = line.find(" h=", h + 1)) {
            if (h + 3 < line.size() && line[h + 3] != '-') {
                ++n;
                break;
            }
        }
        at = end + 1;
    }
    return n;
}

TEST(StockRunner, EveryMapTradesAndKeepsTheMarketsInvariants) {
    const char* games[] = {"5 0 4 80", "6 1 3 80", "7 2 4 80", "8 3 2 80"};
    int trading_days = 0;
    for (const char* args : games) {
        const RunOutput r = run_runner(args);
        EXPECT_EQ(r.out.find("invariant broken"), std::string::npos) << args << "\n" << r.out;
        EXPECT_EQ(r.status, 0) << args;
        EXPECT_NE(r.out.find(" | S "), std::string::npos) << args;
        EXPECT_NE(r.out.find(" nw="), std::string::npos) << args;
        trading_days += lines_with_holdings(r.out);
    }
    EXPECT_GT(trading_days, 20);
}

TEST(StockRunner, SameSeedTradesTheSameShares) {
    const RunOutput a = run_runner("21 0 4 60");
    const RunOutput b = run_runner("21 0 4 60");
    ASSERT_EQ(a.status, 0) << a.out;
    EXPECT_EQ(a.out, b.out);
    EXPECT_GT(lines_with_holdings(a.out), 0) << a.out;
}

}  // namespace
