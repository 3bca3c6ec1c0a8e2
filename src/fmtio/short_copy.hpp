// Copying the few characters of a field or a literal. Most fields of a record are under a
// dozen characters, where a library call costs more than the copy: up to 16 bytes are moved
// as two overlapping loads and stores of a fixed size, which the compiler makes a couple of
// instructions. Every byte is loaded before any is stored, so the operands may overlap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace corvane::fmtio {

template <class Word>
inline void copy_two_words(char* to, const char* from, std::size_t n) {
    Word head, tail;
    std::memcpy(&head, from, sizeof head);
    std::memcpy(&tail, from + n - sizeof tail, sizeof tail);
    std::memcpy(to, &head, sizeof head);
    std::memcpy(to + n - sizeof tail, &tail, sizeof tail);
}

inline void copy_chars(char* to, const char* from, std::size_t n) {
    if (n > 16) {
        std::memmove(to, from, n);
    } else if (n >= 8) {
        copy_two_words<std::uint64_t>(to, from, n);
    } else if (n >= 4) {
        copy_two_words<std::uint32_t>(to, from, n);
    } else if (n > 0) {
        const char first = from[0], middle = from[n / 2], last = from[n - 1];
        to[0] = first;
        to[n / 2] = middle;
        to[n - 1] = last;
    }
}

}  // namespace corvane::fmtio
