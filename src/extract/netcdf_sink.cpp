// The CF timeSeries file through libnetcdf: observation variables defined at the start and
// filled a block at a time, station variables defined and written at the end.
#include "extract/netcdf_sink.hpp"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>
#include <netcdf.h>

#include "extract/exact_decimal.hpp"
#include "extract/file_digest.hpp"
#include "extract/netcdf_variables.hpp"

namespace corvane::extract {

using namespace netcdf_file;

namespace {

constexpr std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe);
}

}  // namespace

struct NetcdfSink::Ids {
    int file = -1, obs = -1, nv = -1;
    int time = -1, bounds = -1, value = -1, anomaly = -1, trace = -1;
    std::array<int, 3> flags{-1, -1, -1};
};

struct NetcdfSink::Block {
    std::vector<float> time, bounds;
    std::vector<float> value, anomaly;
    std::array<std::vector<signed char>, 3> flags;
    std::vector<signed char> trace;
    std::size_t size() const { return time.size(); }
    void clear() {
        time.clear(); bounds.clear(); value.clear(); anomaly.clear(); trace.clear();
        for (auto& f : flags) f.clear();
    }
};

// The year dimension of the annual values: from the first year any series has to the last.
struct NetcdfSink::AnnualLayout {
    AnnualIds ids;
    std::int32_t first = 0;
    std::size_t years = 0;
};

