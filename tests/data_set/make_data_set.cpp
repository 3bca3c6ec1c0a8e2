// Writes a synthetic GHCN version 2 data set:
//   corvane-make-data-set --out DIR --countries FILE [--seed N] [--scale small|medium|full] [--crlf]
// and prints what it wrote.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "data_set/ghcn_data_set.hpp"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: corvane-make-data-set --out DIR --countries FILE [--seed N] "
                 "[--scale small|medium|full] [--crlf]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvane::data_set;
    DataSetOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--out" && has_value) options.directory = argv[++i];
        else if (arg == "--countries" && has_value) options.country_list = argv[++i];
        else if (arg == "--seed" && has_value) options.seed = std::strtoull(argv[++i], nullptr, 10);
        else if (arg == "--scale" && has_value) {
            if (!parse_scale(argv[++i], options.scale)) return usage();
        } else if (arg == "--crlf") options.crlf = true;
        else return usage();
    }
    if (options.directory.empty() || options.country_list.empty()) return usage();

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
