#include "app/variable_table.hpp"

namespace corvane::app {

namespace {

constexpr std::string_view temperature_inventory = "v2.temperature.inv";
constexpr std::string_view country_codes = "v2.country.codes";

constexpr VariableFiles variables[] = {
    {"v2.mean", "v2.mean.failed.qc", temperature_inventory, country_codes, "MEAN.TEMP"},
    {"v2.mean_adj", "", temperature_inventory, country_codes, "MEAN.ADJ.TEMP"},
    {"v2.min", "v2.min.failed.qc", temperature_inventory, country_codes, "MIN.TEMP"},
    {"v2.min_adj", "", temperature_inventory, country_codes, "MIN.ADJ.TMP"},
    {"v2.max", "v2.max.failed.qc", temperature_inventory, country_codes, "MAX.TEMP"},
    {"v2.max_adj", "", temperature_inventory, country_codes, "MAX.ADJ.TMP"},
    {"v2.prcp", "v2.prcp.failed.qc", "v2.prcp.inv", country_codes, "MEANPRCP"},
    {"v2.prcp_adj", "", "v2.prcp.adj.inv", country_codes, "M.ADJ.PRCP"},
    {"v2.slp", "v2.slp.failed.qc", "v2.slp.inv", "v2.slp.country.codes", "MEAN.SLP"},
};

}  // namespace

const VariableFiles& variable_files(std::int32_t variable_choice) { return variables[variable_choice - 1]; }

void assign_variable_names(RunData& run) {
    const VariableFiles& v = variable_files(run.variable_choice);
    run.data_file_name = v.data_file;
    run.variable_label = v.label;
    if (!v.failed_qc_file.empty()) run.failed_qc_file_name = v.failed_qc_file;
}

}  // namespace corvane::app
