// A table filled row by row at compile time that remembers which rows were
// written, so that a static_assert can ask that every row is set without
// comparing the rows themselves: a function's address is not a constant
// that every build (the sanitizers' among them) lets a comparison fold.
#pragma once

#include <array>
#include <cstddef>

template <class T, std::size_t N> struct FilledTable {
    std::array<T, N> rows{};
    std::array<bool, N> set{};

    // Writing a row through the index marks it set.
    constexpr T& operator[](std::size_t i) {
        set[i] = true;
        return rows[i];
    }
    constexpr bool complete() const {
        for (bool s : set)
            if (!s) return false;
        return true;
    }
};
