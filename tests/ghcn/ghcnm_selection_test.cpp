// The station criteria: geodesic distances (across 180 degrees, at the poles), an
// inclusive radius, the N nearest with ties by identifier, names without case, and
// identifier lists with comments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ghcn/ghcnm_selection.hpp"
#include "ghcnm_test_files.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

using ghcn::GhcnmStation;
using ghcn::Place;

GhcnmStation at(std::string id, double latitude, double longitude) {
    GhcnmStation s;
    s.id = std::move(id);
    s.latitude = latitude;
    s.longitude = longitude;
    return s;
}

std::vector<std::string> ids(const std::vector<GhcnmStation>& stations, const std::vector<ghcn::StationDistance>& d) {
    std::vector<std::string> out;
    for (const auto& s : d) out.push_back(stations[s.index].id);
    return out;
}

TEST(GhcnmSelection, DistancesOnTheEllipsoid) {
    struct Case {
        Place from;
        double latitude, longitude;
        double km, tolerance;
    };
    const Case cases[] = {
        {{0, 0}, 0, 1, 111.319, 0.001},           // a degree of the equator
        {{90, 0}, 90, 120, 0, 1e-6},              // the pole from any longitude
        {{-90, 10}, -89, 10, 111.694, 0.001},     // a degree of meridian at the pole
        {{-16.55, 179.85}, -16.55, -179.85, 32.02, 0.02},  // across 180, not around the world
        {{0, 0}, 0, 180, 20003.931, 0.01},        // antipodes on the equator: over a pole
    };
    for (const Case& c : cases)
        EXPECT_NEAR(ghcn::distance_km(c.from, c.latitude, c.longitude), c.km, c.tolerance)
            << c.from.latitude << "," << c.from.longitude << " to " << c.latitude << "," << c.longitude;
}

TEST(GhcnmSelection, ARadiusIsInclusiveAndCrosses180) {
    const std::vector<GhcnmStation> stations{at("FJ0000000003", -16.0, 179.9), at("FJ0000000001", -16.0, -179.9),
                                                 at("FJ0000000002", -16.0, 170.0), at("FJ0000000004", -16.0, -179.5)};
    const Place near{-16.0, -179.9};
    const double edge = ghcn::distance_km(near, -16.0, -179.5);
    EXPECT_EQ(ids(stations, ghcn::within_radius(stations, near, edge)),
              (std::vector<std::string>{"FJ0000000001", "FJ0000000003", "FJ0000000004"}));
    EXPECT_EQ(ids(stations, ghcn::within_radius(stations, near, edge - 0.001)),
              (std::vector<std::string>{"FJ0000000001", "FJ0000000003"}));
}

TEST(GhcnmSelection, TheNearestWithTiesByIdentifier) {
    const std::vector<GhcnmStation> stations{at("C", 10, 10), at("B", 10, 10.5), at("A", 10, 10.5), at("D", 80, 0)};
    const Place near{10, 10};
    EXPECT_EQ(ids(stations, ghcn::nearest(stations, near, 2)), (std::vector<std::string>{"C", "A"}));
    EXPECT_EQ(ids(stations, ghcn::nearest(stations, near, 3)), (std::vector<std::string>{"C", "A", "B"}));
    EXPECT_EQ(ids(stations, ghcn::nearest(stations, near, 10)), (std::vector<std::string>{"C", "A", "B", "D"}));
    EXPECT_TRUE(ghcn::nearest({}, near, 3).empty());
}

TEST(GhcnmSelection, NamesWithoutCase) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"KORONI EAST POINT", "east", true}, {"KORONI EAST POINT", "Koroni E", true},
        {"KORONI EAST POINT", "west", false}, {"KORONI EAST POINT", "", true},
        {"AP", "AP2", false},
    };
    for (const auto& [name, text, found] : cases) EXPECT_EQ(ghcn::name_contains(name, text), found) << name << "/" << text;
}

TEST(GhcnmSelection, IdentifierListsWithComments) {
    ScratchDirectory scratch;
    write_file("ids.txt", "# stations of the study\nFJW30109475\n\n  RSM07507542   # east of 180\r\n#NZC98001252\n");
    std::vector<std::string> read;
    ghcn::ReadProblem problem;
    ASSERT_TRUE(ghcn::read_id_list("ids.txt", read, problem)) << ghcn::describe(problem);
    EXPECT_EQ(read, (std::vector<std::string>{"FJW30109475", "RSM07507542"}));

    write_file("two.txt", "FJW30109475\nRSM07507542 NZC98001252\n");
    read.clear();
    EXPECT_FALSE(ghcn::read_id_list("two.txt", read, problem));
    EXPECT_EQ(problem.line, 2);
    EXPECT_FALSE(ghcn::read_id_list("absent.txt", read, problem));
    EXPECT_EQ(problem.file, "absent.txt");
}

TEST(GhcnmSelection, IdentifiersTheInventoryLacks) {
    std::vector<GhcnmStation> stations;
    ghcn::ReadProblem problem;
    ASSERT_TRUE(ghcn::read_inventory(ghcn::Edition::v4, v4_sample(v4_qcu_inv), stations, problem));
    const std::vector<std::string> wanted{"XX000000001", stations[3].id, "YY000000002"};
    EXPECT_EQ(ghcn::ids_not_in(wanted, stations), (std::vector<std::string>{"XX000000001", "YY000000002"}));
}

}  // namespace
}  // namespace corvane::testing
