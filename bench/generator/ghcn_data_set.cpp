#include "generator/ghcn_data_set.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string_view>
#include <vector>

namespace corvane::bench {

namespace {

constexpr int last_year = 2006;
constexpr int missing = -9999;
constexpr int trace = -8888;

// A small generator of our own (xoshiro256**, seeded through splitmix64), so that the
// files are the same with every standard library.
class Random {
public:
    Random(std::uint64_t seed, std::string_view stream) {
        std::uint64_t x = seed;
        for (char c : stream) x = x * 1099511628211u + static_cast<unsigned char>(c);
        for (auto& s : state_) s = splitmix(x);
    }
    std::uint64_t next() {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }  // [0, 1)
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    bool chance(double p) { return uniform() < p; }
    int between(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }
    double gauss(double mean, double sd) {
        const double u = 1.0 - uniform();
        return mean + sd * std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * uniform());
    }
    double gamma2(double mean) { return -mean / 2.0 * (std::log(1.0 - uniform()) + std::log(1.0 - uniform())); }
    template <class T>
    const T& pick(const std::vector<T>& v) { return v[next() % v.size()]; }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static std::uint64_t splitmix(std::uint64_t& x) {
        std::uint64_t z = (x += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    std::uint64_t state_[4]{};
};

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
    int elevation = 0;
    bool negative_zero_lon = false;  // written as -0.00, as some real lines are
    std::int64_t id() const { return country * 100000000LL + number; }
};

// ---- text ----

void put_int(std::string& s, long long v, int width) {
    char text[24];
    const int n = std::snprintf(text, sizeof text, "%*lld", width, v);
    s.append(text, static_cast<std::size_t>(n));
}

void put_fixed2(std::string& s, double v, int width, bool negative_zero = false) {
    char text[32];
    const int n = negative_zero ? std::snprintf(text, sizeof text, "%*s", width, "-0.00")
                                : std::snprintf(text, sizeof text, "%*.2f", width, v);
    s.append(text, static_cast<std::size_t>(n));
}

void put_padded(std::string& s, std::string_view text, std::size_t width) {
    text = text.substr(0, width);
    s.append(text);
    s.append(width - text.size(), ' ');
}

void put_station_id(std::string& s, const Station& st) {
    put_int(s, st.country, 3);
    char number[12];
    std::snprintf(number, sizeof number, "%08d", st.number);
    s.append(number);
}

// A text file written line by line through a large buffer.
class LineFile {
public:
    LineFile(const std::filesystem::path& path, bool crlf) : file_(std::fopen(path.c_str(), "wb")), crlf_(crlf) {}
    ~LineFile() { close(); }
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    bool ok() const { return file_ != nullptr && !failed_; }
    std::string& line() { return buffer_; }
    void end_line() {
        if (crlf_) buffer_ += '\r';
        buffer_ += '\n';
        if (buffer_.size() >= (1u << 20)) flush();
    }
    bool close() {
        if (!file_) return false;
        flush();
        failed_ |= std::fclose(file_) != 0;
        file_ = nullptr;
        return !failed_;
    }

private:
    void flush() {
        if (file_ && !buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
            failed_ = true;
        buffer_.clear();
    }
    std::FILE* file_;
    bool crlf_;
    bool failed_ = false;
    std::string buffer_;
};

// ---- stations ----

constexpr std::string_view syllables[] = {"KA", "RO", "MA", "LI", "BER", "TON", "VIL", "SAN", "NOR", "AS",
                                          "EL", "UR", "OK", "DAR", "MIN", "PO", "ZE", "GRA", "HAL", "KIR",
                                          "BA", "TU", "NE", "SO", "WEN", "FAL", "MOR", "ISH", "AN", "GO"};
constexpr std::string_view qualifiers[] = {"AIRPORT", "AP", "AGR STN", "EXP FARM", "MISSION", "DAM", "HILL",
                                           "CITY", "RIVER", "BAY", "VALLEY", "LIGHTHOUSE", "PASS", "LAKE",
                                           "NORTH", "SOUTH", "EAST", "WEST", "2", "3 N", "5 SE", "OBS"};

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

// Station numbers already taken, so that every new one is unique in the whole set.
class Numbers {
public:
    bool take(int number) { return used_.insert(number).second; }
    int near(Random& r, int base) {
        for (int i = 0; i < 50; ++i) {
            const int n = base / 1000 * 1000 + r.between(1, 999);
            if (take(n)) return n;
        }
        for (;;) {
            const int n = r.between(1000000, 99999999);
            if (take(n)) return n;
        }
    }

private:
    std::set<int> used_;
};

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
    std::sort(stations.begin(), stations.end(), [](const Station& a, const Station& b) { return a.id() < b.id(); });
    return stations;
}

// A station near `base`: same country and WMO block, a new modifier, a similar place.
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

// The stations that have data: the inventory less a few, plus a few that no inventory lists.
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

// " lat lon elev": the columns both kinds of inventory line share after the name.
void put_position(std::string& s, const Station& st) {
    s += ' ';
    put_fixed2(s, st.lat, 6);
    s += ' ';
    put_fixed2(s, st.lon, 7, st.negative_zero_lon);
    s += ' ';
    put_int(s, st.elevation, 4);
}

bool write_temperature_inventory(const std::filesystem::path& path, bool crlf, const std::vector<Station>& stations) {
    LineFile f(path, crlf);
    for (const Station& st : stations) {
        std::string& s = f.line();
        put_station_id(s, st);
        s += ' ';
        put_padded(s, st.name, 30);
        put_position(s, st);
        s += "    0R   -9FLxxno-9x-9MIXED           A    0";  // columns 63-106, not read
        f.end_line();
    }
    return f.close();
}

std::string country_name(const std::vector<Country>& countries, int code) {
    for (const Country& c : countries) {
        if (c.code == code) return c.name.substr(0, c.name.find(" ("));
    }
    return {};
}

// The 62-column lines of the precipitation and pressure inventories.
bool write_short_inventory(const std::filesystem::path& path, bool crlf, const std::vector<Station>& stations,
                           const std::vector<Country>& countries) {
    LineFile f(path, crlf);
    for (const Station& st : stations) {
        std::string& s = f.line();
        put_station_id(s, st);
        s += ' ';
        put_padded(s, st.name, 20);
        put_padded(s, country_name(countries, st.country), 10);
        put_position(s, st);
        f.end_line();
    }
    return f.close();
}

// ---- series ----

using Year = std::array<int, 12>;
using MissingMonths = std::array<bool, 12>;

struct Series {
    int digit = 0;
    std::vector<int> years;
};

int first_year(int country, bool pressure) {
    if (country == 700) return 1945;
    if (country == 701) return 1903;
    if (country == 800) return 1946;
    if (pressure) return 1850;
    if (country / 100 == 6) return 1701;
    if (country == 403 || country == 425) return 1740;
    return country / 100 == 2 ? 1800 : 1830;
}

int pick_series_count(Random& r, const std::vector<double>& weights) {
    double u = r.uniform();
    for (std::size_t k = 0; k < weights.size(); ++k) {
        if ((u -= weights[k]) < 0) return static_cast<int>(k) + 1;
    }
    return static_cast<int>(weights.size());
}

// One to ten series of a station: their duplicate digits (sometimes with gaps) and years.
std::vector<Series> plan_series(Random& r, int country, bool pressure, const std::vector<double>& weights,
                                double mean_length, double duplicate_length) {
    const int count = pick_series_count(r, weights);
    std::vector<int> digits;
    if (count < 10 && r.chance(0.1)) {
        std::vector<int> all{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        for (int i = 9; i > 0; --i) std::swap(all[static_cast<std::size_t>(i)], all[r.next() % (i + 1)]);
        digits.assign(all.begin(), all.begin() + count);
        std::sort(digits.begin(), digits.end());
    } else {
        for (int d = 0; d < count; ++d) digits.push_back(d);
    }
    const int first = first_year(country, pressure);
    const double u = r.uniform();
    const int end = u < 0.5 ? (r.chance(0.8) ? last_year : last_year - r.between(1, 3))
                  : u < 0.65 ? r.between(1988, 1992) : r.between(1950, 2004);
    int start = end - 2 - static_cast<int>(r.gamma2(mean_length));
    if (country / 100 == 6 && !pressure && r.chance(0.06)) start = r.between(first, std::max(first, end - 10));
    start = std::clamp(start, first, end);

    std::vector<Series> out;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        int s = start, e = end;
        if (k > 0) {
            const int lo = std::max(first, start - 10);
            s = r.between(lo, std::max(lo, end - 2));
            e = std::min(last_year, s + 1 + static_cast<int>(r.gamma2(duplicate_length)));
        }
        Series series{digits[k], {}};
        int gap0 = 0, gap1 = -1;
        if (k == 0 && e - s > 30 && r.chance(0.15)) {
            gap0 = r.between(s + 5, e - 15);
            gap1 = gap0 + r.between(2, 12);
        }
        for (int y = s; y <= e; ++y) {
            if (!r.chance(0.03) && (y < gap0 || y > gap1)) series.years.push_back(y);
        }
        if (series.years.empty()) series.years.push_back(e);
        out.push_back(std::move(series));
    }
    return out;
}

// Months without a value: single gaps, partial first and last years, a few sparse years,
// and the last year, which was not over yet.
MissingMonths missing_months(Random& r, const Series& series, std::size_t index, double p) {
    MissingMonths miss{};
    for (bool& m : miss) m = r.chance(p);
    if (index == 0 && r.chance(0.4)) std::fill_n(miss.begin(), r.between(0, 11), true);
    if (index + 1 == series.years.size() && r.chance(0.4)) std::fill(miss.begin() + r.between(1, 11), miss.end(), true);
    if (r.chance(0.02)) {
        for (int k = r.between(4, 11); k > 0; --k) miss[r.next() % 12] = true;
    }
    if (series.years[index] == last_year) std::fill(miss.begin() + r.between(8, 12), miss.end(), true);
    return miss;
}

// A data file, with its failed-QC companion when the variable has one.
class DataFile {
public:
    DataFile(const std::filesystem::path& dir, const std::string& name, bool with_failed, double fail_p, bool crlf)
        : name_(name), data_(dir / name, crlf), fail_p_(fail_p) {
        if (with_failed) failed_ = std::make_unique<LineFile>(dir / (name + ".failed.qc"), crlf);
        summary_.name = name;
        summary_.failed_values = with_failed ? 0 : -1;
    }

