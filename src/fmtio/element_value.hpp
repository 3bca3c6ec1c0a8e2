// Reading one element of an item as the value of its type, whatever its size.
#pragma once

#include <cstdint>
#include <cstring>

#include "fmtio/numeric_conversion.hpp"

namespace corvane::fmtio {

// An integer (or logical) element of 1, 2, 4 or 8 bytes, sign-extended.
inline std::int64_t load_integer(const void* element, int size) {
    switch (size) {
        case 1: { std::int8_t v; std::memcpy(&v, element, 1); return v; }
        case 2: { std::int16_t v; std::memcpy(&v, element, 2); return v; }
        case 8: { std::int64_t v; std::memcpy(&v, element, 8); return v; }
        default: { std::int32_t v; std::memcpy(&v, element, 4); return v; }
    }
}

inline void store_integer(void* element, int size, std::int64_t value) {
    switch (size) {
        case 1: { auto v = static_cast<std::int8_t>(value); std::memcpy(element, &v, 1); break; }
        case 2: { auto v = static_cast<std::int16_t>(value); std::memcpy(element, &v, 2); break; }
        case 8: std::memcpy(element, &value, 8); break;
        default: { auto v = static_cast<std::int32_t>(value); std::memcpy(element, &v, 4); break; }
    }
}

// Real elements of 4, 8 or 16 bytes.
inline DigitString element_digits(const void* element, int size, int digits_asked, RealForm form) {
    if (size == 4) { float v; std::memcpy(&v, element, 4); return real_to_digits(v, digits_asked, form); }
    if (size == 8) { double v; std::memcpy(&v, element, 8); return real_to_digits(v, digits_asked, form); }
    __float128 v;
    std::memcpy(&v, element, 16);
    return real_to_digits(v, digits_asked, form);
}

inline bool element_is_zero(const void* element, int size) {
    if (size == 4) { float v; std::memcpy(&v, element, 4); return v == 0.0f; }
    if (size == 8) { double v; std::memcpy(&v, element, 8); return v == 0.0; }
    __float128 v;
    std::memcpy(&v, element, 16);
    return v == 0;
}

}  // namespace corvane::fmtio
