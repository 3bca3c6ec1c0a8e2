// The outputs beyond the tables, made once from the options: the netCDF and GeoJSON files
// where the options name them, and annual.csv and anomalies.csv in the output directory.
#include "extract/more_outputs.hpp"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "extract/annual_sink.hpp"
#include "extract/anomaly_sink.hpp"
#include "extract/geojson_sink.hpp"
#include "extract/manifest.hpp"
#include "extract/netcdf_sink.hpp"

namespace corvane::extract {

namespace {

struct OwnedOutputs {
    std::vector<std::unique_ptr<SeriesSink>> owned;
    MoreOutputs more;

    template <class Sink>
    Sink& add(std::unique_ptr<Sink> sink) {
        Sink& s = *sink;
        more.sinks.push_back(&s);
        owned.push_back(std::move(sink));
        return s;
    }
};

// The time the netCDF file's history begins with: SOURCE_DATE_EPOCH when it holds a whole
// number of seconds (the convention of reproducible builds: the same command then writes
// the same bytes), else now.
std::chrono::system_clock::time_point history_time() {
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    long long seconds = 0;
    const char* end = epoch ? epoch + std::strlen(epoch) : nullptr;
    if (epoch && *epoch) {
        const auto [last, error] = std::from_chars(epoch, end, seconds);
        if (error == std::errc() && last == end && seconds >= 0)
            return std::chrono::system_clock::time_point(std::chrono::seconds(seconds));
    }
    return std::chrono::system_clock::now();
}

void add_files_beside(const OutputOptions& out, bool force, const std::vector<std::string>& command,
                      OwnedOutputs& o) {
    if (out.netcdf) {
        NetcdfSink& sink = o.add(std::make_unique<NetcdfSink>(NetcdfOptions{.path = *out.netcdf,
                                                          .replace = force,
                                                          .title = {},
                                                          .history = netcdf_history(command, history_time()),
                                                          .anomalies = out.anomalies,
                                                          .annual_min_months = out.annual ? std::optional(out.min_months)
                                                                                          : std::nullopt}));
        o.more.placed_files.push_back(*out.netcdf);
        o.more.staged.push_back(&sink.file());
    }
    if (out.geojson) {
        GeojsonSink& sink = o.add(std::make_unique<GeojsonSink>(*out.geojson, force));
        o.more.placed_files.push_back(*out.geojson);
        o.more.staged.push_back(&sink.file());
    }
}

void add_derived_series(const OutputOptions& out, OwnedOutputs& o) {
    if (out.annual) {
        o.add(std::make_unique<AnnualSink>(out.min_months));
        o.more.files.push_back(annual_csv);
    }
    if (out.anomalies) {
        o.more.anomalies = &o.add(std::make_unique<AnomalySink>(*out.anomalies));
        o.more.files.push_back(anomalies_csv);
    }
}

}  // namespace

const MoreOutputs& more_outputs(const ExtractOptions& options) {
    // Made again only for another run's options (a harness may run several in one process).
    static const ExtractOptions* made_for = nullptr;
    static std::unique_ptr<OwnedOutputs> outputs;
    if (made_for != &options || !outputs) {
        outputs = std::make_unique<OwnedOutputs>();
        add_files_beside(options.outputs, options.force, options.command, *outputs);
        add_derived_series(options.outputs, *outputs);
        made_for = &options;
    }
    return outputs->more;
}

std::vector<std::string> more_outputs_log_lines(const MoreOutputs& more) {
    if (more.anomalies == nullptr) return {};
    return {more.anomalies->log_line()};
}

int check_more_outputs(const ExtractOptions& options, const std::vector<std::string_view>& out_names) {
    std::vector<std::string_view> names = out_names;
    names.push_back(manifest_json);
    return check_manifest_free(std::filesystem::absolute(options.out_dir), options.force) |
           check_output_files(options.outputs, options.force) |
           check_output_clashes(options.outputs, options.out_dir, names);
}

}  // namespace corvane::extract
