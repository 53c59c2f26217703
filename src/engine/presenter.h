// A presenter: the small struct of functions through which a rule module shows
// what happens to its window, and the one slot the window module fills. The
// rule module owns both, typed for what its window shows:
//
//     // finance/lottery.h
//     struct LotteryPresenter {
//         void (*open)(int cur);
//         void (*stamp)(int ticket);
//         void (*close)();
//     };
//     extern PresenterSlot<LotteryPresenter> lottery_presenter;
//
//     // finance/lottery.cpp: what runs when no window is linked
//     constinit PresenterSlot<LotteryPresenter> lottery_presenter{{open_none, ...}};
//
//     // finance/lottery_screen.cpp: the window's one registration line
//     PRESENTER(lottery_presenter, LotteryPresenter{lottery_window_open, ...});
//
// and the rules call lottery_presenter().open(cur). The slot starts with the
// rule module's own rows (a program without the window shows nothing), the
// window replaces them once, by a static initialiser, before the program runs;
// a second window for the same slot aborts at start. The slot is constant-
// initialised, so it is ready before any registration line runs.
#pragma once

#include <cstdio>
#include <cstdlib>

template <class Presenter> class PresenterSlot {
  public:
    constexpr explicit PresenterSlot(const Presenter& fallback) : rows_(fallback) {}

    // Puts the window's rows in place of the fallback. Returns true so that it
    // can initialise a file-scope constant.
    bool install(const Presenter& rows, const char* by) {
        if (installed_by_ != nullptr) {
            std::fprintf(stderr, "two windows present one presenter: %s and %s\n", installed_by_,
                         by);
            std::abort();
        }
        rows_ = rows;
        installed_by_ = by;
        return true;
    }
    const Presenter& operator()() const { return rows_; }
    bool installed() const { return installed_by_ != nullptr; }

  private:
    Presenter rows_;
    const char* installed_by_ = nullptr;
};

#define PRESENTER_JOIN2(a, b) a##b
#define PRESENTER_JOIN(a, b) PRESENTER_JOIN2(a, b)
#define PRESENTER(slot, ...)                                                                       \
    namespace {                                                                                    \
    [[maybe_unused]] const bool PRESENTER_JOIN(presenter_installed_,                               \
                                               __LINE__) = (slot).install(__VA_ARGS__, __FILE__);  \
    }
