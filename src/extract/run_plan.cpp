#include "extract/run_plan.hpp"

#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>

#include "extract/csv_tables.hpp"
#include "extract/report.hpp"
#include "ghcn/v2_output_files.hpp"
#include "ghcn/variables.hpp"

namespace corvane::extract {

namespace fs = std::filesystem;

Plan make_plan(const ExtractOptions& o) {
    const ghcn::VariableFiles& v = ghcn::variable_files(o.variable_choice);
    Plan p;
    // As given: the system resolves them (a ".." after a symbolic link leads where the link
    // leads); the working directory is prefixed because the run changes directories.
    p.data_dir = fs::absolute(o.data_dir);
    p.out_dir = fs::absolute(o.out_dir);
    if (o.country) p.inputs.push_back(v.country_codes_file);
    p.inputs.push_back(v.inventory_file);
    p.inputs.push_back(v.data_file);
    if (!v.failed_qc_file.empty()) p.inputs.push_back(v.failed_qc_file);
    p.outputs = {ghcn::log_file_name, ghcn::series_file_name};
    if (!v.failed_qc_file.empty()) p.outputs.push_back(ghcn::failed_values_file_name);
    if (o.csv) {
        p.outputs.push_back(stations_csv);
        p.outputs.push_back(values_csv);
    }
    return p;
}

int check_inputs(const Plan& p) {
    int status = 0;
    for (std::string_view name : p.inputs) {
        const fs::path path = p.data_dir / name;
        std::error_code error;
        const fs::file_status st = fs::status(path, error);
        if (!fs::exists(st)) complain(path.string() + ": no such file");
        else if (!fs::is_regular_file(st)) complain(path.string() + ": not a regular file");
        else if (::access(path.c_str(), R_OK) != 0) complain(path.string() + ": " + std::strerror(errno));
        else continue;
        status = status_failed;
    }
    return status;
}

int check_outputs(const Plan& p, bool force) {
    std::error_code error;
    const fs::file_status dir = fs::status(p.out_dir, error);
    if (fs::exists(dir) && !fs::is_directory(dir)) {
        complain(p.out_dir.string() + ": not a directory");
        return status_failed;
    }
    if (force || !fs::exists(dir)) return 0;
    int status = 0;
    for (std::string_view name : p.outputs) {
        const fs::path path = p.out_dir / name;
        if (!fs::exists(fs::symlink_status(path, error))) continue;
        complain(path.string() + ": exists; give --force to replace it");
        status = status_failed;
    }
    return status;
}

}  // namespace corvane::extract
