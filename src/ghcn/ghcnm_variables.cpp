// Version 3 calls its adjusted files QCA, version 4 QCF; the user's names are the same.
#include "ghcn/ghcnm_variables.hpp"

namespace corvane::ghcn {

namespace {

constexpr GhcnmVariable v4_variables[] = {
    {"tavg", "tavg", FileKind::qcu, "Mean Temperature (unadjusted)"},
    {"tavg-adj", "tavg", FileKind::qcf, "Mean Temperature (adjusted)"},
    {"tavg-adj-est", "tavg", FileKind::qfe, "Mean Temperature (adjusted, with estimates)"},
};

constexpr GhcnmVariable v3_variables[] = {
    {"tavg", "tavg", FileKind::qcu, "Mean Temperature (unadjusted)"},
    {"tavg-adj", "tavg", FileKind::qca, "Mean Temperature (adjusted)"},
    {"tmax", "tmax", FileKind::qcu, "Max. Temperature (unadjusted)"},
    {"tmax-adj", "tmax", FileKind::qca, "Max. Temperature (adjusted)"},
    {"tmin", "tmin", FileKind::qcu, "Min. Temperature (unadjusted)"},
    {"tmin-adj", "tmin", FileKind::qca, "Min. Temperature (adjusted)"},
};

}  // namespace

std::span<const GhcnmVariable> variables_of(Edition edition) {
    if (edition == Edition::v4) return v4_variables;
    return v3_variables;
}

std::optional<GhcnmVariable> find_variable(Edition edition, std::string_view name) {
    for (const GhcnmVariable& v : variables_of(edition)) {
        if (v.name == name) return v;
    }
    return std::nullopt;
}

}  // namespace corvane::ghcn
