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

#include "fmtio/data_descriptor_walk.hpp"
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

// The first pass of a format as the run time walks it, element by element: the entry each
// element is edited under, and the place in the pass where the format starts again. Only
// for formats of data descriptors alone (a control or a literal needs the walk), and only
// up to max_pass_length elements.
inline constexpr std::size_t max_pass_length = 1024;

struct PassLayout {
    std::uint32_t length = 0;
    std::uint32_t reversion = 0;
    bool usable = false;
};

// Measures the pass, laying out as much of it as `room` entries of `into` hold. Two passes
// of the walk: the first is the pass; the second, from the reversion point, is the part of
// it that the format starts again with.
constexpr PassLayout lay_out_pass(FormatRef format, std::uint16_t* into, std::size_t room) {
    for (std::size_t i = 0; i < format.count; ++i) {
        const FormatKind kind = format.entries[i].kind;
        if (!is_data_kind(kind) && kind != FormatKind::header && kind != FormatKind::group_open &&
            kind != FormatKind::group_close && kind != FormatKind::end)
            return {};
    }
    DataDescriptorWalk walk(format);
    std::uint32_t length = 0, again = 0;
    for (;;) {
        if (walk.next() == FormatKind::end) return {};  // a walk that cannot be followed here
        if (walk.reversions() == 2) break;
        if (walk.reversions() == 1) {
            ++again;
            continue;
        }
        if (length == max_pass_length) return {};
        if (length < room) into[length] = static_cast<std::uint16_t>(walk.entry_index());
        ++length;
    }
    return {length, length - again, length > 0};
}

constexpr bool holds_real_editing(FormatRef format) {
    for (std::size_t i = 0; i < format.count; ++i) {
        if (is_real_kind(format.entries[i].kind)) return true;
    }
    return false;
}

template <std::size_t Length>
constexpr std::array<std::uint16_t, Length> build_pass(FormatRef format) {
    std::array<std::uint16_t, Length> pass{};
    lay_out_pass(format, pass.data(), Length);
    return pass;
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
    static constexpr FormatRef walked{program.entries.data(), program.pool.data(), sizes.entries};
    static constexpr PassLayout layout = lay_out_pass(walked, nullptr, 0);
    static constexpr auto pass = build_pass<(layout.usable ? layout.length : 1)>(walked);
    static constexpr FormatRef ref{walked.entries,
                                   walked.pool,
                                   walked.count,
                                   layout.usable ? pass.data() : nullptr,
                                   static_cast<std::uint16_t>(layout.usable ? layout.length : 0),
                                   static_cast<std::uint16_t>(layout.reversion),
                                   holds_real_editing(walked)};
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
