// What an extraction hands each of its outputs, for every version of the data set: the
// variable once, then every value of every selected series in file order, then every
// selected station with what was written of it, then the end. The tables, the netCDF file,
// the GeoJSON file and the derived series are sinks; the extraction knows none of them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvane::extract {

enum class Quantity { mean_temperature, maximum_temperature, minimum_temperature, precipitation, sea_level_pressure };

// A letter a flag column may hold, with what it means (from the data set's readme).
struct FlagMeaning {
    char letter = ' ';
    std::string meaning;
};

struct VariableInfo {
    int version = 2;          // of the data set: 2, 3 or 4
    std::string name;         // as --variable names it: "mean", "prcp", "tavg-adj", ...
    std::string label;        // for people: "MEAN.TEMP", "TAVG adjusted (QCF)", ...
    Quantity quantity = Quantity::mean_temperature;
    std::string unit;         // of the physical values: "degC", "mm" or "hPa"
    int decimals = 1;         // digits after the point of the file's values: 1 (v2), 2 (v3, v4)
    bool has_flags = false;   // versions 3 and 4 keep DMFLAG, QCFLAG and DSFLAG
    std::string source;       // the data files read, with their release, for people and metadata
    // The letters of DMFLAG, QCFLAG and DSFLAG (versions 3 and 4), for the netCDF flag variables.
    std::vector<FlagMeaning> dmflag_meanings, qcflag_meanings, dsflag_meanings;
};

struct ValueRow {
    std::string series;       // v3/v4: the station id; v2: the 12-digit series number (id and duplicate)
    std::string station;      // the 11-character station id
    std::int32_t year = 0;
    std::int32_t month = 0;   // 1..12
    // In units of 10^-decimals of the variable's unit, as the file holds it; empty when the
    // file has no value (-9999), or the QC policy dropped it.
    std::optional<std::int64_t> value;
    bool dropped = false;     // a value the QC policy left out (value empty)
    bool trace = false;       // v2 precipitation: a trace (-8888), value empty
    char dmflag = ' ', qcflag = ' ', dsflag = ' ';
    // The file's value also when the QC policy dropped it; empty when the file has none.
    std::optional<std::int64_t> file_value;
    bool failed_check = false;  // the QC flag marks a failed check (dropped under --qc drop)
};

struct StationRow {
    std::string id;           // 11 characters
    std::string country_code, country_name, name;
    double latitude = 0, longitude = 0;
    std::optional<double> elevation;     // metres; empty when the inventory has none
    std::optional<double> distance_km;   // with --near
    std::int32_t first_year = 0, last_year = 0;  // of the values written; 0 when none
    std::int64_t values = 0;  // non-missing values written
    // v3/v4: the coordinates and elevation as the inventory writes them (no rounding);
    // elevation_text empty when missing.
    std::string latitude_text, longitude_text, elevation_text;
};

class SeriesSink {
public:
    virtual ~SeriesSink() = default;
    virtual void begin(const VariableInfo&) {}
    virtual void value(const ValueRow&) {}
    // The values of one record together (versions 3 and 4: its twelve months), for a sink
    // that does better with them at once; one by one otherwise.
    virtual void values(std::span<const ValueRow> rows) {
        for (const ValueRow& row : rows) value(row);
    }
    virtual void station(const StationRow&) {}
    // Completes the output; false, with `error` saying why, when it could not be.
    virtual bool finish(std::string& error) { (void)error; return true; }
};

}  // namespace corvane::extract
