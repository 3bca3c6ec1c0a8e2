// Transfer items: each READ or WRITE item travels as a typed IoItem built from the C++
// variable, so the engine knows its type class, element size, address and length. A WRITE
// takes values (make_item); a READ takes only variables it may store into (read_item).
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "fmtio/text_ops.hpp"

namespace corvane::fmtio {

enum class TypeClass : std::uint8_t {
    integer = 1,
    real = 3,
    complex = 4,
    logical = 5,
    character = 6,
};

// A logical value of 1, 2, 4 or 8 bytes: 1 for true, 0 for false.
template <class Int>
struct BasicLogical {
    Int value = 0;
    constexpr BasicLogical() = default;
    constexpr BasicLogical(bool b) : value(b ? 1 : 0) {}  // NOLINT: logical from bool
    constexpr explicit operator bool() const { return value != 0; }
};
using Logical = BasicLogical<std::int32_t>;
using Logical1 = BasicLogical<std::int8_t>;
using Logical2 = BasicLogical<std::int16_t>;
using Logical8 = BasicLogical<std::int64_t>;

struct IoItem {
    TypeClass type = TypeClass::integer;
    std::uint8_t size = 4;          // element size in bytes (character: 1)
    void* address = nullptr;
    std::uint32_t char_length = 0;  // character items
    std::uint32_t count = 1;        // elements, transferred in storage order

    std::size_t stride() const { return type == TypeClass::character ? char_length : size; }
};

namespace detail {
template <class T> struct is_logical : std::false_type {};
template <class I> struct is_logical<BasicLogical<I>> : std::true_type {};

template <class T>
constexpr TypeClass type_class_of() {
    if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
        return TypeClass::integer;
    } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double> ||
                         std::is_same_v<T, __float128>) {
        return TypeClass::real;
    } else if constexpr (std::is_same_v<T, std::complex<float>> ||
                         std::is_same_v<T, std::complex<double>>) {
        return TypeClass::complex;
    } else if constexpr (is_logical<T>::value) {
        return TypeClass::logical;
    } else {
        static_assert(sizeof(T) == 0, "no I/O item type for this C++ type");
    }
}

template <class T>
constexpr IoItem scalar_item(T* p, std::uint32_t count) {
    IoItem it;
    it.address = p;
    it.count = count;
    it.size = static_cast<std::uint8_t>(sizeof(T));
    it.type = type_class_of<T>();
    return it;
}

inline IoItem character_item(char* chars, std::size_t length, std::size_t count) {
    return {TypeClass::character, 1, chars, static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(count)};
}

// The items of a WRITE are only read: the engine's one item form has a mutable address.
template <class T>
T* writable(const T* p) {
    return const_cast<T*>(p);
}
}  // namespace detail

template <class T>
concept ScalarItem = std::is_arithmetic_v<T> || std::is_same_v<T, __float128> || detail::is_logical<T>::value ||
                     std::is_same_v<T, std::complex<float>> || std::is_same_v<T, std::complex<double>>;

// ---- WRITE items: values, read by the engine ----

template <ScalarItem T>
IoItem make_item(const T& v) {
    return detail::scalar_item(detail::writable(&v), 1);
}

// Whole arrays, element by element.
template <class T, std::size_t N>
IoItem make_item(const std::array<T, N>& a) {
    return detail::scalar_item(detail::writable(a.data()), static_cast<std::uint32_t>(N));
}
template <class T, std::size_t N>
    requires(!std::is_same_v<T, char>)
IoItem make_item(const T (&a)[N]) {
    return detail::scalar_item(detail::writable(&a[0]), static_cast<std::uint32_t>(N));
}
template <class T>
    requires(!std::is_same_v<std::remove_const_t<T>, char>)
IoItem make_item(std::span<T> a) {
    return detail::scalar_item(detail::writable<std::remove_const_t<T>>(a.data()),
                               static_cast<std::uint32_t>(a.size()));
}

// Character values.
template <std::size_t N>
IoItem make_item(const Text<N>& t) {
    return detail::character_item(detail::writable(t.data()), N, 1);
}
template <std::size_t M, std::size_t N>
IoItem make_item(const std::array<Text<M>, N>& a) {
    return detail::character_item(detail::writable(a[0].data()), M, N);
}
inline IoItem make_item(std::string_view s) {
    return detail::character_item(detail::writable(s.data()), s.size(), 1);
}
template <std::size_t N>
IoItem make_item(const char (&literal)[N]) {
    return make_item(std::string_view(literal, N - 1));
}
inline IoItem make_item(std::span<char> s) {
    return detail::character_item(s.data(), s.size(), 1);
}

// ---- READ items: variables the engine stores into ----

// What a READ can store into: no const object, no literal, no read-only view.
template <class T>
inline constexpr bool is_modifiable_item = !std::is_const_v<T>;
template <>
inline constexpr bool is_modifiable_item<std::string_view> = false;
template <class T, std::size_t E>
inline constexpr bool is_modifiable_item<std::span<T, E>> = !std::is_const_v<T>;

template <ScalarItem T>
IoItem read_item(T& v) {
    return detail::scalar_item(&v, 1);
}
template <class T, std::size_t N>
IoItem read_item(std::array<T, N>& a) {
    return detail::scalar_item(a.data(), static_cast<std::uint32_t>(N));
}
template <class T, std::size_t N>
    requires(!std::is_same_v<T, char>)
IoItem read_item(T (&a)[N]) {
    return detail::scalar_item(&a[0], static_cast<std::uint32_t>(N));
}
template <class T>
    requires(!std::is_same_v<T, char> && !std::is_const_v<T>)
IoItem read_item(std::span<T> a) {
    return detail::scalar_item(a.data(), static_cast<std::uint32_t>(a.size()));
}
template <std::size_t N>
IoItem read_item(Text<N>& t) {
    return detail::character_item(t.data(), N, 1);
}
template <std::size_t M, std::size_t N>
IoItem read_item(std::array<Text<M>, N>& a) {
    return detail::character_item(a[0].data(), M, N);
}
inline IoItem read_item(std::span<char> s) {
    return detail::character_item(s.data(), s.size(), 1);
}

}  // namespace corvane::fmtio
