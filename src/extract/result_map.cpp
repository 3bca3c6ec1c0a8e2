#include "extract/result_map.hpp"

#include <charconv>
#include <filesystem>

#include "extract/argument_values.hpp"
#include "extract/ghcnm_inputs.hpp"
#include "extract/selection_arguments.hpp"
#include "ghcn/ghcnm_inventory.hpp"
#include "ghcn/variables.hpp"

namespace corvane::extract {

namespace {

namespace fs = std::filesystem;

std::optional<double> number(const std::vector<std::string>& row, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= row.size()) return std::nullopt;
    const std::string& text = row[static_cast<std::size_t>(column)];
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty() ? std::optional(value) : std::nullopt;
}

std::vector<app::MapPoint> inventory_positions(const CriteriaChoices& c) {
    const fs::path dir = fs::absolute(c.data_dir.empty() ? "." : c.data_dir);
    if (c.dataset != "v3" && c.dataset != "v4") {
        const Parsed<std::int32_t> choice = parse_variable(c.variable);
        if (!parsed_ok(choice)) return {};
        return app::read_inventory_positions((dir / ghcn::variable_files(std::get<std::int32_t>(choice)).inventory_file).string());
    }
    const ghcn::Edition e = c.dataset == "v3" ? ghcn::Edition::v3 : ghcn::Edition::v4;
    const std::optional<ghcn::GhcnmVariable> v = ghcn::find_variable(e, c.variable);
    const InputsFound found = v ? find_inputs(dir, e, *v) : InputsFound{};
    std::vector<ghcn::GhcnmStation> stations;
    ghcn::ReadProblem problem;
    if (!found.inputs || !ghcn::read_inventory(e, found.inputs->inventory_path.string(), stations, problem)) return {};
    std::vector<app::MapPoint> points;
    for (const ghcn::GhcnmStation& s : stations) points.push_back({s.latitude, s.longitude});
    return points;
}

// The box as the selection reads it: EAST below WEST crosses 180°.
void add_box(const CriteriaChoices& c, app::StationMapData& data) {
    const Parsed<Box> box = parse_box(c.box);
    if (c.box.empty() || !parsed_ok(box)) return;
    const Box& b = std::get<Box>(box);
    data.has_box = true;
    data.box = {b.south / 100.0, b.north / 100.0, b.west / 100.0, b.east / 100.0, b.east < b.west};
    data.centre_lon = data.box.crosses_dateline ? 180 : 0;
}

// The place of --near, where the distances were measured from; without a box the map is
// centred on it, so that the stations around it stand together.
void add_near(const CriteriaChoices& c, app::StationMapData& data) {
    const Parsed<LatLon> near = parse_near(c.near);
    if (c.near.empty() || !parsed_ok(near)) return;
    const LatLon& at = std::get<LatLon>(near);
    data.near = app::MapPoint{at.latitude, at.longitude};
    if (!data.has_box) data.centre_lon = at.longitude;
}

}  // namespace

app::StationMapData result_map_data(const CriteriaChoices& choices, const CsvTable& stations) {
    app::StationMapData data;
    data.inventory = inventory_positions(choices);
    data.variable = choices.variable;
    add_box(choices, data);
    add_near(choices, data);
    const int lat = stations.column("latitude"), lon = stations.column("longitude");
    const int values = stations.column(stations.column("values") >= 0 ? "values" : "series");
    const int name = stations.column("name"), elevation = stations.column("elevation");
    for (std::size_t r = 0; r < stations.rows.size(); ++r) {
        const std::vector<std::string>& row = stations.rows[r];
        const std::optional<double> y = number(row, lat), x = number(row, lon);
        if (!y || !x) continue;
        app::MapStation s{.at = {*y, *x}, .id = static_cast<int>(r)};
        s.state = number(row, values).value_or(1) > 0 ? app::StationState::found : app::StationState::no_data;
        if (name >= 0) s.name = row[static_cast<std::size_t>(name)];
        s.elevation = static_cast<int>(number(row, elevation).value_or(-999));
        data.stations.push_back(s);
    }
    return data;
}

}  // namespace corvane::extract
