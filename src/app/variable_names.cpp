#include "app/variable_names.hpp"

#include "ghcn/variables.hpp"

namespace corvane::app {

void assign_variable_names(RunData& run) {
    const ghcn::VariableFiles& v = ghcn::variable_files(run.variable_choice);
    run.data_file_name = v.data_file;
    run.variable_label = v.label;
    if (!v.failed_qc_file.empty()) run.failed_qc_file_name = v.failed_qc_file;
}

}  // namespace corvane::app
