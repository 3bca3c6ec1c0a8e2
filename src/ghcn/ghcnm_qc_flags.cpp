// The meanings are short forms of the readme texts of version 3 and version 4.
#include "ghcn/ghcnm_qc_flags.hpp"

#include "ghcn/ghcnm_data_record.hpp"

namespace corvane::ghcn {

namespace {

using enum QcRole;

constexpr QcFlag v4_unadjusted[] = {
    {'E', failed_check, "the 12 values of a year are the same as another station's"},
    {'D', failed_check, "part of a year of values duplicated in another year of the station's record"},
    {'R', failed_check, "beyond the known world extremes"},
    {'K', failed_check, "part of a run of the same value in five or more consecutive months"},
    {'W', failed_check, "duplicated from the previous month (regional and spatial criteria)"},
    {'I', failed_check, "internal inconsistency: TMIN above TMAX"},
    {'L', failed_check, "isolated in time: at least 18 missing months before and after"},
    {'O', failed_check, "outlier: 5 or more bi-weight standard deviations from the bi-weight mean"},
    {'S', failed_check, "failed the spatial consistency check against the nearest neighbours"},
    {'T', failed_check, "z-score 3.0 or more beyond the distance-weighted z-score of its neighbours"},
    {'M', failed_check, "manually flagged as erroneous"},
};

constexpr QcFlag v4_adjusted[] = {
    {'A', adjustment_note, "alternative method of adjustment used"},
    {'M', value_removed, "set to missing: the unadjusted value has a quality-control flag"},
    {'X', value_removed, "removed by the pairwise algorithm: too many inhomogeneities"},
};

constexpr QcFlag v3_unadjusted[] = {
    {'D', failed_check, "part of a year of values duplicated in another year of the station's record"},
    {'I', failed_check, "internal inconsistency: TMIN above TMAX"},
    {'L', failed_check, "isolated in time: no values within 18 months on either side"},
    {'M', failed_check, "manually flagged as erroneous"},
    {'O', failed_check, "outlier: 5 or more bi-weight standard deviations from the bi-weight mean"},
    {'S', failed_check, "failed the spatial consistency check against the 5 closest neighbours"},
    {'W', failed_check, "duplicated from the previous month (regional and spatial criteria)"},
};

constexpr QcFlag v3_adjusted[] = {
    {'A', adjustment_note, "alternative method of adjustment used"},
    {'Q', value_removed, "removed: the original observation failed the automated quality control"},
    {'M', value_removed, "set to missing: the unadjusted value has a quality-control flag"},
    {'X', value_removed, "removed by the pairwise algorithm: too many inhomogeneities"},
};

}  // namespace

std::span<const QcFlag> qc_flags(Edition edition, FileKind kind) {
    if (edition == Edition::v4) {
        if (kind == FileKind::qcu) return v4_unadjusted;
        if (kind == FileKind::qcf || kind == FileKind::qfe) return v4_adjusted;
        return {};
    }
    if (kind == FileKind::qcu) return v3_unadjusted;
    if (kind == FileKind::qca) return v3_adjusted;
    return {};
}

std::optional<QcFlag> find_qc_flag(Edition edition, FileKind kind, char letter) {
    for (const QcFlag& flag : qc_flags(edition, kind)) {
        if (flag.letter == letter) return flag;
    }
    return std::nullopt;
}

bool drops_value(Edition edition, FileKind kind, char letter, std::int32_t hundredths) {
    if (hundredths == missing_value) return false;
    const std::optional<QcFlag> flag = find_qc_flag(edition, kind, letter);
    return flag && flag->role != adjustment_note;
}

}  // namespace corvane::ghcn
