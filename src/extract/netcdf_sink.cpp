// The CF timeSeries file through libnetcdf: observation variables defined at the start and
// filled a block at a time, station variables defined and written at the end.
#include "extract/netcdf_sink.hpp"

#include <array>
#include <cctype>
#include <tuple>
#include <utility>
#include <netcdf.h>

#include "extract/exact_decimal.hpp"
#include "extract/file_digest.hpp"

namespace corvane::extract {

namespace {

constexpr float fill_float = -9999.0F;
constexpr std::size_t block_rows = 65536;
constexpr const char* data_references =
    "https://www.ncei.noaa.gov/products/land-based-station/global-historical-climatology-network-monthly";

std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe);
}

struct CfQuantity {
    const char* standard_name;
    const char* cell_methods;
    const char* anomaly_name;  // empty: no standard name for the anomaly
};

CfQuantity cf_quantity(Quantity q) {
    switch (q) {
        case Quantity::maximum_temperature:
            return {"air_temperature", "time: maximum within days time: mean over days", "air_temperature_anomaly"};
        case Quantity::minimum_temperature:
            return {"air_temperature", "time: minimum within days time: mean over days", "air_temperature_anomaly"};
        case Quantity::precipitation: return {"lwe_thickness_of_precipitation_amount", "time: sum", ""};
        case Quantity::sea_level_pressure: return {"air_pressure_at_mean_sea_level", "time: mean", ""};
        case Quantity::mean_temperature: break;
    }
    return {"air_temperature", "time: mean", "air_temperature_anomaly"};
}

}  // namespace

struct NetcdfSink::Ids {
    int file = -1, obs = -1, nv = -1;
    int time = -1, bounds = -1, value = -1, anomaly = -1, trace = -1;
    std::array<int, 3> flags{-1, -1, -1};
};

struct NetcdfSink::Block {
    std::vector<double> time, bounds;
    std::vector<float> value, anomaly;
    std::array<std::vector<signed char>, 3> flags;
    std::vector<signed char> trace;
    std::size_t size() const { return time.size(); }
    void clear() {
        time.clear(); bounds.clear(); value.clear(); anomaly.clear(); trace.clear();
        for (auto& f : flags) f.clear();
    }
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

std::string netcdf_name(const std::string& variable_name) {
    std::string name = variable_name;
    for (char& c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
    }
    return name;
}

double days_since_1700(std::int32_t year, std::int32_t month) {
    return static_cast<double>(days_from_civil(year, static_cast<unsigned>(month), 1) - days_from_civil(1700, 1, 1));
}

std::string flag_meaning_word(const std::string& meaning) {
    std::string word;
    for (char c : meaning) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0) word += static_cast<char>(std::tolower(u));
        else if (!word.empty() && word.back() != '_') word += '_';
    }
    while (!word.empty() && word.back() == '_') word.pop_back();
    return word.empty() ? "unnamed" : word;
}

NetcdfSink::NetcdfSink(NetcdfOptions options)
    : options_(std::move(options)), file_(options_.path, options_.replace),
      groups_([this](const std::vector<ValueRow>& s) { add_series(s); }), ids_(std::make_unique<Ids>()),
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

namespace {

void text_attribute(int file, int var, const char* name, const std::string& text) {
    nc_put_att_text(file, var, name, text.size(), text.c_str());
}

// The library caches up to 64 MB of chunks per variable by default and writes them out only
// when they leave the cache: a block written is a block done with, so each variable keeps
// room for two of its chunks only, and memory stays the same for any size of file.
void small_chunk_cache(int file, int id, std::size_t chunk_bytes) {
    nc_set_var_chunk_cache(file, id, 2 * chunk_bytes, 7, 1.0F);
}

int obs_variable(int file, const char* name, nc_type type, int obs, std::size_t chunk) {
    int id = -1;
    if (nc_def_var(file, name, type, 1, &obs, &id) != NC_NOERR) return -1;
    nc_def_var_chunking(file, id, NC_CHUNKED, &chunk);
    std::size_t size = 0;
    nc_inq_type(file, type, nullptr, &size);
    small_chunk_cache(file, id, chunk * size);
    return id;
}

// A byte flag variable: the letter's character code, 0 for a blank.
int flag_variable(int file, int obs, const std::string& name, const std::string& long_name,
                  const std::vector<FlagMeaning>& letters) {
    const int id = obs_variable(file, name.c_str(), NC_BYTE, obs, block_rows);
    std::vector<signed char> values{0};
    std::string meanings = "blank";
    for (const FlagMeaning& f : letters) {
        if (f.letter == ' ') continue;
        values.push_back(static_cast<signed char>(f.letter));
        meanings += ' ' + flag_meaning_word(f.meaning);
    }
    text_attribute(file, id, "long_name", long_name);
    text_attribute(file, id, "standard_name", "status_flag");
    nc_put_att_schar(file, id, "flag_values", NC_BYTE, values.size(), values.data());
    text_attribute(file, id, "flag_meanings", meanings);
    return id;
}

}  // namespace

