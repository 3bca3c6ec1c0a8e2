#include "app/search_report.hpp"

#include "app/area_picture.hpp"
#include "app/output_claim.hpp"
#include "fmtio/statement_api.hpp"
#include "ghcn/selection_rules.hpp"
#include "ghcn/variables.hpp"
#include "units/connection_statements.hpp"

namespace corvane::app {

namespace {

using namespace fmtio;

constexpr int inventory_unit = 12;

void write_criteria_block(const RunData& run) {
    const SelectionCriteria& c = run.criteria;
    const UnitSpec log = unit(log_unit);
    write(log, fmt<"(/1x,'Selection criteria for GHCN search')">);
    write(log, fmt<"(1x,'of ',a,' from:')">, run.variable_label);
    if (c.use_country != 0) {
        write(log, fmt<"(1x,'Country Code = ',i4,1x,'Name: ',a)">, c.country_code, c.country_name);
    }
    if (c.use_area != 0) {
        write(log, fmt<"(/1x,' Extracting from the area represented by:',/)">);
        write_area_picture(log, c);
    }
    if (c.use_elevation != 0) {
        write(log, fmt<"(/1x,' Elevation Selected ')">);
        write(log, fmt<"(1x,' Max. Elevation = ',i4)">, c.max_elevation);
        write(log, fmt<"(1x,' Min. Elevation = ',i4)">, c.min_elevation);
    }
}

bool include_station_without_elevation(const StationName& name) {
    write(default_unit, fmt<"(/1x,'Station ',a)">, name);
    write(default_unit, fmt<"(1x,'is missing its actual elevational information.')">);
    write(default_unit, fmt<"(1x,'Do you want to include this station?')">);
    write(default_unit, fmt<"(/1x,'Enter [T]rue or [F]alse ',$)">);
    Logical answer;
    read(default_unit, list_directed, answer);
    return static_cast<bool>(answer);
}

// The listing, on the log and on the console, which differ only in the column header.
void write_listing(const UnitSpec& to, bool is_log, std::int32_t stations_searched, const SelectedStations& s) {
    write(to, fmt<"(/1x,'Number or stations searched: ',i4)">, stations_searched);
    write(to, fmt<"(/1x,i4,' Stations listed in inventory file:')">, s.selected_count);
    if (is_log) write(to, fmt<"(5x,' CTY    ID     Lat     Lon    Elev Name')">);
    else write(to, fmt<"(5x,' CTY    ID     Lat     Lon    Elev     Name')">);
    for (std::int32_t r = 0; r < s.selected_count; ++r) {
        const std::int32_t row = r + 1;
        write(to, fmt<"(1x,i4,1x,i3,1x,i8,2(f7.2,1x),i5,1x,a33)">, row, s.station_country[r], s.station_id[r],
              s.station_lat[r], s.station_lon[r], s.station_elevation[r], s.station_name[r]);
    }
    if (s.left_out_count > 0) {
        // The table is full: say how many stations met the criteria but are not in it.
        write(to, fmt<"(/1x,i6,' more stations met the criteria but were left out:',"
                      "' the list holds ',i4,' stations')">,
              s.left_out_count, max_stations);
    }
}

}  // namespace

bool station_selected(const SelectionCriteria& c, std::int32_t country, float lat, float lon,
                      std::int32_t elevation, const StationName& name) {
    std::int32_t hit_count = 0;
    if (c.use_country != 0) hit_count = country == c.country_code ? 1 : -1;
    if (c.use_area != 0) {
        if (lat > c.max_lat || lat < c.min_lat) {
            --hit_count;
        } else {
            if (ghcn::longitude_in_box(lon, c.min_lon, c.max_lon, c.crosses_dateline == 1)) ++hit_count;
        }
    }
    if (c.use_elevation != 0) {
        if (ghcn::elevation_unknown(elevation) && hit_count == c.selection_score - 1 && !c.reject_missing_elevation) {
            hit_count += include_station_without_elevation(name) ? 1 : -1;
        } else if (ghcn::elevation_takes_range_test(elevation)) {
            hit_count += (elevation >= c.min_elevation && elevation <= c.max_elevation) ? 1 : -1;
        }
    }
    return hit_count == c.selection_score;
}

void search_inventory(RunData& run) {
    SelectedStations& s = run.stations;
    write(default_unit, fmt<"(/3x,'Searching Inventory File:')">);
    s.selected_count = 0;
    s.left_out_count = 0;
    units::open_unit({.unit = inventory_unit, .file = ghcn::variable_files(run.variable_choice).inventory_file,
                      .status = "OLD", .action = "READ"});
    std::int32_t stations_searched = 0;
    ghcn::InventoryLine line;
    ghcn::InventoryStation st;
    while (read(unit(inventory_unit), on_end, fmt<"(a)">, line) != units::outcome_end) {
        ghcn::read_inventory_line(line, st);
        if (station_selected(run.criteria, st.country, st.lat, st.lon, st.elevation, st.name) &&
            (!run.also_selects || run.also_selects(st))) {
            if (s.selected_count < max_stations) {
                const std::int32_t r = s.selected_count++;
                s.station_id[r] = st.id;
                s.station_country[r] = st.country;
                s.station_name[r] = st.name;
                s.station_lat[r] = st.lat;
                s.station_lon[r] = st.lon;
                s.station_elevation[r] = st.elevation;
            } else {
                ++s.left_out_count;
            }
        }
        ++stations_searched;
    }
    write_listing(unit(log_unit), true, stations_searched, s);
    write_listing(default_unit, false, stations_searched, s);
    units::close_unit(inventory_unit);
}

void search_report(RunData& run) {
    claim_output_files();
    // A log that cannot be opened is reported and ends the run, as for any OPEN.
    units::open_unit({.unit = log_unit, .file = log_file_name, .status = "UNKNOWN"});
    write_criteria_block(run);
    search_inventory(run);
}

}  // namespace corvane::app