std::string netcdf_history(const std::vector<std::string>& command, std::chrono::system_clock::time_point time) {
    std::string line = iso8601_utc(time) + ":";
    for (const std::string& word : command) {
        if (!word.empty() && word.find_first_of(" \t'\"\\$`") == std::string::npos) {
            line += ' ' + word;
            continue;
        }
        line += " '";
        for (char c : word) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line;
}

double days_since_1700(std::int32_t year, std::int32_t month) {
    static constexpr std::int64_t epoch = days_from_civil(1700, 1, 1);
    return static_cast<double>(days_from_civil(year, static_cast<unsigned>(month), 1) - epoch);
}

NetcdfSink::NetcdfSink(NetcdfOptions options)
    : options_(std::move(options)), file_(options_.path, options_.replace),
      ids_(std::make_unique<Ids>()),
      block_(std::make_unique<Block>()) {}

NetcdfSink::~NetcdfSink() {
    if (open_) nc_close(ids_->file);
}

bool NetcdfSink::ok(int status, const char* what) {
    if (status != NC_NOERR && error_.empty()) {
        error_ = file_.final_path().string() + ": " + what + ": " + nc_strerror(status);
    }
    return error_.empty();
}

void NetcdfSink::begin(const VariableInfo& variable) {
    variable_ = variable;
    value_scale_ = static_cast<double>(power_of_ten(variable.decimals));
    if (!ok(nc_create(file_.temporary().c_str(), NC_NETCDF4 | NC_NOCLOBBER, &ids_->file), "cannot be created")) return;
    open_ = true;
    define_observations();
    ok(nc_enddef(ids_->file), "cannot define its variables");
}

void NetcdfSink::define_observations() {
    Ids& id = *ids_;
    const int f = id.file;
    nc_def_dim(f, "obs", NC_UNLIMITED, &id.obs);
    nc_def_dim(f, "nv", 2, &id.nv);
    define_globals(f, options_.title, options_.history, variable_);
    std::tie(id.time, id.bounds) = define_time(f, id.obs, id.nv);
    const std::string name = netcdf_name(variable_.name);
    id.value = define_value(f, id.obs, name, variable_);
    std::string ancillary;
    if (variable_.has_flags) {
        const std::array<const char*, 3> suffix{"_dmflag", "_qcflag", "_dsflag"};
        const std::array<const char*, 3> what{"measurement flag (DMFLAG)", "quality control flag (QCFLAG)",
                                              "source flag (DSFLAG)"};
        const std::array<const std::vector<FlagMeaning>*, 3> letters{
            &variable_.dmflag_meanings, &variable_.qcflag_meanings, &variable_.dsflag_meanings};
        for (std::size_t i = 0; i < 3; ++i) {
            id.flags[i] = define_flag(f, id.obs, name + suffix[i], variable_.label + ' ' + what[i], *letters[i]);
            ancillary += (ancillary.empty() ? "" : " ") + name + suffix[i];
        }
    }
    if (variable_.quantity == Quantity::precipitation) {
        id.trace = define_trace(f, id.obs, name + "_trace");
        ancillary += (ancillary.empty() ? "" : " ") + name + "_trace";
    }
    if (!ancillary.empty()) text_attribute(f, id.value, "ancillary_variables", ancillary);
    if (options_.anomalies) id.anomaly = define_anomaly(f, id.obs, name + "_anomaly", variable_, *options_.anomalies);
}

void NetcdfSink::value(const ValueRow& row) { values({&row, 1}); }

// Without anomalies or annual values each value goes straight into the block; the normals of
// the anomalies and the years of the annual values need the whole series first, which is held
// until its run ends.
void NetcdfSink::values(std::span<const ValueRow> rows) {
    if (!open_ || !error_.empty()) return;
    for (const ValueRow& row : rows) {
        if (runs_.starts_run(row)) {
            end_series();
            series_.push_back({row.series, row.station, 0});
        }
        ++series_.back().rows;
        if (holds_series()) held_.push_back(row);
        else add_observation(row, nullptr);
    }
}

void NetcdfSink::end_series() {
    if (held_.empty()) return;
    std::optional<SeriesNormals> normals;
    if (options_.anomalies) normals = monthly_normals(held_, *options_.anomalies);
    for (const ValueRow& row : held_) add_observation(row, normals ? &*normals : nullptr);
    if (options_.annual_min_months) {
        const double scale = static_cast<double>(power_of_ten(variable_.decimals));
        const bool sum = variable_.quantity == Quantity::precipitation;
        for (const AnnualValue& y : annual_values(held_, *options_.annual_min_months, sum)) {
            annual_.push_back({series_.size() - 1, y.year, static_cast<float>(static_cast<double>(y.value) / (scale * 10)),
                               static_cast<signed char>(y.months)});
        }
    }
    held_.clear();
}

// The twelve months of a record share their year: its thirteen month starts are worked
// out once.
std::pair<double, double> NetcdfSink::month_bounds(std::int32_t year, std::int32_t month) {
    if (month < 1 || month > 12) return {days_since_1700(year, month), days_since_1700(year, month + 1)};
    if (year != bounds_year_ || !month_starts_) {
        // From the year's first day, the months' lengths: February's from the calendar.
        static constexpr std::array<int, 12> month_days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        month_starts_.emplace();
        double start = days_since_1700(year, 1);
        for (std::size_t m = 0; m < 12; ++m) {
            (*month_starts_)[m] = start;
            start += month_days[m] + (m == 1 && leap ? 1 : 0);
        }
        (*month_starts_)[12] = start;
        bounds_year_ = year;
    }
    const auto m = static_cast<std::size_t>(month);
    return {(*month_starts_)[m - 1], (*month_starts_)[m]};
}

void NetcdfSink::add_observation(const ValueRow& row, const SeriesNormals* normals) {
    const double scale = value_scale_;
    Block& b = *block_;
    const auto [start, end] = month_bounds(row.year, row.month);
    b.time.push_back(static_cast<float>((start + end) / 2));
    b.bounds.push_back(static_cast<float>(start));
    b.bounds.push_back(static_cast<float>(end));
    const std::optional<std::int64_t> v = counted_value(row);
    b.value.push_back(v ? static_cast<float>(static_cast<double>(*v) / scale) : fill_float);
    b.flags[0].push_back(static_cast<signed char>(row.dmflag == ' ' ? 0 : row.dmflag));
    b.flags[1].push_back(static_cast<signed char>(row.qcflag == ' ' ? 0 : row.qcflag));
    b.flags[2].push_back(static_cast<signed char>(row.dsflag == ' ' ? 0 : row.dsflag));
    b.trace.push_back(row.trace ? 1 : 0);
    if (normals) {
        const std::optional<std::int64_t> a = anomaly(row, *normals);
        b.anomaly.push_back(a ? static_cast<float>(static_cast<double>(*a) / (scale * 10)) : fill_float);
    }
    if (b.size() == block_rows) write_block();
}

void NetcdfSink::write_block() {
    Block& b = *block_;
    const Ids& id = *ids_;
    const std::array<std::size_t, 2> start{written_, 0};
    const std::array<std::size_t, 2> count{b.size(), 2};
    if (b.size() == 0 || !error_.empty()) return b.clear();
    ok(nc_put_vara_float(id.file, id.time, start.data(), count.data(), b.time.data()), "time");
    ok(nc_put_vara_float(id.file, id.bounds, start.data(), count.data(), b.bounds.data()), "time_bnds");
    ok(nc_put_vara_float(id.file, id.value, start.data(), count.data(), b.value.data()), "values");
    for (std::size_t i = 0; i < 3; ++i) {
        if (id.flags[i] >= 0) ok(nc_put_vara_schar(id.file, id.flags[i], start.data(), count.data(), b.flags[i].data()), "flags");
    }
    if (id.trace >= 0) ok(nc_put_vara_schar(id.file, id.trace, start.data(), count.data(), b.trace.data()), "trace");
    if (id.anomaly >= 0) ok(nc_put_vara_float(id.file, id.anomaly, start.data(), count.data(), b.anomaly.data()), "anomalies");
    written_ += b.size();
    b.clear();
}

void NetcdfSink::station(const StationRow& row) { stations_.emplace(row.id, row); }

namespace {

std::size_t longest(const std::vector<std::string>& texts) {
    std::size_t width = 1;
    for (const std::string& t : texts) width = std::max(width, t.size());
    return width;
}

// The texts as rows of `longest(texts)` characters, NUL-padded, in one call.
int put_texts(int file, int var, const std::vector<std::string>& texts) {
    const std::size_t width = longest(texts);
    std::string rows(texts.size() * width, '\0');
    for (std::size_t i = 0; i < texts.size(); ++i) rows.replace(i * width, texts[i].size(), texts[i]);
    const std::array<std::size_t, 2> start = {0, 0}, count = {texts.size(), width};
    return nc_put_vara_text(file, var, start.data(), count.data(), rows.data());
}

struct StationColumns {
    std::vector<std::string> ids, names, countries;
    std::vector<double> lats, lons;
    std::vector<float> alts, distances;
    std::vector<int> sizes;
};

StationColumns station_columns(const std::vector<NetcdfSeries>& series,
                               const std::unordered_map<std::string, StationRow>& stations) {
    StationColumns c;
    const StationRow blank{};
    for (const NetcdfSeries& s : series) {
        const auto found = stations.find(s.station);
        const StationRow& st = found == stations.end() ? blank : found->second;
        c.ids.push_back(s.series);
        c.names.push_back(st.name);
        c.countries.push_back(st.country_name);
        c.lats.push_back(st.latitude);
        c.lons.push_back(st.longitude);
        c.alts.push_back(st.elevation ? static_cast<float>(*st.elevation) : fill_float);
        c.distances.push_back(st.distance_km ? static_cast<float>(*st.distance_km) : fill_float);
        c.sizes.push_back(s.rows);
    }
    return c;
}

}  // namespace

void NetcdfSink::write_stations() {
    const int f = ids_->file;
    const std::size_t n = series_.size();
    bool with_distance = false;
    for (const auto& [key, row] : stations_) with_distance = with_distance || row.distance_km.has_value();
    int dim = -1;
    if (!ok(nc_redef(f), "cannot add the station variables")) return;
    ok(nc_def_dim(f, "timeseries", n, &dim), "timeseries dimension");
    const StationColumns c = station_columns(series_, stations_);
    const StationIds v = define_stations(f, dim, {longest(c.ids), longest(c.names), longest(c.countries)}, with_distance);
    std::optional<AnnualLayout> annual;
    if (options_.annual_min_months) annual = define_annual_values(dim);
    if (!ok(nc_enddef(f), "cannot add the station variables") || n == 0) return;
    const std::size_t start = 0;
    ok(put_texts(f, v.id, c.ids), "station_id");
    ok(put_texts(f, v.name, c.names), "station_name");
    ok(put_texts(f, v.country, c.countries), "country");
    ok(nc_put_vara_double(f, v.lat, &start, &n, c.lats.data()), "lat");
    ok(nc_put_vara_double(f, v.lon, &start, &n, c.lons.data()), "lon");
    ok(nc_put_vara_float(f, v.alt, &start, &n, c.alts.data()), "alt");
    if (v.distance >= 0) ok(nc_put_vara_float(f, v.distance, &start, &n, c.distances.data()), "distance_km");
    ok(nc_put_vara_int(f, v.rows, &start, &n, c.sizes.data()), "row_size");
    if (annual) write_annual(*annual);
}

// The annual values over the years from the first to the last any series has; the years
// a series lacks keep the fill value.
NetcdfSink::AnnualLayout NetcdfSink::define_annual_values(int timeseries) {
    AnnualLayout layout;
    std::int32_t last = 0;
    for (const Annual& a : annual_) {
        layout.first = layout.years == 0 ? a.year : std::min(layout.first, a.year);
        last = layout.years == 0 ? a.year : std::max(last, a.year);
        layout.years = 1;
    }
    if (layout.years > 0) layout.years = static_cast<std::size_t>(last - layout.first + 1);
    int dim = -1;
    ok(nc_def_dim(ids_->file, "year", layout.years, &dim), "year dimension");
    layout.ids = define_annual(ids_->file, timeseries, dim, netcdf_name(variable_.name), variable_,
                               *options_.annual_min_months);
    return layout;
}

// Each series' row at once.
void NetcdfSink::write_annual(const AnnualLayout& layout) {
    const int f = ids_->file;
    const std::size_t years = layout.years, zero = 0;
    std::vector<int> year_values(years);
    for (std::size_t i = 0; i < years; ++i) year_values[i] = layout.first + static_cast<std::int32_t>(i);
    if (years > 0) ok(nc_put_vara_int(f, layout.ids.year, &zero, &years, year_values.data()), "year");
    std::vector<float> values(years);
    std::vector<signed char> months(years);
    for (auto it = annual_.begin(); it != annual_.end();) {
        const std::size_t series = it->series;
        std::fill(values.begin(), values.end(), fill_float);
        std::fill(months.begin(), months.end(), 0);
        for (; it != annual_.end() && it->series == series; ++it) {
            values[static_cast<std::size_t>(it->year - layout.first)] = it->value;
            months[static_cast<std::size_t>(it->year - layout.first)] = it->months;
        }
        const std::array<std::size_t, 2> start{series, 0}, count{1, years};
        ok(nc_put_vara_float(f, layout.ids.value, start.data(), count.data(), values.data()), "annual values");
        ok(nc_put_vara_schar(f, layout.ids.months, start.data(), count.data(), months.data()), "annual months");
    }
}

bool NetcdfSink::finish(std::string& error) {
    if (open_) {
        end_series();
        write_block();
        if (!runs_.split_series().empty() && error_.empty()) {
            error_ = file_.final_path().string() + ": the values of series " + runs_.split_series() +
                     " are not together in the data file, as a contiguous ragged array needs them";
        }
        if (error_.empty()) write_stations();
        open_ = false;
        ok(nc_close(ids_->file), "cannot be completed");
    }
    // Its checksum is summed while the other outputs are completed; the name it is placed
    // under later keeps the file the sum was made for.
    if (error_.empty()) sums_.start({file_.temporary()});
    else file_.discard();
    error = error_;
    return error_.empty();
}

}  // namespace corvane::extract
