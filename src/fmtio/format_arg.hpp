// The format and the unit of a READ or WRITE as the caller names them: a constant format, a
// text compiled when the statement runs, or list-directed; a unit number, the default unit
// or an internal unit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fmtio/constant_format.hpp"
#include "fmtio/format_program.hpp"
#include "fmtio/text_ops.hpp"
#include "units/statement_context.hpp"

namespace corvane::fmtio {

using units::Control;
using units::StatementKind;
using units::UnitSpec;

// How a statement is formatted: a compiled constant format, a text compiled when the
// statement runs, or none (list-directed).
struct FormatArg {
    enum class Kind : std::uint8_t { compiled, text, list };
    Kind kind = Kind::list;
    FormatRef compiled;
    std::string_view text;

    constexpr FormatArg(FormatRef f) : kind(Kind::compiled), compiled(f) {}  // NOLINT: a format is a format
    template <FormatLiteral Text>
    constexpr FormatArg(ConstantFormatOf<Text> f) : FormatArg(f.ref) {}  // NOLINT: as above
    constexpr FormatArg() = default;
};
inline constexpr FormatArg list_directed{};
inline FormatArg runtime_format(std::string_view text) {
    FormatArg f;
    f.kind = FormatArg::Kind::text;
    f.text = text;
    return f;
}

// An internal unit: a character variable read or written as one record.
inline UnitSpec internal_unit(char* chars, std::size_t length) {
    return {UnitSpec::Kind::internal, 0, chars, static_cast<std::uint32_t>(length), chars};
}
template <std::size_t N>
UnitSpec internal_unit(Text<N>& text) {
    return internal_unit(text.data(), N);
}
template <std::size_t N>
UnitSpec internal_unit(const Text<N>& text) {  // READ only: a WRITE to it meets 10024
    return {UnitSpec::Kind::internal, 0, text.data(), static_cast<std::uint32_t>(N), nullptr};
}

}  // namespace corvane::fmtio
