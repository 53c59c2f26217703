// Whole computer-only games through the runner: the players trade shares,
// the same seed trades the same way, and the market's invariants (shares of
// each company conserved, prices within their limits, a price index that
// never falls) hold on every day.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/runner_process.h"

namespace {

// Holdings that rose (a purchase) and fell (a sale) from one day's line to
// the next, read from each player's "h=stock:shares,..." column.
struct Trades {
    int rises = 0;
    int falls = 0;
};

Trades count_trades(const std::string& out) {
    Trades t;
    std::vector<std::map<int, int>> before;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::map<int, int>> now;
        for (size_t h = line.find(" h="); h != std::string::npos; h = line.find(" h=", h + 1)) {
            std::map<int, int> held;
            std::istringstream column(line.substr(h + 3, line.find(' ', h + 3) - (h + 3)));
            int stock = 0;
            int shares = 0;
            char colon = 0;
            while (column >> stock >> colon >> shares) {
                held[stock] = shares;
                column.ignore(1);
            }
            now.push_back(held);
        }
        if (now.empty()) continue;
        for (size_t p = 0; p < now.size() && p < before.size(); ++p) {
            for (const auto& [stock, shares] : now[p])
                if (shares > before[p][stock]) ++t.rises;
            for (const auto& [stock, shares] : before[p])
                if (now[p][stock] < shares) ++t.falls;
        }
        before = now;
    }
    return t;
}

TEST(StockRunner, EveryMapTradesAndKeepsTheMarketsInvariants) {
    const char* games[] = {"5 0 4 80", "6 1 3 80", "7 2 4 80", "8 3 2 80"};
    Trades trades;
    for (const char* args : games) {
        const RunOutput r = run_runner(args);
        EXPECT_EQ(r.out.find("invariant broken"), std::string::npos) << args << "\n" << r.out;
        EXPECT_EQ(r.status, 0) << args;
        EXPECT_NE(r.out.find(" | S "), std::string::npos) << args;
        EXPECT_NE(r.out.find(" nw="), std::string::npos) << args;
        const Trades t = count_trades(r.out);
        trades.rises += t.rises;
        trades.falls += t.falls;
    }
    // The computers both buy and sell.
    EXPECT_GT(trades.rises, 5);
    EXPECT_GT(trades.falls, 0);
}

TEST(StockRunner, SameSeedTradesTheSameShares) {
    const RunOutput a = run_runner("21 0 4 60");
    const RunOutput b = run_runner("21 0 4 60");
    ASSERT_EQ(a.status, 0) << a.out;
    EXPECT_EQ(a.out, b.out);
    EXPECT_GT(count_trades(a.out).rises, 0) << a.out;
}

} // namespace
