// The record engine's own loop, beside the floor: every record of a data file read with
// the extraction's data format and written back as (i4,12i5), through the units, the
// file layer and the statements as the extraction uses them.
//   corvane-engine-copy DATA_FILE OUTPUT_FILE
#include <array>
#include <cstdint>
#include <cstdio>

#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"
#include "units/termination.hpp"

int main(int argc, char** argv) {
    using namespace corvane::fmtio;
    namespace units = corvane::units;
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvane-engine-copy DATA_FILE OUTPUT_FILE\n");
        return 2;
    }
    units::start_runtime(argc, argv);
    constexpr int data_unit = 14, copy_unit = 15;
    units::open_unit({.unit = data_unit, .file = argv[1], .status = "OLD", .action = "READ"});
    units::open_unit({.unit = copy_unit, .file = argv[2], .status = "REPLACE"});
    std::int32_t country = 0, station = 0, duplicate = 0, year = 0, records = 0;
    std::array<std::int32_t, 12> values{};
    while (read(unit(data_unit), on_end | on_err, fmt<"15(I3,I8,i1,i4,12I5)">, country, station, duplicate, year,
                values) == units::outcome_ok) {
        write(unit(copy_unit), fmt<"(i4,12i5)">, year, values);
        ++records;
    }
    units::close_unit(copy_unit);
    units::close_unit(data_unit);
    write(default_unit, fmt<"(1x,i8,' records')">, records);
    units::stop_program();
}
