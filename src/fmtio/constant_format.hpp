// Constant formats, compiled while the program is built:  fmt<"(i4,12i5)">  stands for the
// compiled format of that text and keeps the text in its type, so that a statement can check
// its items against the format's data descriptors while the program is built
// (item_check.hpp). A malformed constant format is a build error.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fmtio/format_compiler.hpp"
#include "fmtio/format_program.hpp"

namespace corvane::fmtio {

template <std::size_t N>
struct FormatLiteral {
    char text[N]{};
    consteval FormatLiteral(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
    }
    constexpr std::string_view view() const { return {text, N - 1}; }
};

namespace detail {

struct ConstantSizes {
    std::uint32_t entries = 0;
    std::uint32_t pool = 0;
    int error = 0;
};

constexpr ConstantSizes measure_constant(std::string_view text) {
    std::vector<FormatEntry> entries;
    std::vector<char> pool;
    const CompileOutcome outcome = compile_format_into(strip_statement_label(text), entries, pool);
    return {static_cast<std::uint32_t>(entries.size()), static_cast<std::uint32_t>(pool.size()),
            outcome.error};
}

template <std::size_t Entries, std::size_t Pool>
struct ConstantProgram {
    std::array<FormatEntry, Entries> entries{};
    std::array<char, Pool> pool{};
};

template <std::size_t Entries, std::size_t Pool>
constexpr ConstantProgram<Entries, Pool> build_constant(std::string_view text) {
    std::vector<FormatEntry> entries;
    std::vector<char> pool;
    compile_format_into(strip_statement_label(text), entries, pool);
    ConstantProgram<Entries, Pool> program;
    for (std::size_t i = 0; i < entries.size(); ++i) program.entries[i] = entries[i];
    for (std::size_t i = 0; i < pool.size(); ++i) program.pool[i] = pool[i];
    return program;
}

template <FormatLiteral Text>
struct ConstantFormat {
    static constexpr ConstantSizes sizes = measure_constant(Text.view());
    static_assert(sizes.error != format_error::missing_open_paren, "constant format: missing opening (");
    static_assert(sizes.error != format_error::unmatched_parens, "constant format: unmatched parens");
    static_assert(sizes.error != format_error::unmatched_quotes, "constant format: unmatched quotes");
    static_assert(sizes.error != format_error::bad_repeat, "constant format: illegal repeat count");
    static_assert(sizes.error != format_error::non_repeatable,
                  "constant format: non-repeatable descriptor has a count");
    static_assert(sizes.error != format_error::hollerith_overrun,
                  "constant format: Hollerith count exceeds the text");
    static_assert(sizes.error == 0, "constant format: error in format string");

    static constexpr auto program =
        build_constant<sizes.entries, (sizes.pool > 0 ? sizes.pool : 1)>(Text.view());
    static constexpr FormatRef ref{program.entries.data(), program.pool.data(), sizes.entries};
};

}  // namespace detail

// The type of a constant format; it converts to the FormatRef the engine walks.
template <FormatLiteral Text>
struct ConstantFormatOf {
    FormatRef ref;
    constexpr operator FormatRef() const { return ref; }  // NOLINT: the format it stands for
};

template <FormatLiteral Text>
inline constexpr ConstantFormatOf<Text> fmt{detail::ConstantFormat<Text>::ref};

}  // namespace corvane::fmtio
