// Parsing and checking the output options.
#include "extract/output_options.hpp"

#include <algorithm>
#include <charconv>

#include "extract/report.hpp"
#include "extract/staged_file.hpp"

namespace corvane::extract {

namespace {

std::optional<int> whole_number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::int32_t> year(std::string_view text) {
    if (text.size() != 4) return std::nullopt;
    return whole_number(text);
}

}  // namespace

Parsed<BasePeriod> parse_base_period(std::string_view text) {
    const std::size_t colon = text.find(':');
    const std::optional<std::int32_t> first = colon == std::string_view::npos ? std::nullopt : year(text.substr(0, colon));
    const std::optional<std::int32_t> last = colon == std::string_view::npos ? std::nullopt : year(text.substr(colon + 1));
    if (!first || !last) return std::string("expected FIRST:LAST, two four-digit years (e.g. 1961:1990)");
    if (*first > *last) return std::string("the first year is after the last");
    return BasePeriod{.first = *first, .last = *last};
}

Parsed<int> parse_min_months(std::string_view text) {
    const std::optional<int> n = whole_number(text);
    if (!n || *n < 1 || *n > 12) return std::string("expected a number of months from 1 to 12");
    return *n;
}

Parsed<int> parse_base_min_years(std::string_view text) {
    const std::optional<int> n = whole_number(text);
    if (!n || *n < 1) return std::string("expected a number of years, 1 or more");
    return *n;
}

int check_output_files(const OutputOptions& outputs, bool force) {
    int status = 0;
    for (const auto& path : {outputs.netcdf, outputs.geojson}) {
        if (!path) continue;
        if (const std::string failure = StagedFile(*path, force).check(); !failure.empty()) {
            complain(failure);
            status = status_failed;
        }
    }
    return status;
}

namespace {

// Resolved by the system, as the files will be written: a link and ".." lead where they lead.
std::filesystem::path resolved(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path r = std::filesystem::weakly_canonical(std::filesystem::absolute(path), error);
    return error ? std::filesystem::absolute(path).lexically_normal() : r;
}

}  // namespace

int check_output_clashes(const OutputOptions& outputs, const std::filesystem::path& out_dir,
                         const std::vector<std::string_view>& out_names) {
    int status = 0;
    if (outputs.netcdf && outputs.geojson && resolved(*outputs.netcdf) == resolved(*outputs.geojson)) {
        complain("--geojson " + outputs.geojson->string() + ": the file --netcdf names too");
        status = status_failed;
    }
    const std::filesystem::path dir = resolved(out_dir);
    for (const auto& [option, path] : {std::pair{"--netcdf ", outputs.netcdf}, std::pair{"--geojson ", outputs.geojson}}) {
        if (!path) continue;
        const std::filesystem::path file = resolved(*path);
        const bool taken = file.parent_path() == dir &&
                           std::find(out_names.begin(), out_names.end(), file.filename().string()) != out_names.end();
        if (!taken) continue;
        complain(option + path->string() + ": a file the run writes in " + out_dir.string());
        status = status_failed;
    }
    return status;
}

std::string base_period_outside_years(const BasePeriod& base, std::optional<std::pair<std::int32_t, std::int32_t>> years) {
    if (!years || (base.first >= years->first && base.last <= years->second)) return {};
    return "--anomalies " + std::to_string(base.first) + ':' + std::to_string(base.last) + ": outside --years " +
           std::to_string(years->first) + ':' + std::to_string(years->second) +
           "; the base period must lie within the years written";
}

}  // namespace corvane::extract
