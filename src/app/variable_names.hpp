// The names a chosen variable gives the run: its data file, its label and, for the odd
// variables, its failed-QC file, taken from the data set's table of variables.
#pragma once

#include "app/run_data.hpp"

namespace corvane::app {

// Assigns the data file name, the label and, for the odd variables, the failed-QC file name
// of `run.variable_choice`, as the menu does; an even variable leaves the failed-QC name.
void assign_variable_names(RunData& run);

}  // namespace corvane::app
