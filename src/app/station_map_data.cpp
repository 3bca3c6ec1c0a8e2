#include "app/station_map_data.hpp"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "ghcn/v2_output_files.hpp"
#include "ghcn/v2_records.hpp"
#include "ghcn/variables.hpp"

namespace corvane::app {

namespace {

// A decimal field of fixed columns (1-based, inclusive); false when it holds no number.
bool read_field(const std::string& line, std::size_t first, std::size_t last, double& value) {
    if (line.size() < last) return false;
    std::string_view field(line.data() + first - 1, last - first + 1);
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    if (field.empty()) return false;
    return std::from_chars(field.data(), field.data() + field.size(), value).ec == std::errc{};
}

}  // namespace

std::vector<MapPoint> read_inventory_positions(const std::string& path) {
    std::vector<MapPoint> points;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        MapPoint p;
        if (read_field(line, ghcn::inventory_lat_first, ghcn::inventory_lat_last, p.lat) &&
            read_field(line, ghcn::inventory_lon_first, ghcn::inventory_lon_last, p.lon) && std::abs(p.lat) <= 90)
            points.push_back(p);
    }
    return points;
}

std::set<int> read_found_stations(const std::string& path) {
    std::set<int> found;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        double id = 0;
        const std::string_view note = ghcn::series_format_note;
        if (line.size() >= ghcn::series_station_last &&
            line.compare(ghcn::series_note_column - 1, note.size(), note) == 0 &&
            read_field(line, ghcn::series_station_first, ghcn::series_station_last, id))
            found.insert(static_cast<int>(id));
    }
    return found;
}

namespace {

// The time-series file's size and time of writing, or 0 when it is missing.
std::uint64_t series_file_stamp() {
    std::error_code error;
    const std::string path(ghcn::series_file_name);
    const auto size = std::filesystem::file_size(path, error);
    if (error) return 0;
    const auto written = std::filesystem::last_write_time(path, error).time_since_epoch().count();
    return size * 1000003u + static_cast<std::uint64_t>(written);
}

const std::set<int>& found_stations() {
    static std::set<int> found;
    static std::uint64_t stamp_read = 0;
    const std::uint64_t stamp = series_file_stamp();
    if (stamp != stamp_read) {
        found = read_found_stations(std::string(ghcn::series_file_name));
        stamp_read = stamp;
    }
    return found;
}

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

StationMapData station_map_data(const RunData& run) {
    // The inventory is read once per variable; the found stations whenever the extraction
    // has written more of its time-series file.
    static std::map<int, std::vector<MapPoint>> inventories;

    StationMapData data;
    const int variable = run.variable_choice;
    auto cached = inventories.find(variable);
    if (cached == inventories.end())
        cached = inventories.emplace(variable, read_inventory_positions(std::string(ghcn::inventory_file_name(variable)))).first;
    data.inventory = cached->second;
    data.variable = std::string(run.variable_label.trimmed());

    const bool extracted = run.found_count > 0;
    const std::set<int> none;
    const std::set<int>& found = extracted ? found_stations() : none;
    const SelectedStations& s = run.stations;
    for (int i = 0; i < s.selected_count && i < max_stations; ++i) {
        const auto row = static_cast<std::size_t>(i);
        StationState state = StationState::selected;
        if (extracted) state = found.count(s.station_id[row]) ? StationState::found : StationState::no_data;
        data.stations.push_back({{s.station_lat[row], s.station_lon[row]}, state, s.station_country[row],
                                 s.station_id[row], trimmed(s.station_name[row].view()), s.station_elevation[row]});
    }
    const SelectionCriteria& c = run.criteria;
    data.has_box = c.use_area != 0;
    data.box = {c.min_lat, c.max_lat, c.min_lon, c.max_lon, c.crosses_dateline != 0};
    data.centre_lon = data.has_box && data.box.crosses_dateline ? 180 : 0;
    return data;
}

std::uint64_t map_revision(const RunData& run) {
    const SelectionCriteria& c = run.criteria;
    const SelectedStations& s = run.stations;
    std::uint64_t r = 1469598103934665603u;
    const auto mix = [&r](double v) { r = (r ^ std::hash<double>{}(v)) * 1099511628211u; };
    for (double v : {double(run.variable_choice), double(run.found_count), double(s.selected_count), double(c.use_area),
                     double(c.min_lat), double(c.max_lat), double(c.min_lon), double(c.max_lon), double(c.crosses_dateline)})
        mix(v);
    for (int i = 0; i < s.selected_count && i < max_stations; ++i) {
        mix(s.station_id[static_cast<std::size_t>(i)]);
        mix(s.station_lon[static_cast<std::size_t>(i)]);
    }
    mix(static_cast<double>(run.found_count > 0 ? series_file_stamp() : 0));
    return r;
}

double normalised_longitude(double lon) {
    double l = std::fmod(lon + 180.0, 360.0);
    if (l < 0) l += 360.0;
    return l - 180.0;
}

double PlateCarree::x(double lon) const {
    const double from_left = normalised_longitude(lon - centre_lon) + 180.0;  // 0 .. 360
    return left + width * from_left / 360.0;
}

double PlateCarree::y(double lat) const { return top + height * (90.0 - lat) / 180.0; }

}  // namespace corvane::app
