#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "fmtio/short_copy.hpp"

namespace corvane::fmtio {
namespace {

// Every length on both sides of the word sizes, with the source before, on and after the
// destination: the copy must match memmove, overlap included, and touch nothing else.
TEST(ShortCopy, MatchesMemmoveForEveryLengthAndOverlap) {
    for (std::size_t n = 0; n <= 40; ++n) {
        for (int shift = -20; shift <= 20; ++shift) {
            std::array<char, 128> expected{}, actual{};
            for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = actual[i] = static_cast<char>('!' + i % 90);
            const std::size_t to = 40, from = static_cast<std::size_t>(40 + shift);
            std::memmove(expected.data() + to, expected.data() + from, n);
            copy_chars(actual.data() + to, actual.data() + from, n);
            EXPECT_EQ(actual, expected) << "length " << n << ", source at " << shift;
        }
    }
}

}  // namespace
}  // namespace corvane::fmtio
