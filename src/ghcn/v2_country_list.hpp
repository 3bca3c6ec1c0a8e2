// The country-code list of a variable: one 50-character entry per line of its file, the
// code in columns 1-3 and the name in 5-44. A list may repeat a code: the last entry with
// it is the one that counts.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "fmtio/text_ops.hpp"

namespace corvane::ghcn {

constexpr int country_capacity = 234;

using CountryEntry = fmtio::Text<50>;

// Entries past `count` are blank.
struct CountryList {
    std::array<CountryEntry, country_capacity> entries;
    int count = 0;
    int left_out = 0;  // lines beyond the list's capacity
};

// Reads the variable's country-code file (unit 18) into `list`.
void read_country_list(CountryList& list, std::int32_t variable_choice);

// The entry's code, read "(i3)" from its first three characters; a line that is not a
// number there ends the program with the run-time's report.
std::int32_t country_code_of(const CountryEntry& entry);

// The entry's name: characters 5 to 44.
inline std::string_view country_name_of(const CountryEntry& entry) { return entry.sub(5, 44); }

constexpr int no_entry = -1;

// The index of the entry whose name a selection by `code` takes: the last one with the
// code, or no_entry.
int winning_country_entry(const CountryList& list, std::int32_t code);

}  // namespace corvane::ghcn
