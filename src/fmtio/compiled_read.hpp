// A READ of a character variable (an internal unit) under a constant format, compiled for
// its items: when the format's first pass serves every item, the descriptor of each item is
// known while the program is built, and each field is taken by the plain way that fits its
// descriptor and its item (a whole decimal integer under Iw, a character field of the
// item's length under A), with no walk of the format and no choice at run time. A field
// that is not plain (a blank inside a number, an exponent, a field past the end of the
// record...) gives the statement back to the engine, which reads the record again from its
// start, as any statement does, and stores the same values or raises the same condition.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

#include "fmtio/constant_format.hpp"
#include "fmtio/input_editing.hpp"
#include "fmtio/io_item.hpp"
#include "units/console_streams.hpp"
#include "units/error_report.hpp"
#include "units/interruption.hpp"
#include "units/statement_context.hpp"

namespace corvane::fmtio::detail {

template <class T>
inline constexpr bool is_plain_field_item = std::is_integral_v<T> && !std::is_same_v<T, bool>;
template <std::size_t N>
inline constexpr bool is_plain_field_item<Text<N>> = true;

// Whether a READ of these items under the format can be compiled: one element each, all
// served by the first pass, so that no record ends among them.
template <FormatLiteral Text, class... Items>
consteval bool compiles_to_plain_fields() {
    using Format = ConstantFormat<Text>;
    return Format::layout.usable && sizeof...(Items) > 0 && sizeof...(Items) <= Format::layout.length &&
           (is_plain_field_item<Items> && ...);
}

template <FormatLiteral Text, std::size_t K, class Item>
[[gnu::always_inline]] inline bool read_plain_field(RecordReader& in, Item& item) {
    using Format = ConstantFormat<Text>;
    constexpr const FormatEntry& entry = Format::program.entries[Format::pass[K]];
    const IoItem shape = read_item(item);
    if constexpr (entry.kind == FormatKind::I) {
        return edit_plain_integer(in, entry, shape, shape.address);
    } else if constexpr (entry.kind == FormatKind::A) {
        return edit_plain_character(in, entry, shape, shape.address);
    } else {
        return false;
    }
}

// The whole statement, when every field is plain: the steps a statement takes at its start
// (the safe point for an interruption, the console's events, IOSTAT= set to 0) and its
// fields. False when the engine must take it.
template <FormatLiteral Text, class... Items>
[[gnu::always_inline]] inline bool read_plain_fields(const units::UnitSpec& u, const units::Control& control, Items&... items) {
    if (u.kind != units::UnitSpec::Kind::internal || !control.advance.empty() || control.size ||
        (control.branches & units::branch_eor))
        return false;
    units::end_if_interrupted();
    units::poll_events();
    RecordReader in{u.internal, u.internal_length, 0};
    const bool plain = [&]<std::size_t... K>(std::index_sequence<K...>) {
        return (read_plain_field<Text, K>(in, items) && ...);
    }(std::index_sequence_for<Items...>{});
    if (!plain) return false;
    if (control.iostat.present()) units::store_iostat(control.iostat, 0);
    units::poll_events();
    return true;
}

}  // namespace corvane::fmtio::detail
