// The table of the nine variables.
#include "ghcn/variables.hpp"

namespace corvane::ghcn {

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

std::string_view inventory_file_name(std::int32_t variable_choice) {
    if (variable_choice < first_variable || variable_choice > last_variable) return temperature_inventory;
    return variable_files(variable_choice).inventory_file;
}

}  // namespace corvane::ghcn
