// Station rows as GeoJSON features, through nlohmann::json.
#include "extract/geojson_sink.hpp"

#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>

namespace corvane::extract {

namespace {

nlohmann::json feature(const StationRow& row) {
    using nlohmann::json;
    json properties = {{"id", row.id},
                       {"name", row.name},
                       {"country", row.country_name},
                       {"elevation", row.elevation ? json(*row.elevation) : json(nullptr)},
                       {"first_year", row.values > 0 ? json(row.first_year) : json(nullptr)},
                       {"last_year", row.values > 0 ? json(row.last_year) : json(nullptr)},
                       {"values", row.values}};
    if (row.distance_km) properties["distance_km"] = *row.distance_km;
    return {{"type", "Feature"},
            {"geometry", {{"type", "Point"}, {"coordinates", {row.longitude, row.latitude}}}},
            {"properties", properties}};
}

}  // namespace

GeojsonSink::GeojsonSink(const std::filesystem::path& path, bool replace) : file_(path, replace) {}

GeojsonSink::~GeojsonSink() {
    if (out_ != nullptr) std::fclose(out_);
}

void GeojsonSink::put(const std::string& text) {
    if (out_ != nullptr && error_.empty() && std::fwrite(text.data(), 1, text.size(), out_) != text.size()) {
        error_ = file_.final_path().string() + ": " + std::strerror(errno);
    }
}

void GeojsonSink::begin(const VariableInfo&) {
    out_ = std::fopen(file_.temporary().c_str(), "wx");
    if (out_ == nullptr) {
        error_ = file_.final_path().string() + ": cannot be written: " + std::strerror(errno);
        return;
    }
    // The collection's opening and closing are fixed; each member is the library's own text.
    put("{\"type\":\"FeatureCollection\",\"features\":[\n");
}

void GeojsonSink::station(const StationRow& row) {
    put((first_ ? "" : ",\n") + feature(row).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
    first_ = false;
}

bool GeojsonSink::finish(std::string& error) {
    put("\n]}\n");
    if (out_ != nullptr && std::fclose(out_) != 0 && error_.empty()) {
        error_ = file_.final_path().string() + ": " + std::strerror(errno);
    }
    out_ = nullptr;
    if (!error_.empty()) file_.discard();
    error = error_;
    return error_.empty();
}

}  // namespace corvane::extract
