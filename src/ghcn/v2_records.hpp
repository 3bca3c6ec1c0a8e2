// The records of the version 2 data set as the programs read them: the data record, the
// failed-QC record and the inventory line, each a plain struct with its constant format,
// the markers of a missing value, and the column positions that readers outside the record
// layer (the station map) use. The data and failed-QC files are read strictly: a record
// shorter than the columns its format reads is damaged, never data with blanks for fields.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "fmtio/constant_format.hpp"
#include "fmtio/text_ops.hpp"
#include "units/statement_context.hpp"

namespace corvane::ghcn {

using StationName = fmtio::Text<33>;
using InventoryLine = fmtio::Text<100>;

// One year of one series of a station: country, station number, duplicate, year, 12 months.
struct DataRecord {
    std::int32_t rec_country = 0;
    std::int32_t rec_station_id = 0;
    std::int32_t rec_duplicate = 0;
    std::int32_t rec_year = 0;
    std::array<std::int32_t, 12> rec_values{};
};
inline constexpr fmtio::FormatRef data_record_format = fmtio::fmt<"15(I3,I8,i1,i4,12I5)">;

// One value that failed quality control.
struct FailedRecord {
    std::int32_t fail_country = 0;
    std::int32_t fail_station_id = 0;
    std::int32_t fail_year = 0;
    std::int32_t fail_month = 0;
    std::int32_t fail_value = 0;
};
inline constexpr fmtio::FormatRef failed_record_format = fmtio::fmt<"22(i3,i8,2x,i4,i3,i6)">;

// The fields of an inventory line that the search uses.
struct InventoryStation {
    std::int32_t country = 0;
    std::int32_t id = 0;
    StationName name;
    float lat = 0;
    float lon = 0;
    std::int32_t elevation = 0;
};
inline constexpr fmtio::FormatRef inventory_line_format = fmtio::fmt<"20(I3,I8,A32,F6.2, 1X, F7.2, 1X, I4)">;

// Latitude and longitude columns of an inventory line (1-based, inclusive).
inline constexpr std::size_t inventory_lat_first = 44, inventory_lat_last = 49;
inline constexpr std::size_t inventory_lon_first = 51, inventory_lon_last = 57;

inline constexpr std::int32_t missing_value = -9999;
// A trace of precipitation, too little to measure, in the precipitation files.
inline constexpr std::int32_t trace_value = -8888;
inline constexpr std::int32_t missing_elevation = -999;

// The format a series header names for the data lines under it, and where a header holds
// it (column 20) and the station number (columns 35-42).
inline constexpr std::string_view series_format_note = "(i4,12f5.1)";
inline constexpr std::size_t series_note_column = 20;
inline constexpr std::size_t series_station_first = 35, series_station_last = 42;

// Opens the data or failed-QC file `name` on `unit` for reading, strictly (PAD='NO'): a
// record cut short takes the READ's ERR branch. A missing file ends the run, as any OPEN.
void open_records_file(int unit, std::string_view name);

// A READ's outcome, of the type the run-time gives it.
using ReadOutcome = std::remove_cv_t<decltype(units::outcome_end)>;

// The next record of the file on `unit`: units::outcome_end at the end of the file,
// units::outcome_error for a record that cannot be read (the fields before the fault
// stored), the statement's success otherwise.
ReadOutcome read_data_record(int unit, DataRecord& record);
ReadOutcome read_failed_record(int unit, FailedRecord& record);

// The fields of an inventory line.
void read_inventory_line(const InventoryLine& line, InventoryStation& station);

}  // namespace corvane::ghcn
