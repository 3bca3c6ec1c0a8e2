// Reading the country-code list, and the entry a code selects.
#include "ghcn/v2_country_list.hpp"

#include "fmtio/statement_api.hpp"
#include "ghcn/variables.hpp"
#include "units/connection_statements.hpp"

namespace corvane::ghcn {

namespace {
constexpr int country_unit = 18;
}

using namespace fmtio;

void read_country_list(CountryList& list, std::int32_t variable_choice) {
    units::open_unit({.unit = country_unit,
                      .file = variable_files(variable_choice).country_codes_file,
                      .status = "OLD",
                      .action = "READ"});
    list.count = 0;
    list.left_out = 0;
    CountryEntry beyond;
    for (;;) {
        CountryEntry& into = list.count < country_capacity ? list.entries[list.count] : beyond;
        if (read(unit(country_unit), on_end, fmt<"(a)">, into) == units::outcome_end) break;
        if (list.count < country_capacity) ++list.count;
        else ++list.left_out;
    }
    units::close_unit(country_unit);
}

std::int32_t country_code_of(const CountryEntry& entry) {
    std::int32_t code = 0;
    read(internal_unit(entry), fmt<"(i3)">, code);
    return code;
}

int winning_country_entry(const CountryList& list, std::int32_t code) {
    int winner = no_entry;
    for (int i = 0; i < list.count; ++i) {
        if (country_code_of(list.entries[i]) == code) winner = i;
    }
    return winner;
}

}  // namespace corvane::ghcn