    using FailedValue = std::function<int(Random&, int)>;

    // Writes one record unless all its values are missing; a value may fail quality control
    // instead, leaving a missing value behind. Returns whether the record was written.
    bool emit(Random& r, const Station& st, int digit, int year, const Year& values, const MissingMonths& miss,
              const FailedValue& fail, Year* written = nullptr) {
        Year out{};
        std::vector<std::pair<int, int>> failed;  // month, value
        for (int m = 0; m < 12; ++m) {
            out[m] = miss[m] ? missing : values[m];
            if (!miss[m] && failed_ && values[m] != trace && r.chance(fail_p_)) {
                failed.emplace_back(m + 1, std::clamp(fail(r, values[m]), -99999, 999999));
                out[m] = missing;
            }
        }
        if (std::all_of(out.begin(), out.end(), [](int v) { return v == missing; })) {
            if (failed.empty()) return false;
            for (auto [month, value] : failed) out[month - 1] = values[month - 1];  // they pass after all
            failed.clear();
        }
        write_record(st, digit, year, out);
        for (auto [month, value] : failed) write_failed(st, digit, year, month, value);
        if (written) *written = out;
        return true;
    }

    // Writes the record as it is (adjusted copies), unless all its values are missing.
    bool copy(const Station& st, int digit, int year, const Year& values) {
        if (std::all_of(values.begin(), values.end(), [](int v) { return v == missing; })) return false;
        write_record(st, digit, year, values);
        return true;
    }

