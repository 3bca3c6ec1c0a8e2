// Throughput of the record I/O engine on the extraction's own record layouts, in records
// per second (items_per_second). Each layout runs twice: with the plain console's hooks
// ("default_hooks") and with the window frame's hooks over an event pump that has nothing
// pending ("frame_hooks"), which is what the engine meets in the desktop program, where it
// polls the pump at every statement and item. Compare the two in one run, e.g. with
//     corvane_bench --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
//                   --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unistd.h>

#include "console/event_queue_pump.hpp"
#include "console/frame_console.hpp"
#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"

namespace {

using namespace corvane::fmtio;
namespace units = corvane::units;

constexpr int bench_unit = 40;

enum class Hooks { standard, frame };

// A frame without windows: file units never reach them.
class WindowlessHost : public corvane::console::FrameHost {
public:
    corvane::console::TextWindow* create_text_window(std::string_view,
                                                     std::optional<corvane::console::WindowSize>) override {
        return nullptr;
    }
    void show_message(std::string_view, std::string_view, corvane::console::MessageIcon) override {}
    std::optional<std::string> choose_file_name(const corvane::console::FileNameRequest&) override {
        return std::nullopt;
    }
};

// The hooks of one benchmark run; the plain console's come back at the end.
class HooksInForce {
public:
    explicit HooksInForce(Hooks hooks) {
        if (hooks == Hooks::frame) {
            frame_ = std::make_unique<corvane::console::FrameConsole>(pump_, host_);
            frame_->start();
        }
    }

private:
    corvane::console::EventQueuePump pump_;
    WindowlessHost host_;
    std::unique_ptr<corvane::console::FrameConsole> frame_;
};

std::string scratch_path(const char* name) {
    return std::string("/tmp/corvane-bench-") + std::to_string(::getpid()) + "-" + name;
}

void open_scratch(const std::string& path) {
    units::open_unit({.unit = bench_unit, .file = path, .status = "REPLACE"});
}

void close_and_remove() { units::close_unit(bench_unit, {}, "DELETE"); }

// A data line: year and twelve values, as written to the time-series file.
void BM_WriteDataLine(benchmark::State& state, Hooks hooks) {
    const HooksInForce in_force(hooks);
    const std::string path = scratch_path("write");
    open_scratch(path);
    std::int32_t year = 1950;
    std::array<std::int32_t, 12> values{-9999, 12, 345, -67, 8901, 23, 4, -5, 67, 890, -1234, 56};
    std::int64_t written = 0;
    for (auto _ : state) {
        write(unit(bench_unit), fmt<"(i4,12i5)">, year, values);
        if (++year > 2006) year = 1950;
        if (++written % 100000 == 0) units::rewind_unit(bench_unit);  // keep the file small
    }
    state.SetItemsProcessed(state.iterations());
    close_and_remove();
}
BENCHMARK_CAPTURE(BM_WriteDataLine, default_hooks, Hooks::standard);
BENCHMARK_CAPTURE(BM_WriteDataLine, frame_hooks, Hooks::frame);

// Reads records from a file of 20000 written by `write_one(i)`, starting again at its end.
template <class WriteOne, class ReadOne>
void read_records(benchmark::State& state, const char* name, WriteOne write_one, ReadOne read_one) {
    open_scratch(scratch_path(name));
    for (int i = 0; i < 20000; ++i) write_one(i);
    units::rewind_unit(bench_unit);
    for (auto _ : state) {
        if (read_one() == units::outcome_end) units::rewind_unit(bench_unit);
    }
    state.SetItemsProcessed(state.iterations());
    close_and_remove();
}

// A data-file record, read with its label-prefixed format and both branches.
void BM_ReadDataRecord(benchmark::State& state, Hooks hooks) {
    const HooksInForce in_force(hooks);
    std::int32_t country = 425, id = 72503000, dup = 0, year = 1900;
    std::array<std::int32_t, 12> values{-9999, 12, 345, -67, 8901, 23, 4, -5, 67, 890, -1234, 56};
    read_records(
        state, "read",
        [&](int i) {
            year = 1900 + i % 100;
            write(unit(bench_unit), fmt<"(i3,i8,i1,i4,12i5)">, country, id, dup, year, values);
        },
        [&] {
            const auto outcome = read(unit(bench_unit), on_end | on_err, fmt<"15(I3,I8,i1,i4,12I5)">, country, id,
                                     dup, year, values);
            benchmark::DoNotOptimize(values);
            return outcome;
        });
}
BENCHMARK_CAPTURE(BM_ReadDataRecord, default_hooks, Hooks::standard);
BENCHMARK_CAPTURE(BM_ReadDataRecord, frame_hooks, Hooks::frame);

// A failed-QC record: the extraction reads the whole file once per station it finds.
void BM_ReadFailedQcRecord(benchmark::State& state, Hooks hooks) {
    const HooksInForce in_force(hooks);
    std::int32_t country = 101, id = 60355000, year = 1971, month = 10, value = -999;
    read_records(
        state, "failed",
        [&](int i) {
            year = 1900 + i % 100;
            write(unit(bench_unit), fmt<"(i3,i8,'0 ',i4,i3,i6)">, country, id, year, month, value);
        },
        [&] {
            const auto outcome = read(unit(bench_unit), on_end | on_err, fmt<"22(i3,i8,2x,i4,i3,i6)">, country, id,
                                     year, month, value);
            benchmark::DoNotOptimize(value);
            return outcome;
        });
}
BENCHMARK_CAPTURE(BM_ReadFailedQcRecord, default_hooks, Hooks::standard);
BENCHMARK_CAPTURE(BM_ReadFailedQcRecord, frame_hooks, Hooks::frame);

// A coordinate under F7.2, into a character variable so that no file is involved.
void BM_WriteCoordinate(benchmark::State& state, Hooks hooks) {
    const HooksInForce in_force(hooks);
    Text<7> field;
    float lon = -179.99f;
    for (auto _ : state) {
        write(internal_unit(field), fmt<"(f7.2)">, lon);
        lon += 0.37f;
        if (lon > 180.0f) lon = -179.99f;
        benchmark::DoNotOptimize(field);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_WriteCoordinate, default_hooks, Hooks::standard);
BENCHMARK_CAPTURE(BM_WriteCoordinate, frame_hooks, Hooks::frame);

}  // namespace
