#include "console/line_store.hpp"

#include <algorithm>

namespace corvane::console {

namespace {
// Room made at once when the store is full: an eighth of it.
constexpr int line_chunk = LineStore::max_lines / 8;
constexpr int character_chunk = LineStore::max_characters / 8;
}  // namespace

LineStore::LineStore() {
    text_.reserve(max_characters);
    line_start_.reserve(static_cast<std::size_t>(max_lines) + 1);
    line_start_.push_back(0);
}

std::string_view LineStore::line(int index) const {
    return std::string_view(text_).substr(static_cast<std::size_t>(line_start_[index]),
                                          static_cast<std::size_t>(length(index)));
}

void LineStore::clear() {
    text_.clear();
    line_start_.assign(1, 0);
}

int LineStore::start_line() {
    int discarded = 0;
    if (line_count() >= max_lines) discarded = discard_oldest(std::min(line_chunk, line_count()));
    line_start_.push_back(static_cast<std::int32_t>(text_.size()));
    return discarded;
}

int LineStore::insert(int column, char c) {
    int discarded = 0;
    if (character_count() >= max_characters) {
        discarded = make_room(character_chunk);
        if (character_count() >= max_characters) return -1;
    }
    const int last = line_count() - 1;
    text_.insert(static_cast<std::size_t>(line_start_[last] + column), 1, c);
    ++line_start_.back();
    return discarded;
}

void LineStore::put(int column, char c) {
    text_[static_cast<std::size_t>(line_start_[line_count() - 1] + column)] = c;
}

void LineStore::erase(int index, int column, int count) {
    text_.erase(static_cast<std::size_t>(line_start_[index] + column), static_cast<std::size_t>(count));
    for (std::size_t i = static_cast<std::size_t>(index) + 1; i < line_start_.size(); ++i) line_start_[i] -= count;
}

int LineStore::make_room(int characters) {
    // The lines before the last one, oldest first, until enough is free.
    int count = 0;
    const int target = max_characters - characters;
    while (count < line_count() - 1 && character_count() - line_start_[static_cast<std::size_t>(count)] > target)
        ++count;
    return discard_oldest(count);
}

int LineStore::discard_oldest(int count) {
    count = std::min(count, line_count() - 1);
    if (count <= 0) return 0;
    const std::int32_t gone = line_start_[static_cast<std::size_t>(count)];
    text_.erase(0, static_cast<std::size_t>(gone));
    line_start_.erase(line_start_.begin(), line_start_.begin() + count);
    for (std::int32_t& start : line_start_) start -= gone;
    return count;
}

}  // namespace corvane::console
