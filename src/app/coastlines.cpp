#include "app/coastlines.hpp"

#include <netcdf.h>

#include <cstdlib>
#include <filesystem>

namespace corvane::app {

namespace {

constexpr double offset_units = 65535.0;

// One open netCDF file, closed on every way out.
class NetcdfFile {
public:
    explicit NetcdfFile(const std::string& path) { opened_ = nc_open(path.c_str(), NC_NOWRITE, &id_) == NC_NOERR; }
    ~NetcdfFile() {
        if (opened_) nc_close(id_);
    }
    NetcdfFile(const NetcdfFile&) = delete;
    NetcdfFile& operator=(const NetcdfFile&) = delete;
    bool opened() const { return opened_; }

    // A whole one-dimensional variable, converted to T; false when it is missing.
    template <class T>
    bool read(const char* name, std::vector<T>& values) const {
        int var = 0, dims = 0, dim = 0;
        std::size_t length = 0;
        if (nc_inq_varid(id_, name, &var) != NC_NOERR || nc_inq_varndims(id_, var, &dims) != NC_NOERR || dims != 1 ||
            nc_inq_vardimid(id_, var, &dim) != NC_NOERR || nc_inq_dimlen(id_, dim, &length) != NC_NOERR)
            return false;
        values.resize(length);
        if (length == 0) return true;
        if constexpr (sizeof(T) == 2) return nc_get_var_short(id_, var, reinterpret_cast<short*>(values.data())) == NC_NOERR;
        else return nc_get_var_int(id_, var, values.data()) == NC_NOERR;
    }

private:
    int id_ = 0;
    bool opened_ = false;
};

struct BinnedFile {
    int bin_minutes = 0, bins_across = 0;
    std::vector<int> first_segment, segment_words, first_point;
    std::vector<short> segments_in_bin;
    std::vector<std::uint16_t> dlon, dlat;  // stored as signed shorts, meant as 0..65535
};

bool read_all(const NetcdfFile& f, BinnedFile& b) {
    std::vector<int> scalar;
    if (!f.read("Bin_size_in_minutes", scalar) || scalar.empty()) return false;
    b.bin_minutes = scalar[0];
    if (!f.read("N_bins_in_360_longitude_range", scalar) || scalar.empty()) return false;
    b.bins_across = scalar[0];
    return f.read("Id_of_first_segment_in_a_bin", b.first_segment) && f.read("N_segments_in_a_bin", b.segments_in_bin) &&
           f.read("Embedded_npts_levels_exit_entry_for_a_segment", b.segment_words) &&
           f.read("Id_of_first_point_in_a_segment", b.first_point) &&
           f.read("Relative_longitude_from_SW_corner_of_bin", b.dlon) &&
           f.read("Relative_latitude_from_SW_corner_of_bin", b.dlat);
}

bool consistent(const BinnedFile& b) {
    return b.bin_minutes > 0 && b.bins_across > 0 && b.first_segment.size() == b.segments_in_bin.size() &&
           b.segment_words.size() == b.first_point.size() && b.dlon.size() == b.dlat.size() &&
           b.bins_across * b.bin_minutes == 360 * 60;
}

// The segments of one bin; false when an index runs outside the arrays.
bool add_bin(const BinnedFile& b, std::size_t bin, int max_level, std::vector<Coastline>& lines) {
    const double size = b.bin_minutes / 60.0;
    const double west = static_cast<double>(bin % static_cast<std::size_t>(b.bins_across)) * size;
    const double south = 90.0 - static_cast<double>(bin / static_cast<std::size_t>(b.bins_across) + 1) * size;
    const long first = b.first_segment[bin], count = b.segments_in_bin[bin];
    if (first < 0 || count < 0 || first + count > static_cast<long>(b.segment_words.size())) return false;
    for (long s = first; s < first + count; ++s) {
        const SegmentWord word = decode_segment_word(b.segment_words[static_cast<std::size_t>(s)]);
        const long start = b.first_point[static_cast<std::size_t>(s)];
        if (start < 0 || start + word.points > static_cast<long>(b.dlon.size())) return false;
        if (word.level < 1 || word.level > max_level || word.points < 2) continue;
        Coastline line{word.level, {}};
        line.points.reserve(static_cast<std::size_t>(word.points));
        for (long p = start; p < start + word.points; ++p) {
            const auto i = static_cast<std::size_t>(p);
            line.points.push_back({south + b.dlat[i] * size / offset_units, west + b.dlon[i] * size / offset_units});
        }
        lines.push_back(std::move(line));
    }
    return true;
}

}  // namespace

SegmentWord decode_segment_word(std::int32_t word) {
    const auto bits = static_cast<std::uint32_t>(word);
    return {static_cast<int>(bits >> 9), static_cast<int>((bits >> 6) & 7u)};
}

CoastlineFile read_binned_coastlines(const std::string& path, int max_level) {
    const NetcdfFile file(path);
    if (!file.opened()) return {CoastlineFault::cannot_open, {}};
    BinnedFile binned;
    if (!read_all(file, binned)) return {CoastlineFault::missing_variable, {}};
    if (!consistent(binned)) return {CoastlineFault::inconsistent, {}};
    CoastlineFile result;
    for (std::size_t bin = 0; bin < binned.first_segment.size(); ++bin) {
        if (!add_bin(binned, bin, max_level, result.lines)) return {CoastlineFault::inconsistent, {}};
    }
    return result;
}

std::string find_coastline_file() {
    if (const char* named = std::getenv("CORVANE_COASTLINES"); named && *named) return named;
    for (const char* candidate : {"/usr/share/gmt-gshhg/binned_GSHHS_l.nc", "/usr/share/gmt-gshhg/binned_GSHHS_c.nc",
                                  "/usr/share/gshhg-gmt-nc4/binned_GSHHS_l.nc"}) {
        std::error_code ignored;
        if (std::filesystem::exists(candidate, ignored)) return candidate;
    }
    return {};
}

}  // namespace corvane::app
