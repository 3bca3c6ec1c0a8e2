// The GeoJSON file: station rows as RFC 7946 point features, parsed back and compared.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "extract/geojson_sink.hpp"
#include "test_support.hpp"

namespace corvane::extract {
namespace {

namespace fs = std::filesystem;
using corvane::testing::read_file;
using corvane::testing::ScratchDirectory;

const std::vector<StationRow> stations = {
    {.id = "NZ000093994", .country_code = "NZ", .country_name = "New Zealand", .name = "RAOUL ISL/KERMADEC IS",
     .latitude = -29.25, .longitude = -177.917, .elevation = std::nullopt, .distance_km = 1.5, .first_year = 1940,
     .last_year = 2026, .values = 1000},
    {.id = "USW00014771", .country_code = "US", .country_name = "United States", .name = "SYRACUSE \"HANCOCK\", NY",
     .latitude = 43.1111, .longitude = -76.1039, .elevation = 124.0, .distance_km = 2.25, .first_year = 0,
     .last_year = 0, .values = 0},
};

std::string write(const fs::path& path, const std::vector<StationRow>& rows, bool replace = false) {
    GeojsonSink sink(path, replace);
    sink.begin(VariableInfo{});
    for (const StationRow& r : rows) sink.station(r);
    std::string error;
    // As a run does once all its outputs are complete: the file takes its final name.
    if (sink.finish(error)) error = sink.file().commit();
    return error;
}

TEST(GeojsonSink, AFeatureCollectionOfPointsInLongitudeLatitudeOrder) {
    ScratchDirectory scratch;
    ASSERT_EQ(write("stations.geojson", stations), "");
    const nlohmann::json doc = nlohmann::json::parse(read_file("stations.geojson"));
    EXPECT_EQ(doc["type"], "FeatureCollection");
    ASSERT_EQ(doc["features"].size(), stations.size());
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const nlohmann::json& f = doc["features"][i];
        const StationRow& s = stations[i];
        EXPECT_EQ(f["type"], "Feature");
        EXPECT_EQ(f["geometry"]["type"], "Point");
        EXPECT_EQ(f["geometry"]["coordinates"], nlohmann::json::array({s.longitude, s.latitude})) << "no third coordinate";
        const nlohmann::json& p = f["properties"];
        EXPECT_EQ(p["id"], s.id);
        EXPECT_EQ(p["name"], s.name);
        EXPECT_EQ(p["country"], s.country_name);
        EXPECT_EQ(p["elevation"], s.elevation ? nlohmann::json(*s.elevation) : nlohmann::json(nullptr));
        EXPECT_EQ(p["values"], s.values);
        EXPECT_EQ(p["distance_km"], *s.distance_km);
    }
    EXPECT_EQ(doc["features"][0]["properties"]["first_year"], 1940);
    EXPECT_TRUE(doc["features"][1]["properties"]["first_year"].is_null()) << "no values: no years";
}

TEST(GeojsonSink, WithoutNearThereIsNoDistanceAndNoStationsIsAnEmptyCollection) {
    ScratchDirectory scratch;
    std::vector<StationRow> rows = stations;
    for (StationRow& r : rows) r.distance_km.reset();
    ASSERT_EQ(write("a.geojson", rows), "");
    EXPECT_FALSE(nlohmann::json::parse(read_file("a.geojson"))["features"][0]["properties"].contains("distance_km"));
    ASSERT_EQ(write("empty.geojson", {}), "");
    EXPECT_EQ(nlohmann::json::parse(read_file("empty.geojson"))["features"], nlohmann::json::array());
}

TEST(GeojsonSink, AnExistingFileIsKeptAndNoTemporaryFileIsLeft) {
    ScratchDirectory scratch;
    { std::ofstream("s.geojson") << "mine"; }
    EXPECT_NE(write("s.geojson", stations).find("s.geojson: File exists; not written"), std::string::npos);
    EXPECT_EQ(read_file("s.geojson"), "mine");
    EXPECT_NE(write("no/dir/s.geojson", stations).find("cannot be written"), std::string::npos);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(".")) ++files;
    EXPECT_EQ(files, 1u);
    EXPECT_EQ(write("s.geojson", stations, true), "");
    EXPECT_EQ(nlohmann::json::parse(read_file("s.geojson"))["features"].size(), 2u);
}

}  // namespace
}  // namespace corvane::extract
