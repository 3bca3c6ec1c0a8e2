#include "extract/extract_options.hpp"

#include <CLI/CLI.hpp>
#include <functional>
#include <map>
#include <ostream>
#include <utility>

#include "app/program_help.hpp"
#include "extract/report.hpp"

namespace corvane::extract {

namespace {

template <class T>
T value_of(Parsed<T> (*parse)(std::string_view), const std::string& text) {
    return std::get<T>(parse(text));
}

std::string footer_text() {
    return "A station is selected when it meets every criterion given; at least one is needed.\n"
           "For version 2, --near, --min-years, --name, --id and --ids-from filter the dialogue's\n"
           "search, and --years limits values.csv; the three GHCNv2 files keep their layout.\n"
           "The box is NORTH,SOUTH,EAST,WEST in degrees, south and west negative, to the nearest\n"
           "hundredth; EAST below WEST is a box across 180 degrees (e.g. --box 75,-50,-135,135).\n"
           "Nothing is written until every argument and input file has been checked; existing\n"
           "output files are kept unless --force is given. Progress goes to standard error.\n\n"
           "Files read, from the data directory (those of the chosen variable):\n" +
           app::input_files_text() + "Files written, into the output directory:\n" + app::output_files_text() +
           "  stations.csv               with --csv: id,country,name,latitude,longitude,elevation,series\n"
           "  values.csv                 with --csv: station,duplicate,year,month,value_degC (or\n"
           "                             value_mm, value_hPa; exact decimals; missing: empty; trace)\n"
           "Versions 3 and 4 (GHCN-M, files as NOAA ships them, plain or .gz) write instead:\n"
           "  GHCNv3_Log_File, GHCNv4_Log_File  the files read, the criteria, the counts\n"
           "  stations.csv               id,country_code,country_name,name,latitude,longitude,\n"
           "                             elevation,first_year,last_year,values[,distance_km]\n"
           "  values.csv                 station,year,month,value_degC,dmflag,qcflag,dsflag\n"
           "  failed_values.csv          station,year,month,value_degC,qcflag,meaning,policy\n"
           "Every version writes besides:\n"
           "  annual.csv, anomalies.csv  with --annual and --anomalies\n"
           "  manifest.json              every run: the files read and written, with their SHA-256;\n"
           "                             --replay manifest.json --out-dir DIR runs it again\n"
           "\nEnvironment:\n" +
           app::environment_text() +
           "\nExit status:\n"
           "  0      the extraction is complete\n"
           "  1      an input file is missing, an output file exists, or the extraction stopped\n"
           "  2      a bad argument\n"
           "  128+n  interrupted by signal n; what was written so far is in the output directory\n"
           "  255    a run-time error, reported on standard error in lines beginning \"? \"\n\n"
           "Example:\n"
           "  corvane-extract --variable mean --country 507 --data-dir ghcn-v2 --out-dir nz --csv\n"
           "  corvane-extract --variable tavg --near -41.29,174.78 --nearest 5 --data-dir ghcn-v4 --out-dir wlg\n\n" +
           app::data_source_text() + "See also: corvane-console(1), the manual page corvane-extract(1).";
}

struct RawOptions {
    std::string variable, country, box, elevation, missing_elevation;
    std::string data_dir = ".", out_dir = ".";
    bool lon360 = false, force = false, csv = false;
    // Versions 3 and 4, and the selections of every version.
    std::string dataset, qc, near, radius, nearest, years, min_years, min_months, name, ids_from;
    std::vector<std::string> ids;
    // The outputs beside the tables.
    std::string netcdf, geojson, anomalies, base_min_years;
    bool annual = false;
};

// The number of stations --nearest may ask for: more than any inventory holds.
constexpr std::int32_t most_stations = 1000000;

Parsed<std::int32_t> parse_nearest(std::string_view text) { return parse_count(text, most_stations); }
Parsed<std::int32_t> parse_min_years(std::string_view text) { return parse_count(text, 9999); }

Parsed<Accepted> parse_country_text(std::string_view text) {
    if (text.empty()) return std::string("expected a country code or, for versions 3 and 4, a country name");
    return Accepted{};
}

Parsed<Accepted> parse_text(std::string_view text) {
    if (text.empty()) return std::string("expected a text that is not empty");
    return Accepted{};
}

// Every option's check of its value, in one table: the command line and the desktop's
// criteria form refuse the same values with the same words.
using ValueCheck = std::function<std::string(std::string_view)>;

template <class T>
ValueCheck refusal_of(Parsed<T> (*parse)(std::string_view)) {
    return [parse](std::string_view value) -> std::string {
        const Parsed<T> p = parse(value);
        return parsed_ok(p) ? std::string() : std::string(value) + ": " + std::get<std::string>(p);
    };
}

const std::map<std::string_view, ValueCheck>& value_checks() {
    static const std::map<std::string_view, ValueCheck> checks = {
        {"--variable", refusal_of(parse_any_variable)},
        {"--country", refusal_of(parse_country_text)},
        {"--box", refusal_of(parse_box)},
        {"--elevation", refusal_of(parse_elevation)},
        {"--missing-elevation", refusal_of(parse_missing_elevation)},
        {"--dataset", refusal_of(parse_dataset)},
        {"--qc", refusal_of(parse_qc_policy)},
        {"--near", refusal_of(parse_near)},
        {"--radius", refusal_of(parse_radius)},
        {"--nearest", refusal_of(parse_nearest)},
        {"--years", refusal_of(parse_years)},
        {"--min-years", refusal_of(parse_min_years)},
        {"--min-months", refusal_of(parse_min_months)},
        {"--name", refusal_of(parse_text)},
        {"--id", refusal_of(parse_text)},
        {"--ids-from", refusal_of(parse_text)},
        {"--anomalies", refusal_of(parse_base_period)},
        {"--base-min-years", refusal_of(parse_base_min_years)},
    };
    return checks;
}

// A CLI11 check from the table: CLI11 puts the option's name in front of the refusal.
CLI::Validator checked(std::string_view option) {
    const ValueCheck& check = value_checks().at(option);
    return CLI::Validator([&check](std::string& value) { return check(value); }, "");
}

// The options that came with versions 3 and 4; they select in every version.
void define_selection_options(CLI::App& app, RawOptions& raw) {
    app.add_option("--dataset", raw.dataset, "The GHCN version to read (default: the one\nthe data directory holds)")
        ->type_name("v2|v3|v4")
        ->check(checked("--dataset"));
    app.add_option("--qc", raw.qc, "Versions 3 and 4: a value that failed a\nquality check is left out (the default) or kept")
        ->type_name("drop|keep")
        ->check(checked("--qc"));
    CLI::Option* near = app.add_option("--near", raw.near, "Stations near this place (decimal degrees)")
                            ->type_name("LAT,LON")
                            ->check(checked("--near"));
    app.add_option("--radius", raw.radius, "... within this distance (inclusive)")
        ->type_name("KM")
        ->check(checked("--radius"))
        ->needs(near);
    app.add_option("--nearest", raw.nearest, "... the N nearest (equal distances by id)")
        ->type_name("N")
        ->check(checked("--nearest"))
        ->needs(near);
    app.add_option("--years", raw.years, "Only the values of these years are written")
        ->type_name("FIRST:LAST")
        ->check(checked("--years"));
    app.add_option("--min-years", raw.min_years, "Stations with at least N years of data\n(in the --years window when given)")
        ->type_name("N")
        ->check(checked("--min-years"));
    app.add_option("--min-months", raw.min_months, "Values a year needs to count, for --min-years\nand --annual (default: 12)")
        ->type_name("M")
        ->check(checked("--min-months"));
    app.add_option("--name", raw.name, "Stations whose name holds TEXT (any case)")
        ->type_name("TEXT")
        ->check(checked("--name"));
    app.add_option("--id", raw.ids, "The station with this id (repeatable)")->type_name("ID")->check(checked("--id"));
    app.add_option("--ids-from", raw.ids_from, "The stations listed in FILE, one id a line\n(# starts a comment)")
        ->type_name("FILE")
        ->check(checked("--ids-from"));
}

template <class T, class Target>
void convert_if_given(Parsed<T> (*parse)(std::string_view), const std::string& text, Target& target) {
    if (!text.empty()) target = value_of(parse, text);
}

void convert_selection(const RawOptions& raw, ExtractOptions& o) {
    convert_if_given(parse_dataset, raw.dataset, o.dataset);
    convert_if_given(parse_qc_policy, raw.qc, o.qc_keep);
    convert_if_given(parse_near, raw.near, o.near);
    convert_if_given(parse_radius, raw.radius, o.radius_km);
    convert_if_given(parse_nearest, raw.nearest, o.nearest);
    convert_if_given(parse_years, raw.years, o.years);
    convert_if_given(parse_min_years, raw.min_years, o.min_years);
    convert_if_given(parse_min_months, raw.min_months, o.min_months);
    if (!raw.name.empty()) o.name = raw.name;
    o.ids = raw.ids;
    if (!raw.ids_from.empty()) o.ids_from = raw.ids_from;
}

// The netCDF and GeoJSON files and the derived series, together.
void define_output_options(CLI::App& app, RawOptions& raw) {
    const char* group = "Outputs beside the tables";
    app.add_option("--netcdf", raw.netcdf, "Also write the series as a CF netCDF file")->type_name("FILE")->group(group);
    app.add_option("--geojson", raw.geojson, "Also write the stations as a GeoJSON file")->type_name("FILE")->group(group);
    app.add_flag("--annual", raw.annual, "Also write annual.csv: annual means (sums for\nprecipitation)")->group(group);
    app.add_option("--anomalies", raw.anomalies, "Also write anomalies.csv against the normals\nof this base period")
        ->type_name("FIRST:LAST")
        ->check(checked("--anomalies"))
        ->group(group);
    app.add_option("--base-min-years", raw.base_min_years, "Values a calendar month needs in the base\nperiod for its normal (default 20)")
        ->type_name("N")
        ->check(checked("--base-min-years"))
        ->group(group);
}

OutputOptions convert_outputs(const RawOptions& raw) {
    OutputOptions o;
    // Relative to where the command runs, as in any tool: the run itself works elsewhere.
    if (!raw.netcdf.empty()) o.netcdf = std::filesystem::absolute(raw.netcdf);
    if (!raw.geojson.empty()) o.geojson = std::filesystem::absolute(raw.geojson);
    o.annual = raw.annual;
    if (!raw.anomalies.empty()) {
        o.anomalies = value_of(parse_base_period, raw.anomalies);
        if (!raw.base_min_years.empty()) o.anomalies->min_years = value_of(parse_base_min_years, raw.base_min_years);
    }
    return o;
}

void define_options(CLI::App& app, RawOptions& raw) {
    app.description(
        "Extracts the monthly series of the GHCN version 2 stations that meet the given criteria,\n"
        "without a dialogue, into the same three files that corvane-console writes; and those of\n"
        "GHCN-M versions 3 and 4 into comma-separated tables with their quality flags.\n");
    app.footer(footer_text());
    app.get_formatter()->column_width(34);
    app.set_version_flag("--version", app::version_text(program_name), "Show the version and exit");
    app.set_help_flag("-h,--help", "Show this help and exit");
    app.add_option("--variable", raw.variable,
                   "v2: mean, mean-adj, min, min-adj, max, max-adj,\nprcp, prcp-adj or slp (or its number, 1-9);\n"
                   "v3: tavg, tavg-adj, tmax, tmax-adj, tmin, tmin-adj;\nv4: tavg, tavg-adj, tavg-adj-est")
        ->type_name("NAME")
        ->required()
        ->check(checked("--variable"));
    app.add_option("--country", raw.country, "Stations of this country: v2 its three-digit\ncode; v3/v4 its code or name (any case)")
        ->type_name("CODE")
        ->check(checked("--country"));
    app.add_option("--box", raw.box, "Stations inside this latitude/longitude box")
        ->type_name("NORTH,SOUTH,EAST,WEST")
        ->check(checked("--box"));
    CLI::Option* elevation = app.add_option("--elevation", raw.elevation, "Stations from MIN to MAX elevation")
                                 ->type_name("MIN,MAX")
                                 ->check(checked("--elevation"));
    app.add_option("--missing-elevation", raw.missing_elevation,
                   "A station without an elevation is rejected\n(the default) or kept")
        ->type_name("reject|keep")
        ->check(checked("--missing-elevation"))
        ->needs(elevation);
    app.add_flag("--lon360", raw.lon360, "Longitudes from 0 to 360 degrees in the\nseries headers and the log");
    app.add_option("--data-dir", raw.data_dir, "Where the data files are\n(default: the working directory)")
        ->type_name("DIR");
    app.add_option("--out-dir", raw.out_dir, "Where the output files go, made if missing\n(default: the working directory)")
        ->type_name("DIR");
    app.add_flag("--force", raw.force, "Overwrite existing output files");
    app.add_flag("--csv", raw.csv, "Also write stations.csv and values.csv");
    define_selection_options(app, raw);
    define_output_options(app, raw);
}

ExtractOptions convert(const RawOptions& raw) {
    ExtractOptions o;
    const Parsed<std::int32_t> v2_variable = parse_variable(raw.variable);
    if (parsed_ok(v2_variable)) o.variable_choice = std::get<std::int32_t>(v2_variable);
    o.variable_name = raw.variable;
    o.country_text = raw.country;
    if (const Parsed<std::int32_t> code = parse_country(raw.country); parsed_ok(code)) o.country = std::get<std::int32_t>(code);
    if (!raw.box.empty()) o.box = value_of(parse_box, raw.box);
    if (!raw.elevation.empty()) o.elevation = value_of(parse_elevation, raw.elevation);
    if (!raw.missing_elevation.empty()) o.reject_missing_elevation = value_of(parse_missing_elevation, raw.missing_elevation);
    o.lon360 = raw.lon360;
    o.data_dir = raw.data_dir;
    o.out_dir = raw.out_dir;
    o.force = raw.force;
    o.csv = raw.csv;
    convert_selection(raw, o);
    o.outputs = convert_outputs(raw);
    o.outputs.min_months = o.min_months;  // one option for --min-years and --annual
    return o;
}

}  // namespace

std::string option_refusal(std::string_view option, std::string_view value) {
    const auto check = value_checks().find(option);
    if (check == value_checks().end()) return {};
    const std::string refusal = check->second(value);
    return refusal.empty() ? refusal : std::string(option) + ": " + refusal;
}

std::string help_text() {
    CLI::App app;
    RawOptions raw;
    app.name(std::string(program_name));
    define_options(app, raw);
    return app.help();
}

std::variant<ExtractOptions, int> parse_command_line(int argc, const char* const* argv, std::ostream& out,
                                                     std::ostream& err) {
    CLI::App app;
    RawOptions raw;
    app.name(std::string(program_name));
    define_options(app, raw);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::CallForVersion&) {
        out << app::version_text(program_name);
        return 0;
    } catch (const CLI::ExtrasError&) {
        const std::vector<std::string> extras = app.remaining();
        const std::string word = extras.empty() ? std::string() : extras.front();
        err << program_name << ": " << word
            << (word.starts_with("-") ? ": unknown option" : ": unexpected argument; every value follows its option")
            << " (see " << program_name << " --help)\n";
        return status_bad_argument;
    } catch (const CLI::ParseError& e) {
        err << program_name << ": " << e.what() << " (see " << program_name << " --help)\n";
        return status_bad_argument;
    }
    ExtractOptions options = convert(raw);
    options.command.assign(argv, argv + argc);
    const bool criterion = !options.country_text.empty() || options.box || options.elevation || options.near ||
                           options.name || !options.ids.empty() || options.ids_from || options.min_years;
    if (!criterion) {
        err << program_name << ": no criterion: give --country, --box or --elevation, alone or together"
            << " (or --near, --name, --id, --ids-from, --min-years)\n";
        return status_bad_argument;
    }
    if (options.near && !options.radius_km && !options.nearest) {
        err << program_name << ": --near: " << raw.near << ": expected --radius KM or --nearest N with it\n";
        return status_bad_argument;
    }
    if (options.outputs.anomalies && options.years) {
        const std::string outside = base_period_outside_years(
            *options.outputs.anomalies, std::pair{options.years->first, options.years->last});
        if (!outside.empty()) {
            err << program_name << ": " << outside << "\n";
            return status_bad_argument;
        }
    }
    if (raw.data_dir.empty() || raw.out_dir.empty()) {
        err << program_name << ": " << (raw.data_dir.empty() ? "--data-dir" : "--out-dir")
            << ": empty directory name; expected a directory\n";
        return status_bad_argument;
    }
    return options;
}

}  // namespace corvane::extract
