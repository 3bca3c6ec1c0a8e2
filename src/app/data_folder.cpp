#include "app/data_folder.hpp"

#include <string_view>
#include <unistd.h>

#include "ghcn/v2_output_files.hpp"
#include "ghcn/variables.hpp"

namespace corvane::app {

namespace {

namespace fs = std::filesystem;

bool is_file(const fs::path& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

bool writable(const fs::path& path) { return ::access(path.c_str(), W_OK) == 0; }

}  // namespace

bool holds_data_files(const fs::path& folder) {
    for (std::int32_t v = ghcn::first_variable; v <= ghcn::last_variable; ++v) {
        const ghcn::VariableFiles& files = ghcn::variable_files(v);
        for (std::string_view name : {files.inventory_file, files.country_codes_file, files.data_file, files.failed_qc_file}) {
            if (!name.empty() && is_file(folder / name)) return true;
        }
    }
    return false;
}

bool output_files_writable(const fs::path& folder) {
    std::error_code ignored;
    if (!fs::is_directory(folder, ignored) || ::access(folder.c_str(), W_OK | X_OK) != 0) return false;
    for (std::string_view name : {ghcn::log_file_name, ghcn::series_file_name, ghcn::failed_values_file_name}) {
        if (fs::exists(folder / name, ignored) && !writable(folder / name)) return false;
    }
    return true;
}

}  // namespace corvane::app
