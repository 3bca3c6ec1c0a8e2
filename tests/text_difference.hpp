// A readable account of where two texts differ: the first line that does, both ways, with
// control characters shown, so that a failed comparison of files reads without a byte dump.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace corvane::testing {

inline std::string hex_byte(unsigned char c) {
    constexpr char digits[] = "0123456789abcdef";
    return {digits[c >> 4], digits[c & 15]};
}

inline std::string visible(std::string_view line) {
    std::string s;
    for (char c : line) {
        if (c == '\r') s += "\\r";
        else if (static_cast<unsigned char>(c) < 32 || c == 127) s += "\\x" + hex_byte(static_cast<unsigned char>(c));
        else s += c;
    }
    return s;
}

// Empty when equal; otherwise the first line that differs, both ways, so a failure reads
// without a byte dump.
inline std::string difference(const std::string& expected, const std::string& actual) {
    if (expected == actual) return {};
    std::size_t line = 1, start = 0;
    const std::size_t n = std::min(expected.size(), actual.size());
    std::size_t i = 0;
    while (i < n && expected[i] == actual[i]) {
        if (expected[i] == '\n') {
            ++line;
            start = i + 1;
        }
        ++i;
    }
    auto line_at = [start](const std::string& s) {
        const std::size_t end = s.find('\n', start);
        return start > s.size() ? std::string_view{} : std::string_view(s).substr(start, end == std::string::npos
                                                                                                 ? std::string::npos
                                                                                                 : end - start);
    };
    return "first difference in line " + std::to_string(line) + " (byte " + std::to_string(i) + ")\n  expected: \"" +
           visible(line_at(expected)) + "\"" + (i == expected.size() ? " <end>" : "") + "\n  actual:   \"" +
           visible(line_at(actual)) + "\"" + (i == actual.size() ? " <end>" : "") + "\n  sizes: expected " +
           std::to_string(expected.size()) + ", actual " + std::to_string(actual.size());
}

}  // namespace corvane::testing
