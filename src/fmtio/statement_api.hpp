// The front door of the record run-time for application code: READ and WRITE as the program
// writes them (a unit, optional catching specifiers, a format, and the items), the
// connection statements, STOP, units and items, e.g.
//     write(default_unit, fmt<"(1x,i4,1x,a)">, count, name);
//     read(unit(14), {on_end | on_err}, fmt<"15(I3,I8,i1,i4,12I5)">, country, id, dup, year, values);
// Each returns the statement's outcome: ok, error (ERR branch), end (END branch) or eor (EOR
// branch). With a constant format the items are checked against its data descriptors while
// the program is built; READ items must be variables it may store into. The engine itself
// (walker, editing, records, connections) stays behind this header.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <type_traits>

#include "fmtio/compiled_read.hpp"
#include "fmtio/constant_format.hpp"
#include "fmtio/format_arg.hpp"
#include "fmtio/io_item.hpp"
#include "fmtio/item_check.hpp"
#include "units/connection_statements.hpp"
#include "units/statement_context.hpp"
#include "units/termination.hpp"

namespace corvane::fmtio {

using units::default_unit;
using units::on_end;
using units::on_err;
using units::Outcome;
using units::unit;

// The whole statement in one call (io_statement.cpp).
Outcome run_statement(StatementKind kind, const UnitSpec& u, Control control, const FormatArg& format,
                      const IoItem* items, std::size_t count);

// A WRITE of character values counted only while the program runs (io_statement.cpp).
Outcome run_text_statement(const UnitSpec& u, Control control, const FormatArg& format,
                           std::span<const std::string_view> texts);

namespace detail {
// Whether every data descriptor of a format is an A: what any number of character items fits.
consteval bool only_character_data(const FormatRef& format) {
    for (std::size_t i = 0; i < format.count; ++i) {
        if (is_data_kind(format.entries[i].kind) && format.entries[i].kind != FormatKind::A) return false;
    }
    return true;
}

template <class... Items>
constexpr bool all_modifiable() {
    return (is_modifiable_item<std::remove_reference_t<Items>> && ...);
}
}  // namespace detail

template <class... Items>
Outcome write(const UnitSpec& u, Control control, const FormatArg& format, const Items&... items) {
    const std::array<IoItem, sizeof...(Items)> list{make_item(items)...};
    return run_statement(StatementKind::write, u, control, format, list.data(), list.size());
}

template <FormatLiteral Text, class... Items>
Outcome write(const UnitSpec& u, Control control, ConstantFormatOf<Text> format, const Items&... items) {
    static_assert(detail::ItemsFitFormat<Text, false, Items...>::checked);
    return write(u, control, FormatArg(format), items...);
}

template <class... Items>
Outcome write(const UnitSpec& u, const FormatArg& format, const Items&... items) {
    return write(u, Control{}, format, items...);
}

template <FormatLiteral Text, class... Items>
Outcome write(const UnitSpec& u, ConstantFormatOf<Text> format, const Items&... items) {
    return write(u, Control{}, format, items...);
}

// A WRITE whose items are a run of texts known only while the program runs, e.g. the rows of
// a table written together, each a record of its own as "(a)" reverts:
//     write_texts(unit(30), fmt<"(a)">, rows);
template <FormatLiteral Text>
Outcome write_texts(const UnitSpec& u, ConstantFormatOf<Text> format, std::span<const std::string_view> texts) {
    static_assert(detail::only_character_data(fmt<Text>.ref), "write_texts: the format may only hold A data descriptors");
    return run_text_statement(u, Control{}, FormatArg(format), texts);
}

template <class... Items>
Outcome read(const UnitSpec& u, Control control, const FormatArg& format, Items&... items) {
    static_assert(detail::all_modifiable<Items...>(),
                  "READ items must be variables it may store into: not a const object, a literal or a "
                  "read-only view");
    const std::array<IoItem, sizeof...(Items)> list{read_item(items)...};
    return run_statement(StatementKind::read, u, control, format, list.data(), list.size());
}

template <FormatLiteral Text, class... Items>
Outcome read(const UnitSpec& u, Control control, ConstantFormatOf<Text> format, Items&... items) {
    static_assert(detail::ItemsFitFormat<Text, true, Items...>::checked);
    if constexpr (detail::compiles_to_plain_fields<Text, Items...>()) {
        if (detail::read_plain_fields<Text>(u, control, items...)) return units::outcome_ok;
    }
    return read(u, control, FormatArg(format), items...);
}

template <class... Items>
Outcome read(const UnitSpec& u, const FormatArg& format, Items&... items) {
    return read(u, Control{}, format, items...);
}

template <FormatLiteral Text, class... Items>
Outcome read(const UnitSpec& u, ConstantFormatOf<Text> format, Items&... items) {
    return read(u, Control{}, format, items...);
}

}  // namespace corvane::fmtio
