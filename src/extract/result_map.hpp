// What the map shows of a run of the criteria form: every station of the inventory it read
// as a dot, the stations of its stations.csv coloured (found where they have values), the
// box of the criteria, centred on 180° when the box crosses it, and the place of --near. A station's number on the
// map is its row in the table, so that a click leads back to the row.
#pragma once

#include "app/station_map_data.hpp"
#include "extract/criteria_choices.hpp"
#include "extract/csv_reading.hpp"

namespace corvane::extract {

app::StationMapData result_map_data(const CriteriaChoices& choices, const CsvTable& stations);

}  // namespace corvane::extract
