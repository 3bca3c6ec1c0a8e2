// The table of the nine variables: the files each one reads and its label, and the
// inventory the station map shows before a variable is chosen.
#include <gtest/gtest.h>

#include "ghcn/variables.hpp"

namespace corvane::ghcn {
namespace {

TEST(Variables, EachVariableNamesItsFilesAndLabel) {
    const VariableFiles expected[] = {
        {"v2.mean", "v2.mean.failed.qc", "v2.temperature.inv", "v2.country.codes", "MEAN.TEMP"},
        {"v2.mean_adj", "", "v2.temperature.inv", "v2.country.codes", "MEAN.ADJ.TEMP"},
        {"v2.min", "v2.min.failed.qc", "v2.temperature.inv", "v2.country.codes", "MIN.TEMP"},
        {"v2.min_adj", "", "v2.temperature.inv", "v2.country.codes", "MIN.ADJ.TMP"},
        {"v2.max", "v2.max.failed.qc", "v2.temperature.inv", "v2.country.codes", "MAX.TEMP"},
        {"v2.max_adj", "", "v2.temperature.inv", "v2.country.codes", "MAX.ADJ.TMP"},
        {"v2.prcp", "v2.prcp.failed.qc", "v2.prcp.inv", "v2.country.codes", "MEANPRCP"},
        {"v2.prcp_adj", "", "v2.prcp.adj.inv", "v2.country.codes", "M.ADJ.PRCP"},
        {"v2.slp", "v2.slp.failed.qc", "v2.slp.inv", "v2.slp.country.codes", "MEAN.SLP"},
    };
    ASSERT_EQ(std::size(expected), static_cast<std::size_t>(last_variable - first_variable + 1));
    for (std::int32_t v = first_variable; v <= last_variable; ++v) {
        SCOPED_TRACE(v);
        const VariableFiles& e = expected[v - 1];
        const VariableFiles& f = variable_files(v);
        EXPECT_EQ(f.data_file, e.data_file);
        EXPECT_EQ(f.failed_qc_file, e.failed_qc_file);
        EXPECT_EQ(f.failed_qc_file.empty(), v % 2 == 0) << "only the odd variables have failed values";
        EXPECT_EQ(f.inventory_file, e.inventory_file);
        EXPECT_EQ(f.country_codes_file, e.country_codes_file);
        EXPECT_EQ(f.label, e.label);
        EXPECT_EQ(inventory_file_name(v), e.inventory_file);
    }
}

TEST(Variables, BeforeAChoiceTheInventoryIsTheTemperatureOne) {
    for (std::int32_t v : {-1, 0, 10}) EXPECT_EQ(inventory_file_name(v), "v2.temperature.inv") << v;
}

}  // namespace
}  // namespace corvane::ghcn
