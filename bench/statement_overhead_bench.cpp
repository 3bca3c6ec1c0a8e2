// What a statement costs apart from its records, in statements per second (items_per_second):
// a format known only at run time is compiled at every execution, and every connection
// statement opens with the same steps (initialisation, a poll, the iostat variable). The
// extraction steps back over each data record it reads, so BACKSPACE after a READ is timed
// as the pair.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <unistd.h>

#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"

namespace {

using namespace corvane::fmtio;
namespace units = corvane::units;

constexpr int bench_unit = 41;

std::string scratch_path(const char* name) {
    return std::string("/tmp/corvane-bench-") + std::to_string(::getpid()) + "-" + name;
}

// A format of every descriptor family, compiled from its text at each WRITE.
void BM_WriteRuntimeFormat(benchmark::State& state) {
    Text<80> line;
    const Text<8> name("STATION");
    std::int32_t id = 72503000;
    float lat = 40.78f;
    double pressure = 1013.25;
    const FormatArg format = runtime_format("(1x,a,2x,i8,sp,f7.2,ss,e12.4e2,' hPa',t60,2(l2,:),bn,/)");
    for (auto _ : state) {
        write(internal_unit(line), format, name, id, lat, pressure, Logical(true));
        ++id;
        benchmark::DoNotOptimize(line);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteRuntimeFormat);

// A connection statement on a connected unit: its opening steps and a lookup.
void BM_InquireUnit(benchmark::State& state) {
    const std::string path = scratch_path("inquire");
    units::open_unit({.unit = bench_unit, .file = path, .status = "REPLACE"});
    units::InquireResult result;
    std::int32_t status = 0;
    for (auto _ : state) {
        units::inquire_unit(bench_unit, result, units::with_iostat(status));
        benchmark::DoNotOptimize(result.opened);
    }
    state.SetItemsProcessed(state.iterations());
    units::close_unit(bench_unit, {}, "DELETE");
}
BENCHMARK(BM_InquireUnit);

// A data record read and stepped back over, as the extraction does to read it again.
void BM_ReadThenBackspace(benchmark::State& state) {
    const std::string path = scratch_path("backspace");
    units::open_unit({.unit = bench_unit, .file = path, .status = "REPLACE"});
    for (int i = 0; i < 100; ++i) write(unit(bench_unit), fmt<"(i3,i8,i1,i4,12i5)">, 425, 72503000 + i, 0, 1900, 0);
    units::rewind_unit(bench_unit);
    std::int32_t country = 0, id = 0, dup = 0, year = 0;
    std::int32_t values[12]{};
    for (auto _ : state) {
        read(unit(bench_unit), on_end | on_err, fmt<"(I3,I8,i1,i4,12I5)">, country, id, dup, year, values);
        units::backspace_unit(bench_unit);
        benchmark::DoNotOptimize(values);
    }
    state.SetItemsProcessed(state.iterations());
    units::close_unit(bench_unit, {}, "DELETE");
}
BENCHMARK(BM_ReadThenBackspace);

}  // namespace
