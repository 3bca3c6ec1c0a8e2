// Fixed-length, blank-padded character values and the operations the program uses on them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace corvane::fmtio {

// Equality ignores trailing blanks: the shorter operand counts as padded with blanks.
bool text_equal(std::string_view a, std::string_view b);
inline bool text_not_equal(std::string_view a, std::string_view b) { return !text_equal(a, b); }

// Ordering compares unsigned byte values at the first difference, a blank standing in for
// a missing character. Negative, zero or positive.
int text_compare(std::string_view a, std::string_view b);

// Copies min(lengths) bytes and fills the rest of dst with blanks; overlapping operands
// are allowed.
void text_assign(char* dst, std::size_t dst_length, std::string_view src);

// Writes a then b into dst, never past its capacity; returns the resulting length.
std::size_t text_concat(char* dst, std::size_t capacity, std::string_view a, std::string_view b);

// A character variable of N characters, blank padded.
template <std::size_t N>
struct Text {
    static constexpr std::size_t length = N;
    char chars[N];

    constexpr Text() { std::fill_n(chars, N, ' '); }
    Text(std::string_view s) { text_assign(chars, N, s); }  // NOLINT: assignment as the language does it
    Text& operator=(std::string_view s) {
        text_assign(chars, N, s);
        return *this;
    }
    template <std::size_t M>
    Text& operator=(const Text<M>& other) {
        text_assign(chars, N, other.view());
        return *this;
    }

    constexpr std::string_view view() const { return {chars, N}; }
    // The value without its trailing blanks, for building names and messages.
    std::string_view trimmed() const {
        std::size_t n = N;
        while (n > 0 && chars[n - 1] == ' ') --n;
        return {chars, n};
    }
    char* data() { return chars; }
    const char* data() const { return chars; }

    // Characters first..last (1-based, inclusive), as the language writes c(first:last).
    std::string_view sub(std::size_t first, std::size_t last) const { return view().substr(first - 1, last - first + 1); }

    friend bool operator==(const Text& a, std::string_view b) { return text_equal(a.view(), b); }
    template <std::size_t M>
    friend bool operator==(const Text& a, const Text<M>& b) { return text_equal(a.view(), b.view()); }
};

}  // namespace corvane::fmtio
