// A READ of a character variable (an internal unit) under a constant format, compiled for
// its items: when the format's first pass serves every item with a field of fixed width (Iw
// into an integer, A into a text as long as the field), each field's columns are known
// while the program is built. When the record holds them all, each is taken by the plain way
// that fits it (a whole decimal integer, characters as they stand) at its own columns, with
// no walk of the format and no choice at run time. A record too short for them, or a field
// that is not plain (a blank inside a number, a sign alone, a point...), gives the statement
// back to the engine, which reads the record again from its start, as any statement does,
// and stores the same values or raises the same condition.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
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
inline constexpr bool is_integer_field_item = std::is_integral_v<T> && !std::is_same_v<T, bool>;
template <class T>
inline constexpr std::size_t text_field_length = 0;  // not a text
template <std::size_t N>
inline constexpr std::size_t text_field_length<Text<N>> = N;

// The width of the field the entry gives the item, or 0 when it is not a fixed plain one.
template <class Item>
constexpr std::size_t fixed_field_width(const FormatEntry& entry) {
    if (entry.kind == FormatKind::I && is_integer_field_item<Item> && entry.width_given && entry.w > 0)
        return static_cast<std::size_t>(entry.w);
    if (entry.kind == FormatKind::A && text_field_length<Item> > 0 &&
        (!entry.width_given || static_cast<std::size_t>(entry.w) == text_field_length<Item>))
        return text_field_length<Item>;
    return 0;
}

// Where each item's field starts, and at the end the columns they need together; all zero
// when an item has no fixed plain field or the first pass does not serve every item.
template <FormatLiteral Text, class... Items>
consteval std::array<std::size_t, sizeof...(Items) + 1> fixed_field_columns() {
    using Format = ConstantFormat<Text>;
    std::array<std::size_t, sizeof...(Items) + 1> columns{};
    if (!Format::layout.usable || sizeof...(Items) == 0 || sizeof...(Items) > Format::layout.length) return columns;
    const std::array<std::size_t, sizeof...(Items)> widths = [&]<std::size_t... K>(std::index_sequence<K...>) {
        return std::array<std::size_t, sizeof...(Items)>{
            fixed_field_width<Items>(Format::program.entries[Format::pass[K]])...};
    }(std::index_sequence_for<Items...>{});
    for (std::size_t k = 0; k < widths.size(); ++k) {
        if (widths[k] == 0) return {};
        columns[k + 1] = columns[k] + widths[k];
    }
    return columns;
}

template <FormatLiteral Text, class... Items>
consteval bool compiles_to_plain_fields() {
    return fixed_field_columns<Text, Items...>().back() > 0;
}

template <std::size_t Start, std::size_t End, class Item>
[[gnu::always_inline]] inline bool read_fixed_field(const char* record, Item& item) {
    if constexpr (is_integer_field_item<Item>) {
        const IoItem shape = read_item(item);
        return read_plain_decimal({record + Start, End - Start}, shape, &item);
    } else {
        std::memcpy(item.data(), record + Start, End - Start);  // a size known while building: a few moves
        return true;
    }
}

// The whole statement, when every field is plain: the steps a statement takes at its start
// (the safe point for an interruption, the console's events, IOSTAT= set to 0) and its
// fields. False when the engine must take it.
template <FormatLiteral Text, class... Items>
[[gnu::always_inline]] inline bool read_plain_fields(const units::UnitSpec& u, const units::Control& control,
                                                     Items&... items) {
    static constexpr auto columns = fixed_field_columns<Text, Items...>();
    if (u.kind != units::UnitSpec::Kind::internal || u.internal_length < columns.back() ||
        !control.advance.empty() || control.size || (control.branches & units::branch_eor))
        return false;
    units::end_if_interrupted();
    units::poll_events();
    const bool plain = [&]<std::size_t... K>(std::index_sequence<K...>) {
        return (read_fixed_field<columns[K], columns[K + 1]>(u.internal, items) && ...);
    }(std::index_sequence_for<Items...>{});
    if (!plain) return false;
    if (control.iostat.present()) units::store_iostat(control.iostat, 0);
    units::poll_events();
    return true;
}

}  // namespace corvane::fmtio::detail
