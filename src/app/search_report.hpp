// The search report: the log's criteria block, then the inventory search and its listing.
#pragma once

#include "app/run_data.hpp"

namespace corvane::app {

// Opens the log on `log_unit`, writes the criteria, and runs the inventory search.
// Returns with the log open.
void search_report(RunData& run);

// Searches the variable's inventory, fills the table and lists it to the log and console.
void search_inventory(RunData& run);

// Whether an inventory record meets the criteria; asks the user about a missing
// elevation when every other criterion has passed and the user chose to be asked.
bool station_selected(const SelectionCriteria& criteria, std::int32_t country, float lat, float lon,
                      std::int32_t elevation, const StationName& name);

}  // namespace corvane::app