    bool close() {
        bool ok = data_.close();
        if (failed_) ok = failed_->close() && ok;
        return ok;
    }
    const DataFileSummary& summary() const { return summary_; }

private:
    void write_record(const Station& st, int digit, int year, const Year& values) {
        std::string& s = data_.line();
        put_station_id(s, st);
        put_int(s, digit, 1);
        put_int(s, year, 4);
        for (int v : values) put_int(s, v, 5);
        data_.end_line();
        ++summary_.records;
        if (st.id() != last_station_) ++summary_.stations;
        if (st.id() != last_station_ || digit != last_digit_) ++summary_.series;
        last_station_ = st.id();
        last_digit_ = digit;
    }
    // (i3,i8,2x,i4,i3,i6); the skipped columns hold the duplicate digit and a blank.
    void write_failed(const Station& st, int digit, int year, int month, int value) {
        std::string& s = failed_->line();
        put_station_id(s, st);
        put_int(s, digit, 1);
        s += ' ';
        put_int(s, year, 4);
        put_int(s, month, 3);
        put_int(s, value, 6);
        failed_->end_line();
        ++summary_.failed_values;
    }

    std::string name_;
    LineFile data_;
    std::unique_ptr<LineFile> failed_;
    double fail_p_;
    DataFileSummary summary_;
    std::int64_t last_station_ = -1;
    int last_digit_ = -1;
};

int tenths(double x) { return static_cast<int>(std::floor(x * 10.0 + 0.5)); }

double season(int month, double peak) { return std::cos(6.283185307179586 * (month - peak) / 12.0); }

int fail_temperature(Random& r, int v) {
    const double u = r.uniform();
    if (u < 0.08) return std::array{999, -999, 9999, -1000, 0}[r.next() % 5];
    if (u < 0.15) return v ? -v : 250;  // a sign error
    if (u < 0.22) return v * 10;        // a decimal point error
    return v + (r.chance(0.5) ? -1 : 1) * r.between(80, 350);
}

int fail_precipitation(Random& r, int v) {
    const double u = r.uniform();
    if (u < 0.1) return std::array{99999, 9999, 8888}[r.next() % 3];
    if (u < 0.2) return v * 10 + r.between(0, 9);
    return std::max(v, 0) * r.between(3, 12) + r.between(800, 12000);
}

int fail_pressure(Random& r, int v) {
    if (r.chance(0.1)) return std::array{0, 9999, 99999}[r.next() % 3];
    return v + (r.chance(0.5) ? -1 : 1) * r.between(150, 700);
}

int elevation_for_climate(const Station& st) { return st.elevation <= -900 ? 100 : st.elevation; }

// Mean, minimum and maximum temperature and their adjusted copies.
bool write_temperature(const std::filesystem::path& dir, const DataSetOptions& o, const std::vector<Station>& inventory,
                       Numbers& numbers, DataSetSummary& summary) {
    Random r(o.seed, "temperature");
    const std::vector<Station> stations = data_stations(r, inventory, 0.015, numbers);
    const std::vector<double> dups{0.62, 0.19, 0.08, 0.045, 0.025, 0.015, 0.01, 0.007, 0.004, 0.004};
    DataFile mean(dir, "v2.mean", true, 0.0045, o.crlf), mean_adj(dir, "v2.mean_adj", false, 0, o.crlf);
    DataFile min(dir, "v2.min", true, 0.0035, o.crlf), min_adj(dir, "v2.min_adj", false, 0, o.crlf);
    DataFile max(dir, "v2.max", true, 0.0035, o.crlf), max_adj(dir, "v2.max_adj", false, 0, o.crlf);
    for (const Station& st : stations) {
        const double alat = std::fabs(st.lat);
        const double base = 27.0 - 0.0055 * alat * alat - 0.0065 * elevation_for_climate(st) + r.gauss(0, 1);
        const double amp = (1.0 + (st.lat >= 0 ? 0.25 : 0.16) * std::max(0.0, alat - 8)) * r.uniform(0.85, 1.15);
        const double warm = st.lat >= 0 ? 6.5 : 0.5;
        const double range = std::clamp(r.gauss(10.5, 2.5), 4.0, 18.0);
        const bool with_min_max = r.chance(0.55), adjusted = r.chance(0.29);
        const std::vector<Series> plan = plan_series(r, st.country, false, dups, 62, 28);
        std::map<int, Year> truth;  // tenths, shared by the series of the station
        double anomaly = r.gauss(0, 0.5);
        for (const Series& s : plan) {
            for (int y : s.years) {
                if (truth.contains(y)) continue;
                anomaly = 0.6 * anomaly + r.gauss(0, 0.35);
                const double shift = anomaly + std::clamp(0.008 * (y - 1950), -0.5, 0.6);
                Year& t = truth[y];
                for (int m = 0; m < 12; ++m)
                    t[m] = tenths(base + amp * season(m, warm) + shift + r.gauss(0, 0.5 + 0.03 * alat));
            }
        }
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
                const bool wrote = mean.emit(r, st, s.digit, y, v, miss, fail_temperature, &got);
                const int adj = y < step_year ? tenths(step) : 0;
                auto adjust = [adj](Year a) {
                    for (int& x : a) x = x == missing ? missing : x + adj;
                    return a;
                };
                if (series_adj && wrote) mean_adj.copy(st, s.digit, y, adjust(got));
                if (!series_mm || y < cut) continue;
                for (int sign : {-1, 1}) {
                    Year mv;
                    for (int m = 0; m < 12; ++m)
                        mv[m] = v[m] + sign * tenths(range / 2 * (1 + 0.15 * season(m, warm)) + r.gauss(0, 0.4));
                    const MissingMonths mmiss = r.chance(0.7) ? miss : missing_months(r, s, i, 0.03);
                    DataFile& raw = sign < 0 ? min : max;
                    if (raw.emit(r, st, s.digit, y, mv, mmiss, fail_temperature, &got) && series_adj)
                        (sign < 0 ? min_adj : max_adj).copy(st, s.digit, y, adjust(got));
                }
            }
        }
    }
    bool ok = true;
    DataFile* files[] = {&mean, &mean_adj, &min, &min_adj, &max, &max_adj};
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

bool read_countries(const std::string& path, std::vector<Country>& countries, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += line;
        text += '\n';
        if (line.size() < 5 || line[0] < '0' || line[0] > '9') continue;
        countries.push_back({std::stoi(line.substr(0, 3)), line.substr(4)});
    }
    return !countries.empty();
}

bool copy_country_list(const std::filesystem::path& path, const std::string& text, bool crlf) {
    LineFile f(path, crlf);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        f.line().append(text, start, end - start);
        f.end_line();
        start = end + 1;
    }
    return f.close();
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

}  // namespace corvane::bench
