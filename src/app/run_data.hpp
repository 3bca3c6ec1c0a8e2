// The run data of one extraction, owned by the main program and lent to the routines.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "fmtio/io_item.hpp"
#include "fmtio/text_ops.hpp"
#include "ghcn/v2_output_files.hpp"
#include "ghcn/v2_records.hpp"

namespace corvane::app {

using fmtio::Logical;
using fmtio::Text;

constexpr int max_stations = 8000;
constexpr int log_unit = 13;
constexpr std::string_view log_file_name = ghcn::log_file_name;

// Exit status of a run that stopped short: a record the extraction could not read, or
// output files in use by another run.
constexpr int exit_stopped = 1;

using FileName = Text<33>;
using StationName = ghcn::StationName;
using CountryName = Text<50>;
using VariableLabel = Text<15>;

struct SelectionCriteria {
    Text<3> criteria_digits;
    std::int32_t country_code = 0;
    std::int32_t min_elevation = 0;
    std::int32_t max_elevation = 0;
    float max_lat = 0;
    float min_lat = 0;
    float max_lon = 0;
    float min_lon = 0;
    std::int32_t use_country = 0;
    std::int32_t use_area = 0;
    std::int32_t use_elevation = 0;
    std::int32_t selection_score = 0;
    std::int32_t crosses_dateline = 0;
    CountryName country_name;
    Logical transform_longitude;
    Logical reject_missing_elevation;
};

// The stations that passed the search, as parallel columns of `max_stations` rows.
struct SelectedStations {
    std::array<std::int32_t, max_stations> station_id{};
    std::array<std::int32_t, max_stations> station_country{};
    std::array<StationName, max_stations> station_name{};
    std::array<float, max_stations> station_lat{};
    std::array<float, max_stations> station_lon{};
    std::array<std::int32_t, max_stations> station_elevation{};
    std::int32_t selected_count = 0;
    std::int32_t left_out_count = 0;  // stations that passed beyond the table's capacity
};

struct RunData {
    std::int32_t variable_choice = 0;
    FileName data_file_name;
    FileName failed_qc_file_name;
    VariableLabel variable_label;
    Logical answer;
    std::int32_t restart_answer = 0;
    SelectionCriteria criteria;
    SelectedStations stations;
    std::int32_t found_count = 0;
    // What the extraction wrote, for the command line's manifest: the values of the
    // time-series file (all but the missing ones) and those of the failed-values file.
    std::int64_t values_written = 0;
    std::int64_t failed_values_written = 0;
    // Criteria beyond the dialogue's, which only the command line gives: a station that
    // meets the dialogue's criteria is selected when this holds too. Empty: none.
    std::function<bool(const ghcn::InventoryStation&)> also_selects;
};

}  // namespace corvane::app
