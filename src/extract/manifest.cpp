// The manifest as JSON, through nlohmann::json.
#include "extract/manifest.hpp"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>

#include "extract/background_digests.hpp"
#include "extract/file_digest.hpp"
#include "extract/report.hpp"
#include "extract/staged_file.hpp"

namespace corvane::extract {

namespace fs = std::filesystem;

namespace {

nlohmann::json as_json(const FileRecord& r) {
    return {{"path", r.path}, {"size", r.size}, {"mtime", r.mtime}, {"sha256", r.sha256}};
}

// The records of `files` (relative ones from the working directory), named by absolute path
// or, given `relative_to`, relative to it; the first file that cannot be read in `failed`.
nlohmann::json records(const std::vector<fs::path>& files, const fs::path& working_directory,
                       const std::optional<fs::path>& relative_to, std::string& failed) {
    nlohmann::json list = nlohmann::json::array();
    for (const fs::path& file : files) {
        // Resolved by the system, not as text: "link/.." is where the link leads, then up.
        std::error_code error;
        fs::path absolute = fs::weakly_canonical(working_directory / file, error);
        if (error) absolute = working_directory / file;
        const std::string shown = relative_to ? absolute.lexically_relative(*relative_to).string() : absolute.string();
        const std::optional<FileRecord> r = file_record(absolute, shown);
        if (!r) {
            if (failed.empty()) failed = absolute.string() + ": cannot be read for the manifest";
            continue;
        }
        list.push_back(as_json(*r));
    }
    return list;
}

nlohmann::json count_or_null(const std::optional<std::int64_t>& count) {
    return count ? nlohmann::json(*count) : nlohmann::json(nullptr);
}

nlohmann::json document(const ManifestRun& run, const fs::path& dir, std::string& failed) {
    nlohmann::json criteria = nlohmann::json::object();
    for (const auto& [option, value] : run.criteria) criteria[option] = value;
    return {{"program", run.program},
            {"version", run.version},
            {"command", run.command},
            {"working_directory", run.working_directory.string()},
            {"criteria", criteria},
            {"inputs", records(run.inputs, run.working_directory, std::nullopt, failed)},
            {"outputs", records(run.outputs, run.working_directory, dir, failed)},
            {"counts",
             {{"selected", run.counts.selected},
              {"found", run.counts.found},
              {"values_written", count_or_null(run.counts.values_written)},
              {"values_dropped", count_or_null(run.counts.values_dropped)}}},
            {"started", iso8601_utc(run.started)},
            {"ended", iso8601_utc(run.ended)},
            {"exit_status", run.exit_status}};
}

}  // namespace

std::vector<std::pair<std::string, std::string>> manifest_criteria(const std::vector<std::string>& command) {
    static const std::vector<std::string> places = {"--data-dir", "--out-dir", "--force", "--csv", "--netcdf", "--geojson"};
    std::vector<std::pair<std::string, std::string>> criteria;
    for (std::size_t i = 1; i < command.size(); ++i) {
        std::string option = command[i], value = "true";
        if (!option.starts_with("--")) continue;
        if (const std::size_t eq = option.find('='); eq != std::string::npos) {
            value = option.substr(eq + 1);
            option.resize(eq);
        } else if (i + 1 < command.size() && !command[i + 1].starts_with("--")) {
            value = command[++i];
        }
        if (std::find(places.begin(), places.end(), option) != places.end()) continue;
        const auto known = std::find_if(criteria.begin(), criteria.end(), [&](const auto& c) { return c.first == option; });
        if (known == criteria.end()) criteria.emplace_back(option, value);
        else known->second += ',' + value;
    }
    return criteria;
}

int check_manifest_free(const fs::path& out_dir, bool force) {
    std::error_code error;
    const fs::path path = out_dir / manifest_json;
    if (force || !fs::exists(fs::symlink_status(path, error))) return 0;
    complain(path.string() + ": exists; give --force to replace it");
    return status_failed;
}

std::string write_manifest(const ManifestRun& run, const fs::path& path) {
    std::error_code error;
    fs::path dir = fs::weakly_canonical(fs::absolute(path).parent_path(), error);
    if (error) dir = fs::absolute(path).parent_path();
    std::string failed;
    offer_background_digests();  // the sums begun while the run went on
    const nlohmann::json doc = document(run, dir, failed);
    if (!failed.empty()) return failed;
    StagedFile file(path, true);
    {
        std::ofstream out(file.temporary());
        out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        if (!out.flush()) return fs::absolute(path).string() + ": cannot be written";
    }
    return file.commit();
}

}  // namespace corvane::extract
