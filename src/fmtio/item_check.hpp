// The items of a statement against its constant format, while the program is built: the
// format is walked as the run time walks it (repeat counts, groups, the reversion at its
// end) and every element is paired with its data descriptor. A pairing the run time would
// refuse with 10022 is a build error. What cannot be told before the run (an item of run-
// time length, a format without data descriptors, a walk too long to follow) is allowed
// and left to the run time's own checks.
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "fmtio/constant_format.hpp"
#include "fmtio/data_descriptor_walk.hpp"
#include "fmtio/descriptor_fit.hpp"
#include "fmtio/format_program.hpp"
#include "fmtio/io_item.hpp"
#include "fmtio/text_ops.hpp"

namespace corvane::fmtio::detail {

// An item as the check sees it: its type, element size and element count.
struct ItemShape {
    bool known = false;  // false: the count (or the type) is only known when the statement runs
    TypeClass type = TypeClass::integer;
    unsigned size = 0;
    std::uint32_t count = 1;
};

template <class T>
struct ItemShapeOf {
    static constexpr ItemShape shape() {
        if constexpr (ScalarItem<T> && !std::is_same_v<T, bool>) return {true, type_class_of<T>(), sizeof(T), 1};
        else return {};
    }
};
template <class T, std::size_t N>
struct ItemShapeOf<std::array<T, N>> {
    static constexpr ItemShape shape() {
        ItemShape s = ItemShapeOf<T>::shape();
        s.count *= static_cast<std::uint32_t>(N);
        return s;
    }
};
template <class T, std::size_t N>
struct ItemShapeOf<T[N]> : ItemShapeOf<std::array<T, N>> {};
template <class T, std::size_t N>
    requires(!std::is_same_v<std::remove_const_t<T>, char>)
struct ItemShapeOf<std::span<T, N>> {
    static constexpr ItemShape shape() {
        if constexpr (N == std::dynamic_extent) return {};
        else return ItemShapeOf<std::array<std::remove_const_t<T>, N>>::shape();
    }
};
template <std::size_t N>
struct ItemShapeOf<Text<N>> {
    static constexpr ItemShape shape() { return {true, TypeClass::character, 1, 1}; }
};
template <std::size_t N>
struct ItemShapeOf<char[N]> : ItemShapeOf<Text<N>> {};
template <>
struct ItemShapeOf<std::string_view> : ItemShapeOf<Text<1>> {};
template <std::size_t N>
struct ItemShapeOf<std::span<char, N>> : ItemShapeOf<Text<1>> {};

// The first refusal met while the items walk the format, or Misfit::none.
constexpr Misfit first_misfit(FormatRef format, const ItemShape* items, std::size_t count, bool reading) {
    // A format the compiler found no data descriptor in fails (10006) before any pairing.
    if (!format.entries[format.count - 1].has_data) return Misfit::none;
    DataDescriptorWalk walk(format);
    for (std::size_t i = 0; i < count; ++i) {
        const ItemShape item = items[i];
        if (!item.known) return Misfit::none;  // where the next item starts is not known here
        // A complex element is two reals under two descriptors.
        const bool complex = item.type == TypeClass::complex;
        const TypeClass type = complex ? TypeClass::real : item.type;
        const unsigned size = complex ? item.size / 2 : item.size;
        const std::uint32_t elements = complex ? 2 * item.count : item.count;
        for (std::uint32_t e = 0; e < elements;) {
            const FormatKind kind = walk.next();
            if (kind == FormatKind::end) return Misfit::none;
            if (const Misfit m = descriptor_misfit(kind, type, size, reading); m != Misfit::none) return m;
            e += 1 + (complex ? 0 : walk.take_repeats(elements - e - 1));
        }
    }
    return Misfit::none;
}

template <class... Items>
constexpr Misfit first_misfit(FormatRef format, bool reading) {
    if constexpr (sizeof...(Items) == 0) {
        return Misfit::none;
    } else {
        const ItemShape shapes[] = {ItemShapeOf<std::remove_cvref_t<Items>>::shape()...};
        return first_misfit(format, shapes, sizeof...(Items), reading);
    }
}

// Instantiated by READ and WRITE with a constant format: the assertions are the build errors.
template <FormatLiteral Text, bool Reading, class... Items>
struct ItemsFitFormat {
    static constexpr Misfit misfit = first_misfit<Items...>(fmt<Text>.ref, Reading);
    static_assert(misfit != Misfit::real_given_character,
                  "constant format: a real descriptor (F, E, D, EN, ES, Q) is given a character item");
    static_assert(misfit != Misfit::real_given_short_integer,
                  "constant format: a real descriptor (F, E, D, EN, ES, Q) is given a 1- or 2-byte integer item");
    static_assert(misfit != Misfit::real_given_integer,
                  "constant format: a real descriptor is given an integer item (READ under F, E, D, EN, ES, Q; "
                  "WRITE under EN, ES)");
    static_assert(misfit != Misfit::real_given_logical,
                  "constant format: a real descriptor (F, E, D, EN, ES, Q) is given a logical item");
    static_assert(misfit != Misfit::integer_given_other,
                  "constant format: an integer descriptor (I; B, O, Z on READ) is given a real or character item");
    static_assert(misfit != Misfit::bits_given_character,
                  "constant format: a B, O or Z descriptor is given a character item");
    static_assert(misfit != Misfit::logical_given_other,
                  "constant format: an L descriptor is given a real or character item");
    static_assert(misfit != Misfit::count_given_other,
                  "constant format: Q on READ stores a count and needs an integer item");
    static constexpr bool checked = true;
};

}  // namespace corvane::fmtio::detail
