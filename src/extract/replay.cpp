// Checking a manifest's inputs and running its command again.
#include "extract/replay.hpp"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <unistd.h>
#include <variant>

#include "extract/extract_options.hpp"
#include "extract/extract_run.hpp"
#include "extract/file_digest.hpp"
#include "extract/report.hpp"

namespace corvane::extract {

namespace fs = std::filesystem;

namespace {

std::optional<nlohmann::json> read_manifest(const fs::path& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path.string() + ": " + std::strerror(errno);
        return std::nullopt;
    }
    nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
    if (doc.is_discarded() || !doc.is_object() || !doc.contains("inputs") || !doc.contains("command")) {
        error = path.string() + ": not a manifest of " + std::string(program_name);
        return std::nullopt;
    }
    return doc;
}

std::string input_change(const nlohmann::json& input) {
    const std::string path = input.value("path", "");
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) return path + ": missing (" + error.message() + ")";
    const std::uintmax_t recorded = input.value("size", std::uintmax_t{0});
    if (size != recorded) {
        return path + ": " + std::to_string(size) + " bytes, recorded " + std::to_string(recorded);
    }
    const std::optional<std::string> sum = sha256_of_file(path);
    if (!sum) return path + ": cannot be read";
    if (*sum != input.value("sha256", "")) return path + ": its SHA-256 differs from the recorded one";
    return {};
}

}  // namespace

std::vector<std::string> changed_inputs(const fs::path& manifest) {
    std::string error;
    const std::optional<nlohmann::json> doc = read_manifest(manifest, error);
    if (!doc) return {error};
    std::vector<std::string> lines;
    for (const nlohmann::json& input : (*doc)["inputs"]) {
        if (std::string line = input_change(input); !line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

namespace {

// The options whose file lands where the option names it: replayed into the new directory.
constexpr std::string_view placed_file_options[] = {"--netcdf", "--geojson"};

// `word` with `--option=FILE` or the FILE after `--option` moved into `out_dir`; empty when
// the word is neither.
std::optional<std::string> moved_into(std::string_view option, const std::string& word, const std::string& out_dir,
                                      bool follows_option) {
    const std::string prefix = std::string(option) + "=";
    if (word.starts_with(prefix))
        return prefix + (fs::path(out_dir) / fs::path(word.substr(prefix.size())).filename()).string();
    if (follows_option) return (fs::path(out_dir) / fs::path(word).filename()).string();
    return std::nullopt;
}

}  // namespace

std::vector<std::string> replayed_command(const std::vector<std::string>& command, const std::string& out_dir) {
    std::vector<std::string> replayed;
    bool replaced = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        if (command[i] == "--out-dir" && i + 1 < command.size()) {
            replayed.insert(replayed.end(), {"--out-dir", out_dir});
            ++i;
            replaced = true;
            continue;
        }
        if (command[i].starts_with("--out-dir=")) {
            replayed.push_back("--out-dir=" + out_dir);
            replaced = true;
            continue;
        }
        std::optional<std::string> moved;
        for (std::string_view option : placed_file_options) {
            if (!moved) moved = moved_into(option, command[i], out_dir, i > 0 && command[i - 1] == option);
        }
        replayed.push_back(moved ? *moved : command[i]);
    }
    if (!replaced) replayed.insert(replayed.end(), {"--out-dir", out_dir});
    return replayed;
}

namespace {

// Runs the recorded command from the recorded working directory.
int run_recorded(const nlohmann::json& doc, const fs::path& out_dir) {
    std::vector<std::string> command = replayed_command(doc["command"].get<std::vector<std::string>>(), out_dir.string());
    if (command.empty()) command.emplace_back(program_name);
    const std::string dir = doc.value("working_directory", std::string("."));
    if (::chdir(dir.c_str()) != 0) {
        complain(dir + ": " + std::strerror(errno));
        return status_failed;
    }
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    const auto parsed = parse_command_line(static_cast<int>(command.size()), argv.data(), std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    return run_extraction(std::get<ExtractOptions>(parsed), argv[0]);
}

}  // namespace

int replay_main(int argc, char** argv) {
    CLI::App app;
    std::string manifest, out_dir;
    app.name(std::string(program_name));
    app.add_option("--replay", manifest, "The manifest of the run to repeat")->required();
    app.add_option("--out-dir", out_dir, "Where the repeated run writes")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        complain(std::string(e.what()) + " (see " + std::string(program_name) + " --help)");
        return status_bad_argument;
    }
    const std::vector<std::string> changes = changed_inputs(manifest);
    for (const std::string& line : changes) complain(line);
    if (!changes.empty()) return status_failed;
    std::string error;
    const std::optional<nlohmann::json> doc = read_manifest(manifest, error);
    // The netCDF and GeoJSON files of the repeated run go into the directory too, which
    // must be there when they are checked.
    std::error_code made;
    fs::create_directories(out_dir, made);
    if (made) {
        complain(out_dir + ": " + made.message());
        return status_failed;
    }
    return run_recorded(*doc, fs::absolute(out_dir));
}

}  // namespace corvane::extract
