// Version 2 names are fixed-width texts with trailing blanks; the identifier is the country
// code and the station number in eleven digits, as stations.csv writes it.
#include "extract/version2_criteria.hpp"

#include "extract/csv_tables.hpp"
#include "extract/place_and_name.hpp"
#include "extract/report.hpp"

namespace corvane::extract {

std::function<bool(const ghcn::InventoryStation&)> version2_filter(const ExtractOptions& o,
                                                                   const std::optional<std::set<std::string>>& ids) {
    if (!o.near && !o.name && !ids) return {};
    return [near = o.near, radius = o.radius_km, name = o.name, ids](const ghcn::InventoryStation& s) {
        if (name && !name_holds(s.name.trimmed(), *name)) return false;
        if (ids && !ids->contains(station_id_text(s.country, s.id))) return false;
        if (near && radius && geodesic_km(near->latitude, near->longitude, s.lat, s.lon) > *radius) return false;
        return true;
    };
}

bool version2_ids(const ExtractOptions& o, std::optional<std::set<std::string>>& ids) {
    if (o.ids.empty() && !o.ids_from) return true;
    ids.emplace(o.ids.begin(), o.ids.end());
    if (o.ids_from) {
        std::string error;
        std::vector<std::string> listed;
        if (!read_identifier_list(std::filesystem::absolute(*o.ids_from).string(), listed, error)) {
            complain("--ids-from: " + error);
            return false;
        }
        ids->insert(listed.begin(), listed.end());
    }
    return true;
}

}  // namespace corvane::extract
