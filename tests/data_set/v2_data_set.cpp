// The version 2 data set as a whole: stations, then the temperature, precipitation and
// pressure files, each variable group from a random stream of its own.
#include "ghcn_data_set.hpp"

#include <cmath>
#include <map>
#include <set>

#include "v2_files.hpp"

namespace corvane::data_set {

namespace {

struct TemperatureFiles {
    DataFile mean, mean_adj, min, min_adj, max, max_adj;
};

// What the made-up climate of a temperature station rests on.
struct StationClimate {
    double alat, base, amp, warm;
};

// The mean temperature of every year of the station's series, in tenths, shared by the series.
std::map<int, Year> temperature_truth(Random& r, const std::vector<Series>& plan, const StationClimate& c) {
    std::map<int, Year> truth;
    double anomaly = r.gauss(0, 0.5);
    for (const Series& s : plan) {
        for (int y : s.years) {
            if (truth.contains(y)) continue;
            anomaly = 0.6 * anomaly + r.gauss(0, 0.35);
            const double shift = anomaly + std::clamp(0.008 * (y - 1950), -0.5, 0.6);
            Year& t = truth[y];
            for (int m = 0; m < 12; ++m)
                t[m] = tenths(c.base + c.amp * season(m, c.warm) + shift + r.gauss(0, 0.5 + 0.03 * c.alat));
        }
    }
    return truth;
}

// The mean, minimum and maximum records of one station and their adjusted copies.
void write_temperature_station(Random& r, const Station& st, const std::vector<double>& dups, TemperatureFiles& f) {
    StationClimate c{};
    c.alat = std::fabs(st.lat);
    c.base = 27.0 - 0.0055 * c.alat * c.alat - 0.0065 * elevation_for_climate(st) + r.gauss(0, 1);
    c.amp = (1.0 + (st.lat >= 0 ? 0.25 : 0.16) * std::max(0.0, c.alat - 8)) * r.uniform(0.85, 1.15);
    c.warm = st.lat >= 0 ? 6.5 : 0.5;
    const double range = std::clamp(r.gauss(10.5, 2.5), 4.0, 18.0);
    const bool with_min_max = r.chance(0.55), adjusted = r.chance(0.29);
    const std::vector<Series> plan = plan_series(r, st.country, false, dups, 62, 28);
    std::map<int, Year> truth = temperature_truth(r, plan, c);
    const int step_year = r.between(1880, 1990);
    const double step = r.gauss(0, 0.5);
    for (std::size_t k = 0; k < plan.size(); ++k) {
        const Series& s = plan[k];
        const int offset = k == 0 ? 0 : r.between(-2, 2);
        const bool series_mm = with_min_max && (k == 0 || r.chance(0.6));
        const bool series_adj = adjusted && (k == 0 || r.chance(0.5));
        const int cut = r.chance(0.5) ? s.years.front() : s.years[s.years.size() / 3];
        for (std::size_t i = 0; i < s.years.size(); ++i) {
            const int y = s.years[i];
            Year v = truth[y];
            for (int& x : v) x += offset;
            const MissingMonths miss = missing_months(r, s, i, 0.015);
            Year got{};
            const bool wrote = f.mean.emit(r, st, s.digit, y, v, miss, fail_temperature, &got);
            const int adj = y < step_year ? tenths(step) : 0;
            auto adjust = [adj](Year a) {
                for (int& x : a) x = x == missing ? missing : x + adj;
                return a;
            };
            if (series_adj && wrote) f.mean_adj.copy(st, s.digit, y, adjust(got));
            if (!series_mm || y < cut) continue;
            for (int sign : {-1, 1}) {
                Year mv;
                for (int m = 0; m < 12; ++m)
                    mv[m] = v[m] + sign * tenths(range / 2 * (1 + 0.15 * season(m, c.warm)) + r.gauss(0, 0.4));
                const MissingMonths mmiss = r.chance(0.7) ? miss : missing_months(r, s, i, 0.03);
                DataFile& raw = sign < 0 ? f.min : f.max;
                if (raw.emit(r, st, s.digit, y, mv, mmiss, fail_temperature, &got) && series_adj)
                    (sign < 0 ? f.min_adj : f.max_adj).copy(st, s.digit, y, adjust(got));
            }
        }
    }
}

// Mean, minimum and maximum temperature and their adjusted copies.
bool write_temperature(const std::filesystem::path& dir, const DataSetOptions& o, const std::vector<Station>& inventory,
                       Numbers& numbers, DataSetSummary& summary) {
    Random r(o.seed, "temperature");
    const std::vector<Station> stations = data_stations(r, inventory, 0.015, numbers);
    const std::vector<double> dups{0.62, 0.19, 0.08, 0.045, 0.025, 0.015, 0.01, 0.007, 0.004, 0.004};
    TemperatureFiles f{{dir, "v2.mean", true, 0.0045, o.crlf}, {dir, "v2.mean_adj", false, 0, o.crlf},
                       {dir, "v2.min", true, 0.0035, o.crlf},  {dir, "v2.min_adj", false, 0, o.crlf},
                       {dir, "v2.max", true, 0.0035, o.crlf},  {dir, "v2.max_adj", false, 0, o.crlf}};
    for (const Station& st : stations) write_temperature_station(r, st, dups, f);
    bool ok = true;
    DataFile* files[] = {&f.mean, &f.mean_adj, &f.min, &f.min_adj, &f.max, &f.max_adj};
    for (int i = 0; i < 6; ++i) {
        ok = files[i]->close() && ok;
        summary.files[i] = files[i]->summary();
    }
    return ok;
}

// Monthly precipitation and its adjusted copy, with their two inventories.
bool write_precipitation(const std::filesystem::path& dir, const DataSetOptions& o, double f,
                         const std::vector<Station>& temperature, const std::vector<Country>& countries,
                         Numbers& numbers, DataSetSummary& summary) {
    Random r(o.seed, "precipitation");
    std::vector<Station> inventory = temperature;
    const auto wanted = static_cast<std::size_t>(std::max(20.0, std::round(20000 * f)));
    if (inventory.size() > wanted) inventory.resize(wanted);
    while (inventory.size() < wanted) inventory.push_back(neighbour(r, r.pick(temperature), numbers));
    sort_by_id(inventory);
    if (!write_short_inventory(dir / "v2.prcp.inv", o.crlf, inventory, countries)) return false;
    summary.precipitation_stations = static_cast<int>(inventory.size());

    const std::vector<Station> stations = data_stations(r, inventory, 0.02, numbers);
    std::set<std::int64_t> adjusted;
    for (const Station& st : stations) {
        if (r.chance(0.27)) adjusted.insert(st.id());
    }
    std::vector<Station> adj_inventory;
    for (const Station& st : inventory) {
        if (adjusted.contains(st.id()) || r.chance(0.01)) adj_inventory.push_back(st);
    }
    if (!write_short_inventory(dir / "v2.prcp.adj.inv", o.crlf, adj_inventory, countries)) return false;

    const std::vector<double> dups{0.78, 0.15, 0.05, 0.02};
    DataFile raw(dir, "v2.prcp", true, 0.0055, o.crlf), adj(dir, "v2.prcp_adj", false, 0, o.crlf);
    for (const Station& st : stations) {
        const double alat = std::fabs(st.lat);
        const double annual = (1500.0 * std::exp(-alat / 30.0) + 150.0) * std::exp(r.gauss(0, 0.5));
        const double peak = r.chance(0.3) ? (st.lat >= 0 ? 0.5 : 6.5) : (st.lat >= 0 ? 6.5 : 0.5);
        const double strength = alat < 25 ? r.uniform(0.6, 1.6) : r.uniform(0.1, 0.8);
        const std::vector<Series> plan = plan_series(r, st.country, false, dups, 26, 15);
        const double factor = r.uniform(0.9, 1.1);
        for (std::size_t k = 0; k < plan.size(); ++k) {
            const Series& s = plan[k];
            const bool series_adj = adjusted.contains(st.id()) && (k == 0 || r.chance(0.4));
            for (std::size_t i = 0; i < s.years.size(); ++i) {
                Year v;
                for (int m = 0; m < 12; ++m) {
                    const double mu = annual / 12.0 * std::max(0.02, 1 + strength * season(m, peak));
                    const double x = mu * r.gamma2(1.0);
                    v[m] = x < 0.05 || (mu < 5 && r.chance(0.25)) ? 0 : (x < 0.6 && r.chance(0.7)) ? trace
                                                                                                 : tenths(x);
                    v[m] = std::min(v[m], 99999);
                }
                Year got{};
                if (!raw.emit(r, st, s.digit, s.years[i], v, missing_months(r, s, i, 0.02), fail_precipitation, &got)
                    || !series_adj)
                    continue;
                for (int& x : got) {
                    if (x != missing && x != trace && x != 0) x = std::min(99999, tenths(x / 10.0 * factor));
                }
                adj.copy(st, s.digit, s.years[i], got);
            }
        }
    }
    const bool raw_ok = raw.close();
    const bool adj_ok = adj.close();  // closed even when the other failed
    const bool ok = raw_ok && adj_ok;
    summary.files[6] = raw.summary();
    summary.files[7] = adj.summary();
    return ok;
}

// Mean sea-level pressure at WMO stations, with its inventory.
bool write_pressure(const std::filesystem::path& dir, const DataSetOptions& o, double f,
                    const std::vector<Station>& temperature, const std::vector<Country>& countries, Numbers& numbers,
                    DataSetSummary& summary) {
    Random r(o.seed, "pressure");
    std::vector<Station> wmo;
    for (const Station& st : temperature) {
        if (st.number % 1000 == 0 && st.country != 800) wmo.push_back(st);
    }
    const auto wanted = static_cast<std::size_t>(std::max(5.0, std::round(2000 * f)));
    std::vector<Station> inventory;
    for (std::size_t i = 0; i < wmo.size() && inventory.size() < wanted; ++i) {
        if (r.chance(static_cast<double>(wanted) / static_cast<double>(wmo.size()) * 1.2)) inventory.push_back(wmo[i]);
    }
    if (!write_short_inventory(dir / "v2.slp.inv", o.crlf, inventory, countries)) return false;
    summary.pressure_stations = static_cast<int>(inventory.size());

    const std::vector<Station> stations = data_stations(r, inventory, 0.02, numbers);
    const std::vector<double> dups{0.85, 0.12, 0.03};
    DataFile raw(dir, "v2.slp", true, 0.0045, o.crlf);
    for (const Station& st : stations) {
        const double alat = std::fabs(st.lat);
        const double base = 1013.0 + 4.0 * std::cos(alat / 90.0 * 6.283185307179586) + r.gauss(0, 1.5);
        const double amp = r.uniform(1.0, 6.0);
        const std::vector<Series> plan = plan_series(r, st.country, true, dups, 40, 15);
        for (std::size_t k = 0; k < plan.size(); ++k) {
            const Series& s = plan[k];
            for (std::size_t i = 0; i < s.years.size(); ++i) {
                Year v;
                const double anomaly = r.gauss(0, 0.4);
                for (int m = 0; m < 12; ++m)
                    v[m] = tenths(base + amp * season(m, 0.5) + anomaly + r.gauss(0, 0.6 + 0.08 * alat));
                raw.emit(r, st, s.digit, s.years[i], v, missing_months(r, s, i, 0.025), fail_pressure);
            }
        }
    }
    const bool ok = raw.close();
    summary.files[8] = raw.summary();
    return ok;
}

double scale_factor(Scale s) { return s == Scale::full ? 1.0 : s == Scale::medium ? 0.1 : 0.01; }

}  // namespace

bool parse_scale(const std::string& text, Scale& scale) {
    if (text == "small") scale = Scale::small;
    else if (text == "medium") scale = Scale::medium;
    else if (text == "full") scale = Scale::full;
    else return false;
    return true;
}

bool generate_data_set(const DataSetOptions& o, DataSetSummary& summary, std::string& error) {
    const std::filesystem::path dir = o.directory;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::vector<Country> countries;
    std::string country_text;
    if (!read_countries(o.country_list, countries, country_text)) {
        error = "cannot read the country list " + o.country_list;
        return false;
    }
    if (!copy_country_list(dir / "v2.country.codes", country_text, o.crlf) ||
        !copy_country_list(dir / "v2.slp.country.codes", country_text, o.crlf)) {
        error = "cannot write into " + dir.string();
        return false;
    }
    const double f = scale_factor(o.scale);
    Random r(o.seed, "stations");
    Numbers numbers;
    std::vector<Station> temperature =
        make_inventory(r, countries, std::max(20, static_cast<int>(std::lround(7364 * f))), numbers);
    for (Station& st : temperature) {  // one longitude written as -0.00, as in real inventories
        if (std::fabs(st.lon) < 1.0) {
            st.lon = 0;
            st.negative_zero_lon = true;
            break;
        }
    }
    summary.temperature_stations = static_cast<int>(temperature.size());
    const bool ok = write_temperature_inventory(dir / "v2.temperature.inv", o.crlf, temperature) &&
                    write_temperature(dir, o, temperature, numbers, summary) &&
                    write_precipitation(dir, o, f, temperature, countries, numbers, summary) &&
                    write_pressure(dir, o, f, temperature, countries, numbers, summary);
    if (!ok) error = "cannot write the data files into " + dir.string();
    return ok;
}

}  // namespace corvane::data_set
