// The presenter slot: a rule module's own rows until its window installs its
// rows once; a second window for the same slot stops the program at start.
#include "engine/presenter.h"

#include <gtest/gtest.h>

namespace {

struct CountPresenter {
    int (*shown)(int n);
};

int shown_nowhere(int) {
    return 0;
}
int shown_in_window(int n) {
    return n + 1;
}
int shown_in_another(int n) {
    return n + 2;
}

TEST(Presenter, TheRuleModulesRowsAnswerUntilAWindowInstallsItsOwn) {
    PresenterSlot<CountPresenter> slot{CountPresenter{shown_nowhere}};
    EXPECT_FALSE(slot.installed());
    EXPECT_EQ(slot().shown(5), 0);
    EXPECT_TRUE(slot.install(CountPresenter{shown_in_window}, "lottery_screen.cpp"));
    EXPECT_TRUE(slot.installed());
    EXPECT_EQ(slot().shown(5), 6);
}

TEST(PresenterDeathTest, ASecondWindowForOneSlotStopsTheProgramNamingBoth) {
    PresenterSlot<CountPresenter> slot{CountPresenter{shown_nowhere}};
    slot.install(CountPresenter{shown_in_window}, "first_screen.cpp");
    EXPECT_DEATH(slot.install(CountPresenter{shown_in_another}, "second_screen.cpp"),
                 "first_screen.cpp and second_screen.cpp");
}

} // namespace
