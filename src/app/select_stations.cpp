#include "app/select_stations.hpp"

#include "app/area_picture.hpp"
#include "fmtio/statement_api.hpp"
#include "ghcn/selection_rules.hpp"
#include "ghcn/v2_country_list.hpp"
#include "units/connection_statements.hpp"
#include "units/termination.hpp"

namespace corvane::app {

namespace {

using namespace fmtio;
using ghcn::CountryEntry;
using ghcn::CountryList;

// The dialogue's one working true/false answer, read by the area confirmation and by the
// final acceptance alike: an answer that leaves the item as it was (a null value such as a
// lone comma) keeps whatever the other question last stored.
Logical working_answer;

void write_introduction() {
    write(default_unit, fmt<"(/5x,'    Station Selection Routine')">);
    write(default_unit, fmt<"(4x,'Enter Selection Critieria for Station Data.')">);
    write(default_unit, fmt<"(4x,'You may choose any one or combination of criteria')">);
    write(default_unit, fmt<"(4x,'to narrow down your selection. Enter you selection')">);
    write(default_unit, fmt<"(4x,'critiria as a single string of numbers')">);
    write(default_unit, fmt<"(4x,'EXAMPLE.')">);
    write(default_unit, fmt<"(/4x,'     To select stations based on Country,')">);
    write(default_unit, fmt<"(4x,'     Latitude, Longitude and elevation')">);
    write(default_unit, fmt<"(4x,'     one would enter :> 123')">);
    write(default_unit, fmt<"(/4x,'        Selection Critieria are:')">);
    write(default_unit, fmt<"(/4x,'[1] Country [2] Latitude & Longitude [3] Elevation')">);
    write(default_unit, fmt<"(/4x,'Select by :> ',$)">);
}

void remind_to_choose() {
    write(default_unit, fmt<"(/,4x,'You must enter some criteria by which to select')">);
    write(default_unit, fmt<"(4x,'stations by. To abort the program type ')">);
    write(default_unit, fmt<"(4x,'[command period]')">);
    units::pause_statement(" ");
}

// ---- country ----

void list_countries(const CountryList& list) {
    const CountryEntry blank;
    auto entry = [&](int i) -> const CountryEntry& { return i < ghcn::country_capacity ? list.entries[i] : blank; };
    int line = 0;
    for (int i = 0; i < list.count; i += 3) {
        if (line == 0) write(default_unit, fmt<"(/,3(1x,a))">, entry(i), entry(i + 1), entry(i + 2));
        else write(default_unit, fmt<"(3(1x,a))">, entry(i), entry(i + 1), entry(i + 2));
        ++line;
        if (line == 40 || line == 70) units::pause_statement("Hit Return to see more");
    }
    if (list.left_out > 0) {
        write(default_unit, fmt<"(/1x,i4,' further lines of the country file are not listed')">, list.left_out);
    }
}

void country_step(SelectionCriteria& c, CountryList& list, std::int32_t variable_choice) {
    c.use_country = 1;
    ghcn::read_country_list(list, variable_choice);
    for (;;) {
        list_countries(list);
        write(default_unit, fmt<"(/1x,'Enter 999 to see the list again')">);
        write(default_unit, fmt<"(1x,'OR Enter 3 digit Country Code :> ',$)">);
        read(default_unit, fmt<"(i3)">, c.country_code);
        if (c.country_code != 999) break;
    }
    // Every matching entry is announced; the winning one's name stays.
    for (int i = 0; i < list.count; ++i) {
        if (ghcn::country_code_of(list.entries[i]) == c.country_code) {
            write(default_unit, fmt<"(/1x,'Extracting data from:',1x,a)">, ghcn::country_name_of(list.entries[i]));
        }
    }
    if (const int winner = ghcn::winning_country_entry(list, c.country_code); winner != ghcn::no_entry) {
        c.country_name = ghcn::country_name_of(list.entries[winner]);
    }
    ++c.selection_score;
}

// ---- area ----

void explain_area() {
    write(default_unit, fmt<"(/1x,'To select stations by latitude and longitude')">);
    write(default_unit, fmt<"(1x,'you must enter four corners of the area within')">);
    write(default_unit, fmt<"(1x,'which to search. Southern Latutudes and West')">);
    write(default_unit, fmt<"(1x,'Longitudes are NEGATIVE.  All coordinates of')">);
    write(default_unit, fmt<"(1x,'Lat. and Lon must be entered to the nearest hundredth')">);
    write(default_unit, fmt<"(1x,'of a degree.')">);
    write(default_unit, fmt<"(/,1x,'EXAMPLE: 24.50 lat. -116.50 lon.')">);
    write(default_unit, fmt<"(1x,'Be sure to place any trailing zeros if necessary.')">);
    write(default_unit, fmt<"(/1x,'NOTE: To stradle the International Dateline (180 degrees)')">);
    write(default_unit, fmt<"(1x,'Enter your most western limit [ RIGHT SIDE] as the MAX LON.')">);
    write(default_unit, fmt<"(1x,'Enter your most eastern limit [LEFT  SIDE ] as the MIN LON.')">);
    write(default_unit, fmt<"(1x,'EXAMPLE: Max Lon = -135.00, Min Lon 135.00 selects')">);
    write(default_unit, fmt<"(1x,'all stations 45 degrees Longitude either side of 180.')">);
}

void ask_area(SelectionCriteria& c) {
    write(default_unit, fmt<"(/1x,'Enter max Lat :> ',$)">);
    read(default_unit, fmt<"(f6.2)">, c.max_lat);
    write(default_unit, fmt<"(1x,'Enter min Lat :> ',$)">);
    read(default_unit, fmt<"(f6.2)">, c.min_lat);
    write(default_unit, fmt<"(1x,'Enter max Lon :> ',$)">);
    read(default_unit, fmt<"(f7.2)">, c.max_lon);
    write(default_unit, fmt<"(1x,'Enter min Lon :> ',$)">);
    read(default_unit, fmt<"(f7.2)">, c.min_lon);
}

void draw_area_box(const SelectionCriteria& c) {
    write(default_unit, fmt<"(/2x,'  Extracting from the area represented by:',/)">);
    write_area_picture(default_unit, c);
}

void area_step(SelectionCriteria& c) {
    c.use_area = 1;
    do {
        explain_area();
        ask_area(c);
        draw_area_box(c);
        write(default_unit, list_directed, " ");
        write(default_unit, fmt<"(1x,' [T]rue or [F]alse  :> ',$)">);
        read(default_unit, list_directed, working_answer);
    } while (!working_answer);
    if (ghcn::crosses_dateline(c.max_lon, c.min_lon)) c.crosses_dateline = 1;
    ++c.selection_score;
}

// ---- elevation ----

void elevation_step(SelectionCriteria& c) {
    c.use_elevation = 1;
    write(default_unit, fmt<"(/1x,' Enter Min.and Max.elevations for station selection.')">);
    write(default_unit, fmt<"(1x,'Because not all stations have actual elevation information')">);
    write(default_unit, fmt<"(1x,'You may be prompted to accept or reject a station if its')">);
    write(default_unit, fmt<"(1x,'elevation is not available. If elevation is your only')">);
    write(default_unit, fmt<"(1x,'you may be prompted to accept or reject A LOT of stations.')">);
    write(default_unit, fmt<"(/,1x,'To REJECT all stations without elevational information')">);
    write(default_unit, fmt<"(1x,'Enter [T]rue or [F]alse-to individually select stations.')">);
    write(default_unit, fmt<"(1x,' with missing elevations :> ',$)">);
    read(default_unit, list_directed, c.reject_missing_elevation);

    write(default_unit, fmt<"(/1x,'Enter lower elevational limit :> ',$)">);
    read(default_unit, fmt<"(i4)">, c.min_elevation);
    write(default_unit, fmt<"(1x,'Enter upper elevational limit :> ',$)">);
    read(default_unit, fmt<"(i4)">, c.max_elevation);
    write(default_unit, fmt<"(1x,' Max. Elevation = ',i4)">, c.max_elevation);
    write(default_unit, fmt<"(1x,' Min. Elevation = ',i4)">, c.min_elevation);
    ++c.selection_score;
}

// ---- an invalid digit: exit, or start over ----

void invalid_criterion_step() {
    write(default_unit, fmt<"(/1x,'The criteria number you entered is not a valid option.')">);
    write(default_unit, fmt<"(/1x,' If the selection criteria offered does not meet your')">);
    write(default_unit, fmt<"(1x,'requirment in one run of the program you can run the')">);
    write(default_unit, fmt<"(1x,'program a second time using a different set of selection ')">);
    write(default_unit, fmt<"(1x,'criteria then join the resulting files.')">);
    write(default_unit, fmt<"(/1x,' Do you want to EXIT the program now or start over and')">);
    write(default_unit, fmt<"(1x,'enter new search criteria? ')">);
    write(default_unit, fmt<"(1x,'[E]xit [S]art over :> ',$)">);
    Text<1> choice;
    read(default_unit, fmt<"(a1)">, choice);
    if (choice == "E" || choice == "e") {
        write(default_unit, fmt<"(/1x,'Program Terminating')">);
        units::stop_program("");
    }
}

// ---- after the digits ----

void ask_longitude_transform(SelectionCriteria& c) {
    write(default_unit, fmt<"(/1x,'  You may choose to transform your units of Longitude')">);
    write(default_unit, fmt<"(1x,'from degrees/180 to degree/360. This option may be especially')">);
    write(default_unit, fmt<"(1x,'useful for plotting output with programs like GMT.')">);
    write(default_unit, fmt<"(/1x,'Change coordinate units? [T]rue [F]alse :> ',$)">);
    read(default_unit, list_directed, c.transform_longitude);
}

bool accept_summary(const SelectionCriteria& c) {
    write(default_unit, fmt<"(/4x,'Selection Criteria for Search are:')">);
    if (c.use_country == 1) {
        write(default_unit, fmt<"(/4x,'Country Selected :>',i3,1x,a)">, c.country_code, c.country_name);
    }
    if (c.use_area == 1) {
        write(default_unit, fmt<"(/4x,' Geographic Region: ',)">);
        write(default_unit, fmt<"(/3x,'  MxLat',4x,'MnLat',3x,' MnLong',3x,'MxLong')">);
        write(default_unit, fmt<"(3x,4(f7.2,2x))">, c.max_lat, c.min_lat, c.min_lon, c.max_lon);
    }
    if (c.use_elevation == 1) {
        write(default_unit, fmt<"(/4x,' Elevational Range')">);
        write(default_unit, fmt<"(4x,' Max. Elevation = ',i4)">, c.max_elevation);
        write(default_unit, fmt<"(4x,' Min. Elevation = ',i4)">, c.min_elevation);
    }
    write(default_unit, fmt<"(/,4x,' Selection Score= ',i1)">, c.selection_score);
    write(default_unit, fmt<"(/,4x,' Accept these criteria? [T]rue or [F]alse')">);
    write(default_unit, fmt<"(4x,' Enter [F] to change selection :> ',$)">);
    read(default_unit, list_directed, working_answer);
    return static_cast<bool>(working_answer);
}

// One pass: false when the pass has to begin again.
bool run_pass(SelectionCriteria& c, CountryList& countries, std::int32_t variable_choice) {
    c.criteria_digits = "   ";
    c.use_country = 0;
    c.use_area = 0;
    c.use_elevation = 0;
    c.crosses_dateline = 0;
    write_introduction();
    read(default_unit, fmt<"(a)">, c.criteria_digits);

    int n = 0;
    for (char digit : c.criteria_digits.chars) n += digit != ' ';
    if (n == 0) {
        remind_to_choose();
        return false;
    }
    c.selection_score = 0;
    // Positions 1..n are taken as typed, blanks included.
    for (int i = 0; i < n; ++i) {
        switch (c.criteria_digits.chars[i]) {
            case '1': country_step(c, countries, variable_choice); break;
            case '2': area_step(c); break;
            case '3': elevation_step(c); break;
            default: invalid_criterion_step(); return false;
        }
    }
    ask_longitude_transform(c);
    return accept_summary(c);
}

}  // namespace

void select_stations(SelectionCriteria& criteria, std::int32_t variable_choice) {
    static CountryList countries;
    countries = CountryList{};
    criteria.reject_missing_elevation = true;
    while (!run_pass(criteria, countries, variable_choice)) {
    }
}

}  // namespace corvane::app
