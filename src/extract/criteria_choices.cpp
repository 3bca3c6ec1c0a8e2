#include "extract/criteria_choices.hpp"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <utility>
#include <variant>

#include "extract/argument_values.hpp"
#include "extract/extract_options.hpp"
#include "extract/ghcnm_inputs.hpp"
#include "extract/report.hpp"
#include "ghcn/ghcnm_file_names.hpp"
#include "ghcn/ghcnm_variables.hpp"
#include "ghcn/variables.hpp"

namespace corvane::extract {

namespace fs = std::filesystem;

namespace {

using Words = std::vector<std::pair<std::string, std::string>>;  // option and value ("" for a flag)

std::vector<std::string> split_ids(const std::string& text) {
    std::vector<std::string> ids;
    std::string id;
    for (char c : text + " ") {
        if (c == ' ' || c == ',' || c == '\t' || c == '\n') {
            if (!id.empty()) ids.push_back(id);
            id.clear();
        } else {
            id += c;
        }
    }
    return ids;
}

void selection_words(const CriteriaChoices& c, Words& w) {
    const auto given = [&w](const char* option, const std::string& value) {
        if (!value.empty()) w.emplace_back(option, value);
    };
    given("--dataset", c.dataset);
    given("--variable", c.variable);
    given("--country", c.country);
    given("--box", c.box);
    given("--elevation", c.elevation);
    if (!c.elevation.empty() && c.keep_missing_elevation) w.emplace_back("--missing-elevation", "keep");
    given("--near", c.near);
    given("--radius", c.radius);
    given("--nearest", c.nearest);
    given("--years", c.years);
    given("--min-years", c.min_years);
    given("--min-months", c.min_months);
    given("--name", c.name);
    for (const std::string& id : split_ids(c.ids)) w.emplace_back("--id", id);
    given("--ids-from", c.ids_from);
    if (c.qc_keep) w.emplace_back("--qc", "keep");
}

Words option_words(const CriteriaChoices& c) {
    Words w;
    selection_words(c, w);
    if (!c.data_dir.empty()) w.emplace_back("--data-dir", c.data_dir);
    if (!c.out_dir.empty()) w.emplace_back("--out-dir", c.out_dir);
    if (c.csv && c.dataset != "v3" && c.dataset != "v4") w.emplace_back("--csv", "");
    if (!c.netcdf.empty()) w.emplace_back("--netcdf", c.netcdf);
    if (!c.geojson.empty()) w.emplace_back("--geojson", c.geojson);
    if (c.annual) w.emplace_back("--annual", "");
    if (!c.anomalies.empty()) w.emplace_back("--anomalies", c.anomalies);
    if (!c.base_min_years.empty()) w.emplace_back("--base-min-years", c.base_min_years);
    if (c.force) w.emplace_back("--force", "");
    return w;
}

// The refusal as the command line writes it, without the name in front and the pointer
// to --help behind; the option it begins with, if it begins with one.
ChoiceRefusal refusal_of_line(std::string line) {
    const std::string front = std::string(program_name) + ": ";
    const std::string back = " (see " + std::string(program_name) + " --help)";
    while (!line.empty() && line.back() == '\n') line.pop_back();
    if (line.starts_with(front)) line.erase(0, front.size());
    if (line.ends_with(back)) line.erase(line.size() - back.size());
    std::string option;
    if (line.starts_with("--")) option = line.substr(0, line.find_first_of(": "));
    return {option, line};
}

}  // namespace

std::vector<std::string> command_words(const CriteriaChoices& choices) {
    std::vector<std::string> words;
    for (const auto& [option, value] : option_words(choices)) {
        words.push_back(option);
        if (!value.empty()) words.push_back(value);
    }
    return words;
}

CriteriaChoices with_absolute_paths(CriteriaChoices c) {
    for (std::string* folder : {&c.data_dir, &c.out_dir}) *folder = fs::absolute(folder->empty() ? "." : *folder).string();
    for (std::string* file : {&c.ids_from, &c.netcdf, &c.geojson})
        if (!file->empty()) *file = fs::absolute(*file).string();
    return c;
}

std::vector<ChoiceRefusal> refusals(const CriteriaChoices& choices) {
    std::vector<ChoiceRefusal> found;
    for (const auto& [option, value] : option_words(choices)) {
        if (std::string text = option_refusal(option, value); !text.empty()) found.push_back(refusal_of_line(text));
    }
    if (!found.empty()) return found;
    std::vector<std::string> words = command_words(choices);
    words.insert(words.begin(), std::string(program_name));
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    std::ostringstream out, err;
    const auto parsed = parse_command_line(static_cast<int>(argv.size()), argv.data(), out, err);
    if (std::holds_alternative<int>(parsed)) found.push_back(refusal_of_line(err.str()));
    return found;
}

std::uint64_t bytes_to_read(const CriteriaChoices& c) {
    const fs::path dir = fs::absolute(c.data_dir.empty() ? "." : c.data_dir);
    const auto size = [](const fs::path& path) {
        return static_cast<std::uint64_t>(std::max<std::int64_t>(extract::file_size(path), 0));
    };
    const std::uint64_t passes = c.min_years.empty() ? 1 : 2;
    if (c.dataset == "v3" || c.dataset == "v4") {
        const ghcn::Edition e = c.dataset == "v3" ? ghcn::Edition::v3 : ghcn::Edition::v4;
        const std::optional<ghcn::GhcnmVariable> v = ghcn::find_variable(e, c.variable);
        const InputsFound found = v ? find_inputs(dir, e, *v) : InputsFound{};
        if (!found.inputs) return 0;
        const GhcnmInputs& in = *found.inputs;
        return passes * size(in.data_path) + size(in.inventory_path) +
               (in.country_list_path ? size(*in.country_list_path) : 0);
    }
    const Parsed<std::int32_t> choice = parse_variable(c.variable);
    if (!parsed_ok(choice)) return 0;
    const ghcn::VariableFiles& files = ghcn::variable_files(std::get<std::int32_t>(choice));
    std::uint64_t total = passes * size(dir / files.data_file) + size(dir / files.inventory_file);
    if (!files.failed_qc_file.empty()) total += size(dir / files.failed_qc_file);
    return total + size(dir / files.country_codes_file);
}

std::vector<FolderVariables> folder_variables(const std::string& data_dir) {
    const std::vector<std::string> names = ghcn::list_directory(std::filesystem::absolute(data_dir).string());
    const auto holds = [&names](std::string_view name) { return std::ranges::find(names, name) != names.end(); };
    std::vector<FolderVariables> found;
    for (int edition : ghcn::find_editions(names).editions) {
        FolderVariables folder{edition, {}};
        if (edition == 2) {
            for (std::int32_t choice = ghcn::first_variable; choice <= ghcn::last_variable; ++choice) {
                const ghcn::VariableFiles& files = ghcn::variable_files(choice);
                if (holds(files.data_file) && holds(files.inventory_file))
                    folder.variables.emplace_back(variable_names[static_cast<std::size_t>(choice - 1)]);
            }
        } else {
            const ghcn::Edition e = edition == 3 ? ghcn::Edition::v3 : ghcn::Edition::v4;
            for (const ghcn::GhcnmVariable& v : ghcn::variables_of(e)) {
                if (ghcn::choose_file(names, e, v.element, v.kind, "dat").chosen &&
                    ghcn::choose_file(names, e, v.element, v.kind, "inv").chosen)
                    folder.variables.emplace_back(v.name);
            }
        }
        found.push_back(folder);
    }
    return found;
}

}  // namespace corvane::extract
