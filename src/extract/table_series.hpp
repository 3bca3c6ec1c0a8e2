// The series of one station read back from a run's tables, for its plot: the rows of
// values.csv in hundredths of the unit (a station-year written twice makes a second
// series, as the data file holds it), and its rows of failed_values.csv.
#pragma once

#include <string>

#include "app/station_series.hpp"
#include "extract/csv_reading.hpp"

namespace corvane::extract {

// `row`: the station's row of stations.csv; `failed` may be empty (no such file).
app::StationSeries table_series(const CsvTable& stations, int row, const CsvTable& values, const CsvTable& failed);

}  // namespace corvane::extract
