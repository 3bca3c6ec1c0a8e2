// The station tables are drawn from one random stream per file kind, in a fixed order, so
// that a seed always gives the same stations.
#include "stations.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace corvane::data_set {

namespace {

constexpr std::string_view syllables[] = {"KA", "RO", "MA", "LI", "BER", "TON", "VIL", "SAN", "NOR", "AS",
                                          "EL", "UR", "OK", "DAR", "MIN", "PO", "ZE", "GRA", "HAL", "KIR",
                                          "BA", "TU", "NE", "SO", "WEN", "FAL", "MOR", "ISH", "AN", "GO"};
constexpr std::string_view qualifiers[] = {"AIRPORT", "AP", "AGR STN", "EXP FARM", "MISSION", "DAM", "HILL",
                                           "CITY", "RIVER", "BAY", "VALLEY", "LIGHTHOUSE", "PASS", "LAKE",
                                           "NORTH", "SOUTH", "EAST", "WEST", "2", "3 N", "5 SE", "OBS"};

// A rough box per region (the first digit of the country code), longitudes east of 180
// wrapping to the west.
void place(Random& r, int country, Station& st) {
    struct Box { double lat0, lat1, lon0, lon1; };
    static constexpr Box boxes[] = {{-60, 60, -180, 180}, {-35, 37, -18, 51},   {0, 78, 26, 190},
                                    {-55, 12, -82, -34},  {7, 75, -170, -52},   {-50, 20, 110, 190},
                                    {35, 81, -25, 45},    {-90, -60, -180, 180}, {-60, 60, -180, 180}};
    const Box& b = boxes[std::clamp(country / 100, 0, 8)];
    st.lat = std::round(r.uniform(b.lat0, b.lat1) * 100.0) / 100.0;
    double lon = r.uniform(b.lon0, b.lon1);
    if (lon > 180) lon -= 360;
    st.lon = std::round(lon * 100.0) / 100.0;
    const double u = r.uniform();
    if (u < 0.03) st.elevation = -999;
    else if (u < 0.04) st.elevation = -r.between(1, 50);
    else if (u < 0.06) st.elevation = r.between(2000, 4500);
    else st.elevation = static_cast<int>(std::fabs(r.gauss(0, 400)));
}

}  // namespace

std::string make_name(Random& r, std::size_t width) {
    std::string name;
    const int n = r.between(2, 4);
    for (int i = 0; i < n; ++i) name += syllables[r.next() % std::size(syllables)];
    if (r.chance(0.4)) {
        name += ' ';
        name += qualifiers[r.next() % std::size(qualifiers)];
    }
    return name.substr(0, width);
}

int Numbers::near(Random& r, int base) {
    for (int i = 0; i < 50; ++i) {
        const int n = base / 1000 * 1000 + r.between(1, 999);
        if (take(n)) return n;
    }
    for (;;) {
        const int n = r.between(1000000, 99999999);
        if (take(n)) return n;
    }
}

std::vector<Station> make_inventory(Random& r, const std::vector<Country>& countries, int count, Numbers& numbers) {
    std::vector<Station> stations;
    while (static_cast<int>(stations.size()) < count) {
        Station st;
        st.country = r.pick(countries).code;
        const int wmo = r.between(10000, 99999);
        const int number = wmo * 1000 + (r.chance(0.4) ? 0 : r.between(1, 999));
        if (!numbers.take(number)) continue;
        st.number = number;
        st.name = make_name(r, 30);
        place(r, st.country, st);
        stations.push_back(st);
    }
    sort_by_id(stations);
    return stations;
}

Station neighbour(Random& r, const Station& base, Numbers& numbers) {
    Station st = base;
    st.negative_zero_lon = false;
    st.number = numbers.near(r, base.number);
    st.lat = std::round(std::clamp(base.lat + r.uniform(-1, 1), -89.99, 89.99) * 100.0) / 100.0;
    double lon = base.lon + r.uniform(-1.2, 1.2);
    if (lon > 180) lon -= 360;
    if (lon < -180) lon += 360;
    st.lon = std::round(lon * 100.0) / 100.0;
    if (base.elevation == -999 || r.chance(0.02)) st.elevation = -999;
    else st.elevation = std::clamp(static_cast<int>(base.elevation + r.gauss(0, 120)), -50, 5500);
    const std::string word = base.name.substr(0, base.name.find(' '));
    st.name = (word + " " + std::string(qualifiers[r.next() % std::size(qualifiers)])).substr(0, 20);
    return st;
}

void sort_by_id(std::vector<Station>& v) {
    std::sort(v.begin(), v.end(), [](const Station& a, const Station& b) { return a.id() < b.id(); });
}

std::vector<Station> data_stations(Random& r, const std::vector<Station>& inventory, double no_data,
                                   Numbers& numbers) {
    std::vector<Station> out;
    for (const Station& st : inventory) {
        if (!r.chance(no_data)) out.push_back(st);
    }
    const auto orphans = std::max<std::size_t>(2, out.size() / 100);
    for (std::size_t i = 0; i < orphans; ++i) out.push_back(neighbour(r, r.pick(inventory), numbers));
    sort_by_id(out);
    return out;
}

}  // namespace corvane::data_set
