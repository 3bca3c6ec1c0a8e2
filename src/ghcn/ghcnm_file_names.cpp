// Names are taken apart at their dots from both ends: the release between the edition and
// the date may hold dots of its own.
#include "ghcn/ghcnm_file_names.hpp"

#include <algorithm>
#include <filesystem>
#include <set>

namespace corvane::ghcn {

namespace {

std::vector<std::string_view> split_at_dots(std::string_view name) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t dot = name.find('.');
        parts.push_back(name.substr(0, dot));
        if (dot == std::string_view::npos) return parts;
        name.remove_prefix(dot + 1);
    }
}

bool is_date(std::string_view s) {
    return s.size() == 8 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<FileKind> kind_of(Edition edition, std::string_view text) {
    if (text == "qcu") return FileKind::qcu;
    if (edition == Edition::v4 && text == "qcf") return FileKind::qcf;
    if (edition == Edition::v4 && text == "qfe") return FileKind::qfe;
    if (edition == Edition::v3 && text == "qca") return FileKind::qca;
    return std::nullopt;
}

bool element_of_edition(Edition edition, std::string_view element) {
    return element == "tavg" || (edition == Edition::v3 && (element == "tmax" || element == "tmin"));
}

std::string join(const std::vector<std::string_view>& parts, std::size_t first, std::size_t last) {
    std::string text;
    for (std::size_t i = first; i < last; ++i) {
        if (i > first) text += '.';
        text += parts[i];
    }
    return text;
}

// Later date first; at the same date the higher release, then the plain file.
bool preferred(const GhcnmFileName& a, const GhcnmFileName& b) {
    if (a.date != b.date) return a.date > b.date;
    if (a.release != b.release) return a.release > b.release;
    return !a.gzip && b.gzip;
}

}  // namespace

std::optional<GhcnmFileName> parse_file_name(std::string_view name) {
    std::vector<std::string_view> parts = split_at_dots(name);
    GhcnmFileName f;
    f.file_name = name;
    f.gzip = parts.size() > 1 && parts.back() == "gz";
    if (f.gzip) parts.pop_back();
    if (parts.size() < 7 || parts[0] != "ghcnm") return std::nullopt;
    if (parts[2] != "v3" && parts[2] != "v4") return std::nullopt;
    f.edition = parts[2] == "v3" ? Edition::v3 : Edition::v4;
    const std::size_t n = parts.size();
    const std::optional<FileKind> kind = kind_of(f.edition, parts[n - 2]);
    if (!kind || !is_date(parts[n - 3]) || (parts[n - 1] != "dat" && parts[n - 1] != "inv")) return std::nullopt;
    if (!element_of_edition(f.edition, parts[1])) return std::nullopt;
    f.element = parts[1];
    f.release = join(parts, 3, n - 3);
    f.date = parts[n - 3];
    f.kind = *kind;
    f.extension = parts[n - 1];
    return f;
}

bool is_version2_file_name(std::string_view name) {
    static const std::set<std::string_view> names{
        "v2.mean", "v2.mean_adj", "v2.min", "v2.min_adj", "v2.max", "v2.max_adj", "v2.prcp", "v2.prcp_adj",
        "v2.slp", "v2.temperature.inv", "v2.prcp.inv", "v2.prcp.adj.inv", "v2.slp.inv", "v2.country.codes",
        "v2.slp.country.codes"};
    return names.contains(name);
}

DirectoryEditions find_editions(const std::vector<std::string>& names) {
    std::set<int> editions;
    DirectoryEditions found;
    for (const std::string& name : names) {
        int edition = 0;
        if (is_version2_file_name(name)) edition = 2;
        else if (const auto f = parse_file_name(name)) edition = static_cast<int>(f->edition);
        if (edition == 0) continue;
        editions.insert(edition);
        found.evidence.push_back(name);
    }
    found.editions.assign(editions.begin(), editions.end());
    std::sort(found.evidence.begin(), found.evidence.end());
    return found;
}

EditionDecision decide_edition(const std::vector<std::string>& names, int asked) {
    if (asked != 0) return {asked, {}};
    const DirectoryEditions found = find_editions(names);
    if (found.editions.size() == 1) return {found.editions.front(), {}};
    if (found.editions.empty()) return {0, "no GHCN data files of version 2, 3 or 4"};
    std::string text = "files of more than one version:";
    for (const std::string& name : found.evidence) text += " " + name;
    return {0, text};
}

FileChoice choose_file(const std::vector<std::string>& names, Edition edition, std::string_view element,
                       FileKind kind, std::string_view extension) {
    std::vector<GhcnmFileName> candidates;
    for (const std::string& name : names) {
        const auto f = parse_file_name(name);
        if (f && f->edition == edition && f->element == element && f->kind == kind && f->extension == extension)
            candidates.push_back(*f);
    }
    FileChoice choice;
    if (candidates.empty()) return choice;
    std::sort(candidates.begin(), candidates.end(), preferred);
    choice.chosen = candidates.front();
    for (std::size_t i = 1; i < candidates.size(); ++i) choice.passed_over.push_back(candidates[i].file_name);
    return choice;
}

std::vector<std::string> list_directory(const std::string& path) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path, ec)) {
        if (entry.is_regular_file(ec)) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string_view kind_text(FileKind kind) {
    switch (kind) {
    case FileKind::qcu: return "qcu";
    case FileKind::qcf: return "qcf";
    case FileKind::qfe: return "qfe";
    case FileKind::qca: return "qca";
    }
    return {};
}

}  // namespace corvane::ghcn
