// The table of the nine variables: what the rest of the program relies on in it, and the
// inventory the station map shows before a variable is chosen.
#include <gtest/gtest.h>

#include <string>

#include "ghcn/variables.hpp"

namespace corvane::ghcn {
namespace {

TEST(Variables, OnlyTheOddVariablesHaveFailedValuesNamedAfterTheirDataFile) {
    for (std::int32_t v = first_variable; v <= last_variable; ++v) {
        SCOPED_TRACE(v);
        const VariableFiles& f = variable_files(v);
        if (v % 2 == 1) EXPECT_EQ(f.failed_qc_file, std::string(f.data_file) + ".failed.qc");
        else EXPECT_EQ(f.failed_qc_file, "");
    }
}

TEST(Variables, NamesAndLabelsFitTheRunDataTheyAreCopiedInto) {
    constexpr std::size_t file_name_room = 33;  // the run data's file names
    constexpr std::size_t label_room = 15;      // and its label
    for (std::int32_t v = first_variable; v <= last_variable; ++v) {
        SCOPED_TRACE(v);
        const VariableFiles& f = variable_files(v);
        for (std::string_view name : {f.data_file, f.failed_qc_file, f.inventory_file, f.country_codes_file}) {
            EXPECT_LE(name.size(), file_name_room) << name;
        }
        EXPECT_FALSE(f.label.empty());
        EXPECT_LE(f.label.size(), label_room) << f.label;
    }
}

TEST(Variables, TheMapsInventoryIsTheVariablesOrBeforeAChoiceTheTemperatureOne) {
    for (std::int32_t v = first_variable; v <= last_variable; ++v) {
        EXPECT_EQ(inventory_file_name(v), variable_files(v).inventory_file) << v;
    }
    EXPECT_EQ(inventory_file_name(9), "v2.slp.inv");
    for (std::int32_t v : {-1, 0, 10}) EXPECT_EQ(inventory_file_name(v), "v2.temperature.inv") << v;
}

}  // namespace
}  // namespace corvane::ghcn
