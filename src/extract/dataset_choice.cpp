// The directory is listed, never read: a refusal here comes before any file is opened.
#include "extract/dataset_choice.hpp"

#include <string>
#include <vector>

#include "extract/report.hpp"
#include "extract/selection_arguments.hpp"
#include "ghcn/ghcnm_file_names.hpp"

namespace corvane::extract {

namespace fs = std::filesystem;

int edition_to_read(const ExtractOptions& o) {
    // Options made in the program (not parsed) may name a version 2 variable by its number only.
    const std::string variable = o.variable_name.empty() ? std::to_string(o.variable_choice) : o.variable_name;
    const fs::path dir = fs::absolute(o.data_dir);
    const std::vector<std::string> names = ghcn::list_directory(dir.string());
    int edition = o.dataset;
    if (edition == 0 && ghcn::find_editions(names).editions.empty()) {
        edition = variable_of_edition(2, variable) ? 2 : variable_of_edition(4, variable) ? 4 : 3;
    } else if (edition == 0) {
        const ghcn::EditionDecision decision = ghcn::decide_edition(names, 0);
        if (decision.edition == 0) {
            complain(dir.string() + ": " + decision.refusal + "; give --dataset v2, v3 or v4");
            return 0;
        }
        edition = decision.edition;
    }
    if (!variable_of_edition(edition, variable)) {
        complain("--variable: " + variable + ": expected one of " + variables_accepted(edition) + " (version " +
                 std::to_string(edition) + ")");
        return 0;
    }
    return edition;
}

}  // namespace corvane::extract
