// The nine variables and their files: the data file, its failed-QC companion (the odd
// variables only), the station inventory, the country-code list and the variable's label.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/run_data.hpp"

namespace corvane::app {

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

// Assigns the data file name, the label and, for the odd variables, the failed-QC file name
// of `run.variable_choice`, as the menu does; an even variable leaves the failed-QC name.
void assign_variable_names(RunData& run);

}  // namespace corvane::app
