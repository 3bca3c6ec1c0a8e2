// The station inventories of version 3 and 4 (the `.inv` files). Both begin
//     ID 1-11, LATITUDE 13-20, LONGITUDE 22-30, STNELEV 32-37, NAME 39-68
// and version 3 goes on with metadata columns (GRELEV to POPCSS, 70-107) that are not
// needed here and are passed over whatever they hold. A missing elevation is written
// -999.0 and, in the version 4 files, also 9999.0.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ghcn/ghcnm_read_problem.hpp"

namespace corvane::ghcn {

enum class Edition { v3 = 3, v4 = 4 };

struct GhcnmStation {
    std::string id;            // 11 characters
    std::string country_code;  // v3: the first 3 digits; v4: the first 2 letters
    double latitude = 0;
    double longitude = 0;
    std::string latitude_text;   // as the file writes them, for output without rounding
    std::string longitude_text;
    std::optional<double> elevation;  // metres; empty when missing
    std::string elevation_text;       // empty when missing
    std::string name;                 // trailing blanks removed
};

bool is_missing_elevation(double metres);

// One inventory line; false with `field` and `what` set when it is malformed.
bool parse_inventory_line(Edition edition, char* line, std::size_t length, GhcnmStation& station,
                          std::string& field, std::string& what);

// The whole inventory, in file order; false with `problem` set at the first bad line.
bool read_inventory(Edition edition, const std::string& path, std::vector<GhcnmStation>& stations,
                    ReadProblem& problem);

}  // namespace corvane::ghcn
