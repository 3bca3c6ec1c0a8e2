// Reading the version 2 records through the record run-time.
#include "ghcn/v2_records.hpp"

#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"

namespace corvane::ghcn {

using namespace fmtio;

void open_records_file(int unit, std::string_view name) {
    units::open_unit({.unit = unit, .file = name, .status = "OLD", .action = "READ", .pad = "NO"});
}

ReadOutcome read_data_record(int u, DataRecord& r) {
    return read(unit(u), on_end | on_err, data_record_format, r.rec_country, r.rec_station_id, r.rec_duplicate,
                r.rec_year, r.rec_values);
}

ReadOutcome read_failed_record(int u, FailedRecord& r) {
    return read(unit(u), on_end | on_err, failed_record_format, r.fail_country, r.fail_station_id, r.fail_year,
                r.fail_month, r.fail_value);
}

void read_inventory_line(const InventoryLine& line, InventoryStation& s) {
    read(internal_unit(line), inventory_line_format, s.country, s.id, s.name, s.lat, s.lon, s.elevation);
}

}  // namespace corvane::ghcn
