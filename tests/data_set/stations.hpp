// The stations of a generated data set: countries from a country-code list, names made of
// syllables, places in a rough box per region, elevations with the missing marker, and
// numbers unique across the whole set.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "random.hpp"

namespace corvane::data_set {

struct Country {
    int code = 0;
    std::string name;
};

struct Station {
    int country = 0;
    int number = 0;  // 5-digit WMO number and 3-digit modifier
    std::string name;
    double lat = 0;
    double lon = 0;
    int elevation = 0;  // metres; -999 when missing
    bool negative_zero_lon = false;  // written as -0.00, as some real lines are
    std::int64_t id() const { return country * 100000000LL + number; }
};

// Station numbers already taken, so that every new one is unique in the whole set.
class Numbers {
public:
    bool take(int number) { return used_.insert(number).second; }
    int near(Random& r, int base);

private:
    std::set<int> used_;
};

std::string make_name(Random& r, std::size_t width);
// `count` stations of random countries, ordered by identifier.
std::vector<Station> make_inventory(Random& r, const std::vector<Country>& countries, int count, Numbers& numbers);
// A station near `base`: same country and WMO block, a new modifier, a similar place.
Station neighbour(Random& r, const Station& base, Numbers& numbers);
void sort_by_id(std::vector<Station>& v);
// The stations that have data: the inventory less a few, plus a few that no inventory lists.
std::vector<Station> data_stations(Random& r, const std::vector<Station>& inventory, double no_data,
                                   Numbers& numbers);

}  // namespace corvane::data_set
