// The nine variables of the version 2 data set and their files: the data file, its
// failed-QC companion (the odd variables only), the station inventory, the country-code
// list, and the variable's label as the log and the summary name it.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane::ghcn {

struct VariableFiles {
    std::string_view data_file;
    std::string_view failed_qc_file;  // empty: the variable has no failed-QC companion
    std::string_view inventory_file;
    std::string_view country_codes_file;
    std::string_view label;
};

constexpr std::int32_t first_variable = 1;
constexpr std::int32_t last_variable = 9;

// The files of variable 1..9.
const VariableFiles& variable_files(std::int32_t variable_choice);

// The inventory of any choice: the temperature inventory before a variable is chosen.
std::string_view inventory_file_name(std::int32_t variable_choice);

}  // namespace corvane::ghcn
