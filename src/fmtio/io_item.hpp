// Transfer items: each READ or WRITE item travels as a typed IoItem built from the C++
// variable, so the engine knows its type class, element size, address and length.
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
constexpr IoItem scalar_item(const T* p, std::uint32_t count) {
    IoItem it;
    it.address = const_cast<T*>(p);  // items of a WRITE are only read
    it.count = count;
    it.size = static_cast<std::uint8_t>(sizeof(T));
    if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
        it.type = TypeClass::integer;
    } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double> ||
                         std::is_same_v<T, __float128>) {
        it.type = TypeClass::real;
    } else if constexpr (std::is_same_v<T, std::complex<float>> ||
                         std::is_same_v<T, std::complex<double>>) {
        it.type = TypeClass::complex;
    } else if constexpr (is_logical<T>::value) {
        it.type = TypeClass::logical;
    } else {
        static_assert(sizeof(T) == 0, "no I/O item type for this C++ type");
    }
    return it;
}
}  // namespace detail

template <class T>
    requires(std::is_arithmetic_v<T> || std::is_same_v<T, __float128> ||
             detail::is_logical<T>::value || std::is_same_v<T, std::complex<float>> ||
             std::is_same_v<T, std::complex<double>>)
constexpr IoItem make_item(const T& v) {
    return detail::scalar_item(&v, 1);
}

// Whole arrays, element by element.
template <class T, std::size_t N>
constexpr IoItem make_item(const std::array<T, N>& a) {
    return detail::scalar_item(a.data(), static_cast<std::uint32_t>(N));
}
template <class T, std::size_t N>
    requires(!std::is_same_v<T, char>)
constexpr IoItem make_item(const T (&a)[N]) {
    return detail::scalar_item(&a[0], static_cast<std::uint32_t>(N));
}
template <class T>
    requires(!std::is_same_v<std::remove_const_t<T>, char>)
constexpr IoItem make_item(std::span<T> a) {
    return detail::scalar_item(a.data(), static_cast<std::uint32_t>(a.size()));
}

// Character values.
template <std::size_t N>
IoItem make_item(const Text<N>& t) {
    return {TypeClass::character, 1, const_cast<char*>(t.data()), static_cast<std::uint32_t>(N), 1};
}
template <std::size_t M, std::size_t N>
IoItem make_item(const std::array<Text<M>, N>& a) {
    return {TypeClass::character, 1, const_cast<char*>(a[0].data()), static_cast<std::uint32_t>(M),
            static_cast<std::uint32_t>(N)};
}
inline IoItem make_item(std::string_view s) {
    return {TypeClass::character, 1, const_cast<char*>(s.data()), static_cast<std::uint32_t>(s.size()), 1};
}
template <std::size_t N>
IoItem make_item(const char (&literal)[N]) {
    return make_item(std::string_view(literal, N - 1));
}
inline IoItem make_item(std::span<char> s) {
    return {TypeClass::character, 1, s.data(), static_cast<std::uint32_t>(s.size()), 1};
}

}  // namespace corvane::fmtio
