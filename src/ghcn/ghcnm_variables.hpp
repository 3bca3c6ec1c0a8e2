// The variables of versions 3 and 4 as the user names them, and the element and file kind
// each is read from: `tavg` (unadjusted), `tavg-adj` (adjusted) and, for version 4,
// `tavg-adj-est` (adjusted with estimates); version 3 also has `tmax`, `tmax-adj`, `tmin`
// and `tmin-adj`.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "ghcn/ghcnm_qc_flags.hpp"

namespace corvane::ghcn {

struct GhcnmVariable {
    std::string_view name;
    std::string_view element;  // in file names: "tavg", "tmax", "tmin"
    FileKind kind;
    std::string_view label;
};

std::span<const GhcnmVariable> variables_of(Edition edition);
std::optional<GhcnmVariable> find_variable(Edition edition, std::string_view name);

}  // namespace corvane::ghcn