void NetcdfSink::begin(const VariableInfo& variable) {
    variable_ = variable;
    if (!ok(nc_create(file_.temporary().c_str(), NC_NETCDF4 | NC_NOCLOBBER, &ids_->file), "cannot be created")) return;
    open_ = true;
    define_observations();
    ok(nc_enddef(ids_->file), "cannot define its variables");
}

namespace {

void define_globals(int f, const NetcdfOptions& options, const VariableInfo& variable) {
    text_attribute(f, NC_GLOBAL, "Conventions", "CF-1.11");
    text_attribute(f, NC_GLOBAL, "featureType", "timeSeries");
    text_attribute(f, NC_GLOBAL, "title", options.title.empty() ? "GHCN monthly " + variable.label : options.title);
    text_attribute(f, NC_GLOBAL, "source", variable.source);
    text_attribute(f, NC_GLOBAL, "history", options.history);
    text_attribute(f, NC_GLOBAL, "references", data_references);
}

// `time` at the middle of each month, and its bounds.
std::pair<int, int> define_time(int f, int obs, int nv) {
    const int time = obs_variable(f, "time", NC_DOUBLE, obs, block_rows);
    text_attribute(f, time, "standard_name", "time");
    text_attribute(f, time, "long_name", "middle of the month");
    text_attribute(f, time, "units", "days since 1700-01-01 00:00:00");
    text_attribute(f, time, "calendar", "standard");
    text_attribute(f, time, "axis", "T");
    text_attribute(f, time, "bounds", "time_bnds");
    const std::array<int, 2> dims{obs, nv};
    const std::array<std::size_t, 2> chunk{block_rows, 2};
    int bounds = -1;
    nc_def_var(f, "time_bnds", NC_DOUBLE, 2, dims.data(), &bounds);
    nc_def_var_chunking(f, bounds, NC_CHUNKED, chunk.data());
    small_chunk_cache(f, bounds, block_rows * 2 * sizeof(double));
    return {time, bounds};
}

int define_value(int f, int obs, const std::string& name, const VariableInfo& v) {
    const CfQuantity cf = cf_quantity(v.quantity);
    const int id = obs_variable(f, name.c_str(), NC_FLOAT, obs, block_rows);
    nc_def_var_fill(f, id, 0, &fill_float);
    text_attribute(f, id, "standard_name", cf.standard_name);
    text_attribute(f, id, "long_name", v.label);
    text_attribute(f, id, "units", v.unit);
    text_attribute(f, id, "cell_methods", cf.cell_methods);
    text_attribute(f, id, "coordinates", "time lat lon alt station_id");
    text_attribute(f, id, "comment",
                   "The data file gives " + v.unit + " to " + std::to_string(v.decimals) + " decimal(s) (a resolution of " +
                       decimal_text(1, v.decimals) + ' ' + v.unit +
                       "); stored here as 32-bit floats, so read them rounded to that resolution.");
    return id;
}

int define_trace(int f, int obs, const std::string& name) {
    const int id = obs_variable(f, name.c_str(), NC_BYTE, obs, block_rows);
    const std::array<signed char, 2> values{0, 1};
    text_attribute(f, id, "long_name", "trace of precipitation, stored as 0 mm");
    text_attribute(f, id, "standard_name", "status_flag");
    nc_put_att_schar(f, id, "flag_values", NC_BYTE, 2, values.data());
    text_attribute(f, id, "flag_meanings", "measured_amount trace");
    return id;
}

int define_anomaly(int f, int obs, const std::string& name, const VariableInfo& v, const BasePeriod& b) {
    const CfQuantity cf = cf_quantity(v.quantity);
    const int id = obs_variable(f, name.c_str(), NC_FLOAT, obs, block_rows);
    nc_def_var_fill(f, id, 0, &fill_float);
    if (*cf.anomaly_name != '\0') text_attribute(f, id, "standard_name", cf.anomaly_name);
    text_attribute(f, id, "long_name", v.label + " anomaly");
    text_attribute(f, id, "units", v.unit);
    text_attribute(f, id, "cell_methods", cf.cell_methods);
    text_attribute(f, id, "coordinates", "time lat lon alt station_id");
    text_attribute(f, id, "comment",
                   "The value minus the series' mean for its calendar month over " + std::to_string(b.first) + "-" +
                       std::to_string(b.last) + ", a month having a mean only with at least " +
                       std::to_string(b.min_years) + " values; rounded half away from zero to " +
                       decimal_text(1, v.decimals + 1) + ' ' + v.unit + ".");
    return id;
}

}  // namespace

