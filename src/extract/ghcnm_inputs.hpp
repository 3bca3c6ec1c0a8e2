// The files a version 3 or 4 extraction reads: for the variable asked, the data file and
// the inventory (the newest release, the plain file before its `.gz` copy), the country
// list that comes with the data, and the names passed over, for the log.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ghcn/ghcnm_file_names.hpp"
#include "ghcn/ghcnm_variables.hpp"

namespace corvane::extract {

struct GhcnmInputs {
    ghcn::Edition edition = ghcn::Edition::v4;
    ghcn::GhcnmVariable variable{};
    ghcn::GhcnmFileName data, inventory;
    std::filesystem::path data_path, inventory_path;
    std::optional<std::filesystem::path> country_list_path;  // when the directory holds it
    std::vector<std::string> passed_over;
};

// The country list's name in the edition's data sets.
std::string country_list_name(ghcn::Edition edition);

// The inputs in `data_dir`; an error text (naming what is missing) instead when the data
// file or the inventory is not there.
struct InputsFound {
    std::optional<GhcnmInputs> inputs;
    std::string error;
};
InputsFound find_inputs(const std::filesystem::path& data_dir, ghcn::Edition edition, const ghcn::GhcnmVariable& v);

// The size of a file in bytes, or -1.
std::int64_t file_size(const std::filesystem::path& path);

}  // namespace corvane::extract
