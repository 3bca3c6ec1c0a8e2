// The country lists that come with the data: version 4's `ghcnm-countries.txt` (a
// two-letter code, a blank, the name) and version 3's `country-codes` (three digits, a
// blank, the name). A station's identifier begins with its country's code.
#pragma once

#include <string>
#include <vector>

#include "ghcn/ghcnm_inventory.hpp"
#include "ghcn/ghcnm_read_problem.hpp"

namespace corvane::ghcn {

struct Country {
    std::string code;
    std::string name;  // trailing blanks removed
};

// One line; false with `what` set when the code is not of the edition's kind.
bool parse_country_line(Edition edition, std::string_view line, Country& country, std::string& what);

// The whole list in file order; blank lines are passed over.
bool read_country_list(Edition edition, const std::string& path, std::vector<Country>& countries,
                       ReadProblem& problem);

}  // namespace corvane::ghcn
