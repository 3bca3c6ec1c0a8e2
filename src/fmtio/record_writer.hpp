// The output record of a statement: characters, a position and a high-water mark. The
// storage persists between statements and only grows, up to the longest record: a write
// that would pass it marks the record `overflowed` (the statement then fails with 10004)
// and lands at the record's start, so that editing never has to check.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>

#include "fmtio/short_copy.hpp"
#include "units/record_limits.hpp"

namespace corvane::fmtio {

class RecordWriter {
public:
    // A new, empty record; `left_tab_limit` is where TL stops.
    void start_record() {
        position = 0;
        high_water = 0;
        left_tab_limit = 0;
        overflowed = false;
    }

    // n copies of c at the position.
    void put(char c, std::size_t n) {
        if (n == 0) return;
        char* at = reserve(n);
        std::memset(at, c, n);
        advance(n);
    }

    // Every character field and literal of every record comes here: kept inline.
    [[gnu::always_inline]] void put(const char* text, std::size_t n) {
        if (n == 0) return;
        char* at = reserve(n);
        copy_chars(at, text, n);
        advance(n);
    }

    // Room for n characters at the position, with any gap before it blank-filled; the
    // caller fills them and calls advance(n). `scratch` more bytes of storage follow them,
    // which the caller may use only where they lie past the high-water mark.
    char* reserve(std::size_t n, std::size_t scratch = 0) {
        if (position > units::max_record_length || n > units::max_record_length - position) overflow();
        const std::size_t end = position + n + scratch;
        if (end > capacity_) grow(end);
        if (position > high_water) std::memset(storage_.get() + high_water, ' ', position - high_water);
        return storage_.get() + position;
    }

    void advance(std::size_t n) {
        position += n;
        if (position > high_water) high_water = position;
    }

    const char* data() const { return storage_.get(); }

    std::size_t position = 0;
    std::size_t high_water = 0;
    std::size_t left_tab_limit = 0;
    bool overflowed = false;  // the record would have passed the longest record

private:
    // The record is lost anyway: what follows is written from its start.
    void overflow() {
        overflowed = true;
        position = 0;
        high_water = 0;
    }

    void grow(std::size_t needed) {
        // Doubling keeps a record built by many moves and short writes linear in its length.
        std::size_t capacity = capacity_ < 8192 ? 8192 : 2 * capacity_;
        if (capacity < needed + 1024) capacity = needed + 1024;
        auto bigger = std::make_unique<char[]>(capacity);  // bad_alloc: the statement's 10070
        if (high_water > 0) std::memcpy(bigger.get(), storage_.get(), high_water);
        storage_ = std::move(bigger);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> storage_;
    std::size_t capacity_ = 0;
};

}  // namespace corvane::fmtio
