// The names NOAA gives the version 3 and 4 files once the archive is unpacked,
//     ghcnm.<element>.v4.<version>.<date>.<qcu|qcf|qfe>.<dat|inv>
//     ghcnm.<element>.v3.<version>.<date>.<qcu|qca>.<dat|inv>
// optionally with `.gz`, and what a data directory holds: which editions (version 2 too),
// and for each file the one to read: the newest dated release, and the plain file before
// its `.gz` copy.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ghcn/ghcnm_qc_flags.hpp"

namespace corvane::ghcn {

struct GhcnmFileName {
    Edition edition = Edition::v4;
    std::string element;  // "tavg", "tmax", "tmin"
    std::string release;  // the version between the edition and the date, e.g. "0.1"
    std::string date;     // YYYYMMDD
    FileKind kind = FileKind::qcu;
    std::string extension;  // "dat" or "inv"
    bool gzip = false;
    std::string file_name;  // as found
};

std::optional<GhcnmFileName> parse_file_name(std::string_view name);

// A version 2 file: one of the names the version 2 data set ships.
bool is_version2_file_name(std::string_view name);

// The editions present in a directory listing, and the names that show each.
struct DirectoryEditions {
    std::vector<int> editions;  // 2, 3, 4, ascending
    std::vector<std::string> evidence;  // the names that belong to an edition, sorted
};
DirectoryEditions find_editions(const std::vector<std::string>& names);

// Which edition to read: the one asked for (0: none asked), else the only one the
// directory holds. A directory of several editions, or of none, with none asked is
// refused: `refusal` names what was found.
struct EditionDecision {
    int edition = 0;  // 0: refused
    std::string refusal;
};
EditionDecision decide_edition(const std::vector<std::string>& names, int asked);

// The file to read for one edition, element, kind and extension, with the names passed
// over (older releases, `.gz` copies) for the log; empty when there is none.
struct FileChoice {
    std::optional<GhcnmFileName> chosen;
    std::vector<std::string> passed_over;
};
FileChoice choose_file(const std::vector<std::string>& names, Edition edition, std::string_view element,
                       FileKind kind, std::string_view extension);

// The entries of a directory (files only), sorted; empty when it cannot be listed.
std::vector<std::string> list_directory(const std::string& path);

std::string_view kind_text(FileKind kind);

}  // namespace corvane::ghcn
