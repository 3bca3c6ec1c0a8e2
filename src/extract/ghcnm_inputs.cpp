// A missing file is named by the pattern of the names that would do, since the release
// and date in a name change with every download.
#include "extract/ghcnm_inputs.hpp"

namespace corvane::extract {

namespace fs = std::filesystem;

namespace {

std::string wanted_pattern(ghcn::Edition e, const ghcn::GhcnmVariable& v, std::string_view extension) {
    return "ghcnm." + std::string(v.element) + (e == ghcn::Edition::v3 ? ".v3" : ".v4") + ".*." +
           std::string(ghcn::kind_text(v.kind)) + "." + std::string(extension) + "[.gz]";
}

}  // namespace

std::string country_list_name(ghcn::Edition edition) {
    return edition == ghcn::Edition::v3 ? "country-codes" : "ghcnm-countries.txt";
}

InputsFound find_inputs(const fs::path& data_dir, ghcn::Edition edition, const ghcn::GhcnmVariable& v) {
    const std::vector<std::string> names = ghcn::list_directory(data_dir.string());
    const ghcn::FileChoice dat = ghcn::choose_file(names, edition, v.element, v.kind, "dat");
    const ghcn::FileChoice inv = ghcn::choose_file(names, edition, v.element, v.kind, "inv");
    if (!dat.chosen || !inv.chosen) {
        const std::string missing = wanted_pattern(edition, v, !dat.chosen ? "dat" : "inv");
        return {std::nullopt, (data_dir / missing).string() + ": no such file"};
    }
    GhcnmInputs in{edition,
                   v,
                   *dat.chosen,
                   *inv.chosen,
                   data_dir / dat.chosen->file_name,
                   data_dir / inv.chosen->file_name,
                   std::nullopt,
                   dat.passed_over};
    in.passed_over.insert(in.passed_over.end(), inv.passed_over.begin(), inv.passed_over.end());
    const fs::path countries = data_dir / country_list_name(edition);
    std::error_code error;
    if (fs::is_regular_file(countries, error)) in.country_list_path = countries;
    return {in, {}};
}

std::int64_t file_size(const fs::path& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

}  // namespace corvane::extract
