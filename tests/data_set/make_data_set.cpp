// Writes a synthetic GHCN data set and prints what it wrote:
//   corvane-make-data-set --out DIR --countries FILE [--seed N] [--scale small|medium|full] [--crlf]
//   corvane-make-data-set --edition 3|4 --out DIR [--countries FILE] [--seed N] [--scale sample|full] [--gzip]
// Version 2 by default; version 3 needs the three-digit country list, version 4 writes its own.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "data_set/ghcn_data_set.hpp"
#include "data_set/ghcnm_data_set.hpp"

namespace {

using namespace corvane::data_set;

int usage() {
    std::fprintf(stderr,
                 "usage: corvane-make-data-set --out DIR --countries FILE [--seed N] "
                 "[--scale small|medium|full] [--crlf]\n"
                 "       corvane-make-data-set --edition 3|4 --out DIR [--countries FILE] [--seed N] "
                 "[--scale sample|full] [--gzip]\n");
    return 2;
}

struct Arguments {
    DataSetOptions v2;
    GhcnmSetOptions ghcnm;
    int edition = 2;
    std::string scale;
};

bool parse(int argc, char** argv, Arguments& a) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--out" && has_value) a.v2.directory = a.ghcnm.directory = argv[++i];
        else if (arg == "--countries" && has_value) a.v2.country_list = a.ghcnm.country_codes = argv[++i];
        else if (arg == "--seed" && has_value) a.v2.seed = a.ghcnm.seed = std::strtoull(argv[++i], nullptr, 10);
        else if (arg == "--scale" && has_value) a.scale = argv[++i];
        else if (arg == "--edition" && has_value) a.edition = a.ghcnm.edition = std::atoi(argv[++i]);
        else if (arg == "--crlf") a.v2.crlf = true;
        else if (arg == "--gzip") a.ghcnm.gzip_copy = true;
        else return false;
    }
    if (a.v2.directory.empty()) return false;
    if (a.edition == 2) return !a.v2.country_list.empty() && (a.scale.empty() || parse_scale(a.scale, a.v2.scale));
    if (a.edition == 3 && a.ghcnm.country_codes.empty()) return false;
    if (a.scale == "full") a.ghcnm.scale = GhcnmScale::full;
    else if (!a.scale.empty() && a.scale != "sample") return false;
    return a.edition == 3 || a.edition == 4;
}

int make_version2(const DataSetOptions& options) {
    DataSetSummary summary;
    std::string error;
    if (!generate_data_set(options, summary, error)) {
        std::fprintf(stderr, "corvane-make-data-set: %s\n", error.c_str());
        return 1;
    }
    std::printf("inventories: temperature %d, precipitation %d, pressure %d stations\n",
                summary.temperature_stations, summary.precipitation_stations, summary.pressure_stations);
    std::printf("%-12s %9s %7s %8s %9s\n", "file", "records", "series", "stations", "failed-qc");
    for (const DataFileSummary& f : summary.files) {
        std::printf("%-12s %9lld %7lld %8lld %9s\n", f.name.c_str(), static_cast<long long>(f.records),
                    static_cast<long long>(f.series), static_cast<long long>(f.stations),
                    f.failed_values < 0 ? "-" : std::to_string(f.failed_values).c_str());
    }
    return 0;
}

int make_ghcnm(const GhcnmSetOptions& options) {
    GhcnmSetSummary summary;
    std::string error;
    if (!generate_ghcnm_set(options, summary, error)) {
        std::fprintf(stderr, "corvane-make-data-set: %s\n", error.c_str());
        return 1;
    }
    std::printf("version %d: %d stations; %s: %lld records\n", options.edition, summary.stations,
                summary.data_file.c_str(), static_cast<long long>(summary.records));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments a;
    if (!parse(argc, argv, a)) return usage();
    return a.edition == 2 ? make_version2(a.v2) : make_ghcnm(a.ghcnm);
}
