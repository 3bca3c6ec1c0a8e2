// The variables of the netCDF file and their CF attributes: the global attributes, the
// observation variables (time and its bounds, the value, the flags, the trace flag, the
// anomaly) along `obs`, and the station variables along `timeseries`.
#include "extract/netcdf_variables.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <netcdf.h>

#include "extract/exact_decimal.hpp"
#include "extract/netcdf_sink.hpp"

namespace corvane::extract {

std::string netcdf_name(const std::string& variable_name) {
    std::string name = variable_name;
    for (char& c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
    }
    return name;
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

namespace netcdf_file {

void text_attribute(int file, int var, const char* name, const std::string& text) {
    nc_put_att_text(file, var, name, text.size(), text.c_str());
}

namespace {

constexpr const char* data_references =
    "https://www.ncei.noaa.gov/products/land-based-station/global-historical-climatology-network-monthly";

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

int instance_variable(int file, int dim, const char* name, nc_type type, const char* long_name) {
    int id = -1;
    nc_def_var(file, name, type, 1, &dim, &id);
    text_attribute(file, id, "long_name", long_name);
    return id;
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

int coordinate(int f, int dim, const char* name, const char* long_name, const char* standard_name, const char* units) {
    const int id = instance_variable(f, dim, name, NC_DOUBLE, long_name);
    text_attribute(f, id, "standard_name", standard_name);
    text_attribute(f, id, "units", units);
    return id;
}

}  // namespace

// A byte flag variable: the letter's character code, 0 for a blank.
int define_flag(int file, int obs, const std::string& name, const std::string& long_name,
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

void define_globals(int f, const std::string& title, const std::string& history, const VariableInfo& variable) {
    text_attribute(f, NC_GLOBAL, "Conventions", "CF-1.11");
    text_attribute(f, NC_GLOBAL, "featureType", "timeSeries");
    text_attribute(f, NC_GLOBAL, "title", title.empty() ? "GHCN monthly " + variable.label : title);
    text_attribute(f, NC_GLOBAL, "source", variable.source);
    text_attribute(f, NC_GLOBAL, "history", history);
    text_attribute(f, NC_GLOBAL, "references", data_references);
}

// `time` at the middle of each month, and its bounds. Both are whole or half days, which
// 32-bit floats hold exactly for any four-digit year: half the bytes of doubles, the same
// values.
std::pair<int, int> define_time(int f, int obs, int nv) {
    const int time = obs_variable(f, "time", NC_FLOAT, obs, block_rows);
    text_attribute(f, time, "standard_name", "time");
    text_attribute(f, time, "long_name", "middle of the month");
    text_attribute(f, time, "units", "days since 1700-01-01 00:00:00");
    text_attribute(f, time, "calendar", "standard");
    text_attribute(f, time, "axis", "T");
    text_attribute(f, time, "bounds", "time_bnds");
    const std::array<int, 2> dims{obs, nv};
    const std::array<std::size_t, 2> chunk{block_rows, 2};
    int bounds = -1;
    nc_def_var(f, "time_bnds", NC_FLOAT, 2, dims.data(), &bounds);
    nc_def_var_chunking(f, bounds, NC_CHUNKED, chunk.data());
    small_chunk_cache(f, bounds, block_rows * 2 * sizeof(float));
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

namespace {

// A text per series as a character array over a length dimension of its own, padded with
// NULs: read as texts by any netCDF reader, classic ones too, and written in one piece
// (variable-length strings would go one by one through the library's heap).
int text_variable(int f, int dim, const char* name, std::size_t width, const char* long_name) {
    int length = -1, id = -1;
    nc_def_dim(f, (std::string(name) + "_strlen").c_str(), std::max<std::size_t>(width, 1), &length);
    const std::array<int, 2> dims = {dim, length};
    nc_def_var(f, name, NC_CHAR, 2, dims.data(), &id);
    text_attribute(f, id, "long_name", long_name);
    text_attribute(f, id, "_Encoding", "utf-8");
    return id;
}

}  // namespace

StationIds define_stations(int f, int dim, const StationTextWidths& widths, bool with_distance) {
    StationIds v;
    v.id = text_variable(f, dim, "station_id", widths.id, "series identifier");
    text_attribute(f, v.id, "cf_role", "timeseries_id");
    v.name = text_variable(f, dim, "station_name", widths.name, "station name");
    v.country = text_variable(f, dim, "country", widths.country, "country");
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

AnnualIds define_annual(int f, int timeseries, int year, const std::string& name, const VariableInfo& v,
                        int min_months) {
    const CfQuantity cf = cf_quantity(v.quantity);
    const bool sum = v.quantity == Quantity::precipitation;
    AnnualIds a;
    a.year = instance_variable(f, year, "year", NC_INT, "calendar year");
    const std::array<int, 2> dims{timeseries, year};
    nc_def_var(f, (name + "_annual").c_str(), NC_FLOAT, 2, dims.data(), &a.value);
    nc_def_var_fill(f, a.value, 0, &fill_float);
    text_attribute(f, a.value, "standard_name", cf.standard_name);
    text_attribute(f, a.value, "long_name", v.label + (sum ? " annual total" : " annual mean"));
    text_attribute(f, a.value, "units", v.unit);
    text_attribute(f, a.value, "cell_methods", cf.cell_methods);
    text_attribute(f, a.value, "coordinates", "year lat lon alt station_id");
    text_attribute(f, a.value, "comment",
                   std::string(sum ? "The sum" : "The mean") + " of the year's monthly values" +
                       (sum ? " (a trace counting as 0 mm)" : "") + ", for the years with at least " +
                       std::to_string(min_months) + " of them; rounded half away from zero to " +
                       decimal_text(1, v.decimals + 1) + ' ' + v.unit + ", as annual.csv has it.");
    nc_def_var(f, (name + "_annual_months").c_str(), NC_BYTE, 2, dims.data(), &a.months);
    const signed char no_months = 0;
    nc_def_var_fill(f, a.months, 0, &no_months);
    text_attribute(f, a.months, "long_name", "monthly values the annual value is made of");
    text_attribute(f, a.months, "units", "1");
    return a;
}

}  // namespace netcdf_file

}  // namespace corvane::extract
