// Thin forwarding to the data set's selection functions.
#include "extract/place_and_name.hpp"

#include "ghcn/ghcnm_selection.hpp"

namespace corvane::extract {

double geodesic_km(double from_lat, double from_lon, double lat, double lon) {
    return ghcn::distance_km({from_lat, from_lon}, lat, lon);
}

bool name_holds(std::string_view name, std::string_view text) { return ghcn::name_contains(name, text); }

bool read_identifier_list(const std::string& path, std::vector<std::string>& ids, std::string& error) {
    ghcn::ReadProblem problem;
    if (ghcn::read_id_list(path, ids, problem)) return true;
    error = ghcn::describe(problem);
    return false;
}

}  // namespace corvane::extract