void NetcdfSink::define_observations() {
    Ids& id = *ids_;
    const int f = id.file;
    nc_def_dim(f, "obs", NC_UNLIMITED, &id.obs);
    nc_def_dim(f, "nv", 2, &id.nv);
    define_globals(f, options_, variable_);
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
            id.flags[i] = flag_variable(f, id.obs, name + suffix[i], variable_.label + ' ' + what[i], *letters[i]);
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

void NetcdfSink::value(const ValueRow& row) {
    if (open_ && error_.empty()) groups_.add(row);
}

void NetcdfSink::add_series(const std::vector<ValueRow>& series) {
    std::optional<SeriesNormals> normals;
    if (options_.anomalies) normals = monthly_normals(series, *options_.anomalies);
    const double scale = static_cast<double>(power_of_ten(variable_.decimals));
    Block& b = *block_;
    for (const ValueRow& row : series) {
        const double start = days_since_1700(row.year, row.month);
        const double end = row.month == 12 ? days_since_1700(row.year + 1, 1) : days_since_1700(row.year, row.month + 1);
        b.time.push_back((start + end) / 2);
        b.bounds.push_back(start);
        b.bounds.push_back(end);
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
    series_.push_back({series.front().series, series.front().station, static_cast<std::int32_t>(series.size())});
}

void NetcdfSink::write_block() {
    Block& b = *block_;
    const Ids& id = *ids_;
    const std::array<std::size_t, 2> start{written_, 0};
    const std::array<std::size_t, 2> count{b.size(), 2};
    if (b.size() == 0 || !error_.empty()) return b.clear();
    ok(nc_put_vara_double(id.file, id.time, start.data(), count.data(), b.time.data()), "time");
    ok(nc_put_vara_double(id.file, id.bounds, start.data(), count.data(), b.bounds.data()), "time_bnds");
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

int instance_variable(int file, int dim, const char* name, nc_type type, const char* long_name) {
    int id = -1;
    nc_def_var(file, name, type, 1, &dim, &id);
    text_attribute(file, id, "long_name", long_name);
    return id;
}

void put_strings(int file, int var, const std::vector<std::string>& texts) {
    std::vector<const char*> pointers;
    for (const std::string& t : texts) pointers.push_back(t.c_str());
    const std::size_t start = 0, count = pointers.size();
    if (count > 0) nc_put_vara_string(file, var, &start, &count, pointers.data());
}

}  // namespace

namespace {

struct StationIds {
    int id = -1, name = -1, country = -1, lat = -1, lon = -1, alt = -1, distance = -1, rows = -1;
};

int coordinate(int f, int dim, const char* name, const char* long_name, const char* standard_name, const char* units) {
    const int id = instance_variable(f, dim, name, NC_DOUBLE, long_name);
    text_attribute(f, id, "standard_name", standard_name);
    text_attribute(f, id, "units", units);
    return id;
}

StationIds define_stations(int f, int dim, bool with_distance) {
    StationIds v;
    v.id = instance_variable(f, dim, "station_id", NC_STRING, "series identifier");
    text_attribute(f, v.id, "cf_role", "timeseries_id");
    v.name = instance_variable(f, dim, "station_name", NC_STRING, "station name");
    v.country = instance_variable(f, dim, "country", NC_STRING, "country");
    v.lat = coordinate(f, dim, "lat", "station latitude", "latitude", "degrees_north");
    v.lon = coordinate(f, dim, "lon", "station longitude", "longitude", "degrees_east");
    v.alt = instance_variable(f, dim, "alt", NC_FLOAT, "station elevation");
    text_attribute(f, v.alt, "standard_name", "surface_altitude");
    text_attribute(f, v.alt, "units", "m");
    text_attribute(f, v.alt, "positive", "up");
    nc_def_var_fill(f, v.alt, 0, &fill_float);
    if (with_distance) {
        v.distance = instance_variable(f, dim, "distance_km", NC_FLOAT, "distance from the --near point (WGS84 ellipsoid)");
        text_attribute(f, v.distance, "units", "km");
        nc_def_var_fill(f, v.distance, 0, &fill_float);
    }
    v.rows = instance_variable(f, dim, "row_size", NC_INT, "number of observations of the series");
    text_attribute(f, v.rows, "sample_dimension", "obs");
    return v;
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
    const StationIds v = define_stations(f, dim, with_distance);
    if (!ok(nc_enddef(f), "cannot add the station variables") || n == 0) return;
    const StationColumns c = station_columns(series_, stations_);
    const std::size_t start = 0;
    put_strings(f, v.id, c.ids);
    put_strings(f, v.name, c.names);
    put_strings(f, v.country, c.countries);
    ok(nc_put_vara_double(f, v.lat, &start, &n, c.lats.data()), "lat");
    ok(nc_put_vara_double(f, v.lon, &start, &n, c.lons.data()), "lon");
    ok(nc_put_vara_float(f, v.alt, &start, &n, c.alts.data()), "alt");
    if (v.distance >= 0) ok(nc_put_vara_float(f, v.distance, &start, &n, c.distances.data()), "distance_km");
    ok(nc_put_vara_int(f, v.rows, &start, &n, c.sizes.data()), "row_size");
}

bool NetcdfSink::finish(std::string& error) {
    if (open_) {
        groups_.flush();
        write_block();
        if (!groups_.split_series().empty() && error_.empty()) {
            error_ = file_.final_path().string() + ": the values of series " + groups_.split_series() +
                     " are not together in the data file, as a contiguous ragged array needs them";
        }
        if (error_.empty()) write_stations();
        open_ = false;
        ok(nc_close(ids_->file), "cannot be completed");
    }
    if (error_.empty()) error_ = file_.commit();
    else file_.discard();
    error = error_;
    return error_.empty();
}

}  // namespace corvane::extract
