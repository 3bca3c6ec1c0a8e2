// The stations a version 3 or 4 extraction selects from an inventory: each criterion alone
// and together, a radius across 180 degrees and around the poles, more nearest stations
// asked than there are, equal distances in identifier order, countries by code or name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/ghcnm_station_choice.hpp"
#include "ghcn/ghcnm_selection.hpp"

namespace corvane::extract {
namespace {

ghcn::GhcnmStation station(std::string id, double lat, double lon, std::optional<double> elevation = 10.0,
                               std::string name = "SOMEWHERE") {
    ghcn::GhcnmStation s;
    s.country_code = id.substr(0, 2);
    s.id = std::move(id);
    s.latitude = lat;
    s.longitude = lon;
    s.elevation = elevation;
    s.name = std::move(name);
    return s;
}

std::vector<std::string> ids_of(const std::vector<ghcn::GhcnmStation>& stations,
                                const std::vector<ChosenStation>& chosen) {
    std::vector<std::string> ids;
    for (const ChosenStation& c : chosen) ids.push_back(stations[c.index].id);
    return ids;
}

std::vector<std::size_t> all(const std::vector<ghcn::GhcnmStation>& stations) {
    return inventory_matches(stations, {});
}

const std::vector<ghcn::GhcnmStation> around_dateline = {
    station("FJW00000001", -16.75, -179.90, 25.0, "VALOFA WEST CAPE"),
    station("RSM00000002", -16.55, 179.85, 12.0, "KORONI EAST POINT"),
    station("NZW00000003", -41.0, 174.0, std::nullopt, "WELLINGTON"),
    station("USW00000004", 40.0, -100.0, 900.0, "KANSAS"),
};

TEST(GhcnmStationChoice, ARadiusAcross180DegreesTakesStationsOnBothSides) {
    const PlaceCriteria place{{-16.6, 180.0}, 50.0, std::nullopt};
    const auto chosen = choose_by_place(around_dateline, all(around_dateline), place);
    EXPECT_EQ(ids_of(around_dateline, chosen), (std::vector<std::string>{"RSM00000002", "FJW00000001"}));
    for (const ChosenStation& c : chosen) EXPECT_LE(*c.distance_km, 50.0);
}

TEST(GhcnmStationChoice, TheRadiusIsInclusiveAndMeasuredOnTheEllipsoid) {
    const double km = ghcn::distance_km({-16.6, 180.0}, -16.75, -179.90);
    EXPECT_NEAR(km, 19.7, 0.5);
    const auto at_edge = choose_by_place(around_dateline, all(around_dateline), PlaceCriteria{{-16.6, 180.0}, km, {}});
    EXPECT_EQ(ids_of(around_dateline, at_edge).back(), "FJW00000001");
}

TEST(GhcnmStationChoice, AroundThePolesEveryLongitudeIsNear) {
    const std::vector<ghcn::GhcnmStation> polar = {
        station("AYA00000001", -89.9, 0.0), station("AYA00000002", -89.9, 180.0), station("AYA00000003", -89.9, 90.0),
        station("AYA00000004", -80.0, 0.0)};
    const auto south = choose_by_place(polar, all(polar), PlaceCriteria{{-90.0, 0.0}, 20.0, {}});
    EXPECT_EQ(ids_of(polar, south), (std::vector<std::string>{"AYA00000001", "AYA00000002", "AYA00000003"}))
        << "equal distances from the pole in identifier order";
    EXPECT_TRUE(choose_by_place(polar, all(polar), PlaceCriteria{{90.0, 0.0}, 1000.0, {}}).empty());
}

TEST(GhcnmStationChoice, MoreNearestThanStationsGivesThemAllNearestFirst) {
    const auto chosen = choose_by_place(around_dateline, all(around_dateline), PlaceCriteria{{-17.0, 179.0}, {}, 100});
    ASSERT_EQ(chosen.size(), around_dateline.size());
    for (std::size_t i = 1; i < chosen.size(); ++i) EXPECT_LE(*chosen[i - 1].distance_km, *chosen[i].distance_km);
}

TEST(GhcnmStationChoice, TheNearestAreTakenAmongStationsMeetingTheOtherCriteriaAndWithinTheRadius) {
    InventoryCriteria c;
    c.elevation = ElevationRange{0, 20};
    const auto candidates = inventory_matches(around_dateline, c);
    const auto chosen = choose_by_place(around_dateline, candidates, PlaceCriteria{{-16.6, -179.9}, 5000.0, 1});
    EXPECT_EQ(ids_of(around_dateline, chosen), (std::vector<std::string>{"RSM00000002"}))
        << "the nearer station is 25 m high, above the range";
    EXPECT_TRUE(choose_by_place(around_dateline, candidates, PlaceCriteria{{40.0, -100.0}, 100.0, 1}).empty());
}

TEST(GhcnmStationChoice, EqualDistancesAreOrderedByIdentifier) {
    const std::vector<ghcn::GhcnmStation> twins = {
        station("ZZZ00000009", 10.0, 10.0), station("AAA00000001", 10.0, 10.0), station("MMM00000005", 10.0, 10.0)};
    const auto chosen = choose_by_place(twins, all(twins), PlaceCriteria{{0.0, 0.0}, {}, 2});
    EXPECT_EQ(ids_of(twins, chosen), (std::vector<std::string>{"AAA00000001", "MMM00000005"}));
}

TEST(GhcnmStationChoice, InventoryCriteriaAloneAndTogether) {
    struct Case {
        const char* what;
        InventoryCriteria criteria;
        std::vector<std::size_t> expected;
    };
    InventoryCriteria box_across;
    box_across.box = Box{0, -3000, -17000, 17000};
    InventoryCriteria missing_kept;
    missing_kept.elevation = ElevationRange{0, 100};
    missing_kept.reject_missing_elevation = false;
    InventoryCriteria missing_rejected = missing_kept;
    missing_rejected.reject_missing_elevation = true;
    InventoryCriteria named;
    named.name = "east";
    InventoryCriteria listed;
    listed.ids = std::set<std::string>{"USW00000004", "NOT00000000"};
    InventoryCriteria combined = box_across;
    combined.name = "point";
    InventoryCriteria country;
    country.country_code = "FJ";
    const std::vector<Case> cases = {
        {"a box across 180 degrees", box_across, {0, 1}},
        {"a missing elevation kept", missing_kept, {0, 1, 2}},
        {"a missing elevation rejected", missing_rejected, {0, 1}},
        {"a part of the name in another case", named, {1}},
        {"identifiers, one the inventory lacks", listed, {3}},
        {"box and name together", combined, {1}},
        {"a country", country, {0}},
    };
    for (const Case& c : cases) EXPECT_EQ(inventory_matches(around_dateline, c.criteria), c.expected) << c.what;
}

TEST(GhcnmStationChoice, EnoughYearsCountsYearsWithEnoughMonths) {
    YearMonths months;
    months["A"][2000] = 0x0fff;  // twelve months
    months["A"][2001] = 0x00ff;  // eight
    months["A"][2002] = 0x0fff;
    EXPECT_TRUE(enough_years(months, "A", 2, 12));
    EXPECT_FALSE(enough_years(months, "A", 3, 12));
    EXPECT_TRUE(enough_years(months, "A", 3, 8));
    EXPECT_FALSE(enough_years(months, "B", 1, 1)) << "a station without data";
}

TEST(GhcnmStationChoice, ACountryByItsCodeOrItsFullNameInAnyCase) {
    const std::vector<CountryEntry> list = {{"NZ", "New Zealand"}, {"FJ", "Fiji"}};
    EXPECT_EQ(find_country(list, "nz")->code, "NZ");
    EXPECT_EQ(find_country(list, "NEW ZEALAND")->code, "NZ");
    EXPECT_FALSE(find_country(list, "Zealand").has_value()) << "a part of a name is not a country";
}

}  // namespace
}  // namespace corvane::extract
