#include "extract/criteria_from_options.hpp"

#include "extract/argument_values.hpp"
#include "fmtio/statement_api.hpp"
#include "ghcn/selection_rules.hpp"
#include "ghcn/v2_country_list.hpp"

namespace corvane::extract {

namespace {

using namespace fmtio;

// A bound as the dialogue reads the answer typed to the nearest hundredth.
float latitude(std::int32_t hundredths) {
    const Text<6> answer(hundredths_text(hundredths, 6));
    float value = 0;
    read(internal_unit(answer), fmt<"(f6.2)">, value);
    return value;
}

float longitude(std::int32_t hundredths) {
    const Text<7> answer(hundredths_text(hundredths, 7));
    float value = 0;
    read(internal_unit(answer), fmt<"(f7.2)">, value);
    return value;
}

}  // namespace

std::optional<std::string> country_name(std::int32_t variable_choice, std::int32_t code) {
    static ghcn::CountryList list;
    ghcn::read_country_list(list, variable_choice);
    const int winner = ghcn::winning_country_entry(list, code);
    if (winner == ghcn::no_entry) return std::nullopt;
    return std::string(ghcn::country_name_of(list.entries[winner]));
}

app::SelectionCriteria criteria_from(const ExtractOptions& o, std::string_view name) {
    app::SelectionCriteria c;
    std::string digits;
    if (o.country) {
        c.use_country = 1;
        c.country_code = *o.country;
        c.country_name = name;
        digits += '1';
    }
    if (o.box) {
        c.use_area = 1;
        c.max_lat = latitude(o.box->north);
        c.min_lat = latitude(o.box->south);
        c.max_lon = longitude(o.box->east);
        c.min_lon = longitude(o.box->west);
        if (ghcn::crosses_dateline(c.max_lon, c.min_lon)) c.crosses_dateline = 1;
        digits += '2';
    }
    if (o.elevation) {
        c.use_elevation = 1;
        c.min_elevation = o.elevation->min;
        c.max_elevation = o.elevation->max;
        digits += '3';
    }
    c.criteria_digits = digits;
    c.selection_score = static_cast<std::int32_t>(digits.size());
    c.reject_missing_elevation = o.reject_missing_elevation;
    c.transform_longitude = o.lon360;
    return c;
}

}  // namespace corvane::extract
