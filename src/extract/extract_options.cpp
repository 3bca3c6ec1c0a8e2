#include "extract/extract_options.hpp"

#include <CLI/CLI.hpp>
#include <functional>
#include <ostream>

#include "app/program_help.hpp"
#include "extract/report.hpp"

namespace corvane::extract {

namespace {

// A CLI11 check from one of the value parsers: the refusal names the value and what is
// accepted, and CLI11 puts the option's name in front.
template <class T>
CLI::Validator check_with(Parsed<T> (*parse)(std::string_view)) {
    return CLI::Validator(
        [parse](std::string& value) -> std::string {
            const Parsed<T> p = parse(value);
            return parsed_ok(p) ? std::string() : value + ": " + std::get<std::string>(p);
        },
        "");
}

template <class T>
T value_of(Parsed<T> (*parse)(std::string_view), const std::string& text) {
    return std::get<T>(parse(text));
}

std::string footer_text() {
    return "A station is selected when it meets every criterion given; at least one is needed.\n"
           "The box is NORTH,SOUTH,EAST,WEST in degrees, south and west negative, to the nearest\n"
           "hundredth; EAST below WEST is a box across 180 degrees (e.g. --box 75,-50,-135,135).\n"
           "Nothing is written until every argument and input file has been checked; existing\n"
           "output files are kept unless --force is given. Progress goes to standard error.\n\n"
           "Files read, from the data directory (those of the chosen variable):\n" +
           app::input_files_text() + "Files written, into the output directory:\n" + app::output_files_text() +
           "  stations.csv               with --csv: id,country,name,latitude,longitude,elevation,series\n"
           "  values.csv                 with --csv: station,duplicate,year,month,value (missing: empty)\n"
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
           "  corvane-extract --variable mean --country 507 --data-dir ghcn-v2 --out-dir nz --csv\n\n" +
           app::data_source_text() + "See also: corvane-console(1), the manual page corvane-extract(1).";
}

struct RawOptions {
    std::string variable, country, box, elevation, missing_elevation;
    std::string data_dir = ".", out_dir = ".";
    bool lon360 = false, force = false, csv = false;
    // The outputs beside the tables.
    std::string netcdf, geojson, anomalies, min_months, base_min_years;
    bool annual = false;
};

// The netCDF and GeoJSON files and the derived series, together.
void define_output_options(CLI::App& app, RawOptions& raw) {
    const char* group = "Outputs beside the tables";
    app.add_option("--netcdf", raw.netcdf, "Also write the series as a CF netCDF file")->type_name("FILE")->group(group);
    app.add_option("--geojson", raw.geojson, "Also write the stations as a GeoJSON file")->type_name("FILE")->group(group);
    app.add_flag("--annual", raw.annual, "Also write annual.csv: annual means (sums for\nprecipitation)")->group(group);
    app.add_option("--min-months", raw.min_months, "Months a year needs to count (default 12)")
        ->type_name("M")
        ->check(check_with(parse_min_months))
        ->group(group);
    app.add_option("--anomalies", raw.anomalies, "Also write anomalies.csv against the normals\nof this base period")
        ->type_name("FIRST:LAST")
        ->check(check_with(parse_base_period))
        ->group(group);
    app.add_option("--base-min-years", raw.base_min_years, "Values a calendar month needs in the base\nperiod for its normal (default 20)")
        ->type_name("N")
        ->check(check_with(parse_base_min_years))
        ->group(group);
}

OutputOptions convert_outputs(const RawOptions& raw) {
    OutputOptions o;
    // Relative to where the command runs, as in any tool: the run itself works elsewhere.
    if (!raw.netcdf.empty()) o.netcdf = std::filesystem::absolute(raw.netcdf);
    if (!raw.geojson.empty()) o.geojson = std::filesystem::absolute(raw.geojson);
    o.annual = raw.annual;
    if (!raw.min_months.empty()) o.min_months = value_of(parse_min_months, raw.min_months);
    if (!raw.anomalies.empty()) {
        o.anomalies = value_of(parse_base_period, raw.anomalies);
        if (!raw.base_min_years.empty()) o.anomalies->min_years = value_of(parse_base_min_years, raw.base_min_years);
    }
    return o;
}

void define_options(CLI::App& app, RawOptions& raw) {
    app.description(
        "Extracts the monthly series of the GHCN version 2 stations that meet the given criteria,\n"
        "without a dialogue, into the same three files that corvane-console writes.\n");
    app.footer(footer_text());
    app.get_formatter()->column_width(34);
    app.set_version_flag("--version", app::version_text(program_name), "Show the version and exit");
    app.set_help_flag("-h,--help", "Show this help and exit");
    app.add_option("--variable", raw.variable, "mean, mean-adj, min, min-adj, max, max-adj,\nprcp, prcp-adj or slp (or its number, 1-9)")
        ->type_name("NAME")
        ->required()
        ->check(check_with(parse_variable));
    app.add_option("--country", raw.country, "Stations of this three-digit country code")
        ->type_name("CODE")
        ->check(check_with(parse_country));
    app.add_option("--box", raw.box, "Stations inside this latitude/longitude box")
        ->type_name("NORTH,SOUTH,EAST,WEST")
        ->check(check_with(parse_box));
    CLI::Option* elevation = app.add_option("--elevation", raw.elevation, "Stations from MIN to MAX elevation")
                                 ->type_name("MIN,MAX")
                                 ->check(check_with(parse_elevation));
    app.add_option("--missing-elevation", raw.missing_elevation,
                   "A station without an elevation is rejected\n(the default) or kept")
        ->type_name("reject|keep")
        ->check(check_with(parse_missing_elevation))
        ->needs(elevation);
    app.add_flag("--lon360", raw.lon360, "Longitudes from 0 to 360 degrees in the\nseries headers and the log");
    app.add_option("--data-dir", raw.data_dir, "Where the data files are\n(default: the working directory)")
        ->type_name("DIR");
    app.add_option("--out-dir", raw.out_dir, "Where the output files go, made if missing\n(default: the working directory)")
        ->type_name("DIR");
    app.add_flag("--force", raw.force, "Overwrite existing output files");
    app.add_flag("--csv", raw.csv, "Also write stations.csv and values.csv");
    define_output_options(app, raw);
}

ExtractOptions convert(const RawOptions& raw) {
    ExtractOptions o;
    o.variable_choice = value_of(parse_variable, raw.variable);
    if (!raw.country.empty()) o.country = value_of(parse_country, raw.country);
    if (!raw.box.empty()) o.box = value_of(parse_box, raw.box);
    if (!raw.elevation.empty()) o.elevation = value_of(parse_elevation, raw.elevation);
    if (!raw.missing_elevation.empty()) o.reject_missing_elevation = value_of(parse_missing_elevation, raw.missing_elevation);
    o.lon360 = raw.lon360;
    o.data_dir = raw.data_dir;
    o.out_dir = raw.out_dir;
    o.force = raw.force;
    o.csv = raw.csv;
    o.outputs = convert_outputs(raw);
    return o;
}

}  // namespace

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
    if (!options.country && !options.box && !options.elevation) {
        err << program_name << ": no criterion: give --country, --box or --elevation, alone or together\n";
        return status_bad_argument;
    }
    if (raw.data_dir.empty() || raw.out_dir.empty()) {
        err << program_name << ": " << (raw.data_dir.empty() ? "--data-dir" : "--out-dir")
            << ": empty directory name; expected a directory\n";
        return status_bad_argument;
    }
    return options;
}

}  // namespace corvane::extract
