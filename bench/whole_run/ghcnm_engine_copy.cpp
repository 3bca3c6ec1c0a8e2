// The record engine's own version 4 loop, beside the floor: the inventory and every `.dat`
// record read through the readers (the line source's unit, the records' constant formats),
// and the rows of the three CSV files written through the units with a WRITE per row, as
// an extraction of every station writes them. It stands in for that extraction in the
// whole-run benchmark and is what a profile of the readers and the run-time runs.
//   corvane-ghcnm-engine-copy DAT_FILE INV_FILE OUT_DIR
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "fmtio/statement_api.hpp"
#include "ghcn/ghcnm_data_file.hpp"
#include "ghcn/ghcnm_inventory.hpp"
#include "ghcn/ghcnm_qc_flags.hpp"
#include "units/connection_statements.hpp"
#include "units/termination.hpp"

namespace {

using namespace corvane;
using fmtio::fmt;
using fmtio::unit;

constexpr int values_unit = 21, failed_unit = 22, stations_unit = 23;

struct Tally {
    std::int32_t first = 0, last = 0, count = 0;
    bool listed = false;
};

std::string_view flag_text(const char& flag) { return flag == ' ' ? std::string_view() : std::string_view(&flag, 1); }

void write_month(const ghcn::GhcnmRecord& r, std::int32_t month, Tally& tally) {
    const ghcn::MonthValue& v = r.months[static_cast<std::size_t>(month - 1)];
    const bool dropped = ghcn::drops_value(ghcn::Edition::v4, ghcn::FileKind::qcu, v.qcflag, v.hundredths);
    const std::string degrees = dropped ? std::string() : ghcn::degrees_text(v.hundredths);
    if (!degrees.empty()) {
        if (tally.count++ == 0) tally.first = r.year;
        tally.last = r.year;
    }
    fmtio::write(unit(values_unit), fmt<"(a,',',i0,',',i0,',',a,',',a,',',a,',',a)">, r.id, r.year, month,
                 degrees, flag_text(v.dmflag), flag_text(v.qcflag), flag_text(v.dsflag));
    if (dropped)
        fmtio::write(unit(failed_unit), fmt<"(a,',',i0,',',i0,',',a,',',a1)">, r.id, r.year, month,
                     ghcn::degrees_text(v.hundredths), std::string_view(&v.qcflag, 1));
}

void write_station(const ghcn::GhcnmStation& s, const Tally& t) {
    fmtio::write(unit(stations_unit), fmt<"(a,',',a,',,',a,',',a,',',a,',',a,',',i0,',',i0,',',i0)">, s.id,
                 s.country_code, s.name, s.latitude_text, s.longitude_text, s.elevation_text, t.first, t.last,
                 t.count);
}

void open_output(int u, const std::string& path) {
    units::open_unit({.unit = u, .file = path, .status = "REPLACE"});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: corvane-ghcnm-engine-copy DAT_FILE INV_FILE OUT_DIR\n");
        return 2;
    }
    units::start_runtime(argc, argv);
    ghcn::ReadProblem problem;
    std::vector<ghcn::GhcnmStation> stations;
    if (!ghcn::read_inventory(ghcn::Edition::v4, argv[2], stations, problem)) {
        std::fprintf(stderr, "%s\n", ghcn::describe(problem).c_str());
        return 1;
    }
    std::unordered_map<std::string, std::size_t> by_id;
    for (std::size_t i = 0; i < stations.size(); ++i) by_id.emplace(stations[i].id, i);
    std::vector<Tally> tallies(stations.size());
    std::vector<std::size_t> order;

    const std::string dir = argv[3];
    open_output(values_unit, dir + "/values.csv");
    open_output(failed_unit, dir + "/failed_values.csv");
    open_output(stations_unit, dir + "/stations.csv");
    ghcn::DataFileReader data;
    if (!data.open(argv[1], problem)) {
        std::fprintf(stderr, "%s\n", ghcn::describe(problem).c_str());
        return 1;
    }
    ghcn::GhcnmRecord record;
    std::string current_id;
    std::size_t current = stations.size();
    ghcn::ReadStatus status;
    while ((status = data.next(record, problem)) == ghcn::ReadStatus::record) {
        if (record.id != current_id) {
            current_id = record.id;
            const auto found = by_id.find(current_id);
            current = found == by_id.end() ? stations.size() : found->second;
            if (current < stations.size() && !tallies[current].listed) {
                tallies[current].listed = true;
                order.push_back(current);
            }
        }
        if (current == stations.size()) continue;
        for (std::int32_t m = 1; m <= 12; ++m) write_month(record, m, tallies[current]);
    }
    if (status == ghcn::ReadStatus::problem) {
        std::fprintf(stderr, "%s\n", ghcn::describe(problem).c_str());
        return 1;
    }
    for (const std::size_t i : order) write_station(stations[i], tallies[i]);
    units::close_unit(values_unit);
    units::close_unit(failed_unit);
    units::close_unit(stations_unit);
    units::stop_program();
}
