// The quality-control letters of the version 3 and 4 data files with their meanings, and
// which of them mark a value that failed a check. The unadjusted files (QCU) flag values
// that failed a check; the adjusted ones (v4 QCF and QFE, v3 QCA) note an alternative
// adjustment (A) or a value the adjustment set to missing (M, X, and v3's Q).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ghcn/ghcnm_inventory.hpp"

namespace corvane::ghcn {

// The kinds of data file NOAA ships: unadjusted, adjusted, adjusted with estimates (v4)
// and version 3's adjusted.
enum class FileKind { qcu, qcf, qfe, qca };

enum class QcRole {
    failed_check,     // the value failed a check: left out of a series under the drop policy
    adjustment_note,  // says how the value was adjusted; never a reason to leave it out
    value_removed,    // the adjustment removed the value; it is missing (-9999) already
};

struct QcFlag {
    char letter;
    QcRole role;
    std::string_view meaning;
};

// The letters of a file kind of an edition, in the order of the readme; empty for a kind
// the edition does not have.
std::span<const QcFlag> qc_flags(Edition edition, FileKind kind);

// The entry of a letter; empty for a blank (no check failed) and for a letter the
// edition's readme does not list, which the caller keeps and names.
std::optional<QcFlag> find_qc_flag(Edition edition, FileKind kind, char letter);

// Whether the drop policy leaves a value with this flag out of a series. A value that is
// missing already stays missing whatever its flag.
bool drops_value(Edition edition, FileKind kind, char letter, std::int32_t hundredths);

}  // namespace corvane::ghcn
